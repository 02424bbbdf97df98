// What crashes, power cuts, files held by other programs, torn lines and a clock set ahead do
// to the history's files: no minute the user had is lost, no copy piles up, no cut line is read
// as a record, and no work is repeated at every minute.
#include <gtest/gtest.h>

#include <algorithm>

#include "fake_platform.h"
#include "history/history.h"
#include "history/history_csv.h"
#include "history/history_plot.h"
#include "history/hour_records.h"
#include "history/utc_minutes.h"
#include "platform/file_replace.h"

namespace corvane {
namespace {

constexpr const char* kDir = "C:\\Corvane\\";
constexpr const char* kPath = "C:\\Corvane\\Corvane.csv";
constexpr const char* kBak = "C:\\Corvane\\Corvane.csv.bak";
constexpr const char* kHours = "C:\\Corvane\\Corvane-heures.csv";
constexpr const char* kWaiting = "C:\\Corvane\\Corvane-attente.csv";
constexpr const char* kOld = "C:\\Corvane\\Corvane.csv.old";
constexpr const char* kHoursOld = "C:\\Corvane\\Corvane-heures.csv.old";
constexpr const char* kNew = "C:\\Corvane\\Corvane-nouveau.csv";
const DateTime kNow{2026, 12, 8, 6, 15, 30};
const int32_t kNowMinute = *minuteOf(kNow);
const std::string kHeader = std::string(kHistoryHeader) + "\r\n";

MinuteRecord at(int32_t minute, int32_t mo = 1536) {
    return {minute, mo, mo, mo, 812, kUnknownMo};
}
std::string line(int32_t minute, int32_t mo = 1536) {
    return formatRecord(at(minute, mo));
}
std::string lines(int32_t first, int32_t count) {
    std::string text;
    for (int32_t m = first; m < first + count; ++m) text += line(m);
    return text;
}
DateTime timeOf(int32_t minute) {
    DateTime t = dateTimeOf(minute);
    t.second = 30;
    return t;
}

class HistorySafetyTest : public ::testing::Test {
protected:
    HistorySafetyTest() { files.put(std::string(kDir) + "Corvane.exe", ""); }
    std::string file(const char* path = kPath) { return files.contents(path).value_or("<none>"); }
    void sample(History& h, int32_t minute, int32_t mo = 1536) {
        h.addSample(files, {minute, mo, 812, kUnknownMo});
    }
    // The copies kept beside a file: ".bak", ".bak2" ...
    int copiesOf(const std::string& path) {
        int count = 0;
        for (const char* suffix : {".bak", ".bak2", ".bak3", ".bak4", ".bak5", ".bak6", ".bak7",
                                   ".bak8", ".bak9", ".bak.tmp"}) {
            count += files.exists(path + suffix) ? 1 : 0;
        }
        return count;
    }
    // Every record of a file, and whether any of them has the minute twice.
    std::vector<MinuteRecord> recordsOf(const char* path = kPath) {
        return parseHistory(file(path)).records;
    }

