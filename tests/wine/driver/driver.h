// Works a program's windows from another process, the way a user would: starts it, finds its
// windows, reads what they show, posts keys, commands and ticks, answers its message boxes, and
// prepares the registry and the files it reads. Texts are UTF-8 on this side.
#pragma once

#include <windows.h>

#include <cstdint>
#include <functional>
#include <stdexcept>
#include <string>
#include <vector>

namespace corvane::wine {

// A step that could not be done or a state that never came; the text says which.
class DriverError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// Long enough for a cold Wine to start a program, short enough for a hung one to fail clearly.
inline constexpr DWORD kTimeoutMs = 15000;

// Calls `done` every few milliseconds until it returns true or `timeoutMs` passes.
bool pollUntil(const std::function<bool()>& done, DWORD timeoutMs = kTimeoutMs);

std::string toUtf8(const std::wstring& text);
std::wstring fromUtf8(const std::string& text);
std::string lastErrorText();

// A program started by the driver. Ended (killed) when the object goes, if still running.
class Process {
public:
    static Process start(const std::string& exePath, const std::string& arguments = "",
                         const std::string& workingDirectory = "");
    // A whole command line, the program's name first as the command interpreter takes it.
    static Process startCommandLine(const std::string& commandLine,
                                    const std::string& workingDirectory = "");
    Process(Process&& other) noexcept;
    Process& operator=(Process&& other) noexcept;
    Process(const Process&) = delete;
    Process& operator=(const Process&) = delete;
    ~Process();

    DWORD id() const { return id_; }
    // The process handle, with every access right (memory counters, GUI resources).
    HANDLE handle() const { return handle_; }
    bool running() const;
    // True when the program ended within the time.
    bool waitExit(DWORD timeoutMs = kTimeoutMs) const;
    DWORD exitCode() const;
    void kill();

private:
    Process(HANDLE handle, DWORD id) : handle_(handle), id_(id) {}
    HANDLE handle_ = nullptr;
    DWORD id_ = 0;
};

// Informations about one window, read by its handle.
struct ControlInfo {
    HWND handle;
    int id;
    std::string className;
    std::string text;
    LONG style;
};

class Window {
public:
    Window() = default;
    explicit Window(HWND handle) : handle_(handle) {}

    HWND handle() const { return handle_; }
    explicit operator bool() const { return handle_ != nullptr; }
    bool exists() const;

    std::string className() const;
    std::string text() const;
    RECT rect() const;
    RECT clientRect() const;
    LONG style() const;
    LONG exStyle() const;
    bool visible() const;
    bool minimised() const;
    bool topmost() const;
    HWND owner() const;
    DWORD processId() const;
    DWORD threadId() const;

    // Every descendant window, in the order EnumChildWindows gives them.
    std::vector<ControlInfo> controls() const;
    // The descendant whose control ID is `id`; DriverError when there is none.
    Window control(int id) const;
    bool hasControl(int id) const;
    std::string controlText(int id) const;
    // Waits until control `id` shows a text starting with `prefix`; DriverError with the last
    // text seen when it does not.
    std::string waitControlText(int id, const std::string& prefix,
                                DWORD timeoutMs = kTimeoutMs) const;
    std::string waitText(const std::string& prefix, DWORD timeoutMs = kTimeoutMs) const;

    // Posting leaves the program to its message loop, as a user's input does.
    void post(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) const;
    void postChar(wchar_t character) const { post(WM_CHAR, character, 1); }
    void postCommand(int id) const { post(WM_COMMAND, MAKEWPARAM(id, 0), 0); }
    void postTimer(int timerId) const { post(WM_TIMER, timerId, 0); }
    void postClose() const { post(WM_CLOSE); }
    // Sends and waits for the answer; DriverError when the program does not answer in time.
    LRESULT send(UINT message, WPARAM wParam = 0, LPARAM lParam = 0,
                 DWORD timeoutMs = kTimeoutMs) const;

    // List boxes.
    int listCount() const;
    std::vector<std::string> listItems() const;

