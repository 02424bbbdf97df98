// Corvane run after run in one folder: starts that may open with a message box, the ordinary
// way out, the stored statistics, and the journal's bytes with the dates and times of a run.
#pragma once

#include <string>
#include <vector>

#include "corvane_fixture.h"
#include "platform/control_ids.h"

namespace corvane::wine {

inline constexpr int kJournal = ID_JOURNAL;
inline constexpr int kInitJournal = ID_INITJOURNAL;
inline constexpr int kInitAll = ID_INITALL;

// A stretch of local time, to the second, in which something was written.
struct Moment {
    SYSTEMTIME from{};
    SYSTEMTIME to{};
};

inline SYSTEMTIME localTime() {
    SYSTEMTIME now;
    GetLocalTime(&now);
    return now;
}

// Date and time in the user's formats, as the program's journal lines carry them: ANSI bytes.
inline std::string journalDateTime(const SYSTEMTIME& when) {
    char date[64] = "";
    char time[64] = "";
    GetDateFormatA(LOCALE_USER_DEFAULT, DATE_SHORTDATE, &when, nullptr, date, sizeof date);
    GetTimeFormatA(LOCALE_USER_DEFAULT, 0, &when, nullptr, time, sizeof time);
    return std::string(date) + " \xE0 " + time;
}

// One expected line of the journal: fixed bytes, or a prefix followed by a date and time that
// fall within `moment`.
struct JournalLine {
    std::string bytes;
    const Moment* moment = nullptr;
};

// The bytes the journal should hold: each dated line takes the time it really carries when
// that time lies in its moment, and the moment's start otherwise, so that a comparison of the
// whole file shows every difference at once.
inline std::string expectedJournal(const std::string& actual,
                                   const std::vector<JournalLine>& lines) {
    std::vector<std::string> actualLines;
    for (size_t at = 0; at < actual.size();) {
        size_t end = actual.find("\r\n", at);
        if (end == std::string::npos) end = actual.size();
        actualLines.push_back(actual.substr(at, end - at));
        at = end + 2;
    }
    std::string expected;
    for (size_t i = 0; i < lines.size(); ++i) {
        const JournalLine& line = lines[i];
        std::string text = line.bytes;
        if (line.moment) {
            FILETIME from, to;
            SYSTEMTIME start = line.moment->from;
            start.wMilliseconds = 0;
            SystemTimeToFileTime(&start, &from);
            SystemTimeToFileTime(&line.moment->to, &to);
            ULARGE_INTEGER t{{from.dwLowDateTime, from.dwHighDateTime}};
            const ULARGE_INTEGER end{{to.dwLowDateTime, to.dwHighDateTime}};
            text = line.bytes + journalDateTime(start);
            for (; t.QuadPart <= end.QuadPart; t.QuadPart += 10000000ull) {
                FILETIME ft{t.LowPart, t.HighPart};
                SYSTEMTIME st;
                FileTimeToSystemTime(&ft, &st);
                const std::string candidate = line.bytes + journalDateTime(st);
                if (i < actualLines.size() && actualLines[i] == candidate) text = candidate;
            }
        }
        expected += text + "\r\n";
    }
    return expected;
}

inline const std::string kStartPrefix =
    "D\xE9"
    "but d'analyse le ";
inline const std::string kEndPrefix = "Fin d'analyse le   ";

inline std::vector<JournalLine> summaryLines(int maximum, int average, const Moment& end) {
    return {{"    Votre fichier SWAP a atteint la taille maximale de : " + std::to_string(maximum) +
             "Mo"},
            {"    Votre fichier SWAP a eu en moyenne la taille de    : " + std::to_string(average) +
             "Mo"},
            {kEndPrefix, &end},
            {""}};
}

class RunsTest : public CorvaneTest {
protected:
    std::string journalPath() const { return folder + "\\Corvane.txt"; }
    std::string oldJournalPath() const { return folder + "\\Corvane.old"; }
    std::string journalBytes() const {
        return fileExists(journalPath()) ? readFile(journalPath()) : "";
    }

    std::string stored(const std::string& key, bool* found = nullptr) const {
        return readString(HKEY_CURRENT_USER, kSettingsSectionKey, key, found);
    }
    void store(const std::string& key, const std::string& value) {
        setString(HKEY_CURRENT_USER, kSettingsSectionKey, key, value);
    }

    // Starts Corvane and waits for the message box it opens before its window.
    MessageBoxInfo launchToMessageBox() {
        started = localTime();
        startTick = GetTickCount64();
        corvane.emplace(Process::start(folder + "\\Corvane.exe", "", folder));
        return waitMessageBox(corvane->id());
    }

