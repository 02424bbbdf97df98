// The history window "Historique du fichier SWAP": a resizable window with the span buttons,
// "Exporter...", the drawing (painted off screen, then copied), the values under the pointer
// and the notice about where the history is kept.
#pragma once

#include <windows.h>

#include <string>

#include "history/history.h"
#include "history/history_plot.h"
#include "platform/platform.h"
#include "win32/history_render.h"
#include "win32/metrics.h"

namespace corvane::win32 {

inline constexpr const char* kHistoryWindowClass = "CorvaneHistory";
inline constexpr const char* kHistoryPlotClass = "CorvaneHistoryPlot";

class Win32HistoryView : public HistoryView {
public:
    Win32HistoryView(HINSTANCE instance, const Metrics& metrics, System& system, FileSystem& files,
                     Dialogs& dialogs);
    ~Win32HistoryView() override;
    Win32HistoryView(const Win32HistoryView&) = delete;
    Win32HistoryView& operator=(const Win32HistoryView&) = delete;

    static void registerClasses(HINSTANCE instance);
    // Every message of the window, from its window procedure.
    LRESULT onMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    // Every message of the drawing, from its window procedure.
    LRESULT onPlotMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    // Creates the window over `history` and shows it, or brings it to the front.
    void open(History& history);
    void refresh() override;

private:
    LRESULT handle(UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT handlePlot(UINT message, WPARAM wParam, LPARAM lParam);
    void createControls();
    void layoutControls();
    void choose(HistoryRange range);
    void paintPlot();
    // Works the picture out again and paints it off screen, when something changed.
    void renderIfNeeded();
    void hover(int x, int y);
    // A click on an entry of the legend hides or shows its series.
    void toggleSeries(int x, int y);
    void showNotice();
    HWND control(HistoryControl id) const;

    HINSTANCE instance_;
    const Metrics& metrics_;
    System& system_;
    FileSystem& files_;
    Dialogs& dialogs_;
    History* history_ = nullptr;
    HWND hwnd_ = nullptr;
    HWND plot_ = nullptr;
    HistoryRange range_ = HistoryRange::Day;
    HistoryPicture picture_;
    std::vector<LegendBox> legend_;
    uint8_t hidden_ = 0;
    RECT plotRect_{};
    bool dirty_ = true;
    HBITMAP buffer_ = nullptr;
    SIZE bufferSize_{0, 0};
    int hoverColumn_ = -1;
    int hoverHeight_ = 0;
    bool tracking_ = false;
    HBRUSH noticeBrush_ = nullptr;
};

}  // namespace corvane::win32
