// Finding the swap file in the registry's paging configuration.
#include "probes/swap_location.h"

#include "probes/registry_reader.h"

namespace corvane {

std::string firstPagingPath(const std::string& pagingFiles) {
    if (pagingFiles == kNotFound) return "";
    std::string first = pagingFiles.substr(0, pagingFiles.find('\0'));
    return first.substr(0, first.find(' '));
}

bool isSystemManagedPath(const std::string& path) {
    return path.size() >= 3 && path[0] == '?' && path[1] == ':' && path[2] == '\\';
}

std::string firstExistingPageFile(const std::string& existingPageFiles) {
    if (existingPageFiles == kNotFound) return "";
    std::string first = existingPageFiles.substr(0, existingPageFiles.find('\0'));
    const std::string prefix = "\\??\\";
    if (first.compare(0, prefix.size(), prefix) == 0) first.erase(0, prefix.size());
    return first;
}

std::string resolveSystemManagedPath(const std::string& path, const std::string& existingPageFiles,
                                     const std::string& windowsDirectory) {
    std::string existing = firstExistingPageFile(existingPageFiles);
    if (!existing.empty()) return existing;
    std::string drive = windowsDirectory.size() >= 2 && windowsDirectory[1] == ':'
                            ? windowsDirectory.substr(0, 2)
                            : "C:";
    return drive + path.substr(2);
}

void RechercheSwap(Context& c) {
    Platform& p = c.platform;
    std::string path = firstPagingPath(
        readRegistryValue(p, RootKey::LocalMachine, kMemoryManagementKey, "PagingFiles"));
    if (isSystemManagedPath(path)) {
        std::string existing =
            readRegistryValue(p, RootKey::LocalMachine, kMemoryManagementKey, "ExistingPageFiles");
        std::string windowsDirectory = c.state.windowsDirectory.empty()
                                           ? p.system.windowsDirectory()
                                           : c.state.windowsDirectory;
        path = resolveSystemManagedPath(path, existing, windowsDirectory);
    }
    c.state.swapPath = path;
}

}  // namespace corvane
