// The swap file's history in the real program: the menu item and Ctrl+H open its window, the
// minutes reach "Corvane.csv", "Exporter..." writes a copy through the Save As dialog, a
// history of several days is drawn and read under the pointer, and a program committing
// memory while the swap file grows is named in its minute, in the file and under the pointer;
// torn last lines, a file held across a minute and the exit, and a minute a year ahead cost
// nothing of what the file held.
#include <shlobj.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <functional>
#include <regex>

#include "committer_process.h"
#include "corvane_fixture.h"
#include "platform/control_ids.h"
#include "utc_minutes.h"

namespace corvane::wine {
namespace {

inline constexpr const char* kHistoryClass = "CorvaneHistory";
inline constexpr const char* kHeader =
    "Minute (UTC);SWAP mini (Mo);SWAP maxi (Mo);SWAP (Mo);RAM en usage (Mo);SWAP en usage (Mo);"
    "Engagement (Mo);Limite d'engagement (Mo);Alertes;"
    "Programme 1;PID 1;Engagement 1 (Mo);Hausse sur 1 h 1 (Mo);"
    "Programme 2;PID 2;Engagement 2 (Mo);Hausse sur 1 h 2 (Mo);"
    "Programme 3;PID 3;Engagement 3 (Mo);Hausse sur 1 h 3 (Mo)\r\n";
inline constexpr int kCommitMo = 300;
// The drawing's colours a test looks for: the commit's line and the alerts' marks.
inline constexpr COLORREF kCommitColour = RGB(130, 40, 150);
inline constexpr COLORREF kAlertColour = RGB(215, 25, 25);
inline constexpr COLORREF kSwapColour = RGB(20, 70, 170);
enum HistoryId : int {
    kHistorique = ID_HISTORY,  // the menu item
    kHeure = IDC_HISTORY_HOUR,
    kJour = IDC_HISTORY_DAY,
    kSemaine = IDC_HISTORY_WEEK,
    kTout = IDC_HISTORY_ALL,
    kExporter = IDC_HISTORY_EXPORT,
    kGraphique = IDC_HISTORY_GRAPH,
    kSurvol = IDC_HISTORY_POINTER_READING,
    kAvis = IDC_HISTORY_NOTICE,
};
// The Save As dialog's file name box (a combo box holding an edit), and the older edit box.
inline constexpr int kFileNameCombo = 0x47c;
inline constexpr int kFileNameEdit = 0x480;

// The same minute's local time as the window writes it ("07:15").
std::string localClock(int64_t minute) {
    int64_t ticks = minute * 600000000;
    FILETIME file{static_cast<DWORD>(ticks), static_cast<DWORD>(ticks >> 32)};
    SYSTEMTIME utc, local;
    FileTimeToSystemTime(&file, &utc);
    SystemTimeToTzSpecificLocalTime(nullptr, &utc, &local);
    char text[8];
    std::snprintf(text, sizeof text, "%02u:%02u", local.wHour, local.wMinute);
    return text;
}

std::vector<std::string> fields(const std::string& line) {
    std::vector<std::string> out;
    size_t at = 0;
    for (size_t semi; (semi = line.find(';', at)) != std::string::npos; at = semi + 1)
        out.push_back(line.substr(at, semi - at));
    out.push_back(line.substr(at));
    return out;
}

// The line of `file` for `minute`, without its CR LF; empty when there is none.
std::string lineOf(const std::string& file, int64_t minute) {
    size_t at = file.find("\n" + minuteText(minute) + ";");
    if (at == std::string::npos) return "";
    size_t end = file.find("\r\n", at + 1);
    return file.substr(at + 1, end == std::string::npos ? std::string::npos : end - at - 1);
}

// Whether a pixel of `colour` is shown in `area` of the screen.
bool shows(const RECT& area, COLORREF colour) {
    std::vector<uint8_t> bgra = screenPixels(area);
    for (size_t i = 0; i + 3 < bgra.size(); i += 4) {
        if (bgra[i] == GetBValue(colour) && bgra[i + 1] == GetGValue(colour) &&
            bgra[i + 2] == GetRValue(colour))
            return true;
    }
    return false;
}

// The rows of `area` that show a pixel of `colour`, first and last; {-1, -1} when none does.
std::pair<int, int> rowsShowing(const RECT& area, COLORREF colour) {
    std::vector<uint8_t> bgra = screenPixels(area);
    const int width = area.right - area.left;
    std::pair<int, int> rows{-1, -1};
    for (size_t i = 0; i + 3 < bgra.size(); i += 4) {
        if (bgra[i] != GetBValue(colour) || bgra[i + 1] != GetGValue(colour) ||
            bgra[i + 2] != GetRValue(colour))
            continue;
        int row = area.top + static_cast<int>(i / 4) / width;
        if (rows.first < 0) rows.first = row;
        rows.second = row;
    }
    return rows;
}

// The first pixel of `colour` in `area`, row by row; {-1, -1} when there is none.
POINT firstPixel(const RECT& area, COLORREF colour) {
    std::vector<uint8_t> bgra = screenPixels(area);
    const int width = area.right - area.left;
    for (size_t i = 0; i + 3 < bgra.size(); i += 4) {
        if (bgra[i] == GetBValue(colour) && bgra[i + 1] == GetGValue(colour) &&
            bgra[i + 2] == GetRValue(colour))
            return {area.left + static_cast<int>(i / 4) % width,
                    area.top + static_cast<int>(i / 4) / width};
    }
    return {-1, -1};
}

// Moves the pointer through the system's input queue, as a mouse does (SetCursorPos alone
// tells the window nothing).
void movePointer(int x, int y) {
    INPUT input{};
    input.type = INPUT_MOUSE;
    input.mi.dx = MulDiv(x, 65535, GetSystemMetrics(SM_CXSCREEN) - 1);
    input.mi.dy = MulDiv(y, 65535, GetSystemMetrics(SM_CYSCREEN) - 1);
    input.mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
    if (SendInput(1, &input, sizeof input) != 1) throw DriverError("SendInput: " + lastErrorText());
}

class HistoryTest : public CorvaneTest {
protected:
    std::string csvPath() const { return folder + "\\Corvane.csv"; }

