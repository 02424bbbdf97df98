// The print and help commands of the main window's menu.
#include "harness.h"

namespace corvane::testing {
namespace {

class CommandsTest : public MonitorTest {
protected:
    void SetUp() override {
        setSwapMiB(50);
        window.onLoad();
        ASSERT_FALSE(window.ended());
    }
};

using PrintTest = CommandsTest;

TEST_F(PrintTest, RegistersTheLibraryAtEveryPrint) {
    window.onMenu(MenuItem::impr);
    window.onMenu(MenuItem::impr);
    EXPECT_EQ(fake.printer.registrations, 2);
    EXPECT_EQ(fake.printer.dialogs, 2);
    EXPECT_EQ(fake.printer.printed, 2);
    EXPECT_TRUE(fake.dialogs.shown.empty());
}

TEST_F(PrintTest, AFailedRegistrationWarnsAndPrintingGoesOn) {
    fake.printer.registration = 0x80040201;
    window.onMenu(MenuItem::impr);
    ASSERT_EQ(fake.dialogs.shown.size(), 1u);
    EXPECT_EQ(fake.dialogs.shown[0].text, "Vous ne pourrez peut-être pas imprimer !");
    EXPECT_EQ(fake.dialogs.shown[0].title, "Problème ComDlg32.OCX");
    EXPECT_EQ(fake.dialogs.shown[0].style.icon, MsgIcon::Critical);
    EXPECT_EQ(fake.dialogs.shown[0].style.buttons, MsgButtons::Ok);
    EXPECT_EQ(fake.printer.printed, 1);
}

TEST_F(PrintTest, NoLibraryInTheSystemFolderMeansNoWarning) {
    fake.printer.registration = std::nullopt;
    window.onMenu(MenuItem::impr);
    EXPECT_TRUE(fake.dialogs.shown.empty());
    EXPECT_EQ(fake.printer.printed, 1);

    fake.printer.registrationError = RuntimeError(kErrFileNotFound);
    window.onMenu(MenuItem::impr);
    EXPECT_TRUE(fake.dialogs.shown.empty());
    EXPECT_EQ(fake.printer.printed, 2);
}

TEST_F(PrintTest, CancellingThePrinterDialogPrintsNothingAndSaysNothing) {
    fake.printer.cancel = true;
    window.onMenu(MenuItem::impr);
    EXPECT_EQ(fake.printer.dialogs, 1);
    EXPECT_EQ(fake.printer.printAttempts, 0);
    EXPECT_TRUE(fake.dialogs.shown.empty());
    EXPECT_FALSE(window.ended());
}

TEST_F(PrintTest, OtherFailuresAreSkippedAndTheWindowRunsOn) {
    fake.printer.dialogError = RuntimeError(kErrDeviceIo);
    fake.printer.printError = RuntimeError(kErrDeviceIo);
    window.onMenu(MenuItem::impr);
    EXPECT_EQ(fake.printer.printAttempts, 1);
    EXPECT_TRUE(fake.dialogs.shown.empty());
    EXPECT_FALSE(window.ended());
    int samples = window.state().stats.sampleCount;
    tick();
    EXPECT_EQ(window.state().stats.sampleCount, samples + 1);
}

class HelpTest : public CommandsTest {
protected:
    void SetUp() override {
        fake.system.appDir = "C:\\Program Files\\Corvane";
        fake.files.put(fake.system.appDir + "\\Corvane.exe", "");
        fake.files.modifiedTimes[kPage] = DateTime{2026, 1, 5, 10, 0, 0};
        CommandsTest::SetUp();
    }
    static constexpr const char* kPage = "C:\\Program Files\\Corvane\\aide.html";
};

TEST_F(HelpTest, OpensTheHelpPageBesideTheProgram) {
    window.onMenu(MenuItem::aide);
    ASSERT_EQ(fake.shell.calls.size(), 1u);
    EXPECT_EQ(fake.shell.calls[0].kind, "open");
    EXPECT_EQ(fake.shell.calls[0].command, "C:\\Program Files\\Corvane\\aide.html");
    EXPECT_EQ(fake.shell.calls[0].show, WindowShow::Normal);
    EXPECT_TRUE(fake.dialogs.shown.empty());
}

TEST_F(HelpTest, FileNotFoundRetriesThroughTheCommandInterpreterQuoted) {
    fake.shell.failures = {RuntimeError(kErrFileNotFound)};
    window.onMenu(MenuItem::aide);
    ASSERT_EQ(fake.shell.calls.size(), 2u);
    EXPECT_EQ(fake.shell.calls[1].kind, "run");
    EXPECT_EQ(fake.shell.calls[1].command,
              "cmd /c start \"\" \"C:\\Program Files\\Corvane\\aide.html\"");
    EXPECT_EQ(fake.shell.calls[1].show, WindowShow::MinimizedFocus);
    EXPECT_TRUE(fake.dialogs.shown.empty());
}

TEST_F(HelpTest, MissingPageIsSaidWithoutTryingToOpenIt) {
    fake.files.modifiedTimes.erase(kPage);
    window.onMenu(MenuItem::aide);
    EXPECT_TRUE(fake.shell.calls.empty());
    ASSERT_EQ(fake.dialogs.shown.size(), 1u);
    EXPECT_EQ(fake.dialogs.shown[0].text,
              "Erreur : 53\r\nFichier introuvable\r\nLa page d'aide n'est pas là : "
              "C:\\Program Files\\Corvane\\aide.html");
    EXPECT_EQ(fake.dialogs.shown[0].title, "Problème Start");
    EXPECT_EQ(fake.dialogs.shown[0].style.icon, MsgIcon::Exclamation);
    EXPECT_FALSE(window.ended());
}

TEST_F(HelpTest, OtherErrorsAndAFailedRetryAreShown) {
    fake.shell.failures = {RuntimeError(kErrInvalidCall)};
    window.onMenu(MenuItem::aide);
    EXPECT_EQ(fake.shell.calls.size(), 1u);
    ASSERT_EQ(fake.dialogs.shown.size(), 1u);
    EXPECT_EQ(fake.dialogs.shown[0].text, "Erreur : 5\r\nArgument ou appel de procédure incorrect");
    EXPECT_EQ(fake.dialogs.shown[0].title, "Problème Start");
    EXPECT_EQ(fake.dialogs.shown[0].style.icon, MsgIcon::Exclamation);

    fake.shell.failures = {RuntimeError(kErrFileNotFound), RuntimeError(kErrPathNotFound)};
    window.onMenu(MenuItem::aide);
    EXPECT_EQ(fake.shell.calls.size(), 3u);
    ASSERT_EQ(fake.dialogs.shown.size(), 2u);
    EXPECT_EQ(fake.dialogs.shown[1].text, "Erreur : 76\r\nChemin d'accès introuvable");
    EXPECT_FALSE(window.ended());
}

}  // namespace
}  // namespace corvane::testing
