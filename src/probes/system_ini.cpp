// Reading system.ini's paging settings.
#include "probes/system_ini.h"

#include <optional>

#include "common/conversions.h"
#include "common/errors.h"
#include "common/numbers.h"
#include "probes/diagnostics.h"

namespace corvane {

namespace {

const std::string kPagingDrive = "PagingDrive=";
const std::string kMinPaging = "MinPagingFileSize=";
const std::string kMaxPaging = "MaxPagingFileSize=";

bool startsWith(const std::string& line, const std::string& key) {
    return line.compare(0, key.size(), key) == 0;
}

// The size in kilobytes turned into whole Mo, halves to even.
std::optional<int32_t> minimumMo(const std::string& text) {
    std::optional<double> kilobytes = parseNumber(text);
    if (!kilobytes) return std::nullopt;
    try {
        return doubleToLong(*kilobytes / 1024);
    } catch (const RuntimeError&) {
        return std::nullopt;
    }
}

// The size in kilobytes made whole first, then turned into Mo with its fraction.
std::optional<double> maximumMo(const std::string& text) {
    try {
        return textToLong(text) / 1024.0;
    } catch (const RuntimeError&) {
        return std::nullopt;
    }
}

}  // namespace

std::vector<std::string> splitLines(const std::string& bytes) {
    std::vector<std::string> lines;
    std::string line;
    for (size_t i = 0; i < bytes.size(); ++i) {
        char c = bytes[i];
        if (c == '\r' || c == '\n') {
            if (c == '\r' && i + 1 < bytes.size() && bytes[i + 1] == '\n') ++i;
            lines.push_back(line);
            line.clear();
        } else {
            line += c;
        }
    }
    if (!line.empty()) lines.push_back(line);
    return lines;
}

SystemIniValues readSystemIni(const std::string& bytes) {
    SystemIniValues values;
    values.lines = splitLines(bytes);
    for (const std::string& line : values.lines) {
        if (startsWith(line, kPagingDrive)) {
            values.pagingDirectory = line.substr(kPagingDrive.size());
        } else if (startsWith(line, kMinPaging)) {
            if (auto mo = minimumMo(line.substr(kMinPaging.size()))) values.minPagingSize = *mo;
        } else if (startsWith(line, kMaxPaging)) {
            if (auto mo = maximumMo(line.substr(kMaxPaging.size()))) values.maxPagingSize = *mo;
        }
    }
    return values;
}

std::vector<std::string> systemIniLogLines(const std::string& pagingDirectory, int32_t minimum,
                                           double maximum) {
    return {"PagingDrive : " + pagingDirectory, "MinPagingSize : " + std::to_string(minimum),
            "MaxPagingFileSize : " + formatGeneral(maximum, ".")};
}

void SystemIni(Context& c) {
    Platform& p = c.platform;
    MainState& s = c.state;

    s.minPagingSize = 0;
    s.maxPagingSize = 0;
    s.windowsDirectory = p.system.windowsDirectory();
    // A Windows folder at a drive's root would otherwise give "C:\\system.ini".
    while (!s.windowsDirectory.empty() && s.windowsDirectory.back() == '\\') {
        s.windowsDirectory.pop_back();
    }
    std::string path = s.windowsDirectory + "\\system.ini";

    std::string bytes;
    try {
        bytes = p.files.readFile(path);
    } catch (const RuntimeError& error) {
        addDiagnosticLine(p, "Open " + path + " erreur : " + std::to_string(error.number()));
        return;
    }
    SystemIniValues values = readSystemIni(bytes);
    s.pagingDirectory = p.system.ansiToUtf8(values.pagingDirectory);
    s.minPagingSize = values.minPagingSize;
    s.maxPagingSize = values.maxPagingSize;
    for (const std::string& line :
         systemIniLogLines(s.pagingDirectory, s.minPagingSize, s.maxPagingSize)) {
        addDiagnosticLine(p, line);
    }
}

}  // namespace corvane
