// The Prometheus export: the exposition text (HELP and TYPE, units, counters, escaping, the
// final line feed, figures left out), the file written whole at each minute's end and at each
// alert, what a missing, read-only, locked or full folder costs, and the dialog's choices.
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <set>
#include <sstream>

#include "harness.h"
#include "prometheus/prometheus_place.h"
#include "prometheus/prometheus_text.h"

namespace corvane::testing {
namespace {

constexpr const char* kJournal = "C:\\Corvane\\Corvane.txt";
constexpr const char* kFolder = "C:\\textfile_inputs";
constexpr const char* kFile = "C:\\textfile_inputs\\corvane.prom";
constexpr const char* kTemporary = "C:\\textfile_inputs\\corvane.prom.tmp";
const std::string kStartLine = "D\351but d'analyse le 08/12/2026 \340 07:15:30\r\n";

// ---- The text ----

TEST(PrometheusText, TheAdviceAndTheForecastWithTheTimeLeftOnlyWhileTheCommitRises) {
    PrometheusFigures f;
    f.commitTrendBytesPerSecond = -2500;
    f.attainableLimitBytes = 5120 * kMiB;
    f.advisedInitialBytes = 1728 * kMiB;
    f.advisedMaximumBytes = 2496 * kMiB;
    f.volumeFreeBytes = {{"C:", 1000}, {"D:", 2000}};
    std::string text = prometheusText(f);
    for (const char* line :
         {"# TYPE corvane_commit_trend_bytes_per_second gauge\ncorvane_commit_trend_bytes_per_"
          "second -2500\n",
          "# TYPE corvane_commit_attainable_limit_bytes gauge\ncorvane_commit_attainable_limit_"
          "bytes 5368709120\n",
          "corvane_advised_page_file_initial_bytes 1811939328\n",
          "corvane_advised_page_file_maximum_bytes 2617245696\n",
          "corvane_page_file_volume_free_bytes{volume=\"C:\"} 1000\n"
          "corvane_page_file_volume_free_bytes{volume=\"D:\"} 2000\n"}) {
        EXPECT_NE(text.find(line), std::string::npos) << line;
    }
    EXPECT_EQ(text.find("corvane_commit_exhaustion_seconds"), std::string::npos);
    f.exhaustionSeconds = 18600;
    EXPECT_NE(prometheusText(f).find("# TYPE corvane_commit_exhaustion_seconds gauge\n"
                                     "corvane_commit_exhaustion_seconds 18600\n"),
              std::string::npos);
}

TEST(PrometheusText, EveryMetricHasItsHelpAndTypeInBaseUnitsAndTheFileEndsWithALineFeed) {
    PrometheusFigures f;
    f.swap = PrometheusSwap{"C:\\pagefile.sys", 70 * kMiB, 50 * kMiB, 80 * kMiB, 60 * kMiB};
    f.samples = 3;
    f.elapsedSeconds = 125;
    f.memoryUsedBytes = 1000;
    f.memoryTotalBytes = 4000;
    f.commitBytes = 300;
    f.commitLimitBytes = 900;
    f.commitPeakBytes = 400;
    f.pageFiles = std::vector<PageFileUse>{{"C:\\pagefile.sys", 80, 20, 30}};
    f.alerts = {{"engagement", true, 2}, {"swap", false, 0}};
    f.programs = std::vector<PrometheusProgram>{{"a.exe", 500, true}, {"b.exe", 400, false}};
    EXPECT_EQ(prometheusText(f),
              "# HELP corvane_build_info Version de Corvane qui a écrit ce fichier.\n"
              "# TYPE corvane_build_info gauge\n"
              "corvane_build_info{version=\"" CORVANE_TEST_VERSION
              "\"} 1\n"
              "# HELP corvane_swap_file_size_bytes Taille du fichier SWAP au dernier relevé.\n"
              "# TYPE corvane_swap_file_size_bytes gauge\n"
              "corvane_swap_file_size_bytes{path=\"C:\\\\pagefile.sys\"} 73400320\n"
              "# HELP corvane_swap_file_min_bytes Plus petite taille du fichier SWAP depuis le "
              "début de l'analyse.\n"
              "# TYPE corvane_swap_file_min_bytes gauge\n"
              "corvane_swap_file_min_bytes{path=\"C:\\\\pagefile.sys\"} 52428800\n"
              "# HELP corvane_swap_file_max_bytes Plus grande taille du fichier SWAP depuis le "
              "début de l'analyse.\n"
              "# TYPE corvane_swap_file_max_bytes gauge\n"
              "corvane_swap_file_max_bytes{path=\"C:\\\\pagefile.sys\"} 83886080\n"
              "# HELP corvane_swap_file_average_bytes Taille moyenne du fichier SWAP depuis le "
              "début de l'analyse.\n"
              "# TYPE corvane_swap_file_average_bytes gauge\n"
              "corvane_swap_file_average_bytes{path=\"C:\\\\pagefile.sys\"} 62914560\n"
              "# HELP corvane_samples_total Relevés de l'analyse en cours.\n"
              "# TYPE corvane_samples_total counter\n"
              "corvane_samples_total 3\n"
              "# HELP corvane_analysis_elapsed_seconds Durée de l'analyse en cours.\n"
              "# TYPE corvane_analysis_elapsed_seconds gauge\n"
              "corvane_analysis_elapsed_seconds 125\n"
              "# HELP corvane_memory_used_bytes Mémoire physique occupée.\n"
              "# TYPE corvane_memory_used_bytes gauge\n"
              "corvane_memory_used_bytes 1000\n"
              "# HELP corvane_memory_total_bytes Mémoire physique totale.\n"
              "# TYPE corvane_memory_total_bytes gauge\n"
              "corvane_memory_total_bytes 4000\n"
              "# HELP corvane_commit_bytes Engagement (mémoire promise aux programmes).\n"
              "# TYPE corvane_commit_bytes gauge\n"
              "corvane_commit_bytes 300\n"
              "# HELP corvane_commit_limit_bytes Limite de l'engagement.\n"
              "# TYPE corvane_commit_limit_bytes gauge\n"
              "corvane_commit_limit_bytes 900\n"
              "# HELP corvane_commit_peak_bytes Plus grand engagement depuis le début de "
              "l'analyse.\n"
              "# TYPE corvane_commit_peak_bytes gauge\n"
              "corvane_commit_peak_bytes 400\n"
              "# HELP corvane_page_file_size_bytes Taille de chaque fichier d'échange.\n"
              "# TYPE corvane_page_file_size_bytes gauge\n"
              "corvane_page_file_size_bytes{path=\"C:\\\\pagefile.sys\"} 80\n"
              "# HELP corvane_page_file_used_bytes Part utilisée de chaque fichier d'échange.\n"
              "# TYPE corvane_page_file_used_bytes gauge\n"
              "corvane_page_file_used_bytes{path=\"C:\\\\pagefile.sys\"} 20\n"
              "# HELP corvane_page_file_peak_bytes Plus grande part utilisée de chaque fichier "
              "d'échange depuis le démarrage de Windows.\n"
              "# TYPE corvane_page_file_peak_bytes gauge\n"
              "corvane_page_file_peak_bytes{path=\"C:\\\\pagefile.sys\"} 30\n"
              "# HELP corvane_alert_active 1 tant qu'une alerte levée n'est pas retombée sous "
              "son seuil.\n"
              "# TYPE corvane_alert_active gauge\n"
              "corvane_alert_active{alert=\"engagement\"} 1\n"
              "corvane_alert_active{alert=\"swap\"} 0\n"
              "# HELP corvane_alerts_total Alertes levées depuis le lancement de Corvane.\n"
              "# TYPE corvane_alerts_total counter\n"
              "corvane_alerts_total{alert=\"engagement\"} 2\n"
              "corvane_alerts_total{alert=\"swap\"} 0\n"
              "# HELP corvane_top_program_commit_bytes Engagement des trois programmes qui en "
              "tiennent le plus, les processus d'un même nom additionnés.\n"
              "# TYPE corvane_top_program_commit_bytes gauge\n"
              "corvane_top_program_commit_bytes{name=\"a.exe\"} 500\n"
              "corvane_top_program_commit_bytes{name=\"b.exe\"} 400\n"
              "# HELP corvane_top_program_commit_capped 1 : l'engagement de ce programme est lu "
              "dans un champ de 32 bits ; à partir de 4 Gio le chiffre exporté n'est pas le "
              "vrai.\n"
              "# TYPE corvane_top_program_commit_capped gauge\n"
              "corvane_top_program_commit_capped{name=\"a.exe\"} 1\n");
}

TEST(PrometheusText, AFigureWindowsDoesNotGiveIsLeftOutWholeNeverWrittenAsZero) {
    // Windows 9x: no commit, no page file list, no process list; no swap file read yet.
    PrometheusFigures f;
    f.samples = 0;
    f.memoryUsedBytes = 10;
    f.memoryTotalBytes = 20;
    f.alerts = {{"engagement", false, 0}};
    std::string text = prometheusText(f);
    for (const char* absent :
         {"corvane_commit", "corvane_page_file", "corvane_swap_file", "corvane_top_program"}) {
        EXPECT_EQ(text.find(absent), std::string::npos) << absent;
    }
    EXPECT_NE(text.find("\ncorvane_memory_total_bytes 20\n"), std::string::npos);
    // An empty list (no page file in use) is no sample either: no TYPE without a sample.
    f.pageFiles = std::vector<PageFileUse>{};
    f.programs = std::vector<PrometheusProgram>{};
    EXPECT_EQ(prometheusText(f), text);
    EXPECT_EQ(text.back(), '\n');
}

TEST(PrometheusText, LabelValuesEscapeBackslashQuoteAndLineFeedAndKeepOtherCharacters) {
    EXPECT_EQ(prometheusLabelValue("a\\b\"c\nd"), "a\\\\b\\\"c\\nd");
    EXPECT_EQ(prometheusLabelValue("Дмитрий été\t;%"), "Дмитрий été\t;%");
    PrometheusFigures f;
    f.programs = std::vector<PrometheusProgram>{{"mal\"in\\\n.exe", 1, false}};
    EXPECT_NE(prometheusText(f).find(
                  "corvane_top_program_commit_bytes{name=\"mal\\\"in\\\\\\n.exe\"} 1\n"),
              std::string::npos);
}

TEST(PrometheusPlace, TheFileAndItsTemporaryLieInTheFolderAndBadFoldersAreRefused) {
    EXPECT_EQ(prometheusPath("C:\\x"), "C:\\x\\corvane.prom");
    EXPECT_EQ(prometheusPath("D:\\"), "D:\\corvane.prom");
    EXPECT_EQ(prometheusTemporaryPath("C:\\x"), "C:\\x\\corvane.prom.tmp");
    EXPECT_FALSE(prometheusSettingsProblem({false, ""}));
    EXPECT_FALSE(prometheusSettingsProblem({true, "C:\\Données\\Дмитрий"}));
    EXPECT_FALSE(prometheusSettingsProblem({true, "\\\\serveur\\partage"}));
    EXPECT_EQ(prometheusSettingsProblem({true, ""}),
              "Choisissez le dossier où l'exportateur lit les fichiers .prom.");
    for (const char* bad : {"C:\\a\"b", "C:\\a?", "C:\\a|b", "C:\\a:b", "C:\\a\nb"}) {
        EXPECT_TRUE(prometheusSettingsProblem({false, bad})) << bad;
    }
}

// promtool's answer to `arguments` and its exit status; a loud skip without promtool (a
// failure in CI, where nothing may skip itself).
struct Promtool {
    int status = -1;
    std::string said;
};
std::optional<Promtool> promtool(const std::string& arguments) {
    if (std::system("command -v promtool >/dev/null 2>&1") != 0) return std::nullopt;
    FILE* pipe = popen(("promtool " + arguments + " 2>&1").c_str(), "r");
    if (!pipe) return std::nullopt;
    Promtool result;
    char buffer[256];
    while (size_t n = fread(buffer, 1, sizeof buffer, pipe)) result.said.append(buffer, n);
    result.status = pclose(pipe);
    return result;
}
#define SKIP_WITHOUT_PROMTOOL(answer)                                                   \
    if (!(answer)) {                                                                    \
        const char* ci = std::getenv("CI");                                             \
        if (ci && std::string(ci) == "true") FAIL() << "promtool is missing";           \
        GTEST_SKIP() << "## WARNING: promtool is not installed: this check is skipped"; \
    }

std::string readText(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

TEST(PrometheusRules, TheHelpPagesExampleRulesAreTheFilesAndPromtoolAcceptsThem) {
    const std::string rules = std::string(CORVANE_DOC_DIR) + "/corvane-alertes.yml";
    const std::string yml = readText(rules);
    const std::string page = readText(std::string(CORVANE_DOC_DIR) + "/aide.html");
    ASSERT_FALSE(yml.empty());
    // Each expression, as the page escapes it.
    std::istringstream lines(yml);
    int expressions = 0;
    for (std::string line; std::getline(lines, line);) {
        if (line.find("expr:") == std::string::npos) continue;
        ++expressions;
        std::string escaped;
        for (char c : line) {
            if (c == '&')
                escaped += "&amp;";
            else if (c == '<')
                escaped += "&lt;";
            else if (c == '>')
                escaped += "&gt;";
            else
                escaped += c;
        }
        EXPECT_NE(page.find(escaped), std::string::npos) << line;
    }
    EXPECT_EQ(expressions, 3);
    std::optional<Promtool> answer = promtool("check rules '" + rules + "'");
    SKIP_WITHOUT_PROMTOOL(answer);
    EXPECT_EQ(answer->status, 0) << answer->said;
}

// ---- The file, over the fake ----

class PrometheusTest : public MonitorTest {
protected:
    void SetUp() override {
        setSwapMiB(100);
        fake.files.makeFolder(kFolder);
        fake.settings.values["ExportPrometheus"] = "True";
        fake.settings.values["DossierPrometheus"] = kFolder;
    }
    // Started and shown, as the program is: the first file comes with the first minute's scan.
    void start() {
        window.onLoad();
        ASSERT_FALSE(window.ended());
        window.onShown();
    }
    void tickAfter(uint64_t ms) {
        fake.system.ticks += ms;
        tick();
    }
    std::string file() { return fake.files.contents(kFile).value_or("(none)"); }
    bool has(const std::string& line) {
        return file().find("\n" + line + "\n") != std::string::npos;
    }
    std::string journalAfterStart() {
        std::string journal = fake.files.contents(kJournal).value_or("");
        EXPECT_EQ(journal.substr(0, kStartLine.size()), kStartLine);
        return journal.substr(std::min(journal.size(), kStartLine.size()));
    }
};

TEST_F(PrometheusTest, TheFirstSampleIsWrittenThenEachMinutesEndAndEachAlert) {
    fake.memory.running = {true, {{40, 1, "gros.exe", 900 * kMiB}, {8, 1, "petit.exe", kMiB}}};
    start();
    EXPECT_TRUE(has("corvane_swap_file_size_bytes{path=\"C:\\\\pagefile.sys\"} 104857600"))
        << file();
    EXPECT_TRUE(has("corvane_samples_total 1"));
    EXPECT_TRUE(
        has("corvane_top_program_commit_bytes{name=\"gros.exe\"} " + std::to_string(900 * kMiB)));
    EXPECT_TRUE(has("corvane_memory_total_bytes " + std::to_string(2048 * kMiB - 100000)));
    EXPECT_FALSE(fake.files.exists(kTemporary));

    // Within the minute, nothing is written again.
    setSwapMiB(120);
    tickAfter(20000);
    EXPECT_TRUE(has("corvane_samples_total 1"));
    // The minute's end writes the figures of its last sample.
    tickAfter(40000);
    EXPECT_TRUE(has("corvane_samples_total 3"));
    EXPECT_TRUE(has("corvane_swap_file_max_bytes{path=\"C:\\\\pagefile.sys\"} 125829120"));
    EXPECT_TRUE(has("corvane_alert_active{alert=\"swap\"} 0"));

    // An alert is written at once, with its state and count.
    setSwapMiB(700);
    tickAfter(1000);
    EXPECT_TRUE(has("corvane_samples_total 4"));
    EXPECT_TRUE(has("corvane_alert_active{alert=\"swap\"} 1")) << file();
    EXPECT_TRUE(has("corvane_alerts_total{alert=\"swap\"} 1"));
    EXPECT_EQ(journalAfterStart().find("Exportation"), std::string::npos);
    EXPECT_TRUE(fake.dialogs.shown.empty());
}

TEST_F(PrometheusTest, TheCommitsPeakIsNeverBelowTheCommitNow) {
    // 1096 Mo and 100 000 bytes in use: its whole Mo round below it.
    fake.system.memory.commitKnown = true;
    fake.system.memory.availPageFile = 3000 * kMiB - 100000;
    start();
    const uint64_t used = 1096 * kMiB + 100000;
    EXPECT_TRUE(has("corvane_commit_bytes " + std::to_string(used))) << file();
    EXPECT_TRUE(has("corvane_commit_limit_bytes " + std::to_string(4096 * kMiB)));
    EXPECT_TRUE(has("corvane_commit_peak_bytes " + std::to_string(used)));
    fake.system.memory.availPageFile = 3500 * kMiB;  // the commit falls: its peak stays
    tickAfter(60000);
    EXPECT_TRUE(has("corvane_commit_bytes " + std::to_string(596 * kMiB)));
    EXPECT_TRUE(has("corvane_commit_peak_bytes " + std::to_string(1096 * kMiB)));
}

// Prometheus' own checker reads the file Corvane writes for programs with hostile names: one
// unescaped quote, backslash or line feed and its parser refuses the whole file, as the
// exporters' collectors then do.
TEST_F(PrometheusTest, PromtoolAcceptsTheFileWhateverTheProgramsAreNamed) {
    fake.memory.running = {true,
                           {{40, 1, "mal\"in.exe", 900 * kMiB},
                            {41, 1, "C:\\x\\Дмитрий.exe", 800 * kMiB},
                            {42, 1, "deux\nlignes\n", 700 * kMiB}}};
    start();
    EXPECT_TRUE(has("corvane_top_program_commit_bytes{name=\"mal\\\"in.exe\"} " +
                    std::to_string(900 * kMiB)))
        << file();
    EXPECT_TRUE(has("corvane_top_program_commit_bytes{name=\"deux\\nlignes\\n\"} " +
                    std::to_string(700 * kMiB)))
        << file();
    EXPECT_TRUE(has("corvane_top_program_commit_bytes{name=\"C:\\\\x\\\\Дмитрий.exe\"} " +
                    std::to_string(800 * kMiB)))
        << file();
    std::optional<Promtool> answer =
        promtool("check metrics < '" + fake.files.hostPath(kFile).string() + "'");
    SKIP_WITHOUT_PROMTOOL(answer);
    EXPECT_EQ(answer->status, 0) << answer->said << "\n" << file();
    EXPECT_EQ(answer->said, "");
}

// Programs restart and change places over the minutes: each name stays one series, the
// processes of one name are one figure, and a figure read through a 32-bit field is marked.
TEST_F(PrometheusTest, EachProgramIsOneSeriesByNameWhateverItsPlaceOrProcessAndA32BitReadIsMarked) {
    fake.memory.running = {true,
                           {{40, 1, "navigateur.exe", 300 * kMiB},
                            {41, 1, "navigateur.exe", 200 * kMiB},
                            {50, 1, "base.exe", 400 * kMiB, true},
                            {60, 1, "petit.exe", 2 * kMiB},
                            {70, 1, "rien.exe", kMiB}}};
    std::set<std::string> series;
    auto collect = [&] {
        std::istringstream lines(file());
        for (std::string line; std::getline(lines, line);) {
            if (line.rfind("corvane_top_program", 0) == 0)
                series.insert(line.substr(0, line.find('}') + 1));
        }
    };
    start();
    collect();
    EXPECT_TRUE(has("corvane_top_program_commit_bytes{name=\"navigateur.exe\"} " +
                    std::to_string(500 * kMiB)))
        << file();
    EXPECT_TRUE(
        has("corvane_top_program_commit_bytes{name=\"base.exe\"} " + std::to_string(400 * kMiB)));
    EXPECT_TRUE(has("corvane_top_program_commit_capped{name=\"base.exe\"} 1"));

    // base.exe starts again under another id and falls behind petit.exe; navigateur.exe leads.
    fake.memory.running = {true,
                           {{40, 1, "navigateur.exe", 300 * kMiB},
                            {41, 1, "navigateur.exe", 250 * kMiB},
                            {51, 2, "base.exe", 100 * kMiB, true},
                            {60, 1, "petit.exe", 150 * kMiB},
                            {70, 1, "rien.exe", kMiB}}};
    for (int minute = 0; minute < 15; ++minute) {
        tickAfter(60000);
        collect();
    }
    EXPECT_TRUE(
        has("corvane_top_program_commit_bytes{name=\"base.exe\"} " + std::to_string(100 * kMiB)))
        << file();
    EXPECT_EQ(series,
              (std::set<std::string>{"corvane_top_program_commit_bytes{name=\"base.exe\"}",
                                     "corvane_top_program_commit_bytes{name=\"navigateur.exe\"}",
                                     "corvane_top_program_commit_bytes{name=\"petit.exe\"}",
                                     "corvane_top_program_commit_capped{name=\"base.exe\"}"}));
    std::optional<Promtool> answer =
        promtool("check metrics < '" + fake.files.hostPath(kFile).string() + "'");
    SKIP_WITHOUT_PROMTOOL(answer);
    EXPECT_EQ(answer->status, 0) << answer->said << "\n" << file();
    EXPECT_EQ(answer->said, "");
}

TEST_F(PrometheusTest, NothingIsWrittenWhileTheExportIsOffWhichItIsByDefault) {
    fake.settings.values.erase("ExportPrometheus");
    start();
    tickAfter(60000);
    EXPECT_FALSE(fake.files.exists(kFile));
    EXPECT_FALSE(window.state().prometheus.on);
}

TEST_F(PrometheusTest, OnWindows9xTheCommitAndTheListsAreLeftOut) {
    fake.system.version = fake::osVersion(1, 4, 10, 2222, " A ", 0);
    fake.system.memory.commitKnown = false;
    fake.memory.commit.reset();
    fake.memory.files = {false, {}};
    fake.memory.running = {false, {}};
    start();
    ASSERT_TRUE(fake.files.exists(kFile));
    for (const char* absent : {"corvane_commit", "corvane_page_file", "corvane_top_program"}) {
        EXPECT_EQ(file().find(absent), std::string::npos) << absent;
    }
    EXPECT_NE(file().find("corvane_memory_used_bytes"), std::string::npos);
}

TEST_F(PrometheusTest, AFolderRemovedCostsOneJournalLineAndIsTriedAgainEachMinute) {
    start();
    ASSERT_TRUE(fake.files.exists(kFile));
    fake.files.removeFolder(kFolder);
    const std::string line =
        "Exportation Prometheus : C:\\textfile_inputs\\corvane.prom n'a pas pu \352tre \351crit "
        "(le dossier C:\\textfile_inputs n'existe pas) le 08/12/2026 \340 07:15:30\r\n";
    tickAfter(60000);
    EXPECT_EQ(journalAfterStart(), line);
    tickAfter(60000);
    EXPECT_EQ(journalAfterStart(), line);  // said once, not at every minute
    EXPECT_TRUE(fake.dialogs.shown.empty());

    fake.files.makeFolder(kFolder);
    tickAfter(60000);
    EXPECT_TRUE(has("corvane_samples_total 4"));
    // Failing again after it worked is said again.
    fake.files.readOnlyFolders.insert(kFolder);
    tickAfter(60000);
    EXPECT_NE(journalAfterStart().find("(Erreur 75"), std::string::npos) << journalAfterStart();
    EXPECT_TRUE(has("corvane_samples_total 4"));  // the last good file stays
}

TEST_F(PrometheusTest, ALockedFileOrAFullDiskLeavesTheLastWholeFileAndNoTemporary) {
    start();
    const std::string first = file();
    ASSERT_NE(first, "(none)");
    fake.files.lockedFiles.insert(kFile);
    tickAfter(60000);
    tickAfter(60000);  // held at two writes in a row: a failure that lasts
    EXPECT_EQ(file(), first);
    EXPECT_FALSE(fake.files.exists(kTemporary));
    EXPECT_NE(journalAfterStart().find("(Erreur 70"), std::string::npos) << journalAfterStart();
    fake.files.lockedFiles.clear();

    // The disk fills up within the temporary file (the journal's line finds no room either).
    fake.files.freeBytes = 100;
    tickAfter(60000);
    EXPECT_EQ(file(), first);
    EXPECT_FALSE(fake.files.exists(kTemporary));
    EXPECT_TRUE(fake.dialogs.shown.empty());
}

// An exporter's scrape opens the file without letting it be replaced, for milliseconds: the
// replace is tried again shortly, and only a file still held at the next write is said.
TEST_F(PrometheusTest, AFileAnExporterHoldsIsTriedAgainShortlyAndOnlyALastingHoldIsSaid) {
    start();
    int tries = 0;
    fake.files.unreplaceable.insert(kFile);
    fake.files.onReplace = [&] {
        if (++tries == 3) fake.files.unreplaceable.clear();
    };
    tickAfter(60000);
    EXPECT_TRUE(has("corvane_samples_total 2")) << file();
    EXPECT_EQ(fake.system.pauses, (std::vector<uint32_t>{35, 35}));
    EXPECT_EQ(journalAfterStart(), "");

    // Held through a whole write's tries, then free, then held through one again: each time
    // the last whole file stays, and nothing is said.
    fake.files.onReplace = nullptr;
    for (bool held : {true, false, true}) {
        if (held) fake.files.unreplaceable.insert(kFile);
        if (!held) fake.files.unreplaceable.clear();
        tickAfter(60000);
        EXPECT_EQ(journalAfterStart(), "");
        EXPECT_FALSE(fake.files.exists(kTemporary));
    }
    EXPECT_TRUE(has("corvane_samples_total 4"));
    // Held at the next write too: it lasts, and is said once.
    tickAfter(60000);
    tickAfter(60000);
    const std::string journal = journalAfterStart();
    EXPECT_NE(journal.find("corvane.prom n'a pas pu \352tre \351crit (Erreur 70"),
              std::string::npos)
        << journal;
    EXPECT_EQ(journal.find("Exportation", 1), std::string::npos) << journal;
    EXPECT_TRUE(has("corvane_samples_total 4"));
}

// A file left where the export no longer writes would serve its last figures as current ones
// (an alert raised forever): it goes when the export is moved or turned off.
TEST_F(PrometheusTest, MovedOrTurnedOffTheExportTakesItsFileFromTheFolderItLeaves) {
    const std::string other = "C:\\autre";
    fake.files.makeFolder(other);
    start();
    ASSERT_TRUE(fake.files.exists(kFile));
    fake.windows.prometheusAnswer = PrometheusSettings{true, other};
    window.onMenu(MenuItem::prometheus);
    EXPECT_FALSE(fake.files.exists(kFile));
    EXPECT_TRUE(fake.files.exists(other + "\\corvane.prom"));

    fake.windows.prometheusAnswer = PrometheusSettings{false, other};
    window.onMenu(MenuItem::prometheus);
    tickAfter(60000);
    EXPECT_FALSE(fake.files.exists(other + "\\corvane.prom"));
    EXPECT_FALSE(fake.files.exists(kFile));

    // A file another program keeps open stays, and the journal says where.
    fake.windows.prometheusAnswer = PrometheusSettings{true, kFolder};
    window.onMenu(MenuItem::prometheus);
    ASSERT_TRUE(fake.files.exists(kFile));
    fake.files.lockedFiles.insert(kFile);
    fake.windows.prometheusAnswer = PrometheusSettings{false, kFolder};
    window.onMenu(MenuItem::prometheus);
    EXPECT_EQ(journalAfterStart(),
              "Exportation Prometheus : C:\\textfile_inputs\\corvane.prom n'a pas pu \352tre "
              "supprim\351 (Erreur 70 : Permission refus\351e) le 08/12/2026 \340 07:15:30\r\n");
    EXPECT_TRUE(fake.dialogs.shown.empty());
}

// Windows reads a path only up to a NUL: a stored folder with one inside would send the file
// elsewhere. Refused as the dialog refuses it, the export waits for the user's choice.
TEST_F(PrometheusTest, AStoredFolderTheDialogWouldRefuseLeavesTheExportOff) {
    fake.settings.values["DossierPrometheus"] = std::string(kFolder) + '\0' + "\\ailleurs";
    start();
    tickAfter(60000);
    EXPECT_FALSE(window.state().prometheus.on);
    EXPECT_EQ(window.state().prometheus.folder, "");
    EXPECT_FALSE(fake.files.exists(kFile));
    EXPECT_TRUE(fake.dialogs.shown.empty());
}

TEST_F(PrometheusTest, AFolderOutsideTheAnsiCodePageIsWrittenAsNamed) {
    const std::string folder = "C:\\Users\\Дмитрий\\prom";
    fake.files.makeFolder(folder);
    fake.settings.values["DossierPrometheus"] = folder;
    start();
    EXPECT_TRUE(fake.files.exists(folder + "\\corvane.prom"));
}

TEST_F(PrometheusTest, TheDialogOffersTheExportersFolderAndKeepsWhatTheUserChose) {
    fake.settings.values.clear();
    const std::string exporter = "C:\\Program Files\\windows_exporter\\textfile_inputs";
    fake.registry.writeText(RootKey::LocalMachine, "SOFTWARE\\Microsoft\\Windows\\CurrentVersion",
                            "ProgramW6432Dir", "C:\\Program Files");
    start();
    window.onMenu(MenuItem::prometheus);  // no such folder yet: nothing offered; cancelled
    ASSERT_EQ(fake.windows.prometheusShown.size(), 1u);
    EXPECT_EQ(fake.windows.prometheusShown[0].folder, "");
    EXPECT_FALSE(fake.windows.prometheusShown[0].on);
    fake.files.makeFolder(exporter);
    fake.settings.savedKeys.clear();
    window.onMenu(MenuItem::prometheus);
    EXPECT_EQ(fake.windows.prometheusShown[1].folder, exporter);
    EXPECT_TRUE(fake.settings.savedKeys.empty());
    EXPECT_FALSE(fake.files.exists(exporter + "\\corvane.prom"));

    // Kept: remembered and written at once, without waiting for the minute.
    fake.windows.prometheusAnswer = PrometheusSettings{true, exporter};
    window.onMenu(MenuItem::prometheus);
    EXPECT_EQ(fake.settings.savedKeys,
              (std::vector<std::string>{"ExportPrometheus", "DossierPrometheus"}));
    EXPECT_EQ(fake.settings.values["ExportPrometheus"], "True");
    EXPECT_EQ(fake.settings.values["DossierPrometheus"], exporter);
    EXPECT_TRUE(fake.files.exists(exporter + "\\corvane.prom"));

    // A dialog that cannot be made says so and the monitor goes on.
    fake.windows.prometheusError = RuntimeError(kErrOutOfMemory);
    window.onMenu(MenuItem::prometheus);
    ASSERT_EQ(fake.dialogs.shown.size(), 1u);
    EXPECT_EQ(fake.dialogs.shown[0].title, "Exporter vers Prometheus");
    EXPECT_FALSE(window.ended());
}

TEST_F(PrometheusTest, DamagedOrMissingKeysLeaveTheExportOff) {
    fake.settings.values["ExportPrometheus"] = "peut-être";
    start();
    EXPECT_FALSE(window.state().prometheus.on);
    EXPECT_EQ(fake.settings.values["ExportPrometheus"], "False");
    EXPECT_FALSE(fake.files.exists(kFile));
}

}  // namespace
}  // namespace corvane::testing
