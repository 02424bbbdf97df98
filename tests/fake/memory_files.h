// A file system in memory whose every call can be made to fail on demand, as a full disk, a
// file held by another program, a read cut short or a move refused do: for the fuzzers, which
// run the history's whole life thousands of times a second.
#pragma once

#include <map>
#include <optional>
#include <set>
#include <string>

#include "platform/platform.h"

namespace corvane::fake {

class MemoryFiles : public FileSystem {
public:
    enum Call : unsigned {
        kRead = 1,
        kAppend = 2,
        kWrite = 4,
        kReplace = 8,
        kDelete = 16,
        kRename = 32,
        kCopy = 64,
    };
    // Files by upper-cased path (Windows names are case-insensitive).
    std::map<std::string, std::string> files;
    // The calls that fail, and with which error number, while set.
    unsigned failing = 0;
    int failure = kErrDiskFull;
    // Room left on the disk, when set: a write that does not fit writes what does and fails
    // with 61.
    std::optional<uint64_t> freeBytes;
    // Files held open by another program without sharing: reading and copying them works;
    // writing, moving, replacing or deleting them fails with 70.
    std::set<std::string> locked;
    // Second names of files (a short name, a network path to this machine): name -> file.
    std::map<std::string, std::string> aliases;
    // Counts every change to any file, so that a reader can tell nothing changed.
    uint64_t changes = 0;
    // Counts the bytes every read returned.
    uint64_t bytesRead = 0;

    bool exists(const std::string& path) const;
    std::optional<std::string> contents(const std::string& path) const;

    SwapFileSize swapFileSize(const std::string& path) override;
    std::string readFile(const std::string& path) override;
    uint64_t fileLength(const std::string& path) override;
    std::string readPart(const std::string& path, uint64_t offset, uint32_t length) override;
    void appendText(const std::string& path, const std::string& text) override;
    void writeFile(const std::string& path, const std::string& bytes) override;
    void replaceFile(const std::string& source, const std::string& target) override;
    void deleteFile(const std::string& path) override;
    void renameFile(const std::string& from, const std::string& to) override;
    void copyFile(const std::string& from, const std::string& to) override;
    void flushFile(const std::string&) override {}
    std::optional<DateTime> lastModified(const std::string& path) override;
    bool sameFile(const std::string& a, const std::string& b) override;
    // Every folder is there: the history's life needs no other.
    bool isFolder(const std::string&) override { return true; }

private:
    std::string key(const std::string& path) const;
    void check(Call call, const std::string& path) const;
    std::string fitting(const std::string& bytes);
};

}  // namespace corvane::fake
