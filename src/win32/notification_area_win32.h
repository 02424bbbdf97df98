// The notification area's icon of the main window: added, changed and removed with
// Shell_NotifyIcon in the form the system's shell32 takes, drawn at run time as a gauge at the
// small-icon size, added again when the taskbar comes back, and its clicks and context menu.
#pragma once

#include <windows.h>

#include <string>

#include "platform/notification_area.h"
#include "platform/tray_updates.h"
#include "win32/owner_window.h"

namespace corvane::win32 {

class Win32NotificationArea : public NotificationArea, private TrayShell {
public:
    explicit Win32NotificationArea(const OwnerWindow& owner);
    ~Win32NotificationArea() override;
    Win32NotificationArea(const Win32NotificationArea&) = delete;
    Win32NotificationArea& operator=(const Win32NotificationArea&) = delete;

    bool showIcon(const TrayIcon& icon) override;
    void removeIcon() override;
    bool showBalloon(const std::string& title, const std::string& text) override;
    void flashTaskbarButton() override;

    // A message of the main window that concerns the icon (its clicks, the taskbar made anew);
    // true when it was one.
    bool onMessage(UINT message, WPARAM wParam, LPARAM lParam);

private:
    // The shell's function and the structure's form it takes, found at the first use.
    bool loadShell();
    bool notify(DWORD action, UINT flags, const std::string& tooltip = {},
                const std::string& infoTitle = {}, const std::string& info = {});
    bool add() override;
    bool modify(unsigned changes) override;
    bool setVersion() override;
    HICON drawIcon(int gaugePermille, bool alarm) const;
    void bringBack();
    void showMenu();

    using NotifyFunction = BOOL(WINAPI*)(DWORD, void*);

    const OwnerWindow& owner_;
    UINT taskbarCreated_ = 0;
    bool shellLoaded_ = false;
    NotifyFunction notify_ = nullptr;
    DWORD dataSize_ = 0;    // the structure's size this shell32 takes
    size_t tipLength_ = 0;  // characters of tooltip it keeps, its end included
    bool balloons_ = false;
    bool version4_ = false;

    bool wanted_ = false;  // the core wants the icon
    TrayUpdates updates_;  // whether the shell has it, and what it has not taken yet
    HICON icon_ = nullptr;
    int drawnLevel_ = -2;  // the gauge's height in pixels that icon_ shows; -2: none drawn
    bool drawnAlarm_ = false;
    std::string tooltip_;
};

}  // namespace corvane::win32
