// The window's own commands as a user gives them: the refresh period from the menu and the
// slider, and the "Toujours visible" box.
#include "corvane_fixture.h"
#include "platform/control_ids.h"

namespace corvane::wine {
namespace {

constexpr int kS1 = ID_S1;
constexpr int kM1 = ID_M1;

class RefreshRateTest : public CorvaneTest {
protected:
    std::string storedPeriod() {
        return readString(HKEY_CURRENT_USER, kSettingsSectionKey, "Raffraichissement");
    }
    LRESULT sliderPosition() { return main.control(kSlider).send(TBM_GETPOS); }
};

TEST_F(RefreshRateTest, OneMinuteItemShowsStoresAndWaitsSixtySeconds) {
    setString(HKEY_CURRENT_USER, kSettingsSectionKey, "Raffraichissement", "1");
    launch();
    ASSERT_EQ(main.controlText(kLblRaf), "1 s");
    // At one second the samples come on their own.
    setSwapSize(70 * kMiB);
    main.waitControlText(kSwap, "SWAP: 70 Mo", 5000);

    main.postCommand(kM1);
    main.waitControlText(kLblRaf, "60 s");
    EXPECT_EQ(main.controlText(kLblRaf), "60 s");
    EXPECT_EQ(storedPeriod(), "60");
    EXPECT_EQ(sliderPosition(), 60);
    // The one-second timer is gone: no sample within the next seconds.
    setSwapSize(90 * kMiB);
    Sleep(2500);
    EXPECT_EQ(main.controlText(kSwap).rfind("SWAP: 70 Mo", 0), 0u) << main.controlText(kSwap);
}

TEST_F(RefreshRateTest, OneSecondItemMakesTheSamplesComeEverySecond) {
    launch();
    main.postCommand(kS1);
    main.waitControlText(kLblRaf, "1 s");
    EXPECT_EQ(storedPeriod(), "1");
    EXPECT_EQ(sliderPosition(), 1);
    setSwapSize(70 * kMiB);
    main.waitControlText(kSwap, "SWAP: 70 Mo", 5000);
    setSwapSize(80 * kMiB);
    main.waitControlText(kSwap, "SWAP: 80 Mo", 5000);
}

TEST_F(RefreshRateTest, SliderMovedWithTheKeysToSevenShowsAndStoresSeven) {
    launch();
    bringToFront(main);
    const Window slider = main.control(kSlider);
    giveFocus(slider);
    pressKeys({VK_HOME});
    main.waitControlText(kLblRaf, "1 s");
    for (int step = 0; step < 6; ++step) pressKeys({VK_RIGHT});
    main.waitControlText(kLblRaf, "7 s");
    EXPECT_EQ(main.controlText(kLblRaf), "7 s");
    EXPECT_EQ(sliderPosition(), 7);
    EXPECT_EQ(storedPeriod(), "7");
    // The keys went to the slider only: no key command ran on the way.
    EXPECT_TRUE(topWindows(corvane->id(), kAboutClass).empty());
    EXPECT_TRUE(messageBoxes(corvane->id()).empty());
}

TEST_F(RefreshRateTest, SliderDraggedToSevenAndReleasedStoresSeven) {
    launch();
    const Window slider = main.control(kSlider);
    // What the slider tells its parent when the user drops the thumb at 7.
    slider.send(TBM_SETPOS, TRUE, 7);
    const Window parent(GetParent(slider.handle()));
    parent.send(WM_HSCROLL, MAKEWPARAM(TB_THUMBPOSITION, 7),
                reinterpret_cast<LPARAM>(slider.handle()));
    parent.send(WM_HSCROLL, MAKEWPARAM(TB_ENDTRACK, 0), reinterpret_cast<LPARAM>(slider.handle()));
    main.waitControlText(kLblRaf, "7 s");
    EXPECT_EQ(storedPeriod(), "7");
    EXPECT_EQ(sliderPosition(), 7);
}

class AlwaysOnTopTest : public CorvaneTest {
protected:
    // True when `upper` comes before `lower` in the windows' Z order, top first.
    static bool isAbove(HWND upper, HWND lower) {
        for (HWND w = GetTopWindow(nullptr); w; w = GetWindow(w, GW_HWNDNEXT)) {
            if (w == upper) return true;
            if (w == lower) return false;
        }
        return false;
    }

