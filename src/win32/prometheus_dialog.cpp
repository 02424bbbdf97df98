// The "Exporter vers Prometheus" dialog: the switch, the folder and its chooser, checked before
// it closes. Its template is IDD_PROMETHEUS in corvane.rc. The folder is read and written with
// the wide-character functions on the NT family, so that any folder's name is kept.
#include <windows.h>
// after windows.h, which it needs
#include <shlobj.h>

#include <string>

#include "common/errors.h"
#include "common/text.h"
#include "platform/controls.h"
#include "prometheus/prometheus_place.h"
#include "win32/about_view.h"
#include "win32/file_calls.h"
#include "win32/resource.h"
#include "win32/system_library.h"
#include "win32/win32_text.h"
#include "win32/window_procedure.h"

namespace corvane::win32 {

namespace {

static_assert(IDC_PROMETHEUS_ACTIVE == static_cast<int>(PrometheusControl::Active));
static_assert(IDC_PROMETHEUS_DOSSIER == static_cast<int>(PrometheusControl::Dossier));
static_assert(IDC_PROMETHEUS_PARCOURIR == static_cast<int>(PrometheusControl::Parcourir));

constexpr const char* kTitle = "Exporter vers Prometheus";

struct Editing {
    PrometheusSettings settings;
};

std::string folderText(HWND dialog) {
    HWND edit = GetDlgItem(dialog, IDC_PROMETHEUS_DOSSIER);
    if (wideFunctions()) {
        std::wstring text(static_cast<size_t>(GetWindowTextLengthW(edit)) + 1, L'\0');
        text.resize(
            static_cast<size_t>(GetWindowTextW(edit, text.data(), static_cast<int>(text.size()))));
        return utf16ToUtf8(std::u16string(text.begin(), text.end()));
    }
    std::string text(static_cast<size_t>(GetWindowTextLengthA(edit)) + 1, '\0');
    text.resize(
        static_cast<size_t>(GetWindowTextA(edit, text.data(), static_cast<int>(text.size()))));
    return fromAnsi(text);
}

void setFolderText(HWND dialog, const std::string& folder) {
    HWND edit = GetDlgItem(dialog, IDC_PROMETHEUS_DOSSIER);
    if (wideFunctions()) {
        SetWindowTextW(edit, toWide(folder).c_str());
    } else {
        SetWindowTextA(edit, toAnsi(folder).c_str());
    }
}

// The folder chooser opens on the folder the edit box names.
int CALLBACK startAt(HWND chooser, UINT message, LPARAM, LPARAM data) {
    if (message == BFFM_INITIALIZED && data) {
        SendMessageA(chooser, wideFunctions() ? BFFM_SETSELECTIONW : BFFM_SETSELECTIONA, TRUE,
                     data);
    }
    return 0;
}

// The shell's folder chooser, looked up in shell32 at its first use; nothing when the user
// cancels or the system has none.
std::optional<std::string> chooseFolder(HWND owner, const std::string& current) {
    using FreeFn = void(WINAPI*)(void*);
    auto freeList = systemFunction<FreeFn>("ole32.dll", "CoTaskMemFree");
    const char* prompt = "Dossier lu par l'exportateur :";
    if (wideFunctions()) {
        using BrowseFn = LPITEMIDLIST(WINAPI*)(BROWSEINFOW*);
        using PathFn = BOOL(WINAPI*)(LPCITEMIDLIST, LPWSTR);
        auto browse = systemFunction<BrowseFn>("shell32.dll", "SHBrowseForFolderW");
        auto pathOf = systemFunction<PathFn>("shell32.dll", "SHGetPathFromIDListW");
        if (!browse || !pathOf) return std::nullopt;
        std::wstring title = toWide(prompt);
        std::wstring start = toWide(current);
        BROWSEINFOW info{};
        info.hwndOwner = owner;
        info.lpszTitle = title.c_str();
        info.ulFlags = BIF_RETURNONLYFSDIRS;
        info.lpfn = startAt;
        info.lParam = reinterpret_cast<LPARAM>(start.c_str());
        LPITEMIDLIST list = browse(&info);
        if (!list) return std::nullopt;
        wchar_t path[MAX_PATH] = {};
        BOOL ok = pathOf(list, path);
        if (freeList) freeList(list);
        if (!ok) return std::nullopt;
        std::wstring chosen(path);
        return utf16ToUtf8(std::u16string(chosen.begin(), chosen.end()));
    }
    using BrowseFn = LPITEMIDLIST(WINAPI*)(BROWSEINFOA*);
    using PathFn = BOOL(WINAPI*)(LPCITEMIDLIST, LPSTR);
    auto browse = systemFunction<BrowseFn>("shell32.dll", "SHBrowseForFolderA");
    auto pathOf = systemFunction<PathFn>("shell32.dll", "SHGetPathFromIDListA");
    if (!browse || !pathOf) return std::nullopt;
    std::string title = toAnsi(prompt);
    std::string start = toAnsi(current);
    BROWSEINFOA info{};
    info.hwndOwner = owner;
    info.lpszTitle = title.c_str();
    info.ulFlags = BIF_RETURNONLYFSDIRS;
    info.lpfn = startAt;
    info.lParam = reinterpret_cast<LPARAM>(start.c_str());
    LPITEMIDLIST list = browse(&info);
    if (!list) return std::nullopt;
    char path[MAX_PATH] = {};
    BOOL ok = pathOf(list, path);
    if (freeList) freeList(list);
    if (!ok) return std::nullopt;
    return fromAnsi(path);
}

INT_PTR handle(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* editing = reinterpret_cast<Editing*>(GetWindowLongPtrA(dialog, DWLP_USER));
    switch (message) {
        case WM_INITDIALOG: {
            SetWindowLongPtrA(dialog, DWLP_USER, lParam);
            const PrometheusSettings& s = reinterpret_cast<Editing*>(lParam)->settings;
            CheckDlgButton(dialog, IDC_PROMETHEUS_ACTIVE, s.on ? BST_CHECKED : BST_UNCHECKED);
            setFolderText(dialog, s.folder);
            return TRUE;
        }
        case WM_COMMAND:
            if (LOWORD(wParam) == IDC_PROMETHEUS_PARCOURIR) {
                if (auto folder = chooseFolder(dialog, folderText(dialog))) {
                    setFolderText(dialog, *folder);
                }
                return TRUE;
            }
            if (LOWORD(wParam) == IDOK && editing) {
                PrometheusSettings chosen;
                chosen.on = IsDlgButtonChecked(dialog, IDC_PROMETHEUS_ACTIVE) == BST_CHECKED;
                chosen.folder = folderText(dialog);
                if (auto problem = prometheusSettingsProblem(chosen)) {
                    MessageBoxA(dialog, toAnsi(*problem).c_str(), kTitle,
                                MB_OK | MB_ICONEXCLAMATION);
                    return TRUE;
                }
                editing->settings = chosen;
                EndDialog(dialog, IDOK);
                return TRUE;
            }
            if (LOWORD(wParam) == IDCANCEL) {
                EndDialog(dialog, IDCANCEL);
                return TRUE;
            }
            return FALSE;
        default: return FALSE;
    }
}

// No exception crosses the dialog's procedure: what reaches it ends the program as any
// window's does.
INT_PTR CALLBACK prometheusProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    if (leavingOnUncaught()) return FALSE;
    try {
        return handle(dialog, message, wParam, lParam);
    } catch (...) {
        leaveOnUncaught(dialog);
        EndDialog(dialog, IDCANCEL);
        return TRUE;
    }
}

}  // namespace

std::optional<PrometheusSettings> Win32Windows::editPrometheus(const PrometheusSettings& current) {
    Editing editing{current};
    INT_PTR result = DialogBoxParamA(instance_, MAKEINTRESOURCEA(IDD_PROMETHEUS), owner_,
                                     prometheusProc, reinterpret_cast<LPARAM>(&editing));
    if (result == -1) throw RuntimeError(kErrOutOfMemory);
    if (result != IDOK) return std::nullopt;
    return editing.settings;
}

}  // namespace corvane::win32
