// The event log through advapi32's event source functions, looked up at their first use: the
// 9x family's advapi32 has none of them worth calling, and the core never calls them there.
#pragma once

#include <windows.h>

#include "platform/event_log.h"

namespace corvane::win32 {

class Win32EventLog : public EventLog {
public:
    ~Win32EventLog() override;
    void report(EventType type, uint32_t id, const std::string& text) override;
    bool registerSource() override;

private:
    HANDLE source_ = nullptr;
};

}  // namespace corvane::win32
