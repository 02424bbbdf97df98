// Every window worked from the keyboard alone, by key messages: Tab goes through its controls,
// the arrows through a group, a letter to its control, Escape closes the window it is in, and
// the main window's own Escape still ends the program.
#include <algorithm>
#include <set>

#include "corvane_fixture.h"
#include "platform/control_ids.h"

namespace corvane::wine {
namespace {

inline constexpr const char* kHistoryClass = "CorvaneHistory";
inline constexpr const char* kMemoryClass = "CorvaneVirtualMemory";
inline constexpr const char* kAdviceClass = "CorvaneAdvice";
enum KeyboardId : int {
    kHeure = IDC_HISTORY_HOUR,
    kJour = IDC_HISTORY_DAY,
    kTout = IDC_HISTORY_ALL,
    kExporter = IDC_HISTORY_EXPORT,
    kTriEngagement = IDC_VM_SORT_BY_COMMIT,
    kTriHeure = IDC_VM_SORT_BY_HOUR_GROWTH,
    kProgrammes = IDC_VM_PROGRAMS,
    kConseil = ID_PAGE_FILE_ADVICE,  // the menu item
    kCopier = IDC_ADVICE_COPY,
};

class KeyboardTest : public CorvaneTest {
protected:
    // A key pressed and released where the keyboard's focus is in `window`'s thread.
    static void key(const Window& window, WPARAM virtualKey) {
        HWND focus = window.focus();
        Window target(focus ? focus : window.handle());
        target.post(WM_KEYDOWN, virtualKey, 1);
        target.post(WM_KEYUP, virtualKey, 0xC0000001);
    }

    static int focusId(const Window& window) {
        HWND focus = window.focus();
        return focus ? GetDlgCtrlID(focus) : 0;
    }

    // Tab until the focus comes back to the control it started from; the controls it met.
    static std::vector<int> tabWalk(const Window& window) {
        std::vector<int> seen;
        const HWND start = window.focus();
        HWND at = start;
        for (int step = 0; step < 20; ++step) {
            key(window, VK_TAB);
            const HWND before = at;
            if (!pollUntil([&] { return (at = window.focus()) != before; }, 3000)) break;
            seen.push_back(GetDlgCtrlID(at));
            if (at == start) break;
        }
        return seen;
    }

