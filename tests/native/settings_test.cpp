// The settings store across runs: what is written, what is read back, and damaged values.
#include "persistence/settings.h"

#include <algorithm>
#include <array>

#include "harness.h"
#include "program/startup.h"

namespace corvane::testing {
namespace {

constexpr const char* kJournal = "C:\\Corvane\\Corvane.txt";
constexpr const char* kOld = "C:\\Corvane\\Corvane.old";
const std::string kStartLine = "D\351but d'analyse le 08/12/2026 \340 07:15:30\r\n";

// In the order the load reads them.
const std::array<const char*, 10> kLoadOrder = {"JM_R",          "NB",
                                                "MemoSwap",      "MaxSwap",
                                                "TotSwap",       "MinSwap",
                                                "MemoMinPaging", "MemoMaxPaging",
                                                "Elapsed",       "Raffraichissement"};

class SettingsTest : public MonitorTest {
protected:
    void SetUp() override { setSwapMiB(50); }

    // What a healthy earlier run of 5 samples left, on the fixture's configuration.
    static void storeEarlierRun(fake::FakeSettings& settings) {
        settings.values = {{"JM_R", "True"},
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
    std::string stored(const char* key) { return fake.settings.values[key]; }
    int loadError(Context& c) {
        try {
            LoadRegistre(c);
        } catch (const RuntimeError& e) {
            return e.number();
        }
        return 0;
    }
};

TEST_F(SettingsTest, FirstRunSavesStartingValuesInOrderAndNeverThePeriod) {
    Context& c = window.context();
    LoadRegistre(c);
    EXPECT_EQ(stored("Raffraichissement"), "1");  // applied, hence written back
    c.state.swapPath = "C:\\pagefile.sys";
    c.state.minPagingSize = 1536;
    c.state.maxPagingSize = 3072;
    fake.system.ticks += 1234;
    fake.settings.savedKeys.clear();
    SaveRegistre(c);
    EXPECT_EQ(fake.settings.savedKeys,
              (std::vector<std::string>{"NB", "JM_R", "MemoSwap", "MaxSwap", "TotSwap", "MinSwap",
                                        "MemoMinPaging", "MemoMaxPaging", "Elapsed", "MaxCommit"}));
    EXPECT_EQ(stored("NB"), "0");
    EXPECT_EQ(stored("JM_R"), "False");
    EXPECT_EQ(stored("MemoSwap"), "C:\\pagefile.sys");
    EXPECT_EQ(stored("MaxSwap"), "0");
    EXPECT_EQ(stored("TotSwap"), "0");
    EXPECT_EQ(stored("MinSwap"), "32767");
    EXPECT_EQ(stored("MemoMinPaging"), "1536");
    EXPECT_EQ(stored("MemoMaxPaging"), "3072");
    EXPECT_EQ(stored("Elapsed"), "1234");
    EXPECT_EQ(stored("MaxCommit"), "0");
}

TEST_F(SettingsTest, SavedStatisticsLoadBackIntoTheNextRun) {
    Context& c = window.context();
    c.state.sansApropos = true;
    c.state.swapPath = "C:\\pagefile.sys";
    c.state.stats = {12, 60, 700.0, 58, 40, 80, 0};
    c.state.stats.startTick = static_cast<double>(fake.system.ticks) - 5000;
    SaveRegistre(c);
    EXPECT_EQ(stored("JM_R"), "True");

    MainWindow next(fake.platform);
    fake.system.ticks = 42;  // another boot
    LoadRegistre(next.context());
    const MainState& s = next.state();
    EXPECT_TRUE(s.sansApropos);
    EXPECT_EQ(s.stats.sampleCount, 12);
    EXPECT_EQ(s.stats.maximum, 80);
    EXPECT_EQ(s.stats.minimum, 40);
    EXPECT_EQ(std::get<std::string>(s.stats.total), "700");
    EXPECT_EQ(s.memoSwap, "C:\\pagefile.sys");
    EXPECT_EQ(s.stats.startTick, 42 - 5000);
}

TEST_F(SettingsTest, AFractionalMaximumPagingSizeIsNoChangeAtTheNextStart) {
    Context& c = window.context();
    c.state.swapPath = "C:\\win386.swp";
    c.state.minPagingSize = 98;
    c.state.maxPagingSize = 97.65625;  // MaxPagingFileSize=100000
    SaveRegistre(c);
    EXPECT_EQ(stored("MemoMaxPaging"), "98");

    MainWindow next(fake.platform);
    Context& n = next.context();
    LoadRegistre(n);
    n.state.swapPath = "C:\\win386.swp";
    n.state.minPagingSize = 98;
    n.state.maxPagingSize = 97.65625;
    EXPECT_FALSE(ChangementParam(n));
    n.state.maxPagingSize = 98.75;
    EXPECT_TRUE(ChangementParam(n));
}

TEST_F(SettingsTest, AChangedSwapConfigurationRestartsTheAnalysisBeforeTheJournalOpens) {
    storeEarlierRun(fake.settings);
    fake.settings.values["MemoSwap"] = "D:\\pagefile.sys";
    fake.files.put(kJournal, "earlier run\r\n");
    window.onLoad();
    ASSERT_EQ(fake.dialogs.shown.size(), 1u);
    EXPECT_EQ(fake.dialogs.shown[0].style.icon, MsgIcon::Exclamation);
    EXPECT_EQ(stored("NB"), "0");
    EXPECT_EQ(stored("MemoSwap"), "C:\\pagefile.sys");
    EXPECT_EQ(window.state().stats.sampleCount, 1);
    EXPECT_EQ(label(Control::swap), "SWAP: 50 Mo  Mini: 50 Mo  Maxi: 50 Mo  Moy: 50 Mo");
    EXPECT_EQ(fake.files.contents(kOld), "earlier run\r\n");
    EXPECT_EQ(fake.files.contents(kJournal), kStartLine + kStartLine);
}

TEST_F(SettingsTest, ASessionEndWhileStartUpWarnsLeavesTheStoreAndTheJournalAsTheyWere) {
    for (auto [key, value] : {std::pair{"MemoSwap", "D:\\pagefile.sys"}, {"MaxSwap", "abc"}}) {
        SCOPED_TRACE(key);
        fake::FakePlatform f;
        f.files.resize("C:\\pagefile.sys", 50 * kMiB);
        f.registry.setMultiString(RootKey::LocalMachine, kMemoryManagementKey, "PagingFiles",
                                  {"C:\\pagefile.sys 1536 3072"});
        storeEarlierRun(f.settings);
        f.settings.values[key] = value;
        const auto before = f.settings.values;
        f.files.put(kJournal, "earlier run\r\n");
        MainWindow w(f.platform);
        f.dialogs.onShow = [&](const fake::FakeDialogs::Shown&) { w.onEndSession(); };
        w.onLoad();
        EXPECT_TRUE(w.ended());
        EXPECT_EQ(f.view.endProgramCalls, 1);
        EXPECT_EQ(f.dialogs.shown.size(), 1u) << "start-up went on after the session end";
        EXPECT_EQ(f.settings.values, before);
        EXPECT_EQ(f.files.contents(kJournal), "earlier run\r\n");
        EXPECT_FALSE(f.files.exists(kOld));
    }
}

TEST_F(SettingsTest, StoredPeriodsOutsideTheSliderAreBroughtWithinIt) {
    for (auto [text, period] : {std::pair{"7", 7}, {"0", 1}, {"-5", 1}, {"100000", 60}}) {
        fake.settings.values["Raffraichissement"] = text;
        LoadRegistre(window.context());
        EXPECT_EQ(label(Control::lblRaf), std::to_string(period) + " s") << text;
        EXPECT_EQ(stored("Raffraichissement"), std::to_string(period)) << text;
        EXPECT_EQ(fake.view.timers[TimerId::MainTimer1].interval, period * 1000u) << text;
        EXPECT_EQ(fake.view.slider, period) << text;
    }
}

TEST_F(SettingsTest, ADamagedKeyStopsTheLoadThereAndStartUpRestartsTheAnalysis) {
    struct Case {
        size_t key;  // index in kLoadOrder
        const char* text;
    };
    std::vector<Case> cases;
    for (size_t key : {0, 1, 3, 5, 6, 7, 8, 9}) {
        cases.push_back({key, ""});
        cases.push_back({key, "abc"});
    }
    // Numbers that no run writes: a count below zero, time running backwards or for ages.
    cases.push_back({1, "-1"});
    cases.push_back({8, "-5000"});
    cases.push_back({8, "1e300"});

    for (const Case& test : cases) {
        const std::string key = kLoadOrder[test.key];
        SCOPED_TRACE(key + " = \"" + test.text + "\"");
        fake::FakePlatform f;
        f.files.resize("C:\\pagefile.sys", 50 * kMiB);
        f.registry.setMultiString(RootKey::LocalMachine, kMemoryManagementKey, "PagingFiles",
                                  {"C:\\pagefile.sys 1536 3072"});
        storeEarlierRun(f.settings);
        f.settings.values[key] = test.text;
        f.files.put(kJournal, "earlier run\r\n");

        MainWindow w(f.platform);
        w.onLoad();
        ASSERT_EQ(f.dialogs.shown.size(), 1u);
        EXPECT_EQ(f.dialogs.shown[0].title, "Vous pouvez continuer !");
        EXPECT_FALSE(w.ended());
        EXPECT_TRUE(f.view.timers[TimerId::MainTimer1].enabled);
        // Read up to the damaged key, then only the period again, to check it.
        std::vector<std::string> expectedReads(kLoadOrder.begin(),
                                               kLoadOrder.begin() + test.key + 1);
        expectedReads.push_back("Raffraichissement");
        // And the icon's, the alerts' and the export's keys, checked the same way.
        for (const char* key :
             {"IconeNotification", "AlerteEngagement", "SeuilEngagement", "AlerteSwap", "SeuilSwap",
              "AlerteMemoire", "SeuilMemoire", "AlerteEpuisement", "SeuilEpuisement",
              "ExportPrometheus", "DossierPrometheus", "JournalEvenements"}) {
            expectedReads.push_back(key);
        }
        EXPECT_EQ(f.settings.readKeys, expectedReads);
        // The period was never applied.
        EXPECT_TRUE(std::none_of(f.view.writes.begin(), f.view.writes.end(),
                                 [](const auto& w) { return w.first == Control::lblRaf; }));
        EXPECT_EQ(f.settings.values["NB"], "0");
        EXPECT_EQ(f.settings.values["MaxSwap"], "0");
        EXPECT_EQ(f.settings.values["TotSwap"], "0");
        EXPECT_EQ(f.settings.values["MinSwap"], "32767");
        EXPECT_EQ(f.settings.values["Elapsed"], "0");
        EXPECT_EQ(f.settings.values["Raffraichissement"], test.key == 9 ? "1" : "5");
        EXPECT_EQ(w.state().stats.sampleCount, 1);  // the first sample of the new analysis
        EXPECT_EQ(f.files.contents(kOld), "earlier run\r\n");
        // One start line from the reset, one from the start-up that goes on after it.
        EXPECT_EQ(f.files.contents(kJournal), kStartLine + kStartLine);

        // Mended: the next start says nothing.
        w.onMenu(MenuItem::quitter);
        MainWindow again(f.platform);
        again.onLoad();
        EXPECT_EQ(f.dialogs.shown.size(), 1u);
        EXPECT_EQ(again.state().stats.sampleCount, 2);
    }
}

TEST_F(SettingsTest, NumbersBeyondTheirTypeEndTheStartUpAndTheNextStartIsClean) {
    for (size_t key : {0, 1, 3, 5, 6, 7, 8, 9}) {
        SCOPED_TRACE(kLoadOrder[key]);
        storeEarlierRun(fake.settings);
        // A Boolean or a double takes any 32-bit number: only past a double's range fails.
        bool wide = key == 0 || key == 8;
        fake.settings.values[kLoadOrder[key]] = wide ? "1e400" : "99999999999";
        fake.dialogs.shown.clear();

        MainWindow w(fake.platform);
        w.onLoad();
        ASSERT_EQ(fake.dialogs.shown.size(), 1u);
        EXPECT_EQ(fake.dialogs.shown[0].text,
                  "Erreur : 6\r\nDépassement de capacité\r\n"
                  "Envoyez-moi un mél avec cette copie d'écran SVP, merci");
        EXPECT_EQ(fake.dialogs.shown[0].title, "Erreur imprévue au chargement");
        EXPECT_TRUE(w.ended());

        MainWindow again(fake.platform);
        again.onLoad();
        EXPECT_EQ(fake.dialogs.shown.size(), 1u);
        EXPECT_FALSE(again.ended());
    }
}

TEST_F(SettingsTest, MaxSwapAsLettersLeavesTheKeysAfterItAtTheirStartingValues) {
    storeEarlierRun(fake.settings);
    fake.settings.values["MaxSwap"] = "abc";
    Context& c = window.context();
    c.state.stats.startTick = 77;
    EXPECT_EQ(loadError(c), kErrTypeMismatch);
    EXPECT_TRUE(c.state.sansApropos);
    EXPECT_EQ(c.state.stats.sampleCount, 5);
    EXPECT_EQ(c.state.memoSwap, "C:\\pagefile.sys");
    EXPECT_EQ(c.state.stats.maximum, 0);
    EXPECT_EQ(std::get<double>(c.state.stats.total), 0);
    EXPECT_EQ(c.state.stats.minimum, 32767);
    EXPECT_EQ(c.state.stats.startTick, 77);
}

TEST_F(SettingsTest, ADamagedTotalLoadsAndRestartsTheAnalysisAtTheFirstSample) {
    for (const char* total : {"abc", "", "1e400", "1e300"}) {
        SCOPED_TRACE(total);
        storeEarlierRun(fake.settings);
        fake.settings.values["TotSwap"] = total;
        fake.dialogs.shown.clear();
        std::filesystem::remove(fake.files.hostPath("C:\\Corvane\\Corvane.old"));  // no notice
        MainWindow w(fake.platform);
        EXPECT_EQ(loadError(w.context()), 0);
        EXPECT_EQ(std::get<std::string>(w.state().stats.total), total);

        w.onLoad();
        ASSERT_EQ(fake.dialogs.shown.size(), 1u);
        EXPECT_EQ(fake.dialogs.shown[0].title, "Vous pouvez continuer !");
        EXPECT_FALSE(w.ended());
        EXPECT_TRUE(fake.view.timers[TimerId::MainTimer1].enabled);
        EXPECT_EQ(fake.settings.values["TotSwap"], "0");
        EXPECT_EQ(w.state().stats.sampleCount, 0);  // the failed sample is not counted
        w.onTimer(TimerId::MainTimer1);
        EXPECT_EQ(label(Control::swap), "SWAP: 50 Mo  Mini: 50 Mo  Maxi: 50 Mo  Moy: 50 Mo");
    }
}

TEST_F(SettingsTest, ElapsedTimeAddsUpOverRunsWhateverTheGapBetweenThem) {
    for (uint64_t secondBoot : {50000ULL, 9000000000ULL}) {
        SCOPED_TRACE(secondBoot);
        fake.settings.values.clear();
        fake.system.ticks = 1000000;
        MainWindow first(fake.platform);
        first.onLoad();
        fake.system.ticks += 10000;
        first.onMenu(MenuItem::quitter);
        EXPECT_EQ(fake.settings.values["Elapsed"], "10000");

        fake.system.ticks = secondBoot;
        MainWindow second(fake.platform);
        second.onLoad();
        fake.system.ticks += 5000;
        second.onTimer(TimerId::MainTimer1);
        EXPECT_EQ(label(Control::DebutWin), " 15 s");
        fake.system.ticks += 15000;
        second.onMenu(MenuItem::quitter);
        EXPECT_EQ(fake.settings.values["Elapsed"], "30000");
    }
}

TEST_F(SettingsTest, RunningStatisticsAreSavedEveryTenMinutes) {
    window.onLoad();
    auto saves = [&] {
        return std::count(fake.settings.savedKeys.begin(), fake.settings.savedKeys.end(), "NB");
    };
    fake.system.ticks += kCheckpointMs - 1;
    tick();
    EXPECT_EQ(saves(), 0);
    fake.system.ticks += 1;
    tick();
    EXPECT_EQ(saves(), 1);
    EXPECT_EQ(stored("NB"), "3");
    EXPECT_EQ(stored("Elapsed"), std::to_string(kCheckpointMs));

    // A store that fails costs neither the run nor a message, and is not retried at every tick.
    fake.settings.saveError = RuntimeError(kErrPermissionDenied);
    fake.system.ticks += kCheckpointMs;
    tick();
    EXPECT_FALSE(window.ended());
    EXPECT_TRUE(fake.dialogs.shown.empty());
    fake.settings.saveError.reset();
    fake.system.ticks += 1000;
    tick();
    EXPECT_EQ(saves(), 1);
    fake.system.ticks += kCheckpointMs;
    tick();
    EXPECT_EQ(saves(), 2);
    EXPECT_EQ(stored("NB"), "6");
}

TEST_F(SettingsTest, ADayOfCheckpointsForcesNothingToDiskAndTheExitForcesItsSave) {
    window.onLoad();
    for (int checkpoint = 0; checkpoint < 144; ++checkpoint) {
        fake.system.ticks += kCheckpointMs;
        tick();
    }
    EXPECT_EQ(stored("Elapsed"), std::to_string(144 * kCheckpointMs));
    EXPECT_EQ(fake.settings.flushes, 0);
    // What ends the run, and a new analysis the user asks for, are on disk when it returns.
    window.onMenu(MenuItem::quitter);
    EXPECT_EQ(fake.settings.flushes, 1);
    EXPECT_TRUE(window.ended());
}

TEST_F(SettingsTest, AFailingStoreAtExitIsShownAndTheJournalIsStillClosed) {
    window.onLoad();
    fake.settings.saveError = RuntimeError(kErrPermissionDenied);
    window.onMenu(MenuItem::quitter);
    ASSERT_EQ(fake.dialogs.shown.size(), 1u);
    EXPECT_EQ(fake.dialogs.shown[0].text,
              "Vos statistiques n'ont pas pu être enregistrées.\r\nErreur 70 : Permission refusée");
    EXPECT_NE(fake.files.contents("C:\\Corvane\\Corvane.txt")->find("Fin d'analyse"),
              std::string::npos);
    EXPECT_TRUE(window.ended());
}

}  // namespace
}  // namespace corvane::testing