    void writeHistory(const std::string& bytes) {
        std::ofstream(csvPath(), std::ios::binary | std::ios::trunc) << bytes;
    }

    // Moves the pointer to (x, y) until the line under the drawing reads what `wanted` asks:
    // moved again a pixel aside now and then, as a hand does, in case a move is not seen.
    std::string pointAt(const Window& window, int x, int y,
                        const std::function<bool(const std::string&)>& wanted, int attempts = 15) {
        std::string text;
        for (int attempt = 0; attempt < attempts; ++attempt) {
            movePointer(x + attempt % 2, y);
            if (pollUntil([&] { return wanted(text = window.controlText(kSurvol)); }, 1000)) break;
        }
        return text;
    }
    // The screen columns of the drawing that show `minute` in the "1 h" span, drawn when the
    // current minute was `now`: the plot's place as the window lays it out.
    struct Columns {
        int left, right, top, bottom;
    };
    Columns minuteColumns(const Window& window, int64_t minute, int64_t now) {
        const RECT r = window.control(kGraphique).rect();
        const int dpi = displayDpi();
        const int left = r.left + MulDiv(62, dpi, 96);
        const int right = r.right - MulDiv(62, dpi, 96);
        const int64_t offset = minute - (now - 59);
        return {left + static_cast<int>(offset * (right - left) / 60),
                left + static_cast<int>((offset + 1) * (right - left) / 60),
                static_cast<int>(r.top + MulDiv(44, dpi, 96)),
                static_cast<int>(r.bottom - MulDiv(34, dpi, 96))};
    }

    // The reading under the pointer at `minute` of the "1 h" span, once it is that minute's and
    // `wanted` holds. The drawing may be a minute older than the test's clock: the columns of
    // the minutes beside are tried too.
    std::string pointAtMinute(const Window& window, int64_t minute,
                              const std::function<bool(const std::string&)>& wanted) {
        const std::string at = " à " + localClock(minute) + " : ";
        std::string text;
        for (int64_t shift : {0, 1, -1}) {
            Columns c = minuteColumns(window, minute, utcMinuteNow() + shift);
            text = pointAt(
                window, (c.left + c.right) / 2, (c.top + c.bottom) / 2,
                [&](const std::string& t) { return t.find(at) != std::string::npos && wanted(t); },
                4);
            if (text.find(at) != std::string::npos && wanted(text)) break;
        }
        return text;
    }

    static bool isHint(const std::string& text) { return text.rfind("Placez le pointeur", 0) == 0; }
    static bool isValues(const std::string& text) { return text.find(" : ") != std::string::npos; }

    static bool isSaveAs(const Window& dialog) {
        return dialog.hasControl(kFileNameCombo) || dialog.hasControl(kFileNameEdit);
    }
    // A message box with a text (the Save As dialog is a "#32770" too, and may still be going).
    MessageBoxInfo waitTextBox() {
        MessageBoxInfo found{};
        if (!pollUntil([&] {
                try {
                    for (const MessageBoxInfo& box : messageBoxes(corvane->id()))
                        if (!box.text.empty() && !isSaveAs(box.window)) found = box;
                } catch (const DriverError&) {
                }
                return bool(found.window);
            }))
            throw DriverError("no message box; windows:" + openWindows());
        return found;
    }

    // "Exporter..." through the Save As dialog, to `target`.
    void exportThroughDialog(const Window& window, const std::string& target) {
        window.control(kExporter).post(BM_CLICK);
        Window dialog;
        ASSERT_TRUE(pollUntil([&] {
            for (const Window& w : topWindows(corvane->id(), "#32770"))
                if (w.text() == "Exporter l'historique" && isSaveAs(w)) dialog = w;
            return bool(dialog);
        })) << "no Save As dialog";
        HWND name = nullptr;
        HWND save = nullptr;
        for (const ControlInfo& c : dialog.controls()) {
            bool edit = lstrcmpiA(c.className.c_str(), "Edit") == 0;
            if (edit && (c.id == kFileNameCombo || c.id == kFileNameEdit)) name = c.handle;
            if (c.id == IDOK && lstrcmpiA(c.className.c_str(), "Button") == 0) save = c.handle;
        }
        ASSERT_NE(name, nullptr);
        ASSERT_NE(save, nullptr);
        Window(name).send(WM_SETTEXT, 0, reinterpret_cast<LPARAM>(fromUtf8(target).c_str()));
        dialog.post(WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), reinterpret_cast<LPARAM>(save));
    }

    // Quits through the menu and the About window, and waits until the program has ended.
    void quit() {
        main.postCommand(kQuitter);
        const Window about = waitWindow(corvane->id(), kAboutClass);
        pressButton(about, kAboutOk);
        ASSERT_TRUE(corvane->waitExit()) << "Corvane did not end; windows:" << openWindows();
    }

    // Minutes [first, end) in this program's form, the same figures at each.
    static std::string minutes(int64_t first, int64_t end) {
        std::string text;
        for (int64_t m = first; m < end; ++m) text += minuteText(m) + ";1536;1536;1536;900;\r\n";
        return text;
    }

    Window openHistory() {
        main.postCommand(kHistorique);
        Window history = waitWindow(corvane->id(), kHistoryClass);
        EXPECT_EQ(history.text(), "Historique du fichier SWAP");
        return history;
    }

