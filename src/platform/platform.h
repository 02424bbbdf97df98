// The services through which the core reaches Windows. Implemented by win32/ for the
// program and by a fake for the tests. No declaration here includes a Windows header.
//
// Texts cross this boundary in UTF-8; the Win32 implementation converts them to and from the
// ANSI code page that the system's ANSI functions use.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "common/errors.h"
#include "platform/advice_view.h"
#include "platform/alert_settings.h"
#include "platform/controls.h"
#include "platform/event_log.h"
#include "platform/export_settings.h"
#include "platform/notification_area.h"
#include "platform/records.h"
#include "platform/virtual_memory.h"

namespace corvane {

// Facts about the running system and the program itself.
class System {
public:
    virtual ~System() = default;

    // Fills the record in the form its `size` asks for. Returns false when the system rejects
    // that form; the record is then left as it was.
    virtual bool getVersionEx(OsVersionRecord& record) = 0;
    virtual SystemInfo getSystemInfo() = 0;
    virtual MemoryStatus memoryStatus() = 0;
    // Milliseconds since Windows started, on a 64-bit scale that never wraps.
    virtual uint64_t tickCount() = 0;
    // The Windows directory, no trailing "\".
    virtual std::string windowsDirectory() = 0;
    // The folder of the program's executable, as Windows gives it (a drive root ends in "\").
    virtual std::string applicationDirectory() = 0;
    // The program file's name without folder and extension.
    virtual std::string executableName() = 0;
    // The program's three version numbers (major, minor, revision).
    virtual std::vector<int> programVersion() = 0;
    // True when another copy of the program is already running.
    virtual bool anotherInstanceRunning() = 0;

    virtual DateTime localNow() = 0;
    virtual DateTime utcNow() = 0;
    // A date in the user's short date format, a time in the user's time format.
    virtual std::string formatShortDate(const DateTime& when) = 0;
    virtual std::string formatTime(const DateTime& when) = 0;
    // A time in the user's time format without its seconds.
    virtual std::string formatShortTime(const DateTime& when) = 0;
    // A UTC date and time as the user's clock showed it then (time zone and summer time).
    virtual DateTime utcToLocal(const DateTime& utc) = 0;
    // The user's decimal separator.
    virtual std::string decimalSeparator() = 0;
    // Text in the ANSI code page, as the system's ANSI functions give it, turned into UTF-8.
    virtual std::string ansiToUtf8(const std::string& ansi) = 0;
    // `text` with each %NAME% of the environment replaced by its value, as Windows reads a
    // REG_EXPAND_SZ value; a name the environment lacks stays as written.
    virtual std::string expandEnvironment(const std::string& text) = 0;
    // Waits this long, the window unanswered meanwhile: for a few milliseconds only.
    virtual void pause(uint32_t milliseconds) = 0;
};

// Files. Failures raise RuntimeError with the number of the failure (53 file not found, 75
// path/file access error, 76 path not found, 61 disk full ...).
class FileSystem {
public:
    virtual ~FileSystem() = default;

