// A scriptable platform for the native tests: a clock to set, files in a temporary folder,
// registry values and settings in memory, message boxes answered from a script, and windows
// that remember what the core wrote into them.
#pragma once

#include <deque>
#include <filesystem>
#include <functional>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "memory/advice_watch.h"
#include "memory/memory_watch.h"
#include "platform/platform.h"

namespace corvane::fake {

// A version record as Windows fills it; `csd` is the service-pack text, NUL-terminated.
OsVersionRecord osVersion(uint32_t platformId, uint32_t major, uint32_t minor, uint32_t build,
                          const std::string& csd, uint8_t productType);

class FakeSystem : public System {
public:
    OsVersionRecord version;            // what the system reports
    bool acceptsExtendedRecord = true;  // false: the 156-byte form is rejected, as on Windows 95
    bool acceptsBasicRecord = true;
    std::vector<uint32_t> versionCallSizes;  // the size of every record asked for
    SystemInfo info{2, 586};
    MemoryStatus memory;
    std::optional<RuntimeError> memoryError;  // raised by memoryStatus() when set
    // Run by memoryStatus() first, when set: it may throw what no fake error is (bad_alloc).
    std::function<void()> beforeMemoryStatus;
    uint64_t ticks = 1000000;
    std::string windowsDir = "C:\\WINDOWS";
    std::string appDir = "C:\\Corvane";
    std::string exeName = "Corvane";
    std::vector<int> version3{1, 0, 0};
    bool otherInstance = false;
    DateTime local{2026, 12, 8, 7, 15, 30};
    DateTime utc{2026, 12, 8, 6, 15, 30};
    std::string decimal = ",";

    bool getVersionEx(OsVersionRecord& record) override;
    SystemInfo getSystemInfo() override { return info; }
    MemoryStatus memoryStatus() override;
    uint64_t tickCount() override { return ticks; }
    std::string windowsDirectory() override { return windowsDir; }
    std::string applicationDirectory() override { return appDir; }
    std::string executableName() override { return exeName; }
    std::vector<int> programVersion() override { return version3; }
    bool anotherInstanceRunning() override { return otherInstance; }
    DateTime localNow() override { return local; }
    DateTime utcNow() override { return utc; }
    // French short date and time: "08/12/2026", "07:15:30".
    std::string formatShortDate(const DateTime& when) override;
    std::string formatTime(const DateTime& when) override;
    std::string formatShortTime(const DateTime& when) override;  // "07:15"
    // The user's clock: UTC + this many minutes, winter and summer alike.
    int localOffsetMinutes = 60;
    DateTime utcToLocal(const DateTime& utc) override;
    std::string decimalSeparator() override { return decimal; }
    std::string ansiToUtf8(const std::string& ansi) override;
    // The variables %NAME% expands to, names in capitals.
    std::map<std::string, std::string> environment{
        {"LOCALAPPDATA", "C:\\Users\\Dmitri\\AppData\\Local"}};
    std::string expandEnvironment(const std::string& text) override;
    // Each pause's length; a pause moves the tick count on.
    std::vector<uint32_t> pauses;
    std::function<void()> onPause;  // run at each pause, when set
    void pause(uint32_t milliseconds) override;
};

// Windows paths ("C:\dir\file") map to files under a temporary folder of the test's own.
class FakeFiles : public FileSystem {
public:
    FakeFiles();
    ~FakeFiles() override;

