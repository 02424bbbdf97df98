// Nothing of the history is lost: a file a spreadsheet saved back is read and kept as it was,
// the kept span counts back from the newest record whatever the clock says, a generation is
// replaced only by its successor, and the export never writes over the history's own files.
#include <gtest/gtest.h>

#include <algorithm>
#include <limits>

#include "fake_platform.h"
#include "history/history.h"
#include "history/history_csv.h"
#include "history/history_plot.h"
#include "history/hour_records.h"
#include "history/utc_minutes.h"
#include "program/recording.h"

namespace corvane {
namespace {

constexpr const char* kDir = "C:\\Corvane\\";
constexpr const char* kPath = "C:\\Corvane\\Corvane.csv";
constexpr const char* kOld = "C:\\Corvane\\Corvane.csv.old";
constexpr const char* kBak = "C:\\Corvane\\Corvane.csv.bak";
const DateTime kNow{2026, 12, 8, 6, 15, 30};
const int32_t kNowMinute = *minuteOf(kNow);
const std::string kHeader = std::string(kHistoryHeader) + "\r\n";

MinuteRecord at(int32_t minute, int32_t mo = 1536) {
    return {minute, mo, mo, mo, 800, kUnknownMo};
}
std::string line(int32_t minute, int32_t mo = 1536) {
    return formatRecord(at(minute, mo));
}
std::string lines(int32_t first, int32_t count) {
    std::string text;
    for (int32_t m = first; m < first + count; ++m) text += line(m);
    return text;
}

// The file as a French spreadsheet saves it back: its own dates, a column of notes added.
const std::string kResaved =
    "Minute (UTC);SWAP mini (Mo);SWAP maxi (Mo);SWAP (Mo);RAM en usage (Mo);SWAP en usage "
    "(Mo);Note\r\n"
    "08/12/2026 06:10;1536;1540;1538;812;;pic\r\n"
    "08/12/2026 06:11;1 536;1 540;1 538;812;120;\r\n"
    "\"08/12/2026 06:12:00\";1536;1536;1536;815;121;\r\n"
    "total;;;;;;\r\n";
const std::vector<MinuteRecord> kResavedRecords{
    {kNowMinute - 5, 1536, 1540, 1538, 812, kUnknownMo},
    {kNowMinute - 4, 1536, 1540, 1538, 812, 120},
    {kNowMinute - 3, 1536, 1536, 1536, 815, 121},
};

class HistoryKeepTest : public ::testing::Test {
protected:
    HistoryKeepTest() { files.put(std::string(kDir) + "Corvane.exe", ""); }
    std::string file(const char* path = kPath) { return files.contents(path).value_or("<none>"); }
    void sample(History& h, int32_t minute, int32_t mo = 1536) {
        h.addSample(files, {minute, mo, 800, kUnknownMo});
    }

