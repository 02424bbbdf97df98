// The Win32 implementation of the dialogs service: message boxes and "Enregistrer sous".
#pragma once

#include <windows.h>

#include "platform/platform.h"
#include "win32/owner_window.h"

namespace corvane::win32 {

class Win32Dialogs : public Dialogs {
public:
    explicit Win32Dialogs(const OwnerWindow& owner) : owner_(owner) {}
    MsgAnswer messageBox(const std::string& text, const std::string& title,
                         MessageStyle style) override;
    std::optional<std::string> saveAs(const std::string& title, const std::string& suggestedName,
                                      const std::string& folder, const std::string& patternName,
                                      const std::string& pattern) override;
    std::string documentsFolder() override;

private:
    const OwnerWindow& owner_;
};

}  // namespace corvane::win32
