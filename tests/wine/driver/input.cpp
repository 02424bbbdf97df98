// Real keyboard and mouse input, which goes where the system sends a user's input: the
// foreground window and its focused control.
#include "driver.h"

namespace corvane::wine {

void bringToFront(const Window& window) {
    if (pollUntil(
            [&] {
                if (GetForegroundWindow() == window.handle()) return true;
                SetForegroundWindow(window.handle());
                return false;
            },
            3000)) {
        return;
    }
    throw DriverError("window " + window.className() + " does not come to the foreground");
}

namespace {

void sendMouse(const Window& window, const std::vector<DWORD>& actions) {
    RECT r = window.rect();
    const int x = (r.left + r.right) / 2;
    const int y = (r.top + r.bottom) / 2;
    const int width = GetSystemMetrics(SM_CXSCREEN);
    const int height = GetSystemMetrics(SM_CYSCREEN);
    std::vector<INPUT> inputs;
    for (DWORD action : actions) {
        INPUT input{};
        input.type = INPUT_MOUSE;
        input.mi.dx = x * 65535 / (width - 1);
        input.mi.dy = y * 65535 / (height - 1);
        input.mi.dwFlags = action | MOUSEEVENTF_ABSOLUTE;
        inputs.push_back(input);
    }
    const UINT count = static_cast<UINT>(inputs.size());
    if (SendInput(count, inputs.data(), sizeof(INPUT)) != count) {
        throw DriverError("SendInput (mouse): " + lastErrorText());
    }
}

}  // namespace

void moveMouseOver(const Window& window) {
    sendMouse(window, {MOUSEEVENTF_MOVE});
}

void clickCentre(const Window& window) {
    sendMouse(window, {MOUSEEVENTF_MOVE, MOUSEEVENTF_LEFTDOWN, MOUSEEVENTF_LEFTUP});
}

void giveFocus(const Window& control) {
    const DWORD self = GetCurrentThreadId();
    const DWORD target = control.threadId();
    // Focus belongs to a thread's input state: share it for the moment of the call.
    if (!AttachThreadInput(self, target, TRUE)) {
        throw DriverError("AttachThreadInput: " + lastErrorText());
    }
    SetFocus(control.handle());
    AttachThreadInput(self, target, FALSE);
    if (!pollUntil(
            [&] {
                return Window(GetAncestor(control.handle(), GA_ROOT)).focus() == control.handle();
            },
            3000)) {
        throw DriverError("control " + control.className() + " did not take the focus");
    }
}

void pressKeys(const std::vector<WORD>& virtualKeys) {
    std::vector<INPUT> inputs;
    for (WORD key : virtualKeys) {
        INPUT input{};
        input.type = INPUT_KEYBOARD;
        input.ki.wVk = key;
        input.ki.wScan = static_cast<WORD>(MapVirtualKeyW(key, MAPVK_VK_TO_VSC));
        inputs.push_back(input);
    }
    for (auto key = virtualKeys.rbegin(); key != virtualKeys.rend(); ++key) {
        INPUT input{};
        input.type = INPUT_KEYBOARD;
        input.ki.wVk = *key;
        input.ki.wScan = static_cast<WORD>(MapVirtualKeyW(*key, MAPVK_VK_TO_VSC));
        input.ki.dwFlags = KEYEVENTF_KEYUP;
        inputs.push_back(input);
    }
    const UINT count = static_cast<UINT>(inputs.size());
    if (SendInput(count, inputs.data(), sizeof(INPUT)) != count) {
        throw DriverError("SendInput (keys): " + lastErrorText());
    }
}

}  // namespace corvane::wine
