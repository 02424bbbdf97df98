// The history's columns found by their names: files whose columns a spreadsheet moved, left out
// or added, and those of a later version, read every figure they hold; such a file is
// rewritten under our header, its copy kept, before a line of ours joins it.
#include "harness.h"
#include "history/history.h"
#include "history/history_csv.h"
#include "history/utc_minutes.h"

namespace corvane::testing {
namespace {

constexpr const char* kDir = "C:\\Corvane\\";
constexpr const char* kPath = "C:\\Corvane\\Corvane.csv";
const DateTime kNow{2026, 12, 8, 6, 15, 30};
const int32_t kNowMinute = *minuteOf(kNow);

MinuteRecord full(int32_t minute) {
    MinuteRecord r{minute, 1536, 1600, 1580, 812, 120};
    r.commitMo = 8192;
    r.commitLimitMo = 12288;
    r.alerts = kAlertCommit;
    r.programs = {{"chrome.exe", 1234, 812, 300}, {"=cmd.exe", 7, 100, -12}};
    return r;
}

TEST(HistoryColumns, EveryFigureReadsByItsColumnsName) {
    const MinuteRecord r = full(kNowMinute);
    MinuteRecord noMemory = r;
    noMemory.memoryMo = kUnknownMo;
    MinuteRecord noProgramPid = r;
    noProgramPid.programs[0].pid = 0;
    noProgramPid.programs[1].pid = 0;
    MinuteRecord noBand = r;
    noBand.minMo = noBand.maxMo = noBand.lastMo;
    struct Case {
        const char* what;
        std::string text;
        MinuteRecord expected;
        bool moved = true;  // a line of ours would not read the same under that header
    };
    const std::string programs =
        "Programme 1;PID 1;Engagement 1 (Mo);Hausse sur 1 h 1 (Mo);"
        "Programme 2;PID 2;Engagement 2 (Mo);Hausse sur 1 h 2 (Mo)";
    const std::string line = "chrome.exe;1234;812;300;%3Dcmd.exe;7;100;-12";
    const Case cases[] = {
        {"reordered",
         "RAM en usage (Mo);Minute (UTC);SWAP (Mo);SWAP maxi (Mo);SWAP mini (Mo);Alertes;"
         "Engagement (Mo);Limite d'engagement (Mo);SWAP en usage (Mo);" +
             programs + "\r\n812;2026-12-08 06:15;1580;1600;1536;engagement;8192;12288;120;" +
             line + "\r\n",
         r},
        {"the memory's column left out",
         "Minute (UTC);SWAP mini (Mo);SWAP maxi (Mo);SWAP (Mo);SWAP en usage (Mo);"
         "Engagement (Mo);Limite d'engagement (Mo);Alertes;" +
             programs + "\r\n2026-12-08 06:15;1536;1600;1580;120;8192;12288;engagement;" + line +
             "\r\n",
         noMemory},
        {"the band's columns left out: the size stands for them",
         "Minute (UTC);SWAP (Mo);RAM en usage (Mo);SWAP en usage (Mo);Engagement (Mo);"
         "Limite d'engagement (Mo);Alertes;" +
             programs + "\r\n2026-12-08 06:15;1580;812;120;8192;12288;engagement;" + line + "\r\n",
         noBand},
        {"the programs' PIDs left out",
         "Minute (UTC);SWAP mini (Mo);SWAP maxi (Mo);SWAP (Mo);RAM en usage (Mo);SWAP en usage "
         "(Mo);Engagement (Mo);Limite d'engagement (Mo);Alertes;Programme 1;Engagement 1 (Mo);"
         "Hausse sur 1 h 1 (Mo);Programme 2;Engagement 2 (Mo);Hausse sur 1 h 2 (Mo)\r\n"
         "2026-12-08 06:15;1536;1600;1580;812;120;8192;12288;engagement;chrome.exe;812;300;"
         "%3Dcmd.exe;100;-12\r\n",
         noProgramPid},
        {"a user's column added first, tabs and quotes",
         "\"Note\"\t\"Minute (UTC)\"\tSWAP mini (Mo)\tSWAP maxi (Mo)\tSWAP (Mo)\tRAM en usage "
         "(Mo)\tSWAP en usage (Mo)\tEngagement (Mo)\tLimite d'engagement (Mo)\tAlertes\t"
         "Programme 1\tPID 1\tEngagement 1 (Mo)\tHausse sur 1 h 1 (Mo)\tProgramme 2\tPID 2\t"
         "Engagement 2 (Mo)\tHausse sur 1 h 2 (Mo)\r\n"
         "\"vu\"\t08/12/2026 06:15\t1 536\t1 600\t1 580\t812\t120\t\"8 192\"\t12 288\t"
         "engagement\tchrome.exe\t1234\t812\t+300\t%3Dcmd.exe\t7\t100\t-12\r\n",
         r},
        {"a later version's column at the end, lines of ours under it ending early",
         std::string(kHistoryHeader) + ";Cache (Mo)\r\n" + formatRecord(r), r, false},
        {"a later version's column in the middle",
         "Minute (UTC);SWAP mini (Mo);SWAP maxi (Mo);SWAP (Mo);Cache (Mo);RAM en usage (Mo);"
         "SWAP en usage (Mo);Engagement (Mo);Limite d'engagement (Mo);Alertes;" +
             programs + "\r\n2026-12-08 06:15;1536;1600;1580;4000;812;120;8192;12288;engagement;" +
             line + "\r\n",
         r},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        ParsedHistory parsed = parseHistory(c.text);
        ASSERT_EQ(parsed.records.size(), 1u);
        EXPECT_EQ(parsed.records[0], c.expected);
        EXPECT_TRUE(parsed.otherHeader);
        EXPECT_EQ(parsed.movedColumns, c.moved);
        EXPECT_FALSE(parsed.tidy());
        EXPECT_FALSE(parsed.understood()) << "the user's copy is kept";
        // What is read is written back in our form and reads again the same.
        EXPECT_EQ(parseHistory(historyText(parsed.records)).records, parsed.records);
        // The part of a file read from within it, at start-up, through its first line.
        std::string_view text = c.text;
        size_t lineEnd = text.find('\n');
        ParsedHistory part =
            parseHistory(text.substr(lineEnd + 1), kHistoryHeader, text.substr(0, lineEnd));
        EXPECT_EQ(part.records, parsed.records);
    }
}

TEST(HistoryColumns, HeadersWithoutTheMinutesColumnAreNotOursAndEarlierOnesReadAsBefore) {
    const std::string line = "2026-12-08 06:15;1536;1600;1580;812;120\r\n";
    const MinuteRecord r{kNowMinute, 1536, 1600, 1580, 812, 120};
    // The hours' first column names no minute of the minutes' file: a line of a user's.
    for (std::string_view header :
         {std::string_view("Date;SWAP (Mo)"), std::string_view(kEarlierHourHeader)}) {
        SCOPED_TRACE(header);
        ParsedHistory parsed = parseHistory(std::string(header) + "\r\n" + line);
        EXPECT_FALSE(parsed.otherHeader);
        EXPECT_EQ(parsed.skippedLines, 1);
        EXPECT_EQ(parsed.records, std::vector<MinuteRecord>{r});
    }
    ParsedHistory earlier = parseHistory(std::string(kEarlierHistoryHeader) + "\r\n" + line);
    EXPECT_TRUE(earlier.earlierHeader);
    EXPECT_TRUE(earlier.understood());
    EXPECT_EQ(earlier.records, std::vector<MinuteRecord>{r});
    // The hours' file reads its own names, in any order.
    ParsedHistory hours = parseHistory(
        "SWAP (Mo);Heure (UTC);SWAP mini (Mo);SWAP maxi (Mo);RAM en usage maxi (Mo)\r\n"
        "1580;2026-12-08 06:15;1536;1600;812\r\n",
        kHourHeader);
    EXPECT_EQ(hours.records,
              (std::vector<MinuteRecord>{{kNowMinute, 1536, 1600, 1580, 812, kUnknownMo}}));
}

class HistoryColumnsFileTest : public ::testing::TestWithParam<bool> {
protected:
    HistoryColumnsFileTest() { files.put(std::string(kDir) + "Corvane.exe", ""); }
    std::string file(const std::string& path) { return files.contents(path).value_or("<none>"); }
    fake::FakeFiles files;
};

// A file a spreadsheet saved with its columns moved, small (read whole at start-up) or large
// (its end read at start-up through the names of its first line).
TEST_P(HistoryColumnsFileTest, AFileUnderOtherColumnsIsRewrittenUnderOursBeforeALineJoinsIt) {
    const bool large = GetParam();
    const int count = large ? 4000 : 20;
    std::string moved =
        "SWAP (Mo);Minute (UTC);SWAP mini (Mo);SWAP maxi (Mo);RAM en usage (Mo)\r\n";
    std::vector<MinuteRecord> old;
    for (int32_t m = kNowMinute - count; m < kNowMinute; ++m) {
        old.push_back({m, 1500, 1502, 1500 + m % 3, 800 + m % 7, kUnknownMo});
        const MinuteRecord& r = old.back();
        moved += std::to_string(r.lastMo) + ";" + formatMinute(m) + ";" + std::to_string(r.minMo) +
                 ";" + std::to_string(r.maxMo) + ";" + std::to_string(r.memoryMo) + "\r\n";
    }
    ASSERT_EQ(moved.size() > History::kTailBytes, large);
    files.put(kPath, moved);
    History history;
    history.open(files, kDir, kNow);
    history.addSample(files, {kNowMinute, 1600, 900, 50});
    history.close(files);
    ParsedHistory after = parseHistory(file(kPath));
    EXPECT_TRUE(after.tidy());
    std::vector<MinuteRecord> expected = old;
    expected.push_back({kNowMinute, 1600, 1600, 1600, 900, 50});
    EXPECT_EQ(after.records, expected);
    ASSERT_FALSE(history.backupPath().empty());
    EXPECT_EQ(file(history.backupPath()), moved);
}

TEST_P(HistoryColumnsFileTest, TheOldHistorysLastMinutesReadUnderOtherColumnsOnceMovedAside) {
    const bool large = GetParam();
    std::string moved = "SWAP (Mo);Minute (UTC);RAM en usage (Mo)\r\n";
    std::vector<MinuteRecord> expected;
    for (int32_t m = kNowMinute - (large ? 6000 : 20); m < kNowMinute; ++m) {
        expected.push_back({m, 1500, 1500, 1500, 800, kUnknownMo});
        moved += "1500;" + formatMinute(m) + ";800\r\n";
    }
    files.put(kPath, moved);
    files.unreplaceable.insert(kPath);  // the rewrite under our columns never comes
    History history;
    history.open(files, kDir, kNow);
    for (int32_t m = kNowMinute; m <= kNowMinute + 2; ++m) {
        history.addSample(files, {m, 1600, 900, 50});
        expected.push_back({m, 1600, 1600, 1600, 900, 50});
    }
    history.startNew(files);
    history.close(files);
    EXPECT_EQ(parseHistory(file(std::string(kPath) + ".old")).records, expected);
}

INSTANTIATE_TEST_SUITE_P(SmallAndLarge, HistoryColumnsFileTest, ::testing::Bool());

}  // namespace
}  // namespace corvane::testing