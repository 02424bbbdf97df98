// The registry reader's conversions and the paging-file path extraction on any answer: any type,
// any bytes, any size, past the 2048-byte buffer too.
#include <cstddef>
#include <cstdint>
#include <cstring>

#include "probes/registry_reader.h"
#include "probes/swap_location.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace corvane;
    if (size < 9) return 0;
    RegistryAnswer answer;
    uint32_t type;
    uint32_t reported;
    std::memcpy(&type, data, 4);
    std::memcpy(&reported, data + 4, 4);
    answer.type = type % 12;
    answer.queryResult = (data[8] & 0x80) ? 234 : 0;
    // The size the query reports may exceed what the buffer holds.
    answer.dataSize = reported % 4200;
    answer.buffer.assign(data + 9, data + size);
    if (answer.buffer.size() > kRegistryBufferSize) answer.buffer.resize(kRegistryBufferSize);
    std::string text = convertRegistryAnswer(answer);
    size_t held = answer.dataSize < answer.buffer.size() ? answer.dataSize : answer.buffer.size();
    if (answer.queryResult != 0) {
        if (text != kNotFound) __builtin_trap();
    } else if (answer.type == kRegBinary) {
        if (text.size() != 2 * held) __builtin_trap();
    } else if (answer.type != kRegDword) {
        // The data without its final byte, and never a byte from past what the query filled.
        if (text.size() != (held == 0 ? 0 : held - 1)) __builtin_trap();
    }
    std::string path = firstPagingPath(text);
    if (path.find('\0') != std::string::npos || path.find(' ') != std::string::npos)
        __builtin_trap();
    if (isSystemManagedPath(path)) resolveSystemManagedPath(path, text, "C:\\WINDOWS");
    firstExistingPageFile(text);
    return 0;
}
