// Registry values and the per-user settings store through advapi32.
#include "win32/registry_win32.h"

#include <windows.h>

#include <algorithm>
#include <optional>

#include "common/text.h"
#include "persistence/staged_values.h"
#include "win32/file_calls.h"
#include "win32/settings_win32.h"
#include "win32/win32_text.h"

namespace corvane::win32 {

namespace {

const char* const kSettingsRoot = "Software\\VB and VBA Program Settings\\";

std::string settingsKey(const std::string& app, const std::string& section) {
    return toAnsi(kSettingsRoot + app + "\\" + section);
}

}  // namespace

RegistryAnswer Win32Registry::queryValue(RootKey root, const std::string& keyPath,
                                         const std::string& valueName, uint32_t bufferSize) {
    RegistryAnswer answer;
    answer.buffer.assign(bufferSize, ' ');
    HKEY key = nullptr;
    HKEY rootKey = reinterpret_cast<HKEY>(static_cast<ULONG_PTR>(static_cast<uint32_t>(root)));
    answer.openResult = RegOpenKeyA(rootKey, toAnsi(keyPath).c_str(), &key);
    if (answer.openResult != ERROR_SUCCESS) key = nullptr;
    DWORD type = 0;
    DWORD size = bufferSize;
    answer.queryResult = RegQueryValueExA(key, toAnsi(valueName).c_str(), nullptr, &type,
                                          answer.buffer.data(), &size);
    answer.type = type;
    answer.dataSize = size;
    RegCloseKey(key);
    return answer;
}

namespace {

// A REG_SZ or REG_EXPAND_SZ value of an open key, as UTF-8 and as stored; nothing when it is
// absent or of another type. The NT family reads it through the wide-character functions, so
// that no name is cut to the ANSI code page; the 9x family has only the ANSI ones.
std::optional<std::string> readText(HKEY handle, const std::string& name,
                                    bool* expandable = nullptr) {
    DWORD type = 0;
    DWORD size = 0;
    auto isText = [&] { return type == REG_SZ || type == REG_EXPAND_SZ; };
    if (wideFunctions()) {
        std::wstring wideName = toWide(name);
        if (RegQueryValueExW(handle, wideName.c_str(), nullptr, &type, nullptr, &size) !=
                ERROR_SUCCESS ||
            !isText()) {
            return std::nullopt;
        }
        std::wstring data(size / sizeof(wchar_t) + 1, L'\0');
        size = static_cast<DWORD>(data.size() * sizeof(wchar_t));
        if (RegQueryValueExW(handle, wideName.c_str(), nullptr, &type,
                             reinterpret_cast<BYTE*>(data.data()), &size) != ERROR_SUCCESS ||
            !isText()) {
            return std::nullopt;
        }
        data.resize(std::min<size_t>(size / sizeof(wchar_t), data.size()));
        while (!data.empty() && data.back() == L'\0') data.pop_back();
        if (expandable) *expandable = type == REG_EXPAND_SZ;
        return utf16ToUtf8(std::u16string(data.begin(), data.end()));
    }
    std::string ansiName = toAnsi(name);
    if (RegQueryValueExA(handle, ansiName.c_str(), nullptr, &type, nullptr, &size) !=
            ERROR_SUCCESS ||
        !isText()) {
        return std::nullopt;
    }
    std::string data(size, '\0');
    if (RegQueryValueExA(handle, ansiName.c_str(), nullptr, &type,
                         reinterpret_cast<BYTE*>(data.data()), &size) != ERROR_SUCCESS ||
        !isText()) {
        return std::nullopt;
    }
    data.resize(std::min<size_t>(size, data.size()));
    while (!data.empty() && data.back() == '\0') data.pop_back();
    if (expandable) *expandable = type == REG_EXPAND_SZ;
    return fromAnsi(data);
}

LONG setText(HKEY handle, const std::string& name, const std::string& value) {
    if (wideFunctions()) {
        std::wstring data = toWide(value);
        return RegSetValueExW(handle, toWide(name).c_str(), 0, REG_SZ,
                              reinterpret_cast<const BYTE*>(data.c_str()),
                              static_cast<DWORD>((data.size() + 1) * sizeof(wchar_t)));
    }
    std::string data = toAnsi(value);
    return RegSetValueExA(handle, toAnsi(name).c_str(), 0, REG_SZ,
                          reinterpret_cast<const BYTE*>(data.c_str()),
                          static_cast<DWORD>(data.size() + 1));
}

void writeText(HKEY handle, const std::string& name, const std::string& value) {
    if (setText(handle, name, value) != ERROR_SUCCESS) throw RuntimeError(kErrInvalidCall);
}

HKEY rootHandle(RootKey root) {
    return reinterpret_cast<HKEY>(static_cast<ULONG_PTR>(static_cast<uint32_t>(root)));
}

// A key opened for writing (created when `create`), closed when it goes; none when it cannot
// be opened.
class OpenKey {
public:
    OpenKey(RootKey root, const std::string& path, bool create) {
        LONG result = 0;
        if (wideFunctions()) {
            std::wstring widePath = toWide(path);
            result = create ? RegCreateKeyExW(rootHandle(root), widePath.c_str(), 0, nullptr, 0,
                                              KEY_SET_VALUE, nullptr, &handle_, nullptr)
                            : RegOpenKeyExW(rootHandle(root), widePath.c_str(), 0, KEY_SET_VALUE,
                                            &handle_);
        } else {
            std::string ansiPath = toAnsi(path);
            result = create ? RegCreateKeyExA(rootHandle(root), ansiPath.c_str(), 0, nullptr, 0,
                                              KEY_SET_VALUE, nullptr, &handle_, nullptr)
                            : RegOpenKeyExA(rootHandle(root), ansiPath.c_str(), 0, KEY_SET_VALUE,
                                            &handle_);
        }
        if (result != ERROR_SUCCESS) {
            handle_ = nullptr;
            error_ = result;
        }
    }
    ~OpenKey() {
        if (handle_) RegCloseKey(handle_);
    }
    OpenKey(const OpenKey&) = delete;
    OpenKey& operator=(const OpenKey&) = delete;
    HKEY handle() const { return handle_; }
    LONG error() const { return error_; }

private:
    HKEY handle_ = nullptr;
    LONG error_ = ERROR_SUCCESS;
};

// The section's key, opened for writing and closed when it goes.
class WritableSection {
public:
    WritableSection(const std::string& app, const std::string& section) {
        if (RegCreateKeyExA(HKEY_CURRENT_USER, settingsKey(app, section).c_str(), 0, nullptr, 0,
                            KEY_SET_VALUE, nullptr, &handle_, nullptr) != ERROR_SUCCESS) {
            throw RuntimeError(kErrInvalidCall);
        }
    }
    ~WritableSection() { RegCloseKey(handle_); }
    WritableSection(const WritableSection&) = delete;
    WritableSection& operator=(const WritableSection&) = delete;
    HKEY handle() const { return handle_; }

private:
    HKEY handle_ = nullptr;
};

}  // namespace

std::string Win32Settings::get(const std::string& app, const std::string& section,
                               const std::string& key, const std::string& defaultValue) {
    HKEY handle = nullptr;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, settingsKey(app, section).c_str(), 0, KEY_QUERY_VALUE,
                      &handle) != ERROR_SUCCESS) {
        return defaultValue;
    }
    std::optional<std::string> value;
    // A set whose writing was cut short: its keys may mix two runs, the staged value does not.
    if (std::optional<std::string> staged = readText(handle, kStagedValueName)) {
        value = stagedValue(*staged, key);
    }
    if (!value) value = readText(handle, key);
    RegCloseKey(handle);
    return value ? *value : defaultValue;
}

