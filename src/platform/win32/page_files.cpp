// Looks up the paging files' enumeration once, from the system's own libraries only.
#include "platform/win32/page_files.h"

namespace corvane::win32 {

EnumPageFilesFn enumPageFiles() {
    static bool looked = false;
    static EnumPageFilesFn fn = nullptr;
    if (looked) return fn;
    looked = true;
    char system[MAX_PATH];
    UINT n = GetSystemDirectoryA(system, MAX_PATH);
    if (n > 0 && n < MAX_PATH - 12) {
        lstrcatA(system, "\\psapi.dll");
        if (HMODULE psapi = LoadLibraryA(system)) {
            fn = reinterpret_cast<EnumPageFilesFn>(
                reinterpret_cast<void*>(GetProcAddress(psapi, "EnumPageFilesW")));
        }
    }
    if (!fn) {
        fn = reinterpret_cast<EnumPageFilesFn>(reinterpret_cast<void*>(
            GetProcAddress(GetModuleHandleA("kernel32.dll"), "K32EnumPageFilesW")));
    }
    return fn;
}

}  // namespace corvane::win32
