// "Corvane.csv" on disk: start-up compaction and its failure, a folder that cannot be written,
// a file held open elsewhere, the rotation of a new history, and the export.
#include <gtest/gtest.h>

#include <limits>

#include "fake_platform.h"
#include "history/history.h"
#include "history/history_csv.h"
#include "history/history_plot.h"
#include "history/hour_records.h"
#include "history/utc_minutes.h"

namespace corvane {
namespace {

constexpr const char* kDir = "C:\\Corvane\\";
constexpr const char* kPath = "C:\\Corvane\\Corvane.csv";
constexpr const char* kOld = "C:\\Corvane\\Corvane.csv.old";
constexpr const char* kTmp = "C:\\Corvane\\Corvane.csv.tmp";
constexpr const char* kHours = "C:\\Corvane\\Corvane-heures.csv";
const std::string kHourHeaderLine = std::string(kHourHeader) + "\r\n";
const DateTime kNow{2026, 12, 8, 6, 15, 30};
const int32_t kNowMinute = *minuteOf(kNow);
const std::string kHeader = std::string(kHistoryHeader) + "\r\n";

MinuteRecord at(int32_t minute, int32_t mo = 1536) {
    return {minute, mo, mo, mo, 800, kUnknownMo};
}
std::string line(int32_t minute, int32_t mo = 1536) {
    return formatRecord(at(minute, mo));
}

class HistoryFileTest : public ::testing::Test {
protected:
    HistoryFileTest() { files.put(std::string(kDir) + "Corvane.exe", ""); }
    std::string file(const char* path = kPath) { return files.contents(path).value_or("<none>"); }
    void open() { history.open(files, kDir, kNow); }
    // One sample: the minute before it is recorded when this one begins another.
    void sample(int32_t minute, int32_t mo = 1536) {
        history.addSample(files, {minute, mo, 800, kUnknownMo});
    }