    // Six days of a swap file that grows by day and shrinks back by night, the machine off
    // two nights, the part in use reported from the third day on.
    std::string severalDays(int64_t now) {
        std::string text = kHeader;
        for (int64_t m = now - 6 * 1440; m < now - 1; ++m) {
            int64_t day = (m - (now - 6 * 1440)) / 1440;
            int hour = static_cast<int>((m % 1440) / 60);
            if ((day == 1 || day == 3) && (hour >= 23 || hour < 6)) continue;
            int wave = static_cast<int>(m % 1440 < 720 ? m % 1440 : 1440 - m % 1440);  // 0..720
            int size = 1536 + wave / 3 + static_cast<int>(day) * 20;
            int memory = 900 + wave / 2 + static_cast<int>(m % 23);
            std::string inUse = day >= 2 ? std::to_string(200 + wave / 5) : "";
            text += minuteText(m) + ";" + std::to_string(size - static_cast<int>(m % 40)) + ";" +
                    std::to_string(size + static_cast<int>(m % 60)) + ";" + std::to_string(size) +
                    ";" + std::to_string(memory) + ";" + inUse + "\r\n";
        }
        return text;
    }
};

TEST_F(HistoryTest, MenuItemAndCtrlHOpenTheResizableHistoryWindow) {
    launch();
    Window history = openHistory();
    EXPECT_TRUE(history.style() & WS_THICKFRAME) << "the window cannot be resized";
    const char* buttons[] = {"&1 h", "&24 h", "&7 j", "&30 j", "&Tout", "&Exporter..."};
    for (int id = kHeure; id <= kExporter; ++id) {
        EXPECT_EQ(history.controlText(id), buttons[id - kHeure]);
    }
    EXPECT_TRUE(history.hasControl(kGraphique));
    EXPECT_FALSE(history.control(kAvis).visible()) << history.controlText(kAvis);

    // The item again brings the same window forward, it makes no second one.
    main.postCommand(kHistorique);
    setSwapSize(60 * kMiB);
    tickUntilSwapReads("SWAP: 60 Mo  Mini: 50 Mo  Maxi: 60 Mo  Moy: 55 Mo");
    EXPECT_EQ(topWindows(corvane->id(), kHistoryClass).size(), 1u);

    history.postClose();
    ASSERT_TRUE(pollUntil([&] { return !history.exists(); })) << "the window did not close";
    bringToFront(main);
    pressKeys({VK_CONTROL, 'H'});
    Window again = waitWindow(corvane->id(), kHistoryClass);
    EXPECT_EQ(again.text(), "Historique du fichier SWAP");
    EXPECT_TRUE(corvane->running());
}

TEST_F(HistoryTest, SamplesOverMoreThanAMinuteLeaveOneRecordForEachMinute) {
    // Started half way through a minute, the program's own 60-second timer fires half a
    // minute after the next one begins: the ticks in between are the test's alone.
    ASSERT_TRUE(
        pollUntil([] { return utcSecondNow() % 60 >= 30 && utcSecondNow() % 60 < 40; }, 65000));
    int64_t before = utcMinuteNow();
    launch();
    int64_t after = utcMinuteNow();
    // The first sample's minute is still going on: nothing but the header yet.
    EXPECT_EQ(readFile(csvPath()), kHeader);
    ASSERT_TRUE(pollUntil([&] { return utcMinuteNow() > after; }, 35000));
    setSwapSize(70 * kMiB);
    tickUntilSwapReads("SWAP: 70 Mo  Mini: 50 Mo  Maxi: 70 Mo  Moy: 60 Mo");
    std::string file = readFile(csvPath());
    ASSERT_EQ(file.rfind(kHeader, 0), 0u) << file;
    const std::string records = file.substr(std::string(kHeader).size());
    std::smatch first;
    // Wine reports no paging file, so the part in use is left empty; it gives the commit and its
    // limit. A steady first minute names no program.
    ASSERT_TRUE(std::regex_match(
        records, first,
        std::regex("([0-9-]{10} [0-9:]{5});50;50;50;[0-9]+;;[0-9]+;[0-9]+;[a-z+]*\r\n")))
        << file;
    EXPECT_GE(first[1].str(), minuteText(before));
    EXPECT_LE(first[1].str(), minuteText(after));

    // Quitting records the minute in progress.
    main.postCommand(kQuitter);
    const Window about = waitWindow(corvane->id(), kAboutClass);
    pressButton(about, kAboutOk);
    ASSERT_TRUE(corvane->waitExit()) << "Corvane did not end; windows:" << openWindows();
    std::string closed = readFile(csvPath());
    ASSERT_EQ(closed.rfind(file, 0), 0u) << closed;
    // The swap file grew since the minute before: the minute names the programs holding the most
    // commit at the last scan (the start-up's).
    EXPECT_TRUE(
        std::regex_match(closed.substr(file.size()),
                         std::regex("[0-9-]{10} [0-9:]{5};70;70;70;[0-9]+;;[0-9]+;[0-9]+;[a-z+]*"
                                    "(;[^;\r\n]+;[0-9]+;[0-9]+;-?[0-9]+){1,3}\r\n")))
        << closed;
}

TEST_F(HistoryTest, ExporterWritesACopyWhereTheSaveAsDialogSays) {
    int64_t now = utcMinuteNow();
    const std::string history = std::string(kHeader) + minuteText(now - 3) +
                                ";1536;1540;1538;812;\r\n" + minuteText(now - 2) +
                                ";1536;1536;1536;815;120\r\n";
    writeHistory(history);
    launch();
    Window window = openHistory();
    // The user's documents, where the dialog must open, and the name it must offer.
    wchar_t documents[MAX_PATH] = L"";
    ASSERT_TRUE(SUCCEEDED(SHGetFolderPathW(nullptr, CSIDL_PERSONAL, nullptr, 0, documents)));
    SYSTEMTIME today;
    GetLocalTime(&today);
    char name[64];
    std::snprintf(name, sizeof name, "Corvane-historique-%04u-%02u-%02u.csv", today.wYear,
                  today.wMonth, today.wDay);
    const std::string target = toUtf8(documents) + "\\" + name;
    removeFile(target);

    auto openDialog = [&] {
        Window dialog;
        EXPECT_TRUE(pollUntil([&] {
            // A box that is going away answers nothing: it is not the dialog.
            try {
                for (const Window& w : topWindows(corvane->id(), "#32770"))
                    if (w.text() == "Exporter l'historique" && isSaveAs(w)) dialog = w;
            } catch (const DriverError&) {
            }
            return bool(dialog);
        })) << "no Save As dialog; windows:"
            << openWindows();
        return dialog;
    };
    // The file name box is an edit, inside a combo box where the dialog has one; the button
    // shares its ID with the file list.
    auto controlsOf = [](const Window& dialog, HWND& nameBox, HWND& save) {
        for (const ControlInfo& c : dialog.controls()) {
            bool edit = lstrcmpiA(c.className.c_str(), "Edit") == 0;
            if (edit && (c.id == kFileNameCombo || c.id == kFileNameEdit)) nameBox = c.handle;
            if (c.id == IDOK && lstrcmpiA(c.className.c_str(), "Button") == 0) save = c.handle;
        }
    };

    // The history itself is refused before any question of replacing it, and the dialog
    // comes back for another name.
    window.control(kExporter).post(BM_CLICK);
    Window dialog = openDialog();
    ASSERT_TRUE(dialog);
    shot("history-export-dialog", dialog);
    HWND nameBox = nullptr, save = nullptr;
    controlsOf(dialog, nameBox, save);
    ASSERT_NE(nameBox, nullptr) << "the dialog has no file name box";
    ASSERT_NE(save, nullptr) << "the dialog has no save button";
    EXPECT_EQ(Window(nameBox).text(), name);
    Window(nameBox).send(WM_SETTEXT, 0, reinterpret_cast<LPARAM>(fromUtf8(csvPath()).c_str()));
    dialog.post(WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), reinterpret_cast<LPARAM>(save));
    const MessageBoxInfo refused = waitTextBox();
    EXPECT_NE(refused.text.find("Ce fichier est l'historique que Corvane tient à jour"),
              std::string::npos)
        << refused.text;
    EXPECT_EQ(refused.buttons, std::vector<int>{IDOK}) << "a question was asked";
    pressButton(refused.window, IDOK);

