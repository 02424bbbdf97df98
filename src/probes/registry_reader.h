// The registry value reader: a value's data as text, or "Not Found".
#pragma once

#include <cstdint>
#include <string>

#include "platform/platform.h"

namespace corvane {

inline constexpr uint32_t kRegistryBufferSize = 2048;
inline constexpr const char* kNotFound = "Not Found";

// Turns one query's answer into text: a DWORD as decimal of at least three digits, binary data
// as upper-case hex pairs, any other type as its bytes without the final one (the terminating
// NUL, so a multi-string keeps the NUL after each string). A failed query gives "Not Found".
// Text comes out as the bytes stored, in the ANSI code page.
std::string convertRegistryAnswer(const RegistryAnswer& answer);

// Reads a value and converts it; text values are turned from the ANSI code page into UTF-8.
std::string readRegistryValue(Platform& platform, RootKey root, const std::string& keyPath,
                              const std::string& valueName);

}  // namespace corvane
