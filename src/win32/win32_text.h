// Conversions between the core's UTF-8 and the ANSI code page of the system's ANSI functions.
#pragma once

#include <string>

namespace corvane::win32 {

std::string toAnsi(const std::string& utf8);
std::string fromAnsi(const std::string& ansi);
std::wstring toWide(const std::string& utf8);

}  // namespace corvane::win32
