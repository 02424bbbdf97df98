// Events of the source "Corvane" in the Application log, and the source's registration.
#include "win32/event_log_win32.h"

#include "alerts/alert_events.h"
#include "common/errors.h"
#include "corvane_events.h"
#include "win32/file_calls.h"
#include "win32/function_lookup.h"
#include "win32/win32_errors.h"
#include "win32/win32_text.h"

namespace corvane::win32 {

namespace {

// The message table numbers the events as the core does.
static_assert(CORVANE_EVENT_ANALYSIS_START == kEventAnalysisStart);
static_assert(CORVANE_EVENT_ANALYSIS_END == kEventAnalysisEnd);
static_assert(CORVANE_EVENT_COMMIT_ALERT == kEventCommitAlert);
static_assert(CORVANE_EVENT_SWAP_ALERT == kEventSwapAlert);
static_assert(CORVANE_EVENT_MEMORY_ALERT == kEventMemoryAlert);
static_assert(CORVANE_EVENT_EXHAUSTION_ALERT == kEventExhaustionAlert);

constexpr const wchar_t* kSource = L"Corvane";
// Where the Event Viewer looks for a source's message file.
constexpr const wchar_t* kSourceKey =
    L"SYSTEM\\CurrentControlSet\\Services\\EventLog\\Application\\Corvane";

using RegisterFn = decltype(&::RegisterEventSourceW);
using ReportFn = decltype(&::ReportEventW);
using DeregisterFn = decltype(&::DeregisterEventSource);

template <class Function>
Function advapi(const char* name) {
    return procedure<Function>("advapi32.dll", name);
}

}  // namespace

Win32EventLog::~Win32EventLog() {
    if (source_) {
        if (auto deregister = advapi<DeregisterFn>("DeregisterEventSource")) deregister(source_);
    }
}

void Win32EventLog::report(EventType type, uint32_t id, const std::string& text) {
    auto reportEvent = advapi<ReportFn>("ReportEventW");
    if (!source_) {
        auto registerEvent = advapi<RegisterFn>("RegisterEventSourceW");
        if (!registerEvent || !reportEvent) throw RuntimeError(kErrInvalidCall);
        source_ = registerEvent(nullptr, kSource);
        if (!source_) raiseLastError();
    }
    std::wstring wide = toWide(text);
    LPCWSTR strings[] = {wide.c_str()};
    WORD kind = type == EventType::Warning ? EVENTLOG_WARNING_TYPE : EVENTLOG_INFORMATION_TYPE;
    if (!reportEvent(source_, kind, 0, id, nullptr, 1, 0, strings, nullptr)) raiseLastError();
}

bool Win32EventLog::registerSource() {
    std::wstring program = toWide(modulePath());
    HKEY key = nullptr;
    // KEY_SET_VALUE under HKLM is an administrator's: a user is refused and nothing is asked.
    if (RegCreateKeyExW(HKEY_LOCAL_MACHINE, kSourceKey, 0, nullptr, 0,
                        KEY_SET_VALUE | KEY_QUERY_VALUE, nullptr, &key, nullptr) != ERROR_SUCCESS) {
        return false;
    }
    wchar_t current[MAX_PATH * 2] = {};
    DWORD size = sizeof current - sizeof(wchar_t);
    DWORD type = 0;
    bool registered = RegQueryValueExW(key, L"EventMessageFile", nullptr, &type,
                                       reinterpret_cast<BYTE*>(current), &size) == ERROR_SUCCESS &&
                      lstrcmpiW(current, program.c_str()) == 0;
    DWORD types = EVENTLOG_ERROR_TYPE | EVENTLOG_WARNING_TYPE | EVENTLOG_INFORMATION_TYPE;
    if (!registered) {
        registered =
            RegSetValueExW(key, L"EventMessageFile", 0, REG_EXPAND_SZ,
                           reinterpret_cast<const BYTE*>(program.c_str()),
                           static_cast<DWORD>((program.size() + 1) * sizeof(wchar_t))) ==
                ERROR_SUCCESS &&
            RegSetValueExW(key, L"TypesSupported", 0, REG_DWORD,
                           reinterpret_cast<const BYTE*>(&types), sizeof types) == ERROR_SUCCESS;
    }
    RegCloseKey(key);
    return registered;
}

}  // namespace corvane::win32
