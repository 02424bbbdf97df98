// The main window and the scratch list window as they are created: every control's kind,
// position, size, text, tooltip and font. Positions and sizes are in twips (1/1440 inch).
#pragma once

#include <vector>

#include "platform/controls.h"

namespace corvane {

enum class ControlKind { Frame, Label, CheckBox, Slider };

struct FontStyle {
    const char* face;
    double points;
    bool bold;
    bool italic;
    bool underline;
};

inline constexpr FontStyle kWindowFont{"MS Sans Serif", 8.25, true, false, false};
inline constexpr FontStyle kFrameFont{"MS Sans Serif", 9.75, true, false, false};
inline constexpr FontStyle kLabelFont{"MS Sans Serif", 8.25, false, false, false};
inline constexpr FontStyle kUnderlinedLabelFont{"MS Sans Serif", 8.25, false, false, true};

struct ControlLayout {
    Control id;
    const char* name;
    ControlKind kind;
    bool inFrame;  // placed inside `cadre`, relative to its top-left corner
    int left, top, width, height;
    const char* text;
    const char* tooltip;  // nullptr: none
    FontStyle font;
    int tabIndex;
    bool autoSize;
};

struct WindowLayout {
    const char* caption;
    int clientWidth, clientHeight;
};

inline constexpr WindowLayout kMainWindow{"Informations Corvane", 9270, 1590};
inline constexpr int kFrameWidthTwips = 5895;
// At load the window is made exactly as wide as the frame, plus its borders.
inline constexpr int kMainWindowWidthTwips = kFrameWidthTwips + 100;
inline constexpr int kSliderMin = 1;
inline constexpr int kSliderMax = 60;

// The main window's controls in creation order.
const std::vector<ControlLayout>& mainWindowControls();

struct ListLayout {
    DbList id;
    const char* name;
    int left, top, width, height;
    int tabIndex;
};

inline constexpr WindowLayout kDbWindow{"Form1", 4005, 5070};
const std::vector<ListLayout>& dbWindowLists();

}  // namespace corvane
