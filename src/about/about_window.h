// The About window's logic: what it shows at load, its two animations, its links and its exit.
#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "platform/platform.h"

namespace corvane {

class AboutWindow {
public:
    explicit AboutWindow(Platform& platform);

    // The window's events. `view` is the window just created; it stays valid until `fin`.
    void onLoad(AboutView& view);
    void onTimer();
    void onKeyDown(int keyCode);
    void onOkButton();
    void openWebPage();
    void writeToTheMaker();  // a mail to the e-mail address

    // Unloads the window.
    void fin();
    // The fallback for a link whose address could not be opened.
    void ErrStart(const std::string& argument, const RuntimeError& error);

    bool closed() const { return closed_; }

private:
    Platform& platform_;
    AboutView* view_ = nullptr;
    bool closed_ = false;
    std::array<const char*, 13> months_{};  // 1 to 12
    // The scrolling text, in UTF-16 so that it turns by characters, as the user sees them.
    std::u16string text_;
    int16_t position_ = 0;
    int frame_ = 0;
};

}  // namespace corvane
