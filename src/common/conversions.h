// Text to number and Boolean, the way the settings and system.ini values are read: blanks around
// the number allowed, a sign, a decimal point, an exponent, "&H" hexadecimal. A text that is not
// a number raises a type mismatch (13); a number outside the target's range raises overflow (6).
#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace corvane {

// The number a text holds, or nothing when it holds none. `decimalSeparator` is accepted as
// the decimal point besides ".".
std::optional<double> parseNumber(const std::string& text,
                                  const std::string& decimalSeparator = ".");

// To a 32-bit signed integer, rounded half to even.
int32_t textToLong(const std::string& text, const std::string& decimalSeparator = ".");
// To a double.
double textToDouble(const std::string& text, const std::string& decimalSeparator = ".");
// "True"/"False", "Vrai"/"Faux" (any case), or a number (not zero is true).
bool textToBoolean(const std::string& text, const std::string& decimalSeparator = ".");

// A double to a 32-bit signed integer, rounded half to even; raises overflow outside the range.
int32_t doubleToLong(double value);

// The text form of a Boolean that textToBoolean reads back.
std::string booleanText(bool value);

}  // namespace corvane
