// The "Mémoire virtuelle" window: the commit as "used / limit" with a bar, the peaks, a line per
// page file, and the programs holding the most commit in columns, each of which sorts the list
// both ways.
// Resizable; the core fills it at each refresh while it is open.
#pragma once

#include <windows.h>

#include <optional>
#include <string>
#include <vector>

#include "memory/memory_watch.h"
#include "platform/virtual_memory.h"
#include "win32/metrics.h"

namespace corvane::win32 {

inline constexpr const char* kVirtualMemoryWindowClass = "CorvaneVirtualMemory";

class Win32VirtualMemoryView : public VirtualMemoryView {
public:
    Win32VirtualMemoryView(HINSTANCE instance, const Metrics& metrics);
    ~Win32VirtualMemoryView() override;
    Win32VirtualMemoryView(const Win32VirtualMemoryView&) = delete;
    Win32VirtualMemoryView& operator=(const Win32VirtualMemoryView&) = delete;

    static void registerClass(HINSTANCE instance);
    // Every message of the window, from its window procedure.
    LRESULT onMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    // Creates the window over `watch` and shows it, or brings it to the front.
    void open(MemoryWatch& watch);
    void show(const VirtualMemoryReport& report) override;

private:
    LRESULT handle(UINT message, WPARAM wParam, LPARAM lParam);
    void createControls();
    void layoutControls();
    void setColumns();
    // The sorted column's arrow in the header.
    void markSortedColumn(const ProgramSort& sort);
    void drawProgram(const DRAWITEMSTRUCT& item);
    void setText(VirtualMemoryControl id, const std::string& utf8);
    HWND control(VirtualMemoryControl id) const;

    HINSTANCE instance_;
    const Metrics& metrics_;
    MemoryWatch* watch_ = nullptr;
    HWND hwnd_ = nullptr;
    HFONT font_ = nullptr;
    int lineHeight_ = 16;
    int pageFileLines_ = 1;
    std::vector<std::string> texts_;  // by control, to skip unchanged writes
    std::vector<std::string> programs_;
    std::vector<int> columnWidths_;
    std::optional<ProgramSort> markedSort_;  // the sort the header shows
};

}  // namespace corvane::win32
