// The notification area's icon and the alerts in the real program, read through the shell's own
// notification area (Wine's, in its desktop: each icon has a tooltip window of the taskbar, and
// a balloon is a balloon tooltip): the menu item adds and removes it, its tooltip, a click
// brings the window back, it comes back after "TaskbarCreated" (or is found there still), it
// goes at exit; a swap file grown by the threshold within the hour writes the journal's line
// and shows the balloon; the commit's exhaustion forecast, held over the history's last half
// hour, raises its alert at once, with the time left in the journal, the balloon and tooltip.
#include <shellapi.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <fstream>
#include <optional>
#include <string>
#include <vector>

#include "committer_process.h"
#include "corvane_fixture.h"
#include "platform/control_ids.h"
#include "utc_minutes.h"

namespace corvane::wine {
namespace {

constexpr int kIcone = ID_NOTIFICATION_ICON;  // the menu item
constexpr int kAlertes = ID_ALERTS;           // the menu item
constexpr int kSwapSeuil = IDC_ALERT_SWAP_GROWTH_THRESHOLD;
constexpr int kSwapActive = IDC_ALERT_SWAP_GROWTH_ON;
constexpr int kEngagementSeuil = IDC_ALERT_COMMIT_THRESHOLD;
constexpr LONG kBalloonStyle = 0x40;  // TTS_BALLOON

// The taskbar of Wine's desktop, which holds the notification area at its right end.
Window taskbar() {
    return Window(FindWindowA("Shell_TrayWnd", nullptr));
}

// The balloons the notification area shows: tooltips of the taskbar in the balloon style.
std::vector<Window> balloons() {
    std::vector<Window> found;
    const HWND bar = taskbar().handle();
    for (const Window& w : topWindows(0, "tooltips_class32", false)) {
        if (w.owner() == bar && (w.style() & kBalloonStyle) && w.visible()) found.push_back(w);
    }
    return found;
}

// The last balloon shown in the notification area, once one is.
Window waitBalloon() {
    Window balloon;
    EXPECT_TRUE(pollUntil([&] {
        for (const Window& w : balloons()) balloon = w;
        return static_cast<bool>(balloon);
    })) << "no balloon in the notification area";
    return balloon;
}

// Wine's notification area keeps the tooltip windows of icons that are gone: what it draws is
// what tells whether Corvane's icon is there. The icon is a gauge framed in dark grey (64, 64,
// 64), a colour nothing else of the taskbar has; its slot is found from the right.
constexpr int kSlots = 8;
int slotWidth() {
    return GetSystemMetrics(SM_CXSMICON) + 4;
}

// The slot (0: rightmost) where the gauge's frame is drawn, or -1.
int gaugeSlot() {
    RECT bar = taskbar().rect();
    RECT area{bar.right - kSlots * slotWidth(), bar.top, bar.right, bar.bottom};
    std::vector<uint8_t> bgra = screenPixels(area);
    const int width = area.right - area.left;
    for (size_t i = 0; i + 3 < bgra.size(); i += 4) {
        if (bgra[i] == 64 && bgra[i + 1] == 64 && bgra[i + 2] == 64) {
            int x = static_cast<int>((i / 4) % static_cast<size_t>(width));
            return (width - 1 - x) / slotWidth();
        }
    }
    return -1;
}

class TrayTest : public CorvaneTest {
protected:
    void SetUp() override {
        CorvaneTest::SetUp();
        // Wine's desktop, and its taskbar with it, starts with the first window of the prefix.
        static HWND starter = CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, 1, 1, nullptr,
                                              nullptr, nullptr, nullptr);
        (void)starter;
        ASSERT_TRUE(pollUntil([] { return static_cast<bool>(taskbar()); }))
            << "no notification area: the prefix does not run in Wine's desktop";
        ASSERT_EQ(gaugeSlot(), -1) << "an icon of an earlier run is still in the notification area";
    }

