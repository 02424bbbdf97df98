// The virtual memory from the main window: the analysis' largest commit across runs and resets,
// each program's growth as processes end and start, when the processes are scanned, and what
// the "Mémoire virtuelle" window is given to show.
#include "harness.h"
#include "memory/process_growth.h"
#include "persistence/settings.h"

namespace corvane::testing {
namespace {

constexpr uint64_t kGiB = 1024 * kMiB;
constexpr uint64_t kMinute = 60000;
constexpr int64_t kMo = static_cast<int64_t>(kMiB);

ProcessCommit process(uint32_t pid, const std::string& name, uint64_t mo, uint64_t started = 7) {
    return {pid, started, name, mo * kMiB};
}

const ProgramFigures* find(const std::vector<ProgramFigures>& programs, uint32_t pid) {
    for (const ProgramFigures& p : programs) {
        if (p.pid == pid) return &p;
    }
    return nullptr;
}

TEST(ProcessGrowth, AProcessThatEndsIsForgottenAndOneThatStartsGrewByAllItHolds) {
    ProcessGrowth growth;
    growth.observe({process(4, "System", 1), process(100, "firefox.exe", 800)}, 0, true);
    growth.observe(
        {process(4, "System", 1), process(100, "firefox.exe", 900), process(200, "build.exe", 50)},
        kMinute, true);
    std::vector<ProgramFigures> now = growth.figures();
    ASSERT_EQ(now.size(), 3u);
    // There when the analysis began: grown by what it took since.
    EXPECT_EQ(find(now, 100)->growthBytes, 100 * kMo);
    EXPECT_EQ(find(now, 100)->hourGrowthBytes, 100 * kMo);
    // Started during the analysis: all it holds is growth.
    EXPECT_EQ(find(now, 200)->growthBytes, 50 * kMo);
    EXPECT_EQ(find(now, 200)->hourGrowthBytes, 50 * kMo);

    // firefox ends; a new program is given its id: a program of its own, not firefox grown.
    growth.observe({process(4, "System", 1), process(100, "notepad.exe", 3, 99),
                    process(200, "build.exe", 20)},
                   2 * kMinute, true);
    now = growth.figures();
    ASSERT_EQ(now.size(), 3u);
    EXPECT_EQ(find(now, 100)->name, "notepad.exe");
    EXPECT_EQ(find(now, 100)->growthBytes, 3 * kMo);
    EXPECT_EQ(find(now, 200)->growthBytes, 20 * kMo);  // it shrank, but started during it
    // The same name given the same id by a later process: its start time tells them apart.
    growth.observe({process(100, "notepad.exe", 5, 123)}, 3 * kMinute, true);
    EXPECT_EQ(growth.figures().at(0).growthBytes, 5 * kMo);
    EXPECT_EQ(growth.figures().size(), 1u);
}

TEST(ProcessGrowth, TheHourCountsFromTheMinuteScanAnHourOldAndOnlyFromMinuteScans) {
    ProcessGrowth growth;
    uint64_t t = 0;
    growth.observe({process(10, "db.exe", 1000)}, t, true);
    for (int minute = 1; minute <= 90; ++minute) {
        t += kMinute;
        growth.observe({process(10, "db.exe", 1000 + 10 * static_cast<uint64_t>(minute))}, t, true);
    }
    // At minute 90: 1900 Mo, an hour ago (minute 30) 1300 Mo, at the start 1000 Mo.
    ProgramFigures db = growth.figures().at(0);
    EXPECT_EQ(db.commitBytes, 1900 * kMiB);
    EXPECT_EQ(db.hourGrowthBytes, 600 * kMo);
    EXPECT_EQ(db.growthBytes, 900 * kMo);
    // The window's refreshes between two minutes update the figure, not the hour's base.
    growth.observe({process(10, "db.exe", 1950)}, t + 20000, false);
    db = growth.figures().at(0);
    EXPECT_EQ(db.hourGrowthBytes, 650 * kMo);  // still from minute 30, 20 s further on
    // Shrinking shows as negative growth.
    growth.observe({process(10, "db.exe", 1200)}, t + kMinute, true);
    EXPECT_EQ(growth.figures().at(0).hourGrowthBytes, -110 * kMo);  // against minute 31
}

TEST(ProcessGrowth, ANewAnalysisCountsGrowthFromNowAndTheHourGoesOn) {
    ProcessGrowth growth;
    growth.observe({process(10, "db.exe", 1000)}, 0, true);
    growth.observe({process(10, "db.exe", 1400), process(11, "late.exe", 200)}, kMinute, true);
    growth.restartAnalysis();
    growth.observe({process(10, "db.exe", 1500), process(11, "late.exe", 250)}, 2 * kMinute, true);
    std::vector<ProgramFigures> now = growth.figures();
    EXPECT_EQ(find(now, 10)->growthBytes, 100 * kMo);
    EXPECT_EQ(find(now, 11)->growthBytes, 50 * kMo);  // from the new analysis' start
    EXPECT_EQ(find(now, 10)->hourGrowthBytes, 500 * kMo);
    EXPECT_EQ(find(now, 11)->hourGrowthBytes, 250 * kMo);  // started within the hour
}

TEST(ProcessGrowth, TheListOrdersByCommitOrByGrowthAndKeepsTheLargest) {
    std::vector<ProgramFigures> programs;
    for (uint32_t pid = 1; pid <= 20; ++pid) {
        programs.push_back({"p" + std::to_string(pid), pid, pid * kMiB,
                            (21 - static_cast<int64_t>(pid)) * kMo, -static_cast<int64_t>(pid)});
    }
    std::vector<ProgramFigures> byCommit = topPrograms(programs, ProcessOrder::Commit, 15);
    ASSERT_EQ(byCommit.size(), 15u);
    EXPECT_EQ(byCommit.front().pid, 20u);
    EXPECT_EQ(byCommit.back().pid, 6u);
    std::vector<ProgramFigures> byHour = topPrograms(programs, ProcessOrder::HourGrowth, 15);
    EXPECT_EQ(byHour.front().pid, 1u);
    EXPECT_EQ(byHour.back().pid, 15u);
    std::vector<ProgramFigures> byGrowth = topPrograms(programs, ProcessOrder::Growth, 3);
    ASSERT_EQ(byGrowth.size(), 3u);
    EXPECT_EQ(byGrowth[0].pid, 1u);
    EXPECT_EQ(topPrograms(programs, ProcessOrder::Commit, 50).size(), 20u);
}

class VirtualMemoryTest : public MonitorTest {
protected:
    void SetUp() override {
        setSwapMiB(1536);
        fake.system.memory.commitKnown = true;
        setCommitMiB(3000, 8192);
        fake.memory.commit = CommitCharge{3000 * kMiB, 8192 * kMiB, 5000 * kMiB};
        fake.memory.running.items = {process(4, "System", 1), process(300, "Corvane.exe", 6),
                                     process(500, "explorer.exe", 90)};
    }
    // The tick's memory status: commit limit and what is left of it.
    void setCommitMiB(uint64_t used, uint64_t limit) {
        fake.system.memory.totalPageFile = limit * kMiB;
        fake.system.memory.availPageFile = (limit - used) * kMiB;
    }
    // As the program starts: the window is shown once start-up is done.
    void start() {
        window.onLoad();
        ASSERT_FALSE(window.ended());
        window.onShown();
    }
    void tickAfter(uint64_t ms) {
        fake.system.ticks += ms;
        tick();
    }
    int32_t maximum() { return window.state().stats.maxCommitMo; }
    const VirtualMemoryReport& shown() {
        EXPECT_FALSE(fake.windows.memoryView.reports.empty());
        return fake.windows.memoryView.reports.back();
    }
    std::string stored(const char* key) { return fake.settings.values[key]; }
};

TEST_F(VirtualMemoryTest, TheAnalysisMaximumFollowsEachTickAndIsSavedWithTheStatistics) {
    start();
    EXPECT_EQ(maximum(), 3000);
    setCommitMiB(4200, 9000);
    tickAfter(1000);
    setCommitMiB(3500, 9000);
    tickAfter(1000);
    EXPECT_EQ(maximum(), 4200);
    // The ticks read the commit from their memory status alone: no call of their own.
    EXPECT_EQ(fake.memory.commitReads, 0);
    window.onMenu(MenuItem::quitter);
    EXPECT_EQ(stored("MaxCommit"), "4200");
    EXPECT_EQ(fake.settings.savedKeys.back(), "MaxCommit");
}

TEST_F(VirtualMemoryTest, TheAnalysisMaximumCarriesAcrossRestartsAndGoesWithAReset) {
    fake.settings.values["NB"] = "5";
    fake.settings.values["MemoSwap"] = "C:\\pagefile.sys";
    fake.settings.values["MemoMinPaging"] = "0";
    fake.settings.values["MemoMaxPaging"] = "0";
    fake.settings.values["MaxCommit"] = "6000";
    start();
    ASSERT_TRUE(fake.dialogs.shown.empty()) << fake.dialogs.shown[0].text;
    EXPECT_EQ(maximum(), 6000);  // larger than anything this run saw
    // The open window's own reading counts too.
    fake.memory.commit = CommitCharge{6100 * kMiB, 9000 * kMiB, 7000 * kMiB};
    window.onMenu(MenuItem::virtualMemory);
    EXPECT_EQ(maximum(), 6100);
    EXPECT_EQ(shown().peaks.substr(shown().peaks.find("Maximum")),
              "Maximum de l'analyse : 5,96 Go");

    fake.dialogs.answers = {MsgAnswer::Yes};
    window.onMenu(MenuItem::InitAll);
    EXPECT_EQ(stored("MaxCommit"), "0");
    EXPECT_EQ(maximum(), 0);
    tickAfter(1000);
    EXPECT_EQ(maximum(), 6100);  // the window's reading again: it is open
    fake.windows.closeVirtualMemory();
    fake.settings.values["MaxCommit"] = "0";
    window.context().state.stats.maxCommitMo = 0;
    tickAfter(1000);
    EXPECT_EQ(maximum(), 3000);  // the tick's memory status alone

    // A system that does not give the commit leaves the maximum where it stands.
    window.context().state.stats.maxCommitMo = 123;
    fake.system.memory.commitKnown = false;
    tickAfter(kMinute);
    EXPECT_EQ(maximum(), 123);
}

TEST_F(VirtualMemoryTest, ADamagedStoredMaximumRestartsTheAnalysisLikeTheOtherKeys) {
    for (const char* damaged : {"abc", "", "-5"}) {
        SCOPED_TRACE(damaged);
        fake::FakePlatform f;
        f.files.resize("C:\\pagefile.sys", 50 * kMiB);
        f.registry.setMultiString(RootKey::LocalMachine, kMemoryManagementKey, "PagingFiles",
                                  {"C:\\pagefile.sys 1536 3072"});
        f.settings.values = {{"NB", "5"},
                             {"MaxSwap", "90"},
                             {"MinSwap", "40"},
                             {"TotSwap", "300"},
                             {"MaxCommit", damaged}};
        MainWindow w(f.platform);
        w.onLoad();
        ASSERT_EQ(f.dialogs.shown.size(), 1u);
        EXPECT_EQ(f.dialogs.shown[0].text,
                  "Problème au chargement de vos paramères !\r\nRéinitialisation");
        EXPECT_FALSE(w.ended());
        EXPECT_EQ(f.settings.values["MaxCommit"], "0");
        EXPECT_EQ(f.settings.values["MaxSwap"], "0");
        EXPECT_EQ(w.state().stats.sampleCount, 1);
    }
}

// The first sample is shown before the programs are scanned and the icon is added: each loads
// libraries and reads what the first sample does not need.
TEST_F(VirtualMemoryTest, StartUpLeavesTheScanAndTheIconUntilTheWindowShowsItsFirstSample) {
    fake.settings.values["IconeNotification"] = "True";
    window.onLoad();
    ASSERT_FALSE(window.ended());
    EXPECT_EQ(fake.view.texts[Control::swap].rfind("SWAP: ", 0), 0u);
    EXPECT_EQ(fake.memory.processReads, 0);
    EXPECT_FALSE(fake.notification.icon);

    window.onShown();
    EXPECT_EQ(fake.memory.processReads, 1);
    EXPECT_TRUE(fake.notification.icon);
    // The next ticks of the minute scan nothing more.
    tickAfter(1000);
    EXPECT_EQ(fake.memory.processReads, 1);
}

// Where a tick comes before the window was shown, the tick does what start-up left; the show
// that follows does nothing twice.
TEST_F(VirtualMemoryTest, ATickBeforeTheWindowIsShownDoesWhatStartUpLeft) {
    fake.settings.values["IconeNotification"] = "True";
    window.onLoad();
    tickAfter(1000);
    EXPECT_EQ(fake.memory.processReads, 1);
    EXPECT_TRUE(fake.notification.icon);
    int updates = fake.notification.iconUpdates;
    window.onShown();
    EXPECT_EQ(fake.memory.processReads, 1);
    EXPECT_EQ(fake.notification.iconUpdates, updates);
}

TEST_F(VirtualMemoryTest, WithTheWindowClosedTheProcessesAreScannedOnceAMinute) {
    start();
    EXPECT_EQ(fake.memory.processReads, 1);  // the start-up's sample: the analysis' baseline
    for (int i = 0; i < 59; ++i) tickAfter(1000);
    EXPECT_EQ(fake.memory.processReads, 1);
    tickAfter(1000);
    EXPECT_EQ(fake.memory.processReads, 2);
    // Neither the commit charge nor the page files are read for a closed window.
    EXPECT_EQ(fake.memory.commitReads, 0);
    EXPECT_EQ(fake.memory.pageFileReads, 0);
    EXPECT_TRUE(fake.windows.memoryView.reports.empty());

    window.onMenu(MenuItem::virtualMemory);
    EXPECT_EQ(fake.windows.memoryShown, 1);
    EXPECT_EQ(fake.memory.processReads, 3);
    EXPECT_EQ(fake.windows.memoryView.reports.size(), 1u);
    tickAfter(1000);
    tickAfter(1000);
    EXPECT_EQ(fake.memory.processReads, 5);
    EXPECT_EQ(fake.memory.commitReads, 3);
    EXPECT_EQ(fake.memory.pageFileReads, 3);
    EXPECT_EQ(fake.windows.memoryView.reports.size(), 3u);

    fake.windows.closeVirtualMemory();
    for (int i = 0; i < 10; ++i) tickAfter(1000);
    EXPECT_EQ(fake.memory.processReads, 5);
    EXPECT_EQ(fake.windows.memoryView.reports.size(), 3u);
}

TEST_F(VirtualMemoryTest, TheWindowShowsCommitPageFilesAndTheLargestProgramsInTheChosenOrder) {
    start();
    fake.memory.files.items = {{"C:\\pagefile.sys", 2048 * kMiB, 312 * kMiB, 400 * kMiB},
                               {"D:\\pagefile.sys", 1024 * kMiB, 0, 0}};
    for (uint32_t i = 0; i < 20; ++i) {
        fake.memory.running.items.push_back(
            process(1000 + i, "p" + std::to_string(i) + ".exe", 100 + 10 * i));
    }
    tickAfter(kMinute);
    window.onMenu(MenuItem::virtualMemory);
    const VirtualMemoryReport& r = shown();
    EXPECT_EQ(r.commit, "Engagement : 2,93 Go / 8,00 Go (37 %)");
    EXPECT_EQ(r.commitPermille, 366);
    EXPECT_EQ(r.peaks,
              "Pic depuis le démarrage de Windows : 4,88 Go    Maximum de l'analyse : 2,93 Go");
    EXPECT_EQ(r.pageFiles,
              (std::vector<std::string>{"C:\\pagefile.sys : 2,00 Go, en usage 312 Mo, pic 400 Mo",
                                        "D:\\pagefile.sys : 1,00 Go, en usage 0 Mo, pic 0 Mo"}));
    ASSERT_EQ(r.programs.size(), 15u);
    EXPECT_EQ(r.programs[0], "p19.exe\t1019\t290 Mo\t+290 Mo\t+290 Mo");
    EXPECT_EQ(r.programs[14], "p5.exe\t1005\t150 Mo\t+150 Mo\t+150 Mo");
    EXPECT_TRUE(r.programsNote.empty());

    // explorer.exe, there from the start, grows; sorted by growth it comes first.
    fake.memory.running.items[2].commitBytes = 600 * kMiB;
    tickAfter(1000);
    EXPECT_EQ(shown().programs[0], "explorer.exe\t500\t600 Mo\t+510 Mo\t+510 Mo");
    size_t before = fake.windows.memoryView.reports.size();
    int reads = fake.memory.processReads;
    window.context().state.memoryWatch.setOrder(ProcessOrder::Growth);
    EXPECT_EQ(fake.windows.memoryView.reports.size(), before + 1);
    EXPECT_EQ(fake.memory.processReads, reads);  // sorted again from the same figures
    EXPECT_EQ(shown().order, ProcessOrder::Growth);
    EXPECT_EQ(shown().programs[0], "explorer.exe\t500\t600 Mo\t+510 Mo\t+510 Mo");
    EXPECT_EQ(shown().programs[1], "p19.exe\t1019\t290 Mo\t+290 Mo\t+290 Mo");
    // The order stays for the next refresh.
    tickAfter(1000);
    EXPECT_EQ(shown().order, ProcessOrder::Growth);
}

TEST_F(VirtualMemoryTest, ACommitReadThroughA32BitFieldIsMarkedAndTheNoteSaysWhichBuildShowsIt) {
    start();
    fake.memory.running.items.push_back(process(700, "big64.exe", 4000));
    fake.memory.running.items.back().commitCapped = true;
    tickAfter(kMinute);
    window.onMenu(MenuItem::virtualMemory);
    const VirtualMemoryReport& r = shown();
    ASSERT_FALSE(r.programs.empty());
    EXPECT_EQ(r.programs[0], "big64.exe\t700\t3,91 Go *\t+3,91 Go\t+3,91 Go");
    for (size_t i = 1; i < r.programs.size(); ++i)
        EXPECT_EQ(r.programs[i].find(" *"), std::string::npos) << r.programs[i];
    EXPECT_EQ(r.programsNote,
              "* Engagement lu sur 32 bits, peut être faux au-delà de 4 Go ; la version 64 bits "
              "de Corvane le montre en entier.");

    // Once the program has gone, nothing shown is capped: no note.
    fake.memory.running.items.pop_back();
    tickAfter(1000);
    EXPECT_TRUE(shown().programsNote.empty());
}

TEST_F(VirtualMemoryTest, AWindowsWithoutTheFiguresSaysSoInTheirPlace) {
    fake.memory.commit.reset();
    fake.memory.files.supported = false;
    fake.memory.running = {false, {}};
    fake.system.memory.commitKnown = false;
    start();
    window.onMenu(MenuItem::virtualMemory);
    const VirtualMemoryReport& r = shown();
    EXPECT_EQ(r.commit, "Engagement : non disponible sur cette version de Windows");
    EXPECT_EQ(r.commitPermille, -1);
    EXPECT_EQ(r.pageFiles,
              (std::vector<std::string>{
                  "Fichiers d'échange : non disponible sur cette version de Windows"}));
    EXPECT_TRUE(r.programs.empty());
    EXPECT_EQ(r.programsNote,
              "Engagement par programme : non disponible sur cette version de Windows");
    EXPECT_EQ(maximum(), 0);
}

TEST_F(VirtualMemoryTest, NoPageFileListedAndNoProgramReadAreSaidPlainly) {
    fake.memory.running.items.clear();
    start();
    window.onMenu(MenuItem::virtualMemory);
    EXPECT_EQ(shown().pageFiles,
              (std::vector<std::string>{
                  "Windows ne signale aucun fichier d'échange en service ; la configuration "
                  "nomme C:\\pagefile.sys, que Corvane analyse."}));
    EXPECT_EQ(shown().programsNote, "Aucun programme n'a pu être lu.");
}

TEST_F(VirtualMemoryTest, AWindowThatCannotBeMadeIsReportedAndTheProgramRunsOn) {
    start();
    fake.windows.memoryError = RuntimeError(kErrOutOfMemory);
    int reads = fake.memory.processReads;
    window.onMenu(MenuItem::virtualMemory);
    ASSERT_EQ(fake.dialogs.shown.size(), 1u);
    EXPECT_EQ(fake.dialogs.shown[0].title, "Mémoire virtuelle");
    EXPECT_FALSE(window.ended());
    EXPECT_EQ(fake.memory.processReads, reads);
    tickAfter(1000);
    EXPECT_TRUE(fake.windows.memoryView.reports.empty());
}

}  // namespace
}  // namespace corvane::testing
