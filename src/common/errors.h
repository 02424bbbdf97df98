// Run-time errors as numbered signals: the numbers are those the handlers test (13, 53, 32755 ...).
#pragma once

#include <exception>
#include <string>

namespace corvane {

enum ErrorNumber : int {
    kErrInvalidCall = 5,
    kErrOverflow = 6,
    kErrOutOfMemory = 7,
    kErrTypeMismatch = 13,
    kErrInternal = 51,
    kErrBadFileName = 52,
    kErrFileNotFound = 53,
    kErrDeviceIo = 57,
    kErrFileExists = 58,
    kErrDiskFull = 61,
    kErrPermissionDenied = 70,
    kErrPathFileAccess = 75,
    kErrPathNotFound = 76,
    kErrCancel = 32755,
};

// The French description of an error number, as a message box shows it.
std::string errorDescription(int number);

// A run-time error raised by the platform layer or the core. It carries the number that the
// error traps test and a French description. Its text is its own std::string: the standard
// error classes would bring a second string implementation into the program with them.
class RuntimeError : public std::exception {
public:
    explicit RuntimeError(int number);
    RuntimeError(int number, const std::string& description);
    // The number alone, with no text to allocate: for when memory has run out.
    struct NoText {};
    RuntimeError(int number, NoText) noexcept : number_(number) {}
    int number() const { return number_; }
    const std::string& description() const { return description_; }
    // "Erreur 53 : Fichier introuvable"
    const char* what() const noexcept override { return message_.c_str(); }

private:
    int number_;
    std::string description_;
    std::string message_;
};

// The exception being handled, as the run-time error that reports it: the program's own as it
// is, an allocation that failed as out of memory (7), anything else as an internal error (51).
// Call it only inside a catch block.
RuntimeError currentError() noexcept;

// Thrown by the exit procedure: the program ends, no further statement of the caller runs.
struct ProgramEnd {};

}  // namespace corvane
