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
#include "win32/file_calls.h"
#include "win32/prometheus_dialog.h"
#include "win32/resource.h"
#include "win32/settings_dialog.h"
#include "win32/system_library.h"
#include "win32/win32_text.h"
#include "win32/window_procedure.h"

namespace corvane::win32 {

namespace {

static_assert(IDC_PROMETHEUS_ON == static_cast<int>(PrometheusControl::exportOn));
static_assert(IDC_PROMETHEUS_FOLDER == static_cast<int>(PrometheusControl::folder));
static_assert(IDC_PROMETHEUS_BROWSE == static_cast<int>(PrometheusControl::browse));

constexpr const char* kTitle = "Exporter vers Prometheus";

std::string folderText(HWND dialog) {
    HWND edit = GetDlgItem(dialog, IDC_PROMETHEUS_FOLDER);
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
    HWND edit = GetDlgItem(dialog, IDC_PROMETHEUS_FOLDER);
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
    using FreeFn = decltype(&::CoTaskMemFree);
    auto freeList = systemFunction<FreeFn>("ole32.dll", "CoTaskMemFree");
    const char* prompt = "Dossier lu par l'exportateur :";
    if (wideFunctions()) {
        using BrowseFn = decltype(&::SHBrowseForFolderW);
        using PathFn = decltype(&::SHGetPathFromIDListW);
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
    using BrowseFn = decltype(&::SHBrowseForFolderA);
    using PathFn = decltype(&::SHGetPathFromIDListA);
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

void fill(HWND dialog, const PrometheusSettings& settings) {
    CheckDlgButton(dialog, IDC_PROMETHEUS_ON, settings.on ? BST_CHECKED : BST_UNCHECKED);
    setFolderText(dialog, settings.folder);
}

PrometheusSettings read(HWND dialog) {
    PrometheusSettings chosen;
    chosen.on = IsDlgButtonChecked(dialog, IDC_PROMETHEUS_ON) == BST_CHECKED;
    chosen.folder = folderText(dialog);
    return chosen;
}

// "Parcourir...": the shell's folder chooser, opened on the folder the field names.
bool browse(HWND dialog, WORD id) {
    if (id != IDC_PROMETHEUS_BROWSE) return false;
    if (auto folder = chooseFolder(dialog, folderText(dialog))) setFolderText(dialog, *folder);
    return true;
}

// A folder that is not there is said at once, while the user can mend it: the export would
// only fail in the journal.
std::optional<std::string> problemOf(const PrometheusSettings& chosen) {
    if (auto problem = prometheusSettingsProblem(chosen)) return problem;
    if (!chosen.on) return std::nullopt;
    DWORD attributes = fileAttributesAt(chosen.folder);
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY))
        return std::nullopt;
    return "Le dossier " + chosen.folder +
           " n'existe pas.\r\nCréez-le, ou choisissez-en un autre avec « Parcourir... ».";
}

constexpr SettingsDialog<PrometheusSettings> kPrometheusDialog{IDD_PROMETHEUS, kTitle,    fill,
                                                               read,           problemOf, browse};

}  // namespace

std::optional<PrometheusSettings> editPrometheusInDialog(HINSTANCE instance, HWND owner,
                                                         const PrometheusSettings& current) {
    return editInDialog(instance, owner, kPrometheusDialog, current);
}

}  // namespace corvane::win32
