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
    "Minute (UTC);SWAP mini (Mo);SWAP maxi (Mo);SWAP (Mo);RAM en usage (Mo);SWAP en usage (Mo);"
    "Engagement (Mo);Limite d'engagement (Mo);Alertes;"
    "Programme 1;PID 1;Engagement 1 (Mo);Hausse sur 1 h 1 (Mo);"
    "Programme 2;PID 2;Engagement 2 (Mo);Hausse sur 1 h 2 (Mo);"
    "Programme 3;PID 3;Engagement 3 (Mo);Hausse sur 1 h 3 (Mo)";
inline constexpr std::string_view kCrLf = "\r\n";
// What ends a line this program began and could not finish (a crash, a power cut, a full disk
// cut it short): no field of a record reads with a "%" followed by anything but two hex digits,
// so the line can never pass for one, here or in a spreadsheet's reading of it.
inline constexpr std::string_view kCutMark = "%(ligne coupee)";
// The hours' file: one line an hour, the minute its hour begins at, the smallest, largest and
// last swap size of the hour, the largest memory, swap in use, commit and commit limit, the
// alerts of the hour, and the programs of its busiest minute.
inline constexpr std::string_view kHourHeader =
    "Heure (UTC);SWAP mini (Mo);SWAP maxi (Mo);SWAP (Mo);RAM en usage maxi (Mo);SWAP en usage "
    "maxi (Mo);Engagement maxi (Mo);Limite d'engagement maxi (Mo);Alertes;"
    "Programme 1;PID 1;Engagement 1 (Mo);Hausse sur 1 h 1 (Mo);"
    "Programme 2;PID 2;Engagement 2 (Mo);Hausse sur 1 h 2 (Mo);"
    "Programme 3;PID 3;Engagement 3 (Mo);Hausse sur 1 h 3 (Mo)";
// The export: minutes where there are minutes, hours before them, a first column that says
// which. For an hour, memory, swap in use and commit are the hour's largest.
inline constexpr std::string_view kExportHeader =
    "Type;Minute ou heure (UTC);SWAP mini (Mo);SWAP maxi (Mo);SWAP (Mo);RAM en usage (Mo);SWAP "
    "en usage (Mo);Engagement (Mo);Limite d'engagement (Mo);Alertes;"
    "Programme 1;PID 1;Engagement 1 (Mo);Hausse sur 1 h 1 (Mo);"
    "Programme 2;PID 2;Engagement 2 (Mo);Hausse sur 1 h 2 (Mo);"
    "Programme 3;PID 3;Engagement 3 (Mo);Hausse sur 1 h 3 (Mo)";
// The headers earlier versions wrote, before the commit and the programs: their files still
// read, and get the header above when they are next rewritten.
inline constexpr std::string_view kEarlierHistoryHeader =
    "Minute (UTC);SWAP mini (Mo);SWAP maxi (Mo);SWAP (Mo);RAM en usage (Mo);SWAP en usage (Mo)";
inline constexpr std::string_view kEarlierHourHeader =
    "Heure (UTC);SWAP mini (Mo);SWAP maxi (Mo);SWAP (Mo);RAM en usage maxi (Mo);SWAP en usage "
    "maxi (Mo)";

// The word the file writes for an alert's mark: "engagement", "swap" or "memoire".
std::string_view alertMarkWord(AlertMark mark);

// A record names at most this many programs.
inline constexpr size_t kProgramsOfARecord = 3;

// "2026-12-08 06:17;1536;1540;1538;812;120" and its CR LF; the last field is empty where the
// part in use is unknown. Where the commit, an alert or programs are known, they follow:
// ";8192;12288;engagement+swap;chrome.exe;1234;812;300" (one group of four fields for each
// program named). A program's name is written with %XX for the bytes that would not read
// back the same or that a spreadsheet would take for a formula.
std::string formatRecord(const MinuteRecord& record);
// The minute as the file writes it: "2026-12-08 06:17".
std::string formatMinute(int32_t minute);

