// What the platform layer relies on from the core: replacing a file by renames where Windows
// has no one-step replace, the name two copies of one folder meet under, the registry's short
// numbers, and the addresses the command interpreter would change.
#include <map>
#include <new>

#include "about/links.h"
#include "harness.h"
#include "platform/callback_guard.h"
#include "platform/file_replace.h"
#include "platform/instance_names.h"
#include "platform/tray_updates.h"
#include "probes/registry_reader.h"

namespace corvane::testing {
namespace {

// Files by name in memory, each rename or removal logged; a step can be made to fail.
class MemoryRenames : public RenameSteps {
public:
    std::map<std::string, std::string> files;
    std::vector<std::string> log;
    std::string failing;  // "rename FROM" or "remove PATH" that fails with 70

    bool exists(const std::string& path) override { return files.count(path) > 0; }
    void rename(const std::string& from, const std::string& to) override {
        step("rename " + from);
        if (!files.count(from) || files.count(to)) throw RuntimeError(kErrFileExists);
        files[to] = files[from];
        files.erase(from);
        check();
    }
    void remove(const std::string& path) override {
        step("remove " + path);
        if (!files.erase(path)) throw RuntimeError(kErrFileNotFound);
        check();
    }
    // After every step: the old content is at the target or aside, or the new one is in place.
    std::string oldContent;
    std::string newContent;
    void check() {
        const std::string aside = asidePath("C:\\h.csv");
        bool oldKept = files["C:\\h.csv"] == oldContent || files[aside] == oldContent;
        bool newInPlace = files["C:\\h.csv"] == newContent;
        if (files["C:\\h.csv"].empty()) files.erase("C:\\h.csv");
        if (files[aside].empty()) files.erase(aside);
        EXPECT_TRUE(oldKept || newInPlace) << "after " << log.back();
    }

private:
    void step(const std::string& what) {
        log.push_back(what);
        if (what == failing) throw RuntimeError(kErrPermissionDenied);
    }
};

TEST(ReplaceByRenames, TheOldFileGoesAsideAndIsDeletedOnlyOnceTheNewOneIsInPlace) {
    MemoryRenames fs;
    fs.oldContent = "old";
    fs.newContent = "new";
    // The copies the program keeps of a user's file, under the names it gives them, are
    // never what a replace removes.
    fs.files = {{"C:\\h.csv", "old"},
                {"C:\\h.csv.tmp", "new"},
                {"C:\\h.csv.remplace", "stale"},
                {"C:\\h.csv.bak", "the user's lines"},
                {"C:\\h.csv.old", "the previous history"}};
    replaceByRenames(fs, "C:\\h.csv.tmp", "C:\\h.csv");
    EXPECT_EQ(fs.files,
              (std::map<std::string, std::string>{{"C:\\h.csv", "new"},
                                                  {"C:\\h.csv.bak", "the user's lines"},
                                                  {"C:\\h.csv.old", "the previous history"}}));
    EXPECT_EQ(fs.log,
              (std::vector<std::string>{"remove C:\\h.csv.remplace", "rename C:\\h.csv",
                                        "rename C:\\h.csv.tmp", "remove C:\\h.csv.remplace"}));

    // No old file: the new one is simply moved in.
    MemoryRenames first;
    first.newContent = "new";
    first.files = {{"C:\\h.csv.tmp", "new"}};
    replaceByRenames(first, "C:\\h.csv.tmp", "C:\\h.csv");
    EXPECT_EQ(first.files, (std::map<std::string, std::string>{{"C:\\h.csv", "new"}}));
}

TEST(ReplaceByRenames, AFailingStepNeverCostsTheOldContent) {
    struct Case {
        const char* failing;
        std::map<std::string, std::string> after;
        bool raises;
    };
    const std::vector<Case> cases = {
        // The old file cannot go aside: nothing has moved.
        {"rename C:\\h.csv", {{"C:\\h.csv", "old"}, {"C:\\h.csv.tmp", "new"}}, true},
        // The new one cannot move in: the old one comes back.
        {"rename C:\\h.csv.tmp", {{"C:\\h.csv", "old"}, {"C:\\h.csv.tmp", "new"}}, true},
        // Only the copy aside stays: the replace itself is done.
        {"remove C:\\h.csv.remplace", {{"C:\\h.csv", "new"}, {"C:\\h.csv.remplace", "old"}}, false},
    };
    for (const Case& test : cases) {
        SCOPED_TRACE(test.failing);
        MemoryRenames fs;
        fs.oldContent = "old";
        fs.newContent = "new";
        fs.files = {{"C:\\h.csv", "old"}, {"C:\\h.csv.tmp", "new"}};
        fs.failing = test.failing;
        bool raised = false;
        try {
            replaceByRenames(fs, "C:\\h.csv.tmp", "C:\\h.csv");
        } catch (const RuntimeError& error) {
            raised = true;
            EXPECT_EQ(error.number(), kErrPermissionDenied);
        }
        EXPECT_EQ(raised, test.raises);
        EXPECT_EQ(fs.files, test.after);
    }
}

// A shell whose calls fail on demand, each call logged: "add", "modify 3", "version".
class ScriptedTrayShell : public TrayShell {
public:
    std::vector<std::string> log;
    bool addFails = false;
    bool modifyFails = false;
    bool versionFails = false;
    bool add() override {
        log.push_back("add");
        return !addFails;
    }
    bool modify(unsigned changes) override {
        log.push_back(changes == kWholeIcon ? "modify all" : "modify " + std::to_string(changes));
        return !modifyFails;
    }
    bool setVersion() override {
        log.push_back("version");
        return !versionFails;
    }
};

TEST(TrayUpdates, AChangeTheBusyShellDidNotTakeIsSentAgainAndTheIconKeepsItsBalloons) {
    ScriptedTrayShell shell;
    TrayUpdates icon;
    EXPECT_TRUE(icon.show(shell, 3));
    EXPECT_TRUE(icon.show(shell, 0));  // nothing new: nothing sent
    EXPECT_EQ(shell.log, (std::vector<std::string>{"add", "version"}));

    // Paging hard, the shell lets a change time out; the icon is still there, so it refuses
    // the add as well.
    shell.log.clear();
    shell.modifyFails = true;
    shell.addFails = true;
    EXPECT_TRUE(icon.show(shell, 1));
    EXPECT_TRUE(icon.added()) << "the balloons still have their icon";
    shell.modifyFails = false;
    shell.addFails = false;
    EXPECT_TRUE(icon.show(shell, 2));
    EXPECT_TRUE(icon.show(shell, 2));
    EXPECT_EQ(shell.log, (std::vector<std::string>{"modify 1", "add", "modify 3", "modify 2"}));

    // A shell that lost the icon takes the add: the icon is back as it is now, and asks for
    // its behaviour again.
    shell.log.clear();
    shell.modifyFails = true;
    EXPECT_TRUE(icon.show(shell, 1));
    shell.modifyFails = false;
    EXPECT_TRUE(icon.show(shell, 0));
    EXPECT_EQ(shell.log, (std::vector<std::string>{"modify 1", "add", "version"}));

    // Taken away, or a shell started anew: the next showing adds it.
    shell.log.clear();
    icon.forget();
    EXPECT_FALSE(icon.added());
    shell.addFails = true;
    shell.modifyFails = true;
    EXPECT_FALSE(icon.show(shell, 1));
    shell.addFails = false;
    shell.modifyFails = false;
    EXPECT_TRUE(icon.show(shell, 0));
    EXPECT_EQ(shell.log, (std::vector<std::string>{"add", "modify all", "add", "version"}));
}

// Explorer at log-on: the add times out though the shell took it, and each later add is
// refused as a second icon of the same id.
TEST(TrayUpdates, AnAddThatTimedOutButWasTakenIsFoundByAChangeAndOlderMessagesServeMeanwhile) {
    ScriptedTrayShell shell;
    TrayUpdates icon;
    shell.addFails = true;
    shell.versionFails = true;
    EXPECT_TRUE(icon.show(shell, 0));
    EXPECT_TRUE(icon.added()) << "balloons and the removal at exit need it";
    EXPECT_FALSE(icon.newerMessages()) << "the shell still sends the older messages";
    EXPECT_TRUE(icon.show(shell, 1));
    shell.versionFails = false;
    EXPECT_TRUE(icon.show(shell, 0));
    EXPECT_TRUE(icon.newerMessages());
    EXPECT_TRUE(icon.show(shell, 0));
    EXPECT_EQ(shell.log, (std::vector<std::string>{"add", "modify all", "version", "modify 1",
                                                   "version", "version"}));
}

TEST(GuardedCallback, MemoryRunningOutInASystemCallbackStopsTheListInsteadOfUnwinding) {
    std::vector<std::string> listed;
    bool failed = false;
    auto collect = [&](const char* name) {
        return guardedCallback(failed, [&] {
            if (listed.size() == 2) throw std::bad_alloc();
            listed.emplace_back(name);
            return true;
        });
    };
    static_assert(noexcept(guardedCallback(failed, [] { return true; })));
    EXPECT_TRUE(collect("C:\\pagefile.sys"));
    EXPECT_TRUE(collect("D:\\pagefile.sys"));
    EXPECT_FALSE(failed);
    EXPECT_FALSE(collect("E:\\pagefile.sys"));  // stops the enumeration
    EXPECT_TRUE(failed);
    EXPECT_EQ(listed.size(), 2u);
}

TEST(FolderMutexName, OneFolderOneNameWhateverTheCaseAndTwoFoldersTwoNames) {
    const std::string name = folderMutexName("C:\\Users\\Дмитрий\\Corvane");
    EXPECT_EQ(name.rfind("Global\\Corvane.Folder.", 0), 0u);
    EXPECT_EQ(name.find('\\', 7), std::string::npos);  // no "\" after the namespace
    EXPECT_EQ(name.size(), std::string("Global\\Corvane.Folder.").size() + 16);
    EXPECT_EQ(folderMutexName("c:\\users\\ДМИТРИЙ\\CORVANE"), name);
    EXPECT_EQ(folderMutexName("C:\\Users\\Дмитрий\\Corvane\\"), name);
    EXPECT_EQ(folderMutexName("C:\\Użytkownicy\\Łukasz"),
              folderMutexName("C:\\UŻYTKOWNICY\\łUKASZ"));
    EXPECT_EQ(folderMutexName("C:\\Données\\Élodie"), folderMutexName("c:\\DONNÉES\\élodie"));
    EXPECT_NE(folderMutexName("C:\\Corvane"), folderMutexName("D:\\Corvane"));
    EXPECT_NE(folderMutexName("C:\\Users\\Дмитрий"), folderMutexName("C:\\Users\\Дмитрии"));
    EXPECT_NE(folderMutexName("C:\\Corvane"), folderMutexName("C:\\Corvane2"));
}

RegistryAnswer dword(const std::string& data) {
    RegistryAnswer a;
    a.type = kRegDword;
    a.dataSize = static_cast<uint32_t>(data.size());
    a.buffer.assign(kRegistryBufferSize, ' ');  // the reader's blank pre-fill
    std::copy(data.begin(), data.end(), a.buffer.begin());
    return a;
}

TEST(RegistryReader, ADwordShorterThanFourBytesIsReadWithoutTheBlankFill) {
    EXPECT_EQ(convertRegistryAnswer(dword(std::string("\x05\x00", 2))), "005");
    EXPECT_EQ(convertRegistryAnswer(dword("\x07")), "007");
    EXPECT_EQ(convertRegistryAnswer(dword(std::string("\x10\x27\x01", 3))), "75536");
    EXPECT_EQ(convertRegistryAnswer(dword("")), "000");
    // A short value names the same (unreadable) swap file as the whole one.
    fake::FakePlatform f;
    f.registry.set(RootKey::LocalMachine, kMemoryManagementKey, "PagingFiles", kRegDword,
                   std::string("\x05\x00", 2));
    MainWindow w(f.platform);
    w.onLoad();
    EXPECT_EQ(f.view.texts[Control::swap], "SWAP: taille illisible (005)");
}

TEST(StartFallback, AnAddressTheCommandInterpreterWouldExpandIsRefusedNotRun) {
    for (const char* address : {"C:\\100%USERNAME%\\aide.html", "http://x.example/%PATH%",
                                "mailto:a@b.example?subject=!OS!", "C:\\a\"b"}) {
        SCOPED_TRACE(address);
        fake::FakePlatform f;
        ErrStart(f.platform, address, RuntimeError(kErrFileNotFound));
        EXPECT_TRUE(f.shell.calls.empty());
        ASSERT_EQ(f.dialogs.shown.size(), 1u);
        EXPECT_EQ(f.dialogs.shown[0].title, "Problème Start");
        EXPECT_EQ(f.dialogs.shown[0].text, "Erreur : 52\r\nNom ou numéro de fichier incorrect");
    }
    // An address without them still gets its retry.
    fake::FakePlatform f;
    ErrStart(f.platform, "C:\\Program Files\\Corvane\\aide.html", RuntimeError(kErrFileNotFound));
    ASSERT_EQ(f.shell.calls.size(), 1u);
    EXPECT_EQ(f.shell.calls[0].command,
              "cmd /c start \"\" \"C:\\Program Files\\Corvane\\aide.html\"");
}

}  // namespace
}  // namespace corvane::testing
