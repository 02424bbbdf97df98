// What the files of the history's life share: records kept in time order, a file read whole,
// and what a failed append may have left behind.
#pragma once

#include <algorithm>
#include <limits>
#include <new>
#include <string>
#include <vector>

#include "common/errors.h"
#include "history/minute_record.h"
#include "platform/platform.h"

namespace corvane::history_files {

inline constexpr int32_t kNoMinute = std::numeric_limits<int32_t>::max();
inline constexpr int32_t kEveryMinute = std::numeric_limits<int32_t>::min();

inline bool earlier(const MinuteRecord& a, const MinuteRecord& b) {
    return a.minute < b.minute;
}

// In time order, each record once.
inline void tidyUp(std::vector<MinuteRecord>& records) {
    std::stable_sort(records.begin(), records.end(), earlier);
    records.erase(std::unique(records.begin(), records.end()), records.end());
}

// The first record at or after `minute`.
inline std::vector<MinuteRecord>::iterator from(std::vector<MinuteRecord>& records,
                                                int32_t minute) {
    return std::lower_bound(records.begin(), records.end(), MinuteRecord{minute}, earlier);
}

// Whether a failed append may have left part of its text in the file. A file that could not
// be opened (held elsewhere, no access, no such folder) has nothing of it.
inline bool mayHaveWrittenPart(const RuntimeError& error) {
    switch (error.number()) {
        case kErrPermissionDenied:
        case kErrPathFileAccess:
        case kErrPathNotFound:
        case kErrFileNotFound:
        case kErrBadFileName: return false;
        default: return true;
    }
}

// A whole file, or nothing when it is not there; false, and why in `error`, when it is there
// but cannot be read.
inline bool readWhole(FileSystem& files, const std::string& path, std::string& bytes,
                      int* error = nullptr) {
    try {
        bytes = files.readFile(path);
    } catch (const RuntimeError& failure) {
        bytes.clear();
        if (failure.number() == kErrFileNotFound) return true;
        if (error) *error = failure.number();
        return false;
    } catch (const std::bad_alloc&) {
        bytes.clear();
        if (error) *error = kErrOutOfMemory;
        return false;
    }
    return true;
}

}  // namespace corvane::history_files
