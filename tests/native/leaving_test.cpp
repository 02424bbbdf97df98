// Leaving without losing the record: errors that nothing traps, errors of a later tick,
// counts near the 32-bit limit, a store that refuses writes, a folder that refuses them, and a
// run killed while it saves.
#include <limits>
#include <new>

#include "harness.h"
#include "history/history.h"
#include "history/history_csv.h"
#include "history/utc_minutes.h"
#include "persistence/settings.h"
#include "persistence/staged_values.h"
#include "program/startup.h"

namespace corvane::testing {
namespace {

constexpr const char* kJournal = "C:\\Corvane\\Corvane.txt";
constexpr const char* kOldJournal = "C:\\Corvane\\Corvane.old";
const char* const kReloadPrompt = "Problème au chargement de vos paramères !\r\nRéinitialisation";

class LeavingTest : public MonitorTest {
protected:
    void SetUp() override { setSwapMiB(50); }
    std::string stored(const char* key) { return fake.settings.values[key]; }
    std::string journal() { return fake.files.contents(kJournal).value_or(""); }
    bool journalClosed() { return journal().find("Fin d'analyse le   ") != std::string::npos; }
    // The statistics of an earlier run, with a period of 5 s.
    void storeEarlierRun() {
        fake.settings.values = {{"JM_R", "False"},
                                {"NB", "5"},
                                {"MemoSwap", "C:\\pagefile.sys"},
                                {"MaxSwap", "90"},
                                {"TotSwap", "300"},
                                {"MinSwap", "40"},
                                {"MemoMinPaging", "0"},
                                {"MemoMaxPaging", "0"},
                                {"Elapsed", "60000"},
                                {"Raffraichissement", "5"}};
    }
};

// ---- Errors that reach a handler untrapped ----

TEST_F(LeavingTest, ASessionEndSavesTheStatisticsAndTheJournalBeforeTheHistorysRewrite) {
    // A history too long to be put right at start-up, whose end is out of order: its first
    // minute to end rewrites both files.
    std::string text = std::string(kHistoryHeader) + "\r\n";
    const int32_t now = *minuteOf({2026, 12, 8, 6, 15, 0});
    for (int32_t m = now - 4000; m < now - 1; ++m) {
        text += formatRecord({m, 1536, 1536, 1536, 800, kUnknownMo});
    }
    text += formatRecord({now - 4002, 1536, 1536, 1536, 800, kUnknownMo});
    ASSERT_GT(text.size(), History::kTailBytes);
    fake.files.put("C:\\Corvane\\Corvane.csv", text);
    window.onLoad();
    ASSERT_FALSE(window.ended());
    ASSERT_EQ(fake.files.replaceCalls, 0);
    std::string statisticsWhenRewriting;
    bool journalClosedWhenRewriting = false;
    fake.files.onReplace = [&] {
        if (!statisticsWhenRewriting.empty()) return;
        statisticsWhenRewriting = stored("NB");
        journalClosedWhenRewriting = journalClosed();
    };
    window.onEndSession();
    EXPECT_TRUE(window.ended());
    EXPECT_GT(fake.files.replaceCalls, 0);
    EXPECT_EQ(statisticsWhenRewriting, "1");
    EXPECT_TRUE(journalClosedWhenRewriting);
}

TEST_F(LeavingTest, MemoryRunningOutInATickIsSaidThenTheStatisticsAndTheJournalAreSaved) {
    window.onLoad();
    setSwapMiB(70);
    tick();
    fake.system.beforeMemoryStatus = [] { throw std::bad_alloc(); };
    tick();
    ASSERT_EQ(fake.dialogs.shown.size(), 1u);
    EXPECT_EQ(fake.dialogs.shown[0].text, "Erreur d'exécution '7' :\r\n\r\nMémoire insuffisante");
    EXPECT_EQ(fake.dialogs.shown[0].title, "Corvane");
    EXPECT_EQ(fake.dialogs.shown[0].style.icon, MsgIcon::Critical);
    EXPECT_TRUE(window.ended());
    EXPECT_EQ(fake.view.endProgramCalls, 1);
    EXPECT_EQ(fake.windows.aboutShown, 0);  // no credits after a failure
    // The failing tick's sample was counted before the memory status was asked for.
    EXPECT_EQ(stored("NB"), "3");
    EXPECT_EQ(stored("MaxSwap"), "70");
    EXPECT_NE(journal().find("taille maximale de : 70Mo\r\n"), std::string::npos) << journal();
    EXPECT_TRUE(journalClosed());

    // Ended: later messages reach no handler and nothing is written twice.
    fake.system.beforeMemoryStatus = nullptr;
    std::string before = journal();
    tick();
    window.onMenu(MenuItem::quitter);
    EXPECT_EQ(journal(), before);
    EXPECT_EQ(fake.view.endProgramCalls, 1);
}

TEST_F(LeavingTest, AnExceptionOfNoKnownKindLeavesTheSameWayAsAnInternalError) {
    window.onLoad();
    fake.system.beforeMemoryStatus = [] { throw 42; };
    tick();
    ASSERT_EQ(fake.dialogs.shown.size(), 1u);
    EXPECT_EQ(fake.dialogs.shown[0].text, "Erreur d'exécution '51' :\r\n\r\nErreur interne");
    EXPECT_TRUE(window.ended());
    EXPECT_EQ(stored("NB"), "2");
    EXPECT_TRUE(journalClosed());
}

TEST_F(LeavingTest, MemoryRunningOutInAMenuCommandOrTheExitsAboutWindowStillSaves) {
    // In the About window the menu opens: the program ends, saved, without a second About.
    window.onLoad();
    fake.windows.whileAboutOpen = [](AboutWindow&) { throw std::bad_alloc(); };
    window.onMenu(MenuItem::propos);
    EXPECT_TRUE(window.ended());
    EXPECT_EQ(fake.windows.aboutShown, 1);
    EXPECT_EQ(stored("NB"), "1");
    EXPECT_TRUE(journalClosed());

    // In the About window the exit shows: the credits never cost the statistics.
    fake::FakePlatform f;
    f.files.resize("C:\\pagefile.sys", 60 * kMiB);
    f.registry.setMultiString(RootKey::LocalMachine, kMemoryManagementKey, "PagingFiles",
                              {"C:\\pagefile.sys 1536 3072"});
    MainWindow w(f.platform);
    w.onLoad();
    f.windows.whileAboutOpen = [](AboutWindow&) { throw std::bad_alloc(); };
    w.onMenu(MenuItem::quitter);
    EXPECT_TRUE(w.ended());
    EXPECT_TRUE(f.dialogs.shown.empty());
    EXPECT_EQ(f.settings.values["NB"], "1");
    EXPECT_NE(f.files.contents(kJournal)->find("taille maximale de : 60Mo"), std::string::npos);
}

TEST_F(LeavingTest, AnErrorReachingAWindowFromOutsideTheHandlersLeavesThroughTheSave) {
    // What the window procedure does with an exception of the Win32 layer's own.
    window.onLoad();
    tick();
    window.leaveOnError(RuntimeError(kErrOutOfMemory));
    EXPECT_TRUE(window.ended());
    EXPECT_EQ(fake.view.endProgramCalls, 1);
    EXPECT_EQ(stored("NB"), "2");
    EXPECT_TRUE(journalClosed());
    window.leaveOnError(RuntimeError(kErrOutOfMemory));  // a second one: already ended
    EXPECT_EQ(fake.dialogs.shown.size(), 1u);
    EXPECT_EQ(fake.view.endProgramCalls, 1);

    // Before start-up has loaded them, memory holds nothing to save over the stored record.
    fake::FakePlatform f;
    f.settings.values = {{"NB", "9"}, {"MaxSwap", "80"}};
    MainWindow early(f.platform);
    early.leaveOnError(RuntimeError(kErrOutOfMemory));
    EXPECT_TRUE(early.ended());
    EXPECT_EQ(f.dialogs.shown.size(), 1u);
    EXPECT_EQ(f.settings.values["NB"], "9");
    EXPECT_EQ(f.settings.values["MaxSwap"], "80");
    EXPECT_FALSE(f.files.exists(kJournal));
}

TEST_F(LeavingTest, MemoryRunningOutDuringStartUpIsTheStartUpsUnexpectedError) {
    fake.system.beforeMemoryStatus = [] { throw std::bad_alloc(); };
    window.onLoad();
    ASSERT_GE(fake.dialogs.shown.size(), 1u);
    EXPECT_EQ(fake.dialogs.shown[0].title, "Erreur imprévue au chargement");
    EXPECT_EQ(fake.dialogs.shown[0].text.rfind("Erreur : 7\r\nMémoire insuffisante\r\n", 0), 0u);
    EXPECT_TRUE(window.ended());
    EXPECT_EQ(fake.windows.aboutShown, 1);  // the start-up's error closes the window: Terminer
    EXPECT_EQ(stored("NB"), "1");           // the sample was taken before the memory status failed
    EXPECT_TRUE(journalClosed());
}

// ---- Errors of a later tick ----

TEST_F(LeavingTest, ADamagedTotalFirstReadByALaterTickRestartsTheAnalysisAndTheRunGoesOn) {
    storeEarlierRun();
    fake.settings.values["TotSwap"] = "abc";
    fake.files.put(kJournal, "earlier run\r\n");
    // The swap file cannot be read at start-up: the total is not added to yet.
    fake.files.swapSizes["C:\\pagefile.sys"] = SwapFileSize{};
    window.onLoad();
    EXPECT_TRUE(fake.dialogs.shown.empty());
    EXPECT_EQ(label(Control::swap), "SWAP: taille illisible (C:\\pagefile.sys)");

    fake.files.swapSizes.clear();
    tick();
    ASSERT_EQ(fake.dialogs.shown.size(), 1u);
    EXPECT_EQ(fake.dialogs.shown[0].text, kReloadPrompt);
    EXPECT_EQ(fake.dialogs.shown[0].title, "Vous pouvez continuer !");
    EXPECT_FALSE(window.ended());
    EXPECT_EQ(stored("NB"), "0");
    EXPECT_EQ(stored("TotSwap"), "0");
    EXPECT_EQ(stored("MinSwap"), "32767");
    EXPECT_EQ(fake.files.contents(kOldJournal).value_or("").rfind("earlier run\r\n", 0), 0u);
    EXPECT_TRUE(fake.view.timers[TimerId::MainTimer1].enabled);

    setSwapMiB(60);
    tick();
    EXPECT_EQ(label(Control::swap), "SWAP: 60 Mo  Mini: 60 Mo  Maxi: 60 Mo  Moy: 60 Mo");
    window.onMenu(MenuItem::quitter);
    EXPECT_EQ(stored("NB"), "1");
    EXPECT_EQ(stored("TotSwap"), "60");
    EXPECT_EQ(fake.dialogs.shown.size(), 1u);
}

TEST_F(LeavingTest, ATickArrivingWhileTheRestartIsShownIsNotTaken) {
    storeEarlierRun();
    fake.settings.values["TotSwap"] = "abc";
    fake.files.swapSizes["C:\\pagefile.sys"] = SwapFileSize{};
    window.onLoad();
    fake.files.swapSizes.clear();
    int nested = 0;
    fake.dialogs.onShow = [&](const fake::FakeDialogs::Shown&) {
        if (nested++ == 0) tick();  // the timer fires while the message waits
    };
    tick();
    EXPECT_EQ(fake.dialogs.shown.size(), 1u);
    EXPECT_FALSE(window.ended());
    EXPECT_EQ(stored("NB"), "0");
}

TEST_F(LeavingTest, AnotherErrorOfALaterTickIsSaidAndTheRunEndsSaved) {
    window.onLoad();
    tick();
    fake.system.memoryError = RuntimeError(kErrOverflow);
    tick();
    ASSERT_EQ(fake.dialogs.shown.size(), 1u);
    EXPECT_EQ(fake.dialogs.shown[0].text,
              "Erreur d'exécution '6' :\r\n\r\nDépassement de capacité");
    EXPECT_TRUE(window.ended());
    EXPECT_EQ(fake.windows.aboutShown, 0);
    EXPECT_EQ(stored("NB"), "3");
    EXPECT_TRUE(journalClosed());
}

// ---- Counts the next sample would overflow ----

TEST_F(LeavingTest, ACountTooCloseToTheLimitIsADamagedSettingAndTheNextStartIsClean) {
    const int32_t largest = std::numeric_limits<int32_t>::max() - 366 * 86400;
    for (const std::string& count :
         {std::string("2147483647"), std::string("2147483646"), std::to_string(largest + 1)}) {
        SCOPED_TRACE(count);
        fake::FakePlatform f;
        f.files.resize("C:\\pagefile.sys", 50 * kMiB);
        f.registry.setMultiString(RootKey::LocalMachine, kMemoryManagementKey, "PagingFiles",
                                  {"C:\\pagefile.sys 1536 3072"});
        f.settings.values = {{"NB", count},
                             {"MemoSwap", "C:\\pagefile.sys"},
                             {"MemoMinPaging", "0"},
                             {"MemoMaxPaging", "0"}};
        {
            MainWindow w(f.platform);
            w.onLoad();
            ASSERT_EQ(f.dialogs.shown.size(), 1u);
            EXPECT_EQ(f.dialogs.shown[0].text, kReloadPrompt);
            EXPECT_FALSE(w.ended());
            EXPECT_EQ(w.state().stats.sampleCount, 1);
            w.onTimer(TimerId::MainTimer1);
            w.onMenu(MenuItem::quitter);
            EXPECT_EQ(f.settings.values["NB"], "2");
        }
        for (int run = 0; run < 2; ++run) {
            MainWindow again(f.platform);
            again.onLoad();
            again.onMenu(MenuItem::quitter);
        }
        EXPECT_EQ(f.dialogs.shown.size(), 1u) << "a later start was not clean";
        EXPECT_EQ(f.settings.values["NB"], "4");
    }

    // The largest count carried on loads, and runs.
    storeEarlierRun();
    fake.settings.values["NB"] = std::to_string(largest);
    window.onLoad();
    tick();
    EXPECT_TRUE(fake.dialogs.shown.empty());
    window.onMenu(MenuItem::quitter);
    EXPECT_EQ(stored("NB"), std::to_string(largest + 2));
}

// ---- A store that refuses writes ----

TEST_F(LeavingTest, AStoreThatRefusesWritesIsSaidOnceAndEveryStartRunsOn) {
    fake.settings.saveError = RuntimeError(kErrInvalidCall);
    for (int run = 0; run < 2; ++run) {
        SCOPED_TRACE(run);
        fake.dialogs.shown.clear();
        MainWindow w(fake.platform);
        w.onLoad();  // the period is written back at every start
        ASSERT_EQ(fake.dialogs.shown.size(), 1u);
        EXPECT_EQ(fake.dialogs.shown[0].text,
                  "Vos paramètres n'ont pas pu être enregistrés : Corvane continue sans eux.\r\n"
                  "Erreur 5 : Argument ou appel de procédure incorrect");
        EXPECT_FALSE(w.ended());
        EXPECT_TRUE(fake.view.timers[TimerId::MainTimer1].enabled);
        w.onTimer(TimerId::MainTimer1);
        fake.dialogs.answers = {MsgAnswer::Yes};
        w.onMenu(MenuItem::InitAll);  // the reset's save fails too: said already
        EXPECT_FALSE(w.ended());
        EXPECT_EQ(w.state().stats.sampleCount, 0);
        w.onMenu(MenuItem::s10);
        EXPECT_EQ(label(Control::lblRaf), "10 s");
        w.onMenu(MenuItem::quitter);
        EXPECT_TRUE(w.ended());
        // The question, and the one notice; the rotation's notice comes from the journal.
        EXPECT_EQ(fake.dialogs.shown[1].title, "Réinitialisation du journal");
        for (size_t i = 2; i < fake.dialogs.shown.size(); ++i) {
            EXPECT_EQ(fake.dialogs.shown[i].text.find("enregistr"), std::string::npos)
                << fake.dialogs.shown[i].text;
        }
    }
    EXPECT_TRUE(fake.settings.values.empty());
    EXPECT_NE(journal().find("Fin d'analyse"), std::string::npos);
}

TEST_F(LeavingTest, AStoreRefusingTheResetOfADamagedSettingStillLetsTheStartUpRunOn) {
    storeEarlierRun();
    fake.settings.values["MaxSwap"] = "abc";
    fake.settings.saveError = RuntimeError(kErrInvalidCall);
    window.onLoad();
    ASSERT_EQ(fake.dialogs.shown.size(), 2u);
    EXPECT_EQ(fake.dialogs.shown[0].text, kReloadPrompt);
    EXPECT_EQ(fake.dialogs.shown[1].text.rfind("Vos paramètres n'ont pas pu être enregistrés", 0),
              0u);
    EXPECT_FALSE(window.ended());
    EXPECT_EQ(label(Control::swap), "SWAP: 50 Mo  Mini: 50 Mo  Maxi: 50 Mo  Moy: 50 Mo");
}

// ---- A program folder ----

TEST_F(LeavingTest, AFolderThatRefusesWritesIsSaidOnceAtStartUp) {
    fake.files.readOnlyFolders.insert("C:\\Corvane");
    window.onLoad();
    ASSERT_EQ(fake.dialogs.shown.size(), 1u);
    EXPECT_EQ(fake.dialogs.shown[0].text,
              "Corvane ne peut pas écrire dans son dossier C:\\Corvane\\\r\n"
              "Le journal et l'historique n'y seront pas enregistrés.");
    EXPECT_EQ(fake.dialogs.shown[0].style.icon, MsgIcon::Exclamation);
    EXPECT_FALSE(window.ended());
    for (int i = 0; i < 3; ++i) tick();
    EXPECT_EQ(fake.dialogs.shown.size(), 1u);
    EXPECT_EQ(stored("Raffraichissement"), "1");
}

TEST_F(LeavingTest, AFolderOutsideTheAnsiCodePageGetsTheJournalAndTheHistory) {
    fake::FakePlatform f;
    f.system.appDir = "C:\\Users\\Дмитрий\\Corvane";
    f.files.put(f.system.appDir + "\\Corvane.exe", "");
    f.files.resize("C:\\pagefile.sys", 50 * kMiB);
    f.registry.setMultiString(RootKey::LocalMachine, kMemoryManagementKey, "PagingFiles",
                              {"C:\\pagefile.sys 1536 3072"});
    MainWindow w(f.platform);
    w.onLoad();
    EXPECT_TRUE(f.dialogs.shown.empty());
    f.system.utc.minute += 2;  // a minute ends: it goes to the history
    w.onTimer(TimerId::MainTimer1);
    w.onMenu(MenuItem::quitter);
    EXPECT_EQ(w.state().journalPath, "C:\\Users\\Дмитрий\\Corvane\\Corvane.txt");
    std::optional<std::string> journal = f.files.contents(w.state().journalPath);
    ASSERT_TRUE(journal);
    EXPECT_EQ(journal->rfind("D\351but d'analyse le ", 0), 0u);
    EXPECT_NE(journal->find("Fin d'analyse"), std::string::npos);
    EXPECT_TRUE(f.files.exists("C:\\Users\\Дмитрий\\Corvane\\Corvane.csv"));
}

// ---- A run killed while it saves ----

TEST_F(LeavingTest, ARunKilledAtAnyPointOfItsSaveLeavesTheOldSetOrTheNewWhole) {
    // Every point at which a save can be cut: before the staged set, after it, after each of
    // the ten saved keys, after the staged set's removal.
    for (int writes = 0; writes <= 12; ++writes) {
        SCOPED_TRACE(writes);
        fake::FakePlatform f;
        f.files.resize("C:\\pagefile.sys", 70 * kMiB);
        f.registry.setMultiString(RootKey::LocalMachine, kMemoryManagementKey, "PagingFiles",
                                  {"C:\\pagefile.sys 1536 3072"});
        f.settings.values = {{"JM_R", "False"},
                             {"NB", "5"},
                             {"MemoSwap", "C:\\pagefile.sys"},
                             {"MaxSwap", "90"},
                             {"TotSwap", "300"},
                             {"MinSwap", "40"},
                             {"MemoMinPaging", "0"},
                             {"MemoMaxPaging", "0"},
                             {"Elapsed", "60000"},
                             {"Raffraichissement", "5"}};
        {
            MainWindow killed(f.platform);
            killed.onLoad();  // a sixth sample: 70 Mo
            f.settings.writesBeforeKill = writes;
            bool died = false;
            try {
                SaveRegistre(killed.context());
            } catch (const fake::Killed&) {
                died = true;
            }
            EXPECT_EQ(died, writes < 12);
            f.settings.writesBeforeKill.reset();
        }
        MainWindow next(f.platform);
        next.onLoad();
        EXPECT_TRUE(f.dialogs.shown.empty());
        const Statistics& st = next.state().stats;
        // The next start's own sample (70 Mo) comes on top of what was loaded.
        if (writes == 0) {
            EXPECT_EQ(st.sampleCount, 6);
            EXPECT_EQ(st.maximum, 90);
            EXPECT_EQ(std::get<double>(st.total), 370.0);
        } else {
            EXPECT_EQ(st.sampleCount, 7);
            EXPECT_EQ(st.maximum, 90);
            EXPECT_EQ(std::get<double>(st.total), 440.0);
        }
        next.onMenu(MenuItem::quitter);
        EXPECT_EQ(f.settings.values.count(kStagedValueName), 0u);
        EXPECT_EQ(f.settings.values["TotSwap"], writes == 0 ? "370" : "440");
    }
}

TEST(StagedValues, EveryTextComesBackAsItWasAndOnlyFromASetThisProgramWrote) {
    const SettingValues set = {{"NB", "12"},
                               {"MemoSwap", "C:\\dossier 100%\\pagefile.sys"},
                               {"TotSwap", "a=b\r\nNB=99"},
                               {"Elapsed", ""}};
    const std::string staged = encodeStagedValues(set);
    EXPECT_EQ(staged.find('\r'), std::string::npos);
    for (const auto& [key, value] : set) EXPECT_EQ(stagedValue(staged, key), value) << key;
    EXPECT_EQ(stagedValue(staged, "MaxSwap"), std::nullopt);
    EXPECT_EQ(stagedValue(staged, "N"), std::nullopt);    // a key's beginning is not the key
    EXPECT_EQ(stagedValue("NB=12", "NB"), std::nullopt);  // no format line: not ours
    EXPECT_EQ(stagedValue("", "NB"), std::nullopt);
    EXPECT_EQ(stagedValue("Corvane 1\nElapsed=5%4", "Elapsed"), std::nullopt);  // a broken escape
}

}  // namespace
}  // namespace corvane::testing
