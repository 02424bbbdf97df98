// Naming the Windows version from its version record.
#include "probes/windows_version.h"

#include <algorithm>

#include "probes/diagnostics.h"

namespace corvane {

namespace {

struct NamePart {
    std::string name;
    std::string swapFileName;
};

NamePart namePart(const OsVersionRecord& r, int32_t build) {
    switch (r.platformId) {
        case 0: return {"WINDOWS 32s ", ""};
        case 1:
            // The 9x family: the major version is always 4 and says nothing more.
            if (r.minor == 0)
                return {build == 950 ? "WINDOWS 95 " : "WINDOWS 95 OSR 2 ", kSwapFile9x};
            if (r.minor == 10) {
                return {build == 2222 ? "WINDOWS 98 SE " : "WINDOWS 98 ", kSwapFile9x};
            }
            if (r.minor == 90) return {"WINDOWS ME ", kSwapFile9x};
            return {"WINDOWS Inconnu ", kSwapFile9x};
        case 2:
            if (r.major == 4) return {"WINDOWS NT ", kSwapFileNt};
            if (r.major == 5 && r.minor == 0) {
                return {r.build == 2031 ? "WINDOWS 2000 (beta 3) " : "WINDOWS 2000 ", kSwapFileNt};
            }
            if (r.major == 5 && r.minor == 1) return {"WINDOWS XP ", kSwapFileNt};
            if (r.major == 5 && r.minor == 2) return {"WINDOWS 2003 ", kSwapFileNt};
            if (r.major == 6) return {"WINDOWS LongHorn ", kSwapFileNt};
            return {"WINDOWS NT Inconnu ", kSwapFileNt};
        default:
            // A family this program does not know: no swap file name to assume.
            return {"WINDOWS Inconnu ", ""};
    }
}

std::string productTypeWord(uint8_t productType) {
    switch (productType) {
        case 1: return "WS";
        case 2: return "DC";
        case 3: return "SRV";
        default: return "PT : " + std::to_string(productType);
    }
}

}  // namespace

int32_t buildNumberOf(uint32_t dwBuildNumber) {
    return static_cast<int32_t>(dwBuildNumber) % 65536;
}

VersionDescription describeVersion(const OsVersionRecord& r) {
    int32_t build = buildNumberOf(r.build);
    NamePart part = namePart(r, build);
    std::string text = part.name + "(" + std::to_string(r.major) + "." + std::to_string(r.minor) +
                       "." + std::to_string(build);
    // A service-pack text that fills the whole field has no end, so none of it is trusted.
    auto nul = std::find(r.csdVersion.begin(), r.csdVersion.end(), '\0');
    if (nul != r.csdVersion.end()) {
        text += ' ';
        text.append(r.csdVersion.begin(), nul);
    }
    text += ") ";
    text += productTypeWord(r.productType);
    text += " ???";
    return {text, part.swapFileName};
}

void Plateforme(Context& c) {
    Platform& p = c.platform;
    MainState& s = c.state;

    OsVersionRecord& record = s.versionRecord;
    record.size = OsVersionRecord::kExtendedSize;
    if (!p.system.getVersionEx(record)) {
        // Windows 95, 98, ME and NT 4 before SP6 know only the basic record.
        record.size = OsVersionRecord::kBasicSize;
        p.system.getVersionEx(record);
    }
    addDiagnosticLine(p, "Product Type : " + std::to_string(record.productType));

    s.buildNumber = buildNumberOf(record.build);
    VersionDescription description = describeVersion(record);
    if (!description.swapFileName.empty()) s.swapFileName = description.swapFileName;
    s.versionText = p.system.ansiToUtf8(description.text);
}

}  // namespace corvane
