// The commit, the alerts and the programs in the history: the line's bytes and what reads
// back, the files of earlier versions, the minute's and the hour's figures, which minutes name
// their programs, and the tick that feeds them all.
#include "harness.h"
#include "history/history.h"
#include "history/history_csv.h"
#include "history/history_plot.h"
#include "history/hour_records.h"
#include "history/minute_aggregator.h"
#include "history/utc_minutes.h"

namespace corvane::testing {
namespace {

constexpr const char* kDir = "C:\\Corvane\\";
constexpr const char* kPath = "C:\\Corvane\\Corvane.csv";
constexpr const char* kHours = "C:\\Corvane\\Corvane-heures.csv";
const DateTime kNow{2026, 12, 8, 6, 15, 30};
const int32_t kNowMinute = *minuteOf(kNow);

std::string withoutLineEnd(const std::string& line) {
    return line.substr(0, line.size() - 2);
}

MinuteRecord busyMinute() {
    MinuteRecord r{kNowMinute, 1536, 1600, 1580, 812, 120};
    r.commitMo = 8192;
    r.commitLimitMo = 12288;
    r.alerts = kAlertCommit | kAlertSwapGrowth;
    r.programs = {{"chrome.exe", 1234, 812, 300},
                  // A name a spreadsheet would take for a formula, with the separator in it.
                  {"=cmd;x%.exe", 7, 100, -12},
                  {"R\xC3\xA9sum\xC3\xA9 .exe ", 4294967295u, 0, 0}};
    return r;
}

TEST(HistoryCommitCsv, ABusyMinuteWritesItsCommitAlertsAndProgramsAndReadsBackTheSame) {
    MinuteRecord r = busyMinute();
    std::string line = formatRecord(r);
    EXPECT_EQ(line,
              "2026-12-08 06:15;1536;1600;1580;812;120;8192;12288;engagement+swap;"
              "chrome.exe;1234;812;300;%3Dcmd%3Bx%25.exe;7;100;-12;"
              "R%C3%A9sum%C3%A9 .exe%20;4294967295;0;0\r\n");
    for (char c : line) {
        EXPECT_TRUE(c == '\r' || c == '\n' || (c >= 0x20 && c < 0x7F)) << "ASCII only";
    }
    MinuteRecord back;
    ASSERT_TRUE(parseRecordLine(withoutLineEnd(line), back));
    EXPECT_EQ(back, r);

    // The commit alone, a memory alert alone: nine fields, no program.
    MinuteRecord commitOnly{kNowMinute, 1536, 1536, 1536, 812, kUnknownMo};
    commitOnly.commitMo = 4000;
    commitOnly.commitLimitMo = 8000;
    EXPECT_EQ(formatRecord(commitOnly), "2026-12-08 06:15;1536;1536;1536;812;;4000;8000;\r\n");
    MinuteRecord alertOnly{kNowMinute, 1536, 1536, 1536, 812, kUnknownMo};
    alertOnly.alerts = kAlertMemory;
    EXPECT_EQ(formatRecord(alertOnly), "2026-12-08 06:15;1536;1536;1536;812;;;;memoire\r\n");
    for (const MinuteRecord& one : {commitOnly, alertOnly}) {
        ASSERT_TRUE(parseRecordLine(withoutLineEnd(formatRecord(one)), back));
        EXPECT_EQ(back, one);
    }
    // More than three programs: three are written.
    MinuteRecord four = r;
    four.programs.push_back({"d.exe", 9, 1, 1});
    ASSERT_TRUE(parseRecordLine(withoutLineEnd(formatRecord(four)), back));
    EXPECT_EQ(back, r);

    // The whole file reads back as it was, and is tidy.
    ParsedHistory parsed = parseHistory(historyText({commitOnly, r}));
    EXPECT_TRUE(parsed.tidy());
    EXPECT_EQ(parsed.records, (std::vector<MinuteRecord>{commitOnly, r}));
}

TEST(HistoryCommitCsv, LinesThatAreNotQuiteOursAreNotReadAsOurs) {
    const std::string base = "2026-12-08 06:15;1536;1536;1536;812;";
    MinuteRecord r;
    for (const std::string& tail : {
             std::string(";;;"),                               // nothing known: never written so
             std::string(";4000;8000"),                        // eight fields
             std::string(";4000;8000;;a.exe;1;2"),             // a program cut short
             std::string(";4000;8000;swap+swap"),              // an alert twice
             std::string(";4000;8000;disque"),                 // no such alert
             std::string(";4000;8000;;a%G1.exe;1;2;3"),        // not an escape
             std::string(";4000;8000;;a.exe%4;1;2;3"),         // an escape cut short
             std::string(";4000;8000;;;1;2;3"),                // no name
             std::string(";4000;8000;;a.exe;4294967296;2;3"),  // beyond 32 bits
             std::string(";4000;8000;;a.exe;1;-2;3"),          // a commit below zero
             std::string(";4000;8000;;a.exe;1;2;+3"),          // our growths have no plus
             std::string(";4000;8000;;a;1;2;3;b;1;2;3;c;1;2;3;d;1;2;3"),  // four programs
         }) {
        SCOPED_TRACE(tail);
        EXPECT_FALSE(parseRecordLine(base + tail, r));
    }
    EXPECT_TRUE(parseRecordLine(base + ";4000;8000;;a.exe;1;2;-3", r));
    EXPECT_EQ(r.programs.at(0), (ProgramMark{"a.exe", 1, 2, -3}));
}

TEST(HistoryCommitCsv, ASpreadsheetsResavedLinesKeepTheCommitAndTheProgramsTheyHold) {
    // Padded to the widest row, numbers grouped, the growth signed, quotes around a name.
    MinuteRecord r;
    ASSERT_TRUE(parseResavedRecordLine(
        "08/12/2026 06:15;1 536;1 600;1 580;812;120;\"8 192\";12 288;engagement;\"chrome.exe\";"
        "1234;812;+300;%3Dcmd.exe;7;100;-12;;;;",
        r));
    EXPECT_EQ(r.commitMo, 8192);
    EXPECT_EQ(r.commitLimitMo, 12288);
    EXPECT_EQ(r.alerts, kAlertCommit);
    ASSERT_EQ(r.programs.size(), 2u);
    EXPECT_EQ(r.programs[0], (ProgramMark{"chrome.exe", 1234, 812, 300}));
    EXPECT_EQ(r.programs[1], (ProgramMark{"=cmd.exe", 7, 100, -12}));

    // Columns a user added after the six of earlier versions: the record is not lost to them.
    ASSERT_TRUE(parseResavedRecordLine("08/12/2026 06:15;1536;1536;1536;812;120;note;;;x", r));
    EXPECT_EQ(r.inUseMo, 120);
    EXPECT_EQ(r.commitMo, kUnknownMo);
    EXPECT_TRUE(r.programs.empty());
    ParsedHistory parsed = parseHistory(std::string(kHistoryHeader) +
                                        "\r\n2026-12-08 06:15;1536;1536;1536;812;;;;\r\n");
    EXPECT_EQ(parsed.records.size(), 1u);
    EXPECT_EQ(parsed.resavedLines, 1);
}

class EarlierFilesTest : public ::testing::Test {
protected:
    EarlierFilesTest() { files.put(std::string(kDir) + "Corvane.exe", ""); }
    std::string file(const char* path) { return files.contents(path).value_or("<none>"); }
    fake::FakeFiles files;
};

TEST_F(EarlierFilesTest, AFileOfAnEarlierVersionReadsAndGetsTheNewHeaderWithNothingLost) {
    std::vector<MinuteRecord> old;
    for (int32_t m = kNowMinute - 30; m < kNowMinute; ++m) {
        old.push_back({m, 1500, 1500 + m % 3, 1500, 800, m % 2 ? 100 : kUnknownMo});
    }
    std::string earlier = std::string(kEarlierHistoryHeader) + "\r\n";
    for (const MinuteRecord& r : old) earlier += formatRecord(r);
    ParsedHistory parsed = parseHistory(earlier);
    EXPECT_TRUE(parsed.earlierHeader);
    EXPECT_TRUE(parsed.understood()) << "nothing of it needs a copy";
    EXPECT_FALSE(parsed.tidy()) << "its header is rewritten";
    EXPECT_EQ(parsed.records, old);

    files.put(kPath, earlier);
    History history;
    history.open(files, kDir, kNow);
    EXPECT_EQ(history.records(), old);
    EXPECT_EQ(file(kPath), historyText(old));
    EXPECT_TRUE(history.backupPath().empty());
    EXPECT_EQ(history.unreadLines(), 0);

    // The new minute with the commit goes under it, and both read back.
    HistorySample sample{kNowMinute, 1600, 900, kUnknownMo, 5000, 9000};
    history.addSample(files, sample);
    history.close(files);
    ParsedHistory after = parseHistory(file(kPath));
    EXPECT_TRUE(after.tidy());
    ASSERT_EQ(after.records.size(), old.size() + 1);
    EXPECT_EQ(after.records.back().commitMo, 5000);
    EXPECT_EQ(after.records.back().commitLimitMo, 9000);
}

TEST_F(EarlierFilesTest, HoursOfAnEarlierVersionReadForAView) {
    std::vector<MinuteRecord> hours = {{hourOf(kNowMinute - 40 * 1440), 1400, 1500, 1450, 700, 90},
                                       {hourOf(kNowMinute - 39 * 1440), 1500, 1500, 1500, 700, 90}};
    std::string earlier = std::string(kEarlierHourHeader) + "\r\n";
    for (const MinuteRecord& r : hours) earlier += formatRecord(r);
    files.put(kHours, earlier);
    files.put(kPath, historyText({{kNowMinute - 1, 1500, 1500, 1500, 800, kUnknownMo}}));
    History history;
    history.open(files, kDir, kNow);
    history.load(files, kNowMinute - 50 * 1440);
    EXPECT_EQ(history.hours(), hours);
    EXPECT_EQ(history.unreadLines(), 0);
}

TEST(HistoryCommitMinute, TheMinuteKeepsItsLargestCommitWithTheLimitOfThatMoment) {
    MinuteAggregator a;
    a.add({100, 1500, 800, kUnknownMo, 4000, 8000});
    a.add({100, 1500, 800, kUnknownMo, 6000, 9000});
    a.add({100, 1500, 800, kUnknownMo, 5000, 12000});  // a larger limit, a smaller commit
    a.add({100, 1500, 800, kUnknownMo});               // a sample that could not say
    std::optional<MinuteRecord> r = a.finish();
    ASSERT_TRUE(r);
    EXPECT_EQ(r->commitMo, 6000);
    EXPECT_EQ(r->commitLimitMo, 9000);

    MinuteAggregator none;
    none.add({100, 1500, 800, kUnknownMo});
    EXPECT_EQ(none.finish()->commitMo, kUnknownMo);
}

TEST(HistoryCommitMinute, AnAlertMarksTheMinuteItWasRaisedInAndNoOther) {
    MinuteAggregator a;
    a.add({100, 1500, 800, kUnknownMo});
    a.markAlert(100, kAlertCommit);
    a.markAlert(100, kAlertMemory);
    // Raised at 101 before any sample of 101 was read (the swap size could not be).
    a.markAlert(101, kAlertSwapGrowth);
    std::optional<MinuteRecord> first = a.add({101, 1500, 800, kUnknownMo});
    ASSERT_TRUE(first);
    EXPECT_EQ(first->alerts, kAlertCommit | kAlertMemory);
    // Raised at 102, but 102 had no sample: 103 is not marked with it.
    a.markAlert(102, kAlertCommit);
    std::optional<MinuteRecord> second = a.add({103, 1500, 800, kUnknownMo});
    ASSERT_TRUE(second);
    EXPECT_EQ(second->alerts, kAlertSwapGrowth);
    EXPECT_EQ(a.finish()->alerts, 0);
}

TEST(HistoryCommitHours, AnHourKeepsItsLargestCommitItsAlertsAndItsBusiestMinutesPrograms) {
    int32_t hour = hourOf(kNowMinute);
    MinuteRecord a{hour, 1500, 1500, 1500, 800, kUnknownMo};
    a.commitMo = 7000;
    a.commitLimitMo = 9000;
    a.alerts = kAlertCommit;
    a.programs = {{"a.exe", 1, 900, 10}};
    MinuteRecord b{hour + 1, 1500, 1600, 1600, 800, kUnknownMo};
    b.commitMo = 8000;
    b.commitLimitMo = 8500;
    b.alerts = kAlertSwapGrowth;
    b.programs = {{"b.exe", 2, 1200, 300}, {"a.exe", 1, 900, 0}};
    MinuteRecord c{hour + 2, 1600, 1600, 1600, 800, kUnknownMo};  // an old Windows's minute
    std::vector<MinuteRecord> hours = hoursOf({a, b, c});
    ASSERT_EQ(hours.size(), 1u);
    EXPECT_EQ(hours[0].commitMo, 8000);
    EXPECT_EQ(hours[0].commitLimitMo, 9000);
    EXPECT_EQ(hours[0].alerts, kAlertCommit | kAlertSwapGrowth);
    EXPECT_EQ(hours[0].programs, b.programs);

    // The same hour from both files: the widest of each, the busiest programs.
    std::vector<MinuteRecord> merged = mergeHours(hoursOf({b}), hoursOf({a, c}));
    ASSERT_EQ(merged.size(), 1u);
    EXPECT_EQ(merged[0].commitMo, 8000);
    EXPECT_EQ(merged[0].alerts, kAlertCommit | kAlertSwapGrowth);
    EXPECT_EQ(merged[0].programs, b.programs);
    // An hour of an earlier version's file knows nothing of the commit.
    EXPECT_EQ(hoursOf({c})[0].commitMo, kUnknownMo);
}

class BusyMinutesTest : public EarlierFilesTest {
protected:
    BusyMinutesTest() { history.open(files, kDir, kNow); }
    void sample(int32_t minute, int32_t swapMo, int32_t commitMo = 4000) {
        history.addSample(files, {minute, swapMo, 800, kUnknownMo, commitMo, 10000});
    }
    void note(int32_t minute, const char* name) {
        history.notePrograms(minute, {{name, 10, 900, 50}, {"other.exe", 11, 100, 0}});
    }
    // The programs the file names at `minute`, by their first one.
    std::string namedAt(int32_t minute) {
        for (const MinuteRecord& r : parseHistory(file(kPath)).records) {
            if (r.minute == minute) return r.programs.empty() ? "-" : r.programs.front().name;
        }
        return "<no record>";
    }
    History history;
};

TEST_F(BusyMinutesTest, ProgramsAreNamedWhenTheSwapGrewOrTheCommitNearedItsLimit) {
    const int32_t m = kNowMinute;
    note(m, "first.exe");
    sample(m, 1500);
    sample(m, 1500);  // the first minute: steady within itself
    note(m + 1, "grew.exe");
    sample(m + 1, 1500);
    sample(m + 1, 1600);        // grew within the minute
    sample(m + 2, 1600, 9001);  // steady, but the commit past nine tenths
    sample(m + 3, 1600, 9000);  // exactly nine tenths: not past it
    note(m + 4, "between.exe");
    sample(m + 4, 1700);  // grew since the minute before
    sample(m + 5, 1600);  // shrank
    sample(m + 6, 1700);  // grew, but the last scan is two minutes old
    sample(m + 8, 1800);  // grew across a gap: the minute before is not recorded
    history.close(files);
    EXPECT_EQ(namedAt(m), "-");
    EXPECT_EQ(namedAt(m + 1), "grew.exe");
    EXPECT_EQ(namedAt(m + 2), "grew.exe") << "a scan of the minute before still speaks for it";
    EXPECT_EQ(namedAt(m + 3), "-");
    EXPECT_EQ(namedAt(m + 4), "between.exe");
    EXPECT_EQ(namedAt(m + 5), "-");
    EXPECT_EQ(namedAt(m + 6), "-") << "programs seen two minutes before are not this minute's";
    EXPECT_EQ(namedAt(m + 8), "-");
    ParsedHistory parsed = parseHistory(file(kPath));
    EXPECT_TRUE(parsed.tidy());
    EXPECT_EQ(parsed.records, history.records()) << "memory and file agree";
}

// The tick feeds the commit, the minute's scan and the alerts to the history.
class CommitRecordingTest : public MonitorTest {
protected:
    void SetUp() override {
        fake.files.put("C:\\Corvane\\Corvane.exe", "");
        setSwapMiB(1536);
        fake.system.memory.commitKnown = true;
        setCommitMiB(3000, 8192);
        fake.memory.running.items = {process(4, "System", 1), process(500, "explorer.exe", 90),
                                     process(900, "committer.exe", 10)};
        fake.system.utc = {2026, 12, 8, 23, 58, 50};
        window.onLoad();
        ASSERT_FALSE(window.ended());
    }
    static ProcessCommit process(uint32_t pid, const std::string& name, uint64_t mo) {
        return {pid, 7, name, mo * kMiB};
    }
    void setCommitMiB(uint64_t used, uint64_t limit) {
        fake.system.memory.totalPageFile = limit * kMiB;
        fake.system.memory.availPageFile = (limit - used) * kMiB;
    }
    // A tick `minutes` after 23:58 UTC, at `sec`; each one a minute's scan of the processes.
    void tickAt(int minutes, int sec, uint64_t swapMiB) {
        fake.system.utc = dateTimeOf(*minuteOf({2026, 12, 8, 23, 58, 0}) + minutes);
        fake.system.utc.second = sec;
        fake.system.ticks += MemoryWatch::kMinuteMs;
        setSwapMiB(swapMiB);
        tick();
    }
    std::vector<MinuteRecord> records() {
        return parseHistory(fake.files.contents("C:\\Corvane\\Corvane.csv").value_or("")).records;
    }
};

TEST_F(CommitRecordingTest, AProgramThatCommitsAsTheSwapGrowsIsNamedWithItsFigures) {
    tickAt(0, 55, 1536);
    fake.memory.running.items[2].commitBytes = 310 * kMiB;
    setCommitMiB(3300, 8192);
    tickAt(1, 51, 1536);
    tickAt(1, 55, 1836);  // the swap grows
    tickAt(2, 2, 1836);
    std::vector<MinuteRecord> r = records();
    ASSERT_EQ(r.size(), 2u);
    EXPECT_EQ(r[0].commitMo, 3000);
    EXPECT_EQ(r[0].commitLimitMo, 8192);
    EXPECT_TRUE(r[0].programs.empty()) << "a steady minute names nobody";
    EXPECT_EQ(r[1].commitMo, 3300);
    ASSERT_EQ(r[1].programs.size(), 3u);
    EXPECT_EQ(r[1].programs[0], (ProgramMark{"committer.exe", 900, 310, 300}));
    EXPECT_EQ(r[1].programs[1].name, "explorer.exe");
    EXPECT_EQ(r[1].programs[2].name, "System");
    EXPECT_EQ(r[1].alerts, 0);
}

TEST_F(CommitRecordingTest, AProgramNamedFromACommitReadOn32BitsMakesTheHistorySaySo) {
    tickAt(0, 55, 1536);
    tickAt(1, 55, 1836);  // the swap grows: the minute names its programs, none capped
    tickAt(2, 5, 1836);
    EXPECT_EQ(historyNotice(window.context().state.history), "");
    fake.memory.running.items[1].commitCapped = true;
    tickAt(2, 55, 2136);
    tickAt(3, 5, 2136);
    ASSERT_EQ(records().back().programs.size(), 3u);
    EXPECT_EQ(historyNotice(window.context().state.history),
              "L'engagement des programmes nommés est lu sur 32 bits : il peut être faux au-delà "
              "de 4 Go ; la version 64 bits de Corvane le montre en entier.");
}

TEST_F(CommitRecordingTest, ACommitReadOn32BitsInQuietMinutesNamesNoProgramAndSaysNothing) {
    fake.memory.running.items[1].commitCapped = true;
    tickAt(0, 55, 1536);
    tickAt(1, 5, 1536);  // the swap file holds still: no program is named
    tickAt(2, 5, 1536);
    ASSERT_FALSE(records().empty());
    for (const MinuteRecord& r : records()) EXPECT_TRUE(r.programs.empty());
    EXPECT_EQ(historyNotice(window.context().state.history), "");
}

TEST_F(CommitRecordingTest, AnAlertRaisedAtATickMarksItsMinuteInTheFile) {
    tickAt(0, 55, 1536);
    setCommitMiB(7800, 8192);  // 95 %: past the default threshold of 90 %
    tickAt(1, 5, 1536);
    tickAt(1, 35, 1536);  // still above: no second alert
    setCommitMiB(3000, 8192);
    tickAt(2, 5, 1536);
    tickAt(3, 5, 1536);
    std::vector<MinuteRecord> r = records();
    ASSERT_EQ(r.size(), 3u);
    EXPECT_EQ(r[0].alerts, 0);
    EXPECT_EQ(r[1].alerts, kAlertCommit);
    EXPECT_EQ(r[2].alerts, 0);
    EXPECT_EQ(window.state().alertMarks, 1);
    // The commit near its limit names the programs too.
    EXPECT_FALSE(r[1].programs.empty());
}

}  // namespace
}  // namespace corvane::testing
