// Naming the Windows version: every family, the service-pack text, the product type, the
// basic-record fallback, and the versions Wine can pretend to be.
#include "probes/windows_version.h"

#include "harness.h"

namespace corvane::testing {
namespace {

using fake::osVersion;

struct Row {
    OsVersionRecord record;
    const char* text;
    const char* swapFileName;  // "" : left unchanged
};

TEST(DescribeVersion, EveryFamilyAndVersionOfTheTable) {
    const Row rows[] = {
        {osVersion(0, 3, 10, 0, "", 0), "WINDOWS 32s (3.10.0 ) PT : 0 ???", ""},
        // 9x build numbers carry the version in their high word.
        {osVersion(1, 4, 0, 67109814, "", 0), "WINDOWS 95 (4.0.950 ) PT : 0 ???", "win386.swp"},
        {osVersion(1, 4, 0, 67109975, " B", 0), "WINDOWS 95 OSR 2 (4.0.1111  B) PT : 0 ???",
         "win386.swp"},
        {osVersion(1, 4, 0, 950 + 65536, "", 0), "WINDOWS 95 (4.0.950 ) PT : 0 ???", "win386.swp"},
        {osVersion(1, 4, 10, 67766446, " A ", 0), "WINDOWS 98 SE (4.10.2222  A ) PT : 0 ???",
         "win386.swp"},
        {osVersion(1, 4, 10, 67766222, "", 0), "WINDOWS 98 (4.10.1998 ) PT : 0 ???", "win386.swp"},
        {osVersion(1, 4, 90, 73010104, " ", 0), "WINDOWS ME (4.90.3000  ) PT : 0 ???",
         "win386.swp"},
        {osVersion(1, 4, 50, 1, "", 0), "WINDOWS Inconnu (4.50.1 ) PT : 0 ???", "win386.swp"},
        // On the 9x family the major version says nothing.
        {osVersion(1, 7, 10, 2222, "", 0), "WINDOWS 98 SE (7.10.2222 ) PT : 0 ???", "win386.swp"},
        {osVersion(2, 4, 0, 1381, "Service Pack 6a", 1),
         "WINDOWS NT (4.0.1381 Service Pack 6a) WS ???", "PAGEFILE.SYS"},
        {osVersion(2, 5, 0, 2195, "", 3), "WINDOWS 2000 (5.0.2195 ) SRV ???", "PAGEFILE.SYS"},
        {osVersion(2, 5, 0, 2031, "", 1), "WINDOWS 2000 (beta 3) (5.0.2031 ) WS ???",
         "PAGEFILE.SYS"},
        // Only the whole build number 2031 is the beta, not one whose low word is 2031.
        {osVersion(2, 5, 0, 2031 + 65536, "", 1), "WINDOWS 2000 (5.0.2031 ) WS ???",
         "PAGEFILE.SYS"},
        {osVersion(2, 5, 1, 2600, "Service Pack 2", 1),
         "WINDOWS XP (5.1.2600 Service Pack 2) WS ???", "PAGEFILE.SYS"},
        {osVersion(2, 5, 2, 3790, "", 2), "WINDOWS 2003 (5.2.3790 ) DC ???", "PAGEFILE.SYS"},
        {osVersion(2, 5, 3, 1, "", 1), "WINDOWS NT Inconnu (5.3.1 ) WS ???", "PAGEFILE.SYS"},
        {osVersion(2, 6, 3, 9600, "", 1), "WINDOWS LongHorn (6.3.9600 ) WS ???", "PAGEFILE.SYS"},
        {osVersion(2, 10, 0, 19045, "", 1), "WINDOWS NT Inconnu (10.0.19045 ) WS ???",
         "PAGEFILE.SYS"},
        {osVersion(2, 3, 51, 1057, "Service Pack 5", 1),
         "WINDOWS NT Inconnu (3.51.1057 Service Pack 5) WS ???", "PAGEFILE.SYS"},
        {osVersion(3, 1, 0, 7, "", 0), "WINDOWS Inconnu (1.0.7 ) PT : 0 ???", ""},
    };
    for (const Row& row : rows) {
        VersionDescription description = describeVersion(row.record);
        EXPECT_EQ(description.text, row.text);
        EXPECT_EQ(description.swapFileName, row.swapFileName) << row.text;
    }
}

TEST(DescribeVersion, ProductTypeWords) {
    const std::pair<uint8_t, const char*> words[] = {
        {0, "PT : 0 ???"}, {1, "WS ???"},     {2, "DC ???"},
        {3, "SRV ???"},    {4, "PT : 4 ???"}, {255, "PT : 255 ???"},
    };
    for (auto [type, ending] : words) {
        EXPECT_EQ(describeVersion(osVersion(2, 5, 1, 2600, "", type)).text,
                  std::string("WINDOWS XP (5.1.2600 ) ") + ending);
    }
}

TEST(DescribeVersion, ServicePackTextStopsAtItsNulAndAFullFieldAddsNothing) {
    OsVersionRecord record = osVersion(2, 5, 1, 2600, "", 1);
    EXPECT_EQ(describeVersion(record).text, "WINDOWS XP (5.1.2600 ) WS ???");

    record.csdVersion.fill('x');
    record.csdVersion[127] = '\0';
    EXPECT_EQ(describeVersion(record).text,
              "WINDOWS XP (5.1.2600 " + std::string(127, 'x') + ") WS ???");

    record.csdVersion[127] = 'x';  // 128 bytes, no NUL
    EXPECT_EQ(describeVersion(record).text, "WINDOWS XP (5.1.2600) WS ???");

    record.csdVersion.fill('\0');
    std::copy_n("SP1\0junk", 8, record.csdVersion.begin());
    EXPECT_EQ(describeVersion(record).text, "WINDOWS XP (5.1.2600 SP1) WS ???");
}

TEST(BuildNumber, IsTheRemainderModulo65536WithTheBuildsSign) {
    EXPECT_EQ(buildNumberOf(67766446), 2222);
    EXPECT_EQ(buildNumberOf(67109814), 950);
    EXPECT_EQ(buildNumberOf(73010104), 3000);
    EXPECT_EQ(buildNumberOf(2600), 2600);
    EXPECT_EQ(buildNumberOf(65536), 0);
    EXPECT_EQ(buildNumberOf(0xFFFFFFFFu), -1);
    EXPECT_EQ(buildNumberOf(0x80000000u), 0);
    EXPECT_EQ(buildNumberOf(0x80000005u), -65531);
}

class PlateformeTest : public MonitorTest {
protected:
    std::vector<std::string>& list2() { return fake.db.lists[DbList::List2]; }
};

TEST_F(PlateformeTest, SetsTheStateAndLogsTheProductTypeIntoANewScratchList) {
    fake.system.version = osVersion(2, 5, 2, 3790, "Service Pack 2", 3);
    Plateforme(window.context());
    const MainState& s = window.state();
    EXPECT_EQ(s.versionText, "WINDOWS 2003 (5.2.3790 Service Pack 2) SRV ???");
    EXPECT_EQ(s.swapFileName, "PAGEFILE.SYS");
    EXPECT_EQ(s.buildNumber, 3790);
    EXPECT_EQ(s.versionRecord.major, 5u);
    EXPECT_EQ(s.versionRecord.size, OsVersionRecord::kExtendedSize);
    EXPECT_EQ(fake.system.versionCallSizes, std::vector<uint32_t>{156});
    EXPECT_TRUE(fake.db.loaded);
    EXPECT_FALSE(fake.db.shown);
    EXPECT_EQ(list2(), std::vector<std::string>{"Product Type : 3"});
}

TEST_F(PlateformeTest, ASystemThatRejectsTheExtendedRecordIsAskedForTheBasicOne) {
    fake.system.acceptsExtendedRecord = false;
    fake.system.version = osVersion(1, 4, 10, 67766446, " A ", 7);
    Plateforme(window.context());
    EXPECT_EQ(fake.system.versionCallSizes, (std::vector<uint32_t>{156, 148}));
    EXPECT_EQ(window.state().versionRecord.size, OsVersionRecord::kBasicSize);
    // The basic record has no product type: it stays 0.
    EXPECT_EQ(window.state().versionText, "WINDOWS 98 SE (4.10.2222  A ) PT : 0 ???");
    EXPECT_EQ(window.state().swapFileName, "win386.swp");
    EXPECT_EQ(list2(), std::vector<std::string>{"Product Type : 0"});

    fake::FakePlatform nt4;
    nt4.system.acceptsExtendedRecord = false;
    nt4.system.version = osVersion(2, 4, 0, 1381, "Service Pack 5", 1);
    MainWindow other(nt4.platform);
    Plateforme(other.context());
    EXPECT_EQ(other.state().versionText, "WINDOWS NT (4.0.1381 Service Pack 5) PT : 0 ???");
    EXPECT_EQ(other.state().swapFileName, "PAGEFILE.SYS");
}

TEST_F(PlateformeTest, AFamilyWithNoSwapFileNameKeepsTheNameItHad) {
    window.context().state.swapFileName = "earlier.swp";
    fake.system.version = osVersion(3, 1, 0, 7, "", 0);
    Plateforme(window.context());
    EXPECT_EQ(window.state().versionText, "WINDOWS Inconnu (1.0.7 ) PT : 0 ???");
    EXPECT_EQ(window.state().swapFileName, "earlier.swp");

    // A system that takes neither record leaves it as it was: all zero.
    fake::FakePlatform silent;
    silent.system.acceptsExtendedRecord = false;
    silent.system.acceptsBasicRecord = false;
    silent.system.version = osVersion(2, 5, 1, 2600, "", 1);
    MainWindow other(silent.platform);
    Plateforme(other.context());
    EXPECT_EQ(other.state().versionText, "WINDOWS 32s (0.0.0 ) PT : 0 ???");
    EXPECT_EQ(other.state().swapFileName, "");
}

TEST_F(PlateformeTest, ServicePackTextIsReadInTheAnsiCodePage) {
    fake.system.version = osVersion(2, 5, 1, 2600, "Mise \xE0 jour", 1);
    Plateforme(window.context());
    EXPECT_EQ(window.state().versionText, "WINDOWS XP (5.1.2600 Mise à jour) WS ???");
}

// What Wine reports for each of its version settings, as a 32-bit program sees it.
struct WineCase {
    const char* setting;
    OsVersionRecord record;
    const char* text;
    const char* productTypeLine;
    const char* swapFileName;
};

const WineCase kWineCases[] = {
    {"win95", osVersion(1, 4, 0, 67109814, "", 0), "WINDOWS 95 (4.0.950 ) PT : 0 ???",
     "Product Type : 0", "win386.swp"},
    {"win98", osVersion(1, 4, 10, 67766446, " A ", 0), "WINDOWS 98 SE (4.10.2222  A ) PT : 0 ???",
     "Product Type : 0", "win386.swp"},
    {"winme", osVersion(1, 4, 90, 73010104, " ", 0), "WINDOWS ME (4.90.3000  ) PT : 0 ???",
     "Product Type : 0", "win386.swp"},
    {"nt40", osVersion(2, 4, 0, 1381, "Service Pack 6a", 1),
     "WINDOWS NT (4.0.1381 Service Pack 6a) WS ???", "Product Type : 1", "PAGEFILE.SYS"},
    {"win2k", osVersion(2, 5, 0, 2195, "Service Pack 4", 1),
     "WINDOWS 2000 (5.0.2195 Service Pack 4) WS ???", "Product Type : 1", "PAGEFILE.SYS"},
    {"winxp", osVersion(2, 5, 1, 2600, "Service Pack 3", 1),
     "WINDOWS XP (5.1.2600 Service Pack 3) WS ???", "Product Type : 1", "PAGEFILE.SYS"},
    {"win2003", osVersion(2, 5, 2, 3790, "Service Pack 2", 3),
     "WINDOWS 2003 (5.2.3790 Service Pack 2) SRV ???", "Product Type : 3", "PAGEFILE.SYS"},
    {"vista", osVersion(2, 6, 0, 6002, "Service Pack 2", 1),
     "WINDOWS LongHorn (6.0.6002 Service Pack 2) WS ???", "Product Type : 1", "PAGEFILE.SYS"},
    {"win10", osVersion(2, 6, 2, 9200, "", 1), "WINDOWS LongHorn (6.2.9200 ) WS ???",
     "Product Type : 1", "PAGEFILE.SYS"},
    // With the program's manifest Wine stops hiding Windows 10; the table has no name for it.
    {"win10 + manifest", osVersion(2, 10, 0, 18362, "", 1),
     "WINDOWS NT Inconnu (10.0.18362 ) WS ???", "Product Type : 1", "PAGEFILE.SYS"},
    {"default", osVersion(2, 6, 1, 7601, "Service Pack 1", 1),
     "WINDOWS LongHorn (6.1.7601 Service Pack 1) WS ???", "Product Type : 1", "PAGEFILE.SYS"},
};

TEST(WineVersions, StartUpShowsTheVersionAndLogsTheProductType) {
    for (const WineCase& wine : kWineCases) {
        SCOPED_TRACE(wine.setting);
        fake::FakePlatform fake;
        fake.system.version = wine.record;
        fake.system.windowsDir = "C:\\windows";
        fake.files.put("C:\\windows\\system.ini", "[386Enh]\r\nwoafont=dosapp.fon\r\n");
        fake.files.resize("C:\\pagefile.sys", 1048576);
        fake.registry.set(RootKey::LocalMachine, kMemoryManagementKey, "PagingFiles", kRegSz,
                          std::string("C:\\pagefile.sys 27 77\0", 22));
        MainWindow window(fake.platform);
        window.onLoad();
        ASSERT_FALSE(window.ended());
        EXPECT_EQ(fake.view.texts[Control::Windows], wine.text);
        EXPECT_EQ(window.state().swapFileName, wine.swapFileName);
        EXPECT_EQ(fake.db.lists[DbList::List2],
                  (std::vector<std::string>{wine.productTypeLine, "PagingDrive : ",
                                            "MinPagingSize : 0", "MaxPagingFileSize : 0"}));
    }
}

}  // namespace
}  // namespace corvane::testing
