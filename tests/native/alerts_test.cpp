// The alerts and the notification area's icon: thresholds crossed upwards once, again only
// after the margin, the swap file's growth over the hour, what is said where (journal bytes,
// balloon, taskbar), the menu items, and the settings' keys with their damaged values.
#include <algorithm>

#include "alerts/alert_events.h"
#include "alerts/alert_limits.h"
#include "alerts/alert_texts.h"
#include "alerts/alert_watch.h"
#include "harness.h"
#include "history/history_csv.h"

namespace corvane::testing {
namespace {

constexpr const char* kJournal = "C:\\Corvane\\Corvane.txt";
// The start line and the alerts' lines as the 1252 code page writes them at the fake's time.
const std::string kStartLine = "D\351but d'analyse le 08/12/2026 \340 07:15:30\r\n";
const std::string kWhen = " le 08/12/2026 \340 07:15:30\r\n";

class AlertsTest : public MonitorTest {
protected:
    void SetUp() override {
        setSwapMiB(100);
        fake.system.memory.memoryLoad = 40;
    }
    // The commit at exactly `percent` of an 800 Mo limit.
    void setCommitPercent(int percent) {
        fake.system.memory.commitKnown = true;
        fake.system.memory.totalPageFile = 800 * kMiB;
        fake.system.memory.availPageFile = static_cast<uint64_t>(800 - percent * 8) * kMiB;
    }
    void tickAt(int percent) {
        setCommitPercent(percent);
        fake.system.ticks += 1000;
        tick();
    }
    // What the alerts added to the journal after its start line.
    std::string alertLines() {
        std::string journal = fake.files.contents(kJournal).value_or("");
        EXPECT_EQ(journal.substr(0, kStartLine.size()), kStartLine);
        return journal.substr(std::min(journal.size(), kStartLine.size()));
    }
    // As the program starts: the window is shown once start-up is done.
    void start() {
        window.onLoad();
        ASSERT_FALSE(window.ended());
        window.onShown();
    }
};

TEST_F(AlertsTest, TheCommitAlertComesOnceAtTheCrossingAndAgainOnlyPastTheMargin) {
    setCommitPercent(80);
    start();
    const std::string line90 = "Alerte : engagement \340 90 % de sa limite (seuil 90 %)" + kWhen;
    const std::string line91 = "Alerte : engagement \340 91 % de sa limite (seuil 90 %)" + kWhen;
    struct Step {
        int percent;
        std::string journal;  // the alerts' lines so far
    };
    const Step steps[] = {
        {89, ""},
        {90, line90},  // reaching the threshold is crossing it
        {100, line90},
        {86, line90},  // back below, but not by the margin
        {92, line90},
        {85, line90},  // five points below: armed again
        {91, line90 + line91},
    };
    for (const Step& step : steps) {
        SCOPED_TRACE(step.percent);
        tickAt(step.percent);
        EXPECT_EQ(alertLines(), step.journal);
    }
    EXPECT_EQ(window.state().alertMarks, 2);
    // No icon: the taskbar button flashes, once an alert; nothing waits on the user.
    EXPECT_EQ(fake.notification.flashes, 2);
    EXPECT_TRUE(fake.notification.shown.empty());
    EXPECT_TRUE(fake.dialogs.shown.empty());
}

TEST_F(AlertsTest, AFigureAboveItsThresholdAtStartUpIsAnAlertOfTheFirstSample) {
    setCommitPercent(97);
    start();
    EXPECT_EQ(alertLines(), "Alerte : engagement \340 97 % de sa limite (seuil 90 %)" + kWhen);
    EXPECT_EQ(window.state().alertMarks, 1);
}

TEST_F(AlertsTest, WithoutACommitFigureThereIsNoCommitAlert) {
    // Windows 9x and NT 4 give no commit: their page-file figures say nothing of it.
    fake.system.memory.commitKnown = false;
    fake.system.memory.totalPageFile = 1000 * kMiB;
    fake.system.memory.availPageFile = 0;
    start();
    tick();
    EXPECT_EQ(alertLines(), "");
    EXPECT_EQ(window.state().alertMarks, 0);
}

TEST_F(AlertsTest, TheSwapFileGrownByTheThresholdWithinTheHourIsAnAlert) {
    start();
    // 10 Mo a minute: 520 Mo within the hour at the 52nd minute.
    int firstAlertMinute = 0;
    for (int minute = 1; minute <= 90; ++minute) {
        fake.system.ticks += 60000;
        setSwapMiB(100 + 10 * static_cast<uint64_t>(minute));
        tick();
        if (!firstAlertMinute && window.state().alertMarks == 1) firstAlertMinute = minute;
    }
    EXPECT_EQ(firstAlertMinute, 52);
    // Still growing as fast: the growth stays above the threshold and says nothing more.
    EXPECT_EQ(window.state().alertMarks, 1);
    EXPECT_EQ(
        alertLines(),
        "Alerte : fichier SWAP agrandi de 520Mo en une heure, \340 620Mo (seuil 512Mo)" + kWhen);

    // It stops growing: an hour later the growth is gone, and a new one speaks again.
    for (int minute = 0; minute < 61; ++minute) {
        fake.system.ticks += 60000;
        tick();
    }
    EXPECT_EQ(window.state().alertMarks, 1);
    fake.system.ticks += 60000;
    setSwapMiB(1000 + 600);
    tick();
    EXPECT_EQ(window.state().alertMarks, 2);
}

TEST_F(AlertsTest, TheHourBeforeARestartCountsFromTheHistory) {
    // The swap file was 64 Mo in the minutes before the program started and is 116 Mo now:
    // grown by 52 Mo within the hour, though this run has seen one size only. A minute more
    // than an hour old (10 Mo) is not the hour's.
    fake.settings.values["SeuilSwap"] = "50";
    fake.system.ticks = 10'000'000;
    std::string history = std::string(kHistoryHeader) + "\r\n2026-12-08 05:10;10;10;10;800;\r\n";
    for (int minute = 10; minute <= 14; ++minute)
        history += "2026-12-08 06:" + std::to_string(minute) + ";64;64;64;800;\r\n";
    fake.files.put("C:\\Corvane\\Corvane.csv", history);
    setSwapMiB(116);
    start();
    EXPECT_EQ(window.state().alertMarks, 1);
    EXPECT_EQ(
        alertLines(),
        "Alerte : fichier SWAP agrandi de 52Mo en une heure, \340 116Mo (seuil 50Mo)" + kWhen);
}

TEST(AlertRules, MinutesBeforeARestartJoinTheHourOnce) {
    AlertWatch watch;
    AlertSettings settings;
    settings.swapGrowthOn = true;
    settings.swapGrowthMo = 50;
    const uint64_t tick = 100 * HourGrowth::kMinuteMs;
    ASSERT_TRUE(watch.wantsPast());
    // 1 and 59 minutes ago count, 60 does not; the smallest of a minute given twice is kept.
    watch.takePast(tick, {{60, 0}, {59, 80}, {1, 90}, {1, 70}});
    EXPECT_FALSE(watch.wantsPast());
    std::vector<AlertEvent> raised =
        watch.check(settings, {tick, std::nullopt, 125, std::nullopt, std::nullopt});
    ASSERT_EQ(raised.size(), 1u);
    EXPECT_EQ(raised[0].figure, 55);
    // A tick count younger than the minute (the system started since) takes none of it.
    HourGrowth young;
    young.addPast(3 * HourGrowth::kMinuteMs, 5, 0);
    EXPECT_EQ(young.add(3 * HourGrowth::kMinuteMs, 40), 0);
}

TEST_F(AlertsTest, GrowthSpreadOverMoreThanAnHourIsNoAlert) {
    start();
    // 5 Mo a minute for three hours: 295 Mo in any hour, 900 Mo in all.
    for (int minute = 1; minute <= 180; ++minute) {
        fake.system.ticks += 60000;
        setSwapMiB(100 + 5 * static_cast<uint64_t>(minute));
        tick();
    }
    EXPECT_EQ(window.state().alertMarks, 0);
    EXPECT_EQ(alertLines(), "");
}

TEST_F(AlertsTest, TheMemoryAlertIsOffUntilTheUserSwitchesItOn) {
    fake.system.memory.memoryLoad = 95;
    start();
    tick();
    EXPECT_EQ(window.state().alertMarks, 0);

    AlertSettings chosen;
    chosen.memoryOn = true;
    fake.windows.alertsAnswer = chosen;
    window.onMenu(MenuItem::alerts);
    ASSERT_EQ(fake.windows.alertsShown.size(), 1u);
    EXPECT_FALSE(fake.windows.alertsShown[0].memoryOn);  // opened on the settings in use
    tick();
    EXPECT_EQ(alertLines(), "Alerte : m\351moire occup\351e \340 95 % (seuil 90 %)" + kWhen);
    EXPECT_EQ(fake.settings.values["AlerteMemoire"], "True");
}

TEST_F(AlertsTest, WithTheIconTheAlertIsABalloonAndWithoutBalloonsTheTaskbarFlashes) {
    fake.settings.values["IconeNotification"] = "True";
    setCommitPercent(50);
    start();
    tickAt(93);
    ASSERT_EQ(fake.notification.shown.size(), 1u);
    EXPECT_EQ(fake.notification.shown[0].title, "Corvane : seuil d'engagement atteint");
    EXPECT_EQ(fake.notification.shown[0].text,
              "À 07:15, l'engagement atteint 93 % de sa limite (seuil 90 %).");
    EXPECT_EQ(fake.notification.flashes, 0);

    // A notification area of the older kind, without balloons.
    fake.notification.balloons = false;
    tickAt(50);
    tickAt(95);
    EXPECT_EQ(fake.notification.shown.size(), 1u);
    EXPECT_EQ(fake.notification.flashes, 1);
    EXPECT_EQ(window.state().alertMarks, 2);
    EXPECT_TRUE(fake.dialogs.shown.empty());
}

TEST_F(AlertsTest, TheMemoryBalloonSaysTheThresholdNotThatTheMemoryIsFull) {
    fake.settings.values["IconeNotification"] = "True";
    fake.settings.values["AlerteMemoire"] = "True";
    fake.settings.values["SeuilMemoire"] = "1";
    fake.system.memory.memoryLoad = 0;
    start();
    fake.system.memory.memoryLoad = 2;
    fake.system.ticks += 1000;
    tick();
    ASSERT_EQ(fake.notification.shown.size(), 1u);
    EXPECT_EQ(fake.notification.shown[0].title, "Corvane : seuil de mémoire atteint");
    EXPECT_EQ(fake.notification.shown[0].text,
              "À 07:15, la mémoire occupée atteint 2 % (seuil 1 %).");
}

TEST_F(AlertsTest, TheSwapBalloonSaysTheGrowthAndTheSize) {
    fake.settings.values["IconeNotification"] = "True";
    fake.settings.values["SeuilSwap"] = "100";
    start();
    fake.system.ticks += 60000;
    setSwapMiB(250);
    tick();
    ASSERT_EQ(fake.notification.shown.size(), 1u);
    EXPECT_EQ(fake.notification.shown[0].title, "Corvane : le fichier SWAP grandit");
    EXPECT_EQ(fake.notification.shown[0].text,
              "À 07:15, le fichier SWAP a grandi de 150 Mo en une heure (seuil 100 Mo) ; il "
              "fait 250 Mo.");
}

TEST_F(AlertsTest, AJournalThatCannotBeWrittenCostsTheLineNotTheMonitor) {
    setCommitPercent(50);
    start();
    fake.files.readOnlyFolders.insert("C:\\Corvane");
    tickAt(99);
    EXPECT_FALSE(window.ended());
    EXPECT_EQ(window.state().alertMarks, 1);
    EXPECT_EQ(fake.notification.flashes, 1);
    EXPECT_TRUE(fake.dialogs.shown.empty());
}

TEST_F(AlertsTest, TheMenuItemAddsAndRemovesTheIconAndTheNextStartRemembersIt) {
    setCommitPercent(43);
    start();
    EXPECT_FALSE(fake.notification.icon);
    EXPECT_FALSE(fake.view.menuChecks[MenuItem::notificationIcon]);

    window.onMenu(MenuItem::notificationIcon);
    ASSERT_TRUE(fake.notification.icon);
    EXPECT_TRUE(fake.view.menuChecks[MenuItem::notificationIcon]);
    EXPECT_EQ(fake.settings.values["IconeNotification"], "True");
    EXPECT_EQ(
        fake.notification.icon->tooltip,
        "Corvane\nSWAP : 100 Mo (mini 100, maxi 100 Mo)\nEngagement : 344 Mo / 800 Mo (43 %)");
    EXPECT_EQ(fake.notification.icon->gaugePermille, 430);
    EXPECT_FALSE(fake.notification.icon->alarm);

    // The icon follows the ticks; at the alert's threshold it takes the alarm's colour.
    setSwapMiB(120);
    tickAt(91);
    EXPECT_EQ(
        fake.notification.icon->tooltip,
        "Corvane\nSWAP : 120 Mo (mini 100, maxi 120 Mo)\nEngagement : 728 Mo / 800 Mo (91 %)");
    EXPECT_TRUE(fake.notification.icon->alarm);

    window.onMenu(MenuItem::notificationIcon);
    EXPECT_FALSE(fake.notification.icon);
    EXPECT_EQ(fake.notification.removals, 1);
    EXPECT_FALSE(fake.view.menuChecks[MenuItem::notificationIcon]);
    EXPECT_EQ(fake.settings.values["IconeNotification"], "False");
    // The main window's own caption is the same with or without the icon.
    fake.view.minimised = true;
    tick();
    EXPECT_EQ(fake.view.windowCaption.substr(0, 3), "SW:");

    window.onMenu(MenuItem::notificationIcon);
    window.onMenu(MenuItem::quitter);
    MainWindow next(fake.platform);
    fake.notification.icon.reset();
    fake.view.menuChecks.clear();
    next.onLoad();
    next.onShown();
    EXPECT_TRUE(fake.notification.icon);
    EXPECT_TRUE(fake.view.menuChecks[MenuItem::notificationIcon]);
}

TEST_F(AlertsTest, WithoutCommitTheGaugeIsTheSwapFileAgainstItsLargest) {
    fake.settings.values["IconeNotification"] = "True";
    start();
    ASSERT_TRUE(fake.notification.icon);
    // No configured largest (the NT family keeps it in no file the program reads): against
    // the largest seen.
    EXPECT_EQ(fake.notification.icon->gaugePermille, 1000);
    EXPECT_EQ(fake.notification.icon->tooltip, "Corvane\nSWAP : 100 Mo (mini 100, maxi 100 Mo)");
    setSwapMiB(50);
    tick();
    EXPECT_EQ(fake.notification.icon->gaugePermille, 500);

    // The largest system.ini allows (Windows 9x).
    window.context().state.maxPagingSize = 400;
    tick();
    EXPECT_EQ(fake.notification.icon->gaugePermille, 125);

    fake.files.swapSizes["C:\\pagefile.sys"] = SwapFileSize{};
    tick();
    EXPECT_EQ(fake.notification.icon->gaugePermille, -1);
    EXPECT_EQ(fake.notification.icon->tooltip, "Corvane\nSWAP : taille illisible");
}

TEST_F(AlertsTest, AWindowsWithoutNotificationAreaKeepsTheChoiceAndFlashesInstead) {
    fake.notification.available = false;
    setCommitPercent(50);
    start();
    window.onMenu(MenuItem::notificationIcon);
    EXPECT_FALSE(window.ended());
    EXPECT_TRUE(fake.view.menuChecks[MenuItem::notificationIcon]);
    EXPECT_EQ(fake.settings.values["IconeNotification"], "True");
    tickAt(95);
    EXPECT_EQ(fake.notification.flashes, 1);
    EXPECT_TRUE(fake.dialogs.shown.empty());
}

TEST_F(AlertsTest, TheDialogKeepsWhatTheUserChoseAndNothingOnCancel) {
    start();
    fake.settings.savedKeys.clear();
    window.onMenu(MenuItem::alerts);  // cancelled
    EXPECT_TRUE(fake.settings.savedKeys.empty());

    AlertSettings chosen{false, 75, true, 2048, true, 80, false, 12};
    fake.windows.alertsAnswer = chosen;
    window.onMenu(MenuItem::alerts);
    EXPECT_EQ(fake.settings.savedKeys,
              (std::vector<std::string>{"AlerteEngagement", "SeuilEngagement", "AlerteSwap",
                                        "SeuilSwap", "AlerteMemoire", "SeuilMemoire",
                                        "AlerteEpuisement", "SeuilEpuisement"}));
    EXPECT_EQ(fake.settings.values["AlerteEpuisement"], "False");
    EXPECT_EQ(fake.settings.values["SeuilEpuisement"], "12");
    EXPECT_EQ(fake.settings.values["AlerteEngagement"], "False");
    EXPECT_EQ(fake.settings.values["SeuilEngagement"], "75");
    EXPECT_EQ(fake.settings.values["SeuilSwap"], "2048");
    EXPECT_EQ(fake.settings.values["AlerteMemoire"], "True");
    EXPECT_EQ(fake.settings.values["SeuilMemoire"], "80");
    window.onMenu(MenuItem::alerts);
    EXPECT_EQ(fake.windows.alertsShown.back().swapGrowthMo, 2048);

    // A dialog that cannot be made says so and the monitor goes on.
    fake.windows.alertsError = RuntimeError(kErrOutOfMemory);
    window.onMenu(MenuItem::alerts);
    ASSERT_EQ(fake.dialogs.shown.size(), 1u);
    EXPECT_EQ(fake.dialogs.shown[0].title, "Alertes");
    EXPECT_FALSE(window.ended());
}

TEST(AlertRules, ThresholdsOutsideTheirRangesAreRefusedWithTheirReason) {
    EXPECT_FALSE(alertSettingsProblem(AlertSettings{}));
    EXPECT_FALSE(alertSettingsProblem({true, 100, true, 1, true, 1}));
    EXPECT_FALSE(alertSettingsProblem({true, 1, true, kAlertGrowthMoMax, true, 100}));
    EXPECT_EQ(alertSettingsProblem({true, 0, true, 512, false, 90}),
              "Le seuil de l'engagement doit être un nombre entier de 1 à 100 (%).");
    EXPECT_EQ(alertSettingsProblem({true, 90, true, 0, false, 90}),
              "La croissance du fichier SWAP doit être un nombre entier de 1 à 1048576 (Mo).");
    EXPECT_TRUE(alertSettingsProblem({true, 90, true, kAlertGrowthMoMax + 1, false, 90}));
    // Switched off, a threshold is still kept, so still checked.
    EXPECT_EQ(alertSettingsProblem({true, 90, true, 512, false, 101}),
              "Le seuil de la m\303\251moire occup\303\251e doit \303\252tre un nombre entier de 1 "
              "\303\240 100 (%).");
}

TEST(AlertRules, MarginsAndTheHourOfGrowth) {
    EXPECT_EQ(rearmMargin(AlertKind::Commit, 90), 5);
    EXPECT_EQ(rearmMargin(AlertKind::Memory, 3), 5);
    EXPECT_EQ(rearmMargin(AlertKind::SwapGrowth, 512), 51);
    EXPECT_EQ(rearmMargin(AlertKind::SwapGrowth, 5), 1);

    HourGrowth hour;
    const uint64_t base = 7 * HourGrowth::kMinuteMs;
    EXPECT_EQ(hour.add(base, 500), 0);
    EXPECT_EQ(hour.add(base + 1000, 450), 0);  // smaller: the new lowest of its minute
    EXPECT_EQ(hour.add(base + 59 * HourGrowth::kMinuteMs, 700), 250);
    // An hour on, the minute of 450 is no longer within it; the 700 one is.
    EXPECT_EQ(hour.add(base + 60 * HourGrowth::kMinuteMs, 720), 20);
    // A gap of days: nothing of before counts.
    EXPECT_EQ(hour.add(base + 5000 * HourGrowth::kMinuteMs, 100), 0);
    EXPECT_EQ(hour.add(base + 5001 * HourGrowth::kMinuteMs, 160), 60);
}

TEST(AlertRules, TheExhaustionSpeaksOnceItsForecastHasStayedUnderTheThresholdHalfAnHour) {
    AlertWatch watch;
    AlertSettings settings;  // 6 hours
    struct Step {
        int minute;
        std::optional<int64_t> minutesLeft;
        bool raised;
    };
    const Step steps[] = {
        {0, 350, false},            // under 6 h: the half hour begins
        {20, 345, false},           //
        {25, std::nullopt, false},  // no trend this tick: the half hour goes on
        {29, 340, false},           //
        {30, 335, true},            // held 30 minutes
        {45, 300, false},           // said once
        {50, 361, false},           // back above: armed again, the half hour over
        {60, 350, false},           // under again: a new half hour
        {89, 340, false},           //
        {90, 330, true},            //
        {100, 10081, false},        // the commit no longer rises
    };
    for (const Step& step : steps) {
        SCOPED_TRACE(step.minute);
        AlertFigures figures;
        figures.tick = 1000 + static_cast<uint64_t>(step.minute) * 60000;
        figures.exhaustionMinutes = step.minutesLeft;
        std::vector<AlertEvent> raised = watch.check(settings, figures);
        EXPECT_EQ(raised.size(), step.raised ? 1u : 0u);
        if (step.raised && !raised.empty()) {
            EXPECT_EQ(raised[0].kind, AlertKind::Exhaustion);
            EXPECT_EQ(raised[0].figure, *step.minutesLeft);
            EXPECT_EQ(raised[0].threshold, 6);
        }
    }
    EXPECT_EQ(watch.count(AlertKind::Exhaustion), 2);

    AlertEvent alert{AlertKind::Exhaustion, 310, 6, 1536};
    EXPECT_EQ(alertJournalLine(alert, "08/12/2026", "07:15:30"),
              "Alerte : engagement à sa limite atteignable dans 5 h 10 au rythme des 3 "
              "dernières heures (seuil 6 h) le 08/12/2026 à 07:15:30");
    BalloonText balloon = alertBalloon(alert, "07:15");
    EXPECT_EQ(balloon.title, "Corvane : mémoire bientôt épuisée");
    EXPECT_LE(balloon.text.size(), 255u);
    EXPECT_NE(balloon.text.find("dans 5 h 10"), std::string::npos);
    EXPECT_EQ(alertEvent(alert, "d", "t").id, kEventExhaustionAlert);
    Statistics stats;
    EXPECT_NE(trayTooltip(stats, false, std::nullopt, 310).find("\nMémoire épuisée dans 5 h 10"),
              std::string::npos);
    EXPECT_EQ(alertSettingsProblem({true, 90, true, 512, false, 90, true, 169}),
              "Le délai avant l'épuisement doit être un nombre entier de 1 à 168 (heures).");
}

TEST(AlertRules, ASwitchedOffAlertSpeaksAsSoonAsItIsSwitchedOnAndDue) {
    AlertWatch watch;
    AlertSettings settings;
    AlertFigures figures;
    figures.commitPercent = 95;
    EXPECT_EQ(watch.check(settings, figures).size(), 1u);
    EXPECT_TRUE(watch.check(settings, figures).empty());
    settings.commitOn = false;
    EXPECT_TRUE(watch.check(settings, figures).empty());
    settings.commitOn = true;
    auto raised = watch.check(settings, figures);
    ASSERT_EQ(raised.size(), 1u);
    EXPECT_EQ(raised[0].kind, AlertKind::Commit);
    EXPECT_EQ(raised[0].figure, 95);
    EXPECT_EQ(raised[0].threshold, 90);
    // A tick without the figure changes nothing.
    figures.commitPercent.reset();
    EXPECT_TRUE(watch.check(settings, figures).empty());
}

// ---- The keys in the settings store ----

struct AlertKey {
    const char* name;
    const char* absent;
    std::vector<const char*> damaged;
};
const AlertKey kAlertKeys[] = {
    {"IconeNotification", "False", {"", "abc"}},
    {"AlerteEngagement", "True", {"", "abc"}},
    {"SeuilEngagement", "90", {"", "abc", "0", "101", "-5"}},
    {"AlerteSwap", "True", {"", "oui"}},
    {"SeuilSwap", "512", {"", "abc", "0", "1048577"}},
    {"AlerteMemoire", "False", {"", "abc"}},
    {"SeuilMemoire", "90", {"", "x", "0", "200"}},
    {"AlerteEpuisement", "True", {"", "abc"}},
    {"SeuilEpuisement", "6", {"", "abc", "0", "169"}},
};

TEST_F(AlertsTest, StoredChoicesLoadBackAndTheStatisticsSaveLeavesThem) {
    fake.settings.values = {{"IconeNotification", "True"}, {"AlerteEngagement", "False"},
                            {"SeuilEngagement", "70"},     {"AlerteSwap", "True"},
                            {"SeuilSwap", "64"},           {"AlerteMemoire", "True"},
                            {"SeuilMemoire", "99"}};
    start();
    const MainState& s = window.state();
    EXPECT_TRUE(s.trayIcon);
    EXPECT_FALSE(s.alertSettings.commitOn);
    EXPECT_EQ(s.alertSettings.commitPercent, 70);
    EXPECT_TRUE(s.alertSettings.swapGrowthOn);
    EXPECT_EQ(s.alertSettings.swapGrowthMo, 64);
    EXPECT_TRUE(s.alertSettings.memoryOn);
    EXPECT_EQ(s.alertSettings.memoryPercent, 99);
    fake.settings.savedKeys.clear();
    window.onMenu(MenuItem::quitter);
    for (const AlertKey& key : kAlertKeys) {
        EXPECT_EQ(
            std::count(fake.settings.savedKeys.begin(), fake.settings.savedKeys.end(), key.name), 0)
            << key.name;
    }
}

TEST_F(AlertsTest, ADamagedAlertKeyIsResetToItsDefaultWithTheLoadMessage) {
    for (const AlertKey& key : kAlertKeys) {
        for (const char* text : key.damaged) {
            SCOPED_TRACE(std::string(key.name) + " = \"" + text + "\"");
            fake::FakePlatform f;
            f.files.resize("C:\\pagefile.sys", 50 * kMiB);
            f.registry.setMultiString(RootKey::LocalMachine, kMemoryManagementKey, "PagingFiles",
                                      {"C:\\pagefile.sys 1536 3072"});
            f.settings.values = {{"NB", "5"},
                                 {"MemoSwap", "C:\\pagefile.sys"},
                                 {"MaxSwap", "90"},
                                 {"TotSwap", "300"},
                                 {"MinSwap", "40"},
                                 {"MemoMinPaging", "1536"},
                                 {"MemoMaxPaging", "3072"}};
            f.settings.values[key.name] = text;

            MainWindow w(f.platform);
            w.onLoad();
            ASSERT_EQ(f.dialogs.shown.size(), 1u);
            EXPECT_EQ(f.dialogs.shown[0].text,
                      "Problème au chargement de vos paramères !\r\nRéinitialisation");
            EXPECT_EQ(f.dialogs.shown[0].title, "Vous pouvez continuer !");
            EXPECT_FALSE(w.ended());
            EXPECT_EQ(f.settings.values[key.name], key.absent);
            EXPECT_EQ(f.settings.values["NB"], "0");  // the analysis restarted, as for any key

            // Mended: the next start says nothing.
            w.onMenu(MenuItem::quitter);
            MainWindow again(f.platform);
            again.onLoad();
            EXPECT_EQ(f.dialogs.shown.size(), 1u);
            EXPECT_FALSE(again.ended());
        }
    }
}

}  // namespace
}  // namespace corvane::testing
