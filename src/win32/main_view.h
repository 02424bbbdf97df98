// The main window as a Win32 window: created from the layout table, its window procedure only
// decodes messages into calls of the core's handlers.
#pragma once

#include <windows.h>

#include <map>
#include <string>
#include <vector>

#include "platform/platform.h"
#include "program/main_window.h"
#include "win32/db_view.h"
#include "win32/metrics.h"
#include "win32/owner_window.h"

namespace corvane::win32 {

inline constexpr const char* kMainWindowClass = "CorvaneMainWindow";
inline constexpr const char* kFrameClass = "CorvaneFrame";

class Win32NotificationArea;

class Win32MainView : public MainView {
public:
    Win32MainView(HINSTANCE instance, const Metrics& metrics, Win32DbView& db, OwnerWindow& owner);
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
    OwnerWindow& owner_;  // told of the window's handle as it comes and goes
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

}  // namespace corvane::win32
