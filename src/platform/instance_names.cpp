// Naming the folder's mutex: a hash of the folder, since a name may hold no "\".
#include "platform/instance_names.h"

#include <cstdint>
#include <cstdio>

#include "common/text.h"

namespace corvane {

namespace {

// Upper case of the letters Windows paths hold most: ASCII, Latin-1, Latin Extended-A (Polish,
// Czech ...), Greek and Cyrillic.
char16_t upper(char16_t c) {
    if (c >= u'a' && c <= u'z') return static_cast<char16_t>(c - 32);
    if (c >= 0xE0 && c <= 0xFE && c != 0xF7) return static_cast<char16_t>(c - 32);
    if (c >= 0x100 && c <= 0x17F && c != 0x130 && c != 0x131 && c != 0x138 && c != 0x149 &&
        c != 0x17F) {
        // Pairs: even upper, odd lower, except where the pairs shift by one.
        bool shifted = (c >= 0x139 && c <= 0x148) || (c >= 0x179 && c <= 0x17E);
        bool lower = shifted ? (c % 2 == 0) : (c % 2 == 1);
        return lower ? static_cast<char16_t>(c - 1) : c;
    }
    if (c >= 0x3B1 && c <= 0x3C9 && c != 0x3C2) return static_cast<char16_t>(c - 32);
    if (c >= 0x430 && c <= 0x44F) return static_cast<char16_t>(c - 32);
    if (c >= 0x450 && c <= 0x45F) return static_cast<char16_t>(c - 80);
    return c;
}

}  // namespace

std::string folderMutexName(const std::string& folder) {
    std::u16string wide = utf8ToUtf16(folder);
    // A trailing "\" names the same folder.
    while (wide.size() > 3 && wide.back() == u'\\') wide.pop_back();
    uint64_t hash = 14695981039346656037ull;  // FNV-1a, 64 bits
    for (char16_t c : wide) {
        char16_t u = upper(c);
        for (int shift = 0; shift < 16; shift += 8) {
            hash ^= static_cast<uint8_t>(u >> shift);
            hash *= 1099511628211ull;
        }
    }
    char hex[17];
    std::snprintf(hex, sizeof hex, "%016llx", static_cast<unsigned long long>(hash));
    return std::string("Global\\Corvane.Folder.") + hex;
}

}  // namespace corvane
