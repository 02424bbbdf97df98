// The "Conseil de taille du fichier d'échange" window: a label and a figure per line, each in a
// static control of its own that WM_GETTEXT reads, and "Copier", which puts the whole advice on
// the clipboard. The core fills it at each tick while it is open.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "memory/advice_watch.h"
#include "platform/advice_view.h"
#include "win32/metrics.h"

namespace corvane::win32 {

inline constexpr const char* kAdviceWindowClass = "CorvaneAdvice";

class Win32AdviceView : public AdviceView {
public:
    Win32AdviceView(HINSTANCE instance, const Metrics& metrics);
    ~Win32AdviceView() override;
    Win32AdviceView(const Win32AdviceView&) = delete;
    Win32AdviceView& operator=(const Win32AdviceView&) = delete;

    LRESULT onMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    // Attaches the window to `watch` and shows it with the figures the core writes next (made
    // at the first opening, hidden when closed), or brings it to the front.
    void open(AdviceWatch& watch);
    void show(const AdviceReport& report) override;

private:
    LRESULT handle(UINT message, WPARAM wParam, LPARAM lParam);
    void create();
    void createControls();
    // Closing: hidden, and no longer filled at the ticks.
    void hide();
    void setText(int id, const std::string& utf8);
    void copy();

    HINSTANCE instance_;
    const Metrics& metrics_;
    AdviceWatch* watch_ = nullptr;
    HWND hwnd_ = nullptr;
    HFONT font_ = nullptr;
    std::vector<std::string> texts_;  // by control, to skip unchanged writes
    std::string copyText_;
    bool showPending_ = false;  // opened: shown once its figures are written
    bool framePainted_ = true;  // false while it is brought forward, invalidated
};

}  // namespace corvane::win32
