// Writing and reading the history's lines, strictly: a line either is a whole record or is skipped.
#include "history/history_csv.h"

#include <algorithm>
#include <charconv>
#include <iterator>
#include <limits>
#include <optional>

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

// 1 to 10 digits, no sign, not above `most`.
bool parseDigits(std::string_view field, uint64_t most, uint64_t& value) {
    if (field.empty() || field.size() > 10) return false;
    uint64_t v = 0;
    for (char c : field) {
        if (c < '0' || c > '9') return false;
        v = v * 10 + static_cast<uint64_t>(c - '0');
    }
    if (v > most) return false;
    value = v;
    return true;
}

// A whole number of Mo within 32 bits.
bool parseMo(std::string_view field, int32_t& value) {
    uint64_t v = 0;
    if (!parseDigits(field, std::numeric_limits<int32_t>::max(), v)) return false;
    value = static_cast<int32_t>(v);
    return true;
}

// A whole number of Mo that may be below zero (a growth).
bool parseSignedMo(std::string_view field, int32_t& value) {
    bool negative = !field.empty() && field.front() == '-';
    if (negative) field.remove_prefix(1);
    if (!parseMo(field, value)) return false;
    if (negative) value = -value;
    return true;
}

// A process id: 32 bits, unsigned.
bool parsePid(std::string_view field, uint32_t& pid) {
    uint64_t v = 0;
    if (!parseDigits(field, std::numeric_limits<uint32_t>::max(), v)) return false;
    pid = static_cast<uint32_t>(v);
    return true;
}

constexpr const char* kAlertWords[] = {"engagement", "swap", "memoire"};
constexpr AlertMark kAlertBits[] = {kAlertCommit, kAlertSwapGrowth, kAlertMemory};

}  // namespace

std::string_view alertMarkWord(AlertMark mark) {
    for (size_t i = 0; i < std::size(kAlertBits); ++i) {
        if (kAlertBits[i] == mark) return kAlertWords[i];
    }
    return {};
}

namespace {

void appendAlerts(std::string& out, uint8_t alerts) {
    bool first = true;
    for (size_t i = 0; i < std::size(kAlertBits); ++i) {
        if ((alerts & kAlertBits[i]) == 0) continue;
        if (!first) out += '+';
        out += kAlertWords[i];
        first = false;
    }
}

// "engagement+swap": each known word once at most; empty for none.
bool parseAlerts(std::string_view field, uint8_t& alerts) {
    alerts = 0;
    if (field.empty()) return true;
    size_t start = 0;
    for (size_t i = 0; i <= field.size(); ++i) {
        if (i < field.size() && field[i] != '+') continue;
        std::string_view word = field.substr(start, i - start);
        start = i + 1;
        size_t k = 0;
        while (k < std::size(kAlertWords) && word != kAlertWords[k]) ++k;
        if (k == std::size(kAlertWords) || (alerts & kAlertBits[k]) != 0) return false;
        alerts |= kAlertBits[k];
    }
    return true;
}

bool needsEscape(unsigned char c, bool first, bool last) {
    if (c < 0x20 || c >= 0x7F || c == '%' || c == ';' || c == '"') return true;
    // A spreadsheet takes a cell that begins so for a formula; the reader trims spaces.
    if (first && (c == '=' || c == '+' || c == '-' || c == '@')) return true;
    return (first || last) && c == ' ';
}

void appendName(std::string& out, const std::string& name) {
    constexpr char kHex[] = "0123456789ABCDEF";
    for (size_t i = 0; i < name.size(); ++i) {
        auto c = static_cast<unsigned char>(name[i]);
        if (needsEscape(c, i == 0, i + 1 == name.size())) {
            out += '%';
            out += kHex[c >> 4];
            out += kHex[c & 15];
        } else {
            out += static_cast<char>(c);
        }
    }
}

int hexValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    return -1;
}

