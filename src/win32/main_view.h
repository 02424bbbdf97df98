// The main window and the scratch list window as Win32 windows: created from the layout tables,
// their window procedures only decode messages into calls of the core's handlers.
#pragma once

#include <windows.h>

#include <map>
#include <string>
#include <vector>

#include "platform/platform.h"
#include "program/main_window.h"
#include "win32/metrics.h"

namespace corvane::win32 {

inline constexpr const char* kMainWindowClass = "CorvaneMainWindow";
inline constexpr const char* kFrameClass = "CorvaneFrame";
inline constexpr const char* kDbWindowClass = "CorvaneDb";

class Win32DbView;
class Win32NotificationArea;

class Win32MainView : public MainView {
public:
    Win32MainView(HINSTANCE instance, const Metrics& metrics, Win32DbView& db);
    ~Win32MainView() override;

    // Registers the window classes of the main window and its frame.
    static void registerClasses(HINSTANCE instance);
    // Every message of the window, from its window procedure.
    LRESULT onMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    // Creates the window and its controls, hidden, around the core's handlers.
    void create(MainWindow& core);
    // Shows the window centred on the screen, as it is after its load handler.
    void showCentred(int showCommand);
    // Posts the core's "shown": it comes once the message loop has answered what was sent
    // meanwhile, the first paint and a reader of the first sample included.
    void postShown();
    HWND handle() const { return hwnd_; }
    // The main window's handle as message boxes take their owner (null until it exists).
    HWND& ownerHandle() { return hwnd_; }
    // True for the main window and its controls: the keys they get go to the key handler first.
    bool ownsWindow(HWND window) const;
    // The icon whose messages come to this window, and which goes when the program ends.
    void attachNotificationArea(Win32NotificationArea& area) { notification_ = &area; }

    void setCaption(const std::string& text) override;
    std::string caption() override;
    void setText(Control control, const std::string& text) override;
    std::string text(Control control) override;
    bool isMinimised() override;
    void setWidthTwips(int twips) override;
    bool isChecked(Control control) override;
    int sliderPosition() override;
    void setSliderPosition(int position) override;
    void setWindowPos(int insertAfter, int x, int y, int cx, int cy, uint32_t flags) override;
    void setTimerInterval(TimerId timer, uint32_t milliseconds) override;
    void setTimerEnabled(TimerId timer, bool enabled) override;
    void setMenuChecked(MenuItem item, bool checked) override;
    void endProgram() override;

private:
    // Keeps "Analyse du fichier SWAP (...) depuis :" whole beside the elapsed time.
    void placeLabel1();
    // Keeps the processor's text whole beside the Windows name, which ends with "..." when
    // the row is too short for both.
    void placeFirstRow();
    struct Timer {
        uint32_t interval = 1000;
        bool enabled = false;
    };

    LRESULT handle(UINT message, WPARAM wParam, LPARAM lParam);
    void createControls();
    void addTooltip(HWND control, const char* text);
    HWND control(Control id) const;
    void armTimer(TimerId id);

    HINSTANCE instance_;
    const Metrics& metrics_;
    Win32DbView& db_;
    Win32NotificationArea* notification_ = nullptr;
    MainWindow* core_ = nullptr;
    HWND hwnd_ = nullptr;
    HWND frame_ = nullptr;
    HWND tooltip_ = nullptr;
    std::map<Control, HWND> controls_;
    std::map<Control, std::string> texts_;  // what each control shows, to skip unchanged writes
    std::map<Control, bool> autoSize_;
    std::string caption_;
    std::vector<HFONT> fonts_;
    std::map<TimerId, Timer> timers_;
    bool ended_ = false;
};

class Win32DbView : public DbView {
public:
    Win32DbView(HINSTANCE instance, const Metrics& metrics);
    static void registerClass(HINSTANCE instance);
    // Every message of the window, from its window procedure.
    LRESULT onMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    ~Win32DbView() override;
    void attach(MainWindow& core) { core_ = &core; }
    void destroy();

    // Loaded, for the core, from its first use; the window itself is made when it is first
    // shown, so that a start-up that only logs into it makes no window.
    bool isLoaded() override { return loaded_; }
    void load() override;
    void show() override;
    void clear(DbList list) override;
    void addItem(DbList list, const std::string& text) override;

private:
    // What a list shows. While the window is hidden its list boxes are left alone, so that
    // the refill at every tick costs nothing until someone can see it; they are brought up to
    // date when the window is shown.
    struct Lines {
        std::vector<std::string> items;
        bool stale = false;  // the list box does not show `items`
    };

    Lines& lines(DbList list) { return lines_[list == DbList::List1 ? 0 : 1]; }
    bool visible() const { return hwnd_ && IsWindowVisible(hwnd_); }
    void refill(DbList list);
    void createWindow();

    HINSTANCE instance_;
    const Metrics& metrics_;
    MainWindow* core_ = nullptr;
    HWND hwnd_ = nullptr;
    HFONT font_ = nullptr;
    bool loaded_ = false;
    Lines lines_[2];
};

}  // namespace corvane::win32