void Win32Settings::save(const std::string& app, const std::string& section, const std::string& key,
                         const std::string& value) {
    WritableSection open(app, section);
    writeText(open.handle(), key, value);
}

void Win32Settings::saveAll(const std::string& app, const std::string& section,
                            const std::vector<std::pair<std::string, std::string>>& values,
                            Durability durability) {
    WritableSection open(app, section);
    // Each value is written whole by the registry; the staged one stands for the set until
    // every key holds it.
    writeText(open.handle(), kStagedValueName, encodeStagedValues(values));
    for (const auto& [key, value] : values) writeText(open.handle(), key, value);
    // Flushed where asked, so that a power cut cannot bring back the keys without the staged
    // value; elsewhere the registry's own writes keep the order, as whole states of the hive.
    if (durability == Durability::Flushed) RegFlushKey(open.handle());
    LONG removed = RegDeleteValueA(open.handle(), toAnsi(kStagedValueName).c_str());
    if (removed != ERROR_SUCCESS && removed != ERROR_FILE_NOT_FOUND) {
        throw RuntimeError(kErrInvalidCall);
    }
}

std::optional<std::string> Win32Registry::readText(RootKey root, const std::string& keyPath,
                                                   const std::string& valueName, bool* expandable) {
    if (expandable) *expandable = false;
    HKEY key = nullptr;
    LONG opened =
        wideFunctions()
            ? RegOpenKeyExW(rootHandle(root), toWide(keyPath).c_str(), 0, KEY_QUERY_VALUE, &key)
            : RegOpenKeyExA(rootHandle(root), toAnsi(keyPath).c_str(), 0, KEY_QUERY_VALUE, &key);
    if (opened != ERROR_SUCCESS) return std::nullopt;
    std::optional<std::string> value = corvane::win32::readText(key, valueName, expandable);
    RegCloseKey(key);
    return value;
}

void Win32Registry::writeText(RootKey root, const std::string& keyPath,
                              const std::string& valueName, const std::string& value) {
    OpenKey key(root, keyPath, true);
    if (!key.handle() || setText(key.handle(), valueName, value) != ERROR_SUCCESS) {
        throw RuntimeError(kErrPermissionDenied);
    }
}

void Win32Registry::deleteValue(RootKey root, const std::string& keyPath,
                                const std::string& valueName) {
    OpenKey key(root, keyPath, false);
    if (!key.handle()) {
        if (key.error() == ERROR_FILE_NOT_FOUND) return;
        throw RuntimeError(kErrPermissionDenied);
    }
    LONG removed = wideFunctions() ? RegDeleteValueW(key.handle(), toWide(valueName).c_str())
                                   : RegDeleteValueA(key.handle(), toAnsi(valueName).c_str());
    if (removed != ERROR_SUCCESS && removed != ERROR_FILE_NOT_FOUND) {
        throw RuntimeError(kErrPermissionDenied);
    }
}

}  // namespace corvane::win32
