// "Lancer avec Windows": the Run value written with the program's quoted path and removed, the
// check mark that follows the value (at start-up, when the menu opens, after each click), and
// another copy's value kept unless the user says yes.
#include "commands/start_with_windows.h"

#include "harness.h"

namespace corvane::testing {
namespace {

constexpr const char* kRunKey = "Software\\Microsoft\\Windows\\CurrentVersion\\Run";
constexpr const char* kThis = "\"C:\\Corvane\\Corvane.exe\"";

TEST(RunCommand, TheProgramIsTheQuotedPathOrTheTextUpToExe) {
    EXPECT_EQ(runCommand("C:\\Program Files\\Corvane\\Corvane.exe"),
              "\"C:\\Program Files\\Corvane\\Corvane.exe\"");
    EXPECT_EQ(runCommandProgram("\"C:\\Program Files\\Corvane\\Corvane.exe\" /min"),
              "C:\\Program Files\\Corvane\\Corvane.exe");
    EXPECT_EQ(runCommandProgram("C:\\Program Files\\Corvane\\CORVANE.EXE /min"),
              "C:\\Program Files\\Corvane\\CORVANE.EXE");
    EXPECT_EQ(runCommandProgram("  C:\\outils\\corvane"), "C:\\outils\\corvane");
    EXPECT_EQ(runCommandProgram("\"C:\\sans fin"), "C:\\sans fin");
    EXPECT_EQ(runCommandProgram(""), "");
}

class StartWithWindowsTest : public MonitorTest {
protected:
    void setRunValue(const std::string& command) {
        fake.registry.set(RootKey::CurrentUser, kRunKey, "Corvane", 1, command + '\0');
    }
    std::optional<std::string> runValue() {
        return fake.registry.readText(RootKey::CurrentUser, kRunKey, "Corvane");
    }
    bool checked() { return fake.view.menuChecks[MenuItem::startWithWindows]; }
    void start() {
        window.onLoad();
        ASSERT_FALSE(window.ended());
    }
};

TEST_F(StartWithWindowsTest, TheCheckMarkShowsOnlyWhileTheValueNamesThisProgram) {
    struct Case {
        std::optional<std::string> value;
        bool checked;
        uint32_t type = 1;  // REG_SZ; 2: REG_EXPAND_SZ, which Windows expands before it runs it
        std::string appDir = "C:\\Corvane";
    };
    const std::string local = "C:\\Users\\Dmitri\\AppData\\Local";  // %LOCALAPPDATA%
    const Case cases[] = {
        {std::nullopt, false},
        {kThis, true},
        {"C:\\CORVANE\\corvane.exe", true},  // unquoted, in another case: the same file
        {"\"C:\\Autre\\Corvane.exe\"", false},
        {"", false},
        {"\"%LOCALAPPDATA%\\Corvane\\Corvane.exe\" /min", true, 2, local + "\\Corvane"},
        {"\"%LocalAppData%\\Autre\\Corvane.exe\"", false, 2, local + "\\Corvane"},
        {"\"%LOCALAPPDATA%\\Corvane\\Corvane.exe\"", false, 1, local + "\\Corvane"},
    };
    for (const Case& test : cases) {
        SCOPED_TRACE(test.value.value_or("(none)"));
        fake::FakePlatform f;
        f.registry.setMultiString(RootKey::LocalMachine, kMemoryManagementKey, "PagingFiles",
                                  {"C:\\pagefile.sys 1536 3072"});
        f.files.resize("C:\\pagefile.sys", 100 * kMiB);
        if (test.value) {
            f.registry.set(RootKey::CurrentUser, kRunKey, "Corvane", test.type, *test.value);
        }
        f.system.appDir = test.appDir;
        f.files.makeFolder(test.appDir);
        MainWindow w(f.platform);
        w.onLoad();
        EXPECT_EQ(f.view.menuChecks[MenuItem::startWithWindows], test.checked);
        EXPECT_EQ(f.registry.writes, 0);  // reading writes nothing
    }
}

TEST_F(StartWithWindowsTest, TheItemWritesTheQuotedPathAndRemovesItAgain) {
    setSwapMiB(100);
    start();
    EXPECT_FALSE(checked());
    window.onMenu(MenuItem::startWithWindows);
    EXPECT_EQ(runValue(), kThis);
    EXPECT_TRUE(checked());
    window.onMenu(MenuItem::startWithWindows);
    EXPECT_EQ(runValue(), std::nullopt);
    EXPECT_FALSE(checked());
    EXPECT_TRUE(fake.dialogs.shown.empty());

    // Another program changes the value meanwhile: the menu shows it when it opens.
    setRunValue(kThis);
    window.onMenuOpen();
    EXPECT_TRUE(checked());
    fake.registry.deleteValue(RootKey::CurrentUser, kRunKey, "Corvane");
    window.onMenuOpen();
    EXPECT_FALSE(checked());
}

TEST_F(StartWithWindowsTest, AnotherCopysValueIsReplacedOnlyWhenTheUserSaysYes) {
    setSwapMiB(100);
    const std::string other = "\"D:\\Ancienne copie\\Corvane.exe\" /min";
    setRunValue(other);
    start();
    EXPECT_FALSE(checked());
    fake.registry.writes = 0;

    fake.dialogs.answers = {MsgAnswer::No};
    window.onMenu(MenuItem::startWithWindows);
    ASSERT_EQ(fake.dialogs.shown.size(), 1u);
    const auto& asked = fake.dialogs.shown[0];
    EXPECT_EQ(asked.title, "Lancer avec Windows");
    EXPECT_EQ(asked.text,
              "Une autre copie de Corvane est déjà lancée avec Windows :\r\n"
              "D:\\Ancienne copie\\Corvane.exe\r\n\r\n"
              "Lancer cette copie-ci avec Windows à sa place ?\r\nC:\\Corvane\\Corvane.exe");
    EXPECT_EQ(asked.style.buttons, MsgButtons::YesNo);
    EXPECT_EQ(asked.style.defaultButton, MsgDefault::Second);  // a slip keeps the other's
    EXPECT_EQ(runValue(), other);
    EXPECT_EQ(fake.registry.writes, 0);
    EXPECT_FALSE(checked());

    // The default answer is no as well.
    window.onMenu(MenuItem::startWithWindows);
    EXPECT_EQ(runValue(), other);

    fake.dialogs.answers = {MsgAnswer::Yes};
    window.onMenu(MenuItem::startWithWindows);
    EXPECT_EQ(runValue(), kThis);
    EXPECT_TRUE(checked());
}

TEST_F(StartWithWindowsTest, ARefusedWriteIsSaidAndTheMarkKeepsToTheRegistry) {
    setSwapMiB(100);
    start();
    fake.registry.writeError = RuntimeError(kErrPermissionDenied);
    window.onMenu(MenuItem::startWithWindows);
    ASSERT_EQ(fake.dialogs.shown.size(), 1u);
    EXPECT_EQ(fake.dialogs.shown[0].text,
              "Le lancement avec Windows n'a pas pu être modifié.\r\n"
              "Erreur 70 : Permission refusée");
    EXPECT_FALSE(checked());
    EXPECT_FALSE(window.ended());
}

TEST_F(StartWithWindowsTest, AProgramFolderOutsideTheAnsiCodePageIsWrittenAsItIs) {
    fake.system.appDir = "C:\\Users\\Дмитрий\\Corvane";
    fake.files.put("C:\\Users\\Дмитрий\\Corvane\\Corvane.exe", "");
    setSwapMiB(100);
    start();
    window.onMenu(MenuItem::startWithWindows);
    EXPECT_EQ(runValue(), "\"C:\\Users\\Дмитрий\\Corvane\\Corvane.exe\"");
    EXPECT_TRUE(checked());
}

}  // namespace
}  // namespace corvane::testing