// A name as appendName writes it; false for an empty one or a '%' not followed by two hex
// digits.
bool parseName(std::string_view field, std::string& name) {
    if (field.empty()) return false;
    std::string out;
    out.reserve(field.size());
    for (size_t i = 0; i < field.size(); ++i) {
        if (field[i] != '%') {
            out += field[i];
            continue;
        }
        if (i + 2 >= field.size()) return false;
        int high = hexValue(field[i + 1]);
        int low = hexValue(field[i + 2]);
        if (high < 0 || low < 0) return false;
        out += static_cast<char>(high * 16 + low);
        i += 2;
    }
    name = std::move(out);
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

}  // namespace

// "1 536", "1536,00": digits that may be grouped by spaces (a no-break space in the ANSI code
// page, or a no-break or narrow no-break space in UTF-8), and a decimal part of zeros.
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
        } else if (!digits.empty() && field.substr(i, 3) == "\xE2\x80\xAF") {
            i += 2;
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

namespace {

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

}  // namespace

// "08/12/2026 06:10", "8/12/26 6:10:00", "2026-12-08 06:10:00", "2026-12-08T06:10".
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
        size_t yearDigits = date.size() - date.rfind('/') - 1;
        if (numbersOf(date, '/', d, 4) != 3 || (yearDigits != 4 && yearDigits != 2)) return false;
        when.day = d[0];
        when.month = d[1];
        when.year = d[2];
        // A spreadsheet's short date, as a second save writes it: no record is before 1970.
        if (yearDigits == 2) when.year += when.year < 70 ? 2000 : 1900;
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
    for (int32_t value : {r.minMo, r.maxMo, r.lastMo}) {
        out += ';';
        appendNumber(out, value);
    }
    // The memory is unknown only where a spreadsheet left its column out.
    for (int32_t value : {r.memoryMo, r.inUseMo}) {
        out += ';';
        if (value != kUnknownMo) appendNumber(out, value);
    }
    // A record with nothing more to say keeps the earlier versions' six fields.
    if (r.commitMo != kUnknownMo || r.commitLimitMo != kUnknownMo || r.alerts != 0 ||
        !r.programs.empty()) {
        for (int32_t value : {r.commitMo, r.commitLimitMo}) {
            out += ';';
            if (value != kUnknownMo) appendNumber(out, value);
        }
        out += ';';
        appendAlerts(out, r.alerts);
        size_t count = std::min(r.programs.size(), kProgramsOfARecord);
        for (size_t i = 0; i < count; ++i) {
            const ProgramMark& p = r.programs[i];
            out += ';';
            appendName(out, p.name);
            out += ';';
            out += std::to_string(p.pid);
            out += ';';
            appendNumber(out, p.commitMo);
            out += ';';
            appendNumber(out, p.hourGrowthMo);
        }
    }
    out += kCrLf;
    return out;
}

namespace {

// The fields of a line: the six of every version, the commit, its limit and the alerts, and
// four for each program named.
constexpr size_t kBaseFields = 6;
constexpr size_t kExtraFields = 9;
constexpr size_t kProgramFields = 4;
constexpr size_t kMostFields = kExtraFields + kProgramFields * kProgramsOfARecord;

// Splits at `separator` into at most `most` fields; `more` says the line had more.
size_t splitFields(std::string_view line, char separator, std::string_view (&fields)[kMostFields],
                   size_t most, bool& more) {
    size_t count = 0;
    size_t start = 0;
    more = false;
    for (size_t i = 0; i <= line.size(); ++i) {
        if (i == line.size() || line[i] == separator) {
            if (count == most) {
                more = true;
                return count;
            }
            fields[count++] = line.substr(start, i - start);
            start = i + 1;
        }
    }
    return count;
}

bool parseOptionalMo(std::string_view field, int32_t& value, bool resaved) {
    if (field.empty()) {
        value = kUnknownMo;
        return true;
    }
    return resaved ? parseResavedMo(field, value) : parseMo(field, value);
}

bool parseProgram(const std::string_view* f, ProgramMark& program, bool resaved) {
    if (!parseName(f[0], program.name) || !parsePid(f[1], program.pid)) return false;
    if (!resaved)
        return parseMo(f[2], program.commitMo) && parseSignedMo(f[3], program.hourGrowthMo);
    // A spreadsheet may write a growth with its sign either way.
    std::string_view growth = f[3];
    bool negative = false;
    if (!growth.empty() && (growth.front() == '-' || growth.front() == '+')) {
        negative = growth.front() == '-';
        growth.remove_prefix(1);
    }
    if (!parseResavedMo(f[2], program.commitMo) || !parseResavedMo(growth, program.hourGrowthMo)) {
        return false;
    }
    if (negative) program.hourGrowthMo = -program.hourGrowthMo;
    return true;
}

// The six fields every version writes.
bool parseBase(const std::string_view* f, size_t count, MinuteRecord& r, bool resaved) {
    bool ok = resaved ? parseResavedMinute(f[0], r.minute) && parseResavedMo(f[1], r.minMo) &&
                            parseResavedMo(f[2], r.maxMo) && parseResavedMo(f[3], r.lastMo)
                      : parseMinute(f[0], r.minute) && parseMo(f[1], r.minMo) &&
                            parseMo(f[2], r.maxMo) && parseMo(f[3], r.lastMo);
    if (!ok) return false;
    // The memory is left empty only where the columns a file was read through had none; a
    // line that ends before the part in use is a field short, not a record.
    if (count > 5 && f[4].empty()) {
        r.memoryMo = kUnknownMo;
    } else if (!(resaved ? parseResavedMo(f[4], r.memoryMo) : parseMo(f[4], r.memoryMo))) {
        return false;
    }
    if (count > 5 && !parseOptionalMo(f[5], r.inUseMo, resaved)) return false;
    // The last size lies between the smallest and the largest: anything else is not ours.
    return r.minMo <= r.lastMo && r.lastMo <= r.maxMo;
}

}  // namespace