    // The host path behind a Windows path.
    std::filesystem::path hostPath(const std::string& windowsPath) const;
    // Writes a file's bytes (creating its folders), or makes it `size` bytes long (sparse).
    void put(const std::string& windowsPath, const std::string& bytes);
    void resize(const std::string& windowsPath, uint64_t size);
    bool exists(const std::string& windowsPath) const;
    // The bytes of a file, or nothing if it is not there.
    std::optional<std::string> contents(const std::string& windowsPath) const;
    // Folders where every write fails with a path/file access error (75), as a read-only
    // folder does; the tests run as a user that could write anywhere.
    std::set<std::string> readOnlyFolders;
    // Swap file sizes to report instead of the files' lengths.
    std::map<std::string, SwapFileSize> swapSizes;
    // Files another program holds open without sharing (a spreadsheet has them open): they can
    // be read and copied, but writing, moving, replacing or deleting them fails with 70.
    std::set<std::string> lockedFiles;
    // Room left on the disk, when set: a write that does not fit writes what does and fails
    // with 61 (disk full), as a full disk does.
    std::optional<uint64_t> freeBytes;
    // Files whose reading fails with unreadableError (70, permission denied, unless set).
    std::set<std::string> unreadableFiles;
    int unreadableError = kErrPermissionDenied;
    // Raised by the next replaceFile, when set.
    std::optional<RuntimeError> replaceError;
    // Targets every replace onto fails with 70 (open elsewhere without delete sharing), and
    // how many replaces were tried.
    std::set<std::string> unreplaceable;
    int replaceCalls = 0;
    // Called as each replace begins, when set.
    std::function<void()> onReplace;
    // Windows 9x: no one-step replace, which is then made of renames.
    bool replaceByRenamesOnly = false;
    // Files written since they last reached the disk (flushFile, or the replace's own flush).
    std::set<std::string> unflushed;
    // A power cut: what had not reached the disk is gone, leaving the files empty.
    void powerCut();

    SwapFileSize swapFileSize(const std::string& path) override;
    std::string readFile(const std::string& path) override;
    uint64_t fileLength(const std::string& path) override;
    std::string readPart(const std::string& path, uint64_t offset, uint32_t length) override;
    void appendText(const std::string& path, const std::string& text) override;
    void writeFile(const std::string& path, const std::string& bytes) override;
    void replaceFile(const std::string& source, const std::string& target) override;
    void deleteFile(const std::string& path) override;
    void renameFile(const std::string& from, const std::string& to) override;
    void copyFile(const std::string& from, const std::string& to) override;
    void flushFile(const std::string& path) override;
    std::optional<DateTime> lastModified(const std::string& path) override;
    std::map<std::string, DateTime> modifiedTimes;
    // The host's own answer: the same file on disk, or the same normalised path.
    bool sameFile(const std::string& a, const std::string& b) override;
    // Gives an existing file a second name, as a short name or a network path to this machine
    // does on Windows.
    void alias(const std::string& existing, const std::string& otherName);
    bool isFolder(const std::string& path) override;
    // Makes a folder (and its parents).
    void makeFolder(const std::string& windowsPath);
    void removeFolder(const std::string& windowsPath);

private:
    void checkWritable(const std::string& windowsPath) const;
    void checkUnlocked(const std::string& windowsPath) const;
    // What of `bytes` fits on the disk; the caller writes it, then fails when it is not all.
    std::string fitting(const std::string& bytes);
    std::filesystem::path root_;
};

class FakeRegistry : public Registry {
public:
    struct Value {
        uint32_t type;
        std::string data;  // the bytes as stored
    };
    void set(RootKey root, const std::string& key, const std::string& name, uint32_t type,
             const std::string& data);
    void setMultiString(RootKey root, const std::string& key, const std::string& name,
                        const std::vector<std::string>& strings);
    RegistryAnswer queryValue(RootKey root, const std::string& keyPath,
                              const std::string& valueName, uint32_t bufferSize) override;
    int queries = 0;
    std::optional<std::string> readText(RootKey root, const std::string& keyPath,
                                        const std::string& valueName,
                                        bool* expandable = nullptr) override;
    void writeText(RootKey root, const std::string& keyPath, const std::string& valueName,
                   const std::string& value) override;
    void deleteValue(RootKey root, const std::string& keyPath,
                     const std::string& valueName) override;
    // Raised by every write and removal while set, as a registry that refuses them.
    std::optional<RuntimeError> writeError;
    int writes = 0;  // values written or removed

private:
    std::map<std::string, std::map<std::string, Value>> keys_;
};

// Thrown by a fake that plays a process killed in the middle of what it was doing.
struct Killed {};

class FakeSettings : public SettingsStore {
public:
    std::string get(const std::string& app, const std::string& section, const std::string& key,
                    const std::string& defaultValue) override;
    void save(const std::string& app, const std::string& section, const std::string& key,
              const std::string& value) override;
    // Values by key, for application "Corvane", section "Paramètres".
    std::map<std::string, std::string> values;
    std::vector<std::string> savedKeys;  // every key saved, in order
    std::vector<std::string> readKeys;   // every key read, in order
    void saveAll(const std::string& app, const std::string& section,
                 const std::vector<std::pair<std::string, std::string>>& values,
                 Durability durability) override;
    std::optional<RuntimeError> saveError;
    int flushes = 0;                            // sets saved with Durability::Flushed
    std::vector<std::string>* trace = nullptr;  // "save KEY=VALUE" for every save
    // When set, the store takes this many more writes (a value set or removed), then the
    // process "dies": the next write is not made and Killed is thrown.
    std::optional<int> writesBeforeKill;

private:
    void write(const std::string& key, const std::optional<std::string>& value);
};

class FakeShell : public Shell {
public:
    struct Call {
        std::string kind;  // "run" or "open"
        std::string command;
        WindowShow show;
    };
    std::vector<Call> calls;
    // Errors raised by the next calls, one per call, in order.
    std::deque<std::optional<RuntimeError>> failures;
    void run(const std::string& commandLine, WindowShow show) override;
    void open(const std::string& address, WindowShow show) override;

private:
    void record(const std::string& kind, const std::string& command, WindowShow show);
};

class FakeDialogs : public Dialogs {
public:
    struct Shown {
        std::string text;
        std::string title;
        MessageStyle style;
    };
    std::vector<Shown> shown;
    // Answers for the next boxes; when empty, a box is answered with its default button.
    std::deque<MsgAnswer> answers;
    std::function<void(const Shown&)> onShow;
    MsgAnswer messageBox(const std::string& text, const std::string& title,
                         MessageStyle style) override;

