// Reading numbers and Booleans from stored texts.
#include "common/conversions.h"

#include <gtest/gtest.h>

#include <functional>

#include "common/errors.h"

namespace corvane {
namespace {

int errorOf(const std::function<void()>& f) {
    try {
        f();
    } catch (const RuntimeError& e) {
        return e.number();
    }
    return 0;
}

TEST(TextToLong, ReadsPlainAndDecoratedNumbers) {
    EXPECT_EQ(textToLong("0"), 0);
    EXPECT_EQ(textToLong("  1536 "), 1536);
    EXPECT_EQ(textToLong("-42"), -42);
    EXPECT_EQ(textToLong("+7"), 7);
    EXPECT_EQ(textToLong("2.5"), 2);  // half to even
    EXPECT_EQ(textToLong("3,5", ","), 4);
    EXPECT_EQ(textToLong("1e3"), 1000);
    EXPECT_EQ(textToLong("&H10"), 16);
    EXPECT_EQ(textToLong("&HFFFFFFFF"), -1);
    EXPECT_EQ(textToLong("&O17"), 15);
    EXPECT_EQ(textToLong("2147483647"), 2147483647);
    EXPECT_EQ(textToLong("-2147483648"), -2147483647 - 1);
}

TEST(TextToLong, NonNumbersAreTypeMismatchesAndHugeNumbersOverflow) {
    for (const char* bad : {"", " ", "abc", "12abc", "1.2.3", "e5", "--1", "&H", "&HXYZ", "1e"}) {
        EXPECT_EQ(errorOf([&] { textToLong(bad); }), kErrTypeMismatch) << '"' << bad << '"';
    }
    for (const char* huge : {"2147483648", "-2147483649", "99999999999999999999", "1e400"}) {
        EXPECT_EQ(errorOf([&] { textToLong(huge); }), kErrOverflow) << huge;
    }
    EXPECT_EQ(errorOf([&] { textToLong(std::string(10000, '9')); }), kErrOverflow);
    EXPECT_EQ(errorOf([&] { textToLong(std::string(10000, 'x')); }), kErrTypeMismatch);
}

TEST(TextToDouble, KeepsFractionsAndLargeTotals) {
    EXPECT_EQ(textToDouble("123456789012"), 123456789012.0);
    EXPECT_EQ(textToDouble("1.5"), 1.5);
    EXPECT_EQ(textToDouble("-30000"), -30000);
    EXPECT_EQ(errorOf([&] { textToDouble("x"); }), kErrTypeMismatch);
    EXPECT_EQ(errorOf([&] { textToDouble(""); }), kErrTypeMismatch);
}

TEST(TextToBoolean, ReadsEnglishFrenchAndNumbers) {
    EXPECT_TRUE(textToBoolean("True"));
    EXPECT_TRUE(textToBoolean("VRAI"));
    EXPECT_TRUE(textToBoolean("vrai"));
    EXPECT_FALSE(textToBoolean("false"));
    EXPECT_FALSE(textToBoolean("Faux"));
    EXPECT_TRUE(textToBoolean("-1"));
    EXPECT_TRUE(textToBoolean("0.5"));
    EXPECT_FALSE(textToBoolean("0"));
    EXPECT_EQ(errorOf([&] { textToBoolean(""); }), kErrTypeMismatch);
    EXPECT_EQ(errorOf([&] { textToBoolean("oui"); }), kErrTypeMismatch);
    EXPECT_TRUE(textToBoolean(booleanText(true)));
    EXPECT_FALSE(textToBoolean(booleanText(false)));
}

}  // namespace
}  // namespace corvane
