// Start-up order, its error trap, the hidden keys and the ways out.
#include "program/startup.h"

#include "harness.h"

namespace corvane::testing {
namespace {

using StartupTest = MonitorTest;

TEST_F(StartupTest, SecondInstanceEndsAtOnceSilently) {
    setSwapMiB(50);
    fake.system.otherInstance = true;
    window.onLoad();
    EXPECT_TRUE(window.ended());
    EXPECT_EQ(fake.view.endProgramCalls, 1);
    EXPECT_TRUE(fake.dialogs.shown.empty());
    EXPECT_TRUE(fake.view.writes.empty());
    EXPECT_FALSE(fake.view.timers[TimerId::MainTimer1].enabled);
}

TEST_F(StartupTest, ProgramDirectoryGetsExactlyOneBackslash) {
    setSwapMiB(50);
    fake.system.appDir = "D:\\";
    window.onLoad();
    EXPECT_EQ(window.state().programDirectory, "D:\\");
    EXPECT_EQ(window.state().journalPath, "D:\\Corvane.txt");
    EXPECT_EQ(window.state().oldJournalPath, "D:\\Corvane.old");

    fake::FakePlatform other;
    other.system.appDir = "C:\\Program Files\\Corvane";
    MainWindow second(other.platform);
    second.onLoad();
    EXPECT_EQ(second.state().programDirectory, "C:\\Program Files\\Corvane\\");
}

TEST_F(StartupTest, HeaderThenFirstSampleThenTimer) {
    setSwapMiB(50);
    window.onLoad();
    ASSERT_FALSE(window.ended());
    EXPECT_EQ(fake.view.windowCaption, "Corvane V 1.0.0");
    EXPECT_EQ(fake.view.widthTwips, 5995);
    EXPECT_EQ(label(Control::Label1), "Analyse du fichier SWAP (C:\\pagefile.sys) depuis :");
    EXPECT_EQ(label(Control::swap), "SWAP: 50 Mo  Mini: 50 Mo  Maxi: 50 Mo  Moy: 50 Mo");
    EXPECT_TRUE(fake.view.timers[TimerId::MainTimer1].enabled);
    EXPECT_TRUE(window.context().dbActif);
    // The header comes before the sample.
    auto position = [&](Control c) {
        for (size_t i = 0; i < fake.view.writes.size(); ++i) {
            if (fake.view.writes[i].first == c) return i;
        }
        return fake.view.writes.size();
    };
    EXPECT_LT(position(Control::Windows), position(Control::swap));
}

TEST_F(StartupTest, NoSwapFileShowsTheCriticalMessageAfterTheHeaderAndEnds) {
    fake.registry.set(RootKey::LocalMachine, kMemoryManagementKey, "PagingFiles", kRegMultiSz,
                      std::string(" C:\\pagefile.sys 10 20\0\0", 25));
    fake.system.version = fake::osVersion(2, 5, 1, 2600, "Service Pack 3", 1);
    size_t headerWrites = 0;
    fake.dialogs.onShow = [&](const fake::FakeDialogs::Shown&) {
        headerWrites = fake.view.writes.size();
    };
    window.onLoad();
    ASSERT_EQ(fake.dialogs.shown.size(), 1u);
    EXPECT_EQ(fake.dialogs.shown[0].text,
              "WINDOWS XP (5.1.2600 Service Pack 3) WS ???\r\nFichier SWAP non trouvé !\r\n"
              "Envoyez moi un mail SVP !");
    EXPECT_EQ(fake.dialogs.shown[0].title, "Erreur terrible!.....");
    EXPECT_EQ(fake.dialogs.shown[0].style.icon, MsgIcon::Critical);
    EXPECT_GT(headerWrites, 0u);
    EXPECT_EQ(fake.view.texts[Control::swap], "Fichier Swap");  // no sample was taken
    // Applying the stored period started it; the missing file stopped it again.
    EXPECT_FALSE(fake.view.timers[TimerId::MainTimer1].enabled);
    EXPECT_TRUE(window.ended());
    EXPECT_EQ(fake.view.endProgramCalls, 1);
}

TEST_F(StartupTest, UnexpectedErrorInTheFirstTickIsReportedAndTheWindowCloses) {
    setSwapMiB(50);
    fake.system.memoryError = RuntimeError(kErrDeviceIo);
    window.onLoad();
    ASSERT_EQ(fake.dialogs.shown.size(), 1u);
    EXPECT_EQ(fake.dialogs.shown[0].text,
              "Erreur : 57\r\nErreur d'entrée/sortie de périphérique\r\n"
              "Envoyez-moi un mél avec cette copie d'écran SVP, merci");
    EXPECT_EQ(fake.dialogs.shown[0].title, "Erreur imprévue au chargement");
    EXPECT_EQ(fake.dialogs.shown[0].style.icon, MsgIcon::Critical);
    EXPECT_TRUE(window.ended());
    // Only the stored period's start: start-up never reached enabling the timer itself.
    EXPECT_EQ(fake.view.timers[TimerId::MainTimer1].starts, 1);
}

TEST_F(StartupTest, TypeMismatchInTheFirstTickIsReportedAndStartUpGoesOnToTheTimer) {
    setSwapMiB(50);
    fake.system.memoryError = RuntimeError(kErrTypeMismatch);
    window.onLoad();
    ASSERT_EQ(fake.dialogs.shown.size(), 1u);
    EXPECT_EQ(fake.dialogs.shown[0].text,
              "Problème au chargement de vos paramères !\r\nRéinitialisation");
    EXPECT_EQ(fake.dialogs.shown[0].title, "Vous pouvez continuer !");
    EXPECT_EQ(fake.dialogs.shown[0].style.icon, MsgIcon::Information);
    EXPECT_FALSE(window.ended());
    EXPECT_TRUE(fake.view.timers[TimerId::MainTimer1].enabled);
}

TEST_F(StartupTest, ChangedPagingParametersAreSeenOnlyWithSavedSamples) {
    setSwapMiB(50);
    Context& c = window.context();
    c.state.swapPath = "C:\\pagefile.sys";
    c.state.memoSwap = "C:\\pagefile.sys";
    EXPECT_FALSE(ChangementParam(c));
    c.state.minPagingSize = 2;
    EXPECT_TRUE(ChangementParam(c));
    c.state.minPagingSize = 0;
    c.state.maxPagingSize = 1.5;
    EXPECT_TRUE(ChangementParam(c));
    c.state.maxPagingSize = 0;
    c.state.memoSwap = "D:\\pagefile.sys";
    EXPECT_TRUE(ChangementParam(c));

    // Nothing saved yet: the check is skipped, so no warning on a first run.
    window.onLoad();
    EXPECT_TRUE(fake.dialogs.shown.empty());
}

TEST_F(StartupTest, ChangedPagingParametersWarnOnceWithTheApplicationTitle) {
    setSwapMiB(50);
    fake.settings.values["NB"] = "5";
    fake.settings.values["MemoSwap"] = "D:\\old.sys";
    window.onLoad();
    ASSERT_EQ(fake.dialogs.shown.size(), 1u);
    EXPECT_EQ(fake.dialogs.shown[0].text,
              "Vos paramètres de fichier SWAP ont changé\r\nRéinitialisation de l'analyse");
    EXPECT_EQ(fake.dialogs.shown[0].title, "Corvane");
    EXPECT_EQ(fake.dialogs.shown[0].style.icon, MsgIcon::Exclamation);
}

class KeysTest : public MonitorTest {
protected:
    void SetUp() override {
        setSwapMiB(50);
        window.onLoad();
    }
};

TEST_F(KeysTest, LowerCaseDShowsTheScratchListAndUpperCaseDoesNothing) {
    window.onKeyPress('D');
    EXPECT_FALSE(fake.db.shown);
    window.onKeyPress('d');
    EXPECT_TRUE(fake.db.shown);
    EXPECT_TRUE(window.context().dbActif);
    int loads = fake.db.loads;
    fake.db.shown = false;
    window.onKeyPress('d');  // already loaded: shown again, not made anew
    EXPECT_TRUE(fake.db.shown);
    EXPECT_EQ(fake.db.loads, loads);
}

TEST_F(KeysTest, DAfterClosingTheScratchListFillsItAgain) {
    fake.db.unload();
    window.onDbUnload();
    EXPECT_FALSE(window.context().dbActif);
    window.onKeyPress('d');
    EXPECT_TRUE(window.context().dbActif);
    tick();
    EXPECT_EQ(fake.db.lists[DbList::List1].size(), 7u);
}

TEST_F(KeysTest, JSwitchesTheAboutWindowAtExitBackAndForth) {
    window.onKeyPress('j');
    EXPECT_TRUE(window.state().sansApropos);
    window.onKeyPress('J');
    EXPECT_TRUE(window.state().sansApropos);
    window.onKeyPress('j');
    EXPECT_FALSE(window.state().sansApropos);
}

TEST_F(KeysTest, EscapeEndsTheProgramAndLaterEventsAreIgnored) {
    window.onKeyPress('x');
    EXPECT_FALSE(window.ended());
    window.onKeyPress(27);
    EXPECT_TRUE(window.ended());
    EXPECT_EQ(fake.view.endProgramCalls, 1);
    int samples = window.state().stats.sampleCount;
    tick();
    window.onUnload();
    EXPECT_EQ(window.state().stats.sampleCount, samples);
    EXPECT_EQ(fake.view.endProgramCalls, 1);
}

TEST_F(KeysTest, QuitAndCloseBoxEndTheSameWay) {
    window.onMenu(MenuItem::quitter);
    EXPECT_TRUE(window.ended());
    EXPECT_EQ(fake.view.endProgramCalls, 1);

    fake::FakePlatform other;
    other.files.resize("C:\\pagefile.sys", 10 * kMiB);
    other.registry.setMultiString(RootKey::LocalMachine, kMemoryManagementKey, "PagingFiles",
                                  {"C:\\pagefile.sys 1 2"});
    MainWindow second(other.platform);
    second.onLoad();
    second.onUnload();
    EXPECT_TRUE(second.ended());
    EXPECT_EQ(other.view.endProgramCalls, 1);
}

TEST_F(KeysTest, SessionEndShowsNoWindow) {
    window.onEndSession();
    EXPECT_TRUE(window.ended());
    EXPECT_TRUE(fake.dialogs.shown.empty());
    EXPECT_EQ(fake.windows.aboutShown, 0);
}

}  // namespace
}  // namespace corvane::testing
