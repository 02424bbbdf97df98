// system.ini's paging settings: how lines and keys are read, how the sizes convert, what is
// logged, and where the swap file then is.
#include "probes/system_ini.h"

#include "harness.h"
#include "probes/windows_version.h"

namespace corvane::testing {
namespace {

using fake::osVersion;

TEST(SplitLines, AtCrLfCrOrLfWithTheLastLineEvenWithoutItsEnd) {
    using Lines = std::vector<std::string>;
    EXPECT_EQ(splitLines(""), Lines{});
    EXPECT_EQ(splitLines("a"), Lines{"a"});
    EXPECT_EQ(splitLines("a\r\n"), Lines{"a"});
    EXPECT_EQ(splitLines("a\r\nb\rc\nd"), (Lines{"a", "b", "c", "d"}));
    EXPECT_EQ(splitLines("a\n\r b"), (Lines{"a", "", " b"}));  // LF CR is two line ends
    EXPECT_EQ(splitLines("\r\n\r\n"), (Lines{"", ""}));
    EXPECT_EQ(splitLines("a\r"), Lines{"a"});
    EXPECT_EQ(splitLines(std::string("x\0y\n", 4)), Lines{std::string("x\0y", 3)});
}

TEST(ReadSystemIni, KeysCountOnlyAtTheStartOfALineInTheirExactCase) {
    SystemIniValues v = readSystemIni(
        "[386Enh]\r\n"
        ";PagingDrive=D:\r\n"
        " PagingDrive=E:\r\n"
        "pagingdrive=F:\r\n"
        "PAGINGDRIVE=G:\r\n"
        "minpagingfilesize=4096\r\n"
        "#MaxPagingFileSize=4096\r\n");
    EXPECT_EQ(v.pagingDirectory, "");
    EXPECT_EQ(v.minPagingSize, 0);
    EXPECT_EQ(v.maxPagingSize, 0);
    EXPECT_EQ(v.lines.size(), 7u);
    EXPECT_EQ(v.lines[1], ";PagingDrive=D:");
}

TEST(ReadSystemIni, KeysOnTheLastLineWithoutALineEndStillCount) {
    EXPECT_EQ(readSystemIni("[386Enh]\r\nPagingDrive=C:").pagingDirectory, "C:");
    EXPECT_EQ(readSystemIni("[386Enh]\nMinPagingFileSize=2048").minPagingSize, 2);
    EXPECT_EQ(readSystemIni("[386Enh]\rMaxPagingFileSize=2048").maxPagingSize, 2.0);
    EXPECT_EQ(readSystemIni("MaxPagingFileSize=3072").maxPagingSize, 3.0);
}

TEST(ReadSystemIni, TheLastOfRepeatedKeysWinsAndValuesAreNotTrimmed) {
    SystemIniValues v = readSystemIni(
        "PagingDrive=C:\r\nPagingDrive=D: \r\n"
        "MinPagingFileSize=1024\r\nMinPagingFileSize=10240\r\n"
        "MaxPagingFileSize=10240\nMaxPagingFileSize=20480\n");
    EXPECT_EQ(v.pagingDirectory, "D: ");
    EXPECT_EQ(v.minPagingSize, 10);
    EXPECT_EQ(v.maxPagingSize, 20);
    EXPECT_EQ(readSystemIni("PagingDrive=C:\nPagingDrive=").pagingDirectory, "");
}

TEST(ReadSystemIni, MinimumRoundsAfterDividingAndMaximumBefore) {
    auto min = [](const std::string& value) {
        return readSystemIni("MinPagingFileSize=" + value).minPagingSize;
    };
    auto max = [](const std::string& value) {
        return readSystemIni("MaxPagingFileSize=" + value).maxPagingSize;
    };
    EXPECT_EQ(min("1536"), 2);  // 1.5 to even
    EXPECT_EQ(max("1536"), 1.5);
    EXPECT_EQ(min("2560"), 2);  // 2.5 to even
    EXPECT_EQ(min("3584"), 4);  // 3.5 to even
    EXPECT_EQ(min("1537"), 2);
    EXPECT_EQ(min("100000"), 98);
    EXPECT_EQ(max("100000"), 97.65625);
    EXPECT_EQ(max("1536.5"), 1.5);  // 1536.5 rounds to 1536 first
    EXPECT_EQ(max("1537.5"), 1538 / 1024.0);
    EXPECT_EQ(min(" 2048 "), 2);  // blanks around the digits
    EXPECT_EQ(max("\t2048"), 2.0);
    EXPECT_EQ(min("-1536"), -2);
    EXPECT_EQ(min("&H800"), 2);
    // The minimum overflows only when its quotient does, the maximum when its kilobytes do.
    EXPECT_EQ(min("2147483648"), 2097152);
    EXPECT_EQ(max("2147483647"), 2147483647 / 1024.0);
}

TEST(ReadSystemIni, BadOrOverflowingNumbersLeaveTheSizeAsItWas) {
    for (const char* bad :
         {"", " ", "abc", "12 Mo", "1,5", "--1", "1e400", "99999999999999999999999"}) {
        SCOPED_TRACE(bad);
        EXPECT_EQ(readSystemIni(std::string("MinPagingFileSize=") + bad).minPagingSize, 0);
        EXPECT_EQ(readSystemIni(std::string("MaxPagingFileSize=") + bad).maxPagingSize, 0);
        SystemIniValues kept = readSystemIni(
            std::string("MinPagingFileSize=4096\nMaxPagingFileSize=8192\nMinPagingFileSize=") +
            bad + "\nMaxPagingFileSize=" + bad);
        EXPECT_EQ(kept.minPagingSize, 4);
        EXPECT_EQ(kept.maxPagingSize, 8);
    }
    EXPECT_EQ(readSystemIni("MaxPagingFileSize=2147483648").maxPagingSize, 0);
    EXPECT_EQ(readSystemIni("MaxPagingFileSize=-2147483649").maxPagingSize, 0);
    EXPECT_EQ(readSystemIni("MinPagingFileSize=2199023255552").minPagingSize, 0);  // 2^41
    EXPECT_EQ(readSystemIni("MinPagingFileSize=-2199023256576").minPagingSize, 0);
}

class SystemIniTest : public MonitorTest {
protected:
    void writeSystemIni(const std::string& bytes) {
        fake.files.put("C:\\WINDOWS\\system.ini", bytes);
    }
    std::vector<std::string>& list2() { return fake.db.lists[DbList::List2]; }
};

TEST_F(SystemIniTest, LogsTheThreeValuesItRead) {
    writeSystemIni(
        "[boot]\r\nshell=Explorer.exe\r\n[386Enh]\r\nPagingDrive=C:\r\n"
        "MinPagingFileSize=1536\r\nMaxPagingFileSize=1536\r\n");
    SystemIni(window.context());
    const MainState& s = window.state();
    EXPECT_EQ(s.windowsDirectory, "C:\\WINDOWS");
    EXPECT_EQ(s.pagingDirectory, "C:");
    EXPECT_EQ(s.minPagingSize, 2);
    EXPECT_EQ(s.maxPagingSize, 1.5);
    EXPECT_TRUE(fake.db.loaded);
    EXPECT_EQ(list2(), (std::vector<std::string>{"PagingDrive : C:", "MinPagingSize : 2",
                                                 "MaxPagingFileSize : 1.5"}));
}

TEST_F(SystemIniTest, ShowsTheMaximumsFractionWithAPointWhateverTheLocale) {
    fake.system.decimal = ",";
    writeSystemIni("MinPagingFileSize=100000\r\nMaxPagingFileSize=100000\r\n");
    SystemIni(window.context());
    EXPECT_EQ(list2(), (std::vector<std::string>{"PagingDrive : ", "MinPagingSize : 98",
                                                 "MaxPagingFileSize : 97.65625"}));
}

TEST_F(SystemIniTest, AnEmptyFileStillLogsTheThreeLines) {
    window.context().state.minPagingSize = 7;
    window.context().state.maxPagingSize = 7.5;
    writeSystemIni("");
    SystemIni(window.context());
    EXPECT_EQ(window.state().pagingDirectory, "");
    EXPECT_EQ(window.state().minPagingSize, 0);
    EXPECT_EQ(window.state().maxPagingSize, 0);
    EXPECT_EQ(list2(), (std::vector<std::string>{"PagingDrive : ", "MinPagingSize : 0",
                                                 "MaxPagingFileSize : 0"}));
}

TEST_F(SystemIniTest, AMissingFileLogsTheOpenErrorAndNothingElse) {
    window.context().state.minPagingSize = 7;
    window.context().state.maxPagingSize = 7.5;
    SystemIni(window.context());
    EXPECT_EQ(list2(), std::vector<std::string>{"Open C:\\WINDOWS\\system.ini erreur : 53"});
    EXPECT_EQ(window.state().pagingDirectory, "");
    EXPECT_EQ(window.state().minPagingSize, 0);
    EXPECT_EQ(window.state().maxPagingSize, 0);
}

TEST_F(SystemIniTest, TheWindowsDirectoryIsTakenWholeWithoutATrailingBackslash) {
    // Longer than the 255 characters of a fixed buffer.
    std::string longFolder = "D:";
    for (int i = 0; i < 20; ++i) longFolder += "\\Dossier Windows " + std::to_string(i);
    ASSERT_GT(longFolder.size(), 300u);
    fake.system.windowsDir = longFolder;
    fake.files.put(longFolder + "\\system.ini", "PagingDrive=D:");
    SystemIni(window.context());
    EXPECT_EQ(window.state().windowsDirectory, longFolder);
    EXPECT_EQ(window.state().pagingDirectory, "D:");

    fake::FakePlatform root;
    root.system.windowsDir = "E:\\";
    MainWindow other(root.platform);
    SystemIni(other.context());
    EXPECT_EQ(other.state().windowsDirectory, "E:");
    EXPECT_EQ(root.db.lists[DbList::List2],
              std::vector<std::string>{"Open E:\\system.ini erreur : 53"});
}

TEST_F(SystemIniTest, ThePagingDriveIsReadInTheAnsiCodePage) {
    writeSystemIni(
        "PagingDrive=D:\\Donn\xE9"
        "es\r\n");
    SystemIni(window.context());
    EXPECT_EQ(window.state().pagingDirectory, "D:\\Données");
    EXPECT_EQ(list2()[0], "PagingDrive : D:\\Données");
}

TEST_F(SystemIniTest, APagingDriveOn9xMakesTheSwapPathWithoutTheRegistry) {
    fake.system.version = osVersion(1, 4, 10, 67766446, " A ", 0);
    fake.system.acceptsExtendedRecord = false;
    writeSystemIni("[386Enh]\r\nPagingDrive=C:\r\nMinPagingFileSize=1536\r\n");
    fake.files.resize("C:\\win386.swp", 64 * kMiB);
    window.onLoad();
    ASSERT_FALSE(window.ended());
    EXPECT_EQ(window.state().swapPath, "C:\\win386.swp");
    EXPECT_EQ(fake.registry.queries, 0);
    EXPECT_EQ(label(Control::Label1), "Analyse du fichier SWAP (C:\\win386.swp) depuis :");
    EXPECT_EQ(label(Control::Windows), "WINDOWS 98 SE (4.10.2222  A ) PT : 0 ???");
    EXPECT_EQ(label(Control::swap), "SWAP: 64 Mo  Mini: 64 Mo  Maxi: 64 Mo  Moy: 64 Mo");
    EXPECT_EQ(list2(), (std::vector<std::string>{"Product Type : 0", "PagingDrive : C:",
                                                 "MinPagingSize : 2", "MaxPagingFileSize : 0"}));
}

TEST_F(SystemIniTest, WithoutAPagingDriveStartUpAsksTheRegistry) {
    setSwapMiB(50);
    writeSystemIni("[386Enh]\r\n");
    window.onLoad();
    EXPECT_EQ(window.state().swapPath, "C:\\pagefile.sys");
    EXPECT_EQ(fake.registry.queries, 1);
}

}  // namespace
}  // namespace corvane::testing
