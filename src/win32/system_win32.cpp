// Facts about the running Windows and the program, read through kernel32.
#include "win32/system_win32.h"

#include <windows.h>

#include "common/text.h"
#include "platform/instance_names.h"
#include "win32/file_calls.h"
#include "win32/function_lookup.h"
#include "win32/win32_text.h"

namespace corvane::win32 {

namespace {

DateTime fromSystemTime(const SYSTEMTIME& st) {
    return {st.wYear, st.wMonth, st.wDay, st.wHour, st.wMinute, st.wSecond};
}

SYSTEMTIME toSystemTime(const DateTime& when) {
    SYSTEMTIME st{};
    st.wYear = static_cast<WORD>(when.year);
    st.wMonth = static_cast<WORD>(when.month);
    st.wDay = static_cast<WORD>(when.day);
    st.wHour = static_cast<WORD>(when.hour);
    st.wMinute = static_cast<WORD>(when.minute);
    st.wSecond = static_cast<WORD>(when.second);
    return st;
}

template <class Fn>
Fn kernelFunction(const char* name) {
    return procedure<Fn>("kernel32.dll", name);
}

}  // namespace

Win32System::~Win32System() {
    if (instanceMutex_) CloseHandle(instanceMutex_);
    if (folderMutex_) CloseHandle(folderMutex_);
}

bool Win32System::getVersionEx(OsVersionRecord& record) {
    OSVERSIONINFOEXA info{};
    info.dwOSVersionInfoSize = record.size;
    if (record.size != sizeof(OSVERSIONINFOEXA) && record.size != sizeof(OSVERSIONINFOA))
        return false;
    // The record's earlier contents stay where the system fills nothing.
    info.dwMajorVersion = record.major;
    info.dwMinorVersion = record.minor;
    info.dwBuildNumber = record.build;
    info.dwPlatformId = record.platformId;
    CopyMemory(info.szCSDVersion, record.csdVersion.data(), sizeof info.szCSDVersion);
    info.wServicePackMajor = record.servicePackMajor;
    info.wServicePackMinor = record.servicePackMinor;
    info.wSuiteMask = record.suiteMask;
    info.wProductType = record.productType;
    info.wReserved = record.reserved;
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
    BOOL ok = GetVersionExA(reinterpret_cast<OSVERSIONINFOA*>(&info));
#pragma GCC diagnostic pop
    if (!ok) return false;
    record.major = info.dwMajorVersion;
    record.minor = info.dwMinorVersion;
    record.build = info.dwBuildNumber;
    record.platformId = info.dwPlatformId;
    CopyMemory(record.csdVersion.data(), info.szCSDVersion, sizeof info.szCSDVersion);
    if (record.size == sizeof(OSVERSIONINFOEXA)) {
        record.servicePackMajor = info.wServicePackMajor;
        record.servicePackMinor = info.wServicePackMinor;
        record.suiteMask = info.wSuiteMask;
        record.productType = info.wProductType;
        record.reserved = info.wReserved;
    }
    return true;
}

SystemInfo Win32System::getSystemInfo() {
    SYSTEM_INFO info{};
    GetSystemInfo(&info);
    return {info.dwNumberOfProcessors, info.dwProcessorType};
}

MemoryStatus Win32System::memoryStatus() {
    // GlobalMemoryStatus caps its figures at 2 GiB or 4 GiB: ask for the 64-bit ones where
    // Windows has them (2000 and later).
    using StatusEx = decltype(&::GlobalMemoryStatusEx);
    static StatusEx statusEx = kernelFunction<StatusEx>("GlobalMemoryStatusEx");
    if (statusEx) {
        MEMORYSTATUSEX m{};
        m.dwLength = sizeof m;
        if (statusEx(&m)) {
            // Only here are the page-file figures the commit limit and what is left of it.
            return {m.dwMemoryLoad,     m.ullTotalPhys,    m.ullAvailPhys,    m.ullTotalPageFile,
                    m.ullAvailPageFile, m.ullTotalVirtual, m.ullAvailVirtual, true};
        }
    }
    MEMORYSTATUS m{};
    m.dwLength = sizeof m;
    GlobalMemoryStatus(&m);
    return {m.dwMemoryLoad,    m.dwTotalPhys,    m.dwAvailPhys,   m.dwTotalPageFile,
            m.dwAvailPageFile, m.dwTotalVirtual, m.dwAvailVirtual};
}

uint64_t Win32System::tickCount() {
    using Tick64 = decltype(&::GetTickCount64);
    static Tick64 tick64 = kernelFunction<Tick64>("GetTickCount64");
    if (tick64) return tick64();
    return ticks_.widen(GetTickCount());
}

std::string Win32System::windowsDirectory() {
    std::string buffer(MAX_PATH, '\0');
    UINT n = GetWindowsDirectoryA(buffer.data(), static_cast<UINT>(buffer.size()));
    if (n >= buffer.size()) {  // too small: n is the size it needs
        buffer.assign(n + 1, '\0');
        n = GetWindowsDirectoryA(buffer.data(), static_cast<UINT>(buffer.size()));
    }
    std::string directory = buffer.substr(0, n);
    if (directory.size() > 3 && directory.back() == '\\') directory.pop_back();
    return fromAnsi(directory);
}

std::string Win32System::applicationDirectory() {
    std::string path = modulePath();
    size_t slash = path.find_last_of('\\');
    std::string directory = slash == std::string::npos ? "" : path.substr(0, slash);
    if (directory.size() == 2 && directory[1] == ':') directory += '\\';  // a drive root
    return directory;
}

std::string Win32System::executableName() {
    std::string path = modulePath();
    size_t slash = path.find_last_of('\\');
    std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
    size_t dot = name.find_last_of('.');
    if (dot != std::string::npos) name.erase(dot);
    return name;
}

std::vector<int> Win32System::programVersion() {
    return {CORVANE_VERSION_MAJOR, CORVANE_VERSION_MINOR, CORVANE_VERSION_PATCH};
}

bool Win32System::anotherInstanceRunning() {
    instanceMutex_ = CreateMutexA(nullptr, FALSE, kInstanceMutexName);
    if (instanceMutex_ && GetLastError() == ERROR_ALREADY_EXISTS) return true;
    // The mutex above is one a session: a copy in another session (another user, a remote
    // one) running from this folder would write the same journal and history.
    if (!wideFunctions()) return false;  // the 9x family has one session
    folderMutex_ = createMutexAt(folderMutexName(applicationDirectory()));
    DWORD error = GetLastError();
    // Held by another user, whose mutex this one may not open: running all the same.
    if (!folderMutex_) return error == ERROR_ACCESS_DENIED;
    return error == ERROR_ALREADY_EXISTS;
}

DateTime Win32System::localNow() {
    SYSTEMTIME st;
    GetLocalTime(&st);
    return fromSystemTime(st);
}

DateTime Win32System::utcNow() {
    SYSTEMTIME st;
    GetSystemTime(&st);
    return fromSystemTime(st);
}

std::string Win32System::formatShortDate(const DateTime& when) {
    SYSTEMTIME st = toSystemTime(when);
    char buffer[128];
    int n =
        GetDateFormatA(LOCALE_USER_DEFAULT, DATE_SHORTDATE, &st, nullptr, buffer, sizeof buffer);
    return n > 0 ? fromAnsi(std::string(buffer, static_cast<size_t>(n - 1))) : "";
}

std::string Win32System::formatTime(const DateTime& when) {
    SYSTEMTIME st = toSystemTime(when);
    char buffer[128];
    int n = GetTimeFormatA(LOCALE_USER_DEFAULT, 0, &st, nullptr, buffer, sizeof buffer);
    return n > 0 ? fromAnsi(std::string(buffer, static_cast<size_t>(n - 1))) : "";
}

std::string Win32System::formatShortTime(const DateTime& when) {
    SYSTEMTIME st = toSystemTime(when);
    char buffer[128];
    int n =
        GetTimeFormatA(LOCALE_USER_DEFAULT, TIME_NOSECONDS, &st, nullptr, buffer, sizeof buffer);
    return n > 0 ? fromAnsi(std::string(buffer, static_cast<size_t>(n - 1))) : "";
}

DateTime Win32System::utcToLocal(const DateTime& utc) {
    SYSTEMTIME u = toSystemTime(utc);
    SYSTEMTIME local{};
    // The time zone's rules for that date (summer time included) where Windows has them (NT);
    // Windows 9x only knows the offset in force now.
    using TzSpecific = decltype(&::SystemTimeToTzSpecificLocalTime);
    static TzSpecific tzSpecific = kernelFunction<TzSpecific>("SystemTimeToTzSpecificLocalTime");
    if (tzSpecific && tzSpecific(nullptr, &u, &local)) return fromSystemTime(local);
    FILETIME file;
    FILETIME localFile;
    if (SystemTimeToFileTime(&u, &file) && FileTimeToLocalFileTime(&file, &localFile) &&
        FileTimeToSystemTime(&localFile, &local)) {
        return fromSystemTime(local);
    }
    return utc;
}

std::string Win32System::decimalSeparator() {
    char buffer[16];
    int n = GetLocaleInfoA(LOCALE_USER_DEFAULT, LOCALE_SDECIMAL, buffer, sizeof buffer);
    return n > 1 ? fromAnsi(std::string(buffer, static_cast<size_t>(n - 1))) : ".";
}

std::string Win32System::ansiToUtf8(const std::string& ansi) {
    return fromAnsi(ansi);
}

std::string Win32System::expandEnvironment(const std::string& text) {
    // The 9x family has only the ANSI function, which cuts the text to the ANSI code page.
    if (wideFunctions()) {
        std::wstring from = toWide(text);
        DWORD needed = ExpandEnvironmentStringsW(from.c_str(), nullptr, 0);
        if (needed == 0) return text;
        std::wstring expanded(needed, L'\0');
        DWORD written = ExpandEnvironmentStringsW(from.c_str(), expanded.data(), needed);
        if (written == 0 || written > needed) return text;
        expanded.resize(written - 1);
        return utf16ToUtf8(std::u16string(expanded.begin(), expanded.end()));
    }
    std::string from = toAnsi(text);
    DWORD needed = ExpandEnvironmentStringsA(from.c_str(), nullptr, 0);
    if (needed == 0) return text;
    std::string expanded(needed, '\0');
    DWORD written = ExpandEnvironmentStringsA(from.c_str(), expanded.data(), needed);
    if (written == 0 || written > needed) return text;
    // The 9x family counts the ending, and sometimes a character more: cut at the first NUL.
    expanded.resize(std::min<size_t>(expanded.find('\0'), written));
    return fromAnsi(expanded);
}

void Win32System::pause(uint32_t milliseconds) {
    Sleep(milliseconds);
}

}  // namespace corvane::win32
