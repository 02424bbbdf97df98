// The history from the main window: its menu item, the open window told of each new minute,
// and the export through the Save As dialog.
#include "harness.h"
#include "history/history_csv.h"
#include "program/recording.h"

namespace corvane::testing {
namespace {

class HistoryWindowTest : public MonitorTest {
protected:
    void SetUp() override {
        fake.files.put("C:\\Corvane\\Corvane.exe", "");
        fake.files.put("D:\\Exports\\lisez-moi.txt", "");
        setSwapMiB(1536);
        window.onLoad();
        ASSERT_FALSE(window.ended());
    }
    void nextMinute() {
        fake.system.utc.minute += 1;
        tick();
    }
    History& history() { return window.context().state.history; }
};

TEST_F(HistoryWindowTest, TheMenuItemOpensTheWindowWhichIsToldOfEachNewMinute) {
    window.onMenu(MenuItem::history);
    EXPECT_EQ(fake.windows.historyShown, 1);
    ASSERT_EQ(fake.windows.shownHistory, &history());
    EXPECT_EQ(history().view(), &fake.windows.historyView);
    tick();  // same minute: nothing new
    EXPECT_EQ(fake.windows.historyView.refreshes, 0);
    nextMinute();
    nextMinute();
    EXPECT_EQ(fake.windows.historyView.refreshes, 2);
    // The dashed lines follow the analysis.
    EXPECT_TRUE(history().analysis().any);
    EXPECT_EQ(history().analysis().maximum, 1536);
    fake.windows.closeHistory();
    nextMinute();
    EXPECT_EQ(fake.windows.historyView.refreshes, 2);
    EXPECT_EQ(history().view(), nullptr);

    // A window that cannot be made is said so, and the program goes on.
    fake.windows.historyError = RuntimeError(kErrOutOfMemory);
    window.onMenu(MenuItem::history);
    EXPECT_FALSE(window.ended());
    ASSERT_EQ(fake.dialogs.shown.size(), 1u);
    EXPECT_EQ(fake.dialogs.shown[0].text, "La fenêtre de l'historique n'a pas pu s'ouvrir.\r\n" +
                                              errorDescription(kErrOutOfMemory));
    EXPECT_EQ(history().view(), nullptr);
}

TEST_F(HistoryWindowTest, ExportOffersADatedNameInTheDocumentsAndSaysWhereItWrote) {
    nextMinute();
    auto exportNow = [&] { exportHistory(fake.system, fake.dialogs, fake.files, history()); };
    fake.dialogs.saveAsAnswers.push_back("D:\\Exports\\swap.csv");
    exportNow();
    ASSERT_EQ(fake.dialogs.saveAsCalls.size(), 1u);
    EXPECT_EQ(fake.dialogs.saveAsCalls[0].title, "Exporter l'historique");
    // The local day (07:16 in Paris), never the history's own name or folder.
    EXPECT_EQ(fake.dialogs.saveAsCalls[0].suggestedName, "Corvane-historique-2026-12-08.csv");
    EXPECT_EQ(fake.dialogs.saveAsCalls[0].folder, "C:\\Users\\Moi\\Documents");
    EXPECT_EQ(fake.dialogs.saveAsCalls[0].pattern, "*.csv");
    EXPECT_EQ(fake.files.contents("D:\\Exports\\swap.csv"),
              std::string(kExportHeader) + "\r\nminute;2026-12-08 06:15;1536;1536;1536;812;\r\n");
    ASSERT_EQ(fake.dialogs.shown.size(), 1u);
    EXPECT_EQ(fake.dialogs.shown[0].text,
              "L'historique a été exporté dans :\r\nD:\\Exports\\swap.csv");
    EXPECT_EQ(fake.dialogs.shown[0].style.icon, MsgIcon::Information);
    EXPECT_EQ(exportName({2027, 1, 5, 0, 0, 0}), "Corvane-historique-2027-01-05.csv");

    fake.dialogs.shown.clear();
    exportNow();  // cancelled
    EXPECT_TRUE(fake.dialogs.shown.empty());

    fake.files.readOnlyFolders.insert("D:\\Exports");
    fake.dialogs.saveAsAnswers.push_back("D:\\Exports\\autre.csv");
    exportNow();
    ASSERT_EQ(fake.dialogs.shown.size(), 1u);
    EXPECT_EQ(fake.dialogs.shown[0].text,
              "L'historique n'a pas pu être exporté vers D:\\Exports\\autre.csv\r\n" +
                  errorDescription(kErrPathFileAccess));
    EXPECT_EQ(fake.dialogs.shown[0].title, "Historique du fichier SWAP");
    EXPECT_EQ(fake.dialogs.shown[0].style.icon, MsgIcon::Exclamation);
}

TEST_F(HistoryWindowTest, ExportRefusesTheHistoryBeforeAskingToReplaceAndOpensTheDialogAgain) {
    nextMinute();
    const std::string before = fake.files.contents("C:\\Corvane\\Corvane.csv").value();
    // The history itself: refused at once, with no question, and the dialog comes back; then
    // a file that is there: asked, "Non" by default, the dialog again; then replaced.
    fake.dialogs.saveAsAnswers = {"c:\\corvane\\CORVANE.CSV", "D:\\Exports\\lisez-moi.txt",
                                  "D:\\Exports\\lisez-moi.txt"};
    fake.dialogs.answers = {MsgAnswer::Ok, MsgAnswer::No, MsgAnswer::Yes};
    exportHistory(fake.system, fake.dialogs, fake.files, history());
    EXPECT_EQ(fake.dialogs.saveAsCalls.size(), 3u);
    ASSERT_EQ(fake.dialogs.shown.size(), 4u);
    EXPECT_EQ(fake.dialogs.shown[0].text,
              "c:\\corvane\\CORVANE.CSV\r\nCe fichier est l'historique que Corvane tient à "
              "jour : il ne peut pas être remplacé par sa copie. Choisissez un autre nom.");
    EXPECT_EQ(fake.dialogs.shown[0].style.buttons, MsgButtons::Ok);
    for (size_t i : {1u, 2u}) {
        EXPECT_EQ(fake.dialogs.shown[i].text,
                  "D:\\Exports\\lisez-moi.txt\r\nCe fichier existe déjà. Voulez-vous le "
                  "remplacer ?");
        EXPECT_EQ(fake.dialogs.shown[i].style.buttons, MsgButtons::YesNo);
        EXPECT_EQ(fake.dialogs.shown[i].style.defaultButton, MsgDefault::Second);
    }
    EXPECT_EQ(fake.dialogs.shown[3].text,
              "L'historique a été exporté dans :\r\nD:\\Exports\\lisez-moi.txt");
    EXPECT_EQ(fake.files.contents("C:\\Corvane\\Corvane.csv"), before);
    EXPECT_EQ(fake.files.contents("D:\\Exports\\lisez-moi.txt"),
              std::string(kExportHeader) + "\r\nminute;2026-12-08 06:15;1536;1536;1536;812;\r\n");
}

TEST_F(HistoryWindowTest, ResettingEverythingStartsANewHistoryAndKeepsThePreviousOne) {
    const std::string header = std::string(kHistoryHeader) + "\r\n";
    const std::string line15 = "2026-12-08 06:15;1536;1536;1536;812;\r\n";
    const std::string line16 = "2026-12-08 06:16;1536;1536;1536;812;\r\n";
    nextMinute();  // 06:15 recorded, 06:16 in progress
    window.onMenu(MenuItem::history);
    fake.dialogs.answers.push_back(MsgAnswer::Yes);
    window.onMenu(MenuItem::InitJournal);  // the journal alone
    EXPECT_EQ(fake.files.contents("C:\\Corvane\\Corvane.csv"), header + line15);
    EXPECT_FALSE(fake.files.exists("C:\\Corvane\\Corvane.csv.old"));
    window.onMenu(MenuItem::InitAll);  // answered "No"
    EXPECT_EQ(history().records().size(), 1u);

    fake.dialogs.answers.push_back(MsgAnswer::Yes);
    window.onMenu(MenuItem::InitAll);
    EXPECT_EQ(fake.files.contents("C:\\Corvane\\Corvane.csv.old"), header + line15 + line16);
    EXPECT_EQ(fake.files.contents("C:\\Corvane\\Corvane.csv"), header);
    EXPECT_TRUE(history().records().empty());
    EXPECT_EQ(fake.windows.historyView.refreshes, 1);

    nextMinute();
    nextMinute();
    fake.dialogs.answers.push_back(MsgAnswer::Yes);
    window.onMenu(MenuItem::InitAll);
    // One generation: the first history is gone, the second is the old file.
    EXPECT_EQ(fake.files.contents("C:\\Corvane\\Corvane.csv.old"),
              header +
                  "2026-12-08 06:17;1536;1536;1536;812;\r\n"
                  "2026-12-08 06:18;1536;1536;1536;812;\r\n");
    EXPECT_EQ(fake.files.contents("C:\\Corvane\\Corvane.csv"), header);
}

}  // namespace
}  // namespace corvane::testing
