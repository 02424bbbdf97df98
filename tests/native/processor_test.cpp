// The processor label: count, the window's caption, family.
#include "probes/processor.h"

#include "harness.h"

namespace corvane::testing {
namespace {

using ProceTest = MonitorTest;

TEST(Proce, CountAndFamilyAroundTheCreationCaption) {
    const std::pair<SystemInfo, const char*> machines[] = {
        {{2, 586}, "2 CPU 586"},
        {{1, 486}, "1 CPU 486"},
        {{1, 386}, "1 CPU 386"},
        {{4, 4000}, "4 CPU MIPS R4000"},
        {{2, 21064}, "2 CPU DEC Alpha 21064"},
        {{8, 8664}, "8 CPU (inconnu)"},
        {{1, 0}, "1 CPU (inconnu)"},
        {{64, 2200}, "64 CPU (inconnu)"},
    };
    for (auto [info, caption] : machines) {
        fake::FakePlatform machine;
        machine.system.info = info;
        MainWindow other(machine.platform);
        Proce(machine.platform.system, machine.platform.view);
        EXPECT_EQ(machine.view.texts[Control::processeur], caption);
    }
}

TEST_F(ProceTest, BuildsOnTheCaptionItFinds) {
    fake.system.info = {2, 586};
    fake.view.texts[Control::processeur] = "Processeur";
    Proce(fake.platform.system, fake.platform.view);
    EXPECT_EQ(label(Control::processeur), "2 Processeur 586");
}

TEST_F(ProceTest, StartUpShowsTheProcessorsOnce) {
    setSwapMiB(50);
    fake.system.info = {2, 586};
    window.onLoad();
    EXPECT_EQ(label(Control::processeur), "2 CPU 586");
}

}  // namespace
}  // namespace corvane::testing
