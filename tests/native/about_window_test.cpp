// The About window: its load, its two animations, its links, its exit, and when it is shown.
#include "about/about_window.h"

#include <gtest/gtest.h>

#include "common/addresses.h"
#include "common/text.h"
#include "fake_platform.h"
#include "harness.h"

namespace corvane::testing {
namespace {

class AboutTest : public ::testing::Test {
protected:
    void load() { about.onLoad(view); }
    std::string shown(AboutControl control) { return view.texts[control]; }
    void setProgramFileTime(const std::string& path, DateTime when) {
        fake.files.modifiedTimes[path] = when;
    }

    fake::FakePlatform fake;
    fake::FakeAboutView view;
    AboutWindow about{fake.platform};
};

TEST_F(AboutTest, LoadNamesTheProgramItsVersionAndFileDate) {
    fake.system.version3 = {2, 10, 3};
    setProgramFileTime("C:\\Corvane\\Corvane.exe", {2005, 9, 17, 0, 1, 33});
    load();
    EXPECT_EQ(view.windowCaption, "Corvane");
    EXPECT_EQ(shown(AboutControl::Label1), " Corvane");
    EXPECT_EQ(shown(AboutControl::Label6), "17 Septembre 2005 00:01:33");
    EXPECT_EQ(shown(AboutControl::Label5), "Version 2.10.3");
    EXPECT_EQ(shown(AboutControl::Label2), "2026 - Corvane      ");
    EXPECT_EQ(shown(AboutControl::Label3), "http://www.corvane.example/");
    EXPECT_EQ(shown(AboutControl::Label4), "auteur@corvane.example");
    EXPECT_EQ(view.images, std::vector<int>{1});
    EXPECT_EQ(view.timerInterval, 120u);
    EXPECT_TRUE(view.timerEnabled);
}

TEST_F(AboutTest, FileDateLineAtMidnightKeepsItsTimeAndMonthsAreFrench) {
    setProgramFileTime("C:\\Corvane\\Corvane.exe", {2026, 1, 5, 0, 0, 0});
    load();
    EXPECT_EQ(shown(AboutControl::Label6), "5 Janvier 2026 00:00:00");

    const std::pair<int, const char*> months[] = {{2, "1 Février 2024 23:59:59"},
                                                  {8, "1 Août 2024 23:59:59"},
                                                  {12, "1 Décembre 2024 23:59:59"}};
    for (auto [month, line] : months) {
        setProgramFileTime("C:\\Corvane\\Corvane.exe", {2024, month, 1, 23, 59, 59});
        AboutWindow again(fake.platform);
        fake::FakeAboutView other;
        again.onLoad(other);
        EXPECT_EQ(other.texts[AboutControl::Label6], line);
    }
}

TEST_F(AboutTest, ProgramFileIsTheRunningExecutableWithOneBackslashAtARoot) {
    fake.system.appDir = "D:\\";
    fake.system.exeName = "corvane2";
    setProgramFileTime("D:\\corvane2.exe", {2026, 3, 4, 5, 6, 7});
    load();
    EXPECT_EQ(shown(AboutControl::Label6), "4 Mars 2026 05:06:07");
}

TEST_F(AboutTest, UnreadableProgramFileLeavesTheDateLineEmpty) {
    load();
    EXPECT_EQ(shown(AboutControl::Label6), "");
    EXPECT_EQ(shown(AboutControl::Label5), "Version 1.0.0");
}

TEST_F(AboutTest, CopyrightTurnsOneCharacterLeftPerTickAndComesRound) {
    load();
    std::vector<std::string> ticks;
    for (int i = 0; i < 31; ++i) {
        about.onTimer();
        ticks.push_back(shown(AboutControl::Label2));
    }
    // The first tick shows the whole text but its last blank.
    EXPECT_EQ(ticks[0], "Copyright ©2026 - Corvane     ");
    EXPECT_EQ(ticks[1], "opyright ©2026 - Corvane     C");
    // The © is turned as one character, never cut in two.
    EXPECT_EQ(ticks[10], "©2026 - Corvane     Copyright ");
    EXPECT_EQ(ticks[11], "2026 - Corvane     Copyright ©");
    EXPECT_EQ(ticks[29], " Copyright ©2026 - Corvane    ");
    // 31 characters: after 30 ticks the turn starts again at the first one.
    EXPECT_EQ(ticks[30], ticks[0]);
    for (const std::string& text : ticks) {
        EXPECT_EQ(utf8ToUtf16(text).size(), 30u) << text;
        EXPECT_EQ(utf16ToUtf8(utf8ToUtf16(text)), text);
    }
}

TEST_F(AboutTest, FourImagesCycleOnePerTick) {
    load();
    for (int i = 0; i < 6; ++i) about.onTimer();
    EXPECT_EQ(view.images, std::vector<int>({1, 3, 4, 1, 2, 3, 4}));
}

TEST_F(AboutTest, EscapeAndOkCloseTheWindowOnceAndStopItsTimer) {
    load();
    about.onKeyDown(13);
    about.onKeyDown('A');
    EXPECT_EQ(view.closes, 0);
    about.onKeyDown(27);
    EXPECT_EQ(view.closes, 1);
    EXPECT_FALSE(view.timerEnabled);
    about.onKeyDown(27);
    about.onOkButton();
    EXPECT_EQ(view.closes, 1);
    std::string label2 = shown(AboutControl::Label2);
    about.onTimer();
    EXPECT_EQ(shown(AboutControl::Label2), label2);

    AboutWindow second(fake.platform);
    fake::FakeAboutView secondView;
    second.onLoad(secondView);
    second.onOkButton();
    EXPECT_EQ(secondView.closes, 1);
    EXPECT_TRUE(second.closed());
}

TEST_F(AboutTest, LinksOpenTheWebPageAndAMailWithTheTitleAsSubject) {
    load();
    about.openWebPage();
    about.writeToTheMaker();
    ASSERT_EQ(fake.shell.calls.size(), 2u);
    EXPECT_EQ(fake.shell.calls[0].kind, "open");
    EXPECT_EQ(fake.shell.calls[0].command, "http://www.corvane.example/");
    EXPECT_EQ(fake.shell.calls[1].command, "mailto:auteur@corvane.example?subject=Corvane");
    EXPECT_EQ(fake.shell.calls[1].show, WindowShow::Normal);
    EXPECT_TRUE(fake.dialogs.shown.empty());
}

TEST_F(AboutTest, FileNotFoundRetriesWithTheCommandInterpreter) {
    load();
    fake.shell.failures = {RuntimeError(kErrFileNotFound), std::nullopt,
                           RuntimeError(kErrFileNotFound), std::nullopt};
    about.openWebPage();
    about.writeToTheMaker();
    ASSERT_EQ(fake.shell.calls.size(), 4u);
    EXPECT_EQ(fake.shell.calls[1].kind, "run");
    EXPECT_EQ(fake.shell.calls[1].command, "cmd /c start http://www.corvane.example/");
    EXPECT_EQ(fake.shell.calls[1].show, WindowShow::MinimizedFocus);
    // cmd would cut the address at "=" unless it is quoted.
    EXPECT_EQ(fake.shell.calls[3].command,
              "cmd /c start \"\" \"mailto:auteur@corvane.example?subject=Corvane\"");
    EXPECT_TRUE(fake.dialogs.shown.empty());
}

TEST_F(AboutTest, OtherStartErrorsAndAFailedRetryAreShown) {
    load();
    fake.shell.failures = {RuntimeError(kErrPermissionDenied)};
    about.openWebPage();
    EXPECT_EQ(fake.shell.calls.size(), 1u);
    ASSERT_EQ(fake.dialogs.shown.size(), 1u);
    EXPECT_EQ(fake.dialogs.shown[0].text, "Erreur : 70\r\nPermission refusée");
    EXPECT_EQ(fake.dialogs.shown[0].title, "Problème Start");
    EXPECT_EQ(fake.dialogs.shown[0].style.icon, MsgIcon::Exclamation);

    about.ErrStart("http://www.corvane.example/", RuntimeError(kErrFileNotFound));
    EXPECT_EQ(fake.shell.calls.back().command, "cmd /c start http://www.corvane.example/");
    fake.shell.failures = {RuntimeError(kErrFileNotFound)};
    about.ErrStart("http://www.corvane.example/", RuntimeError(kErrFileNotFound));
    ASSERT_EQ(fake.dialogs.shown.size(), 2u);
    EXPECT_EQ(fake.dialogs.shown[1].text, "Erreur : 53\r\nFichier introuvable");
}

TEST(AboutAddresses, StayOnTheReservedExampleDomain) {
    EXPECT_NE(std::string(kMakerWebPage).find(".example/"), std::string::npos);
    EXPECT_EQ(std::string(kMakerEmail).substr(std::string(kMakerEmail).size() - 8), ".example");
}

// When the main window shows it: the menu item, and the exit unless "j" was pressed.
class AboutAtExitTest : public MonitorTest {
protected:
    void SetUp() override {
        setSwapMiB(50);
        window.onLoad();
        ASSERT_FALSE(window.ended());
    }
};

TEST_F(AboutAtExitTest, MenuItemShowsItAndTheProgramRunsOn) {
    fake.windows.whileAboutOpen = [](AboutWindow& about) { about.onKeyDown(27); };
    window.onMenu(MenuItem::propos);
    EXPECT_EQ(fake.windows.aboutShown, 1);
    EXPECT_EQ(fake.windows.aboutView.closes, 1);
    EXPECT_EQ(fake.windows.aboutView.texts[AboutControl::Label1], " Corvane");
    EXPECT_FALSE(window.ended());
    window.onMenu(MenuItem::propos);
    EXPECT_EQ(fake.windows.aboutShown, 2);
}

TEST_F(AboutAtExitTest, QuitShowsItBeforeTheEnd) {
    bool endedWhileOpen = true;
    fake.windows.whileAboutOpen = [&](AboutWindow&) {
        endedWhileOpen = fake.view.endProgramCalls > 0;
    };
    window.onMenu(MenuItem::quitter);
    EXPECT_EQ(fake.windows.aboutShown, 1);
    EXPECT_FALSE(endedWhileOpen);
    EXPECT_TRUE(window.ended());
}

TEST_F(AboutAtExitTest, JSkipsItAtExitAndJAgainBringsItBack) {
    window.onKeyPress('j');
    window.onKeyPress(27);
    EXPECT_TRUE(window.ended());
    EXPECT_EQ(fake.windows.aboutShown, 0);

    fake::FakePlatform other;
    other.files.resize("C:\\pagefile.sys", 10 * kMiB);
    other.registry.setMultiString(RootKey::LocalMachine, kMemoryManagementKey, "PagingFiles",
                                  {"C:\\pagefile.sys 1 2"});
    MainWindow second(other.platform);
    second.onLoad();
    second.onKeyPress('j');
    second.onKeyPress('j');
    second.onUnload();
    EXPECT_TRUE(second.ended());
    EXPECT_EQ(other.windows.aboutShown, 1);
}

TEST_F(AboutAtExitTest, MainTicksWaitWhileItIsOpenAtExit) {
    int samples = window.state().stats.sampleCount;
    fake.windows.whileAboutOpen = [&](AboutWindow&) { tick(); };
    window.onMenu(MenuItem::quitter);
    EXPECT_EQ(window.state().stats.sampleCount, samples);
}

TEST_F(AboutAtExitTest, AFailingAboutWindowDoesNotStopTheExit) {
    fake.windows.whileAboutOpen = [](AboutWindow&) { throw RuntimeError(kErrDeviceIo); };
    window.onMenu(MenuItem::quitter);
    EXPECT_TRUE(window.ended());
    EXPECT_TRUE(fake.dialogs.shown.empty());
    EXPECT_EQ(fake.view.endProgramCalls, 1);
}

TEST(AboutAtStartup, SwapFileNotFoundStillShowsItAtExit) {
    fake::FakePlatform fake;
    MainWindow window(fake.platform);
    window.onLoad();
    EXPECT_TRUE(window.ended());
    EXPECT_EQ(fake.windows.aboutShown, 1);
}

}  // namespace
}  // namespace corvane::testing
