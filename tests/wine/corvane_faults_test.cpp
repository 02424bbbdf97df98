// Faults from outside, on the real Corvane.exe: the swap file going and coming back, a
// read-only program folder, a killed run, damaged settings, and paging values of every type
// and size read by the real RegQueryValueExA.
#include <string>
#include <vector>

#include "corvane_fixture.h"
#include "platform/control_ids.h"

namespace corvane::wine {
namespace {

constexpr int kInitJournal = ID_INITJOURNAL;

class FaultTest : public CorvaneTest {
protected:
    // Closes the window, answers the About window, waits for the end; the sample count saved.
    std::string quit() {
        main.postClose();
        pressButton(waitWindow(corvane->id(), kAboutClass), kAboutOk);
        EXPECT_TRUE(corvane->waitExit()) << "Corvane did not end";
        return readString(HKEY_CURRENT_USER, kSettingsSectionKey, "NB");
    }

    // Starts Corvane, expecting a message box before its window; answers it with OK.
    MessageBoxInfo launchToMessage() {
        corvane.emplace(Process::start(folder + "\\Corvane.exe", "", folder));
        MessageBoxInfo box = waitMessageBox(corvane->id());
        pressButton(box.window, IDOK);
        return box;
    }

    // After an error that ends the start-up: the About window, then the end.
    void expectEndAfterMessage() {
        pressButton(waitWindow(corvane->id(), kAboutClass), kAboutOk);
        EXPECT_TRUE(corvane->waitExit()) << "Corvane did not end";
    }
};

TEST_F(FaultTest, ASwapFileThatGoesAndComesBackKeepsTheStatistics) {
    launch();
    ASSERT_TRUE(DeleteFileW(L"C:\\pagefile.sys"));
    tickUntilSwapReads("SWAP: taille illisible (C:\\pagefile.sys)");
    EXPECT_TRUE(messageBoxes(corvane->id()).empty());
    setSwapSize(70 * kMiB);
    tickUntilSwapReads("SWAP: 70 Mo  Mini: 50 Mo  Maxi: 70 Mo  Moy: 60 Mo");
    EXPECT_EQ(quit(), "2");
}

TEST_F(FaultTest, AKilledRunLosesOnlyWhatItTookSinceTheLastSave) {
    launch();
    setSwapSize(70 * kMiB);
    tickUntilSwapReads("SWAP: 70 Mo  Mini: 50 Mo  Maxi: 70 Mo  Moy: 60 Mo");
    ASSERT_EQ(quit(), "2");

    launch();
    setSwapSize(90 * kMiB);
    tickUntilSwapReads("SWAP: 90 Mo  Mini: 50 Mo  Maxi: 90 Mo  Moy: 70 Mo");
    corvane->kill();  // TerminateProcess: no exit procedure
    EXPECT_EQ(readString(HKEY_CURRENT_USER, kSettingsSectionKey, "MaxSwap"), "70");

    setSwapSize(50 * kMiB);
    launch();
    // The saved two samples and this one; the killed run's two are gone.
    EXPECT_EQ(main.controlText(kSwap), "SWAP: 50 Mo  Mini: 50 Mo  Maxi: 70 Mo  Moy: 57 Mo");
    const std::string journal = readFile(folder + "\\Corvane.txt");
    size_t starts = 0;
    for (size_t at = 0; (at = journal.find("but d'analyse le ", at)) != std::string::npos; ++at)
        ++starts;
    EXPECT_EQ(starts, 3u) << journal;
    EXPECT_EQ(journal.find("Fin d'analyse"), journal.rfind("Fin d'analyse")) << journal;
    EXPECT_EQ(quit(), "3");
}

// run.sh mounts this folder read-only, Corvane.exe and an earlier journal in it: as root a
// folder's permissions stop no write, a read-only mount does.
TEST_F(FaultTest, InAReadOnlyFolderOnlyTheJournalIsLostAndTheStatisticsAreSaved) {
    const std::string readOnly = environmentPath("CORVANE_READONLY_DIR");
    if (readOnly.empty()) GTEST_SKIP() << "CORVANE_READONLY_DIR is not set (run.sh sets it)";
    const std::string journalBefore = readFile(readOnly + "\\Corvane.txt");
    corvane.emplace(Process::start(readOnly + "\\Corvane.exe", "", readOnly));
    // Said once at start-up: the journal and the history cannot be written there.
    MessageBoxInfo unwritable = waitMessageBox(corvane->id());
    EXPECT_EQ(unwritable.text, "Corvane ne peut pas écrire dans son dossier " + readOnly +
                                   "\\\r\nLe journal et l'historique n'y seront pas enregistrés.");
    pressButton(unwritable.window, IDOK);
    main = waitWindow(corvane->id(), kMainClass);
    main.waitControlText(kSwap, "SWAP: ");
    EXPECT_TRUE(messageBoxes(corvane->id()).empty()) << "said more than once";

    main.postCommand(kInitJournal);
    MessageBoxInfo question = waitMessageBox(corvane->id());
    pressButton(question.window, IDYES);
    MessageBoxInfo failure;
    ASSERT_TRUE(pollUntil([&] {
        for (const MessageBoxInfo& box : messageBoxes(corvane->id())) {
            if (box.window.handle() != question.window.handle()) failure = box;
        }
        return bool(failure.window);
    }));
    EXPECT_EQ(
        failure.text.rfind("Le journal n'a pas été réinitialisé : impossible de renommer " +
                               readOnly + "\\Corvane.txt en " + readOnly + "\\Corvane.old\r\n",
                           0),
        0u)
        << failure.text;
    pressButton(failure.window, IDOK);

    tickUntilSwapReads("SWAP: 50 Mo  Mini: 50 Mo  Maxi: 50 Mo  Moy: 50 Mo");
    main.postClose();
    pressButton(waitWindow(corvane->id(), kAboutClass), kAboutOk);
    MessageBoxInfo lost = waitMessageBox(corvane->id());
    EXPECT_EQ(lost.text.rfind("Le résumé de l'analyse n'a pas pu être écrit dans le journal " +
                                  readOnly + "\\Corvane.txt\r\n",
                              0),
              0u)
        << lost.text;
    pressButton(lost.window, IDOK);
    ASSERT_TRUE(corvane->waitExit());
    EXPECT_EQ(corvane->exitCode(), 0u);
    EXPECT_EQ(readString(HKEY_CURRENT_USER, kSettingsSectionKey, "NB"), "2");
    EXPECT_EQ(readFile(readOnly + "\\Corvane.txt"), journalBefore);
}

TEST_F(FaultTest, DamagedSettingsRestartTheAnalysisOrEndTheStartUpAndTheNextStartIsClean) {
    struct Case {
        const char* key;
        std::string text;
        bool overflow;  // 6, the unexpected error; otherwise 13, the reset
    };
    const std::vector<Case> cases = {
        {"NB", "abc", false},
        {"JM_R", "", false},
        {"MaxSwap", "99999999999", true},
        {"Raffraichissement", std::string(10000, '9'), true},
    };
    for (const Case& test : cases) {
        SCOPED_TRACE(std::string(test.key) + " = \"" + test.text.substr(0, 12) + "\"");
        deleteKeyTree(HKEY_CURRENT_USER, kSettingsKey);
        setString(HKEY_CURRENT_USER, kSettingsSectionKey, "Raffraichissement", "60");
        setString(HKEY_CURRENT_USER, kSettingsSectionKey, "NB", "5");
        setString(HKEY_CURRENT_USER, kSettingsSectionKey, "MemoSwap", kPagefile);
        setString(HKEY_CURRENT_USER, kSettingsSectionKey, test.key, test.text);

        MessageBoxInfo box = launchToMessage();
        if (test.overflow) {
            EXPECT_EQ(box.title, "Erreur imprévue au chargement");
            EXPECT_EQ(box.text.rfind("Erreur : 6\r\nDépassement de capacité\r\n", 0), 0u)
                << box.text;
            expectEndAfterMessage();
        } else {
            EXPECT_EQ(box.title, "Vous pouvez continuer !");
            EXPECT_EQ(box.text, "Problème au chargement de vos paramères !\r\nRéinitialisation");
            main = waitWindow(corvane->id(), kMainClass);
            EXPECT_EQ(main.waitControlText(kSwap, "SWAP: "),
                      "SWAP: 50 Mo  Mini: 50 Mo  Maxi: 50 Mo  Moy: 50 Mo");
            EXPECT_EQ(readString(HKEY_CURRENT_USER, kSettingsSectionKey, "NB"), "0");
            EXPECT_EQ(quit(), "1");
        }
        launch();
        EXPECT_TRUE(messageBoxes(corvane->id()).empty()) << "the next start is not clean";
        quit();
    }
}

// A user folder outside the ANSI code page (1252 here, as on a French system): the program
// finds itself there and writes and reads its journal, history and statistics.
TEST_F(FaultTest, ACyrillicProgramFolderKeepsTheJournalTheHistoryAndTheStatistics) {
    folder = "C:\\corvane-tests\\Пользователи\\Дмитрий";
    deleteTree("C:\\corvane-tests\\Пользователи");
    makeDirectories(folder);
    copyFileTo(corvaneExe(), folder + "\\Corvane.exe");

    launch();
    EXPECT_TRUE(messageBoxes(corvane->id()).empty());
    setSwapSize(70 * kMiB);
    tickUntilSwapReads("SWAP: 70 Mo  Mini: 50 Mo  Maxi: 70 Mo  Moy: 60 Mo");
    ASSERT_EQ(quit(), "2");
    const std::string journal = readFile(folder + "\\Corvane.txt");
    EXPECT_EQ(journal.rfind("D\351but d'analyse le ", 0), 0u) << journal;
    EXPECT_NE(journal.find("taille maximale de : 70Mo\r\n"), std::string::npos) << journal;
    // Quitting records the minute in progress.
    const std::string history = readFile(folder + "\\Corvane.csv");
    EXPECT_NE(history.find(";70;70;"), std::string::npos) << history;

    // Read back by the next run: the statistics carry on, the history and the journal grow.
    setSwapSize(50 * kMiB);
    launch();
    EXPECT_EQ(main.controlText(kSwap), "SWAP: 50 Mo  Mini: 50 Mo  Maxi: 70 Mo  Moy: 57 Mo");
    EXPECT_TRUE(messageBoxes(corvane->id()).empty());
    ASSERT_EQ(quit(), "3");
    EXPECT_EQ(readFile(folder + "\\Corvane.txt").rfind(journal, 0), 0u);
    EXPECT_EQ(readFile(folder + "\\Corvane.csv").rfind(history, 0), 0u);
}

// A program named notepad.exe beside Corvane (the current folder too): Ctrl+J must start the
// system's editor, never that one.
TEST_F(FaultTest, CtrlJStartsTheSystemsNotepadNotOnePlantedBesideTheProgram) {
    ASSERT_FALSE(floorExe().empty()) << "CORVANE_FLOOR_EXE is not set";
    copyFileTo(floorExe(), folder + "\\notepad.exe");
    copyFileTo(floorExe(), folder + "\\cmd.exe");
    launch();
    for (const Window& editor : topWindows(0, "Notepad")) editor.post(WM_CLOSE);
    bringToFront(main);
    pressKeys({VK_CONTROL, 'J'});
    Window editor;
    ASSERT_TRUE(pollUntil([&] {
        for (const Window& w : topWindows(0, "Notepad"))
            if (w.text().find("Corvane.txt") != std::string::npos) editor = w;
        return bool(editor);
    })) << "no notepad window of the system shows the journal";
    // The planted program opens a window of Corvane's class: none but Corvane's own may come.
    Sleep(1000);
    for (const Window& w : topWindows(0, kMainClass)) {
        EXPECT_EQ(w.processId(), corvane->id()) << "the planted notepad.exe ran";
    }
    editor.post(WM_CLOSE);
    EXPECT_TRUE(pollUntil([&] { return !editor.exists(); })) << "notepad did not close";
    quit();
}

// A count at the 32-bit limit would overflow at the next tick and be saved again: it is a
// damaged setting, repaired once, and the starts after are clean.
TEST_F(FaultTest, ASampleCountAtTheLimitIsRepairedOnceThenEveryStartIsClean) {
    setString(HKEY_CURRENT_USER, kSettingsSectionKey, "NB", "2147483647");
    setString(HKEY_CURRENT_USER, kSettingsSectionKey, "MemoSwap", kPagefile);
    MessageBoxInfo box = launchToMessage();
    EXPECT_EQ(box.title, "Vous pouvez continuer !");
    EXPECT_EQ(box.text, "Problème au chargement de vos paramères !\r\nRéinitialisation");
    main = waitWindow(corvane->id(), kMainClass);
    EXPECT_EQ(main.waitControlText(kSwap, "SWAP: "),
              "SWAP: 50 Mo  Mini: 50 Mo  Maxi: 50 Mo  Moy: 50 Mo");
    setSwapSize(60 * kMiB);
    tickUntilSwapReads("SWAP: 60 Mo  Mini: 50 Mo  Maxi: 60 Mo  Moy: 55 Mo");
    EXPECT_EQ(quit(), "2");
    for (const char* count : {"3", "4"}) {
        launch();
        EXPECT_TRUE(messageBoxes(corvane->id()).empty()) << "a later start was not clean";
        EXPECT_EQ(quit(), count);
    }
}

TEST_F(FaultTest, PagingFilesOfEveryTypeAndSizeThroughTheRealRegistry) {
    const std::string entry = std::string("C:\\pagefile.sys 100 200") + '\0';
    auto ofSize = [&](size_t size) {
        return entry + std::string(size - entry.size() - 2, 'x') + '\0' + '\0';
    };
    struct Case {
        const char* what;
        DWORD type;
        std::string data;
        const char* swapLabel;  // nullptr: "Fichier SWAP non trouvé !", then the end
    };
    const char* sampled = "SWAP: 50 Mo  Mini: 50 Mo  Maxi: 50 Mo  Moy: 50 Mo";
    const std::vector<Case> cases = {
        {"REG_SZ", REG_SZ, entry, sampled},
        {"REG_EXPAND_SZ", REG_EXPAND_SZ, entry, sampled},
        {"REG_MULTI_SZ", REG_MULTI_SZ, entry + '\0', sampled},
        {"REG_NONE", REG_NONE, entry + '\0', sampled},
        {"REG_DWORD", REG_DWORD, std::string("\x05\x00\x00\x00", 4),
         "SWAP: taille illisible (005)"},
        {"REG_BINARY", REG_BINARY, "AB", "SWAP: taille illisible (4142)"},
        {"empty", REG_MULTI_SZ, "", nullptr},
        {"2047 bytes", REG_MULTI_SZ, ofSize(2047), sampled},
        {"2048 bytes", REG_MULTI_SZ, ofSize(2048), sampled},
        {"2049 bytes", REG_MULTI_SZ, ofSize(2049), nullptr},
    };
    for (const Case& test : cases) {
        SCOPED_TRACE(test.what);
        // Each case a first run: no remembered swap path to differ from.
        deleteKeyTree(HKEY_CURRENT_USER, kSettingsKey);
        setString(HKEY_CURRENT_USER, kSettingsSectionKey, "Raffraichissement", "60");
        setAnsiValue(HKEY_LOCAL_MACHINE, kMemoryManagementKey, "PagingFiles", test.type, test.data);
        if (test.swapLabel) {
            corvane.emplace(Process::start(folder + "\\Corvane.exe", "", folder));
            std::vector<MessageBoxInfo> boxes;
            ASSERT_TRUE(pollUntil([&] {
                boxes = messageBoxes(corvane->id());
                return !boxes.empty() || !topWindows(corvane->id(), kMainClass).empty();
            }));
            if (!boxes.empty()) {
                ADD_FAILURE() << "message box \"" << boxes[0].title << "\": " << boxes[0].text;
                corvane->kill();
                continue;
            }
            main = waitWindow(corvane->id(), kMainClass);
            EXPECT_EQ(main.waitControlText(kSwap, "SWAP: "), test.swapLabel);
            quit();
        } else {
            MessageBoxInfo box = launchToMessage();
            EXPECT_EQ(box.title, "Erreur terrible!.....");
            expectEndAfterMessage();
        }
    }
}

}  // namespace
}  // namespace corvane::wine
