// The floor program: the least a Win32 program can do to open Corvane's main window. Start-up
// benchmarks measure Corvane against it, and the Wine harness tests itself on it.
#include <windows.h>

#include "platform/control_ids.h"

namespace {

constexpr wchar_t kClassName[] = L"CorvaneMainWindow";
constexpr int kSwapLabelId = IDC_SWAP;
constexpr UINT_PTR kTimer1 = IDC_TIMER1;

LRESULT CALLBACK windowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_CREATE:
            CreateWindowExW(0, L"STATIC", L"Fichier Swap", WS_CHILD | WS_VISIBLE, 24, 64, 360, 17,
                            window, reinterpret_cast<HMENU>(kSwapLabelId), nullptr, nullptr);
            return 0;
        case WM_TIMER:
            // A tick proves the window answers: the label shows how many it has seen.
            if (wParam == kTimer1) {
                static unsigned ticks = 0;
                wchar_t text[32];
                wsprintfW(text, L"SWAP: %u", ++ticks);
                SetDlgItemTextW(window, kSwapLabelId, text);
            }
            return 0;
        case WM_CHAR:
            if (wParam == 27) DestroyWindow(window);
            return 0;
        case WM_DESTROY: PostQuitMessage(0); return 0;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int show) {
    WNDCLASSW windowClass{};
    windowClass.lpfnWndProc = windowProc;
    windowClass.hInstance = instance;
    windowClass.hCursor = LoadCursorW(nullptr, MAKEINTRESOURCEW(32512));
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    windowClass.lpszClassName = kClassName;
    if (!RegisterClassW(&windowClass)) return 1;

    HWND window =
        CreateWindowExW(0, kClassName, L"Informations Corvane",
                        WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX, CW_USEDEFAULT,
                        CW_USEDEFAULT, 400, 130, nullptr, nullptr, instance, nullptr);
    if (!window) return 1;
    ShowWindow(window, show);
    UpdateWindow(window);

    MSG message;
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
        // Keys go to the window whichever control has the focus.
        if (message.message == WM_CHAR) message.hwnd = window;
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    return static_cast<int>(message.wParam);
}