    // The name offered, kept as it is: the copy goes to the documents, and the program says so.
    dialog = openDialog();
    ASSERT_TRUE(dialog);
    nameBox = save = nullptr;
    controlsOf(dialog, nameBox, save);
    ASSERT_NE(nameBox, nullptr);
    EXPECT_EQ(Window(nameBox).text(), name);
    dialog.post(WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), reinterpret_cast<LPARAM>(save));
    const MessageBoxInfo done = waitTextBox();
    EXPECT_EQ(done.text, "L'historique a été exporté dans :\r\n" + target);
    shot("history-exported", done.window);
    pressButton(done.window, IDOK);
    const std::string exported =
        "Type;Minute ou heure (UTC);SWAP mini (Mo);SWAP maxi (Mo);SWAP "
        "(Mo);RAM en usage (Mo);SWAP en usage (Mo);Engagement (Mo);Limite d'engagement (Mo);"
        "Alertes;Programme 1;PID 1;Engagement 1 (Mo);Hausse sur 1 h 1 (Mo);"
        "Programme 2;PID 2;Engagement 2 (Mo);Hausse sur 1 h 2 (Mo);"
        "Programme 3;PID 3;Engagement 3 (Mo);Hausse sur 1 h 3 (Mo)\r\nminute;" +
        minuteText(now - 3) + ";1536;1540;1538;812;\r\nminute;" + minuteText(now - 2) +
        ";1536;1536;1536;815;120\r\n";
    EXPECT_EQ(fileExists(target) ? readFile(target) : "<none>", exported);
    EXPECT_EQ(readFile(csvPath()), history);
    removeFile(target);
}

TEST_F(HistoryTest, AHistoryASpreadsheetSavedBackLosesNothing) {
    // Dates as a French spreadsheet writes them, numbers grouped, a column of notes added.
    int64_t now = utcMinuteNow();
    std::string resaved =
        "Minute (UTC);SWAP mini (Mo);SWAP maxi (Mo);SWAP (Mo);RAM en usage (Mo);SWAP en usage "
        "(Mo);Note\r\n";
    std::string ours = kHeader;
    for (int64_t m = now - 120; m < now - 60; ++m) {
        std::string date = minuteText(m);  // "2026-12-08 06:17" -> "08/12/2026 06:17"
        std::string french =
            date.substr(8, 2) + "/" + date.substr(5, 2) + "/" + date.substr(0, 4) + date.substr(10);
        int size = 1500 + static_cast<int>(m % 50);
        resaved += french + ";1 " + std::to_string(size - 1000) + ";" + std::to_string(size + 2) +
                   ";" + std::to_string(size) + ";900;;" + (m % 7 ? "" : "pic") + "\r\n";
        ours += date + ";" + std::to_string(size) + ";" + std::to_string(size + 2) + ";" +
                std::to_string(size) + ";900;\r\n";
    }
    resaved += "Total;;;;;;\r\n";
    writeHistory(resaved);
    launch();
    // The file as it was is kept before anything is rewritten; the records are all there.
    ASSERT_TRUE(fileExists(csvPath() + ".bak")) << "no copy of the file as it was";
    EXPECT_EQ(readFile(csvPath() + ".bak"), resaved);
    std::string rewritten = readFile(csvPath());
    EXPECT_EQ(rewritten.substr(0, ours.size()), ours);
    Window window = openHistory();
    EXPECT_TRUE(window.control(kAvis).visible());
    EXPECT_NE(window.controlText(kAvis).find("Corvane.csv.bak"), std::string::npos)
        << window.controlText(kAvis);
    window.control(kHeure).post(BM_CLICK);
    ASSERT_TRUE(pollUntil([&] { return window.control(kHeure).send(BM_GETCHECK) == BST_CHECKED; }));
    shot("history-resaved", window);
}