    // The control that has the keyboard focus in this window's thread, or null.
    HWND focus() const;

private:
    HWND handle_ = nullptr;
};

// Top-level windows of a process (all when `processId` is 0), optionally of one class.
std::vector<Window> topWindows(DWORD processId, const std::string& className = "",
                               bool visibleOnly = true);
// Waits for a visible top-level window of the class from the process.
Window waitWindow(DWORD processId, const std::string& className, DWORD timeoutMs = kTimeoutMs);

// A standard message box: a dialog of class "#32770" with its text in the static 65535.
struct MessageBoxInfo {
    Window window;
    std::string title;
    std::string text;
    std::vector<int> buttons;  // IDOK 1, IDCANCEL 2, IDYES 6, IDNO 7 ...
    HWND owner;
};
std::vector<MessageBoxInfo> messageBoxes(DWORD processId);
MessageBoxInfo waitMessageBox(DWORD processId, DWORD timeoutMs = kTimeoutMs);
// Presses a button of a dialog the way a click does.
void pressButton(const Window& dialog, int buttonId);

// Real input through the system's input queue: what accelerators and focus need.
void bringToFront(const Window& window);
// Moves the mouse pointer over the window's centre; clicks there with the left button.
void moveMouseOver(const Window& window);
void clickCentre(const Window& window);
// Gives the keyboard focus to a control of another program, as a click on it would.
void giveFocus(const Window& control);
// Presses the keys in order and releases them in reverse, e.g. {VK_CONTROL, 'Q'}.
void pressKeys(const std::vector<WORD>& virtualKeys);

// Registry of this Wine prefix, which the driven program shares.
void setMultiString(HKEY root, const std::string& keyPath, const std::string& valueName,
                    const std::vector<std::string>& strings);
void setString(HKEY root, const std::string& keyPath, const std::string& valueName,
               const std::string& value);
// A value of any type from its bytes, through the ANSI function: text types are bytes in the
// ANSI code page, as a program reading them with RegQueryValueExA gets them back.
void setAnsiValue(HKEY root, const std::string& keyPath, const std::string& valueName, DWORD type,
                  const std::string& bytes);
// The value as text (REG_SZ, or the strings of a REG_MULTI_SZ joined by "|"); empty when absent.
std::string readString(HKEY root, const std::string& keyPath, const std::string& valueName,
                       bool* found = nullptr);
void deleteValue(HKEY root, const std::string& keyPath, const std::string& valueName);
void deleteKeyTree(HKEY root, const std::string& keyPath);

// Files: created or cut to `bytes` without writing them (sparse where the file system allows).
void setFileSize(const std::string& path, uint64_t bytes);
bool fileExists(const std::string& path);
std::string readFile(const std::string& path);
// Writes `bytes` as the whole content of the file, creating it if needed.
void writeFile(const std::string& path, const std::string& bytes);
void copyFileTo(const std::string& from, const std::string& to);
void makeDirectories(const std::string& path);
void deleteTree(const std::string& path);
void removeFile(const std::string& path);
// Sets a file's last-write time to `local`, a time of this process's time zone.
void setLastWriteTime(const std::string& path, const SYSTEMTIME& local);
void setLastWriteTimeUtc(const std::string& path, const SYSTEMTIME& utc);

// A file of a folder, as listing the folder shows it.
struct FileEntry {
    std::string name;
    uint64_t lastWrite;  // FILETIME ticks
};
// The files (not the folders) directly in `folder`; none when the folder does not exist.
std::vector<FileEntry> listFiles(const std::string& folder);

// The screen under `window` (the whole screen for a null window), saved as a PNG file.
void saveScreenshot(const Window& window, const std::string& pngPath);
// The screen's pixels in `screenRect`, as 32-bit BGRA rows top to bottom.
std::vector<uint8_t> screenPixels(const RECT& screenRect);
// Horizontal dots per inch of the display.
int displayDpi();

}  // namespace corvane::wine
