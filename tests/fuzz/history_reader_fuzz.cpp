// The history file's reader on any bytes: it never fails, every record it keeps writes back to
// a line that reads as the same record, and what it keeps is the file's sound lines alone. The
// same bytes under a header of our columns in another order, some left out, a user's added,
// read through its names; and what was read, written under such a header, reads back as the
// columns left it.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "history/history_csv.h"
#include "moved_columns.h"

namespace {

using namespace corvane;

void checkRecords(const ParsedHistory& parsed, std::string_view bytes) {
    size_t lines = 0;
    for (char c : bytes) lines += c == '\n' ? 1 : 0;
    if (parsed.records.size() > lines) __builtin_trap();
    for (const MinuteRecord& record : parsed.records) {
        if (record.minMo > record.lastMo || record.lastMo > record.maxMo) __builtin_trap();
        if ((record.memoryMo < 0 && record.memoryMo != kUnknownMo) ||
            (record.inUseMo < 0 && record.inUseMo != kUnknownMo)) {
            __builtin_trap();
        }
        std::string line = formatRecord(record);
        MinuteRecord again;
        if (!parseRecordLine(std::string_view(line).substr(0, line.size() - 2), again)) {
            __builtin_trap();
        }
        if (!(again == record)) __builtin_trap();
    }
}

// Columns for a file, from the first bytes: each of ours at most once, the minute's and the
// size's always (a line without them is no record).
std::vector<int> columnsFrom(std::string_view& bytes) {
    std::vector<int> places;
    for (int place = 0; place < 21; ++place) places.push_back(place);
    uint32_t seed = 0;
    for (size_t i = 0; i < 4 && i < bytes.size(); ++i) seed = seed * 256 + uint8_t(bytes[i]);
    bytes.remove_prefix(std::min<size_t>(4, bytes.size()));
    std::vector<int> columns;
    while (!places.empty()) {
        seed = seed * 1103515245u + 12345u;
        size_t at = (seed >> 8) % places.size();
        int place = places[at];
        places.erase(places.begin() + static_cast<std::ptrdiff_t>(at));
        // A column left out now and then; a user's added in its place.
        if (place != 0 && place != 3 && ((seed >> 20) & 7) == 0) continue;
        if (((seed >> 24) & 15) == 0) columns.push_back(-1);
        columns.push_back(place);
    }
    return columns;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace corvane;
    using namespace corvane::fuzzing;
    std::string_view bytes(reinterpret_cast<const char*>(data), size);
    ParsedHistory parsed = parseHistory(bytes);
    checkRecords(parsed, bytes);
    // What the compaction writes reads back whole and tidy.
    if (parsed.inOrder) {
        ParsedHistory rewritten = parseHistory(historyText(parsed.records));
        if (!rewritten.tidy() || !(rewritten.records == parsed.records)) __builtin_trap();
    }
    std::string_view rest = bytes;
    std::vector<int> columns = columnsFrom(rest);
    std::string moved = movedColumns({}, columns);
    checkRecords(parseHistory(moved + std::string(rest)), moved + std::string(rest));
    // And the same part read from within the file, through its first line.
    checkRecords(parseHistory(rest, kHistoryHeader, moved), rest);
    // Records the columns left out made equal to the one before them are one.
    std::vector<MinuteRecord> expected;
    for (const MinuteRecord& r : parsed.records) {
        MinuteRecord left = withColumns(r, columns);
        if (expected.empty() || !(expected.back() == left)) expected.push_back(left);
    }
    if (!(parseHistory(movedColumns(parsed.records, columns)).records == expected)) {
        __builtin_trap();
    }
    return 0;
}