TEST_F(HistoryTest, FourHundredDaysStartAreDrawnInToutAndExportedWithBothDetails) {
    // 400 days as this version keeps them: hours up to 31 days ago, minutes since. The swap
    // file grows over a season and shrinks back, and swings within each day.
    int64_t now = utcMinuteNow();
    int64_t cut = (now - 31 * 1440) / 60 * 60;
    auto sizeAt = [](int64_t m) {
        int season = static_cast<int>((m / 1440) % 120);
        int day = static_cast<int>(m % 1440 < 720 ? m % 1440 : 1440 - m % 1440);
        return 1200 + (season < 60 ? season : 120 - season) * 8 + day / 6;
    };
    // The hours under the header of earlier versions, which still reads.
    std::string hours =
        "Heure (UTC);SWAP mini (Mo);SWAP maxi (Mo);SWAP (Mo);RAM en usage maxi (Mo);SWAP en "
        "usage maxi (Mo)\r\n";
    int hourCount = 0;
    for (int64_t h = (now - 400 * 1440) / 60 * 60; h < cut; h += 60, ++hourCount) {
        int size = sizeAt(h);
        hours += minuteText(h) + ";" + std::to_string(size - 40) + ";" + std::to_string(size + 60) +
                 ";" + std::to_string(size) + ";2400;300\r\n";
    }
    std::string minutes = kHeader;
    int minuteCount = 0;
    for (int64_t m = cut; m < now - 1; ++m, ++minuteCount) {
        int size = sizeAt(m);
        minutes += minuteText(m) + ";" + std::to_string(size - 3) + ";" + std::to_string(size + 4) +
                   ";" + std::to_string(size) + ";2200;280\r\n";
    }
    writeHistory(minutes);
    std::ofstream(folder + "\\Corvane-heures.csv", std::ios::binary | std::ios::trunc) << hours;
    setSwapSize(1700 * kMiB);
    launch();
    Window window = openHistory();
    window.control(kTout).post(BM_CLICK);
    ASSERT_TRUE(pollUntil([&] { return window.control(kTout).send(BM_GETCHECK) == BST_CHECKED; }));
    bringToFront(window);
    // Under the pointer a year ago: the values of hours, with their band.
    const RECT plot = window.control(kGraphique).rect();
    const int y = (plot.top + plot.bottom) / 2;
    std::string old = pointAt(window, plot.left + (plot.right - plot.left) / 5, y, isValues);
    EXPECT_TRUE(std::regex_search(old, std::regex(" : SWAP [0-9]+ Mo \\(de [0-9]+ à [0-9]+ Mo\\)")))
        << old;
    shot("history-400-days-all", window);

    const std::string target = folder + "\\export 400 jours.csv";
    exportThroughDialog(window, target);
    // The file is held while it is written.
    std::string exported;
    ASSERT_TRUE(pollUntil(
        [&] {
            try {
                exported = fileExists(target) ? readFile(target) : "";
            } catch (const DriverError&) {
                return false;
            }
            return exported.size() > hours.size() + minutes.size();
        },
        20000))
        << "no export, or a short one: " << exported.size() << " bytes";
    int exportedHours = 0;
    int exportedMinutes = 0;
    for (size_t at = 0; at < exported.size(); at = exported.find('\n', at) + 1) {
        if (exported.compare(at, 6, "heure;") == 0) ++exportedHours;
        if (exported.compare(at, 7, "minute;") == 0) ++exportedMinutes;
        if (exported.find('\n', at) == std::string::npos) break;
    }
    EXPECT_EQ(exported.rfind("Type;Minute ou heure (UTC);", 0), 0u) << exported.substr(0, 200);
    EXPECT_EQ(exportedHours, hourCount);
    EXPECT_GE(exportedMinutes, minuteCount);
    const MessageBoxInfo done = waitTextBox();
    EXPECT_EQ(done.text, "L'historique a été exporté dans :\r\n" + target);
}

