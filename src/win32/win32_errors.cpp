// Mapping of Windows error codes to run-time error numbers.
#include "win32/win32_errors.h"

#include <windows.h>

namespace corvane::win32 {

int errorNumberFor(uint32_t systemError) {
    switch (systemError) {
        case ERROR_FILE_NOT_FOUND: return kErrFileNotFound;
        case ERROR_PATH_NOT_FOUND:
        case ERROR_INVALID_DRIVE:
        case ERROR_BAD_NETPATH: return kErrPathNotFound;
        case ERROR_ACCESS_DENIED: return kErrPathFileAccess;
        case ERROR_SHARING_VIOLATION:
        case ERROR_LOCK_VIOLATION:
        case ERROR_WRITE_PROTECT: return kErrPermissionDenied;
        case ERROR_FILE_EXISTS:
        case ERROR_ALREADY_EXISTS: return kErrFileExists;
        case ERROR_DISK_FULL:
        case ERROR_HANDLE_DISK_FULL: return kErrDiskFull;
        case ERROR_INVALID_NAME:
        case ERROR_BAD_PATHNAME:
        case ERROR_FILENAME_EXCED_RANGE: return kErrBadFileName;
        case ERROR_NOT_ENOUGH_MEMORY:
        case ERROR_OUTOFMEMORY: return kErrOutOfMemory;
        default: return kErrDeviceIo;
    }
}

void raiseSystemError(uint32_t systemError) {
    throw RuntimeError(errorNumberFor(systemError));
}

void raiseLastError() {
    raiseSystemError(GetLastError());
}

}  // namespace corvane::win32
