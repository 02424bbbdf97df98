// What the test prefix's opener (its browser and mail program) was asked to open: the shell's
// document or address of each opening, in order. The record goes to a file of the test's own,
// which the programs started from the test learn through their environment.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "driver.h"

namespace corvane::wine {

class OpenedLog {
public:
    // Programs started from now on record their openings in `path`.
    explicit OpenedLog(const std::string& path) : path_(path) {
        removeFile(path_);
        SetEnvironmentVariableW(L"CORVANE_OPENED_LOG", fromUtf8(path_).c_str());
    }
    ~OpenedLog() { SetEnvironmentVariableW(L"CORVANE_OPENED_LOG", nullptr); }
    OpenedLog(const OpenedLog&) = delete;
    OpenedLog& operator=(const OpenedLog&) = delete;

    // The openings so far: each the opener's command line after the opener's own name, without
    // the quotes around it.
    std::vector<std::string> openings() const {
        std::vector<std::string> found;
        if (!fileExists(path_)) return found;
        const std::string log = readFile(path_);
        for (size_t start = 0, end; (end = log.find('\n', start)) != std::string::npos;
             start = end + 1) {
            std::string line = log.substr(start, end - start);
            const size_t program = line[0] == '"' ? line.find('"', 1) + 1 : line.find(' ');
            line = line.substr(std::min(program, line.size()));
            line.erase(0, line.find_first_not_of(' '));
            if (line.size() >= 2 && line.front() == '"' && line.back() == '"')
                line = line.substr(1, line.size() - 2);
            found.push_back(line);
        }
        return found;
    }

    // Waits until there are `count` openings and returns them.
    std::vector<std::string> waitOpenings(size_t count) const {
        std::vector<std::string> found;
        if (!pollUntil([&] { return (found = openings()).size() >= count; })) {
            throw DriverError("the shell opened " + std::to_string(found.size()) + " of " +
                              std::to_string(count) + " documents or addresses");
        }
        return found;
    }

private:
    std::string path_;
};

}  // namespace corvane::wine