TEST_F(HistoryTest, SeveralDaysAreDrawnAndTheirValuesReadUnderThePointer) {
    writeHistory(severalDays(utcMinuteNow()));
    setSwapSize(1700 * kMiB);
    launch();
    Window window = openHistory();
    window.control(kSemaine).post(BM_CLICK);
    ASSERT_TRUE(
        pollUntil([&] { return window.control(kSemaine).send(BM_GETCHECK) == BST_CHECKED; }));
    bringToFront(window);
    // Real input, as the window follows the pointer in and out: over the scale first, where
    // there are no values, then over the last whole day, halfway down.
    const RECT plot = window.control(kGraphique).rect();
    const int y = (plot.top + plot.bottom) / 2;
    EXPECT_TRUE(isHint(pointAt(window, plot.left + 5, plot.top + 5, isHint)));
    std::string values =
        pointAt(window, plot.left + (plot.right - plot.left) * 9 / 10, y, isValues);
    // A column of this span holds a quarter of an hour, which may straddle midnight. Times are
    // as the system writes them: the 32-bit program under WoW64 is given 12-hour ones.
    const std::string time = "[0-9:]+( [AP]M)?";
    EXPECT_TRUE(std::regex_match(
        values, std::regex("(Le [0-9/]+ de " + time + " à " + time + "|Du [0-9/]+ " + time +
                           " au [0-9/]+ " + time +
                           ") : SWAP [0-9]+ Mo \\(de [0-9]+ à [0-9]+ Mo\\), RAM utilisée "
                           "[0-9]+ Mo, SWAP utilisé [0-9]+ Mo")))
        << values;
    shot("history-several-days", window);

    window.control(kTout).post(BM_CLICK);
    window.waitControlText(kSurvol, "Placez le pointeur");  // a new span: the old values go
    // Near the right end of the plot, left of the right-hand scale.
    std::string all = pointAt(window, plot.right - MulDiv(62 + 8, displayDpi(), 96), y, isValues);
    EXPECT_NE(all.find(" : SWAP "), std::string::npos) << all;
    shot("history-all", window);
}

TEST_F(HistoryTest, TheCommitAlertsAndProgramsOfAMinuteAreDrawnAndReadUnderThePointer) {
    // Minutes of an older version (no commit) then of this one: the commit, an alert while
    // the swap file grew with the programs named then, and one of the commit and the memory.
    // A name with a semicolon and an accent is written escaped.
    const int64_t now = utcMinuteNow();
    const int64_t named = now - 30;
    const int64_t alerted = now - 25;
    auto commitAt = [](int64_t m) { return std::to_string(5000 + m % 10 * 20); };
    std::string text = kHeader;
    for (int64_t m = now - 50; m < now - 1; ++m) {
        std::string line = minuteText(m) + ";1536;1540;1538;900;";
        if (m >= now - 35) {
            line += ";" + commitAt(m) + ";12288;";
            if (m == named) {
                line += "swap;chrome.exe;1234;812;300;%C3%89diteur%3B2.exe;56;640;-12";
            } else if (m == alerted) {
                line += "engagement+memoire";
            }
        }
        text += line + "\r\n";
    }
    writeHistory(text);
    setSwapSize(1600 * kMiB);
    launch();
    Window window = openHistory();
    window.control(kHeure).post(BM_CLICK);
    ASSERT_TRUE(pollUntil([&] { return window.control(kHeure).send(BM_GETCHECK) == BST_CHECKED; }));
    bringToFront(window);

    std::string reading = pointAtMinute(window, named, [](const std::string& t) {
        return t.find("Programmes qui engagent le plus : ") != std::string::npos;
    });
    EXPECT_NE(reading.find(" : SWAP 1538 Mo (de 1536 à 1540 Mo), RAM utilisée 900 Mo, "
                           "engagement " +
                           commitAt(named) +
                           " / 12288 Mo\r\nAlerte : fichier SWAP agrandi\r\n"
                           "Programmes qui engagent le plus : chrome.exe (PID 1234) 812 Mo, "
                           "+300 Mo sur l'heure ; Éditeur;2.exe (PID 56) 640 Mo, -12 Mo sur "
                           "l'heure"),
              std::string::npos)
        << reading;
    // All three lines are in the window, none cut off at the bottom.
    const RECT survol = window.control(kSurvol).rect();
    EXPECT_GE(survol.bottom - survol.top, 3 * 13) << "the reading has no room for three lines";
    shot("history-programs-under-pointer", window);

    std::string both = pointAtMinute(window, alerted, [](const std::string& t) {
        return t.find("Alertes : ") != std::string::npos;
    });
    EXPECT_NE(both.find("engagement " + commitAt(alerted) +
                        " / 12288 Mo\r\nAlertes : seuil d'engagement atteint, "
                        "seuil de mémoire atteint"),
              std::string::npos)
        << both;
    EXPECT_EQ(both.find("Programmes"), std::string::npos) << both;
    // An older version's minute says nothing of the commit.
    std::string old = pointAtMinute(window, now - 45, isValues);
    EXPECT_NE(old.find(" : SWAP 1538 Mo (de 1536 à 1540 Mo), RAM utilisée 900 Mo"),
              std::string::npos)
        << old;
    EXPECT_EQ(old.find("engagement"), std::string::npos) << old;

    // Away from the drawing, its marks are read from the screen: the commit's line where it is
    // known and not before, the alerts' marks at the foot of their minutes only.
    movePointer(0, 0);
    window.waitControlText(kSurvol, "Placez le pointeur");
    auto area = [&](int64_t minute, bool foot) {
        Columns c = minuteColumns(window, minute, utcMinuteNow());
        return RECT{c.left, foot ? c.bottom - 6 : c.top, c.right, c.bottom};
    };
    EXPECT_TRUE(shows(area(now - 20, false), kCommitColour));
    EXPECT_FALSE(shows(area(now - 45, false), kCommitColour));
    EXPECT_TRUE(shows(area(named, true), kAlertColour));
    EXPECT_TRUE(shows(area(alerted, true), kAlertColour));
    EXPECT_FALSE(shows(area(now - 28, true), kAlertColour));
    shot("history-commit-and-alerts", window);
}

