// Reading and addressing the driven program's windows, controls and message boxes.
#include "driver.h"

namespace corvane::wine {

namespace {

std::string classOf(HWND window) {
    wchar_t name[256] = L"";
    GetClassNameW(window, name, 256);
    return toUtf8(name);
}

// Asks the window's program for its text. The text may change between asking its length and
// reading it, so a buffer that came back full is read again, larger. A busy program is waited
// for (up to the timeout), not taken for a hung one: under emulation a program may not look at
// its messages for many seconds while it starts.
std::string textOf(HWND window) {
    DWORD_PTR length = 0;
    if (!SendMessageTimeoutW(window, WM_GETTEXTLENGTH, 0, 0, SMTO_NORMAL, kTimeoutMs, &length)) {
        throw DriverError("window " + classOf(window) + " does not answer WM_GETTEXTLENGTH");
    }
    for (size_t size = length + 64;; size *= 2) {
        std::wstring text(size, L'\0');
        DWORD_PTR copied = 0;
        if (!SendMessageTimeoutW(window, WM_GETTEXT, size, reinterpret_cast<LPARAM>(text.data()),
                                 SMTO_NORMAL, kTimeoutMs, &copied)) {
            throw DriverError("window " + classOf(window) + " does not answer WM_GETTEXT");
        }
        if (copied + 1 < size) {
            text.resize(copied);
            return toUtf8(text);
        }
    }
}

BOOL CALLBACK collectChild(HWND child, LPARAM list) {
    reinterpret_cast<std::vector<HWND>*>(list)->push_back(child);
    return TRUE;
}

BOOL CALLBACK collectTopLevel(HWND window, LPARAM list) {
    reinterpret_cast<std::vector<HWND>*>(list)->push_back(window);
    return TRUE;
}

std::string hex(const void* pointer) {
    char text[32];
    wsprintfA(text, "%p", pointer);
    return text;
}

}  // namespace

bool Window::exists() const {
    return handle_ && IsWindow(handle_);
}
std::string Window::className() const {
    return classOf(handle_);
}
std::string Window::text() const {
    return textOf(handle_);
}

RECT Window::rect() const {
    RECT r{};
    if (!GetWindowRect(handle_, &r)) throw DriverError("GetWindowRect: " + lastErrorText());
    return r;
}

RECT Window::clientRect() const {
    RECT r{};
    if (!GetClientRect(handle_, &r)) throw DriverError("GetClientRect: " + lastErrorText());
    return r;
}

LONG Window::style() const {
    return GetWindowLongW(handle_, GWL_STYLE);
}
LONG Window::exStyle() const {
    return GetWindowLongW(handle_, GWL_EXSTYLE);
}
bool Window::visible() const {
    return IsWindowVisible(handle_);
}
bool Window::minimised() const {
    return IsIconic(handle_);
}
bool Window::topmost() const {
    return (exStyle() & WS_EX_TOPMOST) != 0;
}
HWND Window::owner() const {
    return GetWindow(handle_, GW_OWNER);
}

DWORD Window::processId() const {
    DWORD id = 0;
    GetWindowThreadProcessId(handle_, &id);
    return id;
}

DWORD Window::threadId() const {
    return GetWindowThreadProcessId(handle_, nullptr);
}

std::vector<ControlInfo> Window::controls() const {
    std::vector<HWND> handles;
    EnumChildWindows(handle_, collectChild, reinterpret_cast<LPARAM>(&handles));
    std::vector<ControlInfo> result;
    for (HWND child : handles) {
        result.push_back({child, GetDlgCtrlID(child), classOf(child), textOf(child),
                          GetWindowLongW(child, GWL_STYLE)});
    }
    return result;
}

bool Window::hasControl(int id) const {
    for (const ControlInfo& info : controls()) {
        if (info.id == id) return true;
    }
    return false;
}

Window Window::control(int id) const {
    for (const ControlInfo& info : controls()) {
        if (info.id == id) return Window(info.handle);
    }
    throw DriverError("window " + className() + " has no control of ID " + std::to_string(id));
}

std::string Window::controlText(int id) const {
    return control(id).text();
}

std::string Window::waitControlText(int id, const std::string& prefix, DWORD timeoutMs) const {
    return control(id).waitText(prefix, timeoutMs);
}

std::string Window::waitText(const std::string& prefix, DWORD timeoutMs) const {
    // A program that does not answer yet is still starting: asked again until the timeout.
    std::string last;
    std::string unanswered;
    const bool shown = pollUntil(
        [&] {
            try {
                last = text();
                unanswered.clear();
            } catch (const DriverError& error) {
                unanswered = error.what();
                return false;
            }
            return last.rfind(prefix, 0) == 0;
        },
        timeoutMs);
    if (shown) return last;
    throw DriverError("window " + className() + " " + hex(handle_) + " never showed \"" + prefix +
                      "...\" within " + std::to_string(timeoutMs) + " ms; it shows \"" + last +
                      "\"" + (unanswered.empty() ? "" : " (" + unanswered + ")"));
}

void Window::post(UINT message, WPARAM wParam, LPARAM lParam) const {
    if (!PostMessageW(handle_, message, wParam, lParam)) {
        throw DriverError("cannot post message " + std::to_string(message) + " to " + className() +
                          ": " + lastErrorText());
    }
}

LRESULT Window::send(UINT message, WPARAM wParam, LPARAM lParam, DWORD timeoutMs) const {
    DWORD_PTR result = 0;
    if (!SendMessageTimeoutW(handle_, message, wParam, lParam, SMTO_ABORTIFHUNG, timeoutMs,
                             &result)) {
        throw DriverError("window " + className() + " did not answer message " +
                          std::to_string(message) + " within " + std::to_string(timeoutMs) + " ms");
    }
    return static_cast<LRESULT>(result);
}

int Window::listCount() const {
    return static_cast<int>(send(LB_GETCOUNT));
}

std::vector<std::string> Window::listItems() const {
    std::vector<std::string> items;
    const int count = listCount();
    for (int i = 0; i < count; ++i) {
        std::wstring item(send(LB_GETTEXTLEN, i) + 1, L'\0');
        item.resize(send(LB_GETTEXT, i, reinterpret_cast<LPARAM>(item.data())));
        items.push_back(toUtf8(item));
    }
    return items;
}

HWND Window::focus() const {
    GUITHREADINFO info{};
    info.cbSize = sizeof info;
    if (!GetGUIThreadInfo(threadId(), &info)) return nullptr;
    return info.hwndFocus;
}

std::vector<Window> topWindows(DWORD processId, const std::string& className, bool visibleOnly) {
    std::vector<HWND> handles;
    EnumWindows(collectTopLevel, reinterpret_cast<LPARAM>(&handles));
    std::vector<Window> found;
    for (HWND window : handles) {
        DWORD owner = 0;
        GetWindowThreadProcessId(window, &owner);
        if (processId && owner != processId) continue;
        if (visibleOnly && !IsWindowVisible(window)) continue;
        if (!className.empty() && classOf(window) != className) continue;
        found.emplace_back(window);
    }
    return found;
}

Window waitWindow(DWORD processId, const std::string& className, DWORD timeoutMs) {
    Window found;
    pollUntil(
        [&] {
            auto windows = topWindows(processId, className);
            if (!windows.empty()) found = windows.front();
            return bool(found);
        },
        timeoutMs);
    if (!found) {
        throw DriverError("no visible window of class \"" + className + "\" from process " +
                          std::to_string(processId) + " within " + std::to_string(timeoutMs) +
                          " ms");
    }
    return found;
}

std::vector<MessageBoxInfo> messageBoxes(DWORD processId) {
    std::vector<MessageBoxInfo> boxes;
    for (const Window& dialog : topWindows(processId, "#32770")) {
        try {
            MessageBoxInfo box{dialog, dialog.text(), "", {}, dialog.owner()};
            for (const ControlInfo& control : dialog.controls()) {
                if (control.id == 0xFFFF && lstrcmpiA(control.className.c_str(), "Static") == 0)
                    box.text = control.text;
                if (lstrcmpiA(control.className.c_str(), "Button") == 0)
                    box.buttons.push_back(control.id);
            }
            boxes.push_back(box);
        } catch (const DriverError&) {
            // A box that was answered goes while it is being read: it is no longer there.
            if (dialog.exists()) throw;
        }
    }
    return boxes;
}

MessageBoxInfo waitMessageBox(DWORD processId, DWORD timeoutMs) {
    std::vector<MessageBoxInfo> boxes;
    if (!pollUntil([&] { return !(boxes = messageBoxes(processId)).empty(); }, timeoutMs)) {
        throw DriverError("no message box from process " + std::to_string(processId) + " within " +
                          std::to_string(timeoutMs) + " ms");
    }
    return boxes.front();
}

void pressButton(const Window& dialog, int buttonId) {
    Window button = dialog.control(buttonId);
    dialog.post(WM_COMMAND, MAKEWPARAM(buttonId, BN_CLICKED),
                reinterpret_cast<LPARAM>(button.handle()));
}

}  // namespace corvane::wine
