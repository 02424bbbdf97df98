// The journal file as the user finds it beside the program: its bytes after two runs, the
// two reset commands and the viewer.
#include "runs_fixture.h"

namespace corvane::wine {
namespace {

class JournalTest : public RunsTest {
protected:
    void TearDown() override {
        RunsTest::TearDown();
        for (const Window& editor : topWindows(0, "Notepad")) editor.post(WM_CLOSE);
    }

    MessageBoxInfo ask(int menuItem) {
        main.postCommand(menuItem);
        return waitMessageBox(corvane->id());
    }

    void waitNoMessageBox() {
        ASSERT_TRUE(pollUntil([&] { return messageBoxes(corvane->id()).empty(); }))
            << "the message box stayed";
    }
};

TEST_F(JournalTest, TwoRunsLeaveTheirLinesInTheAnsiCodePageWithCrLf) {
    launchRun();
    setSwapSize(70 * kMiB);
    tickUntilSwapReads("SWAP: 70 Mo  Mini: 50 Mo  Maxi: 70 Mo  Moy: 60 Mo");
    quit();
    const Moment firstOpened = opened;
    const Moment firstClosing = closing;

    launchRun();
    setSwapSize(30 * kMiB);
    tickUntilSwapReads("SWAP: 30 Mo  Mini: 30 Mo  Maxi: 70 Mo  Moy: 55 Mo");
    quit();

    std::vector<JournalLine> lines = {{kStartPrefix, &firstOpened}};
    for (const JournalLine& line : summaryLines(70, 60, firstClosing)) lines.push_back(line);
    lines.push_back({kStartPrefix, &opened});
    for (const JournalLine& line : summaryLines(70, 55, closing)) lines.push_back(line);
    const std::string bytes = journalBytes();
    EXPECT_EQ(bytes, expectedJournal(bytes, lines));
    // The user's own formats: a French user's date and time.
    const std::string date = journalDateTime(firstOpened.from);
    ASSERT_EQ(date.size(), 21u) << date;
    EXPECT_EQ(date.substr(2, 1) + date.substr(5, 1) + date.substr(15, 1) + date.substr(18, 1),
              "//::")
        << date;
}

TEST_F(JournalTest, ResettingEverythingTwiceKeepsOnlyTheFirstResetsStartLine) {
    launchRun();
    setSwapSize(70 * kMiB);
    tickUntilSwapReads("SWAP: 70 Mo  Mini: 50 Mo  Maxi: 70 Mo  Moy: 60 Mo");

    MessageBoxInfo question = ask(kInitAll);
    shot("reset-all-question", question.window);
    EXPECT_EQ(question.title, "Réinitialisation du journal");
    EXPECT_EQ(question.text,
              "Voulez-vous vraiment réinitialiser le journal et toutes les données mémorisées ?");
    EXPECT_EQ(question.buttons, (std::vector<int>{IDYES, IDNO}));
    EXPECT_EQ(defaultButton(question), IDNO);
    EXPECT_TRUE(showsIcon(question, IDI_QUESTION));
    Moment first{localTime(), {}};
    pressButton(question.window, IDYES);
    // A sample posted now is taken once the reset is done: the first of a new analysis.
    tickUntilSwapReads("SWAP: 70 Mo  Mini: 70 Mo  Maxi: 70 Mo  Moy: 70 Mo");
    first.to = localTime();
    // The first rotation replaces nothing: no notice. The statistics were saved at once.
    EXPECT_TRUE(messageBoxes(corvane->id()).empty());
    EXPECT_EQ(stored("NB"), "0");
    EXPECT_EQ(stored("MaxSwap"), "0");
    EXPECT_EQ(stored("TotSwap"), "0");
    EXPECT_EQ(stored("MinSwap"), "32767");
    ASSERT_TRUE(fileExists(oldJournalPath()));
    EXPECT_EQ(readFile(oldJournalPath()),
              expectedJournal(readFile(oldJournalPath()), {{kStartPrefix, &opened}}));
    EXPECT_EQ(journalBytes(), expectedJournal(journalBytes(), {{kStartPrefix, &first}}));

    question = ask(kInitAll);
    Moment second{localTime(), {}};
    pressButton(question.window, IDYES);
    const MessageBoxInfo notice = waitMessageBox(corvane->id());
    shot("reset-notice", notice.window);
    EXPECT_EQ(notice.title, "Journal réinitialisé");
    EXPECT_EQ(notice.text, "L'ancien journal a été renommé " + oldJournalPath());
    EXPECT_EQ(notice.buttons, std::vector<int>{IDOK});
    EXPECT_FALSE(messageBoxIconControl(notice)) << "the notice shows an icon";
    pressButton(notice.window, IDOK);
    setSwapSize(60 * kMiB);
    tickUntilSwapReads("SWAP: 60 Mo  Mini: 60 Mo  Maxi: 60 Mo  Moy: 60 Mo");
    second.to = localTime();
    EXPECT_EQ(readFile(oldJournalPath()),
              expectedJournal(readFile(oldJournalPath()), {{kStartPrefix, &first}}));
    EXPECT_EQ(journalBytes(), expectedJournal(journalBytes(), {{kStartPrefix, &second}}));
}

TEST_F(JournalTest, EnterAnswersNoToBothResetsAndNothingChanges) {
    launchRun();
    setSwapSize(70 * kMiB);
    tickUntilSwapReads("SWAP: 70 Mo  Mini: 50 Mo  Maxi: 70 Mo  Moy: 60 Mo");
    const std::string before = journalBytes();

    for (int item : {kInitJournal, kInitAll}) {
        SCOPED_TRACE("menu item " + std::to_string(item));
        const MessageBoxInfo question = ask(item);
        EXPECT_EQ(question.title, "Réinitialisation du journal");
        if (item == kInitJournal) {
            EXPECT_EQ(question.text, "Voulez-vous vraiment réinitialiser le journal ?");
        }
        EXPECT_EQ(question.buttons, (std::vector<int>{IDYES, IDNO}));
        EXPECT_EQ(defaultButton(question), IDNO);
        bringToFront(question.window);
        pressKeys({VK_RETURN});
        waitNoMessageBox();
    }
    // The statistics go on where they were; nothing was saved, rotated or written.
    setSwapSize(30 * kMiB);
    tickUntilSwapReads("SWAP: 30 Mo  Mini: 30 Mo  Maxi: 70 Mo  Moy: 50 Mo");
    bool saved = true;
    stored("NB", &saved);
    EXPECT_FALSE(saved);
    EXPECT_FALSE(fileExists(oldJournalPath()));
    EXPECT_EQ(journalBytes(), before);
}

// The folder holds blanks, as "Program Files" does.
TEST_F(JournalTest, CtrlJOpensTheJournalInNotepad) {
    folder += " avec des blancs";
    deleteTree(folder);
    makeDirectories(folder);
    copyFileTo(corvaneExe(), folder + "\\Corvane.exe");
    launchRun();
    for (const Window& editor : topWindows(0, "Notepad")) editor.post(WM_CLOSE);
    bringToFront(main);
    pressKeys({VK_CONTROL, 'J'});
    Window editor;
    ASSERT_TRUE(pollUntil([&] {
        for (const Window& w : topWindows(0, "Notepad"))
            if (w.text().find("Corvane.txt") != std::string::npos) editor = w;
        return bool(editor);
    })) << "no notepad window shows the journal";
    shot("journal-in-notepad", editor);
    EXPECT_EQ(editor.text().rfind("Corvane.txt", 0), 0u) << editor.text();
    std::string shown;
    for (const ControlInfo& control : editor.controls())
        if (lstrcmpiA(control.className.c_str(), "Edit") == 0) shown = control.text;
    EXPECT_EQ(shown.rfind("Début d'analyse le ", 0), 0u) << "notepad shows: " << shown;
    // Corvane does not wait for the editor.
    setSwapSize(60 * kMiB);
    tickUntilSwapReads("SWAP: 60 Mo  Mini: 50 Mo  Maxi: 60 Mo  Moy: 55 Mo");

    editor.post(WM_CLOSE);
    EXPECT_TRUE(pollUntil([&] { return !editor.exists(); })) << "notepad did not close";
}

}  // namespace
}  // namespace corvane::wine
