// The scratch list window `Db` as a Win32 window: two list boxes the core fills, made only when
// first shown.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "platform/platform.h"
#include "program/main_window.h"
#include "win32/metrics.h"

namespace corvane::win32 {

inline constexpr const char* kDbWindowClass = "CorvaneDb";

class Win32DbView : public DbView {
public:
    Win32DbView(HINSTANCE instance, const Metrics& metrics);
    static void registerClass(HINSTANCE instance);
    // Every message of the window, from its window procedure.
    LRESULT onMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    ~Win32DbView() override;
    void attach(MainWindow& core) { core_ = &core; }
    void destroy();

    // Loaded, for the core, from its first use; the window itself is made when it is first
    // shown, so that a start-up that only logs into it makes no window.
    bool isLoaded() override { return loaded_; }
    void load() override;
    void show() override;
    void clear(DbList list) override;
    void addItem(DbList list, const std::string& text) override;

private:
    // What a list shows. While the window is hidden its list boxes are left alone, so that
    // the refill at every tick costs nothing until someone can see it; they are brought up to
    // date when the window is shown.
    struct Lines {
        std::vector<std::string> items;
        bool stale = false;  // the list box does not show `items`
    };

    Lines& lines(DbList list) { return lines_[list == DbList::List1 ? 0 : 1]; }
    bool visible() const { return hwnd_ && IsWindowVisible(hwnd_); }
    void refill(DbList list);
    void createWindow();

    HINSTANCE instance_;
    const Metrics& metrics_;
    MainWindow* core_ = nullptr;
    HWND hwnd_ = nullptr;
    HFONT font_ = nullptr;
    bool loaded_ = false;
    Lines lines_[2];
};

}  // namespace corvane::win32
