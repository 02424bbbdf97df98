// The Win32 implementation of the windows service: the windows that come and go over the main
// window (About, the history, the virtual memory, the page file's advice) and the settings
// dialogs.
#pragma once

#include <windows.h>

#include <memory>

#include "platform/platform.h"
#include "win32/advice_view.h"
#include "win32/history_view.h"
#include "win32/metrics.h"
#include "win32/owner_window.h"
#include "win32/virtual_memory_view.h"

namespace corvane::win32 {

class Win32Windows : public Windows {
public:
    Win32Windows(HINSTANCE instance, const Metrics& metrics, Win32HistoryView& history,
                 Win32VirtualMemoryView& memory, const OwnerWindow& owner);
    void showAboutModal(AboutWindow& logic) override;
    void showHistory(History& history) override;
    void showVirtualMemory(MemoryWatch& watch) override;
    std::optional<AlertSettings> editAlerts(const AlertSettings& current) override;
    std::optional<PrometheusSettings> editPrometheus(const PrometheusSettings& current) override;
    void showAdvice(AdviceWatch& watch) override;

private:
    HINSTANCE instance_;
    const Metrics& metrics_;
    Win32HistoryView& history_;
    Win32VirtualMemoryView& memory_;
    const OwnerWindow& owner_;                 // the main window, which owns the modal dialogs
    std::unique_ptr<Win32AdviceView> advice_;  // made at its first opening
};

}  // namespace corvane::win32
