// Twips to pixels at the system DPI, and fonts made from the layout's font descriptions.
#pragma once

#include <windows.h>

#include "layout/main_layout.h"

namespace corvane::win32 {

class Metrics {
public:
    Metrics();
    int x(int twips) const { return MulDiv(twips, dpiX_, 1440); }
    int y(int twips) const { return MulDiv(twips, dpiY_, 1440); }
    int dpiX() const { return dpiX_; }
    int dpiY() const { return dpiY_; }
    // A font of the given description; the caller owns it.
    HFONT createFont(const FontStyle& font) const;

private:
    int dpiX_ = 96;
    int dpiY_ = 96;
};

// The sides of the system's small and large icons, in pixels: where the system answers 0, the
// side such an icon has at the screen's resolution.
int smallIconSide();
int largeIconSide();

// Resizes a control to its text, as an auto-sized label does.
void fitToText(HWND control);
// Widens a check box whose caption does not fit in the font the system gave it.
void widenToText(HWND checkBox);

}  // namespace corvane::win32