bool parseRecordLine(std::string_view line, MinuteRecord& record) {
    std::string_view f[kMostFields];
    bool more = false;
    size_t count = splitFields(line, ';', f, kMostFields, more);
    if (more) return false;
    bool extended = count >= kExtraFields && (count - kExtraFields) % kProgramFields == 0;
    if (count != kBaseFields && !extended) return false;
    MinuteRecord r;
    if (!parseBase(f, count, r, false)) return false;
    if (extended) {
        // Written only when something of it is known: a line of empty fields is not ours.
        if (!parseOptionalMo(f[6], r.commitMo, false) ||
            !parseOptionalMo(f[7], r.commitLimitMo, false) || !parseAlerts(f[8], r.alerts)) {
            return false;
        }
        for (size_t at = kExtraFields; at < count; at += kProgramFields) {
            ProgramMark program;
            if (!parseProgram(f + at, program, false)) return false;
            r.programs.push_back(std::move(program));
        }
        if (r.commitMo == kUnknownMo && r.commitLimitMo == kUnknownMo && r.alerts == 0 &&
            r.programs.empty()) {
            return false;
        }
    }
    record = std::move(r);
    return true;
}

bool parseResavedRecordLine(std::string_view line, MinuteRecord& record) {
    // The separator of a French spreadsheet, or the tab of a copy from one.
    char separator = line.find(';') != std::string_view::npos ? ';' : '\t';
    std::string_view f[kMostFields];
    bool more = false;
    size_t count = splitFields(line, separator, f, kMostFields, more);
    for (size_t i = 0; i < count; ++i) f[i] = unquoted(f[i]);
    if (count < 5) return false;
    MinuteRecord r;
    if (!parseBase(f, count, r, true)) return false;
    // What follows is taken where it reads: columns a user added after ours are not lost to
    // the record, nor is the record lost to them.
    if (count >= kExtraFields) {
        int32_t commit = kUnknownMo;
        int32_t limit = kUnknownMo;
        uint8_t alerts = 0;
        if (parseOptionalMo(f[6], commit, true) && parseOptionalMo(f[7], limit, true)) {
            r.commitMo = commit;
            r.commitLimitMo = limit;
        }
        if (parseAlerts(f[8], alerts)) r.alerts = alerts;
        for (size_t at = kExtraFields; at + kProgramFields <= count; at += kProgramFields) {
            ProgramMark program;
            if (!parseProgram(f + at, program, true)) break;
            r.programs.push_back(std::move(program));
        }
    }
    record = std::move(r);
    return true;
}

