// Message boxes and the "Enregistrer sous" dialog.
// <windows.h> first: the other headers of the system rely on it.
// clang-format off
#include <windows.h>
#include <commdlg.h>
#include <shellapi.h>
// clang-format on

#include "win32/dialogs_win32.h"

#include <algorithm>
#include <vector>

#include "common/text.h"
#include "win32/file_calls.h"
#include "win32/system_library.h"
#include "win32/win32_errors.h"
#include "win32/win32_text.h"

namespace corvane::win32 {

MsgAnswer Win32Dialogs::messageBox(const std::string& text, const std::string& title,
                                   MessageStyle style) {
    UINT flags = style.buttons == MsgButtons::YesNo ? MB_YESNO : MB_OK;
    switch (style.icon) {
        case MsgIcon::Critical: flags |= MB_ICONHAND; break;
        case MsgIcon::Question: flags |= MB_ICONQUESTION; break;
        case MsgIcon::Exclamation: flags |= MB_ICONEXCLAMATION; break;
        case MsgIcon::Information: flags |= MB_ICONASTERISK; break;
        case MsgIcon::None: break;
    }
    if (style.defaultButton == MsgDefault::Second) flags |= MB_DEFBUTTON2;
    HWND owner = owner_ && IsWindowVisible(owner_) ? owner_.handle() : nullptr;
    if (!owner) flags |= MB_SETFOREGROUND;
    // Wide on the NT family: a path outside the ANSI code page shows as it is.
    int answer = wideFunctions()
                     ? MessageBoxW(owner, toWide(text).c_str(), toWide(title).c_str(), flags)
                     : MessageBoxA(owner, toAnsi(text).c_str(), toAnsi(title).c_str(), flags);
    switch (answer) {
        case IDYES: return MsgAnswer::Yes;
        case IDNO: return MsgAnswer::No;
        case IDCANCEL: return MsgAnswer::Cancel;
        default: return MsgAnswer::Ok;
    }
}

std::optional<std::string> Win32Dialogs::saveAs(const std::string& title,
                                                const std::string& suggestedName,
                                                const std::string& folder,
                                                const std::string& patternName,
                                                const std::string& pattern) {
    // The filter is pairs of NUL-ended texts, the list ending with an empty one.
    std::string filter =
        patternName + '\0' + pattern + '\0' + "Tous les fichiers (*.*)" + '\0' + "*.*" + '\0';
    std::string extension = pattern.rfind("*.", 0) == 0 ? pattern.substr(2) : "";
    // The window the user is working in owns the dialog, so that it cannot be used meanwhile.
    HWND active = GetActiveWindow();
    HWND owner = active ? active : owner_.handle();
    // No question before replacing a file here: the caller first refuses the files it must
    // not write over, then asks.
    const DWORD flags = OFN_PATHMUSTEXIST | OFN_HIDEREADONLY | OFN_NOCHANGEDIR | OFN_EXPLORER;
    if (wideFunctions()) {
        // Wide on the NT family: a folder outside the ANSI code page can be chosen.
        std::wstring wideFilter = toWide(filter);
        std::wstring wideTitle = toWide(title);
        std::wstring wideExtension = toWide(extension);
        std::vector<wchar_t> file(32768, L'\0');
        std::wstring wideFolder = toWide(folder);
        std::wstring suggested = toWide(suggestedName);
        suggested.copy(file.data(), std::min(suggested.size(), file.size() - 1));
        OPENFILENAMEW ofn{};
        ofn.lStructSize = OPENFILENAME_SIZE_VERSION_400W;
        ofn.hwndOwner = owner;
        ofn.lpstrFilter = wideFilter.c_str();
        ofn.nFilterIndex = 1;
        ofn.lpstrFile = file.data();
        ofn.nMaxFile = static_cast<DWORD>(file.size());
        ofn.lpstrTitle = wideTitle.c_str();
        ofn.lpstrInitialDir = folder.empty() ? nullptr : wideFolder.c_str();
        ofn.lpstrDefExt = extension.empty() ? nullptr : wideExtension.c_str();
        ofn.Flags = flags;
        using GetSaveFileNameWFn = decltype(&::GetSaveFileNameW);
        static const auto getSaveFileName =
            systemFunction<GetSaveFileNameWFn>("comdlg32.dll", "GetSaveFileNameW");
        if (!getSaveFileName || !getSaveFileName(&ofn)) return std::nullopt;
        std::wstring chosen(file.data());
        return utf16ToUtf8(std::u16string(chosen.begin(), chosen.end()));
    }
    std::string ansiFilter = toAnsi(filter);
    std::string ansiExtension = toAnsi(extension);
    std::string ansiTitle = toAnsi(title);
    std::string ansiFolder = toAnsi(folder);
    std::vector<char> file(32768, '\0');
    std::string suggested = toAnsi(suggestedName);
    suggested.copy(file.data(), std::min(suggested.size(), file.size() - 1));
    OPENFILENAMEA ofn{};
    // The record's first form: Windows 95 and NT 4 refuse the longer one.
    ofn.lStructSize = OPENFILENAME_SIZE_VERSION_400A;
    ofn.hwndOwner = owner;
    ofn.lpstrFilter = ansiFilter.c_str();
    ofn.nFilterIndex = 1;
    ofn.lpstrFile = file.data();
    ofn.nMaxFile = static_cast<DWORD>(file.size());
    ofn.lpstrTitle = ansiTitle.c_str();
    ofn.lpstrInitialDir = folder.empty() ? nullptr : ansiFolder.c_str();
    ofn.lpstrDefExt = extension.empty() ? nullptr : ansiExtension.c_str();
    ofn.Flags = flags;
    using GetSaveFileNameFn = decltype(&::GetSaveFileNameA);
    static const auto getSaveFileName =
        systemFunction<GetSaveFileNameFn>("comdlg32.dll", "GetSaveFileNameA");
    if (!getSaveFileName || !getSaveFileName(&ofn)) return std::nullopt;
    return fromAnsi(file.data());
}

std::string Win32Dialogs::documentsFolder() {
    constexpr int kPersonal = 0x0005;  // CSIDL_PERSONAL: "Mes documents", "Documents"
    if (wideFunctions()) {
        using GetFolderPathWFn = HRESULT(WINAPI*)(HWND, int, HANDLE, DWORD, LPWSTR);
        static const auto getFolderPath =
            systemFunction<GetFolderPathWFn>("shell32.dll", "SHGetFolderPathW");
        wchar_t path[MAX_PATH] = L"";
        if (getFolderPath && SUCCEEDED(getFolderPath(nullptr, kPersonal, nullptr, 0, path))) {
            std::wstring wide(path);
            return utf16ToUtf8(std::u16string(wide.begin(), wide.end()));
        }
    }
    // Windows 95 and NT 4 with Internet Explorer 4 or later; without it, the dialog's own choice.
    using GetSpecialFolderPathFn = BOOL(WINAPI*)(HWND, LPSTR, int, BOOL);
    static const auto getSpecialFolderPath =
        systemFunction<GetSpecialFolderPathFn>("shell32.dll", "SHGetSpecialFolderPathA");
    char path[MAX_PATH] = "";
    if (getSpecialFolderPath && getSpecialFolderPath(nullptr, path, kPersonal, FALSE))
        return fromAnsi(path);
    return "";
}

}  // namespace corvane::win32
