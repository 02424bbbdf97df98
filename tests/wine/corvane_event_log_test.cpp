// The Windows event log under Wine: Wine's ReportEvent keeps no log but traces each event on
// its eventlog channel, with its type and ID on advapi32's line beside it. Corvane runs with
// that trace kept; the test reads the alert's event, its text and the analysis' two events.
#include <cstdio>

#include "corvane_fixture.h"

namespace corvane::wine {
namespace {

constexpr DWORD kTraceTimeoutMs = 60000;

// A text as Wine's traces quote a wide string: printable ASCII as it is, a quote and a
// backslash escaped, any other character as \xxxx (four hex digits).
std::string wineQuoted(const std::string& utf8) {
    std::string quoted = "L\"";
    for (wchar_t c : fromUtf8(utf8)) {
        if (c == L'"' || c == L'\\') {
            quoted += '\\';
            quoted += static_cast<char>(c);
        } else if (c >= 32 && c < 127) {
            quoted += static_cast<char>(c);
        } else {
            char hex[8];
            std::snprintf(hex, sizeof hex, "\\%04x", static_cast<unsigned>(c));
            quoted += hex;
        }
    }
    return quoted + "\"";
}

class EventLogTest : public CorvaneTest {};

TEST_F(EventLogTest, TheAlertAndTheAnalysisStartAndEndAreTracedWithTheirIdsAndTexts) {
    if (tracedRunCommand().empty()) GTEST_SKIP() << "run the suite through tests/wine/run.sh";
    setString(HKEY_CURRENT_USER, kSettingsSectionKey, "JournalEvenements", "True");
    setString(HKEY_CURRENT_USER, kSettingsSectionKey, "SeuilSwap", "10");
    deleteKeyTree(HKEY_LOCAL_MACHINE,
                  "SYSTEM\\CurrentControlSet\\Services\\EventLog\\Application\\Corvane");
    const std::string trace = folder + "\\eventlog.trace";
    removeFile(trace);
    removeFile(trace + ".failed");
    Process runner = Process::startCommandLine(tracedRunCommand() + " \"" + trace + "\" \"" +
                                               folder + "\\Corvane.exe\" \"" + folder + "\"");
    // Started by the script, not by this process: found by its window.
    HWND found = nullptr;
    ASSERT_TRUE(pollUntil([&] {
        found = FindWindowA(kMainClass, nullptr);
        return found != nullptr;
    })) << "Corvane's window did not open";
    DWORD pid = 0;
    GetWindowThreadProcessId(found, &pid);
    main = waitWindow(pid, kMainClass);
    main.waitControlText(kSwap, "SWAP: ");
    setSwapSize(70 * kMiB);
    main.postTimer(kTimer1);
    main.waitControlText(kSwap, "SWAP: 70 Mo");
    const std::string journal = folder + "\\Corvane.txt";
    ASSERT_TRUE(pollUntil([&] { return readFile(journal).find("Alerte : ") != std::string::npos; }))
        << readFile(journal);
    main.postCommand(kQuitter);
    pressButton(waitWindow(pid, kAboutClass), kAboutOk);
    std::string failed;
    ASSERT_TRUE(pollUntil(
        [&] {
            if (fileExists(trace + ".failed")) failed = readFile(trace + ".failed");
            return fileExists(trace) || !failed.empty();
        },
        kTraceTimeoutMs))
        << "Corvane did not end, or its trace was not kept";
    ASSERT_TRUE(failed.empty()) << failed;
    const std::string text = readFile(trace);

    // The journal's alert line, as the event carries it.
    std::string line = readFile(journal).substr(readFile(journal).find("Alerte : "));
    line = line.substr(0, line.find("\r\n"));
    std::wstring wide;
    {
        // The journal is in the ANSI code page; the event's text is the same words.
        int n =
            MultiByteToWideChar(CP_ACP, 0, line.data(), static_cast<int>(line.size()), nullptr, 0);
        wide.resize(static_cast<size_t>(n));
        MultiByteToWideChar(CP_ACP, 0, line.data(), static_cast<int>(line.size()), wide.data(), n);
    }
    const std::string alert = wineQuoted(toUtf8(wide));
    EXPECT_NE(text.find("ReportEventW " + alert), std::string::npos)
        << "no event " << alert << " in the trace:\n"
        << text;
    EXPECT_NE(text.find("0x0002,0x0000,0x0000000b"), std::string::npos)
        << "no warning of ID 11 in the trace:\n"
        << text;
    EXPECT_NE(text.find("0x0004,0x0000,0x00000001"), std::string::npos)
        << "no information of ID 1 (the analysis' start):\n"
        << text;
    EXPECT_NE(text.find("0x0004,0x0000,0x00000002"), std::string::npos)
        << "no information of ID 2 (the analysis' end):\n"
        << text;
    EXPECT_NE(text.find("ReportEventW L\"D\\00e9but d'analyse du fichier SWAP C:\\\\pagefile.sys"),
              std::string::npos)
        << text;
    // The prefix's user may write the machine's keys: the source was registered, the program
    // as its message file.
    EXPECT_EQ(readString(HKEY_LOCAL_MACHINE,
                         "SYSTEM\\CurrentControlSet\\Services\\EventLog\\Application\\Corvane",
                         "EventMessageFile"),
              folder + "\\Corvane.exe");
    EXPECT_NE(text.find("ReportEventW L\"Fin d'analyse du fichier SWAP C:\\\\pagefile.sys le "),
              std::string::npos)
        << text;
}

}  // namespace
}  // namespace corvane::wine
