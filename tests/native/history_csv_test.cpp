// The history file's lines: what is written, and what reading makes of cut and garbage lines.
#include "history/history_csv.h"

#include <gtest/gtest.h>

#include "history/utc_minutes.h"

namespace corvane {
namespace {

const int32_t kMinute = *minuteOf({2026, 12, 8, 6, 17, 0});
const std::string kHeader = std::string(kHistoryHeader) + "\r\n";

TEST(HistoryCsv, RecordsAreWrittenAsASpreadsheetReadsThem) {
    EXPECT_EQ(formatRecord({kMinute, 1536, 1540, 1538, 812, 120}),
              "2026-12-08 06:17;1536;1540;1538;812;120\r\n");
    EXPECT_EQ(formatRecord({kMinute, 5, 5, 5, 0, kUnknownMo}), "2026-12-08 06:17;5;5;5;0;\r\n");
    EXPECT_EQ(formatRecord({*minuteOf({1970, 1, 1, 0, 0, 0}), 0, 0, 0, 0, 0}),
              "1970-01-01 00:00;0;0;0;0;0\r\n");
    EXPECT_EQ(historyText({{kMinute, 1, 2, 2, 3, kUnknownMo}}),
              kHeader + "2026-12-08 06:17;1;2;2;3;\r\n");
}

TEST(HistoryCsv, WrittenRecordsReadBackAsTheyWere) {
    std::vector<MinuteRecord> records{{kMinute, 1536, 1540, 1538, 812, 120},
                                      {kMinute + 1, 0, 2147483647, 7, 2147483647, kUnknownMo},
                                      {kMinute + 1441, 3, 3, 3, 0, 0}};
    ParsedHistory parsed = parseHistory(historyText(records));
    EXPECT_EQ(parsed.records, records);
    EXPECT_TRUE(parsed.tidy());
}

TEST(HistoryCsv, ALineCutShortIsSkippedAndMarksTheFileForMending) {
    std::string whole = kHeader + "2026-12-08 06:17;1536;1540;1538;812;120\r\n";
    for (std::string cut : {"2026-12-08 06:18;1536;1540;1538;812;12",  // would read as 12 Mo
                            "2026-12-08 06:18;1536;1540;1538;812;120\r", "2026-12-08 06:1"}) {
        ParsedHistory parsed = parseHistory(whole + cut);
        ASSERT_EQ(parsed.records.size(), 1u) << cut;
        EXPECT_EQ(parsed.records[0].inUseMo, 120);
        EXPECT_FALSE(parsed.endsWithLineEnd);
        EXPECT_FALSE(parsed.tidy());
    }
    // A cut line that a later write ran into: the joined line is skipped, the rest is read.
    ParsedHistory joined =
        parseHistory(whole + "2026-12-08 06:18;1536;15" +
                     "2026-12-08 06:19;1;1;1;1;\r\n2026-12-08 06:20;2;2;2;2;\r\n");
    ASSERT_EQ(joined.records.size(), 2u);
    EXPECT_EQ(joined.records[1].minute, kMinute + 3);
    EXPECT_EQ(joined.skippedLines, 1);
}

TEST(HistoryCsv, LinesThatAreNotSoundRecordsAreSkipped) {
    const char* garbage[] = {
        "2026-12-08 06:17;1536;1540;1538;-812;",        // a sign
        "2026-12-08 06:17;1541;1540;1540;812;",         // smallest above largest
        "2026-12-08 06:17;1536;1540;1600;812;",         // last outside the band
        "2026-12-08 06:17;1536;2147483648;1538;812;",   // past 32 bits
        "2026-12-08 06:17;1536;99999999999;1538;812;",  // eleven digits
        "2026-02-30 06:17;1;1;1;1;",                    // no such day
        "2026-12-08 24:00;1;1;1;1;",                    // no such hour
        "1969-12-31 23:59;1;1;1;1;",
        "Minute (UTC);SWAP mini (Mo);SWAP maxi (Mo);SWAP (Mo);RAM en usage (Mo);SWAP en usage (Mo)",
    };
    std::string text = kHeader;
    for (const char* line : garbage) text += std::string(line) + "\r\n";
    text += std::string("\0\0\0\0\0\0\0\0", 8) + "\r\n";  // the zeros a power cut can leave
    text += "2026-12-08 06:17;1;1;1;1;\n";                // a line end without CR reads
    text += "\r\n";
    ParsedHistory parsed = parseHistory(text);
    ASSERT_EQ(parsed.records.size(), 1u);
    EXPECT_EQ(parsed.records[0], (MinuteRecord{kMinute, 1, 1, 1, 1, kUnknownMo}));
    EXPECT_EQ(parsed.skippedLines, static_cast<int64_t>(std::size(garbage)) + 1);
    EXPECT_EQ(parsed.blankLines, 1);
    EXPECT_TRUE(parsed.header);
    EXPECT_TRUE(parsed.endsWithLineEnd);
}

TEST(HistoryCsv, RecordsASpreadsheetSavedBackAreReadAndCounted) {
    const std::pair<const char*, MinuteRecord> resaved[] = {
        {"08/12/2026 06:17;1536;1540;1538;812;", {kMinute, 1536, 1540, 1538, 812, kUnknownMo}},
        {"8/12/2026 6:17;1536;1540;1538;812;120", {kMinute, 1536, 1540, 1538, 812, 120}},
        {"08/12/2026 06:17:00;1536;1540;1538;812", {kMinute, 1536, 1540, 1538, 812, kUnknownMo}},
        {"2026-12-08T06:17;1;2;1;3;4", {kMinute, 1, 2, 1, 3, 4}},
        {"2026-12-08 06:17;1;2;1;3", {kMinute, 1, 2, 1, 3, kUnknownMo}},  // the empty last left out
        {"2026-12-08 06:17:59;1;2;1;3;4;note;;", {kMinute, 1, 2, 1, 3, 4}},
        {"\"08/12/2026 06:17\";\"1 536\";1\xC2\xA0"
         "540;1\xA0"
         "538;812,00;",
         {kMinute, 1536, 1540, 1538, 812, kUnknownMo}},
        {"08/12/2026 06:17\t1536\t1540\t1538\t812\t", {kMinute, 1536, 1540, 1538, 812, kUnknownMo}},
        // Saved twice: the second save writes the year as the date's short form shows it.
        {"08/12/26 06:17;1536;1540;1538;812;", {kMinute, 1536, 1540, 1538, 812, kUnknownMo}},
        {"8/12/26 6:17:00;1\xE2\x80\xAF"
         "536;1540,00;1538;812;",
         {kMinute, 1536, 1540, 1538, 812, kUnknownMo}},
        {"01/01/70 00:00;1;1;1;1;", {*minuteOf({1970, 1, 1, 0, 0, 0}), 1, 1, 1, 1, kUnknownMo}},
    };
    for (const auto& [line, expected] : resaved) {
        SCOPED_TRACE(line);
        MinuteRecord record;
        EXPECT_FALSE(parseRecordLine(line, record));
        ASSERT_TRUE(parseResavedRecordLine(line, record));
        EXPECT_EQ(record, expected);
        ParsedHistory parsed = parseHistory(kHeader + line + "\r\n");
        EXPECT_EQ(parsed.resavedLines, 1);
        EXPECT_FALSE(parsed.understood());
        EXPECT_FALSE(parsed.tidy());
    }
    const char* stillNot[] = {
        "08/12/126 06:17;1;1;1;1;",        // a year of three digits
        "08/12/26 06:17:0;1;1;1;1;",       // seconds of one digit
        "12/08/2026 06:17 PM;1;1;1;1;",    // a twelve-hour clock
        "08/12/2026 06:7;1;1;1;1;",        // a minute of one digit
        "08/12/2026;1;1;1;1;",             // no time
        "31/02/2026 06:17;1;1;1;1;",       // no such day
        "08/12/2026 06:17;1536,5;1;1;1;",  // a fraction
        "08/12/2026 06:17;1;1;1;",         // a field short
        "08/12/2026 06:17;1;1;1;x;",       // not a number
        "08/12/2026 06:17;5;1;3;1;",       // smallest above largest
    };
    for (const char* line : stillNot) {
        SCOPED_TRACE(line);
        MinuteRecord record;
        EXPECT_FALSE(parseResavedRecordLine(line, record));
    }
    EXPECT_TRUE(parseHistory(kHeader + "2026-12-08 06:17;1;1;1;1;\r\n").understood());
    // Saved in UTF-8 with its mark, and LF line ends: the header is still ours.
    ParsedHistory marked =
        parseHistory("\xEF\xBB\xBF" + std::string(kHistoryHeader) + "\n08/12/26 06:17;1;1;1;1;\n");
    EXPECT_TRUE(marked.header);
    EXPECT_EQ(marked.resavedLines, 1);
    EXPECT_EQ(marked.skippedLines, 0);
}

TEST(HistoryCsv, OrderRepeatsAndAMissingHeaderAreNoticed) {
    std::string a = "2026-12-08 06:17;1;1;1;1;\r\n";
    std::string b = "2026-12-08 06:16;1;1;1;1;\r\n";
    ParsedHistory noHeader = parseHistory(a);
    EXPECT_FALSE(noHeader.header);
    EXPECT_EQ(noHeader.records.size(), 1u);
    EXPECT_FALSE(noHeader.tidy());

    ParsedHistory backwards = parseHistory(kHeader + a + b);
    EXPECT_FALSE(backwards.inOrder);
    EXPECT_EQ(backwards.records.size(), 2u);

    ParsedHistory repeated = parseHistory(kHeader + a + a);
    EXPECT_EQ(repeated.repeatedRecords, 1);
    EXPECT_EQ(repeated.records.size(), 1u);
    EXPECT_FALSE(repeated.tidy());

    EXPECT_FALSE(parseHistory("").tidy());
    EXPECT_TRUE(parseHistory(kHeader).tidy());
}

}  // namespace
}  // namespace corvane
