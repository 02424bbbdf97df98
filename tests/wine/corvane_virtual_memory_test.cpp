// The "Mémoire virtuelle" window in the real program: the menu item and Ctrl+M open it, a
// program of the tests that commits 300 Mo is listed first with the figure Windows gives for it,
// the commit shown is the one this test reads around each tick, and each column's header sorts
// the list both ways. Wine has no page file: the window says so.
#include <commctrl.h>
#include <psapi.h>

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstdlib>
#include <cstring>
#include <iostream>

#include "committer_process.h"
#include "corvane_fixture.h"
#include "platform/control_ids.h"

namespace corvane::wine {
namespace {

inline constexpr const char* kMemoryClass = "CorvaneVirtualMemory";
inline constexpr int kCommitMo = 300;
enum MemoryId : int {
    kMemoireVirtuelle = ID_VIRTUAL_MEMORY,  // the menu item
    kEngagement = IDC_VM_COMMIT,
    kBarre = IDC_VM_COMMIT_BAR,
    kPics = IDC_VM_PEAKS,
    kFichiers = IDC_VM_PAGE_FILES,
    kTriEngagement = IDC_VM_SORT_BY_COMMIT,
    kTriHeure = IDC_VM_SORT_BY_HOUR_GROWTH,
    kTriDebut = IDC_VM_SORT_BY_START_GROWTH,
    kColonnes = IDC_VM_COLUMN_TITLES,
    kProgrammes = IDC_VM_PROGRAMS,
    kRemarque = IDC_VM_REMARK,
    kTriNom = IDC_VM_SORT_BY_NAME,
    kTriPid = IDC_VM_SORT_BY_PID,
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

// Sends `message` to a control of the program with a pointer to a copy of `value` made in the
// program's own memory, as a control answers only into its own process, and returns the copy
// as the control left it.
// `aim` may point fields of the copy at its own bytes, given where the copy lies in the program.
template <class T>
T askControl(const Window& control, UINT message, WPARAM wParam, T value,
             void (*aim)(T&, char* remote) = nullptr) {
    HANDLE process = OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE,
                                 control.processId());
    if (!process) throw DriverError("OpenProcess: " + lastErrorText());
    void* remote =
        VirtualAllocEx(process, nullptr, sizeof(T), MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE);
    if (remote && aim) aim(value, static_cast<char*>(remote));
    bool done = remote && WriteProcessMemory(process, remote, &value, sizeof(T), nullptr);
    if (done) control.send(message, wParam, reinterpret_cast<LPARAM>(remote));
    done = done && ReadProcessMemory(process, remote, &value, sizeof(T), nullptr);
    std::string error = done ? "" : lastErrorText();
    if (remote) VirtualFreeEx(process, remote, 0, MEM_RELEASE);
    CloseHandle(process);
    if (!done) throw DriverError("message to the program's control failed: " + error);
    return value;
}

// The left button pressed and released over the centre of the header's column, as the header
// is told of it: the header itself then tells its window which column was clicked. (Through the
// input queue, under Xvfb, the header saw no click.)
void clickColumn(const Window& header, int column) {
    RECT r = askControl(header, HDM_GETITEMRECT, static_cast<WPARAM>(column), RECT{});
    LPARAM at = MAKELPARAM((r.left + r.right) / 2, (r.top + r.bottom) / 2);
    header.post(WM_MOUSEMOVE, 0, at);
    header.post(WM_LBUTTONDOWN, MK_LBUTTON, at);
    header.post(WM_LBUTTONUP, 0, at);
}

// The sort arrow the header shows on `column`: HDF_SORTUP, HDF_SORTDOWN or 0. Where the common
// controls have no arrows, the title ends with "^" or "v" instead.
int sortMark(const Window& header, int column) {
    struct Item {
        HDITEMA item;
        char title[64];
    } asked{};
    asked.item.mask = HDI_FORMAT | HDI_TEXT;
    asked.item.cchTextMax = sizeof asked.title;
    Item answer = askControl<Item>(
        header, HDM_GETITEMA, static_cast<WPARAM>(column), asked,
        [](Item& item, char* remote) { item.item.pszText = remote + offsetof(Item, title); });
    int mark = answer.item.fmt & (HDF_SORTUP | HDF_SORTDOWN);
    std::string title(answer.title, strnlen(answer.title, sizeof answer.title));
    if (mark == 0 && title.size() > 2 && title.compare(title.size() - 2, 2, " ^") == 0)
        return HDF_SORTUP;
    if (mark == 0 && title.size() > 2 && title.compare(title.size() - 2, 2, " v") == 0)
        return HDF_SORTDOWN;
    return mark;
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

TEST_F(MemoryWindowTest,
       AProgramCommitting300MoIsListedFirstWithItsOwnFigureAndTheCommitIsTheSystems) {
    launch();
    Window memory = openMemory();
    Window programs = memory.control(kProgrammes);

    // The commit figure Corvane shows after a tick, checked against this test's own readings
    // just before and just after it: it is the system's figure of that moment. The host's other
    // programs move the system's commit by hundreds of Mo at times (Wine counts the whole
    // machine's memory), so a tick during which it swung out of the readings' range is done
    // again; the rise itself is measured on the committer's own figure below.
    auto shownAtATick = [&] {
        for (int round = 0; round < 5; ++round) {
            Commit start = readCommit();
            tick();
            Commit end = readCommit();
            std::pair<Size, Size> shown = commitShown(memory.controlText(kEngagement));
            EXPECT_GT(shown.first.mo, 0) << memory.controlText(kEngagement);
            EXPECT_NEAR(shown.second.mo, end.limitMo, shown.second.rounding + 1);
            double slack = shown.first.rounding + 1;
            if (shown.first.mo + slack >= std::min(start.usedMo, end.usedMo) &&
                shown.first.mo - slack <= std::max(start.usedMo, end.usedMo))
                return shown.first.mo;
        }
        ADD_FAILURE() << "the commit shown was never the one read around its tick: "
                      << memory.controlText(kEngagement);
        return -1.0;
    };
    double shownBefore = shownAtATick();
    Process committer = startCommitter(kCommitMo);
    // What the committer holds, as Windows counts it for that process alone: the 300 Mo it
    // committed and wrote, and its own few.
    PROCESS_MEMORY_COUNTERS counters{};
    ASSERT_TRUE(GetProcessMemoryInfo(committer.handle(), &counters, sizeof counters));
    const double heldMo = static_cast<double>(counters.PagefileUsage) / kMiB;
    EXPECT_NEAR(heldMo, kCommitMo, 12);
    double shownAfter = shownAtATick();
    std::vector<std::string> rows = programs.listItems();
    shot("memory-window", memory);
    // The system's commit rose by about as much, unless the host's other programs gave back
    // more meanwhile: said for whoever reads the log, not checked.
    std::cout << "commit shown: " << shownBefore << " Mo, then " << shownAfter << " Mo with the "
              << heldMo << " Mo of the committer\n";

    // First by commit, with about 300 Mo, its process id, and all of it as growth: it started
    // after the analysis began.
    ASSERT_FALSE(rows.empty());
    std::vector<std::string> first = cells(rows.front());
    ASSERT_EQ(first.size(), 5u) << rows.front();
    EXPECT_EQ(first[0], "CorvaneCommit.exe");
    EXPECT_EQ(first[1], std::to_string(committer.id()));
    Size held = parseSize(first[2]);
    EXPECT_NEAR(held.mo, heldMo, held.rounding) << first[2];
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
    committer.kill();
    committer.waitExit();
    tick();
    for (const std::string& row : programs.listItems())
        EXPECT_NE(cells(row)[0], "CorvaneCommit.exe") << row;
}

TEST_F(MemoryWindowTest, EachColumnsHeaderSortsTheListAndASecondClickTurnsItRound) {
    launch();
    Window memory = openMemory();
    Window header = memory.control(kColonnes);
    Window programs = memory.control(kProgrammes);
    ASSERT_GE(programs.listCount(), 3) << "too few programs to see an order";
    EXPECT_EQ(sortMark(header, 2), HDF_SORTDOWN) << "by commit, the largest first";
    bringToFront(memory);

    // Whether the rows read back follow the column's order, the smallest first or last.
    auto inOrder = [&](int column, bool descending) {
        auto compare = [column](std::string a, std::string b) {
            if (column == 0) {
                CharLowerA(a.data());
                CharLowerA(b.data());
                return a.compare(b);
            }
            // A growth has its sign before the size: "+300 Mo", "-12 Mo", "0 Mo".
            auto value = [column](const std::string& text) {
                if (column == 1) return std::stod(text);
                if (text[0] != '+' && text[0] != '-') return parseSize(text).mo;
                return (text[0] == '-' ? -1 : 1) * parseSize(text.substr(1)).mo;
            };
            double x = value(a), y = value(b);
            return x < y ? -1 : x > y ? 1 : 0;
        };
        std::vector<std::string> rows = programs.listItems();
        for (size_t i = 1; i < rows.size(); ++i) {
            int order = compare(cells(rows[i - 1]).at(static_cast<size_t>(column)),
                                cells(rows[i]).at(static_cast<size_t>(column)));
            if (descending ? order < 0 : order > 0) {
                ADD_FAILURE() << "column " << column << ": " << rows[i - 1] << " before "
                              << rows[i];
                return false;
            }
        }
        return true;
    };
    const struct {
        int column;
        int button;
        int firstMark;  // the first click's direction; the second turns it
    } columns[] = {
        {0, kTriNom, HDF_SORTUP},
        {1, kTriPid, HDF_SORTUP},
        {4, kTriDebut, HDF_SORTDOWN},
        {2, kTriEngagement, HDF_SORTDOWN},
    };
    auto sortedBy = [&](int column, int button, int mark) {
        ASSERT_TRUE(pollUntil([&] { return sortMark(header, column) == mark; }))
            << "column " << column << " shows " << sortMark(header, column);
        for (int other = 0; other < 5; ++other) {
            if (other != column) {
                EXPECT_EQ(sortMark(header, other), 0) << other;
            }
        }
        EXPECT_EQ(SendMessageW(memory.control(button).handle(), BM_GETCHECK, 0, 0), BST_CHECKED)
            << "the button of column " << column << " is not pressed";
        EXPECT_TRUE(inOrder(column, mark == HDF_SORTDOWN));
    };
    constexpr int kTurned = HDF_SORTUP | HDF_SORTDOWN;
    for (const auto& c : columns) {
        std::string firstRow;
        for (int mark : {c.firstMark, c.firstMark ^ kTurned}) {
            clickColumn(header, c.column);
            ASSERT_NO_FATAL_FAILURE(sortedBy(c.column, c.button, mark));
            // The ids differ: the two directions cannot show the same first row.
            if (c.column == 1 && !firstRow.empty()) {
                EXPECT_NE(programs.listItems().front(), firstRow);
            }
            firstRow = programs.listItems().front();
        }
    }
    shot("memory-sorted", memory);
    // The refresh sorts its new figures the same way.
    tick();
    ASSERT_NO_FATAL_FAILURE(sortedBy(2, kTriEngagement, HDF_SORTUP));
    // The buttons pick as the headers do: another column, then, with the space bar on the
    // pressed button, the same one turned round.
    pressButton(memory, kTriPid);
    ASSERT_NO_FATAL_FAILURE(sortedBy(1, kTriPid, HDF_SORTUP));
    giveFocus(memory.control(kTriPid));
    pressKeys({VK_SPACE});
    sortedBy(1, kTriPid, HDF_SORTDOWN);
}

}  // namespace
}  // namespace corvane::wine