    struct SaveAsCall {
        std::string title, suggestedName, folder, patternName, pattern;
    };
    std::vector<SaveAsCall> saveAsCalls;
    // Paths chosen in the next Save As dialogs (nothing: cancelled); when empty, cancelled.
    std::deque<std::optional<std::string>> saveAsAnswers;
    std::optional<std::string> saveAs(const std::string& title, const std::string& suggestedName,
                                      const std::string& folder, const std::string& patternName,
                                      const std::string& pattern) override;
    std::string documents = "C:\\Users\\Moi\\Documents";
    std::string documentsFolder() override { return documents; }
};

class FakeMainView : public MainView {
public:
    struct Timer {
        uint32_t interval = 1000;
        bool enabled = false;
        int starts = 0;  // how many times it was enabled
    };
    struct WindowPosCall {
        int insertAfter, x, y, cx, cy;
        uint32_t flags;
    };
    // Every control starts with the text the window gives it at creation ("CPU" ...).
    FakeMainView();

    std::string windowCaption = "Informations Corvane";
    std::map<Control, std::string> texts;
    std::vector<std::pair<Control, std::string>> writes;  // every text written, in order
    bool minimised = false;
    int widthTwips = 0;
    std::map<Control, bool> checked;
    int slider = 1;
    std::vector<WindowPosCall> windowPosCalls;
    std::map<TimerId, Timer> timers;
    int endProgramCalls = 0;
    // "text ID=TEXT", "timer ID on|off", "interval ID MS", "slider N", one per call.
    std::vector<std::string>* trace = nullptr;

