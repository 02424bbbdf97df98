// The printer dialog, and an image of the main window's client area sent to the printer.
#include "win32/printer_win32.h"

#include <commdlg.h>

#include <string>

#include "common/device_units.h"
#include "win32/function_lookup.h"
#include "win32/system_library.h"
#include "win32/win32_errors.h"

namespace corvane::win32 {

namespace {

constexpr int kErrPrinter = 482;  // the printer reported an error

RuntimeError printerError() {
    return RuntimeError(kErrPrinter, "Erreur d'imprimante");
}

// The client area as a 24-bit bottom-up DIB, copied from the screen once the window has
// painted what the printer dialog covered.
struct WindowImage {
    BITMAPINFO info{};
    HBITMAP bitmap = nullptr;
    void* bits = nullptr;

    ~WindowImage() {
        if (bitmap) DeleteObject(bitmap);
    }

    bool capture(HWND window) {
        RECT client;
        GetClientRect(window, &client);
        int width = client.right - client.left;
        int height = client.bottom - client.top;
        if (width <= 0 || height <= 0) return false;
        info.bmiHeader.biSize = sizeof info.bmiHeader;
        info.bmiHeader.biWidth = width;
        info.bmiHeader.biHeight = height;
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = 24;
        info.bmiHeader.biCompression = BI_RGB;

        RedrawWindow(window, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
        HDC screen = GetDC(window);
        bitmap = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
        HDC memory = CreateCompatibleDC(screen);
        bool done = false;
        if (bitmap && memory) {
            HGDIOBJ old = SelectObject(memory, bitmap);
            done = BitBlt(memory, 0, 0, width, height, screen, 0, 0, SRCCOPY) != 0;
            GdiFlush();
            SelectObject(memory, old);
        }
        if (memory) DeleteDC(memory);
        ReleaseDC(window, screen);
        return done;
    }
};

}  // namespace

Win32Printer::~Win32Printer() {
    if (printerDc_) DeleteDC(printerDc_);
    if (devMode_) GlobalFree(devMode_);
    if (devNames_) GlobalFree(devNames_);
}

std::optional<int32_t> Win32Printer::registerCommonDialog() {
    // Only the copy in the system folder: a library of that name anywhere else (the current
    // folder, the program's) is not run.
    char folder[MAX_PATH];
    UINT length = GetSystemDirectoryA(folder, MAX_PATH);
    if (length == 0 || length >= MAX_PATH) return std::nullopt;
    std::string path(folder, length);
    if (path.back() != '\\') path += '\\';
    path += "ComDlg32.OCX";
    DWORD attributes = GetFileAttributesA(path.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_DIRECTORY)) {
        return std::nullopt;
    }
    HMODULE library = LoadLibraryExA(path.c_str(), nullptr, LOAD_WITH_ALTERED_SEARCH_PATH);
    if (!library) raiseLastError();
    using Register = HRESULT(STDAPICALLTYPE*)();
    auto registerServer = procedure<Register>(library, "DllRegisterServer");
    if (!registerServer) {
        FreeLibrary(library);
        throw RuntimeError(453, "Point d'entrée DllRegisterServer introuvable");
    }
    HRESULT result = registerServer();
    FreeLibrary(library);
    return static_cast<int32_t>(result);
}

void Win32Printer::showPrinterDialog() {
    if (printerDc_) {
        DeleteDC(printerDc_);
        printerDc_ = nullptr;
    }
    PRINTDLGA dialog{};
    dialog.lStructSize = sizeof dialog;
    dialog.hwndOwner = mainWindow_;
    dialog.hDevMode = devMode_;
    dialog.hDevNames = devNames_;
    dialog.Flags = PD_RETURNDC | PD_NOPAGENUMS | PD_NOSELECTION | PD_HIDEPRINTTOFILE;
    using PrintDlgFn = decltype(&::PrintDlgA);
    using ExtendedErrorFn = decltype(&::CommDlgExtendedError);
    static const auto printDlg = systemFunction<PrintDlgFn>("comdlg32.dll", "PrintDlgA");
    static const auto extendedError =
        systemFunction<ExtendedErrorFn>("comdlg32.dll", "CommDlgExtendedError");
    if (!printDlg || !extendedError) throw printerError();
    BOOL chosen = printDlg(&dialog);
    devMode_ = dialog.hDevMode;
    devNames_ = dialog.hDevNames;
    if (!chosen) {
        if (extendedError() == 0) throw RuntimeError(kErrCancel);
        throw printerError();
    }
    printerDc_ = dialog.hDC;
}

void Win32Printer::printMainWindow() {
    HDC printer = printerDc_;
    printerDc_ = nullptr;
    if (!printer) throw printerError();

    WindowImage image;
    if (!mainWindow_ || !image.capture(mainWindow_)) {
        DeleteDC(printer);
        throw printerError();
    }
    // About the size the window has on the screen, half an inch in from the printable area's
    // corner.
    HDC screen = GetDC(nullptr);
    int screenDpiX = usableDpi(GetDeviceCaps(screen, LOGPIXELSX));
    int screenDpiY = usableDpi(GetDeviceCaps(screen, LOGPIXELSY));
    ReleaseDC(nullptr, screen);
    int printerDpiX = usableDpi(GetDeviceCaps(printer, LOGPIXELSX));
    int printerDpiY = usableDpi(GetDeviceCaps(printer, LOGPIXELSY));
    int width = image.info.bmiHeader.biWidth;
    int height = image.info.bmiHeader.biHeight;

    DOCINFOA document{};
    document.cbSize = sizeof document;
    document.lpszDocName = "Corvane";
    bool printed = false;
    if (StartDocA(printer, &document) > 0) {
        if (StartPage(printer) > 0) {
            SetStretchBltMode(printer, COLORONCOLOR);
            printed = StretchDIBits(printer, printerDpiX / 2, printerDpiY / 2,
                                    MulDiv(width, printerDpiX, screenDpiX),
                                    MulDiv(height, printerDpiY, screenDpiY), 0, 0, width, height,
                                    image.bits, &image.info, DIB_RGB_COLORS,
                                    SRCCOPY) != static_cast<int>(GDI_ERROR);
            printed = EndPage(printer) > 0 && printed;
        }
        if (printed) {
            printed = EndDoc(printer) > 0;
        } else {
            AbortDoc(printer);
        }
    }
    DeleteDC(printer);
    if (!printed) throw printerError();
}

}  // namespace corvane::win32