    fake::FakeFiles files;
    History history;
};

TEST_F(HistoryKeepTest, AFileASpreadsheetSavedBackIsReadAndKeptAsItWasBeforeItIsRewritten) {
    files.put(kPath, kResaved);
    history.open(files, kDir, kNow);
    EXPECT_EQ(history.records(), kResavedRecords);
    // The copy holds every byte; the file is in the program's form again, so that it is
    // copied once only.
    EXPECT_EQ(file(kBak), kResaved);
    EXPECT_EQ(file(), historyText(kResavedRecords));
    EXPECT_FALSE(files.exists("C:\\Corvane\\Corvane.csv.bak.tmp"));
    EXPECT_EQ(historyNotice(history),
              "C:\\Corvane\\Corvane.csv contenait des lignes d'une autre forme que la sienne : "
              "3 lignes reprises, 2 lignes laissées dans la copie du fichier tel qu'il était, "
              "C:\\Corvane\\Corvane.csv.bak.");
    History next;
    next.open(files, kDir, kNow);
    EXPECT_EQ(historyNotice(next), "");
    EXPECT_FALSE(files.exists("C:\\Corvane\\Corvane.csv.bak2"));

    // Saved back once more: the first copy stays, the second gets a name of its own.
    files.put(kPath, kResaved + "note du lundi\r\n");
    History third;
    third.open(files, kDir, kNow);
    EXPECT_EQ(file(kBak), kResaved);
    EXPECT_EQ(file("C:\\Corvane\\Corvane.csv.bak2"), kResaved + "note du lundi\r\n");
    EXPECT_EQ(third.backupPath(), "C:\\Corvane\\Corvane.csv.bak2");
}

TEST_F(HistoryKeepTest, AFileASpreadsheetSavedTwiceKeepsEveryMinute) {
    // A French spreadsheet's second save: two-digit years, seconds or not, LF line ends, its
    // UTF-8 mark, quotes, a decimal comma and spaced thousands, and a column of notes.
    const std::string twice = "\xEF\xBB\xBF" + std::string(kEarlierHistoryHeader) + "\n" +
                              "08/12/26 06:10;1536;1540;1538;812;;pic\n"
                              "\"08/12/26 06:11:00\";\"1\xC2\xA0"
                              "536\";1540,00;1538;812;120;\n"
                              "8/12/26 6:12;1\xE2\x80\xAF"
                              "536;1536;1536;815;121;\n"
                              "relevé du lundi\n";
    files.put(kPath, twice);
    history.open(files, kDir, kNow);
    EXPECT_EQ(history.records(), kResavedRecords);
    EXPECT_EQ(file(kBak), twice);
    EXPECT_EQ(historyNotice(history),
              "C:\\Corvane\\Corvane.csv contenait des lignes d'une autre forme que la sienne : "
              "3 lignes reprises, 1 ligne laissée dans la copie du fichier tel qu'il était, "
              "C:\\Corvane\\Corvane.csv.bak.");
}

TEST_F(HistoryKeepTest, WhenNoCopyCanBeMadeTheFileIsLeftAsItWasAndTheMinutesFollowIt) {
    std::string torn = kResaved + "2026-12-08 06:1";
    files.put(kPath, torn);
    files.freeBytes = 100;  // not room for the copy
    history.open(files, kDir, kNow);
    files.freeBytes.reset();
    EXPECT_EQ(file(), torn);
    EXPECT_FALSE(files.exists(kBak));
    EXPECT_FALSE(files.exists("C:\\Corvane\\Corvane.csv.bak.tmp"));
    EXPECT_EQ(history.records(), kResavedRecords);
    EXPECT_EQ(historyNotice(history),
              "C:\\Corvane\\Corvane.csv contenait des lignes d'une autre forme que la sienne : "
              "3 lignes reprises, 2 lignes non lues ; le fichier est laissé tel quel et les "
              "nouvelles mesures y sont ajoutées.");
    sample(history, kNowMinute);
    sample(history, kNowMinute + 1);
    // The line cut short is this program's own, not one of the user's five.
    EXPECT_EQ(file(), torn + std::string(kCutMark) + "\r\n" + line(kNowMinute));
}

TEST_F(HistoryKeepTest, AFileThatCannotBeReadIsNeitherRewrittenNorMovedAside) {
    std::string bytes = kHeader + "garbage\r\n" + line(kNowMinute - 3);
    files.put(kPath, bytes);
    files.unreadableFiles.insert(kPath);
    history.open(files, kDir, kNow);
    EXPECT_FALSE(history.previousRead());
    EXPECT_EQ(file(), bytes);
    EXPECT_FALSE(files.exists(kBak));
    sample(history, kNowMinute);
    sample(history, kNowMinute + 1);
    // How the file ends is not known: nothing is appended after it until it can be read.
    EXPECT_EQ(file(), bytes);
    EXPECT_FALSE(history.saved());
    files.unreadableFiles.clear();
    sample(history, kNowMinute + 2);
    // Read at last, it is put right as any file is: its lines first kept as they were.
    EXPECT_EQ(file(), kHeader + line(kNowMinute - 3) + line(kNowMinute) + line(kNowMinute + 1));
    EXPECT_EQ(file(kBak).rfind(bytes, 0), 0u);
}

TEST_F(HistoryKeepTest, AClockSetAheadOrBackLetsNothingGo) {
    // A history of 399 days, then two years ahead at start-up and while running, then back:
    // every minute is still there, as a minute or within its hour.
    std::vector<MinuteRecord> first{at(kNowMinute - 399 * 1440), at(kNowMinute - 3, 1500),
                                    at(kNowMinute - 2, 1600), at(kNowMinute - 1)};
    files.put(kPath, historyText(first));
    DateTime ahead = kNow;
    ahead.year += 2;
    int32_t aheadMinute = *minuteOf(ahead);
    history.open(files, kDir, ahead);
    for (int32_t m = aheadMinute; m < aheadMinute + 3; ++m) sample(history, m);
    history.close(files);
    History restarted;
    restarted.open(files, kDir, ahead);
    sample(restarted, kNowMinute);  // the clock put right
    sample(restarted, kNowMinute + 1);
    restarted.close(files);

    History last;
    last.open(files, kDir, kNow);
    last.load(files, std::numeric_limits<int32_t>::min());
    std::vector<MinuteRecord> everything = first;
    for (int32_t m = aheadMinute; m < aheadMinute + 3; ++m) everything.push_back(at(m));
    everything.push_back(at(kNowMinute));
    everything.push_back(at(kNowMinute + 1));
    for (const MinuteRecord& r : everything) {
        SCOPED_TRACE(formatMinute(r.minute));
        bool asMinute = std::count(last.records().begin(), last.records().end(), r) == 1;
        bool inItsHour = std::any_of(last.hours().begin(), last.hours().end(), [&](auto& h) {
            return h.minute == hourOf(r.minute) && h.minMo <= r.minMo && h.maxMo >= r.maxMo;
        });
        EXPECT_TRUE(asMinute || inItsHour);
    }
    // The minutes before the jump ahead are an hour now: its band is theirs.
    EXPECT_EQ(std::count(last.hours().begin(), last.hours().end(),
                         MinuteRecord{hourOf(kNowMinute - 3), 1500, 1600, 1536, 800, kUnknownMo}),
              1);
}

TEST_F(HistoryKeepTest, HoursGoOnlyOnceOlderThanTheKeptSpanBeforeTheNewestRecord) {
    // Ten hours kept, an hour of minutes: one minute an hour for thirty hours keeps the
    // minutes of the last hour and ten hours before them, whatever the clock.
    std::vector<MinuteRecord> minutes;
    for (int32_t h = 0; h < 30; ++h) minutes.push_back(at((1000 + h) * 60));
    files.put(kPath, historyText(minutes));
    History small(600, 60);
    small.open(files, kDir, DateTime{1971, 1, 1, 0, 0, 0});
    EXPECT_EQ(file(), historyText({at(1028 * 60), at(1029 * 60)}));
    std::vector<MinuteRecord> tenHours(minutes.begin() + 18, minutes.begin() + 28);
    EXPECT_EQ(file("C:\\Corvane\\Corvane-heures.csv"), historyText(tenHours, kHourHeader));

    // A record far ahead pushes out no more than the records it adds.
    std::vector<MinuteRecord> jumped(minutes.begin(), minutes.begin() + 11);
    jumped.push_back(at(900000 * 60));
    files.put(kPath, historyText(jumped));
    files.put("C:\\Corvane\\Corvane-heures.csv", "");
    History after(600, 60);
    after.open(files, kDir, kNow);
    EXPECT_EQ(file(), historyText({at(900000 * 60)}));
    EXPECT_EQ(file("C:\\Corvane\\Corvane-heures.csv"),
              historyText({minutes.begin() + 1, minutes.begin() + 11}, kHourHeader));
}

TEST_F(HistoryKeepTest, WhileRunningTheFileIsAppendedToAndCompactedOnceASpanHasGonePast) {
    History h(400 * 1440, 60);  // an hour of minutes: the file is compacted every hour or so
    files.put(kPath, historyText({}) + lines(kNowMinute - 100, 100));
    h.open(files, kDir, kNow);
    EXPECT_EQ(file(), historyText({}) + lines(kNowMinute - 100, 100));
    for (int32_t m = kNowMinute; m <= kNowMinute + 22; ++m) sample(h, m);
    // At 06:36 the first minute (04:35) was two hours older than the newest: the minutes
    // before 05:00 became the hour 04:00.
    EXPECT_EQ(file(), historyText({}) + lines(kNowMinute - 75, 75) + lines(kNowMinute, 22));
    EXPECT_EQ(file("C:\\Corvane\\Corvane-heures.csv"),
              historyText({at(kNowMinute - 135)}, kHourHeader));
    files.replaceError = RuntimeError(kErrPathFileAccess);
    sample(h, kNowMinute + 23);
    EXPECT_TRUE(files.replaceError.has_value()) << "compacted again a minute later";
    EXPECT_EQ(file().size(),
              (historyText({}) + lines(kNowMinute - 75, 75) + lines(kNowMinute, 23)).size());
}

TEST_F(HistoryKeepTest, ANewHistoryNeverDeletesTheOldOneBeforeItsSuccessorIsInPlace) {
    files.put(kOld, "previous\r\n");
    history.open(files, kDir, kNow);
    sample(history, kNowMinute);
    sample(history, kNowMinute + 1);
    files.lockedFiles.insert(kPath);  // a spreadsheet holds it
    history.startNew(files);
    EXPECT_EQ(file(kOld), "previous\r\n");
    EXPECT_EQ(file(), kHeader + line(kNowMinute));
    EXPECT_FALSE(history.saved());
    files.lockedFiles.clear();
    sample(history, kNowMinute + 5);
    sample(history, kNowMinute + 6);
    EXPECT_EQ(file(kOld), kHeader + line(kNowMinute) + line(kNowMinute + 1));
    EXPECT_EQ(file(), kHeader + line(kNowMinute + 5));

    // The old file held instead: nothing moves until it is released.
    files.lockedFiles.insert(kOld);
    history.startNew(files);
    EXPECT_EQ(file(kOld), kHeader + line(kNowMinute) + line(kNowMinute + 1));
    EXPECT_EQ(file(), kHeader + lines(kNowMinute + 5, 2));
}

TEST_F(HistoryKeepTest, TwoNewHistoriesAskedForWhileTheFileIsHeldMoveItAsideOnce) {
    files.put(kOld, "previous\r\n");
    history.open(files, kDir, kNow);
    sample(history, kNowMinute);
    sample(history, kNowMinute + 1);
    files.lockedFiles.insert(kPath);
    history.startNew(files);
    history.startNew(files);  // asked for again before the first could begin
    files.lockedFiles.clear();
    history.startNew(files);  // and once more, the file released
    // One move: the minutes the user had are the old generation, not pushed out by an empty one.
    EXPECT_EQ(file(kOld), kHeader + line(kNowMinute) + line(kNowMinute + 1));
    EXPECT_EQ(file(), kHeader);
}

TEST_F(HistoryKeepTest, TheExportRefusesTheHistorysOwnFilesUnderAnyName) {
    fake::FakePlatform fake;
    History h;
    h.open(fake.files, kDir, kNow);
    h.addSample(fake.files, {kNowMinute, 1536, 800, kUnknownMo});
    h.addSample(fake.files, {kNowMinute + 1, 1536, 800, kUnknownMo});
    fake.files.put(kOld, "previous\r\n");
    fake.files.alias(kPath, "C:\\CORVAN~1\\CORVAN~1.CSV");           // its short name
    fake.files.alias(kPath, "\\\\POSTE\\C$\\Corvane\\Corvane.csv");  // this machine's share
    const std::string before = fake.files.contents(kPath).value();
    for (const char* target :
         {"C:\\CORVAN~1\\CORVAN~1.CSV", "\\\\POSTE\\C$\\Corvane\\Corvane.csv",
          "C:\\Corvane\\..\\Corvane\\.\\corvane.CSV", "C:\\Corvane\\Corvane.csv.old"}) {
        SCOPED_TRACE(target);
        fake.dialogs.shown.clear();
        fake.dialogs.saveAsAnswers.push_back(target);
        exportHistory(fake.system, fake.dialogs, fake.files, h);
        ASSERT_EQ(fake.dialogs.shown.size(), 1u);
        EXPECT_NE(fake.dialogs.shown[0].text.find("Ce fichier est l'historique que Corvane"),
                  std::string::npos);
        EXPECT_THROW(h.exportTo(fake.files, target), RuntimeError);
        EXPECT_EQ(fake.files.contents(kPath), before);
        EXPECT_EQ(fake.files.contents(kOld), "previous\r\n");
    }
    // Another file of the same folder is a file like any other.
    fake.dialogs.shown.clear();
    fake.dialogs.saveAsAnswers.push_back("C:\\Corvane\\Corvane copie.csv");
    exportHistory(fake.system, fake.dialogs, fake.files, h);
    ASSERT_EQ(fake.dialogs.shown.size(), 1u);
    EXPECT_EQ(fake.dialogs.shown[0].style.icon, MsgIcon::Information);
    EXPECT_EQ(fake.files.contents("C:\\Corvane\\Corvane copie.csv"),
              exportText({}, {at(kNowMinute)}));
}

}  // namespace
}  // namespace corvane
