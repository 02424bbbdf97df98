// The main window's handlers: what the window procedure calls for each message it decodes.
#pragma once

#include <cstdint>

#include "state/state.h"

namespace corvane {

class MainWindow {
public:
    explicit MainWindow(Platform& platform);

    void onLoad();
    // The window shows its first sample: what start-up left for later is done now.
    void onShown();
    void onTimer(TimerId timer);
    void onKeyPress(int16_t keyAscii);
    void onMenu(MenuItem item);
    // A menu of the window is about to open: its check marks are brought up to date.
    void onMenuOpen();
    void onSliderChange();
    void onDessusClick();
    // The window is being closed by its close box or the system menu.
    void onUnload();
    // Windows is ending the session (log-off or shutdown).
    void onEndSession();
    // The scratch list window was closed.
    void onDbUnload();

    // Says what went wrong, saves the statistics and closes the journal as the exit does, and
    // ends the program: for errors that reach a window's callback from outside the handlers.
    void leaveOnError(const RuntimeError& error) noexcept;

    // True once the program has ended; the window procedure then only lets the windows go.
    bool ended() const { return ended_; }

    Context& context() { return context_; }
    const MainState& state() const { return context_.state; }

private:
    // Runs a handler unless the program is ending; ends the program when the handler does.
    template <class Handler>
    void dispatch(Handler&& handler);
    template <class Handler>
    void run(Handler&& handler);

    Context context_;
    bool ended_ = false;
    bool ticking_ = false;
};

}  // namespace corvane
