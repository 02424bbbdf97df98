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
