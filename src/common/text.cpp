// UTF-8, UTF-16 and Windows-1252 conversions, without any system call.
#include "common/text.h"

#include <cstdint>

namespace corvane {

namespace {

// Code points of the bytes 0x80 to 0x9F in Windows-1252 (0 where the byte is undefined).
const char16_t kCp1252High[32] = {
    0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0,      0x017D, 0,      0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178,
};

// Decodes one code point at `i`; malformed input gives U+FFFD and moves one byte on.
char32_t decodeUtf8(const std::string& s, size_t& i) {
    auto byte = [&](size_t k) { return static_cast<uint8_t>(s[k]); };
    uint8_t b0 = byte(i);
    if (b0 < 0x80) {
        ++i;
        return b0;
    }
    int length = (b0 >= 0xF0 && b0 < 0xF5)   ? 4
                 : (b0 >= 0xE0) && b0 < 0xF0 ? 3
                 : (b0 >= 0xC2 && b0 < 0xE0) ? 2
                                             : 0;
    if (length == 0 || i + length > s.size()) {
        ++i;
        return 0xFFFD;
    }
    char32_t cp = b0 & (0xFF >> (length + 1));
    for (int k = 1; k < length; ++k) {
        uint8_t b = byte(i + k);
        if ((b & 0xC0) != 0x80) {
            ++i;
            return 0xFFFD;
        }
        cp = (cp << 6) | (b & 0x3F);
    }
    i += length;
    return cp;
}

void encodeUtf8(char32_t cp, std::string& out) {
    if (cp < 0x80) {
        out += static_cast<char>(cp);
    } else if (cp < 0x800) {
        out += static_cast<char>(0xC0 | (cp >> 6));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else if (cp < 0x10000) {
        out += static_cast<char>(0xE0 | (cp >> 12));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (cp >> 18));
        out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    }
}

}  // namespace

std::u16string utf8ToUtf16(const std::string& utf8) {
    std::u16string out;
    out.reserve(utf8.size());
    for (size_t i = 0; i < utf8.size();) {
        char32_t cp = decodeUtf8(utf8, i);
        if (cp >= 0x10000) {
            cp -= 0x10000;
            out += static_cast<char16_t>(0xD800 + (cp >> 10));
            out += static_cast<char16_t>(0xDC00 + (cp & 0x3FF));
        } else {
            out += static_cast<char16_t>(cp);
        }
    }
    return out;
}

std::string utf16ToUtf8(const std::u16string& utf16) {
    std::string out;
    out.reserve(utf16.size());
    for (size_t i = 0; i < utf16.size(); ++i) {
        char32_t cp = utf16[i];
        if (cp >= 0xD800 && cp < 0xDC00 && i + 1 < utf16.size() && utf16[i + 1] >= 0xDC00 &&
            utf16[i + 1] < 0xE000) {
            cp = 0x10000 + ((cp - 0xD800) << 10) + (utf16[i + 1] - 0xDC00);
            ++i;
        } else if (cp >= 0xD800 && cp < 0xE000) {
            cp = 0xFFFD;
        }
        encodeUtf8(cp, out);
    }
    return out;
}

std::string utf8ToCp1252(const std::string& utf8) {
    std::string out;
    out.reserve(utf8.size());
    for (size_t i = 0; i < utf8.size();) {
        char32_t cp = decodeUtf8(utf8, i);
        bool undefinedC1 = cp >= 0x80 && cp < 0xA0 && kCp1252High[cp - 0x80] == 0;
        if (cp < 0x80 || (cp >= 0xA0 && cp < 0x100) || undefinedC1) {
            out += static_cast<char>(cp);
            continue;
        }
        char byte = '?';
        for (int k = 0; k < 32; ++k) {
            if (kCp1252High[k] != 0 && kCp1252High[k] == cp) byte = static_cast<char>(0x80 + k);
        }
        out += byte;
    }
    return out;
}

std::string cp1252ToUtf8(const std::string& cp1252) {
    std::string out;
    out.reserve(cp1252.size());
    for (unsigned char c : cp1252) {
        char32_t cp = c;
        // The five bytes Windows-1252 leaves undefined map to the C1 controls, as Windows does.
        if (c >= 0x80 && c < 0xA0 && kCp1252High[c - 0x80] != 0) cp = kCp1252High[c - 0x80];
        encodeUtf8(cp, out);
    }
    return out;
}

}  // namespace corvane
