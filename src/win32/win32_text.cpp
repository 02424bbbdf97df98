// UTF-8 to the ANSI code page and back, through UTF-16 so that no code page but the system's
// own is needed (the UTF-8 code page is not known to every Windows).
#include "win32/win32_text.h"

#include <windows.h>

#include "common/text.h"

namespace corvane::win32 {

std::wstring toWide(const std::string& utf8) {
    std::u16string wide = utf8ToUtf16(utf8);
    return std::wstring(wide.begin(), wide.end());
}

std::string toAnsi(const std::string& utf8) {
    std::wstring wide = toWide(utf8);
    if (wide.empty()) return "";
    int size = WideCharToMultiByte(CP_ACP, 0, wide.data(), static_cast<int>(wide.size()), nullptr,
                                   0, nullptr, nullptr);
    std::string ansi(static_cast<size_t>(size), '\0');
    WideCharToMultiByte(CP_ACP, 0, wide.data(), static_cast<int>(wide.size()), ansi.data(), size,
                        nullptr, nullptr);
    return ansi;
}

std::string fromAnsi(const std::string& ansi) {
    if (ansi.empty()) return "";
    int size =
        MultiByteToWideChar(CP_ACP, 0, ansi.data(), static_cast<int>(ansi.size()), nullptr, 0);
    std::wstring wide(static_cast<size_t>(size), L'\0');
    MultiByteToWideChar(CP_ACP, 0, ansi.data(), static_cast<int>(ansi.size()), wide.data(), size);
    return utf16ToUtf8(std::u16string(wide.begin(), wide.end()));
}

}  // namespace corvane::win32
