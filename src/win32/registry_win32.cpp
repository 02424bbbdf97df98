// Registry values and the per-user settings store through advapi32.
#include <windows.h>

#include "win32/win32_services.h"
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

std::string Win32Settings::get(const std::string& app, const std::string& section,
                               const std::string& key, const std::string& defaultValue) {
    HKEY handle = nullptr;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, settingsKey(app, section).c_str(), 0, KEY_QUERY_VALUE,
                      &handle) != ERROR_SUCCESS) {
        return defaultValue;
    }
    std::string name = toAnsi(key);
    DWORD type = 0;
    DWORD size = 0;
    std::string value;
    LONG result = RegQueryValueExA(handle, name.c_str(), nullptr, &type, nullptr, &size);
    if (result == ERROR_SUCCESS && (type == REG_SZ || type == REG_EXPAND_SZ)) {
        std::string data(size, '\0');
        result = RegQueryValueExA(handle, name.c_str(), nullptr, &type,
                                  reinterpret_cast<BYTE*>(data.data()), &size);
        if (result == ERROR_SUCCESS) {
            data.resize(size);
            while (!data.empty() && data.back() == '\0') data.pop_back();
            value = fromAnsi(data);
        }
    }
    RegCloseKey(handle);
    if (result != ERROR_SUCCESS || (type != REG_SZ && type != REG_EXPAND_SZ)) return defaultValue;
    return value;
}

void Win32Settings::save(const std::string& app, const std::string& section, const std::string& key,
                         const std::string& value) {
    HKEY handle = nullptr;
    if (RegCreateKeyExA(HKEY_CURRENT_USER, settingsKey(app, section).c_str(), 0, nullptr, 0,
                        KEY_SET_VALUE, nullptr, &handle, nullptr) != ERROR_SUCCESS) {
        throw RuntimeError(kErrInvalidCall);
    }
    std::string data = toAnsi(value);
    LONG result = RegSetValueExA(handle, toAnsi(key).c_str(), 0, REG_SZ,
                                 reinterpret_cast<const BYTE*>(data.c_str()),
                                 static_cast<DWORD>(data.size() + 1));
    RegCloseKey(handle);
    if (result != ERROR_SUCCESS) throw RuntimeError(kErrInvalidCall);
}

}  // namespace corvane::win32
