// Text encodings: UTF-8 inside the program, UTF-16 and Windows-1252 at its edges.
#pragma once

#include <string>

namespace corvane {

std::u16string utf8ToUtf16(const std::string& utf8);
std::string utf16ToUtf8(const std::u16string& utf16);

// Windows-1252, the ANSI code page of western Windows. Characters it has no byte for become "?".
std::string utf8ToCp1252(const std::string& utf8);
std::string cp1252ToUtf8(const std::string& cp1252);

}  // namespace corvane
