// What happens to an exception at the edge of a window procedure, and the classes' registration.
#include "win32/window_procedure.h"

#include <string>

#include "common/app.h"
#include "common/errors.h"
#include "win32/resource.h"
#include "win32/win32_text.h"

namespace corvane::win32 {

namespace {

bool leaving = false;

std::string uncaughtText() {
    try {
        throw;
    } catch (const RuntimeError& error) {
        return "Erreur d'exécution '" + std::to_string(error.number()) + "' :\r\n\r\n" +
               error.description();
    } catch (const ProgramEnd&) {
        return {};
    } catch (...) {
        return "Erreur d'exécution :\r\n\r\nune erreur imprévue a arrêté le programme.";
    }
}

}  // namespace

bool leavingOnUncaught() {
    return leaving;
}

void leaveOnUncaught(HWND hwnd) noexcept {
    if (leaving) return;
    leaving = true;
    try {
        std::string text = uncaughtText();
        if (!text.empty()) {
            MessageBoxA(hwnd, toAnsi(text).c_str(), kAppTitle, MB_OK | MB_ICONERROR | MB_TASKMODAL);
        }
    } catch (...) {
        // Not even the message could be made: the program still ends.
    }
    PostQuitMessage(1);
}

void registerWindowClass(HINSTANCE instance, const char* name, WNDPROC procedure, ClassLook look) {
    WNDCLASSA windowClass{};
    windowClass.lpfnWndProc = procedure;
    windowClass.hInstance = instance;
    if (look.programIcon) windowClass.hIcon = LoadIconA(instance, MAKEINTRESOURCEA(IDI_CORVANE));
    windowClass.hCursor = LoadCursorA(nullptr, look.cursor);
    if (look.buttonFace) windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    windowClass.lpszClassName = name;
    RegisterClassA(&windowClass);
}

}  // namespace corvane::win32