    // Ends Corvane the user's way, so that no icon is left behind for the next test.
    void quit() {
        main.postCommand(kQuitter);
        pressButton(waitWindow(corvane->id(), kAboutClass), kAboutOk);
        EXPECT_TRUE(corvane->waitExit()) << "Quitter did not end Corvane";
    }

    bool iconShown() { return gaugeSlot() >= 0; }

    POINT iconCentre() {
        RECT bar = taskbar().rect();
        int slot = std::max(gaugeSlot(), 0);
        return {bar.right - slotWidth() * slot - slotWidth() / 2, (bar.top + bar.bottom) / 2};
    }

    // The icon's tooltip, as the shell shows it when the pointer rests on the icon.
    std::string hoverTooltip(const std::string& prefix) {
        POINT at = iconCentre();
        std::string text;
        const HWND bar = taskbar().handle();
        for (int attempt = 0; attempt < 3 && text.rfind(prefix, 0) != 0; ++attempt) {
            SetCursorPos(0, 0);
            Sleep(300);
            SetCursorPos(at.x, at.y);
            pollUntil(
                [&] {
                    for (const Window& tip : topWindows(0, "tooltips_class32")) {
                        if (tip.owner() != bar || (tip.style() & kBalloonStyle)) continue;
                        text = tip.text();
                        if (text.rfind(prefix, 0) == 0) return true;
                    }
                    return false;
                },
                4000);
        }
        SetCursorPos(0, 0);
        return text;
    }

    // A click on the icon, as the shell takes it from the mouse.
    void clickIcon() {
        POINT at = iconCentre();
        RECT bar = taskbar().rect();
        LPARAM where = MAKELPARAM(at.x - bar.left, at.y - bar.top);
        taskbar().post(WM_LBUTTONDOWN, MK_LBUTTON, where);
        taskbar().post(WM_LBUTTONUP, 0, where);
    }

    // The whole screen: the notification area is on the taskbar, away from the window.
    void screenShot(const std::string& name) {
        if (!screenshotDir().empty())
            saveScreenshot(Window(), screenshotDir() + "\\" + name + ".png");
    }

