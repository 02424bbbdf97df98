// The Win32 implementation of the settings store, kept in the registry (registry_win32.cpp,
// which both share their value calls with).
#pragma once

#include <windows.h>

#include "platform/platform.h"

namespace corvane::win32 {

// The per-user store under HKEY_CURRENT_USER\Software\VB and VBA Program Settings\<app>\<section>,
// one REG_SZ value a key: where programs of this family have always kept such settings, so that
// values written by earlier versions are read and kept.
class Win32Settings : public SettingsStore {
public:
    std::string get(const std::string& app, const std::string& section, const std::string& key,
                    const std::string& defaultValue) override;
    void save(const std::string& app, const std::string& section, const std::string& key,
              const std::string& value) override;
    void saveAll(const std::string& app, const std::string& section,
                 const std::vector<std::pair<std::string, std::string>>& values,
                 Durability durability) override;
};

}  // namespace corvane::win32