    fake::FakeFiles files;
    History history;
};

TEST_F(HistoryFileTest, ANewFileStartsWithItsHeaderAndATidyOneIsLeftAlone) {
    open();
    EXPECT_EQ(file(), kHeader);
    EXPECT_TRUE(history.saved());

    std::string tidy = kHeader + line(kNowMinute - 10) + line(kNowMinute - 5);
    files.put(kPath, tidy);
    files.replaceError = RuntimeError(kErrPathFileAccess);  // consumed by any rewrite
    History again;
    again.open(files, kDir, kNow);
    EXPECT_TRUE(files.replaceError.has_value());
    EXPECT_EQ(file(), tidy);
    EXPECT_EQ(again.records().size(), 2u);
}

TEST_F(HistoryFileTest, CompactionSortsAndMendsTheFileAndFoldsOldMinutesIntoHours) {
    // Minutes more than 31 days older than the newest live on as their hour; the clock does
    // not decide what is too old.
    int32_t limit = kNowMinute - 400 * 1440;
    std::string original = "Minute;old header\r\n" + line(limit - 1) + line(limit) + "garbage\r\n" +
                           line(kNowMinute - 2) + "\r\n" + line(kNowMinute - 3) +
                           line(kNowMinute - 3) + "2026-12-08 06:1";
    files.put(kPath, original);
    open();
    EXPECT_EQ(file(), kHeader + line(kNowMinute - 3) + line(kNowMinute - 2));
    EXPECT_EQ(file(kHours), kHourHeaderLine + formatRecord(at(hourOf(limit))));
    EXPECT_EQ(file("C:\\Corvane\\Corvane.csv.bak"), original);
    EXPECT_FALSE(files.exists(kTmp));
    ASSERT_EQ(history.records().size(), 2u);
    EXPECT_TRUE(history.hours().empty()) << "read before any view asked for them";
    history.load(files, std::numeric_limits<int32_t>::min());
    EXPECT_EQ(history.hours(), std::vector<MinuteRecord>{at(hourOf(limit))});
    sample(kNowMinute);
    sample(kNowMinute + 1);
    EXPECT_EQ(file(), kHeader + line(kNowMinute - 3) + line(kNowMinute - 2) + line(kNowMinute));
}

TEST_F(HistoryFileTest, AFailedCompactionLeavesTheOldFileWholeAndAppendsOnAFreshLine) {
    std::string old = kHeader + "garbage\r\n" + line(kNowMinute - 2) + "2026-12-08 06:1";
    files.put(kPath, old);
    files.replaceError = RuntimeError(kErrPermissionDenied);
    open();
    EXPECT_EQ(file(), old);
    EXPECT_FALSE(files.exists(kTmp));
    EXPECT_EQ(history.records().size(), 1u);
    sample(kNowMinute);
    sample(kNowMinute + 1);
    // The cut line is this program's: marked so that nothing reads it as a record.
    EXPECT_EQ(file(), old + std::string(kCutMark) + "\r\n" + line(kNowMinute));
    ParsedHistory reread = parseHistory(file());
    EXPECT_EQ(reread.records, (std::vector<MinuteRecord>{at(kNowMinute - 2), at(kNowMinute)}));
    EXPECT_TRUE(history.saved());

    // A folder where the new file cannot be written at all fails the same way.
    files.readOnlyFolders.insert(kDir);
    History readOnly;
    readOnly.open(files, kDir, kNow);
    EXPECT_EQ(file(), old + std::string(kCutMark) + "\r\n" + line(kNowMinute));
}

TEST_F(HistoryFileTest, AFolderThatCannotBeWrittenKeepsTheHistoryInMemoryAndSaysSo) {
    files.readOnlyFolders.insert(kDir);
    open();
    EXPECT_FALSE(files.exists(kPath));
    EXPECT_FALSE(history.saved());
    EXPECT_EQ(historyNotice(history),
              "L'historique ne peut pas être écrit dans C:\\Corvane\\Corvane.csv : il est gardé "
              "en mémoire pour cette session.");
    sample(kNowMinute);
    sample(kNowMinute + 2);
    sample(kNowMinute + 3);
    EXPECT_EQ(history.records(), (std::vector<MinuteRecord>{at(kNowMinute), at(kNowMinute + 2)}));
    // Once the folder can be written, what waited goes first, in order.
    files.readOnlyFolders.clear();
    sample(kNowMinute + 4);
    EXPECT_TRUE(history.saved());
    EXPECT_EQ(historyNotice(history), "");
    EXPECT_EQ(file(), kHeader + line(kNowMinute) + line(kNowMinute + 2) + line(kNowMinute + 3));
}

TEST_F(HistoryFileTest, AFileHeldOpenElsewhereCatchesUpWhenItIsReleased) {
    open();
    files.lockedFiles.insert(kPath);
    sample(kNowMinute);
    sample(kNowMinute + 1);
    EXPECT_FALSE(history.saved());
    files.lockedFiles.clear();
    history.close(files);  // the exit writes what waits, with the minute in progress
    EXPECT_EQ(parseHistory(file()).records,
              (std::vector<MinuteRecord>{at(kNowMinute), at(kNowMinute + 1)}));
    EXPECT_TRUE(history.saved());

    files.unreadableFiles.insert(kPath);
    History unread;
    unread.open(files, kDir, kNow);
    EXPECT_TRUE(unread.records().empty());
    EXPECT_EQ(historyNotice(unread),
              "L'historique enregistré (C:\\Corvane\\Corvane.csv) n'a pas pu être lu : seules "
              "les mesures de cette session sont montrées.");
}

TEST_F(HistoryFileTest, AWriteCutShortByAFullDiskCostsNoRecord) {
    open();
    files.freeBytes = 20;  // half a line
    sample(kNowMinute);
    sample(kNowMinute + 1);
    EXPECT_FALSE(history.saved());
    EXPECT_EQ(file(), kHeader + line(kNowMinute).substr(0, 20));
    files.freeBytes.reset();
    sample(kNowMinute + 2);
    EXPECT_EQ(file(), kHeader + line(kNowMinute).substr(0, 20) + std::string(kCutMark) + "\r\n" +
                          line(kNowMinute) + line(kNowMinute + 1));
    EXPECT_EQ(parseHistory(file()).records,
              (std::vector<MinuteRecord>{at(kNowMinute), at(kNowMinute + 1)}));
    // The next start mends the file.
    History next;
    next.open(files, kDir, kNow);
    EXPECT_EQ(file(), kHeader + line(kNowMinute) + line(kNowMinute + 1));
}

TEST_F(HistoryFileTest, ARunLongerThanTheLimitKeepsTheOldestMinuteAsItsHour) {
    files.put(kPath, kHeader + line(kNowMinute - 399 * 1440) + line(kNowMinute));
    open();
    int32_t later = kNowMinute + 2 * 1440 + 5;  // the first record is now 401 days and more old
    sample(later);
    sample(later + 1);
    EXPECT_EQ(history.records().size(), 2u);
    EXPECT_EQ(file(), kHeader + line(kNowMinute) + line(later));
    EXPECT_EQ(file(kHours), kHourHeaderLine + formatRecord(at(hourOf(kNowMinute - 399 * 1440))));
    files.replaceError = RuntimeError(kErrPathFileAccess);
    sample(later + 2);
    EXPECT_TRUE(files.replaceError.has_value());
}

TEST_F(HistoryFileTest, ANewHistoryKeepsThePreviousOneAsTheOldFile) {
    open();
    fake::FakeHistoryView view;
    history.attach(&view);
    sample(kNowMinute);
    sample(kNowMinute + 1);
    EXPECT_EQ(view.refreshes, 1);
    history.startNew(files);
    EXPECT_EQ(view.refreshes, 2);
    // The minute in progress ends the old history.
    EXPECT_EQ(file(kOld), kHeader + line(kNowMinute) + line(kNowMinute + 1));
    EXPECT_EQ(file(), kHeader);
    EXPECT_TRUE(history.records().empty());
    sample(kNowMinute + 5);
    history.startNew(files);
    EXPECT_EQ(file(kOld), kHeader + line(kNowMinute + 5));
    EXPECT_EQ(file(), kHeader);
}

TEST_F(HistoryFileTest, ANewHistoryWaitsWhileTheFileCannotMoveAndNeverMixesWithTheOld) {
    open();
    sample(kNowMinute);
    sample(kNowMinute + 1);
    files.lockedFiles.insert(kPath);
    history.startNew(files);
    EXPECT_FALSE(history.saved());
    sample(kNowMinute + 10);
    sample(kNowMinute + 11);
    EXPECT_EQ(file(), kHeader + line(kNowMinute));  // the old history, untouched
    files.lockedFiles.clear();
    sample(kNowMinute + 12);
    EXPECT_TRUE(history.saved());
    // The old history's last minute reached it before it moved aside.
    EXPECT_EQ(file(kOld), kHeader + line(kNowMinute) + line(kNowMinute + 1));
    EXPECT_EQ(file(), kHeader + line(kNowMinute + 10) + line(kNowMinute + 11));
}

TEST_F(HistoryFileTest, ExportCopiesTheFileOrWritesWhatMemoryHoldsWhenTheFileLacksIt) {
    files.put("D:\\autre.txt", "");
    open();
    sample(kNowMinute);
    sample(kNowMinute + 1);
    history.exportTo(files, "D:\\copie.csv");
    EXPECT_EQ(files.contents("D:\\copie.csv"), exportText({}, {at(kNowMinute)}));

    files.lockedFiles.insert(kPath);
    sample(kNowMinute + 3);
    history.exportTo(files, "D:\\copie.csv");
    EXPECT_EQ(files.contents("D:\\copie.csv"),
              exportText({}, {at(kNowMinute), at(kNowMinute + 1)}));
    EXPECT_EQ(file(), kHeader + line(kNowMinute));

    files.readOnlyFolders.insert("D:\\");
    try {
        history.exportTo(files, "D:\\copie.csv");
        FAIL() << "the export reported no failure";
    } catch (const RuntimeError& error) {
        EXPECT_EQ(error.number(), kErrPathFileAccess);
    }
}

}  // namespace
}  // namespace corvane
