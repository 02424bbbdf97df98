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
    window.onMenu(MenuItem::historique);
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
    window.onMenu(MenuItem::historique);
    EXPECT_FALSE(window.ended());
    ASSERT_EQ(fake.dialogs.shown.size(), 1u);
    EXPECT_EQ(fake.dialogs.shown[0].text, "La fenêtre de l'historique n'a pas pu s'ouvrir.\r\n" +
                                              errorDescription(kErrOutOfMemory));
    EXPECT_EQ(history().view(), nullptr);
}

TEST_F(HistoryWindowTest, ExportWritesTheCopyWhereTheUserChoosesAndSaysWhenItCannot) {
    nextMinute();
    fake.dialogs.saveAsAnswers.push_back("D:\\Exports\\swap.csv");
    Exporter(fake.dialogs, fake.files, history());
    ASSERT_EQ(fake.dialogs.saveAsCalls.size(), 1u);
    EXPECT_EQ(fake.dialogs.saveAsCalls[0].title, "Exporter l'historique");
    EXPECT_EQ(fake.dialogs.saveAsCalls[0].suggestedName, "Corvane.csv");
    EXPECT_EQ(fake.dialogs.saveAsCalls[0].pattern, "*.csv");
    EXPECT_EQ(fake.files.contents("D:\\Exports\\swap.csv"),
              std::string(kExportHeader) + "\r\nminute;2026-12-08 06:15;1536;1536;1536;812;\r\n");
    EXPECT_TRUE(fake.dialogs.shown.empty());

    Exporter(fake.dialogs, fake.files, history());  // cancelled
    EXPECT_TRUE(fake.dialogs.shown.empty());

    fake.files.readOnlyFolders.insert("D:\\Exports");
    fake.dialogs.saveAsAnswers.push_back("D:\\Exports\\autre.csv");
    Exporter(fake.dialogs, fake.files, history());
    ASSERT_EQ(fake.dialogs.shown.size(), 1u);
    EXPECT_EQ(fake.dialogs.shown[0].text,
              "L'historique n'a pas pu être exporté vers D:\\Exports\\autre.csv\r\n" +
                  errorDescription(kErrPathFileAccess));
    EXPECT_EQ(fake.dialogs.shown[0].title, "Historique du fichier SWAP");
    EXPECT_EQ(fake.dialogs.shown[0].style.icon, MsgIcon::Exclamation);

    std::string before = fake.files.contents("C:\\Corvane\\Corvane.csv").value();
    fake.dialogs.saveAsAnswers.push_back("c:\\corvane\\CORVANE.CSV");
    Exporter(fake.dialogs, fake.files, history());
    ASSERT_EQ(fake.dialogs.shown.size(), 2u);
    EXPECT_EQ(fake.dialogs.shown[1].text,
              "Ce fichier est l'historique lui-même : choisissez un autre nom.");
    EXPECT_EQ(fake.files.contents("C:\\Corvane\\Corvane.csv"), before);
}

TEST_F(HistoryWindowTest, ResettingEverythingStartsANewHistoryAndKeepsThePreviousOne) {
    const std::string header = std::string(kHistoryHeader) + "\r\n";
    const std::string line15 = "2026-12-08 06:15;1536;1536;1536;812;\r\n";
    const std::string line16 = "2026-12-08 06:16;1536;1536;1536;812;\r\n";
    nextMinute();  // 06:15 recorded, 06:16 in progress
    window.onMenu(MenuItem::historique);
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