    void waitIcon(bool shown, const std::string& what) {
        EXPECT_TRUE(pollUntil([&] { return iconShown() == shown; }))
            << what << ": the icon is " << (shown ? "not " : "") << "in the notification area";
    }
};

TEST_F(TrayTest, TheMenuItemAddsAndRemovesTheIconWithItsTooltip) {
    launch();
    EXPECT_FALSE(iconShown());
    main.postCommand(kIcone);
    waitIcon(true, "after the menu item");
    EXPECT_EQ(readString(HKEY_CURRENT_USER, kSettingsSectionKey, "IconeNotification"), "True");

    std::string tip = hoverTooltip("Corvane\n");
    // The commit's figures are the machine's: only their form is checked.
    const std::string swapLine = "Corvane\nSWAP : 50 Mo (mini 50, maxi 50 Mo)\nEngagement : ";
    EXPECT_EQ(tip.substr(0, swapLine.size()), swapLine) << tip;
    EXPECT_NE(tip.find(" / "), std::string::npos) << tip;
    EXPECT_EQ(tip.substr(tip.size() - 3), " %)") << tip;
    screenShot("TrayTest-tooltip");

    // The tooltip follows the ticks.
    setSwapSize(70 * kMiB);
    main.postTimer(kTimer1);
    main.waitControlText(kSwap, "SWAP: 70 Mo");
    EXPECT_EQ(hoverTooltip("Corvane\nSWAP : 70").substr(0, 46),
              "Corvane\nSWAP : 70 Mo (mini 50, maxi 70 Mo)\nEng");

    main.postCommand(kIcone);
    waitIcon(false, "after the menu item again");
    EXPECT_EQ(readString(HKEY_CURRENT_USER, kSettingsSectionKey, "IconeNotification"), "False");
    quit();
}

TEST_F(TrayTest, AClickOnTheIconBringsTheMinimisedWindowBack) {
    setString(HKEY_CURRENT_USER, kSettingsSectionKey, "IconeNotification", "True");
    launch();
    waitIcon(true, "at start-up, remembered");
    main.post(WM_SYSCOMMAND, SC_MINIMIZE, 0);
    ASSERT_TRUE(pollUntil([&] { return main.minimised(); }));
    // Minimised, the window's own caption is as it always was.
    main.postTimer(kTimer1);
    EXPECT_TRUE(pollUntil([&] { return main.text().rfind("SW:", 0) == 0; })) << main.text();

    clickIcon();
    EXPECT_TRUE(pollUntil([&] { return !main.minimised() && main.visible(); }))
        << "the window is still minimised";
    EXPECT_EQ(GetForegroundWindow(), main.handle());
    screenShot("TrayTest-restored");
    quit();
    waitIcon(false, "after the exit");
}

TEST_F(TrayTest, TheIconComesBackWhenTheTaskbarIsMadeAgainAndGoesAtExit) {
    setString(HKEY_CURRENT_USER, kSettingsSectionKey, "IconeNotification", "True");
    launch();
    waitIcon(true, "at start-up");

    // As when Explorer ends: its icons are gone, until the new taskbar says it is there.
    NOTIFYICONDATAA gone{};
    gone.cbSize = NOTIFYICONDATAA_V1_SIZE;
    gone.hWnd = main.handle();
    gone.uID = 1;
    ASSERT_TRUE(Shell_NotifyIconA(NIM_DELETE, &gone));
    waitIcon(false, "after the shell lost it");
    main.send(RegisterWindowMessageA("TaskbarCreated"));
    waitIcon(true, "after TaskbarCreated");
    EXPECT_EQ(hoverTooltip("Corvane\n").substr(0, 13), "Corvane\nSWAP ");

    quit();
    waitIcon(false, "after the exit");
}

// A busy Explorer at log-on can let an add time out and take it all the same: the shell then
// has the icon and refuses every later add. Played by "TaskbarCreated" while the icon is still
// there: the icon must go on following the ticks, and go at exit.
TEST_F(TrayTest, AnIconTheShellAlreadyHasFollowsTheTicksAndGoesAtExit) {
    setString(HKEY_CURRENT_USER, kSettingsSectionKey, "IconeNotification", "True");
    launch();
    waitIcon(true, "at start-up");
    main.send(RegisterWindowMessageA("TaskbarCreated"));
    setSwapSize(70 * kMiB);
    main.postTimer(kTimer1);
    main.waitControlText(kSwap, "SWAP: 70 Mo");
    EXPECT_EQ(hoverTooltip("Corvane\nSWAP : 70").substr(0, 46),
              "Corvane\nSWAP : 70 Mo (mini 50, maxi 70 Mo)\nEng");
    quit();
    waitIcon(false, "after the exit");
}

TEST_F(TrayTest, AlertSwapGrownByTheThresholdWritesTheJournalAndShowsTheBalloon) {
    setString(HKEY_CURRENT_USER, kSettingsSectionKey, "IconeNotification", "True");
    setString(HKEY_CURRENT_USER, kSettingsSectionKey, "SeuilSwap", "100");
    // The machine's commit is what it is: only the swap file's alert is looked at.
    setString(HKEY_CURRENT_USER, kSettingsSectionKey, "AlerteEngagement", "False");
    launch();
    waitIcon(true, "at start-up");

    setSwapSize(150 * kMiB);
    main.postTimer(kTimer1);
    main.waitControlText(kSwap, "SWAP: 150 Mo");

    Window balloon = waitBalloon();
    if (balloon) {
        std::string text = balloon.text();
        const std::string said =
            ", le fichier SWAP a grandi de 100 Mo en une heure (seuil 100 Mo) ; il fait 150 Mo.";
        EXPECT_EQ(text.rfind("À ", 0), 0u) << text;
        EXPECT_NE(text.find(said), std::string::npos) << text;
    }
    screenShot("AlertSwapGrowth-balloon");
    EXPECT_TRUE(messageBoxes(corvane->id()).empty()) << "an alert must not wait on the user";

    // In the journal's code page, after the start line, dated as the start line is.
    std::string journal = readFile(folder + "\\Corvane.txt");
    const std::string line =
        "Alerte : fichier SWAP agrandi de 100Mo en une heure, \340 150Mo "
        "(seuil 100Mo) le ";
    size_t at = journal.find(line);
    ASSERT_NE(at, std::string::npos) << journal;
    std::string start = journal.substr(0, journal.find("\r\n"));
    std::string when = journal.substr(at + line.size());
    // "08/12/2026 \340 07:15:30\r\n": the date and time in the user's format, as the start line.
    ASSERT_GE(when.size(), 23u) << journal;
    EXPECT_EQ(when.substr(10, 3), " \340 ") << journal;
    EXPECT_EQ(when.substr(21, 2), "\r\n") << journal;
    ASSERT_GE(start.size(), 21u) << journal;
    EXPECT_EQ(start.substr(start.size() - 21, 10), when.substr(0, 10)) << journal;

    // Once: the next tick, still grown, says nothing more.
    main.postTimer(kTimer1);
    Sleep(1000);
    main.send(WM_NULL);
    journal = readFile(folder + "\\Corvane.txt");
    EXPECT_EQ(journal.find(line, at + 1), std::string::npos) << journal;
    quit();
    // Gone before the next test looks: the shell redraws its area a little after the removal.
    waitIcon(false, "after the exit");

    // The exit records the minute in progress: the history marks the minute of the alert, once.
    std::string history = readFile(folder + "\\Corvane.csv");
    int marked = 0;
    for (size_t from = 0, end; (end = history.find("\r\n", from)) != std::string::npos;
         from = end + 2) {
        std::vector<std::string> fields;
        std::string record = history.substr(from, end - from);
        for (size_t f = 0, semi;; f = semi + 1) {
            semi = record.find(';', f);
            fields.push_back(record.substr(f, semi == std::string::npos ? semi : semi - f));
            if (semi == std::string::npos) break;
        }
        if (fields.size() >= 9 && fields[8] == "swap") ++marked;
    }
    EXPECT_EQ(marked, 1) << history;
}

TEST_F(TrayTest, AlertsDialogKeepsValidThresholdsAndSaysWhyOthersAreNot) {
    launch();
    main.postCommand(kAlertes);
    Window dialog = waitWindow(corvane->id(), "#32770");
    EXPECT_EQ(dialog.text(), "Alertes");
    EXPECT_EQ(dialog.controlText(kEngagementSeuil), "90");
    EXPECT_EQ(dialog.controlText(kSwapSeuil), "512");
    EXPECT_EQ(dialog.control(kSwapActive).send(BM_GETCHECK), BST_CHECKED);
    shot("AlertsDialog", dialog);

    dialog.control(kSwapSeuil).send(WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L"0"));
    pressButton(dialog, IDOK);
    // The message box is a dialog of the same class: the one that is not the alerts'.
    auto refusal = [&] {
        for (const MessageBoxInfo& box : messageBoxes(corvane->id())) {
            if (box.window.handle() != dialog.handle()) return box;
        }
        return MessageBoxInfo{};
    };
    ASSERT_TRUE(pollUntil([&] { return static_cast<bool>(refusal().window); }));
    MessageBoxInfo refused = refusal();
    EXPECT_EQ(refused.title, "Alertes");
    EXPECT_EQ(refused.text,
              "La croissance du fichier SWAP doit être un nombre entier de 1 à 1048576 (Mo).");
    EXPECT_EQ(refused.owner, dialog.handle());
    pressButton(refused.window, IDOK);
    ASSERT_TRUE(pollUntil([&] { return !refusal().window; }));
    EXPECT_TRUE(dialog.exists()) << "the dialog closed on a refused threshold";

