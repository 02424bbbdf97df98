// The tool windows' font and the height of its lines.
#include "win32/message_font.h"

namespace corvane::win32 {

HGDIOBJ messageFont(HFONT& font) {
    NONCLIENTMETRICSA metrics{};
    metrics.cbSize = sizeof metrics;
    if (!font && SystemParametersInfoA(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0))
        font = CreateFontIndirectA(&metrics.lfMessageFont);
    return font ? static_cast<HGDIOBJ>(font) : GetStockObject(DEFAULT_GUI_FONT);
}

int lineHeightOf(HWND window, HGDIOBJ font, int fallback) {
    HDC dc = GetDC(window);
    if (!dc) return fallback;
    HGDIOBJ old = SelectObject(dc, font);
    TEXTMETRICA tm{};
    BOOL measured = GetTextMetricsA(dc, &tm);
    SelectObject(dc, old);
    ReleaseDC(window, dc);
    return measured && tm.tmHeight > 0 ? tm.tmHeight + tm.tmExternalLeading : fallback;
}

}  // namespace corvane::win32
