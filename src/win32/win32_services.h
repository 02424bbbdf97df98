// The Win32 implementations of the system, file, registry, settings, shell and dialog services.
#pragma once

#include <windows.h>

#include "common/ticks.h"
#include "platform/platform.h"

namespace corvane::win32 {

class Win32System : public System {
public:
    ~Win32System() override;
    bool getVersionEx(OsVersionRecord& record) override;
    SystemInfo getSystemInfo() override;
    MemoryStatus memoryStatus() override;
    uint64_t tickCount() override;
    std::string windowsDirectory() override;
    std::string applicationDirectory() override;
    std::string executableName() override;
    std::vector<int> programVersion() override;
    bool anotherInstanceRunning() override;
    DateTime localNow() override;
    DateTime utcNow() override;
    std::string formatShortDate(const DateTime& when) override;
    std::string formatTime(const DateTime& when) override;
    std::string formatShortTime(const DateTime& when) override;
    DateTime utcToLocal(const DateTime& utc) override;
    std::string decimalSeparator() override;
    std::string ansiToUtf8(const std::string& ansi) override;

private:
    HANDLE instanceMutex_ = nullptr;
    HANDLE folderMutex_ = nullptr;
    // GetTickCount carried across its 49.7-day wrap where GetTickCount64 is missing.
    WideTicks ticks_;
};

class Win32Files : public FileSystem {
public:
    SwapFileSize swapFileSize(const std::string& path) override;
    std::string readFile(const std::string& path) override;
    void appendText(const std::string& path, const std::string& text) override;
    void writeFile(const std::string& path, const std::string& bytes) override;
    void replaceFile(const std::string& source, const std::string& target) override;
    void deleteFile(const std::string& path) override;
    void renameFile(const std::string& from, const std::string& to) override;
    void copyFile(const std::string& from, const std::string& to) override;
    void flushFile(const std::string& path) override;
    std::optional<DateTime> lastModified(const std::string& path) override;
    bool sameFile(const std::string& a, const std::string& b) override;  // file_identity_win32
    bool isFolder(const std::string& path) override;
    uint64_t fileLength(const std::string& path) override;  // file_parts_win32
    std::string readPart(const std::string& path, uint64_t offset, uint32_t length) override;
};

class Win32Registry : public Registry {
public:
    RegistryAnswer queryValue(RootKey root, const std::string& keyPath,
                              const std::string& valueName, uint32_t bufferSize) override;
    std::optional<std::string> readText(RootKey root, const std::string& keyPath,
                                        const std::string& valueName) override;
    void writeText(RootKey root, const std::string& keyPath, const std::string& valueName,
                   const std::string& value) override;
    void deleteValue(RootKey root, const std::string& keyPath,
                     const std::string& valueName) override;
};

// The per-user store under HKEY_CURRENT_USER\Software\VB and VBA Program Settings\<app>\<section>,
// one REG_SZ value a key: where programs of this family have always kept such settings, so that
// values written by earlier versions are read and kept.
class Win32Settings : public SettingsStore {
public:
    std::string get(const std::string& app, const std::string& section, const std::string& key,
                    const std::string& defaultValue) override;
    void save(const std::string& app, const std::string& section, const std::string& key,
              const std::string& value) override;
    void saveAll(const std::string& app, const std::string& section,
                 const std::vector<std::pair<std::string, std::string>>& values,
                 Durability durability) override;
};

class Win32Shell : public Shell {
public:
    void run(const std::string& commandLine, WindowShow show) override;
    void open(const std::string& address, WindowShow show) override;
};

class Win32Dialogs : public Dialogs {
public:
    explicit Win32Dialogs(HWND& owner) : owner_(owner) {}
    MsgAnswer messageBox(const std::string& text, const std::string& title,
                         MessageStyle style) override;
    std::optional<std::string> saveAs(const std::string& title, const std::string& suggestedName,
                                      const std::string& folder, const std::string& patternName,
                                      const std::string& pattern) override;
    std::string documentsFolder() override;

private:
    HWND& owner_;
};

}  // namespace corvane::win32
