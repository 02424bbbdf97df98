// The settings' text conversions on any text: a number, an overflow or a type mismatch, never
// anything else.
#include <cstddef>
#include <cstdint>
#include <string>

#include "common/conversions.h"
#include "common/errors.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace corvane;
    std::string text(reinterpret_cast<const char*>(data), size);
    for (const char* separator : {".", ","}) {
        try {
            textToLong(text, separator);
        } catch (const RuntimeError& e) {
            if (e.number() != kErrOverflow && e.number() != kErrTypeMismatch) __builtin_trap();
        }
        try {
            textToDouble(text, separator);
        } catch (const RuntimeError& e) {
            if (e.number() != kErrOverflow && e.number() != kErrTypeMismatch) __builtin_trap();
        }
        try {
            textToBoolean(text, separator);
        } catch (const RuntimeError& e) {
            if (e.number() != kErrOverflow && e.number() != kErrTypeMismatch) __builtin_trap();
        }
    }
    return 0;
}
