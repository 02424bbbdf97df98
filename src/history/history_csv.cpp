// Writing and reading the history's lines, strictly: a line either is a whole record or is skipped.
#include "history/history_csv.h"

#include <charconv>
#include <limits>

#include "history/utc_minutes.h"

namespace corvane {

namespace {

void appendPadded(std::string& out, int value, int digits) {
    char buffer[12];
    auto [end, ec] = std::to_chars(buffer, buffer + sizeof buffer, value);
    (void)ec;
    for (int n = static_cast<int>(end - buffer); n < digits; ++n) out += '0';
    out.append(buffer, end);
}

void appendNumber(std::string& out, int32_t value) {
    char buffer[12];
    auto [end, ec] = std::to_chars(buffer, buffer + sizeof buffer, value);
    (void)ec;
    out.append(buffer, end);
}

bool digitsAt(std::string_view text, size_t at, size_t count, int& value) {
    value = 0;
    for (size_t i = at; i < at + count; ++i) {
        char c = text[i];
        if (c < '0' || c > '9') return false;
        value = value * 10 + (c - '0');
    }
    return true;
}

// A whole number of Mo: 1 to 10 digits, no sign, within 32 bits.
bool parseMo(std::string_view field, int32_t& value) {
    if (field.empty() || field.size() > 10) return false;
    int64_t v = 0;
    for (char c : field) {
        if (c < '0' || c > '9') return false;
        v = v * 10 + (c - '0');
    }
    if (v > std::numeric_limits<int32_t>::max()) return false;
    value = static_cast<int32_t>(v);
    return true;
}

bool parseMinute(std::string_view field, int32_t& minute) {
    // "YYYY-MM-DD HH:MM"
    if (field.size() != 16 || field[4] != '-' || field[7] != '-' || field[10] != ' ' ||
        field[13] != ':') {
        return false;
    }
    DateTime when;
    if (!digitsAt(field, 0, 4, when.year) || !digitsAt(field, 5, 2, when.month) ||
        !digitsAt(field, 8, 2, when.day) || !digitsAt(field, 11, 2, when.hour) ||
        !digitsAt(field, 14, 2, when.minute)) {
        return false;
    }
    std::optional<int32_t> m = minuteOf(when);
    if (!m) return false;
    minute = *m;
    return true;
}

std::string_view trimmed(std::string_view text) {
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) text.remove_prefix(1);
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t')) text.remove_suffix(1);
    return text;
}

std::string_view unquoted(std::string_view field) {
    field = trimmed(field);
    if (field.size() >= 2 && field.front() == '"' && field.back() == '"') {
        field = trimmed(field.substr(1, field.size() - 2));
    }
    return field;
}

// "1 536", "1536,00": digits that may be grouped by spaces (a no-break space in the ANSI code
// page or in UTF-8 too), and a decimal part of zeros.
bool parseResavedMo(std::string_view field, int32_t& value) {
    std::string digits;
    size_t i = 0;
    for (; i < field.size(); ++i) {
        char c = field[i];
        if (c >= '0' && c <= '9') {
            digits += c;
        } else if (!digits.empty() && (c == ' ' || c == '\xA0')) {
            continue;
        } else if (!digits.empty() && c == '\xC2' && i + 1 < field.size() &&
                   field[i + 1] == '\xA0') {
            ++i;
        } else {
            break;
        }
    }
    if (i < field.size()) {
        if ((field[i] != ',' && field[i] != '.') || i + 1 == field.size()) return false;
        for (size_t j = i + 1; j < field.size(); ++j) {
            if (field[j] != '0') return false;
        }
    }
    return parseMo(digits, value);
}

// Up to three numbers of 1 to `widest` digits between `separator`s: "8/12/2026", "6:10:00".
size_t numbersOf(std::string_view text, char separator, int (&values)[3], size_t widest) {
    size_t count = 0;
    size_t start = 0;
    for (size_t i = 0; i <= text.size(); ++i) {
        if (i < text.size() && text[i] != separator) continue;
        size_t length = i - start;
        if (count == 3 || length == 0 || length > widest ||
            !digitsAt(text, start, length, values[count])) {
            return 0;
        }
        ++count;
        start = i + 1;
    }
    return count;
}

// "08/12/2026 06:10", "8/12/2026 6:10:00", "2026-12-08 06:10:00", "2026-12-08T06:10".
bool parseResavedMinute(std::string_view field, int32_t& minute) {
    size_t between = field.find_first_of(" T");
    if (between == std::string_view::npos) return false;
    std::string_view date = field.substr(0, between);
    std::string_view time = trimmed(field.substr(between + 1));
    int d[3];
    int t[3] = {0, 0, 0};
    DateTime when;
    if (date.find('-') != std::string_view::npos) {
        if (numbersOf(date, '-', d, 4) != 3 || date.find('-') != 4) return false;
        when.year = d[0];
        when.month = d[1];
        when.day = d[2];
    } else {
        if (numbersOf(date, '/', d, 4) != 3 || date.size() - date.rfind('/') != 5) return false;
        when.day = d[0];
        when.month = d[1];
        when.year = d[2];
    }
    size_t parts = numbersOf(time, ':', t, 2);
    if (parts < 2 || time.size() - time.find(':') != 3 + (parts == 3 ? 3 : 0)) return false;
    if (t[1] > 59 || t[2] > 59) return false;
    when.hour = t[0];
    when.minute = t[1];
    std::optional<int32_t> m = minuteOf(when);
    if (!m) return false;
    minute = *m;
    return true;
}

}  // namespace

