// Stands in for the browser and the mail program of the test prefix: every document or address
// the shell opens with it is appended, as its command line in UTF-8, to the file that
// CORVANE_OPENED_LOG names, and nothing else happens.
#include <windows.h>

#include <string>

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    wchar_t logPath[MAX_PATH];
    const DWORD length = GetEnvironmentVariableW(L"CORVANE_OPENED_LOG", logPath, MAX_PATH);
    if (length == 0 || length >= MAX_PATH) return 1;
    const wchar_t* commandLine = GetCommandLineW();
    const int size = WideCharToMultiByte(CP_UTF8, 0, commandLine, -1, nullptr, 0, nullptr, nullptr);
    std::string line(size > 0 ? size - 1 : 0, '\0');
    if (size > 1) {
        WideCharToMultiByte(CP_UTF8, 0, commandLine, -1, line.data(), size, nullptr, nullptr);
    }
    line += "\n";
    // Another opening may write at the same moment: a few tries while the file is busy.
    for (int attempt = 0; attempt < 50; ++attempt) {
        HANDLE log = CreateFileW(logPath, FILE_APPEND_DATA, FILE_SHARE_READ, nullptr, OPEN_ALWAYS,
                                 FILE_ATTRIBUTE_NORMAL, nullptr);
        if (log != INVALID_HANDLE_VALUE) {
            DWORD written = 0;
            const bool done =
                WriteFile(log, line.data(), static_cast<DWORD>(line.size()), &written, nullptr) &&
                written == line.size();
            CloseHandle(log);
            return done ? 0 : 1;
        }
        Sleep(20);
    }
    return 1;
}
