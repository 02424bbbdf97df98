// The menu's check marks as a menu opens: the Prometheus export, and none for the refresh period.
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
    // The refresh items marked as the menu opens: never any, the label and the slider show it.
    std::vector<MenuItem> marked() {
        fake.view.menuChecks.clear();
        window.onMenuOpen();
        std::vector<MenuItem> items;
        for (MenuItem item :
             {MenuItem::s1, MenuItem::s5, MenuItem::s10, MenuItem::s30, MenuItem::m1}) {
            auto check = fake.view.menuChecks.find(item);
            if (check != fake.view.menuChecks.end() && check->second) items.push_back(item);
        }
        return items;
    }
};

TEST_F(MenuMarksTest, TheExportIsMarkedAsTheMenuOpensAndTheRefreshItemsNever) {
    for (MenuItem period : {MenuItem::s1, MenuItem::s30, MenuItem::m1}) {
        window.onMenu(period);
        EXPECT_TRUE(marked().empty());
    }

    EXPECT_FALSE(fake.view.menuChecks.at(MenuItem::prometheus));
    window.context().state.prometheus.on = true;
    window.onMenuOpen();
    EXPECT_TRUE(fake.view.menuChecks.at(MenuItem::prometheus));
}

}  // namespace
}  // namespace corvane::testing
