// Functions of the system libraries that only some commands need (printing, opening a page),
// looked up at their first use: shell32 and comdlg32 load half a dozen more libraries with
// them, which every start-up would otherwise wait for.
#pragma once

#include <windows.h>

#include <string>

#include "win32/function_lookup.h"

namespace corvane::win32 {

// `name` from `library` in the system directory (never a copy in the current folder), or null.
template <class Function>
Function systemFunction(const char* library, const char* name) {
    char directory[MAX_PATH];
    UINT n = GetSystemDirectoryA(directory, MAX_PATH);
    if (n == 0 || n >= MAX_PATH) return nullptr;
    std::string path = std::string(directory, n) + "\\" + library;
    HMODULE module = LoadLibraryA(path.c_str());
    if (!module) return nullptr;
    return procedure<Function>(module, name);
}

}  // namespace corvane::win32
