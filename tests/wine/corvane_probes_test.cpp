// What the probes show of the system: the Windows version under every version Wine can
// report, the processor, and system.ini's paging settings on the 9x family.
#include <cstring>

#include "corvane_fixture.h"

namespace corvane::wine {
namespace {

constexpr const char* kWineKey = "Software\\Wine";
constexpr const char* kSystemIni = "C:\\windows\\system.ini";
constexpr const char* kSwap9x = "C:\\win386.swp";

// Which Windows Wine reports to the programs it starts from now on; empty for its default.
class ReportedVersion {
public:
    ReportedVersion() : saved_(readString(HKEY_CURRENT_USER, kWineKey, "Version", &hadOne_)) {}
    ~ReportedVersion() {
        if (hadOne_) {
            setString(HKEY_CURRENT_USER, kWineKey, "Version", saved_);
        } else {
            deleteValue(HKEY_CURRENT_USER, kWineKey, "Version");
        }
    }
    void set(const std::string& version) {
        if (version.empty()) {
            deleteValue(HKEY_CURRENT_USER, kWineKey, "Version");
        } else {
            setString(HKEY_CURRENT_USER, kWineKey, "Version", version);
        }
    }

private:
    bool hadOne_ = false;
    std::string saved_;
};

class ProbesTest : public CorvaneTest {
protected:
    // The lines of the scratch window's List2, shown with "d".
    std::vector<std::string> diagnosticLines() {
        main.postChar(L'd');
        const Window db = waitWindow(corvane->id(), kDbClass);
        return db.control(kList2).listItems();
    }

    // On an x86 machine a 32-bit program reads the processor type 586, a 64-bit one 8664,
    // which the label's table does not name. The program under test may be of either kind
    // (the 32-bit one is driven by the x86-64 suite where it runs only under emulation).
    std::string expectedProcessor() {
        SYSTEM_INFO info{};
        GetSystemInfo(&info);
        const DWORD expectedType =
            sizeof(void*) == 8 ? DWORD(PROCESSOR_AMD_X8664) : DWORD(PROCESSOR_INTEL_PENTIUM);
        EXPECT_EQ(info.dwProcessorType, expectedType) << "not an x86 machine";
        return std::to_string(info.dwNumberOfProcessors) + " CPU" +
               (corvaneIs64Bit() ? " (inconnu)" : " 586");
    }

    // The machine field of the program's PE header.
    static bool corvaneIs64Bit() {
        const std::string bytes = readFile(corvaneExe());
        if (bytes.size() < 0x40) throw DriverError("not a program: " + corvaneExe());
        uint32_t header = 0;
        std::memcpy(&header, bytes.data() + 0x3C, sizeof header);
        if (bytes.size() < size_t(header) + 6 || bytes.compare(header, 4, std::string("PE\0\0", 4)))
            throw DriverError("no PE header in " + corvaneExe());
        uint16_t machine = 0;
        std::memcpy(&machine, bytes.data() + header + 4, sizeof machine);
        return machine == IMAGE_FILE_MACHINE_AMD64;
    }

