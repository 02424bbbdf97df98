// The About window: credits, version and file date, a scrolling copyright line, an animated
// picture and the maker's two addresses.
#include "about/about_window.h"

#include <cstdio>

#include "about/links.h"
#include "common/addresses.h"
#include "common/app.h"
#include "common/text.h"
#include "layout/about_layout.h"

namespace corvane {

namespace {

std::string twoDigits(int n) {
    char buffer[16];
    std::snprintf(buffer, sizeof buffer, "%02d", n);
    return buffer;
}

// The program file: one "\" between folder and name, even at a drive's root.
std::string programFilePath(System& system) {
    std::string folder = system.applicationDirectory();
    if (folder.empty() || folder.back() != '\\') folder += '\\';
    return folder + system.executableName() + ".exe";
}

}  // namespace

AboutWindow::AboutWindow(Platform& platform) : platform_(platform) {}

void AboutWindow::onLoad(AboutView& view) {
    view_ = &view;
    closed_ = false;
    months_ = {"",          " Janvier ",  " Février ", " Mars ", " Avril ",
               " Mai ",     " Juin ",     " Juillet ", " Août ", " Septembre ",
               " Octobre ", " Novembre ", " Décembre "};
    view.setCaption(kAppTitle);
    text_ = utf8ToUtf16(std::string("Copyright ©") + kCopyrightHolderLine);
    position_ = 0;
    view.showImage(1);
    frame_ = 1;
    view.setText(AboutControl::Label1, std::string(" ") + kAppTitle);

    // The time is always written in full, midnight included, so the line keeps one shape.
    if (std::optional<DateTime> when =
            platform_.files.lastModified(programFilePath(platform_.system))) {
        char year[16];
        std::snprintf(year, sizeof year, "%04d", when->year);
        const char* month = when->month >= 1 && when->month <= 12 ? months_[when->month] : " ";
        view.setText(AboutControl::Label6,
                     std::to_string(when->day) + month + year + " " + twoDigits(when->hour) + ":" +
                         twoDigits(when->minute) + ":" + twoDigits(when->second));
    }

    std::string version = "Version ";
    std::vector<int> numbers = platform_.system.programVersion();
    for (size_t i = 0; i < numbers.size() && i < 3; ++i) {
        version += (i ? "." : "") + std::to_string(numbers[i]);
    }
    view.setText(AboutControl::Label5, version);

    view.setTimerInterval(kAboutTickMilliseconds);
    view.setTimerEnabled(true);
}

void AboutWindow::onTimer() {
    if (closed_ || !view_ || text_.empty()) return;
    const auto length = static_cast<int16_t>(text_.size());
    position_ = static_cast<int16_t>((position_ + 1) % length);
    if (position_ == 0) position_ = 1;
    // One character to the left per tick; the last one (a blank) is never shown.
    std::u16string shown =
        text_.substr(static_cast<size_t>(position_ - 1), static_cast<size_t>(length - position_)) +
        text_.substr(0, static_cast<size_t>(position_ - 1));
    view_->setText(AboutControl::Label2, utf16ToUtf8(shown));

    frame_ = (frame_ + 1) % kAboutImageCount;
    view_->showImage(frame_ + 1);
}

void AboutWindow::onKeyDown(int keyCode) {
    if (keyCode == 27) fin();
}

void AboutWindow::onOkButton() {
    fin();
}

void AboutWindow::openWebPage() {
    if (closed_) return;
    startAddress(platform_, kMakerWebPage);
}

void AboutWindow::writeToTheMaker() {
    if (closed_) return;
    // The subject goes as it is: the title has nothing that needs escaping.
    startAddress(platform_, std::string("mailto:") + kMakerEmail + "?subject=" + kAppTitle);
}

void AboutWindow::fin() {
    if (closed_ || !view_) return;
    closed_ = true;
    view_->setTimerEnabled(false);
    view_->close();
}

void AboutWindow::ErrStart(const std::string& argument, const RuntimeError& error) {
    corvane::ErrStart(platform_, argument, error);
}

}  // namespace corvane
