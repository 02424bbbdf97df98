// The text of a staged set: a format line, then one "key=value" line a key, with the few
// characters that would break a line escaped.
#include "persistence/staged_values.h"

namespace corvane {

namespace {

constexpr const char* kFormatLine = "Corvane 1";

std::string escaped(const std::string& text) {
    std::string out;
    for (char c : text) {
        switch (c) {
            case '%': out += "%25"; break;
            case '\n': out += "%0A"; break;
            case '\r': out += "%0D"; break;
            default: out += c;
        }
    }
    return out;
}

std::optional<std::string> unescaped(const std::string& text) {
    std::string out;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '%') {
            out += text[i];
            continue;
        }
        std::string code = text.substr(i + 1, 2);
        if (code == "25") {
            out += '%';
        } else if (code == "0A") {
            out += '\n';
        } else if (code == "0D") {
            out += '\r';
        } else {
            return std::nullopt;
        }
        i += 2;
    }
    return out;
}

}  // namespace

std::string encodeStagedValues(const SettingValues& values) {
    std::string text = kFormatLine;
    for (const auto& [key, value] : values) text += "\n" + key + "=" + escaped(value);
    return text;
}

std::optional<std::string> stagedValue(const std::string& staged, const std::string& key) {
    size_t at = staged.find('\n');
    if (staged.substr(0, at) != kFormatLine) return std::nullopt;
    while (at != std::string::npos) {
        size_t start = at + 1;
        at = staged.find('\n', start);
        std::string line = staged.substr(start, at == std::string::npos ? at : at - start);
        if (line.size() > key.size() && line.compare(0, key.size(), key) == 0 &&
            line[key.size()] == '=') {
            return unescaped(line.substr(key.size() + 1));
        }
    }
    return std::nullopt;
}

}  // namespace corvane
