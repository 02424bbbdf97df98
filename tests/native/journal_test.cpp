// The journal file, its rotation, its viewer, the reset commands and the ways out that close it.
#include <algorithm>
#include <filesystem>

#include "harness.h"

namespace corvane::testing {
namespace {

constexpr const char* kJournal = "C:\\Corvane\\Corvane.txt";
constexpr const char* kOld = "C:\\Corvane\\Corvane.old";

// The start line as the 1252 code page writes it at the fake's date and time.
const std::string kStartLine = "D\351but d'analyse le 08/12/2026 \340 07:15:30\r\n";

class JournalTest : public MonitorTest {
protected:
    void SetUp() override {
        setSwapMiB(50);
        fake.settings.values["Raffraichissement"] = "5";
        window.onLoad();
        ASSERT_FALSE(window.ended());
    }
    std::string file(const char* path) { return fake.files.contents(path).value_or("<none>"); }
    void answer(MsgAnswer a) { fake.dialogs.answers.push_back(a); }
    size_t count(const std::string& text, const std::string& part) {
        size_t n = 0;
        for (size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) {
            ++n;
        }
        return n;
    }
};

TEST_F(JournalTest, TwoRunsLeaveAStartLineAndASummaryEach) {
    setSwapMiB(70);
    tick();
    fake.system.local = {2026, 12, 8, 8, 0, 5};
    window.onMenu(MenuItem::quitter);

    fake.system.local = {2026, 12, 9, 9, 1, 2};
    setSwapMiB(40);
    MainWindow second(fake.platform);
    second.onLoad();
    fake.system.local = {2026, 12, 9, 10, 11, 12};
    second.onKeyPress(27);

    EXPECT_EQ(file(kJournal),
              kStartLine +
                  "    Votre fichier SWAP a atteint la taille maximale de : 70Mo\r\n"
                  "    Votre fichier SWAP a eu en moyenne la taille de    : 60Mo\r\n"
                  "Fin d'analyse le   08/12/2026 \340 08:00:05\r\n"
                  "\r\n"
                  "D\351but d'analyse le 09/12/2026 \340 09:01:02\r\n"
                  "    Votre fichier SWAP a atteint la taille maximale de : 70Mo\r\n"
                  "    Votre fichier SWAP a eu en moyenne la taille de    : 53Mo\r\n"
                  "Fin d'analyse le   09/12/2026 \340 10:11:12\r\n"
                  "\r\n");
}

TEST_F(JournalTest, WithoutASwapFileTheSummaryStillHasItsFourLines) {
    fake::FakePlatform f;
    MainWindow w(f.platform);
    w.onLoad();  // no paging configuration: nothing to sample
    ASSERT_TRUE(w.ended());
    EXPECT_EQ(f.files.contents(kJournal).value_or(""),
              kStartLine +
                  "    Votre fichier SWAP a atteint la taille maximale de : 0Mo\r\n"
                  "    Votre fichier SWAP a eu en moyenne la taille de    : 0Mo\r\n"
                  "Fin d'analyse le   08/12/2026 \340 07:15:30\r\n\r\n");
}

TEST_F(JournalTest, RotationsKeepOneOlderJournalAndNoticeOnlyAReplacement) {
    // First reset: nothing old to replace, so nothing to say.
    answer(MsgAnswer::Yes);
    window.onMenu(MenuItem::InitJournal);
    EXPECT_EQ(fake.dialogs.shown.size(), 1u);  // the question alone
    EXPECT_EQ(file(kOld), kStartLine);
    EXPECT_EQ(file(kJournal), kStartLine);

    // Second reset: the old journal is replaced, and the notice names it in full.
    fake.system.local.minute = 20;
    answer(MsgAnswer::Yes);
    window.onMenu(MenuItem::InitJournal);
    ASSERT_EQ(fake.dialogs.shown.size(), 3u);
    EXPECT_EQ(fake.dialogs.shown[2].text,
              "L'ancien journal a été renommé C:\\Corvane\\Corvane.old");
    EXPECT_EQ(fake.dialogs.shown[2].title, "Journal réinitialisé");
    EXPECT_EQ(fake.dialogs.shown[2].style.buttons, MsgButtons::Ok);
    EXPECT_EQ(fake.dialogs.shown[2].style.icon, MsgIcon::None);
    EXPECT_EQ(file(kOld), kStartLine);
    EXPECT_EQ(file(kJournal), "D\351but d'analyse le 08/12/2026 \340 07:20:30\r\n");
}

TEST_F(JournalTest, ResetWithoutAJournalMovesNothingAndSaysNothing) {
    std::filesystem::remove(fake.files.hostPath(kJournal));
    answer(MsgAnswer::Yes);
    window.onMenu(MenuItem::InitJournal);
    EXPECT_EQ(fake.dialogs.shown.size(), 1u);
    EXPECT_FALSE(fake.files.exists(kOld));
    EXPECT_EQ(file(kJournal), kStartLine);
}

TEST_F(JournalTest, ARenameThatFailsIsShownInsteadOfTheNotice) {
    fake.files.readOnlyFolders.insert("C:\\Corvane");
    answer(MsgAnswer::Yes);
    window.onMenu(MenuItem::InitJournal);
    ASSERT_EQ(fake.dialogs.shown.size(), 2u);
    EXPECT_EQ(fake.dialogs.shown[1].text,
              "Le journal n'a pas été réinitialisé : impossible de renommer "
              "C:\\Corvane\\Corvane.txt en C:\\Corvane\\Corvane.old\r\n"
              "Erreur 75 : Erreur d'accès Chemin/Fichier");
    EXPECT_EQ(fake.dialogs.shown[1].title, "Corvane");
    EXPECT_FALSE(fake.files.exists(kOld));
    EXPECT_EQ(file(kJournal), kStartLine);
    EXPECT_FALSE(window.ended());
}

TEST_F(JournalTest, AJournalHeldByAnEditorKeepsTheOldOneUntilItCanTakeItsPlace) {
    fake.files.put(kOld, "ancien\r\n");
    fake.files.lockedFiles.insert(kJournal);
    answer(MsgAnswer::Yes);
    window.onMenu(MenuItem::InitJournal);
    ASSERT_EQ(fake.dialogs.shown.size(), 2u);
    EXPECT_EQ(fake.dialogs.shown[1].text,
              "Le journal n'a pas été réinitialisé : impossible de renommer "
              "C:\\Corvane\\Corvane.txt en C:\\Corvane\\Corvane.old\r\n" +
                  std::string(RuntimeError(kErrPermissionDenied).what()));
    EXPECT_EQ(file(kOld), "ancien\r\n");
    EXPECT_EQ(file(kJournal), kStartLine);

    fake.files.lockedFiles.clear();
    answer(MsgAnswer::Yes);
    window.onMenu(MenuItem::InitJournal);
    ASSERT_EQ(fake.dialogs.shown.size(), 4u);
    EXPECT_EQ(fake.dialogs.shown[3].text,
              "L'ancien journal a été renommé C:\\Corvane\\Corvane.old");
    EXPECT_EQ(file(kOld), kStartLine);
}

TEST_F(JournalTest, TheViewerGetsTheQuotedPathAndAFailureIsExplained) {
    fake::FakePlatform f;
    f.system.appDir = "C:\\Program Files\\Corvane";
    f.files.put(f.system.appDir + "\\Corvane.exe", "");
    f.files.resize("C:\\pagefile.sys", 50 * kMiB);
    f.registry.setMultiString(RootKey::LocalMachine, kMemoryManagementKey, "PagingFiles",
                              {"C:\\pagefile.sys 1 2"});
    MainWindow w(f.platform);
    w.onLoad();
    w.onMenu(MenuItem::journal);
    ASSERT_EQ(f.shell.calls.size(), 1u);
    EXPECT_EQ(f.shell.calls[0].kind, "run");
    EXPECT_EQ(f.shell.calls[0].command, "notepad.exe \"C:\\Program Files\\Corvane\\Corvane.txt\"");
    EXPECT_EQ(f.shell.calls[0].show, WindowShow::Normal);
    EXPECT_TRUE(f.dialogs.shown.empty());

    f.shell.failures.push_back(RuntimeError(kErrFileNotFound));
    w.onMenu(MenuItem::journal);
    ASSERT_EQ(f.dialogs.shown.size(), 1u);
    EXPECT_EQ(f.dialogs.shown[0].text,
              "Impossible d'ouvrir le journal C:\\Program Files\\Corvane\\Corvane.txt dans "
              "l'éditeur notepad.exe\r\nErreur 53 : Fichier introuvable");
    EXPECT_FALSE(w.ended());
}

TEST_F(JournalTest, InAReadOnlyFolderTheRunGoesOnAndOnlyTheLostSummaryIsReported) {
    fake::FakePlatform f;
    f.files.readOnlyFolders.insert("C:\\Corvane\\");
    f.files.resize("C:\\pagefile.sys", 50 * kMiB);
    f.registry.setMultiString(RootKey::LocalMachine, kMemoryManagementKey, "PagingFiles",
                              {"C:\\pagefile.sys 1 2"});
    std::string savedCountWhenShown;
    f.dialogs.onShow = [&](const fake::FakeDialogs::Shown&) {
        savedCountWhenShown = f.settings.values["NB"];
    };
    MainWindow w(f.platform);
    w.onLoad();
    // Said once at start-up, before anything of the run is lost.
    ASSERT_EQ(f.dialogs.shown.size(), 1u);
    EXPECT_EQ(f.dialogs.shown[0].text,
              "Corvane ne peut pas écrire dans son dossier C:\\Corvane\\\r\n"
              "Le journal et l'historique n'y seront pas enregistrés.");
    w.onTimer(TimerId::MainTimer1);
    w.onMenu(MenuItem::quitter);
    ASSERT_EQ(f.dialogs.shown.size(), 2u);
    EXPECT_EQ(f.dialogs.shown[1].text,
              "Le résumé de l'analyse n'a pas pu être écrit dans le journal "
              "C:\\Corvane\\Corvane.txt\r\nErreur 75 : Erreur d'accès Chemin/Fichier");
    EXPECT_EQ(savedCountWhenShown, "2");
    EXPECT_FALSE(f.files.exists(kJournal));
    EXPECT_TRUE(w.ended());
}

TEST_F(JournalTest, SessionEndSavesAndClosesTheJournalWithoutAnyWindow) {
    fake.files.readOnlyFolders.insert("C:\\Corvane");  // even a failure stays silent
    window.onEndSession();
    EXPECT_TRUE(window.ended());
    EXPECT_EQ(fake.view.endProgramCalls, 1);
    EXPECT_TRUE(fake.dialogs.shown.empty());
    EXPECT_EQ(fake.windows.aboutShown, 0);
    EXPECT_EQ(fake.settings.values["NB"], "1");

    fake::FakePlatform f;
    f.files.resize("C:\\pagefile.sys", 50 * kMiB);
    f.registry.setMultiString(RootKey::LocalMachine, kMemoryManagementKey, "PagingFiles",
                              {"C:\\pagefile.sys 1 2"});
    MainWindow w(f.platform);
    w.onLoad();
    w.onEndSession();
    EXPECT_EQ(count(f.files.contents(kJournal).value_or(""), "Fin d'analyse"), 1u);
}

TEST_F(JournalTest, SessionEndDuringAQuestionClosesTheAnalysisOnce) {
    fake.dialogs.onShow = [&](const fake::FakeDialogs::Shown&) { window.onEndSession(); };
    window.onMenu(MenuItem::InitAll);  // the question is left unanswered: "No"
    fake.dialogs.onShow = nullptr;
    EXPECT_TRUE(window.ended());
    window.onMenu(MenuItem::quitter);
    window.onUnload();
    EXPECT_EQ(count(file(kJournal), "Fin d'analyse"), 1u);
    EXPECT_EQ(fake.settings.values["NB"], "1");
    EXPECT_EQ(fake.view.endProgramCalls, 1);
}

TEST_F(JournalTest, SessionEndDuringTheRotationNoticeLeavesAJournalThatBeginsWithItsStartLine) {
    answer(MsgAnswer::Yes);
    window.onMenu(MenuItem::InitAll);
    answer(MsgAnswer::Yes);
    fake.dialogs.onShow = [&](const fake::FakeDialogs::Shown& shown) {
        if (shown.title == "Journal réinitialisé") window.onEndSession();
    };
    window.onMenu(MenuItem::InitAll);
    fake.dialogs.onShow = nullptr;
    EXPECT_TRUE(window.ended());
    EXPECT_EQ(fake.dialogs.shown.size(), 3u);
    EXPECT_EQ(file(kOld), kStartLine);
    const std::string journal = file(kJournal);
    EXPECT_EQ(journal.rfind(kStartLine, 0), 0u) << journal;
    EXPECT_EQ(count(journal, "Fin d'analyse"), 1u) << journal;
    EXPECT_EQ(count(journal, "D\351but d'analyse"), 1u) << journal;
    EXPECT_EQ(fake.settings.values["NB"], "0");
}

TEST_F(JournalTest, SessionEndWhileTheExitWaitsOnAMessageClosesNothingTwice) {
    fake.files.readOnlyFolders.insert("C:\\Corvane");
    fake.dialogs.onShow = [&](const fake::FakeDialogs::Shown&) { window.onEndSession(); };
    window.onMenu(MenuItem::quitter);  // the lost summary is being reported
    EXPECT_EQ(fake.dialogs.shown.size(), 1u);
    EXPECT_EQ(std::count(fake.settings.savedKeys.begin(), fake.settings.savedKeys.end(), "NB"), 1);
    EXPECT_TRUE(window.ended());
    EXPECT_EQ(fake.view.endProgramCalls, 1);
}

TEST_F(JournalTest, EnterAnswersNoToBothResets) {
    setSwapMiB(70);
    tick();
    auto settings = fake.settings.values;
    for (MenuItem item : {MenuItem::InitJournal, MenuItem::InitAll}) {
        window.onMenu(item);
    }
    ASSERT_EQ(fake.dialogs.shown.size(), 2u);
    EXPECT_EQ(fake.dialogs.shown[0].text, "Voulez-vous vraiment réinitialiser le journal ?");
    EXPECT_EQ(fake.dialogs.shown[1].text,
              "Voulez-vous vraiment réinitialiser le journal et toutes les données mémorisées ?");
    for (const auto& shown : fake.dialogs.shown) {
        EXPECT_EQ(shown.title, "Réinitialisation du journal");
        EXPECT_EQ(shown.style.buttons, MsgButtons::YesNo);
        EXPECT_EQ(shown.style.icon, MsgIcon::Question);
        EXPECT_EQ(shown.style.defaultButton, MsgDefault::Second);
    }
    EXPECT_EQ(fake.settings.values, settings);
    EXPECT_EQ(window.state().stats.sampleCount, 2);
    EXPECT_EQ(file(kJournal), kStartLine);
    EXPECT_FALSE(fake.files.exists(kOld));
}

TEST_F(JournalTest, ResettingTheJournalKeepsTheStatistics) {
    setSwapMiB(70);
    tick();
    auto settings = fake.settings.values;
    answer(MsgAnswer::Yes);
    window.onMenu(MenuItem::InitJournal);
    EXPECT_EQ(fake.settings.values, settings);
    EXPECT_EQ(window.state().stats.sampleCount, 2);
    EXPECT_EQ(window.state().stats.maximum, 70);
    EXPECT_EQ(file(kOld), kStartLine);
}

TEST_F(JournalTest, ResettingEverythingTwiceStartsANewAnalysisEachTime) {
    setSwapMiB(70);
    tick();
    window.onKeyPress('j');
    fake.system.ticks += 90000;
    answer(MsgAnswer::Yes);
    window.onMenu(MenuItem::InitAll);
    EXPECT_EQ(fake.settings.values["NB"], "0");
    EXPECT_EQ(fake.settings.values["MaxSwap"], "0");
    EXPECT_EQ(fake.settings.values["TotSwap"], "0");
    EXPECT_EQ(fake.settings.values["MinSwap"], "32767");
    EXPECT_EQ(fake.settings.values["Elapsed"], "0");
    EXPECT_EQ(fake.settings.values["JM_R"], "True");
    EXPECT_EQ(fake.settings.values["Raffraichissement"], "5");
    EXPECT_EQ(fake.dialogs.shown.size(), 1u);  // first rotation: no notice
    EXPECT_EQ(file(kOld), kStartLine);

    fake.system.local.minute = 40;
    answer(MsgAnswer::Yes);
    window.onMenu(MenuItem::InitAll);
    ASSERT_EQ(fake.dialogs.shown.size(), 3u);
    EXPECT_EQ(fake.dialogs.shown[2].title, "Journal réinitialisé");
    EXPECT_EQ(file(kOld), kStartLine);  // only the first reset's start line

    setSwapMiB(30);
    fake.system.ticks += 4000;
    tick();
    EXPECT_EQ(label(Control::swap), "SWAP: 30 Mo  Mini: 30 Mo  Maxi: 30 Mo  Moy: 30 Mo");
    EXPECT_EQ(label(Control::DebutWin), " 4 s");
}

}  // namespace
}  // namespace corvane::testing
