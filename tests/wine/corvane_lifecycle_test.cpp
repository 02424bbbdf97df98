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

TEST_F(LifecycleTest, WithoutAPagingFileItSaysSoBeforeItShowsAndEnds) {
    deleteValue(HKEY_LOCAL_MACHINE, kMemoryManagementKey, "PagingFiles");
    corvane.emplace(Process::start(folder + "\\Corvane.exe", "", folder));
    const MessageBoxInfo box = waitMessageBox(corvane->id());
    shot("swap-not-found", box.window);
    EXPECT_EQ(box.title, "Erreur terrible!.....");
    const std::string tail = "\r\nFichier SWAP non trouvé !\r\nEnvoyez moi un mail SVP !";
    ASSERT_GT(box.text.size(), tail.size()) << "no Windows version before: " << box.text;
    EXPECT_EQ(box.text.substr(box.text.size() - tail.size()), tail);
    EXPECT_EQ(box.buttons, std::vector<int>{IDOK});
    EXPECT_EQ(box.owner, nullptr) << "the main window is not shown yet";
    EXPECT_TRUE(topWindows(corvane->id(), kMainClass).empty());

    pressButton(box.window, IDOK);
    // The way out is the usual one, About window included; no sample was taken.
    const Window about = waitWindow(corvane->id(), kAboutClass);
    pressButton(about, kAboutOk);
    ASSERT_TRUE(corvane->waitExit()) << "Corvane went on without a swap file:" << openWindows();
    EXPECT_EQ(corvane->exitCode(), 0u);
    EXPECT_EQ(readString(HKEY_CURRENT_USER, kSettingsSectionKey, "NB"), "0");
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

TEST_F(LifecycleTest, KeyJLeavesTheAboutWindowOutAtExit) {
    launch();
    main.postChar(L'j');
    main.postChar(27);
    expectEndsWithoutAbout("\"j\" then Escape");
}

TEST_F(LifecycleTest, KeyJTwiceBringsTheAboutWindowBack) {
    launch();
    main.postChar(L'j');
    main.postChar(L'j');
    main.postChar(27);
    expectEnds("\"j\" twice then Escape");
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
