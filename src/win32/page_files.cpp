// Looks up the paging files' enumeration once, from the system's own libraries only.
#include "win32/page_files.h"

#include "win32/function_lookup.h"
#include "win32/system_library.h"

namespace corvane::win32 {

EnumPageFilesFn enumPageFiles() {
    static const EnumPageFilesFn fn = [] {
        if (auto psapi = systemFunction<EnumPageFilesFn>("psapi.dll", "EnumPageFilesW"))
            return psapi;
        return procedure<EnumPageFilesFn>("kernel32.dll", "K32EnumPageFilesW");
    }();
    return fn;
}

}  // namespace corvane::win32