TEST_F(HistoryTest, AProgramCommitting300MoAsTheSwapFileGrowsIsNamedInItsMinute) {
    // The programs are looked at once a minute, from the first tick on: the program starts
    // after that first look, so that all it holds is growth, and before the second, which
    // falls early in the next minute. That minute the swap file grows.
    ASSERT_TRUE(pollUntil([] { return utcSecondNow() % 60 < 15; }, 65000));
    launch();
    const ULONGLONG launched = GetTickCount64();
    const int64_t minute = utcMinuteNow() + 1;
    Process committer = startCommitter(kCommitMo);
    ASSERT_TRUE(pollUntil([&] { return GetTickCount64() - launched > 61000; }, 65000));
    // The second look, unless the program's own timer took it; its time label tells that the
    // tick was taken, at the size the file still has.
    const std::string elapsed = main.controlText(kDebutWin);
    main.postTimer(kTimer1);
    pollUntil([&] { return main.controlText(kDebutWin) != elapsed; }, 3000);
    setSwapSize(80 * kMiB);
    main.postTimer(kTimer1);
    main.waitControlText(kSwap, "SWAP: 80 Mo  Mini: 50 Mo  Maxi: 80 Mo");
    ASSERT_EQ(utcMinuteNow(), minute) << "the swap file did not grow in the minute looked at";

    // Once the minute is over, the next one's first sample writes it.
    ASSERT_TRUE(pollUntil([&] { return utcMinuteNow() > minute; }, 65000));
    std::string file;
    ASSERT_TRUE(pollUntil([&] {
        main.postTimer(kTimer1);
        return !lineOf(file = readFile(csvPath()), minute).empty();
    })) << file;
    EXPECT_EQ(file.rfind(kHeader, 0), 0u) << file.substr(0, 400);
    const std::string line = lineOf(file, minute);
    std::vector<std::string> f = fields(line);
    ASSERT_GE(f.size(), 13u) << line;
    EXPECT_EQ((f.size() - 9) % 4, 0u) << line;
    EXPECT_EQ(f[1], "50") << line;
    EXPECT_EQ(f[2], "80") << line;
    // Wine reports the commit and its limit (the whole machine's).
    EXPECT_GT(std::atoi(f[6].c_str()), kCommitMo) << line;
    EXPECT_GE(std::atoi(f[7].c_str()), std::atoi(f[6].c_str())) << line;
    EXPECT_EQ(f[9], "CorvaneCommit.exe") << line;
    EXPECT_EQ(f[10], std::to_string(committer.id())) << line;
    EXPECT_NEAR(std::atoi(f[11].c_str()), kCommitMo, 12) << line;
    // It started within the hour: all it holds is the hour's growth.
    EXPECT_NEAR(std::atoi(f[12].c_str()), std::atoi(f[11].c_str()), 12) << line;

    Window window = openHistory();
    window.control(kHeure).post(BM_CLICK);
    ASSERT_TRUE(pollUntil([&] { return window.control(kHeure).send(BM_GETCHECK) == BST_CHECKED; }));
    bringToFront(window);
    const std::string named = "Programmes qui engagent le plus : CorvaneCommit.exe (PID " +
                              std::to_string(committer.id()) + ") ";
    std::string reading = pointAtMinute(
        window, minute, [&](const std::string& t) { return t.find(named) != std::string::npos; });
    std::smatch figures;
    ASSERT_TRUE(std::regex_search(
        reading, figures,
        std::regex("engagement [0-9]+ / [0-9]+ Mo\r\n(.*\r\n)?Programmes qui engagent le plus : "
                   "CorvaneCommit\\.exe \\(PID [0-9]+\\) ([0-9]+) Mo, \\+([0-9]+) Mo sur "
                   "l'heure")))
        << reading;
    EXPECT_EQ(figures[2].str(), f[11]) << reading;
    EXPECT_EQ(figures[3].str(), f[12]) << reading;
    shot("history-committer-under-pointer", window);
}

}  // namespace
}  // namespace corvane::wine