// One line without its line end, exactly as formatRecord writes it. False for anything else.
bool parseRecordLine(std::string_view line, MinuteRecord& record);
// The same record in the forms a spreadsheet saves it back in: the date as "08/12/2026 06:10"
// (day first, seconds allowed), fields in quotes, thousands spaced, the last field left out, more
// columns after ours. False for a line that still is not a sound record.
bool parseResavedRecordLine(std::string_view line, MinuteRecord& record);

// A field as a spreadsheet in a French locale saves it back: the minute "08/12/2026 06:10",
// "8/12/26 6:10:00" (day first, years of four or two digits, seconds or not) or
// "2026-12-08T06:10"; a whole number of Mo "1 536" or "1536,00" (thousands spaced by a space or
// a no-break space in the ANSI code page or in UTF-8, a decimal part of zeros). False for
// anything else.
bool parseResavedMinute(std::string_view field, int32_t& minute);
bool parseResavedMo(std::string_view field, int32_t& value);

struct ParsedHistory {
    std::vector<MinuteRecord> records;  // in the file's order
    bool header = false;                // the first line is the header
    bool earlierHeader = false;         // the first line is an earlier version's header
    // The first line names the columns otherwise than our header does (another order, columns
    // left out or added, a spreadsheet's quotes or tabs): every line is read through its names,
    // and the line itself is counted with the skipped ones (only the user's copy keeps it).
    bool otherHeader = false;
    // And a line of ours would not read the same through them: a column of ours is not at its
    // place (moved, or one before it left out or added).
    bool movedColumns = false;
    int64_t skippedLines = 0;  // lines that are neither the header nor a record
    int64_t blankLines = 0;
    bool endsWithLineEnd = true;  // false: the last line was cut before its line end
    bool inOrder = true;          // no record is earlier than the one before it
    int64_t repeatedRecords = 0;  // records equal to the one just before
    int64_t resavedLines = 0;     // records read from another form than ours (a spreadsheet's)
    int64_t repeatedHeaders = 0;  // our header again, past the first line
    // Lines this program began and could not finish: ended by kCutMark, or the last line cut
    // before its line end while it still reads as the beginning of one of ours. None is a
    // record, and none is a user's line to keep.
    int64_t cutLines = 0;
    bool cutLastLineIsOurs = false;  // the last line, cut before its line end, is one of ours

    // True when the file is exactly what this program writes: nothing to mend.
    bool tidy() const {
        return header && skippedLines == 0 && blankLines == 0 && endsWithLineEnd && inOrder &&
               repeatedRecords == 0 && resavedLines == 0 && cutLines == 0 && repeatedHeaders == 0;
    }
    // True when writing the records back in our form loses nothing of the file but blank
    // lines, repeats and its order: every other line was our header or one of our records.
    bool understood() const { return skippedLines == 0 && resavedLines == 0; }
    // The header of an earlier version, or ours: the file is this program's.
    bool anyHeader() const { return header || earlierHeader; }
};

// Reads a whole file. A record a spreadsheet saved back is read and counted; a line cut short,
// a line of garbage or another header anywhere but first is skipped, and our header repeated
// is counted; nothing in the bytes can make it fail. A line cut short is never read as a record,
// even where what is left of it would read as one (a memory of 8 Mo for 812).
// The columns are found by the names of the file's first line: any column this program knows,
// in any order; a column it does not know is passed over, one left out is unknown in every
// record. Under our header, an earlier version's, or none, each field is at its place in ours.
// `fileHeader`: the first line of the file `bytes` is a part of, when they begin within it.
ParsedHistory parseHistory(std::string_view bytes, std::string_view header = kHistoryHeader,
                           std::string_view fileHeader = {});

// The whole file for `records`: header, then one line each.
// True when `line` (without its line end) reads as the beginning of a line this program writes
// under `header`: a record's first bytes or the header's.
bool beginsLikeOurs(std::string_view line, std::string_view header = kHistoryHeader);

std::string historyText(const std::vector<MinuteRecord>& records,
                        std::string_view header = kHistoryHeader);

// The export of `hours` then `minutes`: "heure;..." and "minute;..." lines under kExportHeader.
std::string exportText(const std::vector<MinuteRecord>& hours,
                       const std::vector<MinuteRecord>& minutes);

}  // namespace corvane
