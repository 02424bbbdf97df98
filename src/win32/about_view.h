// The About window `apropos` as a Win32 window, shown modally.
#pragma once

#include <windows.h>
// after windows.h, which it needs
#include <commctrl.h>

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "about/about_window.h"
#include "platform/platform.h"
#include "win32/metrics.h"

namespace corvane::win32 {

inline constexpr const char* kAboutWindowClass = "CorvaneAbout";

class Win32AboutView : public AboutView {
public:
    Win32AboutView(HINSTANCE instance, const Metrics& metrics, AboutWindow& logic);
    ~Win32AboutView() override;
    Win32AboutView(const Win32AboutView&) = delete;
    Win32AboutView& operator=(const Win32AboutView&) = delete;

    static void registerClass(HINSTANCE instance);
    // Every message of the window, from its window procedure.
    LRESULT onMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    // Creates the window and its controls, hidden and centred on the screen.
    bool create();
    // Shows the window and runs its messages until it is closed; the program's other windows
    // take no input meanwhile.
    void runModal();

    void setCaption(const std::string& text) override;
    void setText(AboutControl control, const std::string& text) override;
    std::string text(AboutControl control) override;
    void showImage(int index) override;
    void setTimerInterval(uint32_t milliseconds) override;
    void setTimerEnabled(bool enabled) override;
    void close() override;

private:
    LRESULT handle(UINT message, WPARAM wParam, LPARAM lParam);
    void createControls();
    void loadImages();
    void drawPicture(const DRAWITEMSTRUCT& item);
    HWND control(AboutControl id) const;
    bool isLink(HWND hwnd) const;
    void fit(AboutControl id);
    void armTimer();
    bool ownsWindow(HWND hwnd) const;

    HINSTANCE instance_;
    const Metrics& metrics_;
    AboutWindow& logic_;
    HWND hwnd_ = nullptr;
    std::map<AboutControl, HWND> controls_;
    std::map<AboutControl, std::string> texts_;
    std::vector<HFONT> fonts_;
    HIMAGELIST images_ = nullptr;
    int imageSize_ = 32;
    int currentImage_ = 0;
    HICON bigIcon_ = nullptr;
    HICON smallIcon_ = nullptr;
    HCURSOR linkCursor_ = nullptr;
    uint32_t timerInterval_ = 0;
    bool timerEnabled_ = false;
    bool closing_ = false;
};

}  // namespace corvane::win32
