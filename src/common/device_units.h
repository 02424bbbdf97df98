// A device's resolution and a system icon's side as the windows use them.
#pragma once

namespace corvane {

// The resolution of a standard screen, in dots per inch.
inline constexpr int kStandardDpi = 96;

// A device's dots per inch as the program uses them. A device that answers 0 or less (a broken
// display or printer driver; Wine's 32-bit processes under its 64-bit loader) is taken as a
// standard screen, so that no size comes out zero and nothing divides by it.
inline int usableDpi(int reported) {
    return reported > 0 ? reported : kStandardDpi;
}

// A system icon's side in pixels, where the system may answer 0: then the side such an icon has
// at the given resolution (`standard` pixels at 96 dpi).
inline int usableIconSide(int reported, int standard, int dpi) {
    if (reported > 0) return reported;
    return standard * usableDpi(dpi) / kStandardDpi;
}

}  // namespace corvane
