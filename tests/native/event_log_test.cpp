// The Windows event log: the events' fixed IDs, types and texts at the analysis' start and end
// and at each alert, nothing unless the user turned it on, nothing on the 9x family, the
// source's registration tried only while on, and a log that refuses costing only its event.
#include "alerts/alert_events.h"
#include "harness.h"

namespace corvane::testing {
namespace {

class EventLogTest : public MonitorTest {
protected:
    void SetUp() override {
        setSwapMiB(100);
        fake.settings.values["JournalEvenements"] = "True";
        fake.system.memory.memoryLoad = 40;
        fake.system.memory.commitKnown = true;
    }
    void start() {
        window.onLoad();
        ASSERT_FALSE(window.ended());
    }
    // The commit at `percent` of its limit of 4096 Mo.
    void tickAtCommit(int percent) {
        fake.system.memory.availPageFile =
            static_cast<uint64_t>(4096 - percent * 4096 / 100) * kMiB;
        fake.system.ticks += 1000;
        tick();
    }
    std::vector<uint32_t> ids() {
        std::vector<uint32_t> all;
        for (const auto& event : fake.eventLog.events) all.push_back(event.id);
        return all;
    }
};

TEST_F(EventLogTest, TheAnalysisStartAndEndAndEachAlertAreEventsWithFixedIds) {
    fake.system.memory.availPageFile = 3000 * kMiB;
    start();
    ASSERT_EQ(fake.eventLog.events.size(), 1u);
    EXPECT_EQ(fake.eventLog.events[0].id, 1u);
    EXPECT_EQ(fake.eventLog.events[0].type, EventType::Information);
    EXPECT_EQ(fake.eventLog.events[0].text,
              "Début d'analyse du fichier SWAP C:\\pagefile.sys le 08/12/2026 à 07:15:30");

    tickAtCommit(95);
    ASSERT_EQ(fake.eventLog.events.size(), 2u);
    EXPECT_EQ(fake.eventLog.events[1].id, 10u);
    EXPECT_EQ(fake.eventLog.events[1].type, EventType::Warning);
    // The journal's own line, without its end.
    EXPECT_EQ(fake.eventLog.events[1].text,
              "Alerte : engagement à 95 % de sa limite (seuil 90 %) le 08/12/2026 à 07:15:30");
    setSwapMiB(700);
    tickAtCommit(95);
    EXPECT_EQ(ids(), (std::vector<uint32_t>{1, 10, 11}));

    window.onMenu(MenuItem::quitter);
    ASSERT_EQ(ids(), (std::vector<uint32_t>{1, 10, 11, 2}));
    EXPECT_EQ(fake.eventLog.events[3].type, EventType::Information);
    EXPECT_EQ(fake.eventLog.events[3].text,
              "Fin d'analyse du fichier SWAP C:\\pagefile.sys le 08/12/2026 à 07:15:30 : 700 Mo "
              "au plus, 300 Mo en moyenne, 3 relevés");
}

TEST_F(EventLogTest, ResettingEverythingEndsTheAnalysisAndBeginsANewOne) {
    start();
    tick();
    fake.dialogs.answers = {MsgAnswer::Yes};
    window.onMenu(MenuItem::InitAll);
    ASSERT_EQ(ids(), (std::vector<uint32_t>{1, 2, 1}));
    EXPECT_EQ(fake.eventLog.events[1].text,
              "Fin d'analyse du fichier SWAP C:\\pagefile.sys le 08/12/2026 à 07:15:30 : 100 Mo "
              "au plus, 100 Mo en moyenne, 2 relevés");
    fake.dialogs.answers = {MsgAnswer::No};
    window.onMenu(MenuItem::InitAll);
    EXPECT_EQ(ids().size(), 3u);  // nothing reset, nothing said
}

TEST(AlertEvents, EachAlertHasItsOwnIdAndTheMemoryAlertsTextIsTheJournals) {
    EXPECT_EQ(alertEvent({AlertKind::Commit, 91, 90, 0}, "d", "t").id, kEventCommitAlert);
    EXPECT_EQ(alertEvent({AlertKind::SwapGrowth, 600, 512, 900}, "d", "t").id, kEventSwapAlert);
    EventRecord memory = alertEvent({AlertKind::Memory, 93, 90, 0}, "08/12/2026", "07:15:30");
    EXPECT_EQ(memory.id, kEventMemoryAlert);
    EXPECT_EQ(memory.type, EventType::Warning);
    EXPECT_EQ(memory.text, "Alerte : mémoire occupée à 93 % (seuil 90 %) le 08/12/2026 à 07:15:30");
}

TEST_F(EventLogTest, NothingIsWrittenUnlessTheUserTurnsItOnAndTheItemRemembersIt) {
    fake.settings.values.erase("JournalEvenements");
    start();
    tickAtCommit(95);
    EXPECT_TRUE(fake.eventLog.events.empty());
    EXPECT_EQ(fake.eventLog.registrations, 0);
    EXPECT_FALSE(fake.view.menuChecks[MenuItem::eventLog]);

    window.onMenu(MenuItem::eventLog);
    EXPECT_TRUE(fake.view.menuChecks[MenuItem::eventLog]);
    EXPECT_EQ(fake.settings.values["JournalEvenements"], "True");
    EXPECT_EQ(fake.eventLog.registrations, 1);  // tried as it is turned on; never asked
    tickAtCommit(50);
    tickAtCommit(95);
    EXPECT_EQ(ids(), (std::vector<uint32_t>{10}));

    window.onMenu(MenuItem::eventLog);
    EXPECT_FALSE(fake.view.menuChecks[MenuItem::eventLog]);
    EXPECT_EQ(fake.settings.values["JournalEvenements"], "False");
    window.onMenu(MenuItem::quitter);
    EXPECT_EQ(ids(), (std::vector<uint32_t>{10}));
    EXPECT_TRUE(fake.dialogs.shown.empty());
}

TEST_F(EventLogTest, Windows9xHasNoEventLogNothingIsWrittenAndNothingFails) {
    fake.system.version = fake::osVersion(1, 4, 10, 2222, " A ", 0);
    fake.system.memory.commitKnown = false;
    fake.system.memory.memoryLoad = 95;
    fake.settings.values["AlerteMemoire"] = "True";
    start();
    tickAtCommit(95);
    window.onMenu(MenuItem::quitter);
    EXPECT_TRUE(fake.eventLog.events.empty());
    EXPECT_EQ(fake.eventLog.registrations, 0);
    EXPECT_FALSE(fake.view.menuChecks[MenuItem::eventLog]);
    EXPECT_NE(fake.files.contents("C:\\Corvane\\Corvane.txt").value_or("").find("Alerte : m"),
              std::string::npos);
}

TEST_F(EventLogTest, On9xTheItemSaysThereIsNoLogAndLeavesTheChoiceAsItWas) {
    fake.system.version = fake::osVersion(1, 4, 10, 2222, " A ", 0);
    fake.settings.values.erase("JournalEvenements");
    start();
    window.onMenu(MenuItem::eventLog);
    ASSERT_EQ(fake.dialogs.shown.size(), 1u);
    EXPECT_EQ(fake.dialogs.shown[0].text,
              "Cette version de Windows n'a pas de journal des événements : Corvane n'y écrit "
              "rien.");
    EXPECT_FALSE(fake.view.menuChecks[MenuItem::eventLog]);
    EXPECT_EQ(fake.settings.values.count("JournalEvenements"), 0u);
}

TEST_F(EventLogTest, ARefusingLogCostsItsEventsOnlyAndTheSourceIsRegisteredAtStartUp) {
    fake.eventLog.reportError = RuntimeError(kErrPermissionDenied);
    fake.system.memory.availPageFile = 3000 * kMiB;
    start();
    EXPECT_EQ(fake.eventLog.registrations, 1);
    tickAtCommit(95);
    EXPECT_NE(fake.files.contents("C:\\Corvane\\Corvane.txt").value_or("").find("Alerte : e"),
              std::string::npos);
    window.onMenu(MenuItem::quitter);
    EXPECT_TRUE(fake.dialogs.shown.empty());
    EXPECT_EQ(fake.settings.values["NB"], "2");  // the exit went on
}

}  // namespace
}  // namespace corvane::testing
