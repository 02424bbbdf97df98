// The Prometheus export under Wine, read back by Prometheus' own programs: Debian's
// node_exporter serves the file over HTTP with the figures the window shows and no scrape
// error, and promtool finds nothing to say about it. And the dialog that turns it on, and off
// again, which takes the file away.
#include <cmath>
#include <cstdlib>
#include <regex>

#include "corvane_fixture.h"
#include "platform/control_ids.h"

namespace corvane::wine {
namespace {

constexpr int kPrometheus = ID_PROMETHEUS;  // the menu item
constexpr int kActive = IDC_PROMETHEUS_ON;
constexpr int kDossier = IDC_PROMETHEUS_FOLDER;
constexpr int kParcourir = IDC_PROMETHEUS_BROWSE;
constexpr DWORD kScrapeTimeoutMs = 60000;

// The value of the sample whose name and labels are `series`, as the exporter serves it
// (Go's float form: 6.7108864e+07); nothing when it is not there.
std::optional<double> sampleValue(const std::string& metrics, const std::string& series) {
    size_t at = metrics.find("\n" + series + " ");
    if (at == std::string::npos) return std::nullopt;
    return std::strtod(metrics.c_str() + at + series.size() + 2, nullptr);
}

// The numbers of a label, in order.
std::vector<double> numbersOf(const std::string& text) {
    std::vector<double> numbers;
    std::regex number("[0-9]+");
    for (auto it = std::sregex_iterator(text.begin(), text.end(), number);
         it != std::sregex_iterator(); ++it) {
        numbers.push_back(std::stod(it->str()));
    }
    return numbers;
}

class PrometheusTest : public CorvaneTest {
protected:
    void SetUp() override {
        CorvaneTest::SetUp();
        if (HasFatalFailure()) return;
        promFolder = folder + "\\textfile_inputs";
        makeDirectories(promFolder);
    }

    void quit() {
        main.postCommand(kQuitter);
        pressButton(waitWindow(corvane->id(), kAboutClass), kAboutOk);
        EXPECT_TRUE(corvane->waitExit()) << "Quitter did not end Corvane";
    }

