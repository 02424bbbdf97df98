// The Win32 implementation of the file service (files_win32.cpp, file_identity_win32.cpp and
// file_parts_win32.cpp).
#pragma once

#include <windows.h>

#include "platform/platform.h"

namespace corvane::win32 {

class Win32Files : public FileSystem {
public:
    SwapFileSize swapFileSize(const std::string& path) override;
    std::string readFile(const std::string& path) override;
    void appendText(const std::string& path, const std::string& text) override;
    void writeFile(const std::string& path, const std::string& bytes) override;
    void replaceFile(const std::string& source, const std::string& target) override;
    void deleteFile(const std::string& path) override;
    void renameFile(const std::string& from, const std::string& to) override;
    void copyFile(const std::string& from, const std::string& to) override;
    void flushFile(const std::string& path) override;
    std::optional<DateTime> lastModified(const std::string& path) override;
    bool sameFile(const std::string& a, const std::string& b) override;  // file_identity_win32
    bool isFolder(const std::string& path) override;
    uint64_t fileLength(const std::string& path) override;  // file_parts_win32
    std::string readPart(const std::string& path, uint64_t offset, uint32_t length) override;
};

}  // namespace corvane::win32