    // Starts Corvane, which must show no message box, and waits for its first sample.
    void launchRun() {
        started = localTime();
        startTick = GetTickCount64();
        launch();
        shownTick = GetTickCount64();
        opened = {started, localTime()};
        ASSERT_TRUE(messageBoxes(corvane->id()).empty()) << "a message box at start";
    }

    // The window of a start that went through a message box, once it shows its first sample.
    void waitRunWindow() {
        main = waitWindow(corvane->id(), kMainClass);
        main.waitControlText(kSwap, "SWAP: ");
        shownTick = GetTickCount64();
        opened = {started, localTime()};
    }

    // The ordinary way out: "Quitter", then the About window's button.
    void quit() {
        closing.from = localTime();
        quitTick = GetTickCount64();
        main.postCommand(kQuitter);
        const Window about = waitWindow(corvane->id(), kAboutClass);
        pressButton(about, kAboutOk);
        ASSERT_TRUE(corvane->waitExit()) << "Corvane did not end; its windows:" << openWindows();
        endTick = GetTickCount64();
        closing.to = localTime();
        EXPECT_EQ(corvane->exitCode(), 0u);
    }

    SYSTEMTIME started{};
    ULONGLONG startTick = 0;  // before the program started
    ULONGLONG shownTick = 0;  // its window showed the first sample
    ULONGLONG quitTick = 0;   // the way out was asked for
    ULONGLONG endTick = 0;    // the program had ended
    Moment opened;            // when the start line was written
    Moment closing;           // when the summary was written
};

// The static of a message box that holds its icon, if it shows one.
inline Window messageBoxIconControl(const MessageBoxInfo& box) {
    for (const ControlInfo& control : box.window.controls()) {
        if ((control.style & SS_TYPEMASK) == SS_ICON && IsWindowVisible(control.handle) &&
            Window(control.handle).send(STM_GETICON) != 0)
            return Window(control.handle);
    }
    return {};
}

// Whether the message box shows the system's icon `systemIcon` (IDI_...). Icon handles do not
// cross processes, so the pixels on the screen are compared with the icon drawn here on the
// same background.
inline bool showsIcon(const MessageBoxInfo& box, LPCWSTR systemIcon) {
    const Window control = messageBoxIconControl(box);
    if (!control) return false;
    const RECT r = control.rect();
    const int width = r.right - r.left;
    const int height = r.bottom - r.top;
    if (width <= 0 || height <= 0) return false;
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    HDC screen = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(screen);
    auto pixels = [&](bool fromScreen, COLORREF background) {
        void* bits = nullptr;
        HBITMAP bitmap = CreateDIBSection(memory, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
        HGDIOBJ previous = SelectObject(memory, bitmap);
        if (fromScreen) {
            BitBlt(memory, 0, 0, width, height, screen, r.left, r.top, SRCCOPY);
        } else {
            RECT all{0, 0, width, height};
            HBRUSH brush = CreateSolidBrush(background);
            FillRect(memory, &all, brush);
            DeleteObject(brush);
            DrawIconEx(memory, 0, 0, LoadIconW(nullptr, systemIcon), width, height, 0, nullptr,
                       DI_NORMAL);
        }
        GdiFlush();
        const auto* begin = static_cast<const uint32_t*>(bits);
        std::vector<uint32_t> result(begin, begin + size_t(width) * height);
        SelectObject(memory, previous);
        DeleteObject(bitmap);
        for (uint32_t& p : result) p &= 0xFFFFFF;
        return result;
    };
    const std::vector<uint32_t> shown = pixels(true, 0);
    const uint32_t corner = shown.front();
    const std::vector<uint32_t> drawn =
        pixels(false, RGB((corner >> 16) & 0xFF, (corner >> 8) & 0xFF, corner & 0xFF));
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);
    size_t same = 0;
    for (size_t i = 0; i < shown.size(); ++i) same += shown[i] == drawn[i];
    return same * 100 >= shown.size() * 98;
}

// The button of a message box that Enter presses.
inline int defaultButton(const MessageBoxInfo& box) {
    for (const ControlInfo& control : box.window.controls()) {
        if (lstrcmpiA(control.className.c_str(), "Button") == 0 &&
            (control.style & BS_TYPEMASK) == BS_DEFPUSHBUTTON)
            return control.id;
    }
    return 0;
}

}  // namespace corvane::wine
