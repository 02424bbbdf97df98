// Screenshots of the driven program, written as PNG files (uncompressed deflate: no library
// needed, and a 400 x 150 window is still only a few hundred kilobytes).
#include <cstring>

#include "driver.h"

namespace corvane::wine {

namespace {

uint32_t crc32(const uint8_t* data, size_t size, uint32_t crc = 0) {
    static uint32_t table[256];
    static bool ready = false;
    if (!ready) {
        for (uint32_t n = 0; n < 256; ++n) {
            uint32_t c = n;
            for (int k = 0; k < 8; ++k) c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
            table[n] = c;
        }
        ready = true;
    }
    crc = ~crc;
    for (size_t i = 0; i < size; ++i) crc = table[(crc ^ data[i]) & 0xFF] ^ (crc >> 8);
    return ~crc;
}

void putBig32(std::string& out, uint32_t value) {
    for (int shift = 24; shift >= 0; shift -= 8) out += static_cast<char>((value >> shift) & 0xFF);
}

void putChunk(std::string& out, const char* type, const std::string& data) {
    putBig32(out, static_cast<uint32_t>(data.size()));
    std::string body = std::string(type, 4) + data;
    out += body;
    putBig32(out, crc32(reinterpret_cast<const uint8_t*>(body.data()), body.size()));
}

// `rgb` holds the rows top to bottom, three bytes a pixel.
std::string encodePng(int width, int height, const std::vector<uint8_t>& rgb) {
    std::string raw;
    const size_t rowBytes = static_cast<size_t>(width) * 3;
    for (int y = 0; y < height; ++y) {
        raw += '\0';  // filter: none
        raw.append(reinterpret_cast<const char*>(&rgb[y * rowBytes]), rowBytes);
    }
    std::string zlib = "\x78\x01";
    uint32_t a = 1, b = 0;
    for (unsigned char c : raw) {
        a = (a + c) % 65521;
        b = (b + a) % 65521;
    }
    for (size_t pos = 0; pos < raw.size() || pos == 0;) {
        const size_t length = std::min<size_t>(65535, raw.size() - pos);
        const bool last = pos + length >= raw.size();
        zlib += static_cast<char>(last ? 1 : 0);
        zlib += static_cast<char>(length & 0xFF);
        zlib += static_cast<char>(length >> 8);
        zlib += static_cast<char>(~length & 0xFF);
        zlib += static_cast<char>((~length >> 8) & 0xFF);
        zlib.append(raw, pos, length);
        pos += length;
        if (last) break;
    }
    putBig32(zlib, (b << 16) | a);

    std::string header;
    putBig32(header, static_cast<uint32_t>(width));
    putBig32(header, static_cast<uint32_t>(height));
    header += "\x08\x02\x00\x00\x00";  // 8-bit RGB, no interlace
    header.resize(13);
    std::string png = "\x89PNG\r\n\x1a\n";
    putChunk(png, "IHDR", header);
    putChunk(png, "IDAT", zlib);
    putChunk(png, "IEND", "");
    return png;
}

}  // namespace

std::vector<uint8_t> screenPixels(const RECT& r) {
    const int width = r.right - r.left;
    const int height = r.bottom - r.top;
    HDC screen = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(screen);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, width, height);
    HGDIOBJ previous = SelectObject(memory, bitmap);
    BitBlt(memory, 0, 0, width, height, screen, r.left, r.top, SRCCOPY | CAPTUREBLT);
    SelectObject(memory, previous);

    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    std::vector<uint8_t> bgra(static_cast<size_t>(width) * height * 4);
    const int rows = GetDIBits(memory, bitmap, 0, height, bgra.data(), &info, DIB_RGB_COLORS);
    DeleteObject(bitmap);
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);
    if (rows != height) throw DriverError("GetDIBits: " + lastErrorText());
    return bgra;
}

void saveScreenshot(const Window& window, const std::string& pngPath) {
    RECT r{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
    if (window) {
        r = window.rect();
        // Painting is asked for and waited on; the pixels then reach the screen a little later,
        // so the picture is taken once it has stopped changing.
        RedrawWindow(window.handle(), nullptr, nullptr,
                     RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
    }
    const int width = r.right - r.left;
    const int height = r.bottom - r.top;
    if (width <= 0 || height <= 0) throw DriverError("nothing to take a screenshot of");

    std::vector<uint8_t> bgra = screenPixels(r);
    ULONGLONG since = GetTickCount64();
    pollUntil(
        [&] {
            if (GetTickCount64() - since < 100) return false;
            std::vector<uint8_t> again = screenPixels(r);
            if (again == bgra) return true;
            bgra = std::move(again);
            since = GetTickCount64();
            return false;
        },
        3000);

    std::vector<uint8_t> rgb(static_cast<size_t>(width) * height * 3);
    for (size_t i = 0, j = 0; i < bgra.size(); i += 4, j += 3) {
        rgb[j] = bgra[i + 2];
        rgb[j + 1] = bgra[i + 1];
        rgb[j + 2] = bgra[i];
    }
    const std::string png = encodePng(width, height, rgb);
    HANDLE file = CreateFileW(fromUtf8(pngPath).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        throw DriverError("cannot write " + pngPath + ": " + lastErrorText());
    }
    DWORD written = 0;
    const bool done =
        WriteFile(file, png.data(), static_cast<DWORD>(png.size()), &written, nullptr) &&
        written == png.size();
    CloseHandle(file);
    if (!done) throw DriverError("cannot write " + pngPath + ": " + lastErrorText());
}

int displayDpi() {
    HDC screen = GetDC(nullptr);
    const int dpi = GetDeviceCaps(screen, LOGPIXELSX);
    ReleaseDC(nullptr, screen);
    return dpi;
}

}  // namespace corvane::wine
