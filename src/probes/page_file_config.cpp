// Reading the crash-dump setting and the page files' configuration.
#include "probes/page_file_config.h"

#include <charconv>

#include "probes/registry_reader.h"
#include "probes/swap_location.h"

namespace corvane {

namespace {

constexpr uint32_t kRegQword = 11;
// The FILETIME of 1970-01-01, in minutes since 1601.
constexpr int64_t kUnixEpochFileTimeMinutes = 11644473600LL / 60;
constexpr int64_t kFileTimeUnitsPerMinute = 600000000LL;
// No page file is larger than this: a bigger figure is a garbled value, not a size.
constexpr int64_t kLargestSizeMo = 16LL * 1024 * 1024 * 1024;

std::optional<int64_t> sizeField(const std::string& text) {
    int64_t value = 0;
    auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size()) return std::nullopt;
    if (value < 0 || value > kLargestSizeMo) return std::nullopt;
    return value;
}

std::vector<std::string> words(const std::string& entry) {
    std::vector<std::string> out;
    size_t at = 0;
    while (at < entry.size()) {
        size_t start = entry.find_first_not_of(" \t", at);
        if (start == std::string::npos) break;
        size_t end = entry.find_first_of(" \t", start);
        out.push_back(
            entry.substr(start, end == std::string::npos ? std::string::npos : end - start));
        at = end == std::string::npos ? entry.size() : end;
    }
    return out;
}

bool isDrivePath(const std::string& path) {
    if (path.size() < 4 || path[1] != ':' || path[2] != '\\') return false;
    char d = path[0];
    return (d >= 'A' && d <= 'Z') || (d >= 'a' && d <= 'z') || d == '?';
}

std::optional<uint64_t> littleEndian(const RegistryAnswer& answer, uint32_t size) {
    if (answer.dataSize != size || answer.buffer.size() < size) return std::nullopt;
    uint64_t value = 0;
    for (uint32_t i = size; i-- > 0;) value = value << 8 | answer.buffer[i];
    return value;
}

}  // namespace

PagingConfiguration parsePagingFiles(const std::string& pagingFiles,
                                     const std::string& systemManagedDrive) {
    PagingConfiguration config;
    if (pagingFiles == kNotFound) return config;
    size_t at = 0;
    while (at <= pagingFiles.size()) {
        size_t end = pagingFiles.find('\0', at);
        std::string entry = pagingFiles.substr(at, end == std::string::npos ? end : end - at);
        at = end == std::string::npos ? pagingFiles.size() + 1 : end + 1;
        std::vector<std::string> parts = words(entry);
        if (parts.empty()) continue;
        if (!isDrivePath(parts[0]) || (parts.size() != 1 && parts.size() != 3)) return {};
        PageFileSetting file;
        file.path = parts[0];
        if (isSystemManagedPath(file.path)) file.path = systemManagedDrive + file.path.substr(2);
        if (parts.size() == 3) {
            std::optional<int64_t> initial = sizeField(parts[1]), maximum = sizeField(parts[2]);
            if (!initial || !maximum) return {};
            if (*initial != 0 || *maximum != 0) {
                if (*initial == 0 || *maximum < *initial) return {};
                file.kind = PageFileKind::Fixed;
                file.initialMo = *initial;
                file.maximumMo = *maximum;
            }
        }
        config.files.push_back(file);
    }
    config.known = true;
    return config;
}

CrashDumpSetting readCrashDump(Platform& p, std::optional<int32_t> nowMinute) {
    CrashDumpSetting dump;
    RegistryAnswer enabled =
        p.registry.queryValue(RootKey::LocalMachine, kCrashControlKey, "CrashDumpEnabled", 16);
    if (enabled.openResult == 0 && enabled.queryResult == 0 && enabled.type == kRegDword) {
        if (std::optional<uint64_t> v = littleEndian(enabled, 4)) {
            switch (*v) {
                case 0: dump.kind = DumpKind::None; break;
                case 1: dump.kind = DumpKind::Complete; break;
                case 2: dump.kind = DumpKind::Kernel; break;
                case 3: dump.kind = DumpKind::Small; break;
                case 7: dump.kind = DumpKind::Automatic; break;
                default: break;
            }
        }
    }
    std::optional<std::string> dedicated =
        p.registry.readText(RootKey::LocalMachine, kCrashControlKey, "DedicatedDumpFile");
    dump.dedicatedFile = dedicated && dedicated->find_first_not_of(" \t") != std::string::npos;
    RegistryAnswer crash =
        p.registry.queryValue(RootKey::LocalMachine, kCrashControlKey, "LastCrashTime", 16);
    if (nowMinute && crash.openResult == 0 && crash.queryResult == 0 &&
        (crash.type == kRegQword || crash.type == kRegBinary)) {
        if (std::optional<uint64_t> fileTime = littleEndian(crash, 8)) {
            int64_t minute = static_cast<int64_t>(*fileTime / kFileTimeUnitsPerMinute) -
                             kUnixEpochFileTimeMinutes;
            // A crash dated after the present is a clock that was wrong: no date at all.
            if (minute <= *nowMinute) dump.daysSinceCrash = (*nowMinute - minute) / 1440;
        }
    }
    return dump;
}

PagingConfiguration readPagingConfiguration(Platform& p, const std::string& windowsDirectory) {
    std::string paging =
        readRegistryValue(p, RootKey::LocalMachine, kMemoryManagementKey, "PagingFiles");
    std::string existing =
        readRegistryValue(p, RootKey::LocalMachine, kMemoryManagementKey, "ExistingPageFiles");
    std::string resolved = resolveSystemManagedPath("?:\\", existing, windowsDirectory);
    PagingConfiguration config = parsePagingFiles(paging, resolved.substr(0, 2));
    for (PageFileSetting& file : config.files) {
        SwapFileSize size = p.files.swapFileSize(file.path);
        if (size.known) file.currentBytes = size.bytes;
        file.volume = p.memory.volumeSpace(file.path);
    }
    return config;
}

}  // namespace corvane