    fake::FakeFiles files;
};

TEST_F(HistorySafetyTest, OnWindows9xTheCompactionKeepsTheUsersCopyAndACutReplaceIsPutBack) {
    // Windows 9x has no one-step replace: the file is replaced by renames, and its aside name
    // is not the name of the copy of the user's lines.
    files.replaceByRenamesOnly = true;
    std::string edited = kHeader + line(kNowMinute - 3) + "une note;de l'utilisateur\r\n";
    files.put(kPath, edited);
    History history;
    history.open(files, kDir, kNow);
    EXPECT_EQ(history.backupPath(), kBak);
    EXPECT_EQ(file(kBak), edited);
    EXPECT_EQ(file(), kHeader + line(kNowMinute - 3));
    EXPECT_NE(historyNotice(history).find(kBak), std::string::npos);

    // A power cut between the two renames leaves the history only aside: the next start puts
    // it back before anything else, and nothing later deletes it.
    std::string kept = kHeader + lines(kNowMinute - 30, 20);
    files.deleteFile(kPath);
    files.put(asidePath(kPath), kept);
    History next;
    next.open(files, kDir, kNow);
    EXPECT_EQ(next.records().size(), 20u);
    EXPECT_FALSE(files.exists(asidePath(kPath)));
    sample(next, kNowMinute);
    sample(next, kNowMinute + 1);
    EXPECT_EQ(file(), kept + line(kNowMinute));
    EXPECT_EQ(file(kBak), edited);

    // The same cut in the replace of what waited at the last exit: put back, and written.
    files.put(asidePath(kWaiting), kHeader + lines(kNowMinute + 5, 3));
    History third;
    third.open(files, kDir, timeOf(kNowMinute + 10));
    EXPECT_FALSE(files.exists(asidePath(kWaiting)));
    EXPECT_FALSE(files.exists(kWaiting));
    EXPECT_EQ(file(), kept + line(kNowMinute) + lines(kNowMinute + 5, 3));
}

TEST_F(HistorySafetyTest, ATornLastLineBeforeEachOfElevenStartsLeavesNoCopyAndNoFalseRecord) {
    // Cut after its fifth field: what is left would read as a memory of 8 Mo for 812.
    const std::string torn = line(kNowMinute).substr(0, 33);
    ASSERT_EQ(torn, "2026-12-08 06:15;1536;1536;1536;8");
    files.put(kPath, kHeader + lines(kNowMinute - 100, 50));
    int32_t minute = kNowMinute;
    for (int start = 0; start < 11; ++start) {
        SCOPED_TRACE(start);
        files.put(kPath, file() + line(minute).substr(0, 33));
        History history;
        history.open(files, kDir, timeOf(minute));
        sample(history, minute + 1);
        sample(history, minute + 2);
        history.close(files);
        EXPECT_EQ(copiesOf(kPath), 0);
        EXPECT_EQ(history.unreadLines(), 0);
        EXPECT_EQ(historyNotice(history), "");
        minute += 10;
    }
    std::vector<MinuteRecord> records = recordsOf();
    EXPECT_EQ(records.size(), 50u + 2 * 11);
    EXPECT_TRUE(std::none_of(records.begin(), records.end(),
                             [](const MinuteRecord& r) { return r.memoryMo != 812; }));

    // The same cut that a later write ran into, in a file left as it is because its copy
    // could not be made: still no record of it.
    ParsedHistory read = parseHistory(kHeader + torn + std::string(kCutMark) + "\r\n" +
                                      line(kNowMinute + 1) + "2026-12-08 06:17;1536;15");
    EXPECT_EQ(read.records, std::vector<MinuteRecord>{at(kNowMinute + 1)});
    EXPECT_EQ(read.cutLines, 2);
    EXPECT_TRUE(read.understood());
    EXPECT_FALSE(read.tidy());
}

TEST_F(HistorySafetyTest, OurHeaderWrittenAgainInsideTheFileIsOursAndCostsNoCopy) {
    // A read at start-up answered that the file was gone while it was there (a sync program
    // putting its own copy in place): the new file's header went after its last line.
    files.put(kPath, kHeader + lines(kNowMinute - 10, 3) + kHeader + lines(kNowMinute - 5, 2));
    ParsedHistory read = parseHistory(file());
    EXPECT_TRUE(read.understood());
    EXPECT_FALSE(read.tidy());
    EXPECT_EQ(read.records.size(), 5u);

    History history;
    history.open(files, kDir, kNow);
    EXPECT_EQ(copiesOf(kPath), 0);
    EXPECT_EQ(historyNotice(history), "");
    EXPECT_EQ(file(), kHeader + lines(kNowMinute - 10, 3) + lines(kNowMinute - 5, 2));
}

TEST_F(HistorySafetyTest, AFileAReadSaysIsGoneWhileItIsThereGetsNoSecondHeader) {
    // For a moment every read answers that the file is not there, and its last line was cut.
    const std::string kept = kHeader + lines(kNowMinute - 10, 3);
    files.put(kPath, kept + line(kNowMinute - 5).substr(0, 20));
    files.unreadableFiles.insert(kPath);
    files.unreadableError = kErrFileNotFound;
    History history;
    history.open(files, kDir, kNow);
    for (int m = 0; m <= 2; ++m) sample(history, kNowMinute + m);
    files.unreadableFiles.clear();
    for (int m = 3; m <= 8; ++m) sample(history, kNowMinute + m);
    history.close(files);
    const std::string text = file();
    EXPECT_EQ(text.rfind(kept, 0), 0u) << text;
    EXPECT_EQ(text.find(kHistoryHeader, 1), std::string::npos) << text;
    ParsedHistory read = parseHistory(text);
    EXPECT_TRUE(read.understood());
    std::vector<MinuteRecord> expected;
    for (int m = -10; m <= -8; ++m) expected.push_back(at(kNowMinute + m));
    for (int m = 0; m <= 8; ++m) expected.push_back(at(kNowMinute + m));
    EXPECT_EQ(read.records, expected) << text;
    EXPECT_EQ(copiesOf(kPath), 0);
    EXPECT_EQ(historyNotice(history), "");
}

TEST_F(HistorySafetyTest, AUsersLinesAreCopiedOnceHoweverOftenTheRewriteFails) {
    std::string edited = kHeader + line(kNowMinute - 3) + "une note;de l'utilisateur\r\n";
    files.put(kPath, edited);
    files.unreplaceable.insert(kPath);  // open in a spreadsheet that lets it be read only
    int32_t minute = kNowMinute;
    std::string firstSeen;
    for (int start = 0; start < 11; ++start) {
        SCOPED_TRACE(start);
        files.put(kPath, file() + line(minute).substr(0, 20));
        if (start == 0) firstSeen = file();
        History history;
        history.open(files, kDir, timeOf(minute));
        for (int m = 1; m <= 70; ++m) sample(history, minute + m);
        history.close(files);
        EXPECT_EQ(copiesOf(kPath), 1);
        EXPECT_EQ(file(kBak), firstSeen);
        EXPECT_EQ(history.backupPath(), kBak);
        minute += 100;
    }
    files.unreplaceable.clear();
    History last;
    last.open(files, kDir, timeOf(minute));
    EXPECT_EQ(copiesOf(kPath), 1);
    EXPECT_EQ(recordsOf().size(), 1u + 70 * 11);
}

TEST_F(HistorySafetyTest, MinutesWaitingAtExitWhileTheFileIsHeldAreWrittenAtTheNextStart) {
    files.put(kPath, kHeader + lines(kNowMinute - 10, 5));
    History history;
    history.open(files, kDir, kNow);
    files.lockedFiles.insert(kPath);  // a spreadsheet holds it, for days
    for (int m = 0; m <= 3; ++m) sample(history, kNowMinute + m);
    history.close(files);
    EXPECT_EQ(file(), kHeader + lines(kNowMinute - 10, 5));
    EXPECT_FALSE(history.saved());

    // Still held at the next start: what waited keeps waiting, with what this run adds.
    History held;
    held.open(files, kDir, timeOf(kNowMinute + 10));
    EXPECT_EQ(held.records().size(), 5u + 4);
    sample(held, kNowMinute + 10);
    held.close(files);

    files.lockedFiles.clear();
    History released;
    released.open(files, kDir, timeOf(kNowMinute + 20));
    EXPECT_EQ(file(),
              kHeader + lines(kNowMinute - 10, 5) + lines(kNowMinute, 4) + line(kNowMinute + 10));
    EXPECT_FALSE(files.exists(kWaiting));
    EXPECT_TRUE(released.saved());
    // What was written is not written twice by a later start.
    History again;
    again.open(files, kDir, timeOf(kNowMinute + 30));
    EXPECT_EQ(recordsOf().size(), 10u);
}

TEST_F(HistorySafetyTest, MinutesWaitingForAFolderThatCannotBeWrittenAreBounded) {
    files.readOnlyFolders.insert(kDir);
    History history(History::kKeptMinutes, 60);
    history.open(files, kDir, kNow);
    const int32_t count = 3000;
    for (int32_t m = 0; m <= count; ++m) sample(history, kNowMinute + m);
    EXPECT_FALSE(history.saved());
    files.readOnlyFolders.clear();
    sample(history, kNowMinute + count + 1);
    std::vector<MinuteRecord> written = recordsOf();
    // A day of minutes waited, the newest: those the file can still take as minutes and more.
    ASSERT_EQ(written.size(), 1440u);
    EXPECT_EQ(written.front().minute, kNowMinute + count + 1 - 1440);
    EXPECT_EQ(written.back().minute, kNowMinute + count);
}

TEST_F(HistorySafetyTest, AMinuteFromTheFutureFoldsNoMinuteOfThePresent) {
    // One minute recorded with the clock a year ahead, then the clock put right.
    std::string text = kHeader + lines(kNowMinute - 2000, 2000) + line(kNowMinute + 525600);
    files.put(kPath, text);
    History history;
    history.open(files, kDir, kNow);
    for (int m = 0; m <= 120; ++m) sample(history, kNowMinute + m);
    history.close(files);
    History next;
    next.open(files, kDir, timeOf(kNowMinute + 121));
    EXPECT_EQ(next.records().size(), 2000u + 121 + 1);
    EXPECT_EQ(recordsOf().size(), 2000u + 121 + 1);
    EXPECT_FALSE(files.exists(kHours));

    // Minutes older than the span before the present still go into their hours.
    sample(next, kNowMinute + 31 * 1440 + 1000);
    sample(next, kNowMinute + 31 * 1440 + 1001);
    next.load(files, std::numeric_limits<int32_t>::min());
    EXPECT_EQ(next.hours().size(), 37u);
    EXPECT_EQ(next.records().front().minute, kNowMinute + 31 * 1440 + 1000);
}

TEST_F(HistorySafetyTest, TheCopyOfTheUsersLinesIsOnTheDiskBeforeTheFileIsRewritten) {
    std::string edited = kHeader + line(kNowMinute - 3) + "une note;de l'utilisateur\r\n";
    files.put(kPath, edited);
    files.unflushed.clear();
    History history;
    history.open(files, kDir, kNow);
    ASSERT_EQ(file(), kHeader + line(kNowMinute - 3));
    files.powerCut();
    EXPECT_EQ(file(kBak), edited);
    EXPECT_EQ(file(), kHeader + line(kNowMinute - 3));
}

TEST_F(HistorySafetyTest, AFailedRewriteIsTriedAgainAnHourLaterNotAtEveryMinute) {
    // Out of order: the file is to be rewritten, and cannot be.
    files.put(kPath, kHeader + line(kNowMinute - 2) + line(kNowMinute - 3));
    files.unreplaceable.insert(kPath);
    History history;
    history.open(files, kDir, kNow);
    EXPECT_EQ(files.replaceCalls, 1);
    for (int m = 0; m < 60; ++m) sample(history, kNowMinute + m);
    EXPECT_EQ(files.replaceCalls, 1);
    sample(history, kNowMinute + 60);
    sample(history, kNowMinute + 61);
    EXPECT_EQ(files.replaceCalls, 2);
    files.unreplaceable.clear();
    for (int m = 62; m < 122; ++m) sample(history, kNowMinute + m);
    sample(history, kNowMinute + 122);
    EXPECT_EQ(files.replaceCalls, 3);
    EXPECT_EQ(file(),
              kHeader + line(kNowMinute - 3) + line(kNowMinute - 2) + lines(kNowMinute, 122));
}

TEST_F(HistorySafetyTest, AStartUpReadThatFailsOnceIsTriedAgainLaterInTheRun) {
    files.put(kPath, kHeader + lines(kNowMinute - 10, 5));
    files.unreadableFiles.insert(kPath);  // an antivirus holds it for a moment
    History history;
    history.open(files, kDir, kNow);
    EXPECT_FALSE(history.previousRead());
    files.unreadableFiles.clear();
    for (int m = 0; m <= 3; ++m) sample(history, kNowMinute + m);
    EXPECT_TRUE(history.previousRead());
    EXPECT_EQ(history.records().size(), 5u + 3);
    EXPECT_EQ(historyNotice(history), "");
    EXPECT_EQ(file(), kHeader + lines(kNowMinute - 10, 5) + lines(kNowMinute, 3));
}

TEST_F(HistorySafetyTest, ANewHistoryAskedForWhileTheFileIsHeldBeginsAtTheNextStart) {
    const std::string hours =
        std::string(kHourHeader) + "\r\n" + formatRecord(at(hourOf(kNowMinute - 3000)));
    files.put(kHours, hours);
    files.put(kPath, kHeader + lines(kNowMinute - 10, 5));
    History history;
    history.open(files, kDir, kNow);
    sample(history, kNowMinute);
    sample(history, kNowMinute + 1);
    files.lockedFiles.insert(kPath);  // a spreadsheet holds it past the end of the run
    sample(history, kNowMinute + 2);
    history.startNew(files);
    sample(history, kNowMinute + 5);
    sample(history, kNowMinute + 6);
    history.close(files);

    // Still held at the next start: the new history goes on, the old one stays out of it.
    History held;
    held.open(files, kDir, timeOf(kNowMinute + 10));
    EXPECT_EQ(held.records(), (std::vector<MinuteRecord>{at(kNowMinute + 5), at(kNowMinute + 6)}));
    sample(held, kNowMinute + 10);
    held.close(files);

    files.lockedFiles.clear();
    History released;
    released.open(files, kDir, timeOf(kNowMinute + 20));
    EXPECT_EQ(file(kOld), kHeader + lines(kNowMinute - 10, 5) + lines(kNowMinute, 3));
    EXPECT_EQ(file(kHoursOld), hours);
    EXPECT_EQ(file(),
              kHeader + line(kNowMinute + 5) + line(kNowMinute + 6) + line(kNowMinute + 10));
    EXPECT_FALSE(files.exists(kHours));
    EXPECT_FALSE(files.exists(kWaiting));
    EXPECT_TRUE(released.saved());
    EXPECT_EQ(released.records().size(), 3u);
}

TEST_F(HistorySafetyTest, ANewHistoryBegunOnAFullDiskKeepsTheOldHistorysLastMinutes) {
    History history;
    history.open(files, kDir, kNow);
    sample(history, kNowMinute);
    sample(history, kNowMinute + 1);
    files.freeBytes = 20;  // the disk fills within the next line
    sample(history, kNowMinute + 2);
    history.startNew(files);
    files.freeBytes.reset();
    sample(history, kNowMinute + 5);
    sample(history, kNowMinute + 6);
    EXPECT_EQ(recordsOf(kOld),
              (std::vector<MinuteRecord>{at(kNowMinute), at(kNowMinute + 1), at(kNowMinute + 2)}));
    EXPECT_EQ(recordsOf(), std::vector<MinuteRecord>{at(kNowMinute + 5)});
    EXPECT_TRUE(history.saved());
}

TEST_F(HistorySafetyTest, ALineTheUserLeftWithoutALineEndStaysALineOfItsOwn) {
    files.put(kPath, kHeader + lines(kNowMinute - 10, 2));
    History history;
    history.open(files, kDir, kNow);
    sample(history, kNowMinute);
    sample(history, kNowMinute + 1);
    files.put(kPath, file() + "relancé le serveur");  // typed without a final Enter
    sample(history, kNowMinute + 2);
    EXPECT_EQ(file(), kHeader + lines(kNowMinute - 10, 2) + line(kNowMinute) +
                          "relancé le serveur\r\n" + line(kNowMinute + 1));
}

TEST_F(HistorySafetyTest, MinutesWaitingThatAStartCouldNotReadStayOutOfANewHistory) {
    files.put(kPath, kHeader + lines(kNowMinute - 10, 5));
    files.put(kWaiting, kHeader + lines(kNowMinute - 5, 2));  // an earlier run's last minutes
    files.unreadableFiles.insert(kWaiting);                   // an antivirus holds it for a moment
    History history;
    history.open(files, kDir, kNow);
    files.unreadableFiles.clear();
    history.startNew(files);
    sample(history, kNowMinute + 1);
    sample(history, kNowMinute + 2);
    history.close(files);
    History next;
    next.open(files, kDir, timeOf(kNowMinute + 10));
    EXPECT_EQ(next.records(), (std::vector<MinuteRecord>{at(kNowMinute + 1), at(kNowMinute + 2)}));
    EXPECT_EQ(file(), kHeader + line(kNowMinute + 1) + line(kNowMinute + 2));
    EXPECT_EQ(file(kOld), kHeader + lines(kNowMinute - 10, 7));
    EXPECT_FALSE(files.exists(kWaiting));
}

TEST_F(HistorySafetyTest, MinutesWaitingThatAReadSaidWereGoneAreNotWrittenOver) {
    files.put(kPath, kHeader + lines(kNowMinute - 10, 5));
    files.put(kWaiting, kHeader + lines(kNowMinute - 5, 2));  // an earlier run's last minutes
    files.unreadableFiles.insert(kWaiting);  // a read says it is not there, for a moment
    files.unreadableError = kErrFileNotFound;
    files.lockedFiles.insert(kPath);  // and a spreadsheet holds the history past the exit
    History history;
    history.open(files, kDir, kNow);
    sample(history, kNowMinute);
    sample(history, kNowMinute + 1);
    files.unreadableFiles.clear();
    history.close(files);
    files.lockedFiles.clear();
    History next;
    next.open(files, kDir, timeOf(kNowMinute + 10));
    std::vector<MinuteRecord> expected;
    for (int32_t m = kNowMinute - 10; m <= kNowMinute + 1; ++m) {
        if (m < kNowMinute - 3 || m >= kNowMinute) expected.push_back(at(m));
    }
    EXPECT_EQ(next.records(), expected);
}

TEST(HistorySafety, ANewHistoryAStartCouldNotSeeStaysOutOfTheNextNewHistory) {
    // The start's read of an earlier run's new history fails, or says it is not there, up to
    // the new history asked for or for a moment only.
    for (auto [error, untilNew] :
         {std::pair{kErrPermissionDenied, false}, std::pair{kErrFileNotFound, false},
          std::pair{kErrFileNotFound, true}}) {
        SCOPED_TRACE(testing::Message() << error << (untilNew ? " up to the new history" : ""));
        fake::FakeFiles files;
        auto text = [&](const char* path) { return files.contents(path).value_or("<none>"); };
        files.put(kPath, kHeader + lines(kNowMinute - 10, 5));
        files.put(kNew, kHeader + lines(kNowMinute - 4, 2));  // its files were held then
        files.unreadableFiles.insert(kNew);
        files.unreadableError = error;
        History history;
        history.open(files, kDir, kNow);  // it goes on with the old files
        if (!untilNew) files.unreadableFiles.clear();
        history.addSample(files, {kNowMinute, 1536, 812, kUnknownMo});
        history.addSample(files, {kNowMinute + 1, 1536, 812, kUnknownMo});
        files.lockedFiles.insert(kPath);  // the user asks for a new history while it is held
        history.startNew(files);
        files.unreadableFiles.clear();
        history.addSample(files, {kNowMinute + 5, 1536, 812, kUnknownMo});
        history.addSample(files, {kNowMinute + 6, 1536, 812, kUnknownMo});
        history.close(files);
        files.lockedFiles.clear();
        History next;
        next.open(files, kDir, timeOf(kNowMinute + 10));
        // The earlier run's lines went with the old history, which the user let go of.
        EXPECT_EQ(next.records(),
                  (std::vector<MinuteRecord>{at(kNowMinute + 5), at(kNowMinute + 6)}));
        EXPECT_EQ(text(kPath), kHeader + line(kNowMinute + 5) + line(kNowMinute + 6));
        EXPECT_EQ(text(kOld), kHeader + lines(kNowMinute - 10, 5) + lines(kNowMinute, 2) +
                                  lines(kNowMinute - 4, 2));
        EXPECT_FALSE(files.exists(kNew));
        EXPECT_FALSE(files.exists(kWaiting));
    }
}

}  // namespace
}  // namespace corvane
