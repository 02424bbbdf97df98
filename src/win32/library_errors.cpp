// How the C++ library's own failures end up in Corvane.exe: as the program's run-time errors,
// which its error traps report, and an abort for an exception that nothing catches.
//
// The library's versions of these functions throw std::logic_error and its kin, whose text is
// a second, reference-counted string implementation; with the terminate handler, which prints
// a demangled type name to a console that a GUI program does not have, they bring about 95 KB
// into the program. These definitions are linked before the library is searched, so the
// library's are never pulled in. Nothing in the program catches the standard error classes:
// a failure the library reports (a position past a text's end, a text too long) is a fault of
// the program, and as error 5 or 7 it is reported like any other instead of ending the
// program at the window procedure.
#include <cstdlib>
#include <exception>
#include <new>
#include <typeinfo>

#include "common/errors.h"

namespace __gnu_cxx {

void __verbose_terminate_handler() {
    std::abort();
}

}  // namespace __gnu_cxx

namespace std {

using corvane::RuntimeError;

void __throw_bad_exception() {
    throw std::bad_exception();
}
void __throw_bad_alloc() {
    throw std::bad_alloc();
}
void __throw_bad_array_new_length() {
    throw std::bad_array_new_length();
}
void __throw_bad_cast() {
    throw std::bad_cast();
}
void __throw_bad_typeid() {
    throw std::bad_typeid();
}
void __throw_logic_error(const char*) {
    throw RuntimeError(corvane::kErrInvalidCall);
}
void __throw_domain_error(const char*) {
    throw RuntimeError(corvane::kErrInvalidCall);
}
void __throw_invalid_argument(const char*) {
    throw RuntimeError(corvane::kErrInvalidCall);
}
void __throw_length_error(const char*) {
    throw RuntimeError(corvane::kErrOutOfMemory);
}
void __throw_out_of_range(const char*) {
    throw RuntimeError(corvane::kErrInvalidCall);
}
void __throw_out_of_range_fmt(const char*, ...) {
    throw RuntimeError(corvane::kErrInvalidCall);
}
void __throw_runtime_error(const char*) {
    throw RuntimeError(corvane::kErrInvalidCall);
}
void __throw_range_error(const char*) {
    throw RuntimeError(corvane::kErrOverflow);
}
void __throw_overflow_error(const char*) {
    throw RuntimeError(corvane::kErrOverflow);
}
void __throw_underflow_error(const char*) {
    throw RuntimeError(corvane::kErrOverflow);
}

}  // namespace std
