// The page file's advice: its rules over every dump setting and kind of configuration, the
// registry values it reads (missing, of the wrong type, out of range, garbled) and the window
// opened from the menu over a history.
#include "harness.h"
#include "history/history_csv.h"
#include "history/utc_minutes.h"
#include "memory/advice_report.h"
#include "probes/page_file_config.h"

namespace corvane::testing {
namespace {

constexpr uint64_t kGiB = 1024 * kMiB;
constexpr int64_t kRam = 8192;

PageFileSetting fixedFile(const std::string& path, int64_t initial, int64_t maximum) {
    PageFileSetting f;
    f.path = path;
    f.kind = PageFileKind::Fixed;
    f.initialMo = initial;
    f.maximumMo = maximum;
    return f;
}

PageFileSetting managedFile(uint64_t currentMiB, uint64_t freeGiB, uint64_t totalGiB) {
    PageFileSetting f;
    f.path = "C:\\pagefile.sys";
    f.currentBytes = currentMiB * kMiB;
    f.volume = VolumeSpace{freeGiB * kGiB, totalGiB * kGiB};
    return f;
}

struct Row {
    const char* name;
    AdviceInputs in;
    std::optional<int64_t> dump;
    bool estimated;
    std::optional<int64_t> initial, maximum;
    std::optional<int64_t> attainableMo;
    Verdict verdict;
    const char* verdictHas;  // a part of the verdict's words
};

AdviceInputs nt(std::optional<int64_t> peak, DumpKind dump, std::vector<PageFileSetting> files) {
    AdviceInputs in;
    in.ramMo = kRam;
    in.peakMo = peak;
    in.daysOfFigures = 30;
    in.dump.kind = dump;
    in.paging = {true, std::move(files)};
    return in;
}

std::vector<Row> rows() {
    std::vector<Row> r;
    // Kernel: ceil(8192 / 3) + 257 = 2988, an estimate; 1.25 x 12000 - 8192 = 6808 -> 6848;
    // 1.5 x 12000 - 8192 = 9808 -> 9856. The 2048 Mo file on C: cannot take the dump.
    r.push_back({"kernel dump larger than the fixed file",
                 nt(12000, DumpKind::Kernel, {fixedFile("C:\\pagefile.sys", 2048, 8192)}), 2988,
                 true, 6848, 9856, 16384, Verdict::TooSmall,
                 "vidage mémoire : il demande 2988 Mo"});
    // Complete: 8192 + 257 = 8449 -> 8512 for both; the 9000 Mo file holds 488 Mo for nothing.
    r.push_back({"complete dump, file larger than needed",
                 nt(6000, DumpKind::Complete, {fixedFile("C:\\pagefile.sys", 9000, 12000)}), 8449,
                 false, 8512, 8512, 20192, Verdict::TooLarge, "488 Mo de disque occupés"});
    r.push_back({"small dump with no page file", nt(4000, DumpKind::Small, {}), 1, false, 512, 512,
                 8192, Verdict::TooSmall, "ne peut pas être écrit"});
    r.push_back({"no dump, no page file, peak within the RAM", nt(4000, DumpKind::None, {}), 0,
                 false, 512, 512, 8192, Verdict::Enough, "sans fichier d'échange"});
    r.push_back({"no page file, peak past the RAM", nt(9000, DumpKind::None, {}), 0, false, 3072,
                 5312, 8192, Verdict::TooSmall, "aucun fichier d'échange"});
    // System-managed: max(3 x 8192, 4096) = 24576 within 256 Go / 8 and the free space.
    r.push_back({"automatic dump, system-managed file that can grow",
                 nt(20000, DumpKind::Automatic, {managedFile(2048, 100, 256)}), 2988, true, 16832,
                 21824, 32768, Verdict::Enough, "peut atteindre 24576 Mo"});
    {
        // A crash 10 days ago: the file keeps the RAM's size; the full volume caps it at 2048.
        AdviceInputs in = nt(20000, DumpKind::Automatic, {managedFile(1024, 1, 256)});
        in.dump.daysSinceCrash = 10;
        r.push_back({"recent crash, volume full", in, kRam, false, 16832, 21824, 10240,
                     Verdict::TooSmall, "un volume plein"});
    }
    {
        AdviceInputs in = nt(20000, DumpKind::Automatic, {managedFile(2048, 100, 256)});
        in.dump.daysSinceCrash = 28;  // four weeks past: back to the kernel's estimate
        r.push_back({"old crash", in, 2988, true, 16832, 21824, 32768, Verdict::Enough, ""});
    }
    {
        AdviceInputs in = nt(6000, DumpKind::Complete, {fixedFile("C:\\pagefile.sys", 1024, 2048)});
        in.dump.dedicatedFile = true;
        r.push_back({"dedicated dump file", in, 0, false, 512, 832, 10240, Verdict::TooLarge,
                     "512 Mo de disque occupés"});
    }
    // 1.5 x 6000 - 8192 = 808 -> 832; the 1024 Mo file holds 512 Mo more than the 512 needed.
    r.push_back({"dump setting unknown counts as nothing",
                 nt(6000, DumpKind::Unknown, {fixedFile("C:\\pagefile.sys", 1024, 2048)}),
                 std::nullopt, false, 512, 832, 10240, Verdict::TooLarge, ""});
    // 1.25 x 16000 - 8192 = 11808 -> 11840; 1.5 x 16000 - 8192 = 15808.
    r.push_back({"fixed file too small for the peak",
                 nt(16000, DumpKind::None, {fixedFile("C:\\pagefile.sys", 1024, 2048)}), 0, false,
                 11840, 15808, 10240, Verdict::TooSmall, "le pic de 16000 Mo demande 11808 Mo"});
    r.push_back(
        {"the dump needs the boot volume's file, not another's",
         nt(4000, DumpKind::Kernel,
            {fixedFile("D:\\pagefile.sys", 4096, 4096), fixedFile("C:\\pagefile.sys", 16, 16)}),
         2988, true, 2988 / 64 * 64 + 64, 2988 / 64 * 64 + 64, 12304, Verdict::TooSmall, "sur C:"});
    {
        AdviceInputs in;
        in.windows9x = true;
        in.peakMo = 300;
        in.daysOfFigures = 10;
        r.push_back({"9x, Windows sizes the file", in, 0, false, 512, 512, std::nullopt,
                     Verdict::Enough, "Windows en gère la taille"});
        in.peakMo = 1000;
        in.iniMinimumMo = 100;
        in.iniMaximumMo = 800;
        r.push_back({"9x, MaxPagingFileSize under the largest size", in, 0, false, 1024, 1536,
                     std::nullopt, Verdict::TooSmall, "MaxPagingFileSize (800 Mo)"});
    }
    // What is missing leaves figures unknown and no verdict, never a guess.
    r.push_back({"no commit ever recorded", nt(std::nullopt, DumpKind::None, {}), 0, false,
                 std::nullopt, std::nullopt, 8192, Verdict::Unknown, "Pas de verdict"});
    {
        AdviceInputs in = nt(6000, DumpKind::Kernel, {fixedFile("C:\\pagefile.sys", 1024, 2048)});
        in.ramMo.reset();
        r.push_back({"memory unknown (capped status)", in, std::nullopt, false, std::nullopt,
                     std::nullopt, std::nullopt, Verdict::Unknown, "Pas de verdict"});
    }
    {
        AdviceInputs in = nt(6000, DumpKind::None, {});
        in.paging.known = false;
        r.push_back({"PagingFiles unreadable", in, 0, false, 512, 832, std::nullopt,
                     Verdict::Unknown, "illisible"});
    }
    {
        PageFileSetting silent = managedFile(2048, 1, 1);
        silent.volume.reset();
        r.push_back({"a volume that does not answer", nt(6000, DumpKind::None, {silent}), 0, false,
                     512, 832, std::nullopt, Verdict::Unknown, "ne répond pas"});
    }
    return r;
}

TEST(PageFileAdvice, RulesOverEveryDumpSettingAndConfiguration) {
    for (const Row& row : rows()) {
        SCOPED_TRACE(row.name);
        Advice a = adviseFor(row.in);
        EXPECT_EQ(a.dumpMo, row.dump);
        EXPECT_EQ(a.dumpEstimated, row.estimated);
        EXPECT_EQ(a.initialMo, row.initial);
        EXPECT_EQ(a.maximumMo, row.maximum);
        std::optional<int64_t> attainable;
        if (a.attainableBytes) attainable = static_cast<int64_t>(*a.attainableBytes / kMiB);
        EXPECT_EQ(attainable, row.attainableMo);
        EXPECT_EQ(a.verdict, row.verdict) << a.verdictText;
        EXPECT_NE(a.verdictText.find(row.verdictHas), std::string::npos) << a.verdictText;
        EXPECT_FALSE(a.provisional);
        if (a.initialMo && a.maximumMo) {
            EXPECT_EQ(*a.initialMo % 64, 0);
            EXPECT_GE(*a.maximumMo, *a.initialMo);
        }
    }
}

TEST(PageFileAdvice, UnderAWeekOfFiguresTheAdviceIsProvisionalAndSaysWhatItLacks) {
    AdviceInputs in = nt(6000, DumpKind::Unknown, {});
    in.daysOfFigures = 2.7;
    Advice a = adviseFor(in);
    EXPECT_TRUE(a.provisional);
    EXPECT_EQ(a.provisionalText, "Conseil provisoire : il repose sur 2 jours de relevés.");
    AdviceReport report = adviceReport(in, a, {});
    ASSERT_EQ(report.lines.size(), 15u);
    EXPECT_EQ(report.lines[3].value, "inconnu");  // the dump
    EXPECT_EQ(report.lines[8].label, "Taille initiale conseillée");
    EXPECT_EQ(report.lines[8].value, "512 Mo");
    EXPECT_EQ(report.lines[9].label, "Taille maximale conseillée");
    EXPECT_EQ(report.lines[14].value,
              "Il manque : le réglage du vidage mémoire. Conseil provisoire : il repose sur 2 "
              "jours de relevés.");
    EXPECT_NE(report.copyText.find("Taille initiale conseillée : 512 Mo\r\n"), std::string::npos);
}

// FILETIME bytes of a UTC minute.
std::string fileTimeOf(int32_t minute) {
    uint64_t t = (static_cast<uint64_t>(minute) + 11644473600ULL / 60) * 600000000ULL;
    std::string bytes;
    for (int i = 0; i < 8; ++i) bytes += static_cast<char>(t >> (8 * i) & 0xFF);
    return bytes;
}

TEST(PageFileAdvice, CrashDumpSettingReadFromTheRegistryWhateverItHolds) {
    const int32_t now = 29000000;
    struct Case {
        const char* name;
        std::optional<std::pair<uint32_t, std::string>> enabled;  // type, bytes
        std::optional<std::string> dedicated;
        std::optional<std::pair<uint32_t, std::string>> crash;
        DumpKind kind;
        bool dedicatedFile;
        std::optional<int64_t> days;
    };
    const std::string seven("\x07\0\0\0", 4);
    const Case cases[] = {
        {"missing", std::nullopt, std::nullopt, std::nullopt, DumpKind::Unknown, false, {}},
        {"automatic, crash 3 days ago",
         {{4, seven}},
         std::nullopt,
         {{11, fileTimeOf(now - 3 * 1440 - 5)}},
         DumpKind::Automatic,
         false,
         3},
        {"kernel",
         {{4, std::string("\x02\0\0\0", 4)}},
         "",
         std::nullopt,
         DumpKind::Kernel,
         false,
         {}},
        {"complete, dedicated file",
         {{4, std::string("\x01\0\0\0", 4)}},
         "D:\\dump.dmp",
         std::nullopt,
         DumpKind::Complete,
         true,
         {}},
        {"none",
         {{4, std::string(4, '\0')}},
         std::nullopt,
         std::nullopt,
         DumpKind::None,
         false,
         {}},
        {"small",
         {{4, std::string("\x03\0\0\0", 4)}},
         std::nullopt,
         std::nullopt,
         DumpKind::Small,
         false,
         {}},
        {"out of range",
         {{4, std::string("\x05\0\0\0", 4)}},
         std::nullopt,
         std::nullopt,
         DumpKind::Unknown,
         false,
         {}},
        {"text instead of a number",
         {{1, std::string("7\0", 2)}},
         std::nullopt,
         std::nullopt,
         DumpKind::Unknown,
         false,
         {}},
        {"short number",
         {{4, std::string("\x07", 1)}},
         std::nullopt,
         std::nullopt,
         DumpKind::Unknown,
         false,
         {}},
        {"crash time from the future",
         {{4, seven}},
         std::nullopt,
         {{11, fileTimeOf(now + 60)}},
         DumpKind::Automatic,
         false,
         {}},
        {"crash time as 4 bytes",
         {{4, seven}},
         std::nullopt,
         {{3, std::string(4, '\x01')}},
         DumpKind::Automatic,
         false,
         {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        fake::FakePlatform fake;
        if (c.enabled)
            fake.registry.set(RootKey::LocalMachine, kCrashControlKey, "CrashDumpEnabled",
                              c.enabled->first, c.enabled->second);
        if (c.dedicated)
            fake.registry.set(RootKey::LocalMachine, kCrashControlKey, "DedicatedDumpFile", 1,
                              *c.dedicated + std::string(1, '\0'));
        if (c.crash)
            fake.registry.set(RootKey::LocalMachine, kCrashControlKey, "LastCrashTime",
                              c.crash->first, c.crash->second);
        CrashDumpSetting dump = readCrashDump(fake.platform, now);
        EXPECT_EQ(dump.kind, c.kind);
        EXPECT_EQ(dump.dedicatedFile, c.dedicatedFile);
        EXPECT_EQ(dump.daysSinceCrash, c.days);
    }
}

TEST(PageFileAdvice, PagingFilesEntriesAndGarbledValues) {
    using namespace std::string_literals;
    struct Case {
        std::string value;
        bool known;
        std::vector<std::tuple<std::string, PageFileKind, int64_t, int64_t>> files;
    };
    const Case cases[] = {
        {"C:\\pagefile.sys 1024 4096\0D:\\pagefile.sys 0 0\0"s,
         true,
         {{"C:\\pagefile.sys", PageFileKind::Fixed, 1024, 4096},
          {"D:\\pagefile.sys", PageFileKind::SystemManaged, 0, 0}}},
        {"?:\\pagefile.sys\0"s, true, {{"E:\\pagefile.sys", PageFileKind::SystemManaged, 0, 0}}},
        {"\0"s, true, {}},  // an empty list: no page file
        {"Not Found", false, {}},
        {"C:\\pagefile.sys 4096 1024\0"s, false, {}},  // largest under initial
        {"C:\\pagefile.sys 1024\0"s, false, {}},
        {"C:\\pagefile.sys abc 4096\0"s, false, {}},
        {"C:\\pagefile.sys -5 4096\0"s, false, {}},
        {"C:\\pagefile.sys 1 99999999999999999999\0"s, false, {}},
        {"pagefile.sys 10 20\0"s, false, {}},
        {"\xff\xfe garbage\0"s, false, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.value);
        PagingConfiguration config = parsePagingFiles(c.value, "E:");
        EXPECT_EQ(config.known, c.known);
        ASSERT_EQ(config.files.size(), c.files.size());
        for (size_t i = 0; i < c.files.size(); ++i) {
            EXPECT_EQ(config.files[i].path, std::get<0>(c.files[i]));
            EXPECT_EQ(config.files[i].kind, std::get<1>(c.files[i]));
            EXPECT_EQ(config.files[i].initialMo, std::get<2>(c.files[i]));
            EXPECT_EQ(config.files[i].maximumMo, std::get<3>(c.files[i]));
        }
    }
}

// Ten days of history with a peak of 3000 Mo, the last three hours rising by 5 Mo a minute, and a
// minute from a clock that was a day ahead; a small dump; the harness's fixed 1536 to 3072 Mo
// file on a volume with room; 2048 Mo of RAM, today's limit 4096 Mo, 1096 Mo committed now.
class AdviceWindowTest : public MonitorTest {
protected:
    AdviceWindowTest() {
        const int32_t now = *minuteOf(fake.system.utc);
        std::string csv = std::string(kHistoryHeader) + std::string(kCrLf);
        auto line = [&](int32_t minute, int32_t commit) {
            MinuteRecord r{minute, 1536, 1536, 1536, 900, kUnknownMo};
            r.commitMo = commit;
            r.commitLimitMo = 4096;
            csv += formatRecord(r);
        };
        for (int32_t m = now - 10 * 1440; m < now - 180; m += 10)
            line(m, m == now - 5 * 1440 ? 3000 : 1000);
        for (int32_t m = now - 180; m < now; ++m) line(m, 196 + 5 * (m - (now - 180)));
        line(now + 1440, 99999);
        fake.files.put("C:\\Corvane\\Corvane.csv", csv);
        fake.registry.set(RootKey::LocalMachine, kCrashControlKey, "CrashDumpEnabled", 4,
                          std::string("\x03\0\0\0", 4));
        fake.memory.volumes["C:"] = {50 * kGiB, 100 * kGiB};
        fake.system.memory.commitKnown = true;
        fake.system.memory.availPageFile = 3000 * kMiB;
        setSwapMiB(1536);
    }
    std::string value(size_t line) {
        const AdviceReport& r = fake.windows.adviceView.reports.back();
        return line < r.lines.size() ? r.lines[line].value : "(none)";
    }
};

TEST_F(AdviceWindowTest, OpensFromTheMenuOverTheHistoryAndRefreshesAtEachTick) {
    window.onLoad();
    window.onShown();
    window.onMenu(MenuItem::pageFileAdvice);
    ASSERT_EQ(fake.windows.adviceShown, 1);
    ASSERT_EQ(fake.windows.adviceView.reports.size(), 1u);
    // P = 3000 (the minute from the future left out): 1.25 P - R = 1702 -> 1728; 1.5 P - R =
    // 2452 -> 2496. The attainable limit: 2048 + 3072.
    const char* expected[] = {"2048 Mo",
                              "3000 Mo",
                              "10,0 jours",
                              "mémoire partielle : 1 Mo",
                              "C:\\pagefile.sys de 1536 Mo à 3072 Mo (1536 Mo)",
                              "C: 51200 Mo libres sur 102400 Mo",
                              "4096 Mo",
                              "5120 Mo",
                              "1728 Mo",
                              "2496 Mo",
                              "Suffisant.",
                              "en hausse (+300 Mo/h)",
                              "dans 10 h 00",
                              "dans 13 h 24",
                              "rien"};
    for (size_t i = 0; i < std::size(expected); ++i) EXPECT_EQ(value(i), expected[i]) << i;
    EXPECT_EQ(fake.dialogs.shown.size(), 0u);

    // Open: every tick brings it up to date; closed: no more.
    fake.system.memory.availPageFile = 4000 * kMiB;
    tick();
    ASSERT_EQ(fake.windows.adviceView.reports.size(), 2u);
    EXPECT_EQ(value(6), "4096 Mo");
    fake.windows.shownAdvice->detach(&fake.windows.adviceView);
    tick();
    EXPECT_EQ(fake.windows.adviceView.reports.size(), 2u);
}

TEST_F(AdviceWindowTest, BadInputsGiveUnknownFiguresNeverAMessageAtATick) {
    fake.registry.set(RootKey::LocalMachine, kCrashControlKey, "CrashDumpEnabled", 1, "7");
    fake.registry.setMultiString(RootKey::LocalMachine, kMemoryManagementKey, "PagingFiles",
                                 {"C:\\pagefile.sys douze 3072"});
    fake.files.put("C:\\Corvane\\Corvane.csv", "");
    window.onLoad();
    window.onShown();
    window.onMenu(MenuItem::pageFileAdvice);
    tick();
    tick();
    ASSERT_FALSE(fake.windows.adviceView.reports.empty());
    EXPECT_EQ(value(3), "inconnu");
    EXPECT_EQ(value(4), "inconnu");
    EXPECT_EQ(value(7), "inconnu");
    EXPECT_EQ(value(12), "inconnu");  // no trend without the minutes
    EXPECT_NE(value(10).find("illisible"), std::string::npos);
    EXPECT_NE(value(14).find("le réglage du vidage mémoire"), std::string::npos);
    EXPECT_NE(value(14).find("Conseil provisoire"), std::string::npos);
    EXPECT_EQ(fake.dialogs.shown.size(), 0u);
}

}  // namespace
}  // namespace corvane::testing
