// The About window's controls as they are created.
#include "layout/about_layout.h"

#include "common/addresses.h"

namespace corvane {

const std::vector<AboutControlLayout>& aboutWindowControls() {
    using K = AboutControlKind;
    using A = AboutAlign;
    static const std::vector<AboutControlLayout> controls = {
        {AboutControl::Command1, "Command1", K::Button, 3600, 1080, 975, 375, "&OK",
         kAboutWindowFont, A::Left, false, 0},
        {AboutControl::Picture1, "Picture1", K::Picture, 240, 240, 495, 495, "", kAboutWindowFont,
         A::Left, false, 1},
        {AboutControl::Label1, "Label1", K::Label, 0, 0, 4455, 195, "", kAboutWindowFont, A::Right,
         true, 2},
        // Wide enough for the whole line, and left-aligned: the turning text keeps its place
        // and the label need not be resized at every tick.
        {AboutControl::Label2, "Label2", K::Label, 1380, 720, 3240, 195, kCopyrightHolderLine,
         kAboutLabelFont, A::Left, false, 3},
        {AboutControl::Label5, "Label5", K::Label, 840, 480, 3615, 195, "", kAboutLabelFont,
         A::Right, true, 4},
        {AboutControl::Label6, "Label6", K::Label, 720, 240, 3735, 195, "", kAboutLabelFont,
         A::Right, true, 5},
        {AboutControl::Label3, "Label3", K::Link, 120, 1200, 3375, 195, kMakerWebPage,
         kAboutLinkFont, A::Left, false, 6},
        {AboutControl::Label4, "Label4", K::Link, 120, 960, 2355, 195, kMakerEmail, kAboutLinkFont,
         A::Left, false, 7},
    };
    return controls;
}

}  // namespace corvane