std::string formatMinute(int32_t minute) {
    DateTime when = dateTimeOf(minute);
    std::string out;
    out.reserve(16);
    appendPadded(out, when.year, 4);
    out += '-';
    appendPadded(out, when.month, 2);
    out += '-';
    appendPadded(out, when.day, 2);
    out += ' ';
    appendPadded(out, when.hour, 2);
    out += ':';
    appendPadded(out, when.minute, 2);
    return out;
}

std::string formatRecord(const MinuteRecord& r) {
    std::string out = formatMinute(r.minute);
    out.reserve(48);
    for (int32_t value : {r.minMo, r.maxMo, r.lastMo, r.memoryMo}) {
        out += ';';
        appendNumber(out, value);
    }
    out += ';';
    if (r.inUseMo != kUnknownMo) appendNumber(out, r.inUseMo);
    out += kCrLf;
    return out;
}

bool parseRecordLine(std::string_view line, MinuteRecord& record) {
    std::string_view fields[6];
    size_t count = 0;
    size_t start = 0;
    for (size_t i = 0; i <= line.size(); ++i) {
        if (i == line.size() || line[i] == ';') {
            if (count == 6) return false;
            fields[count++] = line.substr(start, i - start);
            start = i + 1;
        }
    }
    if (count != 6) return false;
    MinuteRecord r;
    if (!parseMinute(fields[0], r.minute) || !parseMo(fields[1], r.minMo) ||
        !parseMo(fields[2], r.maxMo) || !parseMo(fields[3], r.lastMo) ||
        !parseMo(fields[4], r.memoryMo)) {
        return false;
    }
    if (!fields[5].empty() && !parseMo(fields[5], r.inUseMo)) return false;
    // The last size lies between the smallest and the largest: anything else is not ours.
    if (r.minMo > r.lastMo || r.lastMo > r.maxMo) return false;
    record = r;
    return true;
}

bool parseResavedRecordLine(std::string_view line, MinuteRecord& record) {
    // The separator of a French spreadsheet, or the tab of a copy from one.
    char separator = line.find(';') != std::string_view::npos ? ';' : '\t';
    std::string_view fields[6];
    size_t count = 0;
    size_t start = 0;
    for (size_t i = 0; i <= line.size() && count < 6; ++i) {
        if (i == line.size() || line[i] == separator) {
            fields[count++] = unquoted(line.substr(start, i - start));
            start = i + 1;
        }
    }
    if (count < 5) return false;
    MinuteRecord r;
    if (!parseResavedMinute(fields[0], r.minute) || !parseResavedMo(fields[1], r.minMo) ||
        !parseResavedMo(fields[2], r.maxMo) || !parseResavedMo(fields[3], r.lastMo) ||
        !parseResavedMo(fields[4], r.memoryMo)) {
        return false;
    }
    if (count == 6 && !fields[5].empty() && !parseResavedMo(fields[5], r.inUseMo)) return false;
    if (r.minMo > r.lastMo || r.lastMo > r.maxMo) return false;
    record = r;
    return true;
}

ParsedHistory parseHistory(std::string_view bytes, std::string_view header) {
    ParsedHistory parsed;
    size_t start = 0;
    bool first = true;
    while (start < bytes.size()) {
        size_t end = bytes.find('\n', start);
        if (end == std::string_view::npos) {
            // The last line has no line end: cut short by a crash or a power cut.
            parsed.endsWithLineEnd = false;
            ++parsed.skippedLines;
            break;
        }
        std::string_view line = bytes.substr(start, end - start);
        start = end + 1;
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        bool isFirst = first;
        first = false;
        if (line.empty()) {
            ++parsed.blankLines;
            continue;
        }
        if (isFirst && line == header) {
            parsed.header = true;
            continue;
        }
        MinuteRecord record;
        if (!parseRecordLine(line, record)) {
            if (!parseResavedRecordLine(line, record)) {
                ++parsed.skippedLines;
                continue;
            }
            ++parsed.resavedLines;
        }
        if (!parsed.records.empty()) {
            const MinuteRecord& before = parsed.records.back();
            if (record.minute < before.minute) parsed.inOrder = false;
            if (record == before) {
                ++parsed.repeatedRecords;
                continue;
            }
        }
        parsed.records.push_back(record);
    }
    return parsed;
}

std::string historyText(const std::vector<MinuteRecord>& records, std::string_view header) {
    std::string text;
    text.reserve(header.size() + 2 + records.size() * 44);
    text += header;
    text += kCrLf;
    for (const MinuteRecord& r : records) text += formatRecord(r);
    return text;
}

std::string exportText(const std::vector<MinuteRecord>& hours,
                       const std::vector<MinuteRecord>& minutes) {
    std::string text;
    text.reserve(kExportHeader.size() + 2 + (hours.size() + minutes.size()) * 52);
    text += kExportHeader;
    text += kCrLf;
    for (const MinuteRecord& r : hours) text += "heure;" + formatRecord(r);
    for (const MinuteRecord& r : minutes) text += "minute;" + formatRecord(r);
    return text;
}

}  // namespace corvane