    dialog.control(kSwapSeuil).send(WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L"256"));
    pressButton(dialog, IDOK);
    ASSERT_TRUE(pollUntil([&] { return !dialog.exists(); }));
    // Saved as the dialog returns.
    EXPECT_TRUE(pollUntil([] {
        return readString(HKEY_CURRENT_USER, kSettingsSectionKey, "SeuilSwap") == "256";
    })) << readString(HKEY_CURRENT_USER, kSettingsSectionKey, "SeuilSwap");
    EXPECT_EQ(readString(HKEY_CURRENT_USER, kSettingsSectionKey, "AlerteSwap"), "True");
    quit();
}

// The exhaustion's alert: its half hour cannot pass within a test, so the history the test
// writes holds it, three hours' trend and all, ending at the test's start; a program of the
// test goes on committing at the same pace while Corvane runs. Wine's commit is the host's
// memory in use, which other programs move: the time left is checked against what the test
// reads of it before and after the alert. The journal's line is read on both builds; the
// balloon and the tooltip with the other tests of the icon.

// The commit as Corvane reads it, in Mo.
double commitMo() {
    MEMORYSTATUSEX status{};
    status.dwLength = sizeof status;
    if (!GlobalMemoryStatusEx(&status)) throw DriverError("GlobalMemoryStatusEx failed");
    return static_cast<double>(status.ullTotalPageFile - status.ullAvailPageFile) / kMiB;
}

