// The page file's advice in the real program: the menu item opens its window over a history
// this test writes and registry values it sets; every figure is read from its own control, the
// advised sizes are those the rules give for the RAM Windows reports, and "Copier" puts the
// whole advice on the clipboard.
#include <cstdio>
#include <fstream>

#include "corvane_fixture.h"
#include "platform/control_ids.h"
#include "utc_minutes.h"

namespace corvane::wine {
namespace {

inline constexpr const char* kAdviceClass = "CorvaneAdvice";
inline constexpr const char* kCrashControlKey = "SYSTEM\\CurrentControlSet\\Control\\CrashControl";
inline constexpr const char* kCsvHeader =
    "Minute (UTC);SWAP mini (Mo);SWAP maxi (Mo);SWAP (Mo);RAM en usage (Mo);SWAP en usage (Mo);"
    "Engagement (Mo);Limite d'engagement (Mo);Alertes;"
    "Programme 1;PID 1;Engagement 1 (Mo);Hausse sur 1 h 1 (Mo);"
    "Programme 2;PID 2;Engagement 2 (Mo);Hausse sur 1 h 2 (Mo);"
    "Programme 3;PID 3;Engagement 3 (Mo);Hausse sur 1 h 3 (Mo)\r\n";
enum AdviceId : int {
    kConseil = ID_PAGE_FILE_ADVICE,  // the menu item
    kFirstLabel = IDC_ADVICE_FIRST_LABEL,
    kCopier = IDC_ADVICE_COPY,
};
// The lines: label's ID kFirstLabel + 2 x line, figure's the next.
enum AdviceLine : int {
    kMemoire = 0,
    kPic = 1,
    kVidage = 3,
    kFichiers = 4,
    kInitiale = 8,
    kMaximale = 9,
    kVerdict = 10,
};
int labelId(int line) {
    return kFirstLabel + 2 * line;
}
int valueId(int line) {
    return labelId(line) + 1;
}

int64_t roundUp64(int64_t mo) {
    return (mo + 63) / 64 * 64;
}

std::string clipboardText() {
    std::string text;
    if (!OpenClipboard(nullptr)) return text;
    if (HANDLE data = GetClipboardData(CF_UNICODETEXT)) {
        if (auto* wide = static_cast<const wchar_t*>(GlobalLock(data))) {
            int size = WideCharToMultiByte(CP_UTF8, 0, wide, -1, nullptr, 0, nullptr, nullptr);
            if (size > 1) {
                text.resize(static_cast<size_t>(size - 1));
                WideCharToMultiByte(CP_UTF8, 0, wide, -1, text.data(), size, nullptr, nullptr);
            }
            GlobalUnlock(data);
        }
    }
    CloseClipboard();
    return text;
}

class AdviceTest : public CorvaneTest {};

TEST_F(AdviceTest, MenuOpensTheAdviceOverTheHistoryWithItsFiguresReadableAndCopied) {
    // The RAM as Windows gives it to the program, counted as the main window counts it.
    MEMORYSTATUSEX status{};
    status.dwLength = sizeof status;
    ASSERT_TRUE(GlobalMemoryStatusEx(&status));
    const int64_t ram = static_cast<int64_t>((status.ullTotalPhys + 640000) / kMiB);
    // A peak of twice the RAM, eight days ago: far above anything the machine commits now.
    const int64_t peak = 2 * ram;
    const int64_t now = utcMinuteNow();
    std::string csv = kCsvHeader;
    for (int64_t m = now - 8 * 1440; m < now - 1; m += 60) {
        int64_t commit = m == now - 8 * 1440 ? peak : 100;
        csv += minuteText(m) + ";50;50;50;900;;" + std::to_string(commit) + ";" +
               std::to_string(3 * ram) + ";\r\n";
    }
    std::ofstream(folder + "\\Corvane.csv", std::ios::binary | std::ios::trunc) << csv;
    setAnsiValue(HKEY_LOCAL_MACHINE, kCrashControlKey, "CrashDumpEnabled", REG_DWORD,
                 std::string("\x03\0\0\0", 4));
    deleteValue(HKEY_LOCAL_MACHINE, kCrashControlKey, "DedicatedDumpFile");

    launch();
    main.postCommand(kConseil);
    Window advice = waitWindow(corvane->id(), kAdviceClass);
    EXPECT_EQ(advice.text().rfind("Conseil", 0), 0u) << advice.text();
    advice.waitControlText(valueId(kMemoire), std::to_string(ram) + " Mo");

    // 1.25 P - R and 1.5 P - R, each rounded up to 64 Mo; the small dump's 1 Mo counts for
    // nothing beside them.
    const int64_t initial = roundUp64((5 * peak + 3) / 4 - ram);
    const int64_t maximum = std::max(initial, roundUp64((3 * peak + 1) / 2 - ram));
    EXPECT_EQ(advice.controlText(labelId(kInitiale)), "Taille initiale conseillée");
    EXPECT_EQ(advice.controlText(valueId(kInitiale)), std::to_string(initial) + " Mo");
    EXPECT_EQ(advice.controlText(labelId(kMaximale)), "Taille maximale conseillée");
    EXPECT_EQ(advice.controlText(valueId(kMaximale)), std::to_string(maximum) + " Mo");
    EXPECT_EQ(advice.controlText(valueId(kPic)), std::to_string(peak) + " Mo");
    EXPECT_EQ(advice.controlText(valueId(kVidage)), "mémoire partielle : 1 Mo");
    EXPECT_EQ(
        advice.controlText(valueId(kFichiers)).rfind("C:\\pagefile.sys de 100 Mo à 200 Mo", 0), 0u)
        << advice.controlText(valueId(kFichiers));
    // A 200 Mo file cannot hold what a peak of twice the RAM needs.
    EXPECT_EQ(advice.controlText(valueId(kVerdict)).rfind("Trop petit : le pic", 0), 0u)
        << advice.controlText(valueId(kVerdict));
    shot("advice-window", advice);

    advice.control(kCopier).post(BM_CLICK);
    std::string copied;
    const std::string wanted = "Taille initiale conseillée : " + std::to_string(initial) + " Mo";
    EXPECT_TRUE(pollUntil([&] {
        return (copied = clipboardText()).find(wanted) != std::string::npos;
    })) << copied;

    // Closed while minimised, kept hidden: the menu shows it again at its size.
    advice.post(WM_SYSCOMMAND, SC_MINIMIZE, 0);
    ASSERT_TRUE(pollUntil([&] { return advice.minimised(); }));
    advice.postClose();
    EXPECT_TRUE(pollUntil([&] { return !advice.visible(); })) << "the window did not close";
    main.postCommand(kConseil);
    Window again = waitWindow(corvane->id(), kAdviceClass);
    EXPECT_TRUE(pollUntil([&] { return !again.minimised(); })) << "it came back minimised";
    EXPECT_EQ(again.controlText(valueId(kInitiale)), std::to_string(initial) + " Mo");
}

}  // namespace
}  // namespace corvane::wine
