// The "Alertes" dialog: each alert's switch and threshold, checked before it closes. Its
// template is IDD_ALERTS in corvane.rc.
#include "win32/alerts_dialog.h"

#include <string>

#include "alerts/alert_limits.h"
#include "common/errors.h"
#include "platform/controls.h"
#include "win32/resource.h"
#include "win32/settings_dialog.h"

namespace corvane::win32 {

namespace {

static_assert(IDC_ALERT_COMMIT_ON == static_cast<int>(AlertsControl::commitOn));
static_assert(IDC_ALERT_COMMIT_THRESHOLD == static_cast<int>(AlertsControl::commitThreshold));
static_assert(IDC_ALERT_SWAP_GROWTH_ON == static_cast<int>(AlertsControl::swapGrowthOn));
static_assert(IDC_ALERT_SWAP_GROWTH_THRESHOLD ==
              static_cast<int>(AlertsControl::swapGrowthThreshold));
static_assert(IDC_ALERT_MEMORY_ON == static_cast<int>(AlertsControl::memoryOn));
static_assert(IDC_ALERT_MEMORY_THRESHOLD == static_cast<int>(AlertsControl::memoryThreshold));
static_assert(IDC_ALERT_EXHAUSTION_ON == static_cast<int>(AlertsControl::exhaustionOn));
static_assert(IDC_ALERT_EXHAUSTION_THRESHOLD ==
              static_cast<int>(AlertsControl::exhaustionThreshold));

struct Row {
    int check;
    int edit;
    bool AlertSettings::*on;
    int32_t AlertSettings::*threshold;
};
constexpr Row kRows[] = {
    {IDC_ALERT_COMMIT_ON, IDC_ALERT_COMMIT_THRESHOLD, &AlertSettings::commitOn,
     &AlertSettings::commitPercent},
    {IDC_ALERT_SWAP_GROWTH_ON, IDC_ALERT_SWAP_GROWTH_THRESHOLD, &AlertSettings::swapGrowthOn,
     &AlertSettings::swapGrowthMo},
    {IDC_ALERT_MEMORY_ON, IDC_ALERT_MEMORY_THRESHOLD, &AlertSettings::memoryOn,
     &AlertSettings::memoryPercent},
    {IDC_ALERT_EXHAUSTION_ON, IDC_ALERT_EXHAUSTION_THRESHOLD, &AlertSettings::exhaustionOn,
     &AlertSettings::exhaustionHours},
};

// The threshold of an alert that is off cannot be edited: it would look as if it counted.
void enableThresholds(HWND dialog) {
    for (const Row& row : kRows) {
        EnableWindow(GetDlgItem(dialog, row.edit),
                     IsDlgButtonChecked(dialog, row.check) == BST_CHECKED);
    }
}

void fill(HWND dialog, const AlertSettings& settings) {
    for (const Row& row : kRows) {
        CheckDlgButton(dialog, row.check, settings.*row.on ? BST_CHECKED : BST_UNCHECKED);
        SetDlgItemInt(dialog, row.edit, static_cast<UINT>(settings.*row.threshold), FALSE);
    }
    enableThresholds(dialog);
}

// A switch ticked or unticked.
bool switched(HWND dialog, WORD id) {
    for (const Row& row : kRows) {
        if (id != row.check) continue;
        enableThresholds(dialog);
        return true;
    }
    return false;
}

// The dialog's values; a field that holds no number reads 0, which no threshold takes.
AlertSettings read(HWND dialog) {
    AlertSettings settings;
    for (const Row& row : kRows) {
        BOOL number = FALSE;
        UINT value = GetDlgItemInt(dialog, row.edit, &number, FALSE);
        settings.*row.on = IsDlgButtonChecked(dialog, row.check) == BST_CHECKED;
        settings.*row.threshold = number && value <= 0x7fffffff ? static_cast<int32_t>(value) : 0;
    }
    return settings;
}

constexpr SettingsDialog<AlertSettings> kAlertsDialog{IDD_ALERTS,           "Alertes", fill, read,
                                                      alertSettingsProblem, switched};

}  // namespace

std::optional<AlertSettings> editAlertsInDialog(HINSTANCE instance, HWND owner,
                                                const AlertSettings& current) {
    return editInDialog(instance, owner, kAlertsDialog, current);
}

}  // namespace corvane::win32
