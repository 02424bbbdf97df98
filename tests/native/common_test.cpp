// Rounding, decimal forms and code pages.
#include <gtest/gtest.h>

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