    // The length of the swap file at `path`, read without opening it (Windows holds its own
    // paging files open). Never raises.
    virtual SwapFileSize swapFileSize(const std::string& path) = 0;
    // The whole content of a file, as bytes.
    virtual std::string readFile(const std::string& path) = 0;
    // A file's length in bytes.
    virtual uint64_t fileLength(const std::string& path) = 0;
    // Up to `length` bytes of a file from `offset` (fewer where the file ends before).
    virtual std::string readPart(const std::string& path, uint64_t offset, uint32_t length) = 0;
    // Appends UTF-8 text to a file, written in the ANSI code page; creates the file if needed.
    virtual void appendText(const std::string& path, const std::string& text) = 0;
    // Writes bytes to a new file at `path`, replacing any file there.
    virtual void writeFile(const std::string& path, const std::string& bytes) = 0;
    // Replaces `target` by `source` in one step.
    virtual void replaceFile(const std::string& source, const std::string& target) = 0;
    virtual void deleteFile(const std::string& path) = 0;
    virtual void renameFile(const std::string& from, const std::string& to) = 0;
    virtual void copyFile(const std::string& from, const std::string& to) = 0;
    // Makes sure the file's bytes are on the disk, not only in the system's cache.
    virtual void flushFile(const std::string& path) = 0;
    virtual std::optional<DateTime> lastModified(const std::string& path) = 0;
    // True when both paths name the same file: the same file on the same volume when both
    // exist, else the same full path. Never raises.
    virtual bool sameFile(const std::string& a, const std::string& b) = 0;
    // True when `path` names a folder that is there. Never raises.
    virtual bool isFolder(const std::string& path) = 0;
};

// Reads registry values, leaving every conversion to the caller.
class Registry {
public:
    virtual ~Registry() = default;
    // Opens `keyPath` under `root`, queries `valueName` into a buffer of `bufferSize` bytes
    // filled with blanks beforehand, and closes the key.
    virtual RegistryAnswer queryValue(RootKey root, const std::string& keyPath,
                                      const std::string& valueName, uint32_t bufferSize) = 0;
    // A text value as stored, read with the wide-character functions on the NT family so that
    // any path reads back as it was written. Nothing when the value is absent or holds no text.
    // `expandable` (when given) says whether it is a REG_EXPAND_SZ, whose %NAME% the reader
    // expands (expandEnvironment).
    virtual std::optional<std::string> readText(RootKey root, const std::string& keyPath,
                                                const std::string& valueName,
                                                bool* expandable = nullptr) = 0;
    // Writes a text value (REG_SZ), creating the key when needed. Raises RuntimeError (70 when
    // the registry refuses).
    virtual void writeText(RootKey root, const std::string& keyPath, const std::string& valueName,
                           const std::string& value) = 0;
    // Removes a value; one that is not there is no failure. Raises RuntimeError (70).
    virtual void deleteValue(RootKey root, const std::string& keyPath,
                             const std::string& valueName) = 0;
};

// The per-user settings store: text values by application, section and key.
// How soon a written set must be on disk. `Flushed`: before the call returns, for the saves a
// process makes as it ends (a shut-down may follow at once). `Lazy`: whenever the system writes
// its store, for the saves made while the program runs on; the registry writes its files as
// whole, consistent states within seconds, and forcing it flushes the user's entire hive.
enum class Durability { Lazy, Flushed };

class SettingsStore {
public:
    virtual ~SettingsStore() = default;
    virtual std::string get(const std::string& app, const std::string& section,
                            const std::string& key, const std::string& defaultValue) = 0;
    virtual void save(const std::string& app, const std::string& section, const std::string& key,
                      const std::string& value) = 0;
    // Writes several keys of one section, in order, so that a program killed meanwhile leaves
    // `get` reading either all of the values before or all of these (persistence/
    // staged_values.h says how).
    virtual void saveAll(const std::string& app, const std::string& section,
                         const std::vector<std::pair<std::string, std::string>>& values,
                         Durability durability) = 0;
};

enum class WindowShow {
    Normal,          // a normal window that receives the focus
    MinimizedFocus,  // a minimised window that receives the focus
};

// Starting programs and opening addresses.
class Shell {
public:
    virtual ~Shell() = default;
    // Starts a command line whose first word names a program of the system ("notepad.exe",
    // "cmd"): it is started from the system's own folders, never found by search path (a
    // program of that name in the current folder or beside Corvane does not run). Raises
    // RuntimeError (53 when the system has no such program).
    virtual void run(const std::string& commandLine, WindowShow show) = 0;
    // Opens a document or address with the shell's open verb; raises RuntimeError on failure.
    virtual void open(const std::string& address, WindowShow show) = 0;
};

enum class MsgButtons { Ok, YesNo };
enum class MsgIcon { None, Critical, Question, Exclamation, Information };
enum class MsgDefault { First, Second };
enum class MsgAnswer { Ok, Yes, No, Cancel };

struct MessageStyle {
    MsgButtons buttons = MsgButtons::Ok;
    MsgIcon icon = MsgIcon::None;
    MsgDefault defaultButton = MsgDefault::First;
};

// Modal message boxes, owned by the main window.
class Dialogs {
public:
    virtual ~Dialogs() = default;
    virtual MsgAnswer messageBox(const std::string& text, const std::string& title,
                                 MessageStyle style) = 0;
    // The standard Save As dialog, opened in `folder` (the system's choice when empty),
    // offering `suggestedName` and the files matching `pattern` ("*.csv") under `patternName`.
    // It does not ask before replacing a file: the caller refuses what it must first. Returns
    // the full path chosen, or nothing when the user cancels.
    virtual std::optional<std::string> saveAs(const std::string& title,
                                              const std::string& suggestedName,
                                              const std::string& folder,
                                              const std::string& patternName,
                                              const std::string& pattern) = 0;
    // The user's own documents folder ("Mes documents", "Documents"); empty when the system
    // has none.
    virtual std::string documentsFolder() = 0;
};

// What the core asks of the main window.
class MainView {
public:
    virtual ~MainView() = default;

