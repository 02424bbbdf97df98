// The statistics across runs, as the settings store keeps them: carried over, reset when
// damaged or when the paging configuration changed, and what a kill or a log-off leaves.
#include <regex>

#include "runs_fixture.h"

namespace corvane::wine {
namespace {

class PersistenceTest : public RunsTest {
protected:
    void TearDown() override {
        RunsTest::TearDown();
        DeleteFileA("C:\\swap2.sys");
    }

    // Keeps the program running until `ms` have passed since it started.
    void runFor(ULONGLONG ms) {
        const ULONGLONG until = startTick + ms;
        while (GetTickCount64() < until) Sleep(static_cast<DWORD>(until - GetTickCount64()));
    }
};

TEST_F(PersistenceTest, TwoRunsAddUpTheirSamplesAndTheirTimeButNotTheTimeBetween) {
    launchRun();
    setSwapSize(60 * kMiB);
    tickUntilSwapReads("SWAP: 60 Mo  Mini: 50 Mo  Maxi: 60 Mo  Moy: 55 Mo");
    setSwapSize(70 * kMiB);
    tickUntilSwapReads("SWAP: 70 Mo  Mini: 50 Mo  Maxi: 70 Mo  Moy: 60 Mo");
    runFor(10000);
    quit();
    EXPECT_EQ(stored("NB"), "3");
    EXPECT_EQ(stored("MaxSwap"), "70");
    EXPECT_EQ(stored("TotSwap"), "180");
    EXPECT_EQ(stored("MinSwap"), "50");
    const ULONGLONG firstAtLeast = quitTick - shownTick;
    const ULONGLONG firstAtMost = endTick - startTick;

    // Closed for three seconds: that time is no part of the analysis.
    Sleep(3000);
    setSwapSize(40 * kMiB);
    launchRun();
    EXPECT_EQ(main.controlText(kSwap), "SWAP: 40 Mo  Mini: 40 Mo  Maxi: 70 Mo  Moy: 55 Mo");
    // The analysis goes on from where the first run left it.
    std::smatch seconds;
    const std::string since = main.controlText(kDebutWin);
    ASSERT_TRUE(std::regex_match(since, seconds, std::regex(" ([0-9]+) s"))) << since;
    EXPECT_GE(std::stoi(seconds[1]), int(firstAtLeast / 1000)) << since;
    EXPECT_LE(std::stoi(seconds[1]), int(firstAtMost / 1000) + 2) << since;
    setSwapSize(80 * kMiB);
    tickUntilSwapReads("SWAP: 80 Mo  Mini: 40 Mo  Maxi: 80 Mo  Moy: 60 Mo");
    setSwapSize(60 * kMiB);
    tickUntilSwapReads("SWAP: 60 Mo  Mini: 40 Mo  Maxi: 80 Mo  Moy: 60 Mo");
    setSwapSize(50 * kMiB);
    tickUntilSwapReads("SWAP: 50 Mo  Mini: 40 Mo  Maxi: 80 Mo  Moy: 59 Mo");
    runFor(20000);
    quit();

    EXPECT_EQ(stored("NB"), "7");
    EXPECT_EQ(stored("MaxSwap"), "80");
    EXPECT_EQ(stored("TotSwap"), "410");
    EXPECT_EQ(stored("MinSwap"), "40");
    const double elapsed = std::stod(stored("Elapsed"));
    EXPECT_GE(elapsed, double(firstAtLeast + quitTick - shownTick)) << "about 30000 expected";
    EXPECT_LE(elapsed, double(firstAtMost + endTick - startTick)) << "about 30000 expected";
}

TEST_F(PersistenceTest, DamagedMaximumIsReportedAndTheAnalysisStartsAgain) {
    store("NB", "5");
    store("MemoSwap", kPagefile);
    store("MaxSwap", "abc");
    store("TotSwap", "250");
    store("MinSwap", "40");
    store("Elapsed", "600000");
    const MessageBoxInfo box = launchToMessageBox();
    shot("damaged-settings", box.window);
    EXPECT_EQ(box.title, "Vous pouvez continuer !");
    EXPECT_EQ(box.text, "Problème au chargement de vos paramères !\r\nRéinitialisation");
    EXPECT_EQ(box.buttons, std::vector<int>{IDOK});
    EXPECT_TRUE(showsIcon(box, IDI_INFORMATION));
    pressButton(box.window, IDOK);

    waitRunWindow();
    EXPECT_EQ(main.controlText(kSwap), "SWAP: 50 Mo  Mini: 50 Mo  Maxi: 50 Mo  Moy: 50 Mo");
    EXPECT_TRUE(std::regex_match(main.controlText(kDebutWin), std::regex(" [0-9] s")))
        << "the ten minutes stored are gone: " << main.controlText(kDebutWin);
    EXPECT_EQ(stored("NB"), "0");
    EXPECT_EQ(stored("MaxSwap"), "0");
    EXPECT_EQ(stored("TotSwap"), "0");
    EXPECT_EQ(stored("MinSwap"), "32767");
    EXPECT_LT(std::stod(stored("Elapsed")), 5000.0);
    EXPECT_EQ(stored("Raffraichissement"), "60") << "the period is no part of the statistics";

    // The run goes on, on its own timer: the load stopped before the stored period.
    EXPECT_EQ(main.controlText(kLblRaf), "1 s");
    setSwapSize(70 * kMiB);
    main.waitControlText(kSwap, "SWAP: 70 Mo  Mini: 50 Mo  Maxi: 70 Mo  Moy: ", 5000);
    EXPECT_TRUE(messageBoxes(corvane->id()).empty());
    EXPECT_EQ(journalBytes(),
              expectedJournal(journalBytes(), {{kStartPrefix, &opened}, {kStartPrefix, &opened}}));
    quit();
    EXPECT_EQ(stored("MaxSwap"), "70");
    EXPECT_EQ(stored("MinSwap"), "50");
}

TEST_F(PersistenceTest, ChangedPagingFileWarnsOnceAndRestartsTheAnalysis) {
    launchRun();
    setSwapSize(70 * kMiB);
    tickUntilSwapReads("SWAP: 70 Mo  Mini: 50 Mo  Maxi: 70 Mo  Moy: 60 Mo");
    quit();
    const std::string firstJournal = journalBytes();
    ASSERT_FALSE(firstJournal.empty());

    setMultiString(HKEY_LOCAL_MACHINE, kMemoryManagementKey, "PagingFiles",
                   {"C:\\swap2.sys 100 200"});
    setFileSize("C:\\swap2.sys", 30 * kMiB);
    const MessageBoxInfo box = launchToMessageBox();
    shot("paging-changed", box.window);
    EXPECT_EQ(box.title, "Corvane");
    EXPECT_EQ(box.text,
              "Vos paramètres de fichier SWAP ont changé\r\nRéinitialisation de l'analyse");
    EXPECT_EQ(box.buttons, std::vector<int>{IDOK});
    EXPECT_TRUE(showsIcon(box, IDI_EXCLAMATION));
    EXPECT_FALSE(showsIcon(box, IDI_INFORMATION));
    pressButton(box.window, IDOK);
    // The first rotation replaces no old journal: no notice.
    waitRunWindow();
    EXPECT_TRUE(messageBoxes(corvane->id()).empty());
    EXPECT_EQ(main.controlText(kSwap), "SWAP: 30 Mo  Mini: 30 Mo  Maxi: 30 Mo  Moy: 30 Mo");
    EXPECT_EQ(main.controlText(kLabel1), "Analyse du fichier SWAP (C:\\swap2.sys) depuis :");
    EXPECT_EQ(stored("NB"), "0");
    EXPECT_EQ(stored("MemoSwap"), "C:\\swap2.sys");
    EXPECT_EQ(readFile(oldJournalPath()), firstJournal);
    EXPECT_EQ(journalBytes(),
              expectedJournal(journalBytes(), {{kStartPrefix, &opened}, {kStartPrefix, &opened}}));
    quit();
    EXPECT_EQ(stored("NB"), "1");

    // The next start has nothing to warn about, and the analysis goes on.
    launchRun();
    EXPECT_EQ(main.controlText(kSwap), "SWAP: 30 Mo  Mini: 30 Mo  Maxi: 30 Mo  Moy: 30 Mo");
    quit();
    EXPECT_EQ(stored("NB"), "2");
}

TEST_F(PersistenceTest, KillLosesOnlyWhatCameAfterTheLastSave) {
    launchRun();
    setSwapSize(70 * kMiB);
    tickUntilSwapReads("SWAP: 70 Mo  Mini: 50 Mo  Maxi: 70 Mo  Moy: 60 Mo");
    quit();
    const Moment firstOpened = opened;
    const Moment firstClosing = closing;

    launchRun();
    const Moment killedOpened = opened;
    setSwapSize(90 * kMiB);
    tickUntilSwapReads("SWAP: 90 Mo  Mini: 50 Mo  Maxi: 90 Mo  Moy: 70 Mo");
    corvane->kill();
    ASSERT_FALSE(corvane->running());
    EXPECT_EQ(stored("NB"), "2");
    EXPECT_EQ(stored("MaxSwap"), "70");
    EXPECT_EQ(stored("TotSwap"), "120");

    // The next start carries on from the last save, with no warning.
    setSwapSize(30 * kMiB);
    launchRun();
    EXPECT_EQ(main.controlText(kSwap), "SWAP: 30 Mo  Mini: 30 Mo  Maxi: 70 Mo  Moy: 50 Mo");
    std::vector<JournalLine> lines = {{kStartPrefix, &firstOpened}};
    for (const JournalLine& line : summaryLines(70, 60, firstClosing)) lines.push_back(line);
    lines.push_back({kStartPrefix, &killedOpened});  // killed: no summary
    lines.push_back({kStartPrefix, &opened});
    EXPECT_EQ(journalBytes(), expectedJournal(journalBytes(), lines));
}

TEST_F(PersistenceTest, LogOffSavesAndClosesTheJournalBeforeWindowsMayEndTheProgram) {
    launchRun();
    setSwapSize(70 * kMiB);
    tickUntilSwapReads("SWAP: 70 Mo  Mini: 50 Mo  Maxi: 70 Mo  Moy: 60 Mo");
    EXPECT_EQ(main.send(WM_QUERYENDSESSION, 0, ENDSESSION_LOGOFF), TRUE)
        << "Corvane refused the log-off";
    Moment closed;
    closed.from = localTime();
    main.send(WM_ENDSESSION, TRUE, ENDSESSION_LOGOFF);
    closed.to = localTime();
    // Windows may end the program as soon as the message is answered: all is written by then.
    EXPECT_EQ(stored("NB"), "2");
    EXPECT_EQ(stored("MaxSwap"), "70");
    EXPECT_EQ(stored("TotSwap"), "120");
    std::vector<JournalLine> lines = {{kStartPrefix, &opened}};
    for (const JournalLine& line : summaryLines(70, 60, closed)) lines.push_back(line);
    EXPECT_EQ(journalBytes(), expectedJournal(journalBytes(), lines));

    bool windowShown = false;
    pollUntil([&] {
        for (const Window& w : topWindows(corvane->id()))
            if (w.handle() != main.handle()) windowShown = true;
        return !corvane->running();
    });
    EXPECT_FALSE(windowShown) << "a window at log-off:" << openWindows();
    ASSERT_FALSE(corvane->running()) << "Corvane is still running after the session end";
    EXPECT_EQ(corvane->exitCode(), 0u);
}

// Windows sends the session end to the main window, shown or not yet.
void endSession(const Window& window) {
    EXPECT_EQ(window.send(WM_QUERYENDSESSION, 0, ENDSESSION_LOGOFF), TRUE);
    window.send(WM_ENDSESSION, TRUE, ENDSESSION_LOGOFF);
}

TEST_F(PersistenceTest, LogOffDuringTheChangeWarningLeavesTheResetToTheNextStart) {
    launchRun();
    setSwapSize(70 * kMiB);
    tickUntilSwapReads("SWAP: 70 Mo  Mini: 50 Mo  Maxi: 70 Mo  Moy: 60 Mo");
    quit();
    const std::string journal = journalBytes();
    setMultiString(HKEY_LOCAL_MACHINE, kMemoryManagementKey, "PagingFiles",
                   {"C:\\swap2.sys 100 200"});
    setFileSize("C:\\swap2.sys", 30 * kMiB);
    launchToMessageBox();
    endSession(topWindows(corvane->id(), kMainClass, false).front());
    // Neither the statistics of the earlier paging file under the new one's name, nor a
    // second summary of the earlier run.
    EXPECT_EQ(stored("MemoSwap"), kPagefile);
    EXPECT_EQ(stored("NB"), "2");
    EXPECT_EQ(journalBytes(), journal);
    ASSERT_TRUE(corvane->waitExit()) << "Corvane is still running:" << openWindows();
    EXPECT_EQ(corvane->exitCode(), 0u);
    EXPECT_EQ(stored("MemoSwap"), kPagefile) << "start-up went on after the session end";
    EXPECT_EQ(stored("TotSwap"), "120") << "start-up went on after the session end";
    EXPECT_EQ(journalBytes(), journal) << "start-up went on after the session end";
    EXPECT_FALSE(fileExists(oldJournalPath()));

    const MessageBoxInfo again = launchToMessageBox();
    EXPECT_EQ(again.text,
              "Vos paramètres de fichier SWAP ont changé\r\nRéinitialisation de l'analyse");
}

TEST_F(PersistenceTest, LogOffDuringTheDamagedSettingsMessageKeepsThemForTheNextStart) {
    store("NB", "5");
    store("MemoSwap", kPagefile);
    store("MaxSwap", "abc");
    store("TotSwap", "250");
    launchToMessageBox();
    endSession(topWindows(corvane->id(), kMainClass, false).front());
    ASSERT_TRUE(corvane->waitExit()) << "Corvane is still running:" << openWindows();
    // Five samples with a total of 0 would be a record the next start takes as sound.
    EXPECT_EQ(stored("NB"), "5");
    EXPECT_EQ(stored("MaxSwap"), "abc");
    EXPECT_EQ(stored("TotSwap"), "250");
    EXPECT_FALSE(fileExists(journalPath()));

    const MessageBoxInfo again = launchToMessageBox();
    EXPECT_EQ(again.title, "Vous pouvez continuer !");
}

TEST_F(PersistenceTest, LogOffDuringAResetQuestionClosesTheAnalysisAndResetsNothing) {
    launchRun();
    setSwapSize(70 * kMiB);
    tickUntilSwapReads("SWAP: 70 Mo  Mini: 50 Mo  Maxi: 70 Mo  Moy: 60 Mo");
    main.postCommand(kInitAll);
    waitMessageBox(corvane->id());
    Moment closed;
    closed.from = localTime();
    endSession(main);
    closed.to = localTime();
    ASSERT_TRUE(corvane->waitExit()) << "Corvane is still running:" << openWindows();
    EXPECT_EQ(stored("NB"), "2");
    EXPECT_EQ(stored("TotSwap"), "120");
    std::vector<JournalLine> lines = {{kStartPrefix, &opened}};
    for (const JournalLine& line : summaryLines(70, 60, closed)) lines.push_back(line);
    EXPECT_EQ(journalBytes(), expectedJournal(journalBytes(), lines));
    EXPECT_FALSE(fileExists(oldJournalPath()));
}

TEST_F(PersistenceTest, LogOffWhileTheExitShowsTheAboutWindowClosesTheAnalysisOnce) {
    launchRun();
    setSwapSize(70 * kMiB);
    tickUntilSwapReads("SWAP: 70 Mo  Mini: 50 Mo  Maxi: 70 Mo  Moy: 60 Mo");
    main.postCommand(kQuitter);
    waitWindow(corvane->id(), kAboutClass);
    Moment closed;
    closed.from = localTime();
    endSession(main);
    closed.to = localTime();
    ASSERT_TRUE(corvane->waitExit()) << "Corvane is still running:" << openWindows();
    EXPECT_EQ(corvane->exitCode(), 0u);
    EXPECT_EQ(stored("NB"), "2");
    std::vector<JournalLine> lines = {{kStartPrefix, &opened}};
    for (const JournalLine& line : summaryLines(70, 60, closed)) lines.push_back(line);
    EXPECT_EQ(journalBytes(), expectedJournal(journalBytes(), lines));
}

// Ten minutes of running save the statistics without any exit, so that a kill loses at most
// ten minutes. It takes eleven minutes: run it on purpose, with
// --gtest_also_run_disabled_tests --gtest_filter='*TenMinutes*'.
TEST_F(PersistenceTest, DISABLED_TenMinutesOfRunningSaveTheStatisticsWithoutAnExit) {
    launchRun();
    setSwapSize(70 * kMiB);
    bool saved = false;
    // Samples come from the program's own timer, once a minute.
    ASSERT_TRUE(pollUntil(
        [&] {
            stored("NB", &saved);
            return saved;
        },
        12 * 60000))
        << "nothing saved within twelve minutes";
    const ULONGLONG savedAfter = GetTickCount64() - startTick;
    EXPECT_GE(savedAfter, 600000u) << "saved before ten minutes had run";
    const int samples = std::stoi(stored("NB"));
    EXPECT_GE(samples, 10);
    EXPECT_LE(samples, 12);
    EXPECT_EQ(stored("MaxSwap"), "70");
    EXPECT_GE(std::stod(stored("Elapsed")), 600000.0);
    corvane->kill();

    launchRun();
    const std::string swap = main.controlText(kSwap);
    EXPECT_EQ(swap.rfind("SWAP: 70 Mo  Mini: 50 Mo  Maxi: 70 Mo  Moy: ", 0), 0u) << swap;
    EXPECT_TRUE(std::regex_match(main.controlText(kDebutWin), std::regex(" 1[01] mn [0-9]+ s")))
        << main.controlText(kDebutWin);
}

}  // namespace
}  // namespace corvane::wine
