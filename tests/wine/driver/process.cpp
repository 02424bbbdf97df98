// Starting, watching and ending the driven program.
#include <utility>

#include "driver.h"

namespace corvane::wine {

Process Process::start(const std::string& exePath, const std::string& arguments,
                       const std::string& workingDirectory) {
    std::string commandLine = "\"" + exePath + "\"";
    if (!arguments.empty()) commandLine += " " + arguments;
    try {
        return startCommandLine(commandLine, workingDirectory);
    } catch (const DriverError& error) {
        throw DriverError("cannot start " + exePath + ": " + error.what());
    }
}

Process Process::startCommandLine(const std::string& line, const std::string& workingDirectory) {
    std::wstring commandLine = fromUtf8(line);
    std::wstring directory = fromUtf8(workingDirectory);
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION info{};
    // Wine 8.0's 64-bit loader now and then refuses to start a 32-bit program in WoW64 mode
    // with ERROR_INTERNAL_ERROR, before any of the program's code has run (seen once in a
    // whole run of the 32-bit suite): tried again, a few times. Any other failure stands.
    for (int attempt = 1;; ++attempt) {
        if (CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                           directory.empty() ? nullptr : directory.c_str(), &startup, &info)) {
            break;
        }
        if (GetLastError() != ERROR_INTERNAL_ERROR || attempt == 3) {
            throw DriverError(line + ": " + lastErrorText());
        }
        Sleep(500);
    }
    // Wine starts a Unix program without a process to give back; its 64-bit loader then leaves
    // a handle of this process's own in hThread (seen: the cached HKEY_CURRENT_USER), which
    // must not be closed.
    if (info.hProcess) CloseHandle(info.hThread);
    return Process(info.hProcess, info.dwProcessId);
}

Process::Process(Process&& other) noexcept
    : handle_(std::exchange(other.handle_, nullptr)), id_(other.id_) {}

Process& Process::operator=(Process&& other) noexcept {
    if (this != &other) {
        kill();
        if (handle_) CloseHandle(handle_);
        handle_ = std::exchange(other.handle_, nullptr);
        id_ = other.id_;
    }
    return *this;
}

Process::~Process() {
    kill();
    if (handle_) CloseHandle(handle_);
}

bool Process::running() const {
    return handle_ && WaitForSingleObject(handle_, 0) == WAIT_TIMEOUT;
}

bool Process::waitExit(DWORD timeoutMs) const {
    return !handle_ || WaitForSingleObject(handle_, timeoutMs) == WAIT_OBJECT_0;
}

DWORD Process::exitCode() const {
    DWORD code = STILL_ACTIVE;
    if (handle_) GetExitCodeProcess(handle_, &code);
    return code;
}

void Process::kill() {
    if (!running()) return;
    TerminateProcess(handle_, 99);
    // The next program of the same name must not see this one's single-instance mutex.
    WaitForSingleObject(handle_, kTimeoutMs);
}

}  // namespace corvane::wine