    ReportedVersion version;
};

struct VersionCase {
    const char* wineVersion;  // "" for the prefix's default
    const char* text;
    int productType;
};

void PrintTo(const VersionCase& c, std::ostream* out) {
    *out << (*c.wineVersion ? c.wineVersion : "default");
}

class WindowsVersionTest : public ProbesTest, public ::testing::WithParamInterface<VersionCase> {};

// The records Wine 8 gives a program with Corvane's manifest, named by the version algorithm.
INSTANTIATE_TEST_SUITE_P(
    Wine, WindowsVersionTest,
    ::testing::Values(VersionCase{"win95", "WINDOWS 95 (4.0.950 ) PT : 0 ???", 0},
                      VersionCase{"win98", "WINDOWS 98 SE (4.10.2222  A ) PT : 0 ???", 0},
                      VersionCase{"winme", "WINDOWS ME (4.90.3000  ) PT : 0 ???", 0},
                      VersionCase{"nt40", "WINDOWS NT (4.0.1381 Service Pack 6a) WS ???", 1},
                      VersionCase{"win2k", "WINDOWS 2000 (5.0.2195 Service Pack 4) WS ???", 1},
                      VersionCase{"winxp", "WINDOWS XP (5.1.2600 Service Pack 3) WS ???", 1},
                      VersionCase{"win2003", "WINDOWS 2003 (5.2.3790 Service Pack 2) SRV ???", 3},
                      VersionCase{"vista", "WINDOWS LongHorn (6.0.6002 Service Pack 2) WS ???", 1},
                      VersionCase{"win10", "WINDOWS NT Inconnu (10.0.18362 ) WS ???", 1},
                      VersionCase{"", "WINDOWS LongHorn (6.1.7601 Service Pack 1) WS ???", 1}),
    [](const ::testing::TestParamInfo<VersionCase>& info) {
        return std::string(*info.param.wineVersion ? info.param.wineVersion : "default");
    });

TEST_P(WindowsVersionTest, LabelsAndDiagnosticsNameTheSystem) {
    version.set(GetParam().wineVersion);
    launch();
    EXPECT_EQ(main.controlText(kWindows), GetParam().text);
    EXPECT_EQ(main.controlText(kProcesseur), expectedProcessor());
    const std::vector<std::string> expected = {
        "Product Type : " + std::to_string(GetParam().productType),
        "PagingDrive : ", "MinPagingSize : 0", "MaxPagingFileSize : 0"};
    EXPECT_EQ(diagnosticLines(), expected);
    // Whatever the family, the paging file is the one the registry names.
    EXPECT_EQ(main.controlText(kLabel1), "Analyse du fichier SWAP (C:\\pagefile.sys) depuis :");
    EXPECT_EQ(main.controlText(kSwap), "SWAP: 50 Mo  Mini: 50 Mo  Maxi: 50 Mo  Moy: 50 Mo");
}

class SystemIniTest : public ProbesTest {
protected:
    void SetUp() override {
        ProbesTest::SetUp();
        original = readFile(kSystemIni);
    }
    void TearDown() override {
        ProbesTest::TearDown();
        if (corvane) corvane->kill();
        writeFile(kSystemIni, original);
        DeleteFileA(kSwap9x);
    }

    std::string original;
};

TEST_F(SystemIniTest, PagingDriveOnWindows98SamplesWin386SwpWithTheConfiguredSizes) {
    version.set("win98");
    writeFile(kSystemIni, original +
                              "[386Enh]\r\nPagingDrive=C:\r\nMinPagingFileSize=1536\r\n"
                              "MaxPagingFileSize=1536\r\n");
    setFileSize(kSwap9x, 20 * kMiB);
    launch();
    EXPECT_EQ(main.controlText(kLabel1), "Analyse du fichier SWAP (C:\\win386.swp) depuis :");
    EXPECT_EQ(main.controlText(kSwap), "SWAP: 20 Mo  Mini: 20 Mo  Maxi: 20 Mo  Moy: 20 Mo");
    setFileSize(kSwap9x, 30 * kMiB);
    tickUntilSwapReads("SWAP: 30 Mo  Mini: 20 Mo  Maxi: 30 Mo  Moy: 25 Mo");
    const std::vector<std::string> expected = {
        "Product Type : 0", "PagingDrive : C:", "MinPagingSize : 2", "MaxPagingFileSize : 1.5"};
    EXPECT_EQ(diagnosticLines(), expected);
    shot("system-ini-win98");

    // The sizes are remembered, and the same configuration at the next start is no change,
    // a maximum of 1.5 Mo included.
    main.postChar(L'j');
    main.postChar(27);
    ASSERT_TRUE(corvane->waitExit()) << openWindows();
    EXPECT_EQ(readString(HKEY_CURRENT_USER, kSettingsSectionKey, "MemoSwap"), kSwap9x);
    EXPECT_EQ(readString(HKEY_CURRENT_USER, kSettingsSectionKey, "MemoMinPaging"), "2");
    EXPECT_EQ(readString(HKEY_CURRENT_USER, kSettingsSectionKey, "MemoMaxPaging"), "2");
    launch();
    EXPECT_TRUE(messageBoxes(corvane->id()).empty());
    EXPECT_EQ(main.controlText(kSwap), "SWAP: 30 Mo  Mini: 20 Mo  Maxi: 30 Mo  Moy: 27 Mo");
}

}  // namespace
}  // namespace corvane::wine
