// Where the Wine tests find the programs they drive and put their screenshots, as the Wine
// layer's script passes them (Windows paths).
#pragma once

#include <cstdlib>
#include <string>

namespace corvane::wine {

inline std::string environmentPath(const char* name) {
    const char* value = std::getenv(name);
    return value ? value : "";
}

// The program under test, the floor program, and the folder for screenshots.
inline std::string corvaneExe() {
    return environmentPath("CORVANE_EXE");
}
inline std::string floorExe() {
    return environmentPath("CORVANE_FLOOR_EXE");
}
inline std::string screenshotDir() {
    return environmentPath("CORVANE_SHOTS");
}

}  // namespace corvane::wine
