// Rounding and decimal forms.
#include "common/numbers.h"

#include <cmath>
#include <cstdio>
#include <cstring>

namespace corvane {

double roundHalfEven(double value) {
    double floorValue = std::floor(value);
    double diff = value - floorValue;
    if (diff > 0.5) return floorValue + 1;
    if (diff < 0.5) return floorValue;
    return std::fmod(floorValue, 2.0) == 0 ? floorValue : floorValue + 1;
}

std::string formatGeneral(double value, const std::string& decimalSeparator) {
    if (value == 0) return "0";
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%.15G", value);
    std::string text = buffer;
    // "1.5E+20" style: keep the exponent as E+20 without leading zeros in it.
    std::string out;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '.') {
            out += decimalSeparator;
        } else if (text[i] == 'E' && i + 2 < text.size()) {
            out += 'E';
            out += text[i + 1];
            size_t j = i + 2;
            while (j + 1 < text.size() && text[j] == '0') ++j;
            out += text.substr(j);
            break;
        } else {
            out += text[i];
        }
    }
    return out;
}

std::string formatZeroPadded(double wholeValue, int minDigits) {
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%0*.0f", minDigits, wholeValue);
    return buffer;
}

}  // namespace corvane