    void setCaption(const std::string& text) override { windowCaption = text; }
    std::string caption() override { return windowCaption; }
    void setText(Control control, const std::string& text) override;
    std::string text(Control control) override { return texts[control]; }
    bool isMinimised() override { return minimised; }
    void setWidthTwips(int twips) override { widthTwips = twips; }
    bool isChecked(Control control) override { return checked[control]; }
    int sliderPosition() override { return slider; }
    void setSliderPosition(int position) override;
    void setWindowPos(int insertAfter, int x, int y, int cx, int cy, uint32_t flags) override;
    void setTimerInterval(TimerId timer, uint32_t milliseconds) override;
    void setTimerEnabled(TimerId timer, bool enabled) override;
    // The menu's check marks, by item.
    std::map<MenuItem, bool> menuChecks;
    void setMenuChecked(MenuItem item, bool checked) override { menuChecks[item] = checked; }
    void endProgram() override { ++endProgramCalls; }
};

class FakeDbView : public DbView {
public:
    bool loaded = false;
    int loads = 0;
    bool shown = false;
    std::map<DbList, std::vector<std::string>> lists;
    bool isLoaded() override { return loaded; }
    void load() override;
    void show() override;
    void clear(DbList list) override { lists[list].clear(); }
    void addItem(DbList list, const std::string& text) override { lists[list].push_back(text); }
    // Closing it by its close box unloads it.
    void unload();
};

class FakePrinter : public Printer {
public:
    std::optional<int32_t> registration = 0;  // nothing: no library in the system folder
    std::optional<RuntimeError> registrationError;
    int registrations = 0;
    bool cancel = false;
    std::optional<RuntimeError> dialogError;  // another failure of the printer dialog
    int dialogs = 0;
    std::optional<RuntimeError> printError;
    int printAttempts = 0;
    int printed = 0;
    std::optional<int32_t> registerCommonDialog() override;
    void showPrinterDialog() override;
    void printMainWindow() override;
};

class FakeAboutView : public AboutView {
public:
    FakeAboutView();  // the controls hold their captions as the window is created
    std::string windowCaption;
    std::map<AboutControl, std::string> texts;
    std::vector<std::pair<AboutControl, std::string>> writes;  // every text written, in order
    std::vector<int> images;                                   // every image shown, in order
    uint32_t timerInterval = 0;
    bool timerEnabled = false;
    int closes = 0;

    void setCaption(const std::string& text) override { windowCaption = text; }
    void setText(AboutControl control, const std::string& text) override;
    std::string text(AboutControl control) override { return texts[control]; }
    void showImage(int index) override { images.push_back(index); }
    void setTimerInterval(uint32_t milliseconds) override { timerInterval = milliseconds; }
    void setTimerEnabled(bool enabled) override { timerEnabled = enabled; }
    void close() override { ++closes; }
};

// The history window: counts the times it is told to draw again.
class FakeHistoryView : public HistoryView {
public:
    int refreshes = 0;
    void refresh() override { ++refreshes; }
};

// The "Mémoire virtuelle" window: keeps every report it was given.
class FakeVirtualMemoryView : public VirtualMemoryView {
public:
    std::vector<VirtualMemoryReport> reports;
    void show(const VirtualMemoryReport& report) override { reports.push_back(report); }
};

// The virtual memory's figures, as the test sets them; each reading is counted. By default the
// figures of a Windows that has them all, with no page file and no process.
class FakeVirtualMemory : public VirtualMemory {
public:
    std::optional<CommitCharge> commit = CommitCharge{};
    Listing<PageFileUse> files{true, {}};
    Listing<ProcessCommit> running{true, {}};
    int commitReads = 0;
    int pageFileReads = 0;
    int processReads = 0;
    std::optional<CommitCharge> commitCharge() override {
        ++commitReads;
        return commit;
    }
    Listing<PageFileUse> pageFiles() override {
        ++pageFileReads;
        return files;
    }
    Listing<ProcessCommit> processes() override {
        ++processReads;
        return running;
    }
    // Volumes by drive ("C:"); a drive not there does not answer.
    std::map<std::string, VolumeSpace> volumes;
    std::optional<VolumeSpace> volumeSpace(const std::string& path) override {
        auto it = volumes.find(path.substr(0, 2));
        if (it == volumes.end()) return std::nullopt;
        return it->second;
    }
};

// Shows the About window as the program does: a new window, loaded, then whatever the test
// makes the user do before it returns.
class FakeWindows : public Windows {
public:
    int aboutShown = 0;
    FakeAboutView aboutView;  // the last About window shown
    // What the user does while the About window is open; by default nothing.
    std::function<void(AboutWindow&)> whileAboutOpen;
    void showAboutModal(AboutWindow& logic) override;

    // Opening the history window attaches `historyView` to the history, as the window does.
    int historyShown = 0;
    std::optional<RuntimeError> historyError;  // raised instead of opening, when set
    History* shownHistory = nullptr;
    FakeHistoryView historyView;
    void showHistory(History& history) override;
    // The user closes the history window.
    void closeHistory();

