// Functions that some Windows versions lack, looked up by name instead of imported. Where the
// SDK declares the function, CORVANE_PROCEDURE takes the pointer's type from that declaration:
// a type written by hand with the wrong calling convention compiles, links, and then unbalances
// the stack at every call in the 32-bit build only.
#pragma once

#include <windows.h>

#include <type_traits>

namespace corvane::win32 {

// `name` from the loaded `module` as a pointer of type Function, or null.
template <class Function>
Function procedure(HMODULE module, const char* name) {
    static_assert(std::is_pointer_v<Function> &&
                  std::is_function_v<std::remove_pointer_t<Function>>);
    if (!module) return nullptr;
    // Through void (*)(), the one function type that converts to and from any other without
    // -Wcast-function-type's error, and with no object pointer in between.
    return reinterpret_cast<Function>(reinterpret_cast<void (*)()>(GetProcAddress(module, name)));
}

// `name` from the library already loaded under the name `library` ("kernel32.dll").
template <class Function>
Function procedure(const char* library, const char* name) {
    return procedure<Function>(GetModuleHandleA(library), name);
}

}  // namespace corvane::win32

// The function `name` as the SDK declares it, from `module` (a name or an HMODULE), or null.
#define CORVANE_PROCEDURE(module, name) \
    ::corvane::win32::procedure<decltype(&::name)>(module, #name)
