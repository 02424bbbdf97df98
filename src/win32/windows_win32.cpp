// Opening the windows and dialogs the core asks for.
#include "win32/windows_win32.h"

#include "common/errors.h"
#include "win32/about_view.h"
#include "win32/alerts_dialog.h"
#include "win32/prometheus_dialog.h"

namespace corvane::win32 {

Win32Windows::Win32Windows(HINSTANCE instance, const Metrics& metrics, Win32HistoryView& history,
                           Win32VirtualMemoryView& memory, const OwnerWindow& owner)
    : instance_(instance), metrics_(metrics), history_(history), memory_(memory), owner_(owner) {
    Win32AboutView::registerClass(instance);
}

void Win32Windows::showAboutModal(AboutWindow& logic) {
    Win32AboutView view(instance_, metrics_, logic);
    if (!view.create()) throw RuntimeError(kErrOutOfMemory);
    logic.onLoad(view);
    view.runModal();
}

void Win32Windows::showHistory(History& history) {
    history_.open(history);
}

void Win32Windows::showVirtualMemory(MemoryWatch& watch) {
    memory_.open(watch);
}

void Win32Windows::showAdvice(AdviceWatch& watch) {
    if (!advice_) advice_ = std::make_unique<Win32AdviceView>(instance_, metrics_);
    advice_->open(watch);
}

std::optional<AlertSettings> Win32Windows::editAlerts(const AlertSettings& current) {
    return editAlertsInDialog(instance_, owner_, current);
}

std::optional<PrometheusSettings> Win32Windows::editPrometheus(const PrometheusSettings& current) {
    return editPrometheusInDialog(instance_, owner_, current);
}

}  // namespace corvane::win32