    virtual void setCaption(const std::string& text) = 0;
    virtual std::string caption() = 0;
    virtual void setText(Control control, const std::string& text) = 0;
    virtual std::string text(Control control) = 0;
    virtual bool isMinimised() = 0;
    // Sets the window's outer width, in twips.
    virtual void setWidthTwips(int twips) = 0;
    virtual bool isChecked(Control control) = 0;
    virtual int sliderPosition() = 0;
    virtual void setSliderPosition(int position) = 0;
    // The window manager's SetWindowPos on the main window, arguments as Windows takes them.
    virtual void setWindowPos(int insertAfter, int x, int y, int cx, int cy, uint32_t flags) = 0;

    virtual void setTimerInterval(TimerId timer, uint32_t milliseconds) = 0;
    virtual void setTimerEnabled(TimerId timer, bool enabled) = 0;
    // Puts or takes away the check mark of a menu item.
    virtual void setMenuChecked(MenuItem item, bool checked) = 0;

    // Ends the program: every window goes, without further events.
    virtual void endProgram() = 0;
};

// The scratch list window `Db`: created on first use, shown on request.
class DbView {
public:
    virtual ~DbView() = default;
    virtual bool isLoaded() = 0;
    virtual void load() = 0;
    virtual void show() = 0;
    virtual void clear(DbList list) = 0;
    virtual void addItem(DbList list, const std::string& text) = 0;
};

// Printing an image of the main window.
class Printer {
public:
    virtual ~Printer() = default;
    // Calls the common-dialog library's registration entry. Returns its result, or nothing when
    // the library is not in the system directory.
    virtual std::optional<int32_t> registerCommonDialog() = 0;
    // Shows the printer dialog; raises RuntimeError(32755) when the user cancels.
    virtual void showPrinterDialog() = 0;
    // Prints an image of the main window's client area to the printer the dialog chose.
    virtual void printMainWindow() = 0;
};

class AboutWindow;
class AdviceWatch;
class History;
class MemoryWatch;

// What the core asks of the open history window.
class HistoryView {
public:
    virtual ~HistoryView() = default;
    // The history changed (a new minute, a new history): draw it again.
    virtual void refresh() = 0;
};

// What the About window's logic asks of its window.
class AboutView {
public:
    virtual ~AboutView() = default;
    virtual void setCaption(const std::string& text) = 0;
    virtual void setText(AboutControl control, const std::string& text) = 0;
    virtual std::string text(AboutControl control) = 0;
    // Shows image `index` (1 to 4) of the animation in `Picture1`.
    virtual void showImage(int index) = 0;
    virtual void setTimerInterval(uint32_t milliseconds) = 0;
    virtual void setTimerEnabled(bool enabled) = 0;
    // Closes (unloads) the window.
    virtual void close() = 0;
};

// Creates the windows that come and go.
class Windows {
public:
    virtual ~Windows() = default;
    // Creates the About window around `logic` and shows it modally; returns when it is closed.
    virtual void showAboutModal(AboutWindow& logic) = 0;
    // Opens the history window over `history`, or brings it to the front when it is open. The
    // window attaches itself to `history` while it is open.
    virtual void showHistory(History& history) = 0;
    // Opens the "Mémoire virtuelle" window, or brings it to the front when it is open. The
    // window attaches itself to `watch` while it is open.
    virtual void showVirtualMemory(MemoryWatch& watch) = 0;
    // The "Alertes" dialog over `current`, modal; the settings the user keeps with OK (checked
    // with alertSettingsProblem before the dialog closes), or nothing when they cancel.
    virtual std::optional<AlertSettings> editAlerts(const AlertSettings& current) = 0;
    // The "Exporter vers Prometheus" dialog over `current`, modal, with its folder chooser; what
    // the user keeps with OK (checked with prometheusSettingsProblem), or nothing on Annuler.
    virtual std::optional<PrometheusSettings> editPrometheus(const PrometheusSettings& current) = 0;
    // Opens the "Conseil de taille du fichier d'échange" window, or brings it to the front when
    // it is open. The window attaches itself to `watch` while it is open.
    virtual void showAdvice(AdviceWatch& watch) = 0;
};

// Every service, handed to the core as one bundle.
struct Platform {
    System& system;
    FileSystem& files;
    Registry& registry;
    SettingsStore& settings;
    Shell& shell;
    Dialogs& dialogs;
    MainView& view;
    DbView& db;
    Printer& printer;
    Windows& windows;
    VirtualMemory& memory;
    NotificationArea& notification;
    EventLog& eventLog;
};

}  // namespace corvane
