// The Win32 implementation of the registry service.
#pragma once

#include <windows.h>

#include "platform/platform.h"

namespace corvane::win32 {

class Win32Registry : public Registry {
public:
    RegistryAnswer queryValue(RootKey root, const std::string& keyPath,
                              const std::string& valueName, uint32_t bufferSize) override;
    std::optional<std::string> readText(RootKey root, const std::string& keyPath,
                                        const std::string& valueName, bool* expandable) override;
    void writeText(RootKey root, const std::string& keyPath, const std::string& valueName,
                   const std::string& value) override;
    void deleteValue(RootKey root, const std::string& keyPath,
                     const std::string& valueName) override;
};

}  // namespace corvane::win32
