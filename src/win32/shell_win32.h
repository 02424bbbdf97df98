// The Win32 implementation of the shell service: starting programs and opening addresses.
#pragma once

#include <windows.h>

#include "platform/platform.h"

namespace corvane::win32 {

class Win32Shell : public Shell {
public:
    void run(const std::string& commandLine, WindowShow show) override;
    void open(const std::string& address, WindowShow show) override;
};

}  // namespace corvane::win32
