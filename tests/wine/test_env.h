// Where the Wine tests find the programs they drive, put their screenshots and find what was
// printed, as the Wine layer's script passes them (Windows paths).
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

// Where the test printer's files appear, and the command line that turns one into pictures
// (followed by the file and the pictures' path without extension). Both empty when this
// machine cannot test printing.
inline std::string printedFilesDir() {
    return environmentPath("CORVANE_PDF_DIR");
}
inline std::string renderPdfCommand() {
    return environmentPath("CORVANE_RENDER_PDF");
}

// The command line that shows what Prometheus' node_exporter and promtool make of a folder's
// .prom files (followed by the folder and the results' path without extension). Empty when
// this machine has neither.
inline std::string scrapePromCommand() {
    return environmentPath("CORVANE_SCRAPE_PROM");
}

// The command line that runs a program with Wine's trace of the event log kept (followed by
// the trace's path, the program and its folder).
inline std::string tracedRunCommand() {
    return environmentPath("CORVANE_TRACED_RUN");
}

}  // namespace corvane::wine
