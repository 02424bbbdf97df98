// The About window `apropos` as it is created: its size, fonts and controls, in twips.
#pragma once

#include <cstdint>
#include <vector>

#include "layout/main_layout.h"
#include "platform/controls.h"

namespace corvane {

inline constexpr int kAboutClientWidthTwips = 4665;
inline constexpr int kAboutClientHeightTwips = 1575;
inline constexpr uint32_t kAboutTickMilliseconds = 120;
inline constexpr int kAboutImageCount = 4;

// `Label2`'s stored caption: the copyright holder line. The trailing blanks keep a gap between
// the end of the scrolling text and its start coming round again.
inline constexpr const char* kCopyrightHolderLine = "2026 - Corvane      ";

inline constexpr FontStyle kAboutWindowFont{"MS Sans Serif", 8.25, true, false, false};
inline constexpr FontStyle kAboutLabelFont{"MS Sans Serif", 8.25, false, false, false};
inline constexpr FontStyle kAboutLinkFont{"Arial", 8.25, true, true, true};
// The link labels' text colour, as Windows' COLORREF holds it (0x00BBGGRR): blue.
inline constexpr uint32_t kAboutLinkColour = 0xFF0000;

enum class AboutControlKind { Button, Picture, Label, Link };
enum class AboutAlign { Left, Right };

struct AboutControlLayout {
    AboutControl id;
    const char* name;
    AboutControlKind kind;
    int left, top, width, height;
    const char* text;  // the caption as the window is created
    FontStyle font;
    AboutAlign align;
    bool autoSize;  // the label grows down to hold its text, wrapped at its width
    int tabIndex;
};

// The controls in tab order.
const std::vector<AboutControlLayout>& aboutWindowControls();

}  // namespace corvane
