// The registry values and files of the Wine prefix that the driven program reads and writes.
#include "driver.h"

namespace corvane::wine {

namespace {

HKEY createKey(HKEY root, const std::string& keyPath) {
    HKEY key = nullptr;
    LONG result = RegCreateKeyExW(root, fromUtf8(keyPath).c_str(), 0, nullptr, 0, KEY_SET_VALUE,
                                  nullptr, &key, nullptr);
    if (result != ERROR_SUCCESS) {
        throw DriverError("cannot create registry key " + keyPath + ": " + std::to_string(result));
    }
    return key;
}

void setValue(HKEY root, const std::string& keyPath, const std::string& valueName, DWORD type,
              const std::wstring& data) {
    HKEY key = createKey(root, keyPath);
    LONG result = RegSetValueExW(key, fromUtf8(valueName).c_str(), 0, type,
                                 reinterpret_cast<const BYTE*>(data.data()),
                                 static_cast<DWORD>(data.size() * sizeof(wchar_t)));
    RegCloseKey(key);
    if (result != ERROR_SUCCESS) {
        throw DriverError("cannot set registry value " + keyPath + "\\" + valueName + ": " +
                          std::to_string(result));
    }
}

}  // namespace

void setMultiString(HKEY root, const std::string& keyPath, const std::string& valueName,
                    const std::vector<std::string>& strings) {
    std::wstring data;
    for (const std::string& s : strings) data += fromUtf8(s) + L'\0';
    data += L'\0';
    setValue(root, keyPath, valueName, REG_MULTI_SZ, data);
}

void setAnsiValue(HKEY root, const std::string& keyPath, const std::string& valueName, DWORD type,
                  const std::string& bytes) {
    HKEY key = createKey(root, keyPath);
    LONG result =
        RegSetValueExA(key, valueName.c_str(), 0, type, reinterpret_cast<const BYTE*>(bytes.data()),
                       static_cast<DWORD>(bytes.size()));
    RegCloseKey(key);
    if (result != ERROR_SUCCESS) {
        throw DriverError("cannot set registry value " + keyPath + "\\" + valueName + ": " +
                          std::to_string(result));
    }
}

void setString(HKEY root, const std::string& keyPath, const std::string& valueName,
               const std::string& value) {
    setValue(root, keyPath, valueName, REG_SZ, fromUtf8(value) + L'\0');
}

std::string readString(HKEY root, const std::string& keyPath, const std::string& valueName,
                       bool* found) {
    if (found) *found = false;
    HKEY key = nullptr;
    if (RegOpenKeyExW(root, fromUtf8(keyPath).c_str(), 0, KEY_QUERY_VALUE, &key) != ERROR_SUCCESS)
        return {};
    DWORD type = 0;
    DWORD size = 0;
    const std::wstring name = fromUtf8(valueName);
    std::wstring data;
    LONG result = RegQueryValueExW(key, name.c_str(), nullptr, &type, nullptr, &size);
    if (result == ERROR_SUCCESS) {
        data.assign(size / sizeof(wchar_t) + 1, L'\0');
        result = RegQueryValueExW(key, name.c_str(), nullptr, &type,
                                  reinterpret_cast<BYTE*>(data.data()), &size);
    }
    RegCloseKey(key);
    if (result != ERROR_SUCCESS) return {};
    if (found) *found = true;
    data.resize(size / sizeof(wchar_t));
    if (type == REG_MULTI_SZ) {
        while (!data.empty() && data.back() == L'\0') data.pop_back();
        for (wchar_t& c : data) {
            if (c == L'\0') c = L'|';
        }
    } else {
        while (!data.empty() && data.back() == L'\0') data.pop_back();
    }
    return toUtf8(data);
}

void deleteValue(HKEY root, const std::string& keyPath, const std::string& valueName) {
    HKEY key = nullptr;
    if (RegOpenKeyExW(root, fromUtf8(keyPath).c_str(), 0, KEY_SET_VALUE, &key) != ERROR_SUCCESS)
        return;
    LONG result = RegDeleteValueW(key, fromUtf8(valueName).c_str());
    RegCloseKey(key);
    if (result != ERROR_SUCCESS && result != ERROR_FILE_NOT_FOUND) {
        throw DriverError("cannot delete registry value " + keyPath + "\\" + valueName + ": " +
                          std::to_string(result));
    }
}

void deleteKeyTree(HKEY root, const std::string& keyPath) {
    LONG result = RegDeleteTreeW(root, fromUtf8(keyPath).c_str());
    if (result != ERROR_SUCCESS && result != ERROR_FILE_NOT_FOUND) {
        throw DriverError("cannot delete registry key " + keyPath + ": " + std::to_string(result));
    }
}

void setFileSize(const std::string& path, uint64_t bytes) {
    HANDLE file = CreateFileW(fromUtf8(path).c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr,
                              OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        throw DriverError("cannot open " + path + ": " + lastErrorText());
    }
    LARGE_INTEGER size;
    size.QuadPart = static_cast<LONGLONG>(bytes);
    const bool done = SetFilePointerEx(file, size, nullptr, FILE_BEGIN) && SetEndOfFile(file);
    const std::string error = done ? "" : lastErrorText();
    CloseHandle(file);
    if (!done) throw DriverError("cannot set the size of " + path + ": " + error);
}

bool fileExists(const std::string& path) {
    return GetFileAttributesW(fromUtf8(path).c_str()) != INVALID_FILE_ATTRIBUTES;
}

std::string readFile(const std::string& path) {
    HANDLE file = CreateFileW(fromUtf8(path).c_str(), GENERIC_READ,
                              FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                              OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        throw DriverError("cannot open " + path + ": " + lastErrorText());
    }
    std::string content;
    char buffer[65536];
    DWORD read = 0;
    while (ReadFile(file, buffer, sizeof buffer, &read, nullptr) && read > 0)
        content.append(buffer, read);
    CloseHandle(file);
    return content;
}

void writeFile(const std::string& path, const std::string& bytes) {
    HANDLE file = CreateFileW(fromUtf8(path).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        throw DriverError("cannot create " + path + ": " + lastErrorText());
    }
    DWORD written = 0;
    const bool done =
        WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) &&
        written == bytes.size();
    const std::string error = done ? "" : lastErrorText();
    CloseHandle(file);
    if (!done) throw DriverError("cannot write " + path + ": " + error);
}

