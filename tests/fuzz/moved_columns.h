// A history file as a spreadsheet's user saves it back: its columns in another order, some of
// ours left out, one of the user's added; and what each record then holds.
#pragma once

#include <algorithm>
#include <string>
#include <string_view>
#include <vector>

#include "history/history_csv.h"

namespace corvane::fuzzing {

// The fields of a line of ours, as many as our header has columns (the last ones empty).
inline std::vector<std::string> fieldsOf(std::string_view line) {
    std::vector<std::string> fields;
    size_t start = 0;
    while (start <= line.size()) {
        size_t end = std::min(line.find(';', start), line.size());
        fields.emplace_back(line.substr(start, end - start));
        start = end + 1;
    }
    if (line != kHistoryHeader)
        fields.resize(std::max(fields.size(), fieldsOf(kHistoryHeader).size()));
    return fields;
}

// `columns`: a place in our layout for each column of the file, -1 for a user's column.
inline std::string movedColumns(const std::vector<MinuteRecord>& records,
                                const std::vector<int>& columns) {
    std::vector<std::string> names = fieldsOf(kHistoryHeader);
    std::string text;
    auto add = [&](const std::vector<std::string>& fields, const char* own) {
        for (size_t i = 0; i < columns.size(); ++i) {
            if (i > 0) text += ';';
            text += columns[i] < 0 ? std::string(own) : fields[static_cast<size_t>(columns[i])];
        }
        text += "\r\n";
    };
    add(names, "Note");
    for (const MinuteRecord& r : records) {
        std::string line = formatRecord(r);
        add(fieldsOf(std::string_view(line).substr(0, line.size() - 2)), "vu");
    }
    return text;
}

// What `r` holds once read back from a file of `columns` (the minute's and the size's among them):
// a figure whose column is missing is unknown, the band's bounds are the size, a program is known
// by its name.
inline MinuteRecord withColumns(MinuteRecord r, const std::vector<int>& columns) {
    auto has = [&](int place) {
        return std::find(columns.begin(), columns.end(), place) != columns.end();
    };
    if (!has(1)) r.minMo = r.lastMo;
    if (!has(2)) r.maxMo = r.lastMo;
    if (!has(4)) r.memoryMo = kUnknownMo;
    if (!has(5)) r.inUseMo = kUnknownMo;
    if (!has(6)) r.commitMo = kUnknownMo;
    if (!has(7)) r.commitLimitMo = kUnknownMo;
    if (!has(8)) r.alerts = 0;
    for (size_t k = 0; k < r.programs.size(); ++k) {
        int at = 9 + 4 * static_cast<int>(k);
        if (!has(at)) {
            r.programs.resize(k);
            break;
        }
        if (!has(at + 1)) r.programs[k].pid = 0;
        if (!has(at + 2)) r.programs[k].commitMo = 0;
        if (!has(at + 3)) r.programs[k].hourGrowthMo = 0;
    }
    return r;
}

}  // namespace corvane::fuzzing
