// Faults from outside the program: the swap file going and coming back, a read-only program
// folder, a run killed between two saves, the tick counter's 32-bit limits, damaged settings
// and paging values of every kind.
#include <algorithm>
#include <filesystem>

#include "common/ticks.h"
#include "harness.h"
#include "persistence/settings.h"
#include "probes/registry_reader.h"

namespace corvane::testing {
namespace {

constexpr const char* kPagefile = "C:\\pagefile.sys";
constexpr const char* kJournal = "C:\\Corvane\\Corvane.txt";
const std::string kStartLine = "D\351but d'analyse le 08/12/2026 \340 07:15:30\r\n";

class FaultTest : public MonitorTest {
protected:
    void SetUp() override { setSwapMiB(50); }
    std::string stored(const char* key) { return fake.settings.values[key]; }
};

TEST_F(FaultTest, ASwapFileThatGoesAndComesBackKeepsTheStatisticsAndSamplingResumes) {
    window.onLoad();
    setSwapMiB(70);
    tick();
    std::filesystem::remove(fake.files.hostPath(kPagefile));
    fake.system.ticks += 3000;
    tick();
    tick();
    EXPECT_EQ(label(Control::swap), "SWAP: taille illisible (C:\\pagefile.sys)");
    EXPECT_EQ(label(Control::DebutWin), " 3 s");
    EXPECT_EQ(window.state().stats.sampleCount, 2);
    EXPECT_TRUE(fake.dialogs.shown.empty());
    EXPECT_FALSE(window.ended());

    setSwapMiB(60);
    tick();
    EXPECT_EQ(label(Control::swap), "SWAP: 60 Mo  Mini: 50 Mo  Maxi: 70 Mo  Moy: 60 Mo");
    window.onMenu(MenuItem::quitter);
    EXPECT_EQ(stored("NB"), "3");
    EXPECT_EQ(stored("TotSwap"), "180");
    EXPECT_NE(fake.files.contents(kJournal)->find("taille maximale de : 70Mo\r\n"),
              std::string::npos);
}

TEST_F(FaultTest, InAReadOnlyFolderTheResetsSayWhatFailedAndTheStatisticsAreStillSaved) {
    fake.files.put(kJournal, "earlier run\r\n");
    fake.files.readOnlyFolders.insert("C:\\Corvane");
    window.onLoad();
    // The lost start line is said once, and costs nothing else.
    ASSERT_EQ(fake.dialogs.shown.size(), 1u);
    EXPECT_EQ(fake.dialogs.shown[0].text.rfind("Corvane ne peut pas écrire dans son dossier", 0),
              0u);
    tick();

    fake.dialogs.answers = {MsgAnswer::Yes};
    window.onMenu(MenuItem::InitAll);
    ASSERT_EQ(fake.dialogs.shown.size(), 3u);
    EXPECT_EQ(fake.dialogs.shown[2].text,
              "Le journal n'a pas été réinitialisé : impossible de renommer "
              "C:\\Corvane\\Corvane.txt en C:\\Corvane\\Corvane.old\r\n"
              "Erreur 75 : Erreur d'accès Chemin/Fichier");
    EXPECT_EQ(stored("NB"), "0");  // the statistics were reset all the same
    tick();
    EXPECT_EQ(label(Control::swap), "SWAP: 50 Mo  Mini: 50 Mo  Maxi: 50 Mo  Moy: 50 Mo");

    window.onMenu(MenuItem::quitter);
    EXPECT_TRUE(window.ended());
    EXPECT_EQ(stored("NB"), "1");
    EXPECT_EQ(fake.files.contents(kJournal), "earlier run\r\n");
    EXPECT_EQ(
        fake.dialogs.shown.back().text.rfind("Le résumé de l'analyse n'a pas pu être écrit", 0),
        0u);
}

TEST_F(FaultTest, AKilledRunLeavesTheLastCheckpointForTheNextStart) {
    {
        MainWindow killed(fake.platform);
        killed.onLoad();
        for (int i = 0; i < 10; ++i) {
            fake.system.ticks += 60000;
            setSwapMiB(50 + 10 * static_cast<uint64_t>(i % 2));
            killed.onTimer(TimerId::MainTimer1);
        }
        // Ten minutes: saved with its 11 samples. Three more are lost with the process.
        EXPECT_EQ(stored("NB"), "11");
        for (int i = 0; i < 3; ++i) {
            fake.system.ticks += 60000;
            killed.onTimer(TimerId::MainTimer1);
        }
        EXPECT_FALSE(killed.ended());
    }  // killed: no exit procedure, no summary

    fake.system.ticks += 3600000;  // an hour later
    setSwapMiB(80);
    MainWindow next(fake.platform);
    next.onLoad();
    EXPECT_TRUE(fake.dialogs.shown.empty());
    EXPECT_EQ(next.state().stats.sampleCount, 12);
    EXPECT_EQ(label(Control::swap), "SWAP: 80 Mo  Mini: 50 Mo  Maxi: 80 Mo  Moy: 57 Mo");
    EXPECT_EQ(label(Control::DebutWin), " 10 mn 0 s");
    // A start line without a summary, then the next run's.
    EXPECT_EQ(fake.files.contents(kJournal), kStartLine + kStartLine);
}

TEST_F(FaultTest, TheTickCounterCrossingTwoToThe31And32DoesNotDisturbTheElapsedTime) {
    fake.system.ticks = (1ull << 31) - 5000;
    window.onLoad();
    fake.system.ticks = (1ull << 31) + 5000;
    tick();
    EXPECT_EQ(label(Control::DebutWin), " 10 s");
    // 2^32 - 2^31 + 5000 ms after the start: 596 h 31 mn 28.648 s.
    fake.system.ticks = (1ull << 32);
    tick();
    EXPECT_EQ(label(Control::DebutWin), "596 h 31 mn 29 s");
    EXPECT_EQ(stored("Elapsed"), std::to_string((1ull << 32) - (1ull << 31) + 5000));  // checkpoint
    fake.system.ticks = (1ull << 32) + 7000;
    tick();
    window.onMenu(MenuItem::quitter);
    EXPECT_EQ(stored("Elapsed"), std::to_string((1ull << 31) + 12000));
}

TEST(WideTicks, CarriesTheThirtyTwoBitCounterAcrossItsWrap) {
    WideTicks ticks;
    EXPECT_EQ(ticks.widen(5), 5u);
    EXPECT_EQ(ticks.widen(0x7FFFFFFF), 0x7FFFFFFFu);
    EXPECT_EQ(ticks.widen(0x80000001), 0x80000001u);  // 2^31: still counting up
    EXPECT_EQ(ticks.widen(0xFFFFFFF0), 0xFFFFFFF0u);
    EXPECT_EQ(ticks.widen(0x10), 0x100000010u);  // past 2^32
    EXPECT_EQ(ticks.widen(0x10), 0x100000010u);
    EXPECT_EQ(ticks.widen(0x20), 0x100000020u);
    EXPECT_EQ(ticks.widen(0x5), 0x200000005u);  // the second wrap
}

// What the start-up makes of one damaged setting.
enum class Outcome {
    Loaded,    // read as a number: the run goes on, nothing said
    Changed,   // read, but it differs from the swap configuration: the change warning
    Mismatch,  // 13: "Problème au chargement ...", the analysis restarts, the run goes on
    Overflow,  // 6: the unexpected-error message, the program ends; the next start is clean
};

TEST(DamagedSettings, EveryConvertedKeyInEveryWayRecoversAsTheStartUpSays) {
    const std::string digits(10000, '9');
    const std::string letters(10000, 'x');
    const std::vector<std::string> damages = {"",     "abc",  "2.5", "-5", "99999999999",
                                              digits, letters};
    using O = Outcome;
    // One row per key, one column per damage, in the order above.
    const std::vector<std::pair<const char*, std::vector<Outcome>>> table = {
        {"JM_R",
         {O::Mismatch, O::Mismatch, O::Loaded, O::Loaded, O::Loaded, O::Overflow, O::Mismatch}},
        {"NB",
         {O::Mismatch, O::Mismatch, O::Loaded, O::Mismatch, O::Overflow, O::Overflow, O::Mismatch}},
        {"MaxSwap",
         {O::Mismatch, O::Mismatch, O::Loaded, O::Mismatch, O::Overflow, O::Overflow, O::Mismatch}},
        {"TotSwap",
         {O::Mismatch, O::Mismatch, O::Loaded, O::Mismatch, O::Mismatch, O::Mismatch, O::Mismatch}},
        {"MinSwap",
         {O::Mismatch, O::Mismatch, O::Loaded, O::Mismatch, O::Overflow, O::Overflow, O::Mismatch}},
        {"MemoMinPaging",
         {O::Mismatch, O::Mismatch, O::Changed, O::Changed, O::Overflow, O::Overflow, O::Mismatch}},
        {"MemoMaxPaging",
         {O::Mismatch, O::Mismatch, O::Changed, O::Changed, O::Overflow, O::Overflow, O::Mismatch}},
        {"Elapsed",
         {O::Mismatch, O::Mismatch, O::Loaded, O::Mismatch, O::Loaded, O::Overflow, O::Mismatch}},
        {"Raffraichissement",
         {O::Mismatch, O::Mismatch, O::Loaded, O::Loaded, O::Overflow, O::Overflow, O::Mismatch}},
    };
    for (const auto& [key, outcomes] : table) {
        for (size_t d = 0; d < damages.size(); ++d) {
            SCOPED_TRACE(std::string(key) + " = \"" + damages[d].substr(0, 12) + "\" (" +
                         std::to_string(damages[d].size()) + " characters)");
            fake::FakePlatform f;
            f.files.resize(kPagefile, 50 * kMiB);
            f.registry.setMultiString(RootKey::LocalMachine, kMemoryManagementKey, "PagingFiles",
                                      {"C:\\pagefile.sys 1536 3072"});
            f.settings.values = {{"JM_R", "True"},        {"NB", "5"},
                                 {"MemoSwap", kPagefile}, {"MaxSwap", "90"},
                                 {"TotSwap", "300"},      {"MinSwap", "40"},
                                 {"MemoMinPaging", "0"},  {"MemoMaxPaging", "0"},
                                 {"Elapsed", "60000"},    {"Raffraichissement", "5"}};
            f.settings.values[key] = damages[d];
            MainWindow w(f.platform);
            w.onLoad();

            switch (outcomes[d]) {
                case O::Loaded:
                    EXPECT_TRUE(f.dialogs.shown.empty());
                    EXPECT_FALSE(w.ended());
                    EXPECT_EQ(f.view.texts[Control::swap].rfind("SWAP: 50 Mo  Mini: ", 0), 0u);
                    break;
                case O::Changed:
                    ASSERT_EQ(f.dialogs.shown.size(), 1u);
                    EXPECT_EQ(f.dialogs.shown[0].text,
                              "Vos paramètres de fichier SWAP ont changé\r\n"
                              "Réinitialisation de l'analyse");
                    EXPECT_FALSE(w.ended());
                    EXPECT_EQ(w.state().stats.sampleCount, 1);
                    break;
                case O::Mismatch:
                    ASSERT_EQ(f.dialogs.shown.size(), 1u);
                    EXPECT_EQ(f.dialogs.shown[0].text,
                              "Problème au chargement de vos paramères !\r\nRéinitialisation");
                    EXPECT_EQ(f.dialogs.shown[0].title, "Vous pouvez continuer !");
                    EXPECT_FALSE(w.ended());
                    EXPECT_TRUE(f.view.timers[TimerId::MainTimer1].enabled);
                    EXPECT_EQ(f.settings.values["MinSwap"], "32767");
                    EXPECT_LE(w.state().stats.sampleCount, 1);
                    break;
                case O::Overflow:
                    ASSERT_EQ(f.dialogs.shown.size(), 1u);
                    EXPECT_EQ(f.dialogs.shown[0].text,
                              "Erreur : 6\r\nDépassement de capacité\r\n"
                              "Envoyez-moi un mél avec cette copie d'écran SVP, merci");
                    EXPECT_EQ(f.dialogs.shown[0].title, "Erreur imprévue au chargement");
                    EXPECT_TRUE(w.ended());
                    break;
            }
            if (w.ended()) {
                MainWindow again(f.platform);
                again.onLoad();
                EXPECT_EQ(f.dialogs.shown.size(), 1u) << "the next start is not clean";
                EXPECT_FALSE(again.ended());
            }
        }
    }
}

TEST(PagingFilesValue, EveryTypeAndSizeEitherNamesTheSwapFileOrIsReportedAtStartUp) {
    const std::string entry = std::string("C:\\pagefile.sys 1536 3072") + '\0';
    // A multi-string of exactly `size` bytes: the entry, a filler string, and the closing NULs.
    auto ofSize = [&](size_t size) {
        std::string data = entry + std::string(size - entry.size() - 2, 'x') + '\0';
        return data + '\0';
    };
    struct Case {
        const char* what;
        uint32_t type;
        std::string data;
        const char* swapLabel;  // nullptr: the "not found" message, then the end
    };
    const char* sampled = "SWAP: 50 Mo  Mini: 50 Mo  Maxi: 50 Mo  Moy: 50 Mo";
    std::vector<Case> cases = {
        {"REG_NONE", kRegNone, entry + '\0', sampled},
        {"REG_SZ", kRegSz, entry, sampled},
        {"REG_EXPAND_SZ", kRegExpandSz, entry, sampled},
        {"REG_MULTI_SZ", kRegMultiSz, entry + '\0', sampled},
        {"REG_LINK", kRegLink, entry, sampled},
        {"REG_DWORD_BIG_ENDIAN", kRegDwordBigEndian, entry, sampled},
        {"REG_RESOURCE_LIST", 8, entry, sampled},
        {"REG_QWORD", 11, entry, sampled},
        // Numbers name no file the sampling can read: the window says so at every tick.
        {"REG_DWORD", kRegDword, std::string("\x05\x00\x00\x00", 4),
         "SWAP: taille illisible (005)"},
        {"REG_BINARY", kRegBinary, "AB", "SWAP: taille illisible (4142)"},
        {"empty REG_MULTI_SZ", kRegMultiSz, "", nullptr},
        {"empty REG_SZ", kRegSz, std::string(1, '\0'), nullptr},
        {"2047 bytes", kRegMultiSz, ofSize(2047), sampled},
        {"2048 bytes", kRegMultiSz, ofSize(2048), sampled},
        {"2049 bytes", kRegMultiSz, ofSize(2049), nullptr},
    };
    for (const Case& test : cases) {
        SCOPED_TRACE(test.what);
        fake::FakePlatform f;
        f.files.resize(kPagefile, 50 * kMiB);
        f.registry.set(RootKey::LocalMachine, kMemoryManagementKey, "PagingFiles", test.type,
                       test.data);
        MainWindow w(f.platform);
        w.onLoad();
        if (test.swapLabel) {
            EXPECT_TRUE(f.dialogs.shown.empty());
            EXPECT_FALSE(w.ended());
            EXPECT_EQ(f.view.texts[Control::swap], test.swapLabel);
        } else {
            ASSERT_EQ(f.dialogs.shown.size(), 1u);
            EXPECT_EQ(f.dialogs.shown[0].title, "Erreur terrible!.....");
            EXPECT_TRUE(w.ended());
        }
    }
}

}  // namespace
}  // namespace corvane::testing
