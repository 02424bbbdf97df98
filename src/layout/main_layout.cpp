// The main window's controls and the scratch list window's lists, as created.
#include "layout/main_layout.h"

namespace corvane {

const std::vector<ControlLayout>& mainWindowControls() {
    static const std::vector<ControlLayout> controls = {
        {Control::cadre, "cadre", ControlKind::Frame, false, 0, 0, 5895, 1575,
         "Informations Corvane", nullptr, kFrameFont, 2, false},
        {Control::Label2, "Label2", ControlKind::Label, false, 4080, 600, 1215, 495, "Label2",
         nullptr, kWindowFont, 10, false},
        {Control::Windows, "Windows", ControlKind::Label, true, 120, 240, 4335, 255, "WINDOWS",
         "Version de Windows", kLabelFont, 3, false},
        {Control::processeur, "processeur", ControlKind::Label, true, 4560, 240, 1215, 255, "CPU",
         "Nombre et famille de processeur", kLabelFont, 4, false},
        {Control::MemLibre, "MemLibre", ControlKind::Label, true, 120, 480, 5655, 255,
         "Mémoire libre", "Quantité de mémoire RAM occupée par raport à la mémoire totale",
         kLabelFont, 6, false},
        {Control::Label1, "Label1", ControlKind::Label, true, 120, 720, 2370, 195,
         "Analyse du fichier SWAP depuis :", nullptr, kUnderlinedLabelFont, 7, true},
        {Control::DebutWin, "DébutWin", ControlKind::Label, true, 4800, 720, 1005, 195,
         "2  h 5 mn 25 s", nullptr, kLabelFont, 5, true},
        {Control::swap, "swap", ControlKind::Label, true, 360, 960, 5415, 255, "Fichier Swap",
         "Taille du fichier SWAP actuelle,mini,maxi et moyenne", kLabelFont, 1, false},
        {Control::dessus, "dessus", ControlKind::CheckBox, true, 120, 1200, 1455, 255,
         "Toujours visible", nullptr, kLabelFont, 0, false},
        {Control::Slider, "Slider", ControlKind::Slider, true, 1800, 1200, 3135, 270, "",
         "Raffraichissement", kLabelFont, 8, false},
        {Control::lblRaf, "lblRaf", ControlKind::Label, true, 5160, 1200, 210, 195, "1 s", nullptr,
         kLabelFont, 9, true},
    };
    return controls;
}

const std::vector<ListLayout>& dbWindowLists() {
    static const std::vector<ListLayout> lists = {
        {DbList::List2, "List2", 0, 0, 3975, 1620, 1},
        {DbList::List1, "List1", 0, 1680, 3975, 3375, 0},
    };
    return lists;
}

}  // namespace corvane