// "dans 2 h 05" in minutes; -1 where the text holds none.
int64_t minutesLeftIn(const std::string& text) {
    size_t at = text.find("dans ");
    int hours = 0, minutes = 0;
    if (at == std::string::npos ||
        std::sscanf(text.c_str() + at, "dans %d h %d", &hours, &minutes) != 2)
        return -1;
    return hours * 60 + minutes;
}

// The history of a commit rising for ninety minutes up to the test's start, the alert's
// threshold at 6 h and the other alerts off, and the committer started.
struct RisingCommit {
    int64_t attainable = 0;  // the RAM as the main window counts it, and the file's 200 Mo
    int64_t perMinute = 0;
    double before = 0;  // Wine's commit before the committer, and once it holds its first Mo
    double committed = 0;
    std::optional<Process> committer;
};
RisingCommit riseFor90Minutes(const std::string& folder) {
    RisingCommit rise;
    MEMORYSTATUSEX status{};
    status.dwLength = sizeof status;
    if (!GlobalMemoryStatusEx(&status)) throw DriverError("GlobalMemoryStatusEx failed");
    rise.attainable = static_cast<int64_t>((status.ullTotalPhys + 640000) / kMiB) + 200;
    // From 100 Mo, at a pace that reaches the limit in three hours: every minute of the last
    // ninety leaves less than the threshold of 6 h, whatever the commit is now.
    rise.perMinute = rise.attainable / 180;
    const int64_t now = utcMinuteNow();
    std::string csv =
        "Minute (UTC);SWAP mini (Mo);SWAP maxi (Mo);SWAP (Mo);RAM en usage (Mo);"
        "SWAP en usage (Mo);Engagement (Mo);Limite d'engagement (Mo);Alertes\r\n";
    for (int64_t m = now - 90; m < now; ++m) {
        csv += minuteText(m) + ";50;50;50;900;;" +
               std::to_string(100 + rise.perMinute * (m - now + 90)) + ";" +
               std::to_string(rise.attainable) + ";\r\n";
    }
    std::ofstream(folder + "\\Corvane.csv", std::ios::binary | std::ios::trunc) << csv;
    setString(HKEY_CURRENT_USER, kSettingsSectionKey, "SeuilEpuisement", "6");
    // The machine's commit and memory are what they are: only this alert is looked at.
    for (const char* off : {"AlerteEngagement", "AlerteSwap", "AlerteMemoire"})
        setString(HKEY_CURRENT_USER, kSettingsSectionKey, off, "False");
    rise.before = commitMo();
    rise.committer.emplace(startCommitter(64, static_cast<int>(rise.perMinute / 6), 10000));
    rise.committed = commitMo();
    std::printf("Wine's commit: %.0f Mo, %.0f Mo once 64 Mo are committed; RAM and file %lld Mo\n",
                rise.before, rise.committed, static_cast<long long>(rise.attainable));
    return rise;
}

