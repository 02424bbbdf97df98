// A body run from a function the system calls back (an enumeration's callback): nothing may
// unwind through the system's frames, which know nothing of C++ exceptions.
#pragma once

namespace corvane {

// Runs `body` and gives what it returns (true: go on). Whatever it raises, out of memory
// included, stops the enumeration and sets `failed`: the caller lists nothing rather than
// part of the list.
template <typename Body>
bool guardedCallback(bool& failed, Body&& body) noexcept {
    try {
        return body();
    } catch (...) {
        failed = true;
        return false;
    }
}

}  // namespace corvane
