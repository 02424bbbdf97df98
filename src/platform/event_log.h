// The Windows event log of the NT family: events of the source "Corvane" in the Application log.
#pragma once

#include <cstdint>
#include <string>

namespace corvane {

enum class EventType { Information, Warning };

class EventLog {
public:
    virtual ~EventLog() = default;
    // Writes one event with its text as the one insertion string of its message. Windows keeps
    // it even while the source is not registered. Raises RuntimeError.
    virtual void report(EventType type, uint32_t id, const std::string& text) = 0;
    // Registers the source, with the program as its message file, so that the Event Viewer
    // shows the events' texts. Only an administrator may: false where the user may not. Never
    // asks for rights, never raises.
    virtual bool registerSource() = 0;
};

}  // namespace corvane
