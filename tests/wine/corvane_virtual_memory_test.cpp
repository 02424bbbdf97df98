// The "Mémoire virtuelle" window in the real program: the menu item and Ctrl+M open it, and a
// program of the tests that commits 300 Mo is listed first with that much while the commit
// figure rises by as much, in agreement with what this test reads from the same functions.
// Wine has no page file: the window says so.
#include <psapi.h>

#include <cmath>
#include <cstdlib>

#include "committer_process.h"
#include "corvane_fixture.h"

namespace corvane::wine {
namespace {

inline constexpr const char* kMemoryClass = "CorvaneVirtualMemory";
inline constexpr int kCommitMo = 300;
enum MemoryId : int {
    kMemoireVirtuelle = 34,  // the menu item
    kEngagement = 301,
    kBarre = 302,
    kPics = 303,
    kFichiers = 304,
    kTriEngagement = 305,
    kTriHeure = 306,
    kProgrammes = 309,
    kRemarque = 310,
};

// This process's own reading of the commit charge, in Mo.
struct Commit {
    double usedMo, limitMo, peakMo;
};
Commit readCommit() {
    PERFORMANCE_INFORMATION info{};
    info.cb = sizeof info;
    if (!GetPerformanceInfo(&info, sizeof info)) throw DriverError("GetPerformanceInfo failed");
    double page = static_cast<double>(info.PageSize) / kMiB;
    return {static_cast<double>(info.CommitTotal) * page,
            static_cast<double>(info.CommitLimit) * page,
            static_cast<double>(info.CommitPeak) * page};
}

// "812 Mo" in Mo, and the half Mo the text may have rounded away; any other unit fails the
// reading. The mark of a figure read on 32 bits (" *") is left out.
struct Size {
    double mo = -1;
    double rounding = 0;
};
Size parseSize(std::string text) {
    if (text.size() > 2 && text.compare(text.size() - 2, 2, " *") == 0)
        text.resize(text.size() - 2);
    if (text.size() < 4 || text.compare(text.size() - 3, 3, " Mo") != 0) return {};
    std::string digits = text.substr(0, text.size() - 3);
    if (digits.find_first_not_of("0123456789") != std::string::npos) return {};
    return {std::atof(digits.c_str()), 0.5};
}

// "Engagement : 5233 Mo / 12288 Mo (43 %)": used and limit.
std::pair<Size, Size> commitShown(const std::string& label) {
    size_t colon = label.find(" : ");
    size_t slash = label.find(" / ");
    size_t open = label.find(" (");
    if (colon == std::string::npos || slash == std::string::npos || open == std::string::npos)
        return {};
    return {parseSize(label.substr(colon + 3, slash - colon - 3)),
            parseSize(label.substr(slash + 3, open - slash - 3))};
}

std::vector<std::string> cells(const std::string& row) {
    std::vector<std::string> out;
    size_t at = 0;
    for (size_t tab; (tab = row.find('\t', at)) != std::string::npos; at = tab + 1)
        out.push_back(row.substr(at, tab - at));
    out.push_back(row.substr(at));
    return out;
}

class MemoryWindowTest : public CorvaneTest {
protected:
    Window openMemory() {
        main.postCommand(kMemoireVirtuelle);
        Window window = waitWindow(corvane->id(), kMemoryClass);
        EXPECT_EQ(window.text(), "Mémoire virtuelle");
        window.waitControlText(kEngagement, "Engagement : ");
        return window;
    }

    // One tick of the program, waited for through the swap label it rewrites after the
    // virtual memory's refresh.
    void tick() {
        ++swapMo_;
        setSwapSize(swapMo_ * kMiB);
        main.postTimer(kTimer1);
        main.waitControlText(kSwap, "SWAP: " + std::to_string(swapMo_) + " Mo");
    }

