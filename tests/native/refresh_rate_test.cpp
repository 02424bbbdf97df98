// The refresh period from the menu and the slider, and the always-on-top box.
#include "persistence/refresh_rate.h"

#include <algorithm>

#include "harness.h"

namespace corvane::testing {
namespace {

class RefreshRateTest : public MonitorTest {
protected:
    void SetUp() override {
        setSwapMiB(50);
        window.onLoad();
        ASSERT_FALSE(window.ended());
        fake.trace.clear();
    }
    const fake::FakeMainView::Timer& timer() { return fake.view.timers[TimerId::MainTimer1]; }
};

TEST_F(RefreshRateTest, LabelThenStoreThenTimerRestartThenSlider) {
    window.onMenu(MenuItem::s5);
    std::vector<std::string> expected = {
        "text 3=5 s", "save Raffraichissement=5", "timer 10 off", "interval 10 5000", "timer 10 on",
        "slider 5",
    };
    EXPECT_EQ(fake.trace, expected);
}

TEST_F(RefreshRateTest, EachMenuItemAppliesItsPeriod) {
    const std::pair<MenuItem, int> items[] = {
        {MenuItem::s1, 1},   {MenuItem::s5, 5},  {MenuItem::s10, 10},
        {MenuItem::s30, 30}, {MenuItem::m1, 60},
    };
    for (auto [item, seconds] : items) {
        SCOPED_TRACE(seconds);
        window.onMenu(item);
        EXPECT_EQ(label(Control::lblRaf), std::to_string(seconds) + " s");
        EXPECT_EQ(fake.settings.values["Raffraichissement"], std::to_string(seconds));
        EXPECT_EQ(timer().interval, static_cast<uint32_t>(seconds) * 1000);
        EXPECT_TRUE(timer().enabled);
        EXPECT_EQ(fake.view.slider, seconds);
    }
}

TEST_F(RefreshRateTest, OneMinuteIsSixtyThousandMilliseconds) {
    window.onMenu(MenuItem::m1);
    EXPECT_EQ(label(Control::lblRaf), "60 s");
    EXPECT_EQ(fake.settings.values["Raffraichissement"], "60");
    EXPECT_EQ(timer().interval, 60000u);
}

TEST_F(RefreshRateTest, ThePeriodAlreadyInForceStillRestartsTheCountdown) {
    window.onMenu(MenuItem::s10);
    int starts = timer().starts;
    fake.trace.clear();
    window.onMenu(MenuItem::s10);
    EXPECT_EQ(timer().starts, starts + 1);
    EXPECT_NE(std::find(fake.trace.begin(), fake.trace.end(), "timer 10 off"), fake.trace.end());
}

TEST_F(RefreshRateTest, SliderPositionBecomesThePeriod) {
    fake.view.slider = 7;
    window.onSliderChange();
    EXPECT_EQ(label(Control::lblRaf), "7 s");
    EXPECT_EQ(fake.settings.values["Raffraichissement"], "7");
    EXPECT_EQ(timer().interval, 7000u);
    EXPECT_TRUE(timer().enabled);
}

TEST_F(RefreshRateTest, ADamagedStoredPeriodIsBroughtIntoTheSliderRange) {
    for (auto [stored, applied] : {std::pair{0, 1}, {-5, 1}, {61, 60}, {3600, 60}}) {
        SCOPED_TRACE(stored);
        majRaf(window.context(), stored);
        EXPECT_EQ(label(Control::lblRaf), std::to_string(applied) + " s");
        EXPECT_EQ(fake.settings.values["Raffraichissement"], std::to_string(applied));
        EXPECT_EQ(timer().interval, static_cast<uint32_t>(applied) * 1000);
        EXPECT_EQ(fake.view.slider, applied);
    }
}

using AlwaysOnTopTest = RefreshRateTest;

TEST_F(AlwaysOnTopTest, CheckingGoesTopmostAtTheTopLeftCornerKeepingTheSize) {
    fake.view.checked[Control::dessus] = true;
    window.onDessusClick();
    ASSERT_EQ(fake.view.windowPosCalls.size(), 1u);
    const auto& call = fake.view.windowPosCalls[0];
    EXPECT_EQ(call.insertAfter, -1);
    EXPECT_EQ(std::vector<int>({call.x, call.y, call.cx, call.cy}), std::vector<int>(4, 0));
    EXPECT_EQ(call.flags, 0x51u);
}

TEST_F(AlwaysOnTopTest, UncheckingLeavesTheWindowWhereItIs) {
    fake.view.checked[Control::dessus] = true;
    window.onDessusClick();
    fake.view.checked[Control::dessus] = false;
    window.onDessusClick();
    ASSERT_EQ(fake.view.windowPosCalls.size(), 2u);
    const auto& call = fake.view.windowPosCalls[1];
    EXPECT_EQ(call.insertAfter, -2);
    EXPECT_EQ(std::vector<int>({call.x, call.y, call.cx, call.cy}), std::vector<int>(4, 0));
    EXPECT_EQ(call.flags, 0x53u);
}

}  // namespace
}  // namespace corvane::testing
