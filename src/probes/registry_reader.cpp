// The registry value reader and its conversions by value type.
#include "probes/registry_reader.h"

#include <algorithm>

#include "common/numbers.h"

namespace corvane {

namespace {

bool isTextType(uint32_t type) {
    return type != kRegDword && type != kRegBinary;
}

}  // namespace

std::string convertRegistryAnswer(const RegistryAnswer& answer) {
    if (answer.openResult != 0 || answer.queryResult != 0) return kNotFound;
    const auto& buffer = answer.buffer;
    size_t size = std::min<size_t>(answer.dataSize, buffer.size());
    if (answer.type == kRegDword) {
        // Only the bytes the value holds: a shorter one leaves the buffer's blank fill in the
        // rest, which is no part of the number.
        double value = 0;
        double weight = 1;
        for (size_t i = 0; i < 4; ++i, weight *= 256) {
            if (i < size) value += buffer[i] * weight;
        }
        return formatZeroPadded(value, 3);
    }
    if (answer.type == kRegBinary) {
        static const char kHex[] = "0123456789ABCDEF";
        std::string hex;
        hex.reserve(size * 2);
        for (size_t i = 0; i < size; ++i) {
            hex += kHex[buffer[i] >> 4];
            hex += kHex[buffer[i] & 0x0F];
        }
        return hex;
    }
    // A text value with no data at all has no terminating NUL to drop: it reads as empty.
    if (size == 0) return "";
    return std::string(buffer.begin(), buffer.begin() + static_cast<std::ptrdiff_t>(size - 1));
}

std::string readRegistryValue(Platform& platform, RootKey root, const std::string& keyPath,
                              const std::string& valueName) {
    RegistryAnswer answer =
        platform.registry.queryValue(root, keyPath, valueName, kRegistryBufferSize);
    std::string text = convertRegistryAnswer(answer);
    bool converted = answer.openResult == 0 && answer.queryResult == 0;
    if (converted && isTextType(answer.type)) return platform.system.ansiToUtf8(text);
    return text;
}

}  // namespace corvane