    // Another program's window, brought to the front over Corvane's.
    Window coveringWindow(const Process& other) {
        const Window window = waitWindow(other.id(), kMainClass);
        const RECT r = main.rect();
        SetWindowPos(window.handle(), HWND_TOP, r.left + 10, r.top + 10, 0, 0, SWP_NOSIZE);
        bringToFront(window);
        return window;
    }

    void moveMain(int x, int y) {
        SetWindowPos(main.handle(), nullptr, x, y, 0, 0,
                     SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
        ASSERT_TRUE(pollUntil([&] { return main.rect().left == x && main.rect().top == y; }));
    }
};

TEST_F(AlwaysOnTopTest, CheckingMovesTheWindowToTheCornerAboveOthersUncheckingLeavesIt) {
    launch();
    const RECT centred = main.rect();
    ASSERT_FALSE(main.topmost());
    ASSERT_GT(centred.left, 0) << "the window starts centred, away from the corner";
    const Window box = main.control(kDessus);

    box.send(BM_CLICK);
    ASSERT_TRUE(pollUntil([&] { return main.topmost(); }))
        << "checking did not make it topmost; the box reads " << box.send(BM_GETCHECK);
    EXPECT_EQ(box.send(BM_GETCHECK), BST_CHECKED);
    RECT r = main.rect();
    EXPECT_EQ(r.left, 0);
    EXPECT_EQ(r.top, 0);
    EXPECT_EQ(r.right - r.left, centred.right - centred.left);
    EXPECT_EQ(r.bottom - r.top, centred.bottom - centred.top);
    shot("always-on-top");
    {
        Process other = Process::start(floorExe());
        const Window window = coveringWindow(other);
        EXPECT_TRUE(isAbove(main.handle(), window.handle()))
            << "a window brought to the front covers the topmost one";
    }

    // Where the user then puts it, unchecking leaves it.
    moveMain(120, 90);
    box.send(BM_CLICK);
    ASSERT_TRUE(pollUntil([&] { return !main.topmost(); })) << "unchecking left it topmost";
    EXPECT_EQ(box.send(BM_GETCHECK), BST_UNCHECKED);
    r = main.rect();
    EXPECT_EQ(r.left, 120);
    EXPECT_EQ(r.top, 90);
    EXPECT_EQ(r.right - r.left, centred.right - centred.left);
    EXPECT_EQ(r.bottom - r.top, centred.bottom - centred.top);
    Process other = Process::start(floorExe());
    const Window window = coveringWindow(other);
    EXPECT_TRUE(isAbove(window.handle(), main.handle()))
        << "another window cannot cover it once unchecked";
}

TEST_F(AlwaysOnTopTest, TooltipShowsAboveTheTopmostWindow) {
    launch();
    main.control(kDessus).send(BM_CLICK);
    ASSERT_TRUE(pollUntil([&] { return main.topmost(); }));
    bringToFront(main);
    moveMouseOver(main.control(kSwap));
    Window tip;
    ASSERT_TRUE(pollUntil([&] {
        for (const Window& w : topWindows(corvane->id(), TOOLTIPS_CLASSA))
            if (w.text() == "Taille du fichier SWAP actuelle,mini,maxi et moyenne") tip = w;
        return bool(tip);
    })) << "no tip over the swap label; windows:"
        << openWindows();
    EXPECT_TRUE(isAbove(tip.handle(), main.handle()));
}

TEST_F(AlwaysOnTopTest, CheckingTwiceKeepsItTopmostInTheCorner) {
    launch();
    const Window box = main.control(kDessus);
    box.send(BM_CLICK);
    ASSERT_TRUE(pollUntil([&] { return main.topmost(); }));
    moveMain(200, 150);
    box.send(BM_CLICK);
    ASSERT_TRUE(pollUntil([&] { return !main.topmost(); }));
    box.send(BM_CLICK);
    ASSERT_TRUE(pollUntil([&] { return main.topmost(); }));
    EXPECT_EQ(main.rect().left, 0);
    EXPECT_EQ(main.rect().top, 0);
}

}  // namespace
}  // namespace corvane::wine