    uint64_t swapMo_ = 50;
};

TEST_F(MemoryWindowTest, MenuItemAndCtrlMOpenTheResizableWindowWhichSaysWineHasNoPageFile) {
    launch();
    // The 32-bit build reads the programs' counters in 32-bit fields where it runs under WoW64.
    BOOL wow = FALSE;
    ASSERT_TRUE(IsWow64Process(corvane->handle(), &wow));
    const bool thirtyTwoBitOn64 = wow != FALSE;
    Window memory = openMemory();
    EXPECT_TRUE(memory.style() & WS_THICKFRAME) << "the window cannot be resized";
    EXPECT_EQ(memory.controlText(kFichiers),
              "Fichiers d'échange :\r\n    Windows ne signale aucun fichier d'échange en "
              "service ; la configuration nomme C:\\pagefile.sys, que Corvane analyse.");
    EXPECT_EQ(memory.controlText(kPics).rfind("Pic depuis le démarrage de Windows : ", 0), 0u);
    EXPECT_TRUE(memory.control(kBarre).visible());
    EXPECT_EQ(memory.controlText(kTriEngagement), "&Engagement");
    // Corvane itself at least is listed, with its process id.
    std::vector<std::string> rows = memory.control(kProgrammes).listItems();
    ASSERT_FALSE(rows.empty());
    EXPECT_LE(rows.size(), 15u);
    bool corvaneListed = false;
    bool anyMarked = false;
    for (const std::string& row : rows) {
        std::vector<std::string> c = cells(row);
        ASSERT_EQ(c.size(), 5u) << row;
        bool marked = c[2].size() > 2 && c[2].compare(c[2].size() - 2, 2, " *") == 0;
        anyMarked = anyMarked || marked;
        if (c[0] == "Corvane.exe" && c[1] == std::to_string(corvane->id())) {
            corvaneListed = true;
            // Its own commit is never past what 32 bits hold.
            EXPECT_FALSE(marked) << row;
        }
        // A 32-bit process's commit is read whole by either build; only another 64-bit one's
        // goes through the 32-bit build's narrow field.
        if (!thirtyTwoBitOn64 && marked) ADD_FAILURE() << "marked by the 64-bit build: " << row;
    }
    EXPECT_TRUE(corvaneListed) << rows.front();
    // Wine's own services are 64-bit processes: the 32-bit build marks them and says why.
    EXPECT_EQ(anyMarked, thirtyTwoBitOn64);
    EXPECT_EQ(memory.controlText(kRemarque),
              thirtyTwoBitOn64 ? "* Engagement lu sur 32 bits, peut être faux au-delà de 4096 Mo ; "
                                 "la version 64 bits de Corvane le montre en entier."
                               : "");

    // The item again brings the same window forward, it makes no second one.
    main.postCommand(kMemoireVirtuelle);
    tick();
    EXPECT_EQ(topWindows(corvane->id(), kMemoryClass).size(), 1u);

    memory.postClose();
    ASSERT_TRUE(pollUntil([&] { return !memory.exists(); })) << "the window did not close";
    tick();  // a tick with the window closed finds no window to fill
    bringToFront(main);
    pressKeys({VK_CONTROL, 'M'});
    Window again = waitWindow(corvane->id(), kMemoryClass);
    EXPECT_EQ(again.text(), "Mémoire virtuelle");
    EXPECT_TRUE(corvane->running());
}

TEST_F(MemoryWindowTest, AProgramCommitting300MoIsListedFirstAndTheCommitRisesByAsMuch) {
    launch();
    Window memory = openMemory();
    Window programs = memory.control(kProgrammes);

    // The host's other programs move the commit too (Wine counts the whole machine's memory):
    // a round in which this test's own readings did not rise by about 300 Mo is done again.
    std::optional<Process> committer;
    Commit ownBefore{}, ownAfter{};
    std::pair<Size, Size> shownBefore, shownAfter;
    std::vector<std::string> rows;
    for (int round = 0; round < 3; ++round) {
        committer.reset();
        tick();
        ownBefore = readCommit();
        shownBefore = commitShown(memory.controlText(kEngagement));
        committer.emplace(startCommitter(kCommitMo));
        Commit ownStart = readCommit();
        tick();
        Commit ownEnd = readCommit();
        shownAfter = commitShown(memory.controlText(kEngagement));
        rows = programs.listItems();
        // The figures the window shows agree with this test's own, read just before and after
        // the tick, to the rounding of the text.
        ASSERT_GT(shownAfter.first.mo, 0) << memory.controlText(kEngagement);
        EXPECT_GE(shownAfter.first.mo + shownAfter.first.rounding + 1,
                  std::min(ownStart.usedMo, ownEnd.usedMo));
        EXPECT_LE(shownAfter.first.mo - shownAfter.first.rounding - 1,
                  std::max(ownStart.usedMo, ownEnd.usedMo));
        EXPECT_NEAR(shownAfter.second.mo, ownEnd.limitMo, shownAfter.second.rounding + 1);
        ownAfter = ownEnd;
        if (std::abs(ownAfter.usedMo - ownBefore.usedMo - kCommitMo) <= 100) break;
    }
    shot("memory-window", memory);
    double ownRise = ownAfter.usedMo - ownBefore.usedMo;
    ASSERT_NEAR(ownRise, kCommitMo, 100) << "the machine's memory moved too much to measure";
    double shownRise = shownAfter.first.mo - shownBefore.first.mo;
    EXPECT_NEAR(shownRise, ownRise, shownAfter.first.rounding + shownBefore.first.rounding + 20)
        << memory.controlText(kEngagement);

    // First by commit, with about 300 Mo, its process id, and all of it as growth: it started
    // after the analysis began.
    ASSERT_FALSE(rows.empty());
    std::vector<std::string> first = cells(rows.front());
    ASSERT_EQ(first.size(), 5u) << rows.front();
    EXPECT_EQ(first[0], "CorvaneCommit.exe");
    EXPECT_EQ(first[1], std::to_string(committer->id()));
    Size held = parseSize(first[2]);
    EXPECT_NEAR(held.mo, kCommitMo, 12) << first[2];
    EXPECT_EQ(first[3].substr(0, 1), "+");
    EXPECT_NEAR(parseSize(first[3].substr(1)).mo, held.mo, 1) << first[3];
    EXPECT_NEAR(parseSize(first[4].substr(1)).mo, held.mo, 1) << first[4];

    // Sorted by the hour's growth it stays first; the button shows the order chosen.
    pressButton(memory, kTriHeure);
    ASSERT_TRUE(pollUntil([&] {
        return SendMessageW(memory.control(kTriHeure).handle(), BM_GETCHECK, 0, 0) == BST_CHECKED;
    }));
    EXPECT_EQ(cells(programs.listItems().front())[0], "CorvaneCommit.exe");

    // Once it ends, the next refresh forgets it.
    committer->kill();
    committer->waitExit();
    tick();
    for (const std::string& row : programs.listItems())
        EXPECT_NE(cells(row)[0], "CorvaneCommit.exe") << row;
}

}  // namespace
}  // namespace corvane::wine