    static bool checked(const Window& window, int id) {
        return window.control(id).send(BM_GETCHECK) == BST_CHECKED;
    }
};

std::string joined(const std::vector<int>& ids) {
    std::string text;
    for (int id : ids) text += " " + std::to_string(id);
    return text;
}

TEST_F(KeyboardTest, TabReachesTheBoxAndTheSliderOfTheMainWindowWhoseEscapeStillQuits) {
    launch();
    bringToFront(main);
    std::vector<int> walk = tabWalk(main);
    std::set<int> met(walk.begin(), walk.end());
    EXPECT_TRUE(met.count(kDessus)) << "Tab never reaches \"Toujours visible\":" << joined(walk);
    EXPECT_TRUE(met.count(kSlider)) << "Tab never reaches the slider:" << joined(walk);

    // Space on the box turns "Toujours visible" on.
    ASSERT_TRUE(pollUntil([&] {
        if (focusId(main) != kDessus) key(main, VK_TAB);
        return focusId(main) == kDessus;
    })) << "the focus does not come to the box";
    key(main, VK_SPACE);
    EXPECT_TRUE(pollUntil([&] { return checked(main, kDessus) && main.topmost(); }))
        << "Space on the box did not keep the window on top";

    key(main, VK_ESCAPE);
    expectEnds("Escape in the main window");
}

TEST_F(KeyboardTest, TheHistoryAndMemoryWindowsAreWalkedWithTabAndClosedWithEscape) {
    launch();
    bringToFront(main);
    pressKeys({VK_CONTROL, 'H'});
    const Window history = waitWindow(corvane->id(), kHistoryClass);
    ASSERT_TRUE(pollUntil([&] { return focusId(history) == kJour; }))
        << "the chosen span has not the focus: " << focusId(history);
    std::vector<int> walk = tabWalk(history);
    // Every span, "Exporter...", and back to the span chosen.
    EXPECT_EQ(walk,
              (std::vector<int>{IDC_HISTORY_WEEK, IDC_HISTORY_MONTH, kTout, kExporter, kJour}))
        << joined(walk);
    // The arrows go through the spans, a letter to its own.
    key(history, VK_LEFT);
    EXPECT_TRUE(pollUntil([&] { return checked(history, kHeure) && focusId(history) == kHeure; }));
    history.post(WM_CHAR, 't', 1);
    EXPECT_TRUE(pollUntil([&] { return checked(history, kTout); })) << "T did not choose Tout";
    shot("keyboard-history", history);

    // Ctrl+M from the history window opens the virtual memory window.
    bringToFront(history);
    pressKeys({VK_CONTROL, 'M'});
    const Window memory = waitWindow(corvane->id(), kMemoryClass);
    ASSERT_TRUE(pollUntil([&] { return focusId(memory) == kTriEngagement; }))
        << "the chosen order has not the focus: " << focusId(memory);
    walk = tabWalk(memory);
    // The list, and back to the order chosen (the other orders are the arrows' below).
    ASSERT_FALSE(walk.empty());
    EXPECT_NE(std::find(walk.begin(), walk.end(), kProgrammes), walk.end()) << joined(walk);
    EXPECT_EQ(walk.back(), kTriEngagement) << joined(walk);
    shot("keyboard-memory", memory);
    key(memory, VK_RIGHT);
    EXPECT_TRUE(pollUntil([&] { return checked(memory, kTriHeure); }));

    // Escape closes the window it is in, one after the other, and nothing else.
    key(memory, VK_ESCAPE);
    EXPECT_TRUE(pollUntil([&] { return !memory.exists(); })) << "Escape left the window open";
    EXPECT_TRUE(history.exists());
    key(history, VK_ESCAPE);
    EXPECT_TRUE(pollUntil([&] { return !history.exists(); })) << "Escape left the window open";
    EXPECT_TRUE(corvane->running());
    EXPECT_TRUE(main.exists());
}

TEST_F(KeyboardTest, TheAdviceWindowTabsToCopierAndEscapeClosesItAlone) {
    launch();
    main.postCommand(kConseil);
    const Window advice = waitWindow(corvane->id(), kAdviceClass);
    // The keys go to the window itself: the focus may still be in the main window, whose Tab
    // and Escape are its own.
    auto press = [&](WPARAM virtualKey) {
        advice.post(WM_KEYDOWN, virtualKey, 1);
        advice.post(WM_KEYUP, virtualKey, 0xC0000001);
    };
    press(VK_TAB);
    EXPECT_TRUE(pollUntil([&] { return focusId(advice) == kCopier; }))
        << "Tab did not reach Copier: " << focusId(advice);
    press(VK_ESCAPE);
    EXPECT_TRUE(pollUntil([&] { return !advice.visible(); })) << "Escape left the window open";
    EXPECT_TRUE(corvane->running());
    EXPECT_TRUE(main.exists());
}

TEST_F(KeyboardTest, TheAlertsAndPrometheusDialogsAreWalkedWithTabAndClosedWithEscape) {
    constexpr int kAlertes = ID_ALERTS, kPrometheus = ID_PROMETHEUS;  // the menu items
    launch();
    main.postCommand(kAlertes);
    const Window alerts = waitWindow(corvane->id(), "#32770");
    ASSERT_EQ(alerts.text(), "Alertes");
    ASSERT_TRUE(pollUntil([&] { return focusId(alerts) != 0; }));
    // The memory's alert is off: its threshold cannot be reached, nor edited; the exhaustion
    // alert is on, with its threshold.
    EXPECT_FALSE(IsWindowEnabled(alerts.control(IDC_ALERT_MEMORY_THRESHOLD).handle()));
    std::vector<int> walk = tabWalk(alerts);
    EXPECT_EQ(walk, (std::vector<int>{IDC_ALERT_COMMIT_THRESHOLD, IDC_ALERT_SWAP_GROWTH_ON,
                                      IDC_ALERT_SWAP_GROWTH_THRESHOLD, IDC_ALERT_MEMORY_ON,
                                      IDC_ALERT_EXHAUSTION_ON, IDC_ALERT_EXHAUSTION_THRESHOLD, IDOK,
                                      IDCANCEL, IDC_ALERT_COMMIT_ON}))
        << joined(walk);
    // Ticked from the keyboard, its threshold opens.
    ASSERT_TRUE(pollUntil([&] {
        if (focusId(alerts) != IDC_ALERT_MEMORY_ON) key(alerts, VK_TAB);
        return focusId(alerts) == IDC_ALERT_MEMORY_ON;
    }));
    key(alerts, VK_SPACE);
    EXPECT_TRUE(pollUntil([&] {
        return IsWindowEnabled(alerts.control(IDC_ALERT_MEMORY_THRESHOLD).handle()) != FALSE;
    }));
    shot("keyboard-alerts", alerts);
    key(alerts, VK_ESCAPE);
    EXPECT_TRUE(pollUntil([&] { return !alerts.exists(); })) << "Escape left the dialog open";
    EXPECT_EQ(readString(HKEY_CURRENT_USER, kSettingsSectionKey, "AlerteMemoire"), "");

    main.postCommand(kPrometheus);
    const Window prometheus = waitWindow(corvane->id(), "#32770");
    ASSERT_EQ(prometheus.text(), "Exporter vers Prometheus");
    ASSERT_TRUE(pollUntil([&] { return focusId(prometheus) != 0; }));
    walk = tabWalk(prometheus);
    EXPECT_EQ(walk, (std::vector<int>{IDC_PROMETHEUS_FOLDER, IDC_PROMETHEUS_BROWSE, IDOK, IDCANCEL,
                                      IDC_PROMETHEUS_ON}))
        << joined(walk);
    shot("keyboard-prometheus", prometheus);
    key(prometheus, VK_ESCAPE);
    EXPECT_TRUE(pollUntil([&] { return !prometheus.exists(); })) << "Escape left the dialog open";
    EXPECT_TRUE(corvane->running());
}

}  // namespace
}  // namespace corvane::wine
