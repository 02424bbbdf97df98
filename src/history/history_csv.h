// The history file's format: one line a minute, ";" between fields, CR LF line ends, so that a
// French spreadsheet opens it as columns and reads the first one as a date and time.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "history/minute_record.h"

namespace corvane {

// ASCII only, so that the file has the same bytes in every ANSI code page.
inline constexpr std::string_view kHistoryHeader =
    "Minute (UTC);SWAP mini (Mo);SWAP maxi (Mo);SWAP (Mo);RAM en usage (Mo);SWAP en usage (Mo)";
inline constexpr std::string_view kCrLf = "\r\n";

// "2026-12-08 06:17;1536;1540;1538;812;120" and its CR LF; the last field is empty where the
// part in use is unknown.
std::string formatRecord(const MinuteRecord& record);
// The minute as the file writes it: "2026-12-08 06:17".
std::string formatMinute(int32_t minute);

// One line without its line end. Nothing for a line that is not a whole, sound record.
bool parseRecordLine(std::string_view line, MinuteRecord& record);

struct ParsedHistory {
    std::vector<MinuteRecord> records;  // in the file's order
    bool header = false;                // the first line is the header
    int64_t skippedLines = 0;           // lines that are neither the header nor a record
    int64_t blankLines = 0;
    bool endsWithLineEnd = true;  // false: the last line was cut before its line end
    bool inOrder = true;          // no record is earlier than the one before it
    int64_t repeatedRecords = 0;  // records equal to the one just before

    // True when the file is exactly what this program writes: nothing to mend.
    bool tidy() const {
        return header && skippedLines == 0 && blankLines == 0 && endsWithLineEnd && inOrder &&
               repeatedRecords == 0;
    }
};

// Reads a whole file. A line cut short, a line of garbage or a header anywhere but first is
// skipped; nothing in the bytes can make it fail.
ParsedHistory parseHistory(std::string_view bytes);

// The whole file for `records`: header, then one line each.
std::string historyText(const std::vector<MinuteRecord>& records);

}  // namespace corvane
