// The history file's reader on any bytes: it never fails, every record it keeps writes back to
// a line that reads as the same record, and what it keeps is the file's sound lines alone.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "history/history_csv.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace corvane;
    std::string_view bytes(reinterpret_cast<const char*>(data), size);
    ParsedHistory parsed = parseHistory(bytes);
    size_t lines = 0;
    for (char c : bytes) lines += c == '\n' ? 1 : 0;
    if (parsed.records.size() > lines) __builtin_trap();
    for (const MinuteRecord& record : parsed.records) {
        if (record.minMo > record.lastMo || record.lastMo > record.maxMo) __builtin_trap();
        if (record.memoryMo < 0 || (record.inUseMo < 0 && record.inUseMo != kUnknownMo)) {
            __builtin_trap();
        }
        std::string line = formatRecord(record);
        MinuteRecord again;
        if (!parseRecordLine(std::string_view(line).substr(0, line.size() - 2), again)) {
            __builtin_trap();
        }
        if (!(again == record)) __builtin_trap();
    }
    // What the compaction writes reads back whole and tidy.
    if (parsed.inOrder) {
        ParsedHistory rewritten = parseHistory(historyText(parsed.records));
        if (!rewritten.tidy() || !(rewritten.records == parsed.records)) __builtin_trap();
    }
    return 0;
}
