// The copy of a file holding a user's lines, kept before the file is rewritten: on the disk
// before the original changes, and one copy of a content at most.
#include <new>
#include <string_view>

#include "history/history.h"
#include "history/history_csv.h"

namespace corvane {

namespace {

// Names tried, in order, for the copy of a file about to be compacted: none is ever replaced.
constexpr const char* kBackupSuffixes[] = {".bak",  ".bak2", ".bak3", ".bak4", ".bak5",
                                           ".bak6", ".bak7", ".bak8", ".bak9"};

}  // namespace

bool History::backUp(FileSystem& files, const std::string& path, const std::string& bytes,
                     std::string_view header) {
    // One copy of a content is enough: a file whose backup was made at an earlier compaction
    // that could not finish has only had this program's lines appended since.
    bool freeName = false;
    for (const char* suffix : kBackupSuffixes) {
        std::string kept;
        try {
            kept = files.readFile(path + suffix);
        } catch (const RuntimeError& error) {
            if (error.number() != kErrFileNotFound) continue;
            freeName = true;
            break;
        } catch (const std::bad_alloc&) {
            continue;
        }
        if (bytes.compare(0, kept.size(), kept) == 0 &&
            parseHistory(std::string_view(bytes).substr(kept.size()), header).understood()) {
            backupPath_ = path + suffix;
            return true;
        }
    }
    if (!freeName) {
        keepFileAsIs_ = true;
        return false;
    }
    std::string copy = path + ".bak.tmp";
    try {
        files.writeFile(copy, bytes);
        // On the disk before the original is rewritten, or a power cut can leave both empty.
        files.flushFile(copy);
        for (const char* suffix : kBackupSuffixes) {
            try {
                // A move, not a copy over: a backup made at an earlier start stays.
                files.renameFile(copy, path + suffix);
                backupPath_ = path + suffix;
                return true;
            } catch (const RuntimeError& error) {
                if (error.number() != kErrFileExists) throw;
            }
        }
    } catch (const RuntimeError&) {
    }
    try {
        files.deleteFile(copy);
    } catch (const RuntimeError&) {
    }
    return false;
}

}  // namespace corvane