class AdviceExhaustionTest : public CorvaneTest {};

TEST_F(AdviceExhaustionTest, ACommitRisingForHoursRaisesTheAlertAtOnceWithItsTimeLeft) {
    RisingCommit rise = riseFor90Minutes(folder);
    launch();
    // No half hour to wait: the history held it.
    const std::string journalPath = folder + "\\Corvane.txt";
    const std::string line = "Alerte : engagement \340 sa limite atteignable dans ";
    std::string journal;
    bool said = false;
    for (int tick = 0; tick < 3 && !said; ++tick) {
        main.postTimer(kTimer1);
        said = pollUntil(
            [&] { return (journal = readFile(journalPath)).find(line) != std::string::npos; },
            3000);
    }
    ASSERT_TRUE(said) << journal;
    const double high = std::max(rise.committed, commitMo());
    const double low = std::min(rise.before, rise.committed);
    size_t at = journal.find(line);
    std::string text = journal.substr(at, journal.find("\r\n", at) - at);
    EXPECT_NE(text.find(" au rythme des 3 derni\350res heures (seuil 6 h) le "), std::string::npos)
        << text;
    // The time left at the pace of the history, from the commit of the moment, give or take a
    // minute of rounding. A minute Corvane records itself during the test, at Wine's commit far
    // below the history's line, bends the pace down by up to a tenth.
    const auto attainable = static_cast<double>(rise.attainable);
    const auto perMinute = static_cast<double>(rise.perMinute);
    const int64_t left = minutesLeftIn(text);
    EXPECT_GE(static_cast<double>(left), std::floor((attainable - high) / perMinute - 2)) << text;
    EXPECT_LE(static_cast<double>(left), std::ceil((attainable - low) / (0.9 * perMinute) + 2))
        << text;
    EXPECT_LT(left, 6 * 60) << text;
    main.postCommand(kQuitter);
    pressButton(waitWindow(corvane->id(), kAboutClass), kAboutOk);
    EXPECT_TRUE(corvane->waitExit()) << "Quitter did not end Corvane";
}

TEST_F(TrayTest, TheExhaustionAlertShowsItsBalloonAndTheTimeLeftInTheTooltip) {
    RisingCommit rise = riseFor90Minutes(folder);
    setString(HKEY_CURRENT_USER, kSettingsSectionKey, "IconeNotification", "True");
    launch();
    waitIcon(true, "at start-up");
    main.postTimer(kTimer1);
    Window balloon = waitBalloon();
    if (balloon) {
        EXPECT_NE(balloon.text().find(", au rythme des 3 dernières heures, l'engagement atteindra "
                                      "sa limite atteignable dans "),
                  std::string::npos)
            << balloon.text();
    }
    screenShot("AdviceExhaustion-balloon");
    // While it is raised, the tooltip says the time left, from the tick after the alert's.
    main.postTimer(kTimer1);
    main.send(WM_NULL);
    std::string tip = hoverTooltip("Corvane\n");
    size_t tipAt = tip.find("\nMémoire épuisée dans ");
    ASSERT_NE(tipAt, std::string::npos) << tip;
    int64_t tipLeft = minutesLeftIn(tip.substr(tipAt));
    EXPECT_GT(tipLeft, 0) << tip;
    EXPECT_LT(tipLeft, 6 * 60) << tip;
    quit();
    waitIcon(false, "after the exit");
}

}  // namespace
}  // namespace corvane::wine
