// Text to number and Boolean conversions.
#include "common/conversions.h"

#include <cctype>
#include <cmath>
#include <cstdlib>

#include "common/errors.h"
#include "common/numbers.h"

namespace corvane {

namespace {

bool isBlank(char c) {
    return c == ' ' || c == '\t';
}

std::string trimmed(const std::string& text) {
    size_t first = 0;
    size_t last = text.size();
    while (first < last && isBlank(text[first])) ++first;
    while (last > first && isBlank(text[last - 1])) --last;
    return text.substr(first, last - first);
}

std::string lower(std::string s) {
    for (char& c : s) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return s;
}

std::optional<double> parseHex(const std::string& digits, bool octal) {
    if (digits.empty() || digits.size() > (octal ? 11u : 8u)) return std::nullopt;
    uint64_t value = 0;
    for (char c : digits) {
        int d;
        if (c >= '0' && c <= '9')
            d = c - '0';
        else if (!octal && c >= 'a' && c <= 'f')
            d = c - 'a' + 10;
        else if (!octal && c >= 'A' && c <= 'F')
            d = c - 'A' + 10;
        else
            return std::nullopt;
        if (octal && d > 7) return std::nullopt;
        value = value * (octal ? 8 : 16) + static_cast<uint64_t>(d);
    }
    if (value > 0xFFFFFFFFull) return std::nullopt;
    // Eight hex digits are a 32-bit pattern: &HFFFFFFFF is -1.
    return static_cast<double>(static_cast<int32_t>(static_cast<uint32_t>(value)));
}

// The number in `text`; `tooLarge` tells a well-formed number beyond a double's range apart
// from a text that is no number at all.
std::optional<double> parse(const std::string& text, const std::string& decimalSeparator,
                            bool& tooLarge) {
    tooLarge = false;
    std::string s = trimmed(text);
    if (s.size() > 2 && s[0] == '&' && (s[1] == 'H' || s[1] == 'h'))
        return parseHex(s.substr(2), false);
    if (s.size() > 2 && s[0] == '&' && (s[1] == 'O' || s[1] == 'o'))
        return parseHex(s.substr(2), true);

    std::string plain;  // the number with "." as its decimal point, for strtod
    size_t i = 0;
    if (i < s.size() && (s[i] == '+' || s[i] == '-')) plain += s[i++];
    bool digits = false;
    while (i < s.size() && std::isdigit(static_cast<unsigned char>(s[i]))) {
        plain += s[i++];
        digits = true;
    }
    bool point = false;
    if (i < s.size() && s[i] == '.') {
        point = true;
        i += 1;
    } else if (!decimalSeparator.empty() &&
               s.compare(i, decimalSeparator.size(), decimalSeparator) == 0) {
        point = true;
        i += decimalSeparator.size();
    }
    if (point) {
        plain += '.';
        while (i < s.size() && std::isdigit(static_cast<unsigned char>(s[i]))) {
            plain += s[i++];
            digits = true;
        }
    }
    if (!digits) return std::nullopt;
    if (i < s.size() && (s[i] == 'e' || s[i] == 'E' || s[i] == 'd' || s[i] == 'D')) {
        std::string exponent = "e";
        size_t j = i + 1;
        if (j < s.size() && (s[j] == '+' || s[j] == '-')) exponent += s[j++];
        bool expDigits = false;
        while (j < s.size() && std::isdigit(static_cast<unsigned char>(s[j]))) {
            exponent += s[j++];
            expDigits = true;
        }
        if (!expDigits) return std::nullopt;
        plain += exponent;
        i = j;
    }
    if (i != s.size()) return std::nullopt;
    double value = std::strtod(plain.c_str(), nullptr);
    if (!std::isfinite(value)) {
        tooLarge = true;
        return std::nullopt;
    }
    return value;
}

double numberOrRaise(const std::string& text, const std::string& decimalSeparator) {
    bool tooLarge = false;
    std::optional<double> value = parse(text, decimalSeparator, tooLarge);
    if (value) return *value;
    throw RuntimeError(tooLarge ? kErrOverflow : kErrTypeMismatch);
}

}  // namespace

std::optional<double> parseNumber(const std::string& text, const std::string& decimalSeparator) {
    bool tooLarge = false;
    return parse(text, decimalSeparator, tooLarge);
}

int32_t doubleToLong(double value) {
    double rounded = roundHalfEven(value);
    if (!(rounded >= -2147483648.0 && rounded <= 2147483647.0)) throw RuntimeError(kErrOverflow);
    return static_cast<int32_t>(rounded);
}

int32_t textToLong(const std::string& text, const std::string& decimalSeparator) {
    return doubleToLong(numberOrRaise(text, decimalSeparator));
}

double textToDouble(const std::string& text, const std::string& decimalSeparator) {
    return numberOrRaise(text, decimalSeparator);
}

bool textToBoolean(const std::string& text, const std::string& decimalSeparator) {
    std::string s = lower(trimmed(text));
    if (s == "true" || s == "vrai") return true;
    if (s == "false" || s == "faux") return false;
    return numberOrRaise(text, decimalSeparator) != 0;
}

std::string booleanText(bool value) {
    return value ? "True" : "False";
}

}  // namespace corvane