namespace {

// Where each column of a file is in ours: the columns of a file are found by their names, so
// that a column added later, or one a spreadsheet's user moved or left out, shifts nothing.
struct Layout {
    // Our layout itself: each field at its place in kHistoryHeader (or kHourHeader), as under
    // our header, an earlier version's (a beginning of ours) or none.
    bool ours = true;
    // The place in our layout of each column of the file; -1 for a column this program does
    // not know (a later version's, or one a user added). A line may end early: the fields it
    // leaves out are empty, so that a column added at the end leaves every line before it
    // readable.
    std::vector<int> place;
};

// The column of our layout named `name` in a file of `header`: the minute's by that file's
// name alone ("Minute (UTC)" or "Heure (UTC)", so that the hours' file is not read as the
// minutes'), every other by the name either file gives it.
int placeOf(std::string_view name, std::string_view header) {
    for (std::string_view known : {header, kHistoryHeader, kHourHeader}) {
        size_t start = 0;
        for (int place = 0; start <= known.size(); ++place) {
            size_t end = std::min(known.find(';', start), known.size());
            if (known.substr(start, end - start) == name && (place > 0 || known == header)) {
                return place;
            }
            start = end + 1;
        }
    }
    return -1;
}

// The layout a header line gives, or nothing when it is no header of ours: it names the
// minute's column.
std::optional<Layout> layoutOf(std::string_view line, std::string_view header) {
    char separator = line.find(';') != std::string_view::npos ? ';' : '\t';
    Layout layout;
    bool minute = false;
    size_t start = 0;
    while (start <= line.size()) {
        size_t end = std::min(line.find(separator, start), line.size());
        int place = placeOf(unquoted(line.substr(start, end - start)), header);
        minute = minute || place == 0;
        // Ours while each column is the next of ours.
        layout.ours = layout.ours && place == static_cast<int>(layout.place.size());
        layout.place.push_back(place);
        start = end + 1;
    }
    if (!minute) return std::nullopt;
    if (layout.ours) layout.place.clear();
    return layout;
}

// A line read through the names of its file's columns, in any of the forms a spreadsheet
// saves: a figure whose column is missing is unknown.
bool parseNamedRecordLine(std::string_view line, const Layout& layout, MinuteRecord& record) {
    char separator = line.find(';') != std::string_view::npos ? ';' : '\t';
    std::string_view f[kMostFields];
    bool known[kMostFields] = {};
    size_t start = 0;
    for (size_t column = 0; start <= line.size() && column < layout.place.size(); ++column) {
        size_t end = std::min(line.find(separator, start), line.size());
        int place = layout.place[column];
        if (place >= 0 && !known[place]) {
            f[place] = unquoted(line.substr(start, end - start));
            known[place] = true;
        }
        start = end + 1;
    }
    MinuteRecord r;
    if (!known[0] || !parseResavedMinute(f[0], r.minute)) return false;
    // The swap file's sizes: one left out is taken from the others, none is no record.
    int32_t size[3] = {kUnknownMo, kUnknownMo, kUnknownMo};
    for (size_t i = 0; i < 3; ++i) {
        if (!parseOptionalMo(f[1 + i], size[i], true)) return false;
    }
    r.lastMo = size[2] != kUnknownMo ? size[2] : size[1] != kUnknownMo ? size[1] : size[0];
    if (r.lastMo == kUnknownMo) return false;
    r.minMo = size[0] != kUnknownMo ? size[0] : r.lastMo;
    r.maxMo = size[1] != kUnknownMo ? size[1] : r.lastMo;
    if (!(r.minMo <= r.lastMo && r.lastMo <= r.maxMo)) return false;
    if (!parseOptionalMo(f[4], r.memoryMo, true) || !parseOptionalMo(f[5], r.inUseMo, true)) {
        return false;
    }
    // What follows is taken where it reads, as in a line a spreadsheet saved back.
    int32_t commit = kUnknownMo;
    int32_t limit = kUnknownMo;
    if (parseOptionalMo(f[6], commit, true) && parseOptionalMo(f[7], limit, true)) {
        r.commitMo = commit;
        r.commitLimitMo = limit;
    }
    uint8_t alerts = 0;
    if (parseAlerts(f[8], alerts)) r.alerts = alerts;
    for (size_t at = kExtraFields; at < kMostFields; at += kProgramFields) {
        if (f[at].empty()) break;
        // A program is known by its name: a figure of it whose column is missing reads as 0.
        std::string_view fields[kProgramFields];
        for (size_t i = 0; i < kProgramFields; ++i) {
            fields[i] = known[at + i] ? f[at + i] : std::string_view("0");
        }
        ProgramMark program;
        if (!parseProgram(fields, program, true)) break;
        r.programs.push_back(std::move(program));
    }
    record = std::move(r);
    return true;
}

// The header an earlier version wrote in place of `header`.
std::string_view earlierHeaderOf(std::string_view header) {
    if (header == kHistoryHeader) return kEarlierHistoryHeader;
    if (header == kHourHeader) return kEarlierHourHeader;
    return {};
}

}  // namespace