    // Opening the "Mémoire virtuelle" window attaches `memoryView` to the watch.
    int memoryShown = 0;
    std::optional<RuntimeError> memoryError;  // raised instead of opening, when set
    MemoryWatch* shownWatch = nullptr;
    FakeVirtualMemoryView memoryView;
    void showVirtualMemory(MemoryWatch& watch) override;
    // The user closes the "Mémoire virtuelle" window.
    void closeVirtualMemory();

    // The "Alertes" dialog: what it was opened on, and what the user keeps (nothing: cancel).
    std::vector<AlertSettings> alertsShown;
    std::optional<AlertSettings> alertsAnswer;
    std::optional<RuntimeError> alertsError;  // raised instead of opening, when set
    std::optional<AlertSettings> editAlerts(const AlertSettings& current) override;

    // The "Exporter vers Prometheus" dialog, the same way.
    std::vector<PrometheusSettings> prometheusShown;
    std::optional<PrometheusSettings> prometheusAnswer;
    std::optional<RuntimeError> prometheusError;
    std::optional<PrometheusSettings> editPrometheus(const PrometheusSettings& current) override;

    // Opening the advice window attaches `adviceView` to the watch.
    int adviceShown = 0;
    std::optional<RuntimeError> adviceError;  // raised instead of opening, when set
    AdviceWatch* shownAdvice = nullptr;
    struct AdviceViewFake : AdviceView {
        std::vector<AdviceReport> reports;
        void show(const AdviceReport& report) override { reports.push_back(report); }
    } adviceView;
    void showAdvice(AdviceWatch& watch) override {
        if (adviceError) throw *adviceError;
        ++adviceShown;
        shownAdvice = &watch;
        watch.attach(&adviceView);
    }
};

// The notification area: the icon as last shown, every balloon, and the taskbar's flashes.
class FakeNotificationArea : public NotificationArea {
public:
    bool available = true;         // false: a system with no notification area
    bool balloons = true;          // false: a notification area without balloons
    std::optional<TrayIcon> icon;  // the icon on the taskbar, when there is one
    int iconUpdates = 0;
    int removals = 0;
    struct Balloon {
        std::string title, text;
    };
    std::vector<Balloon> shown;
    int flashes = 0;
    bool showIcon(const TrayIcon& wanted) override;
    void removeIcon() override;
    bool showBalloon(const std::string& title, const std::string& text) override;
    void flashTaskbarButton() override { ++flashes; }
};

// The event log: every event written, and whether the source may be registered.
class FakeEventLog : public EventLog {
public:
    struct Event {
        EventType type;
        uint32_t id;
        std::string text;
    };
    std::vector<Event> events;
    std::optional<RuntimeError> reportError;  // raised by every report while set
    bool mayRegister = false;                 // false: the user is no administrator
    int registrations = 0;                    // attempts
    void report(EventType type, uint32_t id, const std::string& text) override {
        if (reportError) throw *reportError;
        events.push_back({type, id, text});
    }
    bool registerSource() override {
        ++registrations;
        return mayRegister;
    }
};

// Every fake, and the bundle the core takes.
struct FakePlatform {
    // The program's folder exists, with the program in it.
    FakePlatform() {
        files.put(system.appDir + "\\" + system.exeName + ".exe", "");
        view.trace = &trace;
        settings.trace = &trace;
    }
    FakePlatform(const FakePlatform&) = delete;
    FakePlatform& operator=(const FakePlatform&) = delete;

    // What the main window and the settings store were asked to do, in one order.
    std::vector<std::string> trace;
    FakeSystem system;
    FakeFiles files;
    FakeRegistry registry;
    FakeSettings settings;
    FakeShell shell;
    FakeDialogs dialogs;
    FakeMainView view;
    FakeDbView db;
    FakePrinter printer;
    FakeWindows windows;
    FakeVirtualMemory memory;
    FakeNotificationArea notification;
    FakeEventLog eventLog;
    Platform platform{system, files,   registry, settings, shell,        dialogs, view,
                      db,     printer, windows,  memory,   notification, eventLog};
};

}  // namespace corvane::fake
