// Rounding, decimal forms and code pages.
#include <gtest/gtest.h>

#include "common/device_units.h"
#include "common/numbers.h"
#include "common/text.h"

namespace corvane {
namespace {

TEST(RoundHalfEven, HalvesGoToTheEvenNeighbour) {
    EXPECT_EQ(roundHalfEven(0.5), 0);
    EXPECT_EQ(roundHalfEven(1.5), 2);
    EXPECT_EQ(roundHalfEven(2.5), 2);
    EXPECT_EQ(roundHalfEven(-2.5), -2);
    EXPECT_EQ(roundHalfEven(-3.5), -4);
    EXPECT_EQ(roundHalfEven(2.4999), 2);
    EXPECT_EQ(roundHalfEven(2.5001), 3);
}

TEST(FormatGeneral, ShortestFormUpToFifteenDigits) {
    EXPECT_EQ(formatGeneral(2047.5, ","), "2047,5");
    EXPECT_EQ(formatGeneral(2047.5, "."), "2047.5");
    EXPECT_EQ(formatGeneral(4096, ","), "4096");
    EXPECT_EQ(formatGeneral(1.0 / 3, "."), "0.333333333333333");
    EXPECT_EQ(formatGeneral(0, ","), "0");
    EXPECT_EQ(formatGeneral(-1.25, ","), "-1,25");
    EXPECT_EQ(formatGeneral(1e20, "."), "1E+20");
}

TEST(FormatZeroPadded, AtLeastTheGivenDigits) {
    EXPECT_EQ(formatZeroPadded(5, 3), "005");
    EXPECT_EQ(formatZeroPadded(0, 3), "000");
    EXPECT_EQ(formatZeroPadded(1234, 3), "1234");
    EXPECT_EQ(formatZeroPadded(4294967295.0, 3), "4294967295");
}

// A screen or printer that reports no resolution (0, or a driver's garbage below it) must not
// make a window, a font, a printout or an icon zero-sized, nor a division by it.
TEST(DeviceUnits, ADeviceThatReportsNoResolutionIsTakenAsAStandardScreen) {
    EXPECT_EQ(usableDpi(0), 96);
    EXPECT_EQ(usableDpi(-120), 96);
    EXPECT_EQ(usableDpi(1), 1);
    EXPECT_EQ(usableDpi(144), 144);
    EXPECT_EQ(usableDpi(600), 600);
    // The sizes drawn from it: a 5995-twip window at 96 dpi is 399 pixels, not 0.
    EXPECT_EQ(5995 * usableDpi(0) / 1440, 399);
}

TEST(DeviceUnits, AnIconSideOfZeroIsTheStandardSideAtTheScreensResolution) {
    EXPECT_EQ(usableIconSide(0, 16, 96), 16);
    EXPECT_EQ(usableIconSide(0, 16, 0), 16);
    EXPECT_EQ(usableIconSide(0, 16, 144), 24);
    EXPECT_EQ(usableIconSide(0, 32, 192), 64);
    EXPECT_EQ(usableIconSide(-3, 32, 96), 32);
    // What the system says stands, whatever the resolution.
    EXPECT_EQ(usableIconSide(20, 16, 96), 20);
    EXPECT_EQ(usableIconSide(20, 16, 0), 20);
}

TEST(CodePage, FrenchLettersAreOneByteEachInWindows1252) {
    EXPECT_EQ(utf8ToCp1252("Début d'analyse à"),
              "D\xE9"
              "but d'analyse \xE0");
    EXPECT_EQ(cp1252ToUtf8("Param\xE8tres \x80"), "Paramètres €");
    EXPECT_EQ(utf8ToCp1252("€ ©"), "\x80 \xA9");
    EXPECT_EQ(utf8ToCp1252("日本"), "??");
}

TEST(CodePage, EveryByteSurvivesARoundTrip) {
    std::string all;
    for (int b = 1; b < 256; ++b) all += static_cast<char>(b);
    EXPECT_EQ(utf8ToCp1252(cp1252ToUtf8(all)), all);
}

TEST(CodePage, Utf16RoundTripKeepsSurrogatePairs) {
    std::string text = "é € 𝄞";
    std::u16string wide = utf8ToUtf16(text);
    EXPECT_EQ(wide.size(), 6u);  // the clef takes two units
    EXPECT_EQ(utf16ToUtf8(wide), text);
    EXPECT_EQ(utf8ToUtf16("\xC3"), u"\xFFFD");  // a cut sequence
}

}  // namespace
}  // namespace corvane