bool beginsLikeOurs(std::string_view line, std::string_view header) {
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    if (header.substr(0, line.size()) == line) return true;
    // "YYYY-MM-DD HH:MM;": a record's minute, then its first separator.
    constexpr std::string_view kShape = "0000-00-00 00:00;";
    size_t n = std::min(line.size(), kShape.size());
    for (size_t i = 0; i < n; ++i) {
        bool digit = line[i] >= '0' && line[i] <= '9';
        if (kShape[i] == '0' ? !digit : line[i] != kShape[i]) return false;
    }
    return true;
}

ParsedHistory parseHistory(std::string_view bytes, std::string_view header,
                           std::string_view fileHeader) {
    ParsedHistory parsed;
    // The mark a spreadsheet may put before a file it saves in UTF-8.
    constexpr std::string_view kUtf8Mark = "\xEF\xBB\xBF";
    if (bytes.substr(0, kUtf8Mark.size()) == kUtf8Mark) bytes.remove_prefix(kUtf8Mark.size());
    if (fileHeader.substr(0, kUtf8Mark.size()) == kUtf8Mark) {
        fileHeader.remove_prefix(kUtf8Mark.size());
    }
    if (!fileHeader.empty() && fileHeader.back() == '\r') fileHeader.remove_suffix(1);
    Layout layout;
    if (fileHeader != header && fileHeader != earlierHeaderOf(header)) {
        layout = layoutOf(fileHeader, header).value_or(Layout());
    }
    size_t start = 0;
    bool first = true;
    while (start < bytes.size()) {
        size_t end = bytes.find('\n', start);
        if (end == std::string_view::npos) {
            // The last line has no line end: cut short by a crash or a power cut. What reads
            // as the beginning of ours is this program's; anything else a user's, kept.
            parsed.endsWithLineEnd = false;
            if (beginsLikeOurs(bytes.substr(start), header)) {
                parsed.cutLastLineIsOurs = true;
                ++parsed.cutLines;
            } else {
                ++parsed.skippedLines;
            }
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
        if (line.size() >= kCutMark.size() &&
            line.substr(line.size() - kCutMark.size()) == kCutMark) {
            ++parsed.cutLines;
            continue;
        }
        if (isFirst && line == header) {
            parsed.header = true;
            continue;
        }
        if (isFirst && line == earlierHeaderOf(header)) {
            parsed.earlierHeader = true;
            continue;
        }
        if (isFirst) {
            if (std::optional<Layout> named = layoutOf(line, header)) {
                layout = std::move(*named);
                parsed.otherHeader = true;
                for (size_t i = 0; i < layout.place.size(); ++i) {
                    int place = layout.place[i];
                    parsed.movedColumns |= place >= 0 && place != static_cast<int>(i);
                }
                ++parsed.skippedLines;
                continue;
            }
        }
        if (line == header) {
            // Ours, begun again where the file seemed gone, or put before lines of ours appended
            // to a file under other columns: the lines after it are in our columns. A rewrite
            // drops it, losing nothing.
            ++parsed.repeatedHeaders;
            layout = Layout();
            continue;
        }
        MinuteRecord record;
        if (!layout.ours) {
            if (!parseNamedRecordLine(line, layout, record)) {
                ++parsed.skippedLines;
                continue;
            }
            ++parsed.resavedLines;
        } else if (!parseRecordLine(line, record)) {
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
    text.reserve(header.size() + 2 + records.size() * 56);
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
