// The menu's check marks as a menu opens: the refresh period in force, the Prometheus export.
#include "harness.h"

namespace corvane::testing {
namespace {

class MenuMarksTest : public MonitorTest {
protected:
    void SetUp() override {
        setSwapMiB(64);
        window.onLoad();
        ASSERT_FALSE(window.ended());
    }
    // The refresh items marked as the menu opens.
    std::vector<MenuItem> marked() {
        fake.view.menuChecks.clear();
        window.onMenuOpen();
        std::vector<MenuItem> items;
        for (MenuItem item :
             {MenuItem::s1, MenuItem::s5, MenuItem::s10, MenuItem::s30, MenuItem::m1}) {
            if (fake.view.menuChecks.at(item)) items.push_back(item);
        }
        return items;
    }
};

TEST_F(MenuMarksTest, TheRefreshPeriodInForceAndTheExportAreMarkedAsTheMenuOpens) {
    EXPECT_EQ(marked(), std::vector<MenuItem>{MenuItem::s1});
    window.onMenu(MenuItem::s30);
    EXPECT_EQ(marked(), std::vector<MenuItem>{MenuItem::s30});
    window.onMenu(MenuItem::m1);
    EXPECT_EQ(marked(), std::vector<MenuItem>{MenuItem::m1});
    // A period the slider chose between the items marks none of them.
    fake.view.slider = 7;
    window.onSliderChange();
    EXPECT_TRUE(marked().empty());

    EXPECT_FALSE(fake.view.menuChecks.at(MenuItem::prometheus));
    window.context().state.prometheus.on = true;
    window.onMenuOpen();
    EXPECT_TRUE(fake.view.menuChecks.at(MenuItem::prometheus));
}

}  // namespace
}  // namespace corvane::testing
