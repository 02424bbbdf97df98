// The main window's labels at 96 and 144 dpi: none narrower than its text, none over another,
// all inside the frame, whatever the screen's resolution.
#include <cmath>
#include <cstdlib>

#include "corvane_fixture.h"

namespace corvane::wine {
namespace {

inline constexpr const char* kDesktopKey = "Control Panel\\Desktop";
inline constexpr const char* kFontsKey =
    "System\\CurrentControlSet\\Hardware Profiles\\Current\\Software\\Fonts";

class LabelsTest : public CorvaneTest, public ::testing::WithParamInterface<int> {
protected:
    void SetUp() override {
        CorvaneTest::SetUp();
        // The resolution Wine gives a program that starts from now on.
        const int dpi = GetParam();
        const std::string bytes(reinterpret_cast<const char*>(&dpi), sizeof dpi);
        setAnsiValue(HKEY_CURRENT_USER, kDesktopKey, "LogPixels", REG_DWORD, bytes);
        setAnsiValue(HKEY_LOCAL_MACHINE, kFontsKey, "LogPixels", REG_DWORD, bytes);
    }
    void TearDown() override {
        CorvaneTest::TearDown();
        deleteValue(HKEY_CURRENT_USER, kDesktopKey, "LogPixels");
        const int standard = 96;
        setAnsiValue(HKEY_LOCAL_MACHINE, kFontsKey, "LogPixels", REG_DWORD,
                     std::string(reinterpret_cast<const char*>(&standard), sizeof standard));
    }

    // The width of `text` in the labels' font (MS Sans Serif 8.25 pt) at `dpi`.
    static int textWidth(const std::string& text, int dpi) {
        HFONT font = CreateFontA(-static_cast<int>(std::lround(8.25 * dpi / 72.0)), 0, 0, 0,
                                 FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET,
                                 OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                                 DEFAULT_PITCH | FF_SWISS, "MS Sans Serif");
        HDC dc = CreateCompatibleDC(nullptr);
        HGDIOBJ old = SelectObject(dc, font);
        std::wstring wide = fromUtf8(text);
        SIZE size{0, 0};
        GetTextExtentPoint32W(dc, wide.c_str(), static_cast<int>(wide.size()), &size);
        SelectObject(dc, old);
        DeleteDC(dc);
        DeleteObject(font);
        return size.cx;
    }
};

TEST_P(LabelsTest, NoLabelIsNarrowerThanItsTextNorOverAnother) {
    const int dpi = GetParam();
    launch();
    // The window follows the resolution: the frame is 5895 twips wide.
    const RECT frame = main.control(kCadre).rect();
    EXPECT_NEAR(frame.right - frame.left, MulDiv(5895, dpi, 1440), 2) << "not at " << dpi << " dpi";
    shot("labels-" + std::to_string(dpi) + "dpi");

    const int labels[] = {kWindows, kProcesseur, kMemLibre, kLabel1, kDebutWin, kSwap, kLblRaf};
    std::vector<std::pair<int, RECT>> placed;
    for (int id : labels) {
        const Window label = main.control(id);
        const std::string text = label.text();
        const RECT r = label.rect();
        SCOPED_TRACE(std::to_string(id) + " \"" + text + "\"");
        if (id == kWindows && r.right - r.left < textWidth(text, dpi)) {
            // A name longer than the row beside the processor (Wine's "... WS ???") ends
            // with "...", and has the whole row up to the processor.
            EXPECT_TRUE(label.style() & SS_ENDELLIPSIS);
            EXPECT_GE(main.control(kProcesseur).rect().left - r.right, 0);
            EXPECT_LE(main.control(kProcesseur).rect().left - r.right, MulDiv(10, dpi, 96));
        } else {
            EXPECT_GE(r.right - r.left, textWidth(text, dpi));
        }
        EXPECT_GE(r.left, frame.left);
        EXPECT_LE(r.right, frame.right);
        placed.emplace_back(id, r);
    }
    // "Toujours visible": its box and its text.
    const RECT box = main.control(kDessus).rect();
    EXPECT_GE(box.right - box.left, textWidth("Toujours visible", dpi) + MulDiv(13, dpi, 96))
        << "the check box cuts its text";
    // Labels of one row do not reach into each other (the rows themselves touch by design).
    for (size_t i = 0; i < placed.size(); ++i) {
        for (size_t j = i + 1; j < placed.size(); ++j) {
            const RECT& a = placed[i].second;
            const RECT& b = placed[j].second;
            if (std::abs((a.top + a.bottom) - (b.top + b.bottom)) > MulDiv(8, dpi, 96)) continue;
            EXPECT_TRUE(a.right <= b.left || b.right <= a.left)
                << placed[i].first << " and " << placed[j].first << " lie over each other";
        }
    }
    // The colon that ends "Analyse du fichier SWAP (C:\pagefile.sys) depuis :" is there.
    EXPECT_EQ(main.controlText(kLabel1), "Analyse du fichier SWAP (C:\\pagefile.sys) depuis :");
}

INSTANTIATE_TEST_SUITE_P(Dpi, LabelsTest, ::testing::Values(96, 144),
                         [](const ::testing::TestParamInfo<int>& info) {
                             return "At" + std::to_string(info.param);
                         });

}  // namespace
}  // namespace corvane::wine
