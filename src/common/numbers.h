// Number helpers shared by the subsystems: rounding and the decimal forms the window shows.
#pragma once

#include <cstdint>
#include <string>

namespace corvane {

// The Mo the window, the journal and the history count in: a mebibyte.
inline constexpr uint64_t kBytesPerMo = 1048576;

// Rounds to the nearest whole number, a half to the even neighbour (2.5 gives 2, 3.5 gives 4).
double roundHalfEven(double value);

// The shortest general decimal form of a double, up to 15 significant digits, with the given
// decimal separator (2047.5 gives "2047,5" with ",").
std::string formatGeneral(double value, const std::string& decimalSeparator);

// Decimal digits, zero-padded to at least `minDigits` (5 with 3 gives "005").
std::string formatZeroPadded(double wholeValue, int minDigits);

}  // namespace corvane