namespace corvane::wine {
namespace {

TEST_F(HistoryTest, ATornLastLineBeforeEachOfElevenStartsLeavesAtMostOneCopy) {
    int64_t now = utcMinuteNow();
    const std::string kept = std::string(kHeader) + minutes(now - 200, now - 100);
    writeHistory(kept);
    for (int start = 0; start < 11; ++start) {
        SCOPED_TRACE(start);
        // A power cut as the minute's line was appended: cut after its fifth field, what is
        // left would read as a memory of 9 Mo.
        writeHistory(readFile(csvPath()) + minuteText(now - 99 + start) + ";1536;1536;1536;9");
        launch();
        quit();
    }
    int copies = 0;
    for (const char* suffix : {".bak", ".bak2", ".bak3", ".bak4", ".bak5", ".bak6", ".bak7",
                               ".bak8", ".bak9", ".bak.tmp"}) {
        copies += fileExists(csvPath() + suffix) ? 1 : 0;
    }
    EXPECT_LE(copies, 1);
    std::string file = readFile(csvPath());
    EXPECT_EQ(file.rfind(kept, 0), 0u) << file;
    EXPECT_EQ(file.find(";1536;1536;1536;9\r\n"), std::string::npos) << file;
    for (int start = 0; start < 11; ++start) EXPECT_EQ(lineOf(file, now - 99 + start), "");
    // Still a file this program keeps up: every start appended its minute in progress.
    EXPECT_GE(std::count(file.begin(), file.end(), '\n'),
              std::count(kept.begin(), kept.end(), '\n') + 1)
        << file;
}

TEST_F(HistoryTest, AFileHeldAcrossAMinuteAndTheExitLosesNoMinuteOnceReleased) {
    // Started early in a minute, so that the test's own tick ends it well before the timer.
    ASSERT_TRUE(pollUntil([] { return utcSecondNow() % 60 < 20; }, 65000));
    launch();
    const int64_t first = utcMinuteNow();
    // A spreadsheet holds the file open, letting others read it only.
    HANDLE held = CreateFileW(fromUtf8(csvPath()).c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                              OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(held, INVALID_HANDLE_VALUE) << lastErrorText();
    const std::string before = readFile(csvPath());
    ASSERT_TRUE(pollUntil([&] { return utcMinuteNow() > first; }, 65000));
    setSwapSize(70 * kMiB);
    tickUntilSwapReads("SWAP: 70 Mo  Mini: 50 Mo  Maxi: 70 Mo  Moy: 60 Mo");
    const int64_t second = utcMinuteNow();
    quit();
    EXPECT_EQ(readFile(csvPath()), before) << "the held file was written";
    CloseHandle(held);

    launch();
    std::string file = readFile(csvPath());
    EXPECT_EQ(file.rfind(before, 0), 0u) << file;
    EXPECT_EQ(lineOf(file, first).rfind(minuteText(first) + ";50;50;50;", 0), 0u) << file;
    EXPECT_EQ(lineOf(file, second).rfind(minuteText(second) + ";70;70;70;", 0), 0u) << file;
    EXPECT_FALSE(fileExists(folder + "\\Corvane-attente.csv"));
    quit();
}

TEST_F(HistoryTest, ALineAYearAheadCostsNoMinuteOfTheLastDay) {
    // One minute recorded while the clock was a year ahead, then the clock put right.
    int64_t now = utcMinuteNow();
    writeHistory(std::string(kHeader) + minutes(now - 1500, now - 2) +
                 minutes(now + 525600, now + 525601));
    launch();
    quit();
    launch();
    quit();
    std::string file = readFile(csvPath());
    for (int64_t m = now - 1440; m < now - 2; ++m) {
        ASSERT_NE(lineOf(file, m), "") << minuteText(m) << " is no longer a minute";
    }
    EXPECT_NE(lineOf(file, now + 525600), "");
    EXPECT_FALSE(fileExists(folder + "\\Corvane-heures.csv"))
        << readFile(folder + "\\Corvane-heures.csv");
}

}  // namespace
}  // namespace corvane::wine

namespace corvane::wine {
namespace {

TEST_F(HistoryTest, ASmallSwapFileFillsTheHeightBesideALargeCommitWhichTheLegendHides) {
    // The swap file grows from 64 to 128 Mo while 2 400 Mo are committed: the swap file's
    // scale is its own, the commit goes to the right-hand scale, and a click on its entry of
    // the legend hides it and a second one shows it again.
    const int64_t now = utcMinuteNow();
    std::string text = kHeader;
    for (int64_t m = now - 58; m < now - 1; ++m) {
        int swap = 64 + static_cast<int>((m - (now - 58)) * 64 / 56);
        std::string size = std::to_string(swap);
        text += minuteText(m) + ";" + size + ";" + size + ";" + size + ";1900;;" +
                std::to_string(2400 + m % 7) + ";4000;\r\n";
    }
    writeHistory(text);
    setSwapSize(128 * kMiB);
    launch();
    Window window = openHistory();
    window.control(kHeure).post(BM_CLICK);
    ASSERT_TRUE(pollUntil([&] { return window.control(kHeure).send(BM_GETCHECK) == BST_CHECKED; }));
    bringToFront(window);
    movePointer(0, 0);

    const RECT r = window.control(kGraphique).rect();
    const int dpi = displayDpi();
    const RECT plot{r.left + MulDiv(62, dpi, 96), r.top + MulDiv(44, dpi, 96),
                    r.right - MulDiv(62, dpi, 96), r.bottom - MulDiv(34, dpi, 96)};
    std::pair<int, int> swapRows;
    ASSERT_TRUE(pollUntil([&] {
        swapRows = rowsShowing(plot, kSwapColour);
        return swapRows.first >= 0;
    })) << "no swap line drawn";
    shot("history-small-swap-large-commit", window);
    // From 64 to 128 Mo the line climbs over most of the height, not along its foot.
    EXPECT_GT(swapRows.second - swapRows.first, (plot.bottom - plot.top) / 2)
        << swapRows.first << ".." << swapRows.second << " in " << plot.top << ".." << plot.bottom;
    EXPECT_TRUE(shows(plot, kCommitColour));

    const RECT legend{r.left, r.top, r.right, plot.top - MulDiv(8, dpi, 96)};
    const POINT entry = firstPixel(legend, kCommitColour);
    ASSERT_GE(entry.x, 0) << "the legend names no commit";
    // A click as a mouse makes it, through the system's input queue. About one click in four
    // changed nothing here under Wine, the pointer already on the entry (why is not known): a
    // click that changed nothing in 3 s is made once more; a lost click cannot turn it twice.
    auto click = [&](bool shownAfter) {
        for (int attempt = 0; attempt < 2; ++attempt) {
            const POINT at{entry.x + MulDiv(5, dpi, 96), entry.y};
            movePointer(at.x, at.y);
            EXPECT_TRUE(pollUntil([&] {
                POINT now{};
                return GetCursorPos(&now) && now.x == at.x && now.y == at.y;
            }));
            INPUT buttons[2]{};
            buttons[0].type = buttons[1].type = INPUT_MOUSE;
            buttons[0].mi.dwFlags = MOUSEEVENTF_LEFTDOWN;
            buttons[1].mi.dwFlags = MOUSEEVENTF_LEFTUP;
            ASSERT_EQ(SendInput(2, buttons, sizeof(INPUT)), 2u) << lastErrorText();
            movePointer(0, 0);
            if (pollUntil([&] { return shows(plot, kCommitColour) == shownAfter; }, 3000)) return;
        }
    };
    click(false);
    EXPECT_FALSE(shows(plot, kCommitColour))
        << "the commit is still drawn after a click on its entry";
    EXPECT_TRUE(shows(plot, kSwapColour));
    shot("history-commit-hidden", window);
    click(true);
    EXPECT_TRUE(shows(plot, kCommitColour)) << "a second click does not bring the commit back";
}

}  // namespace
}  // namespace corvane::wine
