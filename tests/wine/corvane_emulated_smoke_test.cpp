// The 32-bit Corvane.exe on a machine that runs 32-bit programs only under emulation, where every
// process start costs about a minute: one start that shows the essentials. Left out of the full
// suite (which runs it natively); the Wine layer's script runs it alone with
// --gtest_also_run_disabled_tests. Memory figures are not checked: the emulator cuts the
// machine's total to 32 bits.
#include "runs_fixture.h"

namespace corvane::wine {
namespace {

// Waits far longer than natively: the emulated program takes a minute to start.
constexpr DWORD kEmulatedMs = 300000;

class EmulatedSmoke : public RunsTest {};

TEST_F(EmulatedSmoke, DISABLED_SamplesAGrowingFileNamesWindowsAndEndsAtEscapeWithItsJournal) {
    // Windows 10, which the program reads as it is only through its manifest.
    setString(HKEY_CURRENT_USER, "Software\\Wine", "Version", "win10");
    started = localTime();
    corvane.emplace(Process::start(folder + "\\Corvane.exe", "", folder));
    main = waitWindow(corvane->id(), kMainClass, kEmulatedMs);
    main.waitControlText(kSwap, "SWAP: ", kEmulatedMs);
    opened = {started, localTime()};
    EXPECT_EQ(main.controlText(kSwap), "SWAP: 50 Mo  Mini: 50 Mo  Maxi: 50 Mo  Moy: 50 Mo");
    EXPECT_EQ(main.controlText(kWindows), "WINDOWS NT Inconnu (10.0.18362 ) WS ???");
    deleteValue(HKEY_CURRENT_USER, "Software\\Wine", "Version");

    setSwapSize(70 * kMiB);
    main.postTimer(kTimer1);
    EXPECT_EQ(main.waitControlText(kSwap, "SWAP: 70 Mo", kEmulatedMs),
              "SWAP: 70 Mo  Mini: 50 Mo  Maxi: 70 Mo  Moy: 60 Mo");
    shot("emulated-32-bit");

    closing.from = localTime();
    main.postChar(27);
    const Window about = waitWindow(corvane->id(), kAboutClass, kEmulatedMs);
    pressButton(about, kAboutOk);
    ASSERT_TRUE(corvane->waitExit(kEmulatedMs)) << "Escape did not end it:" << openWindows();
    closing.to = localTime();
    EXPECT_EQ(corvane->exitCode(), 0u);
    EXPECT_EQ(stored("NB"), "2");

    std::vector<JournalLine> lines = {{kStartPrefix, &opened}};
    for (const JournalLine& line : summaryLines(70, 60, closing)) lines.push_back(line);
    const std::string bytes = journalBytes();
    EXPECT_EQ(bytes, expectedJournal(bytes, lines));
}

}  // namespace
}  // namespace corvane::wine
