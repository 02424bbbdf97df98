// "Lancer avec Windows" under Wine: the Run value written with the program's quoted path and
// removed by the menu item, its check mark following the value, a REG_EXPAND_SZ value read as
// Windows expands it, and another copy's value kept when the user says no.
#include "corvane_fixture.h"
#include "platform/control_ids.h"

namespace corvane::wine {
namespace {

constexpr int kDemarrage = ID_START_WITH_WINDOWS;  // the menu item
constexpr const char* kRunKey = "Software\\Microsoft\\Windows\\CurrentVersion\\Run";

class StartWithWindowsTest : public CorvaneTest {
protected:
    void TearDown() override {
        deleteValue(HKEY_CURRENT_USER, kRunKey, "Corvane");
        CorvaneTest::TearDown();
    }
    std::string runValue(bool* found = nullptr) {
        return readString(HKEY_CURRENT_USER, kRunKey, "Corvane", found);
    }
    // The "Outils" menu as the user sees it, opened with Alt+O and closed again: Wine lets no
    // other process read a menu's check marks, so the test reads its pixels.
    std::vector<uint8_t> outilsMenu(const std::string& shotName) {
        bringToFront(main);
        pressKeys({VK_MENU, 'O'});
        Window popup;
        pollUntil([&] {
            for (const Window& w : topWindows(corvane->id(), "#32768"))
                if (w.visible()) popup = w;
            return bool(popup);
        });
        if (!popup) throw DriverError("the Outils menu did not open; windows:" + openWindows());
        // Painted once two readings agree.
        std::vector<uint8_t> pixels;
        pollUntil([&] {
            Sleep(100);
            std::vector<uint8_t> now = screenPixels(popup.rect());
            bool same = now == pixels;
            pixels = now;
            return same;
        });
        shot(shotName, popup);
        pressKeys({VK_ESCAPE});
        pressKeys({VK_ESCAPE});
        pollUntil([&] { return !popup.visible(); });
        return pixels;
    }
    void quit() {
        main.postCommand(kQuitter);
        pressButton(waitWindow(corvane->id(), kAboutClass), kAboutOk);
        EXPECT_TRUE(corvane->waitExit()) << "Quitter did not end Corvane";
    }
};

TEST_F(StartWithWindowsTest, TheItemWritesAndRemovesTheQuotedPathAndTheMarkFollows) {
    deleteValue(HKEY_CURRENT_USER, kRunKey, "Corvane");
    launch();
    const std::vector<uint8_t> unchecked = outilsMenu("StartWithWindowsOff");
    main.postCommand(kDemarrage);
    const std::string expected = "\"" + folder + "\\Corvane.exe\"";
    EXPECT_TRUE(pollUntil([&] { return runValue() == expected; })) << runValue();
    EXPECT_NE(outilsMenu("StartWithWindowsOn"), unchecked) << "no check mark came";
    main.postCommand(kDemarrage);
    bool found = true;
    EXPECT_TRUE(pollUntil([&] {
        runValue(&found);
        return !found;
    })) << runValue();
    EXPECT_EQ(outilsMenu("StartWithWindowsOffAgain"), unchecked) << "the check mark stayed";
    // The value written by another program shows when the menu opens.
    setString(HKEY_CURRENT_USER, kRunKey, "Corvane", expected);
    EXPECT_NE(outilsMenu("StartWithWindowsOnFromOutside"), unchecked);
    EXPECT_TRUE(messageBoxes(corvane->id()).empty());
    quit();
}

// Windows expands a REG_EXPAND_SZ command before it runs it: one that names this program
// through a variable is this program's, and the item removes it without asking.
TEST_F(StartWithWindowsTest, AnExpandableValueNamingThisProgramThroughAVariableIsThisProgramsOwn) {
    ASSERT_EQ(folder.substr(1, 2), ":\\") << folder;
    const std::string command = "\"%SystemDrive%" + folder.substr(2) + "\\Corvane.exe\"";
    HKEY key = nullptr;
    ASSERT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, kRunKey, 0, nullptr, 0, KEY_SET_VALUE, nullptr,
                              &key, nullptr),
              ERROR_SUCCESS);
    LONG written = RegSetValueExA(key, "Corvane", 0, REG_EXPAND_SZ,
                                  reinterpret_cast<const BYTE*>(command.c_str()),
                                  static_cast<DWORD>(command.size() + 1));
    RegCloseKey(key);
    ASSERT_EQ(written, ERROR_SUCCESS);
    launch();
    main.postCommand(kDemarrage);
    bool found = true;
    EXPECT_TRUE(pollUntil([&] {
        runValue(&found);
        return !found;
    })) << runValue();
    EXPECT_TRUE(messageBoxes(corvane->id()).empty()) << "asked as if another copy's";
    quit();
}

TEST_F(StartWithWindowsTest, AnotherCopysValueIsKeptWhenTheUserSaysNo) {
    const std::string other = "\"C:\\Ancienne copie\\Corvane.exe\"";
    setString(HKEY_CURRENT_USER, kRunKey, "Corvane", other);
    launch();
    main.postCommand(kDemarrage);
    MessageBoxInfo asked = waitMessageBox(corvane->id());
    EXPECT_EQ(asked.title, "Lancer avec Windows");
    EXPECT_EQ(asked.text.rfind("Une autre copie de Corvane est déjà lancée avec Windows :", 0), 0u)
        << asked.text;
    shot("StartWithWindowsOtherCopy", asked.window);
    pressButton(asked.window, IDNO);
    ASSERT_TRUE(pollUntil([&] { return messageBoxes(corvane->id()).empty(); }));
    EXPECT_EQ(runValue(), other);

    main.postCommand(kDemarrage);
    pressButton(waitMessageBox(corvane->id()).window, IDYES);
    EXPECT_TRUE(pollUntil([&] { return runValue() == "\"" + folder + "\\Corvane.exe\""; }))
        << runValue();
    quit();
}

// A program folder outside the ANSI code page: the value names it as it is, and the check mark
// recognises it.
TEST_F(StartWithWindowsTest, ACyrillicProgramFolderIsWrittenAsItIs) {
    folder = "C:\\corvane-tests\\Пользователи\\Дмитрий";
    deleteTree("C:\\corvane-tests\\Пользователи");
    makeDirectories(folder);
    copyFileTo(corvaneExe(), folder + "\\Corvane.exe");
    deleteValue(HKEY_CURRENT_USER, kRunKey, "Corvane");
    launch();
    const std::vector<uint8_t> unchecked = outilsMenu("StartWithWindowsCyrillicOff");
    main.postCommand(kDemarrage);
    const std::string expected = "\"" + folder + "\\Corvane.exe\"";
    EXPECT_TRUE(pollUntil([&] { return runValue() == expected; })) << runValue();
    EXPECT_NE(outilsMenu("StartWithWindowsCyrillicOn"), unchecked) << "no check mark came";
    quit();
}

}  // namespace
}  // namespace corvane::wine
