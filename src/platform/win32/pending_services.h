// Services whose commands are not in the program yet: every call raises an error, so nothing
// pretends to have printed or shown a window.
#pragma once

#include "platform/platform.h"

namespace corvane::win32 {

class NoPrinter : public Printer {
public:
    std::optional<int32_t> registerCommonDialog() override { return std::nullopt; }
    void showPrinterDialog() override { throw RuntimeError(kErrInvalidCall); }
    void printMainWindow() override { throw RuntimeError(kErrInvalidCall); }
};

class NoWindows : public Windows {
public:
    void showAboutModal(AboutWindow&) override { throw RuntimeError(kErrInvalidCall); }
};

}  // namespace corvane::win32
