// What the core asks of the notification area (the icons beside the taskbar's clock), and of
// the taskbar when there is no icon to speak from.
#pragma once

#include <string>

namespace corvane {

// The icon as the core words and measures it; the platform draws it at the system's size.
struct TrayIcon {
    int gaugePermille = -1;  // how full the gauge is; -1: an empty gauge
    bool alarm = false;      // drawn in the alarm's colour
    std::string tooltip;  // lines separated by "\n"; the platform cuts what the system cannot hold
};

class NotificationArea {
public:
    virtual ~NotificationArea() = default;
    // Adds the icon, or changes it when it is there. False where the system has no
    // notification area, or none yet (no taskbar): the icon is then added as soon as the
    // taskbar comes, and kept up to date by later calls.
    virtual bool showIcon(const TrayIcon& icon) = 0;
    virtual void removeIcon() = 0;
    // A balloon from the icon, which the user need not answer. False where it cannot be shown
    // (no icon, or a system whose notification area has no balloons).
    virtual bool showBalloon(const std::string& title, const std::string& text) = 0;
    // Flashes the main window's taskbar button until the user comes back to the window.
    virtual void flashTaskbarButton() = 0;
};

}  // namespace corvane
