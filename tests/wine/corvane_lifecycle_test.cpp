// How Corvane starts and ends: one copy at a time, and every way out through the same exit.
#include "corvane_fixture.h"

namespace corvane::wine {
namespace {

class LifecycleTest : public CorvaneTest {};

TEST_F(LifecycleTest, SecondCopyEndsAtOnceWithoutAWindow) {
    launch();
    Process second = Process::start(folder + "\\Corvane.exe", "", folder);
    bool secondShowedAWindow = false;
    const bool ended = pollUntil([&] {
        if (!topWindows(second.id()).empty()) secondShowedAWindow = true;
        return !second.running();
    });
    ASSERT_TRUE(ended) << "the second copy is still running";
    EXPECT_EQ(second.exitCode(), 0u);
    EXPECT_FALSE(secondShowedAWindow);
    EXPECT_EQ(topWindows(0, kMainClass).size(), 1u);
    // The first copy goes on sampling.
    setSwapSize(70 * kMiB);
    tickUntilSwapReads("SWAP: 70 Mo  Mini: 50 Mo  Maxi: 70 Mo  Moy: 60 Mo");
}

TEST_F(LifecycleTest, EscapeEndsTheProgram) {
    launch();
    main.postChar(27);
    expectEnds("Escape");
}

TEST_F(LifecycleTest, EscapeReachesTheKeyHandlerFromAControl) {
    launch();
    main.control(kSlider).postChar(27);
    expectEnds("Escape on the slider");
}

TEST_F(LifecycleTest, ClosingTheWindowEndsTheProgram) {
    launch();
    main.postClose();
    expectEnds("Closing the window");
}

TEST_F(LifecycleTest, MenuQuitterEndsTheProgram) {
    launch();
    main.postCommand(kQuitter);
    expectEnds("Menu \"Quitter\"");
}

TEST_F(LifecycleTest, CtrlQEndsTheProgramWhileTheSliderHasTheFocus) {
    launch();
    bringToFront(main);
    const Window slider = main.control(kSlider);
    giveFocus(slider);
    ASSERT_EQ(main.focus(), slider.handle()) << "the slider did not get the focus";
    pressKeys({VK_CONTROL, 'Q'});
    expectEnds("Ctrl+Q");
}

}  // namespace
}  // namespace corvane::wine
