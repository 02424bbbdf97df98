// The in-memory file system's behaviour: Windows' answers, and the failures asked for.
#include "memory_files.h"

#include <algorithm>

namespace corvane::fake {

std::string MemoryFiles::key(const std::string& path) const {
    std::string upper = path;
    std::transform(upper.begin(), upper.end(), upper.begin(),
                   [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
    auto alias = aliases.find(upper);
    return alias == aliases.end() ? upper : alias->second;
}

void MemoryFiles::check(Call call, const std::string& path) const {
    if (failing & call) throw RuntimeError(failure);
    if (call != kRead && call != kCopy && locked.count(key(path))) {
        throw RuntimeError(kErrPermissionDenied);
    }
}

std::string MemoryFiles::fitting(const std::string& bytes) {
    if (!freeBytes) return bytes;
    size_t room = static_cast<size_t>(std::min<uint64_t>(*freeBytes, bytes.size()));
    *freeBytes -= room;
    return bytes.substr(0, room);
}

bool MemoryFiles::exists(const std::string& path) const {
    return files.count(key(path)) != 0;
}

std::optional<std::string> MemoryFiles::contents(const std::string& path) const {
    auto it = files.find(key(path));
    if (it == files.end()) return std::nullopt;
    return it->second;
}

SwapFileSize MemoryFiles::swapFileSize(const std::string& path) {
    auto it = files.find(key(path));
    if (it == files.end()) return {false, 0, std::nullopt, 2};
    return {true, it->second.size(), std::nullopt, 0};
}

std::string MemoryFiles::readFile(const std::string& path) {
    check(kRead, path);
    auto it = files.find(key(path));
    if (it == files.end()) throw RuntimeError(kErrFileNotFound);
    bytesRead += it->second.size();
    return it->second;
}

uint64_t MemoryFiles::fileLength(const std::string& path) {
    check(kRead, path);
    auto it = files.find(key(path));
    if (it == files.end()) throw RuntimeError(kErrFileNotFound);
    return it->second.size();
}

std::string MemoryFiles::readPart(const std::string& path, uint64_t offset, uint32_t length) {
    check(kRead, path);
    auto it = files.find(key(path));
    if (it == files.end()) throw RuntimeError(kErrFileNotFound);
    if (offset >= it->second.size()) return {};
    std::string part = it->second.substr(static_cast<size_t>(offset), length);
    bytesRead += part.size();
    return part;
}

void MemoryFiles::appendText(const std::string& path, const std::string& text) {
    ++changes;
    check(kAppend, path);
    std::string written = fitting(text);
    files[key(path)] += written;
    if (written.size() < text.size()) throw RuntimeError(kErrDiskFull);
}

void MemoryFiles::writeFile(const std::string& path, const std::string& bytes) {
    ++changes;
    check(kWrite, path);
    std::string written = fitting(bytes);
    files[key(path)] = written;
    if (written.size() < bytes.size()) throw RuntimeError(kErrDiskFull);
}

void MemoryFiles::replaceFile(const std::string& source, const std::string& target) {
    ++changes;
    check(kReplace, source);
    check(kReplace, target);
    auto it = files.find(key(source));
    if (it == files.end()) throw RuntimeError(kErrFileNotFound);
    std::string bytes = std::move(it->second);
    files.erase(it);
    files[key(target)] = std::move(bytes);
}

void MemoryFiles::deleteFile(const std::string& path) {
    ++changes;
    if (!exists(path)) throw RuntimeError(kErrFileNotFound);
    check(kDelete, path);
    files.erase(key(path));
}

void MemoryFiles::renameFile(const std::string& from, const std::string& to) {
    ++changes;
    if (!exists(from)) throw RuntimeError(kErrFileNotFound);
    check(kRename, from);
    if (exists(to)) throw RuntimeError(kErrFileExists);
    std::string bytes = std::move(files[key(from)]);
    files.erase(key(from));
    files[key(to)] = std::move(bytes);
}

void MemoryFiles::copyFile(const std::string& from, const std::string& to) {
    ++changes;
    if (!exists(from)) throw RuntimeError(kErrFileNotFound);
    check(kCopy, to);
    if (locked.count(key(to))) throw RuntimeError(kErrPermissionDenied);
    std::string bytes = files[key(from)];
    std::string written = fitting(bytes);
    files[key(to)] = written;
    if (written.size() < bytes.size()) throw RuntimeError(kErrDiskFull);
}

std::optional<DateTime> MemoryFiles::lastModified(const std::string&) {
    return std::nullopt;
}

bool MemoryFiles::sameFile(const std::string& a, const std::string& b) {
    return key(a) == key(b);
}

}  // namespace corvane::fake
