// Corvane's main window as a user first sees it: its labels, size, controls and menu.
#include <regex>

#include "corvane_fixture.h"

namespace corvane::wine {
namespace {

class MainWindowTest : public CorvaneTest {};

TEST_F(MainWindowTest, ShowsTheHeaderAndTheFirstSampleAtStart) {
    launch();
    shot("main-window");
    EXPECT_EQ(main.waitText(kMessageTitle), kMessageTitle);
    EXPECT_EQ(main.controlText(kSwap), "SWAP: 50 Mo  Mini: 50 Mo  Maxi: 50 Mo  Moy: 50 Mo");
    EXPECT_EQ(main.controlText(kLabel1), "Analyse du fichier SWAP (C:\\pagefile.sys) depuis :");
    EXPECT_TRUE(std::regex_match(main.controlText(kMemLibre),
                                 std::regex("Occupation RAM : [0-9]+/[0-9]+ Mo    "
                                            "Ressources utilisées : [0-9]+%")))
        << main.controlText(kMemLibre);
    EXPECT_TRUE(std::regex_match(main.controlText(kDebutWin), std::regex(" [0-9] s")))
        << "a new analysis has run for seconds: \"" << main.controlText(kDebutWin) << "\"";
    EXPECT_EQ(main.controlText(kDessus), "Toujours visible");
    EXPECT_EQ(main.controlText(kLblRaf), "60 s");
    EXPECT_EQ(main.control(kSlider).send(TBM_GETPOS), 60);
    EXPECT_EQ(main.controlText(kLabel2), "Label2");
    // The probes have replaced the placeholders.
    EXPECT_NE(main.controlText(kWindows), "WINDOWS");
    EXPECT_NE(main.controlText(kWindows), "");
    EXPECT_NE(main.controlText(kProcesseur), "CPU");
    EXPECT_EQ(main.control(kDessus).send(BM_GETCHECK), BST_UNCHECKED);
}

TEST_F(MainWindowTest, IsExactlyAsWideAsTheFrameAndCentred) {
    launch();
    const double twipsPerPixel = 1440.0 / displayDpi();
    const RECT window = main.rect();
    const RECT frame = main.control(kCadre).rect();
    EXPECT_NEAR(window.right - window.left, 5995 / twipsPerPixel, 1.0);
    EXPECT_NEAR(frame.right - frame.left, 5895 / twipsPerPixel, 1.0);

    RECT work{};
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
    EXPECT_NEAR((window.left + window.right) / 2.0, (work.left + work.right) / 2.0, 1.0);
    EXPECT_NEAR((window.top + window.bottom) / 2.0, (work.top + work.bottom) / 2.0, 1.0);

    const LONG style = main.style();
    EXPECT_EQ(style & WS_THICKFRAME, 0) << "the window must not be resizable";
    EXPECT_EQ(style & WS_MAXIMIZEBOX, 0);
    EXPECT_NE(style & WS_MINIMIZEBOX, 0);
    EXPECT_NE(style & WS_SYSMENU, 0);
    EXPECT_FALSE(main.topmost());
}

TEST_F(MainWindowTest, EveryControlHasItsIdAndKind) {
    launch();
    struct Expected {
        int id;
        const char* className;
        bool inFrame;
    };
    const Expected expected[] = {
        {kDessus, "Button", true},     {kLblRaf, "Static", true},
        {kLabel1, "Static", true},     {kSwap, "Static", true},
        {kMemLibre, "Static", true},   {kDebutWin, "Static", true},
        {kProcesseur, "Static", true}, {kWindows, "Static", true},
        {kLabel2, "Static", false},    {kSlider, "msctls_trackbar32", true},
    };
    const Window frame = main.control(kCadre);
    EXPECT_EQ(GetParent(frame.handle()), main.handle());
    for (const Expected& e : expected) {
        SCOPED_TRACE("control " + std::to_string(e.id));
        const Window control = main.control(e.id);
        EXPECT_EQ(lstrcmpiA(control.className().c_str(), e.className), 0) << control.className();
        EXPECT_EQ(GetParent(control.handle()), e.inFrame ? frame.handle() : main.handle());
    }
    EXPECT_EQ(main.control(kDessus).style() & BS_TYPEMASK, BS_AUTOCHECKBOX);
    EXPECT_EQ(main.control(kSlider).send(TBM_GETRANGEMIN), 1);
    EXPECT_EQ(main.control(kSlider).send(TBM_GETRANGEMAX), 60);
    // Nothing else: the timer and the dialog have no window.
    int unexpected = 0;
    for (const ControlInfo& c : main.controls()) {
        if (c.id != kCadre && c.id != kLabel2 && c.id != kSlider && (c.id < 2 || c.id > 9))
            ++unexpected;
    }
    EXPECT_EQ(unexpected, 0);
}

struct MenuEntry {
    int depth;
    int id;
    std::string caption;  // "-" for a separator
    bool operator==(const MenuEntry&) const = default;
};

void PrintTo(const MenuEntry& e, std::ostream* out) {
    *out << "{" << e.depth << ", " << e.id << ", \"" << e.caption << "\"}";
}

void readMenu(HMENU menu, int depth, std::vector<MenuEntry>& entries) {
    for (int i = 0, count = GetMenuItemCount(menu); i < count; ++i) {
        wchar_t caption[128] = L"";
        MENUITEMINFOW info{};
        info.cbSize = sizeof info;
        info.fMask = MIIM_ID | MIIM_STRING | MIIM_FTYPE | MIIM_SUBMENU;
        info.dwTypeData = caption;
        info.cch = 128;
        GetMenuItemInfoW(menu, i, TRUE, &info);
        const bool separator = info.fType & MFT_SEPARATOR;
        entries.push_back({depth, static_cast<int>(info.wID), separator ? "-" : toUtf8(caption)});
        if (info.hSubMenu) readMenu(info.hSubMenu, depth + 1, entries);
    }
}

// Windows does not let one program read another's menus; the window's menu is the program's
// menu resource, which is read here from the file itself.
TEST_F(MainWindowTest, MenuHasEveryItemInOrderWithItsIdAndShortcut) {
    launch();
    EXPECT_NE(GetMenu(main.handle()), nullptr) << "the window has no menu bar";
    HMODULE program = LoadLibraryExW(fromUtf8(folder + "\\Corvane.exe").c_str(), nullptr,
                                     LOAD_LIBRARY_AS_DATAFILE);
    ASSERT_NE(program, nullptr) << lastErrorText();
    HMENU menu = LoadMenuW(program, MAKEINTRESOURCEW(1));
    ASSERT_NE(menu, nullptr) << lastErrorText();
    std::vector<MenuEntry> entries;
    readMenu(menu, 0, entries);
    DestroyMenu(menu);
    FreeLibrary(program);

    const std::vector<MenuEntry> expected = {
        {0, 12, "&Fichier"},
        {1, 13, "&Impression\tCtrl+P"},
        {1, 14, "-"},
        {1, 15, "Quitter\tCtrl+Q"},
        {0, 16, "&Outils"},
        {1, 17, "Consulter le &journal\tCtrl+J"},
        {1, 18, "Réinitialiser le journal"},
        {1, 19, "Réinitialiser tout"},
        {1, 33, "&Historique...\tCtrl+H"},
        {1, 34, "&Mémoire virtuelle...\tCtrl+M"},
        {1, 41, "&Conseil de taille du fichier d'échange..."},
        {1, 35, "&Icône dans la zone de notification"},
        {1, 36, "&Alertes..."},
        {1, 38, "&Lancer avec Windows"},
        {1, 39, "Exporter vers &Prometheus..."},
        {1, 40, "&Noter dans le journal des événements Windows"},
        {1, 20, "-"},
        {1, 21, "&Raffraichissement"},
        {2, 22, "1 seconde"},
        {2, 23, "5 secondes"},
        {2, 24, "10 secondes"},
        {2, 25, "30 secondes"},
        {2, 26, "1 minute"},
        {0, 27, "&?"},
        {1, 28, "Aide\tF1"},
        {1, 29, "-"},
        {1, 30, "A propos ..."},
    };
    EXPECT_EQ(entries, expected);
}

}  // namespace
}  // namespace corvane::wine