void copyFileTo(const std::string& from, const std::string& to) {
    if (!CopyFileW(fromUtf8(from).c_str(), fromUtf8(to).c_str(), FALSE)) {
        throw DriverError("cannot copy " + from + " to " + to + ": " + lastErrorText());
    }
}

void makeDirectories(const std::string& path) {
    std::wstring wide = fromUtf8(path);
    for (size_t i = 3; i <= wide.size(); ++i) {
        if (i == wide.size() || wide[i] == L'\\') {
            std::wstring part = wide.substr(0, i);
            if (!CreateDirectoryW(part.c_str(), nullptr) &&
                GetLastError() != ERROR_ALREADY_EXISTS) {
                throw DriverError("cannot create " + toUtf8(part) + ": " + lastErrorText());
            }
        }
    }
}

void deleteTree(const std::string& path) {
    const std::wstring root = fromUtf8(path);
    WIN32_FIND_DATAW entry;
    HANDLE find = FindFirstFileW((root + L"\\*").c_str(), &entry);
    if (find != INVALID_HANDLE_VALUE) {
        do {
            const std::wstring name = entry.cFileName;
            if (name == L"." || name == L"..") continue;
            const std::wstring child = root + L"\\" + name;
            if (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
                deleteTree(toUtf8(child));
            } else {
                SetFileAttributesW(child.c_str(), FILE_ATTRIBUTE_NORMAL);
                DeleteFileW(child.c_str());
            }
        } while (FindNextFileW(find, &entry));
        FindClose(find);
    }
    RemoveDirectoryW(root.c_str());
}

void removeFile(const std::string& path) {
    if (!DeleteFileW(fromUtf8(path).c_str()) && GetLastError() != ERROR_FILE_NOT_FOUND) {
        throw DriverError("cannot delete " + path + ": " + lastErrorText());
    }
}

void setLastWriteTime(const std::string& path, const SYSTEMTIME& local) {
    SYSTEMTIME utc;
    if (!TzSpecificLocalTimeToSystemTime(nullptr, &local, &utc)) {
        throw DriverError("not a valid local time for " + path + ": " + lastErrorText());
    }
    setLastWriteTimeUtc(path, utc);
}

void setLastWriteTimeUtc(const std::string& path, const SYSTEMTIME& utc) {
    FILETIME written;
    if (!SystemTimeToFileTime(&utc, &written)) {
        throw DriverError("not a valid time for " + path + ": " + lastErrorText());
    }
    HANDLE file = CreateFileW(fromUtf8(path).c_str(), FILE_WRITE_ATTRIBUTES, FILE_SHARE_READ,
                              nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        throw DriverError("cannot open " + path + ": " + lastErrorText());
    }
    const bool done = SetFileTime(file, nullptr, nullptr, &written);
    const std::string error = done ? "" : lastErrorText();
    CloseHandle(file);
    if (!done) throw DriverError("cannot set the time of " + path + ": " + error);
}

std::vector<FileEntry> listFiles(const std::string& folder) {
    std::vector<FileEntry> files;
    WIN32_FIND_DATAW entry;
    HANDLE find = FindFirstFileW((fromUtf8(folder) + L"\\*").c_str(), &entry);
    if (find == INVALID_HANDLE_VALUE) return files;
    do {
        if (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) continue;
        files.push_back(
            {toUtf8(entry.cFileName), (uint64_t(entry.ftLastWriteTime.dwHighDateTime) << 32) |
                                          entry.ftLastWriteTime.dwLowDateTime});
    } while (FindNextFileW(find, &entry));
    FindClose(find);
    return files;
}

}  // namespace corvane::wine