    std::string promFolder;
};

TEST_F(PrometheusTest, NodeExporterServesTheWindowsFiguresAndPromtoolAcceptsTheFile) {
    if (scrapePromCommand().empty())
        GTEST_SKIP() << "no prometheus-node-exporter or promtool: run the suite through "
                        "tests/wine/run.sh on a machine that has them";
    setString(HKEY_CURRENT_USER, kSettingsSectionKey, "ExportPrometheus", "True");
    setString(HKEY_CURRENT_USER, kSettingsSectionKey, "DossierPrometheus", promFolder);
    // A growth of 20 Mo raises the swap file's alert, which writes the file at once.
    setString(HKEY_CURRENT_USER, kSettingsSectionKey, "SeuilSwap", "10");
    const std::string file = promFolder + "\\corvane.prom";
    launch();
    ASSERT_TRUE(pollUntil([&] { return fileExists(file); })) << "no " << file;
    setSwapSize(70 * kMiB);
    tickUntilSwapReads("SWAP: 70 Mo  Mini: 50 Mo  Maxi: 70 Mo  Moy: 60 Mo");
    ASSERT_TRUE(pollUntil([&] {
        return readFile(file).find("\ncorvane_samples_total 2\n") != std::string::npos;
    })) << readFile(file);
    const std::string swapLabel = main.controlText(kSwap);
    const std::string memoryLabel = main.controlText(kMemLibre);
    EXPECT_FALSE(fileExists(file + ".tmp"));

    const std::string stem = screenshotDir() + "\\prometheus-scrape";
    for (const char* end : {".done", ".failed", ".metrics", ".promtool"}) removeFile(stem + end);
    Process scraper =
        Process::startCommandLine(scrapePromCommand() + " \"" + promFolder + "\" \"" + stem + "\"");
    std::string failed;
    const bool done = pollUntil(
        [&] {
            if (fileExists(stem + ".failed")) failed = readFile(stem + ".failed");
            return fileExists(stem + ".done") || !failed.empty();
        },
        kScrapeTimeoutMs);
    ASSERT_TRUE(failed.empty()) << "node_exporter or promtool could not run: " << failed;
    ASSERT_TRUE(done) << "node_exporter and promtool gave no answer within 60 s";
    const std::string metrics = "\n" + readFile(stem + ".metrics");
    const std::string promtool = readFile(stem + ".promtool");

    EXPECT_EQ(sampleValue(metrics, "node_textfile_scrape_error"), 0.0) << metrics;
    EXPECT_NE(metrics.find("\nnode_textfile_mtime_seconds{file=\""), std::string::npos);
    EXPECT_EQ(promtool, "0\n") << "promtool check metrics: " << promtool;

    // The swap file's four figures, as the window's label gives them in Mo.
    std::vector<double> swap = numbersOf(swapLabel);
    ASSERT_EQ(swap.size(), 4u) << swapLabel;
    const char* names[] = {"size", "min", "max", "average"};
    for (size_t i = 0; i < 4; ++i) {
        std::string series =
            std::string("corvane_swap_file_") + names[i] + "_bytes{path=\"C:\\\\pagefile.sys\"}";
        EXPECT_EQ(sampleValue(metrics, series), swap[i] * kMiB) << series << "\n" << metrics;
    }
    EXPECT_EQ(sampleValue(metrics, "corvane_samples_total"), 2.0);
    EXPECT_EQ(sampleValue(metrics, "corvane_alert_active{alert=\"swap\"}"), 1.0);
    EXPECT_EQ(sampleValue(metrics, "corvane_alerts_total{alert=\"swap\"}"), 1.0);
    EXPECT_EQ(sampleValue(metrics, "corvane_alert_active{alert=\"memoire\"}"), 0.0);

    // "Occupation RAM : used/total Mo": the total is the window's, rounded as it rounds.
    std::vector<double> memory = numbersOf(memoryLabel);
    ASSERT_GE(memory.size(), 2u) << memoryLabel;
    std::optional<double> total = sampleValue(metrics, "corvane_memory_total_bytes");
    ASSERT_TRUE(total) << metrics;
    EXPECT_EQ(static_cast<uint64_t>((*total + 640000) / kMiB), memory[1]) << memoryLabel;
    std::optional<double> used = sampleValue(metrics, "corvane_memory_used_bytes");
    ASSERT_TRUE(used);
    EXPECT_GT(*used, 0);
    EXPECT_LE(*used, *total);
    // Wine gives the commit from the memory status, and lists the processes.
    EXPECT_TRUE(sampleValue(metrics, "corvane_commit_limit_bytes")) << metrics;
    EXPECT_NE(metrics.find("\ncorvane_top_program_commit_bytes{name=\""), std::string::npos)
        << metrics;
    // The advice: the RAM plus the fixed file's 200 Mo is all the commit can reach; the sizes
    // rest on the commit seen so far; C: answers with its free bytes. No history: no trend, and
    // no time left.
    const double ram = static_cast<double>(static_cast<uint64_t>((*total + 640000) / kMiB));
    EXPECT_EQ(sampleValue(metrics, "corvane_commit_attainable_limit_bytes"), (ram + 200) * kMiB)
        << metrics;
    std::optional<double> initial = sampleValue(metrics, "corvane_advised_page_file_initial_bytes");
    std::optional<double> maximum = sampleValue(metrics, "corvane_advised_page_file_maximum_bytes");
    ASSERT_TRUE(initial && maximum) << metrics;
    EXPECT_GE(*initial, 512.0 * kMiB);
    EXPECT_GE(*maximum, *initial);
    EXPECT_EQ(std::fmod(*initial, 64.0 * kMiB), 0.0);
    EXPECT_GT(
        sampleValue(metrics, "corvane_page_file_volume_free_bytes{volume=\"C:\"}").value_or(0), 0.0)
        << metrics;
    EXPECT_EQ(sampleValue(metrics, "corvane_alert_active{alert=\"epuisement\"}"), 0.0);
    EXPECT_EQ(metrics.find("corvane_commit_trend_bytes_per_second"), std::string::npos);
    EXPECT_EQ(metrics.find("corvane_commit_exhaustion_seconds"), std::string::npos);
    quit();
    // Leaving the program removes nothing: the exporter tells a stale file by its age.
    EXPECT_TRUE(fileExists(file));
}

TEST_F(PrometheusTest, TheDialogOffersTheExportersFolderAndOkWritesTheFileAtOnce) {
    const std::string exporter = "C:\\Program Files\\windows_exporter\\textfile_inputs";
    makeDirectories(exporter);
    removeFile(exporter + "\\corvane.prom");
    launch();
    main.postCommand(kPrometheus);
    Window dialog = waitWindow(corvane->id(), "#32770");
    EXPECT_EQ(dialog.text(), "Exporter vers Prometheus");
    EXPECT_EQ(dialog.control(kActive).send(BM_GETCHECK), BST_UNCHECKED);
    EXPECT_EQ(dialog.controlText(kDossier), exporter);
    shot("PrometheusDialog", dialog);

    // "Parcourir..." opens the shell's folder chooser over the dialog.
    dialog.postCommand(kParcourir);
    Window chooser;
    ASSERT_TRUE(pollUntil([&] {
        for (const Window& w : topWindows(corvane->id(), "#32770"))
            if (w.handle() != dialog.handle()) chooser = w;
        return bool(chooser);
    })) << "no folder chooser; windows:"
        << openWindows();
    shot("PrometheusFolderChooser", chooser);
    pressButton(chooser, IDCANCEL);
    ASSERT_TRUE(pollUntil([&] { return !chooser.exists(); }));
    EXPECT_EQ(dialog.controlText(kDossier), exporter);

    // A folder that is not there is said at once, and the dialog stays for another.
    const std::string missing = promFolder + "\\absent";
    deleteTree(missing);
    dialog.control(kActive).send(BM_SETCHECK, BST_CHECKED);
    dialog.control(kDossier).send(WM_SETTEXT, 0,
                                  reinterpret_cast<LPARAM>(fromUtf8(missing).c_str()));
    dialog.post(WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
    MessageBoxInfo refused{};
    ASSERT_TRUE(pollUntil([&] {
        for (const MessageBoxInfo& box : messageBoxes(corvane->id()))
            if (!box.text.empty()) refused = box;
        return bool(refused.window);
    })) << "nothing said of a missing folder; windows:"
        << openWindows();
    EXPECT_EQ(refused.text, "Le dossier " + missing +
                                " n'existe pas.\r\nCréez-le, ou choisissez-en un autre avec "
                                "« Parcourir... ».");
    shot("PrometheusMissingFolder", refused.window);
    pressButton(refused.window, IDOK);
    ASSERT_TRUE(pollUntil([&] { return !refused.window.exists(); }));
    EXPECT_TRUE(dialog.exists());
    EXPECT_FALSE(fileExists(missing));

    // On, with a folder outside the ANSI code page.
    const std::string chosen = promFolder + "\\Дмитрий";
    makeDirectories(chosen);
    dialog.control(kActive).send(BM_SETCHECK, BST_CHECKED);
    dialog.control(kDossier).send(WM_SETTEXT, 0,
                                  reinterpret_cast<LPARAM>(fromUtf8(chosen).c_str()));
    pressButton(dialog, IDOK);
    ASSERT_TRUE(pollUntil([&] { return !dialog.exists(); }));
    EXPECT_TRUE(pollUntil([&] { return fileExists(chosen + "\\corvane.prom"); }))
        << "nothing written in " << chosen;
    EXPECT_EQ(readString(HKEY_CURRENT_USER, kSettingsSectionKey, "ExportPrometheus"), "True");
    EXPECT_EQ(readString(HKEY_CURRENT_USER, kSettingsSectionKey, "DossierPrometheus"), chosen);

    // Turned off: the file goes, lest its last figures read as current ones.
    main.postCommand(kPrometheus);
    Window again = waitWindow(corvane->id(), "#32770");
    EXPECT_EQ(again.control(kActive).send(BM_GETCHECK), BST_CHECKED);
    again.control(kActive).send(BM_SETCHECK, BST_UNCHECKED);
    pressButton(again, IDOK);
    ASSERT_TRUE(pollUntil([&] { return !again.exists(); }));
    EXPECT_TRUE(pollUntil([&] { return !fileExists(chosen + "\\corvane.prom"); }))
        << "the file stays in " << chosen;
    EXPECT_EQ(readString(HKEY_CURRENT_USER, kSettingsSectionKey, "ExportPrometheus"), "False");
    quit();
    deleteTree("C:\\Program Files\\windows_exporter");
}

}  // namespace
}  // namespace corvane::wine
