// The fake platform's behaviour, as close to Windows as the tests need.
#include "fake_platform.h"

#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <random>
#include <sstream>

#include "about/about_window.h"
#include "common/text.h"
#include "history/history.h"
#include "history/utc_minutes.h"
#include "layout/about_layout.h"
#include "layout/main_layout.h"
#include "persistence/staged_values.h"
#include "platform/file_replace.h"

namespace corvane::fake {

namespace fs = std::filesystem;

namespace {

std::string upper(std::string s) {
    std::transform(s.begin(), s.end(), s.begin(), [](unsigned char c) { return std::toupper(c); });
    return s;
}

std::string two(int n) {
    char buffer[8];
    std::snprintf(buffer, sizeof buffer, "%02d", n);
    return buffer;
}

}  // namespace

// ---- System ----

OsVersionRecord osVersion(uint32_t platformId, uint32_t major, uint32_t minor, uint32_t build,
                          const std::string& csd, uint8_t productType) {
    OsVersionRecord record;
    record.platformId = platformId;
    record.major = major;
    record.minor = minor;
    record.build = build;
    std::copy_n(csd.begin(), std::min(csd.size(), record.csdVersion.size() - 1),
                record.csdVersion.begin());
    record.productType = productType;
    return record;
}

bool FakeSystem::getVersionEx(OsVersionRecord& record) {
    versionCallSizes.push_back(record.size);
    if (record.size == OsVersionRecord::kExtendedSize && !acceptsExtendedRecord) return false;
    if (record.size == OsVersionRecord::kBasicSize && !acceptsBasicRecord) return false;
    if (record.size != OsVersionRecord::kExtendedSize &&
        record.size != OsVersionRecord::kBasicSize) {
        return false;
    }
    uint32_t size = record.size;
    OsVersionRecord filled = version;
    filled.size = size;
    if (size == OsVersionRecord::kBasicSize) {
        filled.servicePackMajor = record.servicePackMajor;
        filled.servicePackMinor = record.servicePackMinor;
        filled.suiteMask = record.suiteMask;
        filled.productType = record.productType;
        filled.reserved = record.reserved;
    }
    record = filled;
    return true;
}

MemoryStatus FakeSystem::memoryStatus() {
    if (beforeMemoryStatus) beforeMemoryStatus();
    if (memoryError) throw *memoryError;
    return memory;
}

std::string FakeSystem::formatShortDate(const DateTime& when) {
    return two(when.day) + "/" + two(when.month) + "/" + std::to_string(when.year);
}

std::string FakeSystem::formatTime(const DateTime& when) {
    return two(when.hour) + ":" + two(when.minute) + ":" + two(when.second);
}

std::string FakeSystem::formatShortTime(const DateTime& when) {
    return two(when.hour) + ":" + two(when.minute);
}

DateTime FakeSystem::utcToLocal(const DateTime& utc) {
    std::optional<int32_t> minute = minuteOf(utc);
    if (!minute) return utc;
    DateTime local = dateTimeOf(*minute + localOffsetMinutes);
    local.second = utc.second;
    return local;
}

std::string FakeSystem::ansiToUtf8(const std::string& ansi) {
    return cp1252ToUtf8(ansi);
}

std::string FakeSystem::expandEnvironment(const std::string& text) {
    std::string out;
    size_t at = 0;
    while (at < text.size()) {
        size_t open = text.find('%', at);
        size_t close = open == std::string::npos ? open : text.find('%', open + 1);
        if (close == std::string::npos) break;
        out += text.substr(at, open - at);
        auto value = environment.find(upper(text.substr(open + 1, close - open - 1)));
        if (value != environment.end()) {
            out += value->second;
            at = close + 1;
        } else {
            // Left as written; its closing "%" may open the next name.
            out += '%' + text.substr(open + 1, close - open - 1);
            at = close;
        }
    }
    return out + text.substr(std::min(at, text.size()));
}

void FakeSystem::pause(uint32_t milliseconds) {
    pauses.push_back(milliseconds);
    ticks += milliseconds;
    if (onPause) onPause();
}

// ---- Files ----

FakeFiles::FakeFiles() {
    std::random_device device;
    root_ = fs::temp_directory_path() /
            ("corvane-fake-" + std::to_string(device()) + "-" + std::to_string(::getpid()));
    fs::create_directories(root_);
}

FakeFiles::~FakeFiles() {
    std::error_code ignored;
    fs::remove_all(root_, ignored);
}

fs::path FakeFiles::hostPath(const std::string& windowsPath) const {
    fs::path host = root_;
    std::string part;
    int depth = 0;
    for (char c : windowsPath + "\\") {
        if (c == '\\' || c == '/') {
            if (part == "..") {
                // As on Windows, ".." goes no higher than the drive: a path the core was given
                // (a fuzzer's folder) never reaches the host's files outside the fake's own.
                if (depth > 0) {
                    host = host.parent_path();
                    --depth;
                }
            } else if (!part.empty() && part != ".") {
                if (part.size() == 2 && part[1] == ':') part = part.substr(0, 1);
                // Windows file names are case-insensitive: the fake keeps them upper-case.
                host /= upper(part);
                ++depth;
            }
            part.clear();
        } else {
            part += c;
        }
    }
    return host;
}

void FakeFiles::put(const std::string& windowsPath, const std::string& bytes) {
    fs::path host = hostPath(windowsPath);
    fs::create_directories(host.parent_path());
    std::ofstream(host, std::ios::binary | std::ios::trunc) << bytes;
}

void FakeFiles::resize(const std::string& windowsPath, uint64_t size) {
    fs::path host = hostPath(windowsPath);
    fs::create_directories(host.parent_path());
    if (!fs::exists(host)) std::ofstream(host, std::ios::binary);
    fs::resize_file(host, size);
}

bool FakeFiles::exists(const std::string& windowsPath) const {
    return fs::is_regular_file(hostPath(windowsPath));
}

std::optional<std::string> FakeFiles::contents(const std::string& windowsPath) const {
    if (!exists(windowsPath)) return std::nullopt;
    std::ifstream in(hostPath(windowsPath), std::ios::binary);
    std::ostringstream out;
    out << in.rdbuf();
    return out.str();
}

bool FakeFiles::isFolder(const std::string& path) {
    return !path.empty() && fs::is_directory(hostPath(path));
}

void FakeFiles::makeFolder(const std::string& windowsPath) {
    fs::create_directories(hostPath(windowsPath));
}

void FakeFiles::removeFolder(const std::string& windowsPath) {
    fs::remove_all(hostPath(windowsPath));
}

void FakeFiles::checkWritable(const std::string& windowsPath) const {
    std::string folder = upper(windowsPath.substr(0, windowsPath.find_last_of('\\')));
    for (const std::string& readOnly : readOnlyFolders) {
        std::string ro = upper(readOnly);
        while (!ro.empty() && ro.back() == '\\') ro.pop_back();
        if (folder == ro) throw RuntimeError(kErrPathFileAccess);
    }
    if (!fs::is_directory(hostPath(windowsPath).parent_path()))
        throw RuntimeError(kErrPathNotFound);
}

void FakeFiles::checkUnlocked(const std::string& windowsPath) const {
    for (const std::string& locked : lockedFiles) {
        if (upper(locked) == upper(windowsPath)) throw RuntimeError(kErrPermissionDenied);
    }
}

SwapFileSize FakeFiles::swapFileSize(const std::string& path) {
    auto scripted = swapSizes.find(path);
    if (scripted != swapSizes.end()) return scripted->second;
    std::error_code error;
    uintmax_t size = fs::file_size(hostPath(path), error);
    if (error || path.empty()) return {false, 0, std::nullopt, 2};
    return {true, size, std::nullopt, 0};
}

std::string FakeFiles::readFile(const std::string& path) {
    for (const std::string& unreadable : unreadableFiles) {
        if (upper(unreadable) == upper(path)) throw RuntimeError(unreadableError);
    }
    std::optional<std::string> bytes = contents(path);
    if (!bytes) throw RuntimeError(kErrFileNotFound);
    return *bytes;
}

uint64_t FakeFiles::fileLength(const std::string& path) {
    return readFile(path).size();
}

std::string FakeFiles::readPart(const std::string& path, uint64_t offset, uint32_t length) {
    std::string bytes = readFile(path);
    if (offset >= bytes.size()) return {};
    return bytes.substr(static_cast<size_t>(offset), length);
}

void FakeFiles::appendText(const std::string& path, const std::string& text) {
    checkWritable(path);
    checkUnlocked(path);
    std::string bytes = utf8ToCp1252(text);
    std::string written = fitting(bytes);
    std::ofstream(hostPath(path), std::ios::binary | std::ios::app) << written;
    if (written.size() < bytes.size()) throw RuntimeError(kErrDiskFull);
}

std::string FakeFiles::fitting(const std::string& bytes) {
    if (!freeBytes) return bytes;
    size_t room = static_cast<size_t>(std::min<uint64_t>(*freeBytes, bytes.size()));
    *freeBytes -= room;
    return bytes.substr(0, room);
}

void FakeFiles::writeFile(const std::string& path, const std::string& bytes) {
    checkWritable(path);
    checkUnlocked(path);
    std::string written = fitting(bytes);
    std::ofstream(hostPath(path), std::ios::binary | std::ios::trunc) << written;
    unflushed.insert(upper(path));
    if (written.size() < bytes.size()) throw RuntimeError(kErrDiskFull);
}

void FakeFiles::flushFile(const std::string& path) {
    if (!exists(path)) throw RuntimeError(kErrFileNotFound);
    unflushed.erase(upper(path));
}

void FakeFiles::powerCut() {
    for (const std::string& path : unflushed) {
        if (exists(path)) std::ofstream(hostPath(path), std::ios::binary | std::ios::trunc);
    }
    unflushed.clear();
}

namespace {

// The renames of a replace on a system without a one-step one, over the fake's own files.
class FakeRenameSteps : public RenameSteps {
public:
    explicit FakeRenameSteps(FakeFiles& files) : files_(files) {}
    bool exists(const std::string& path) override { return files_.exists(path); }
    void rename(const std::string& from, const std::string& to) override {
        files_.renameFile(from, to);
    }
    void remove(const std::string& path) override { files_.deleteFile(path); }

private:
    FakeFiles& files_;
};

}  // namespace

void FakeFiles::replaceFile(const std::string& source, const std::string& target) {
    ++replaceCalls;
    if (onReplace) onReplace();
    for (const std::string& held : unreplaceable) {
        if (upper(held) == upper(target)) throw RuntimeError(kErrPermissionDenied);
    }
    if (replaceError) {
        RuntimeError error = *replaceError;
        replaceError.reset();
        throw error;
    }
    checkWritable(target);
    checkUnlocked(source);
    checkUnlocked(target);
    if (!exists(source)) throw RuntimeError(kErrFileNotFound);
    // The replace puts the source on the disk before it takes the target's place.
    unflushed.erase(upper(source));
    unflushed.erase(upper(target));
    if (replaceByRenamesOnly) {
        FakeRenameSteps steps(*this);
        replaceByRenames(steps, source, target);
        return;
    }
    fs::rename(hostPath(source), hostPath(target));
}

void FakeFiles::deleteFile(const std::string& path) {
    if (!exists(path)) throw RuntimeError(kErrFileNotFound);
    checkWritable(path);
    checkUnlocked(path);
    fs::remove(hostPath(path));
    unflushed.erase(upper(path));
}

void FakeFiles::renameFile(const std::string& from, const std::string& to) {
    if (!exists(from)) throw RuntimeError(kErrFileNotFound);
    checkWritable(from);
    checkWritable(to);
    checkUnlocked(from);
    if (exists(to)) throw RuntimeError(kErrFileExists);
    fs::rename(hostPath(from), hostPath(to));
    if (unflushed.erase(upper(from))) unflushed.insert(upper(to));
}

void FakeFiles::copyFile(const std::string& from, const std::string& to) {
    if (!exists(from)) throw RuntimeError(kErrFileNotFound);
    checkWritable(to);
    checkUnlocked(to);
    fs::copy_file(hostPath(from), hostPath(to), fs::copy_options::overwrite_existing);
}

std::optional<DateTime> FakeFiles::lastModified(const std::string& path) {
    auto it = modifiedTimes.find(path);
    if (it != modifiedTimes.end()) return it->second;
    return std::nullopt;
}

bool FakeFiles::sameFile(const std::string& a, const std::string& b) {
    std::error_code error;
    bool same = fs::equivalent(hostPath(a), hostPath(b), error);
    if (!error) return same;
    return hostPath(a).lexically_normal() == hostPath(b).lexically_normal();
}

void FakeFiles::alias(const std::string& existing, const std::string& otherName) {
    fs::path link = hostPath(otherName);
    fs::create_directories(link.parent_path());
    fs::create_hard_link(hostPath(existing), link);
}

// ---- Registry ----

namespace {
std::string registryKeyName(RootKey root, const std::string& key) {
    return std::to_string(static_cast<uint32_t>(root)) + "\\" + upper(key);
}
}  // namespace

void FakeRegistry::set(RootKey root, const std::string& key, const std::string& name, uint32_t type,
                       const std::string& data) {
    keys_[registryKeyName(root, key)][upper(name)] = {type, data};
}

void FakeRegistry::setMultiString(RootKey root, const std::string& key, const std::string& name,
                                  const std::vector<std::string>& strings) {
    std::string data;
    for (const std::string& s : strings) data += s + std::string(1, '\0');
    data += std::string(1, '\0');
    set(root, key, name, kRegMultiSz, data);
}

std::optional<std::string> FakeRegistry::readText(RootKey root, const std::string& keyPath,
                                                  const std::string& valueName, bool* expandable) {
    if (expandable) *expandable = false;
    auto key = keys_.find(registryKeyName(root, keyPath));
    if (key == keys_.end()) return std::nullopt;
    auto value = key->second.find(upper(valueName));
    if (value == key->second.end() || (value->second.type != 1 && value->second.type != 2))
        return std::nullopt;
    std::string text = value->second.data;
    while (!text.empty() && text.back() == '\0') text.pop_back();
    if (expandable) *expandable = value->second.type == 2;
    return text;
}

void FakeRegistry::writeText(RootKey root, const std::string& keyPath, const std::string& valueName,
                             const std::string& value) {
    if (writeError) throw *writeError;
    ++writes;
    set(root, keyPath, valueName, 1, value + std::string(1, '\0'));
}

void FakeRegistry::deleteValue(RootKey root, const std::string& keyPath,
                               const std::string& valueName) {
    if (writeError) throw *writeError;
    ++writes;
    auto key = keys_.find(registryKeyName(root, keyPath));
    if (key != keys_.end()) key->second.erase(upper(valueName));
}

RegistryAnswer FakeRegistry::queryValue(RootKey root, const std::string& keyPath,
                                        const std::string& valueName, uint32_t bufferSize) {
    ++queries;
    RegistryAnswer answer;
    answer.buffer.assign(bufferSize, ' ');
    auto key = keys_.find(registryKeyName(root, keyPath));
    if (key == keys_.end()) {
        answer.openResult = 2;   // ERROR_FILE_NOT_FOUND
        answer.queryResult = 6;  // ERROR_INVALID_HANDLE: the query ran on no key
        return answer;
    }
    auto value = key->second.find(upper(valueName));
    if (value == key->second.end()) {
        answer.queryResult = 2;
        return answer;
    }
    answer.type = value->second.type;
    answer.dataSize = static_cast<uint32_t>(value->second.data.size());
    if (answer.dataSize > bufferSize) {
        answer.queryResult = 234;  // ERROR_MORE_DATA
        return answer;
    }
    std::copy(value->second.data.begin(), value->second.data.end(), answer.buffer.begin());
    return answer;
}

// ---- Settings ----

// The store as the Win32 one is: a set being written is read from its staged value.
std::string FakeSettings::get(const std::string&, const std::string&, const std::string& key,
                              const std::string& defaultValue) {
    readKeys.push_back(key);
    auto staged = values.find(kStagedValueName);
    if (staged != values.end()) {
        if (std::optional<std::string> value = stagedValue(staged->second, key)) return *value;
    }
    auto it = values.find(key);
    return it == values.end() ? defaultValue : it->second;
}

void FakeSettings::write(const std::string& key, const std::optional<std::string>& value) {
    if (writesBeforeKill) {
        if (*writesBeforeKill == 0) throw Killed{};
        --*writesBeforeKill;
    }
    if (value) {
        values[key] = *value;
    } else {
        values.erase(key);
    }
}

void FakeSettings::save(const std::string&, const std::string&, const std::string& key,
                        const std::string& value) {
    if (saveError) throw *saveError;
    if (trace) trace->push_back("save " + key + "=" + value);
    savedKeys.push_back(key);
    write(key, value);
}

void FakeSettings::saveAll(const std::string&, const std::string&,
                           const std::vector<std::pair<std::string, std::string>>& set,
                           Durability durability) {
    if (saveError) throw *saveError;
    write(kStagedValueName, encodeStagedValues(set));
    for (const auto& [key, value] : set) {
        if (trace) trace->push_back("save " + key + "=" + value);
        savedKeys.push_back(key);
        write(key, value);
    }
    if (durability == Durability::Flushed) ++flushes;
    write(kStagedValueName, std::nullopt);
}

// ---- Shell ----

void FakeShell::record(const std::string& kind, const std::string& command, WindowShow show) {
    calls.push_back({kind, command, show});
    if (!failures.empty()) {
        std::optional<RuntimeError> failure = failures.front();
        failures.pop_front();
        if (failure) throw *failure;
    }
}

void FakeShell::run(const std::string& commandLine, WindowShow show) {
    record("run", commandLine, show);
}

void FakeShell::open(const std::string& address, WindowShow show) {
    record("open", address, show);
}

// ---- Dialogs ----

MsgAnswer FakeDialogs::messageBox(const std::string& text, const std::string& title,
                                  MessageStyle style) {
    shown.push_back({text, title, style});
    if (onShow) onShow(shown.back());
    if (!answers.empty()) {
        MsgAnswer answer = answers.front();
        answers.pop_front();
        return answer;
    }
    if (style.buttons == MsgButtons::YesNo) {
        return style.defaultButton == MsgDefault::Second ? MsgAnswer::No : MsgAnswer::Yes;
    }
    return MsgAnswer::Ok;
}

std::optional<std::string> FakeDialogs::saveAs(const std::string& title,
                                               const std::string& suggestedName,
                                               const std::string& folder,
                                               const std::string& patternName,
                                               const std::string& pattern) {
    saveAsCalls.push_back({title, suggestedName, folder, patternName, pattern});
    if (saveAsAnswers.empty()) return std::nullopt;
    std::optional<std::string> answer = saveAsAnswers.front();
    saveAsAnswers.pop_front();
    return answer;
}

// ---- Windows ----

FakeMainView::FakeMainView() {
    for (const ControlLayout& control : mainWindowControls()) texts[control.id] = control.text;
}

void FakeMainView::setText(Control control, const std::string& text) {
    if (trace) trace->push_back("text " + std::to_string(static_cast<int>(control)) + "=" + text);
    texts[control] = text;
    writes.emplace_back(control, text);
}

void FakeMainView::setWindowPos(int insertAfter, int x, int y, int cx, int cy, uint32_t flags) {
    windowPosCalls.push_back({insertAfter, x, y, cx, cy, flags});
}

void FakeMainView::setSliderPosition(int position) {
    if (trace) trace->push_back("slider " + std::to_string(position));
    slider = position;
}

void FakeMainView::setTimerInterval(TimerId timer, uint32_t milliseconds) {
    if (trace) {
        trace->push_back("interval " + std::to_string(static_cast<int>(timer)) + " " +
                         std::to_string(milliseconds));
    }
    timers[timer].interval = milliseconds;
}

void FakeMainView::setTimerEnabled(TimerId timer, bool enabled) {
    if (trace) {
        trace->push_back("timer " + std::to_string(static_cast<int>(timer)) +
                         (enabled ? " on" : " off"));
    }
    Timer& t = timers[timer];
    if (enabled) ++t.starts;
    t.enabled = enabled;
}

void FakeDbView::load() {
    loaded = true;
    ++loads;
}

void FakeDbView::show() {
    if (!loaded) load();
    shown = true;
}

void FakeDbView::unload() {
    loaded = false;
    shown = false;
    lists.clear();
}

std::optional<int32_t> FakePrinter::registerCommonDialog() {
    ++registrations;
    if (registrationError) throw *registrationError;
    return registration;
}

void FakePrinter::showPrinterDialog() {
    ++dialogs;
    if (cancel) throw RuntimeError(kErrCancel);
    if (dialogError) throw *dialogError;
}

void FakePrinter::printMainWindow() {
    ++printAttempts;
    if (printError) throw *printError;
    ++printed;
}

FakeAboutView::FakeAboutView() {
    for (const AboutControlLayout& item : aboutWindowControls()) texts[item.id] = item.text;
}

void FakeAboutView::setText(AboutControl control, const std::string& text) {
    texts[control] = text;
    writes.emplace_back(control, text);
}

void FakeWindows::showAboutModal(AboutWindow& logic) {
    ++aboutShown;
    aboutView = FakeAboutView();
    logic.onLoad(aboutView);
    if (whileAboutOpen) whileAboutOpen(logic);
}

void FakeWindows::showHistory(History& history) {
    ++historyShown;
    if (historyError) throw *historyError;
    shownHistory = &history;
    history.attach(&historyView);
}

void FakeWindows::closeHistory() {
    if (shownHistory) shownHistory->detach(&historyView);
    shownHistory = nullptr;
}

void FakeWindows::showVirtualMemory(MemoryWatch& watch) {
    ++memoryShown;
    if (memoryError) throw *memoryError;
    shownWatch = &watch;
    watch.attach(&memoryView);
}

void FakeWindows::closeVirtualMemory() {
    if (shownWatch) shownWatch->detach(&memoryView);
    shownWatch = nullptr;
}

}  // namespace corvane::fake

namespace corvane::fake {

std::optional<PrometheusSettings> FakeWindows::editPrometheus(const PrometheusSettings& current) {
    if (prometheusError) throw *prometheusError;
    prometheusShown.push_back(current);
    return prometheusAnswer;
}

std::optional<AlertSettings> FakeWindows::editAlerts(const AlertSettings& current) {
    if (alertsError) throw *alertsError;
    alertsShown.push_back(current);
    return alertsAnswer;
}

bool FakeNotificationArea::showIcon(const TrayIcon& wanted) {
    if (!available) return false;
    icon = wanted;
    ++iconUpdates;
    return true;
}

void FakeNotificationArea::removeIcon() {
    icon.reset();
    ++removals;
}

bool FakeNotificationArea::showBalloon(const std::string& title, const std::string& text) {
    if (!icon || !balloons) return false;
    shown.push_back({title, text});
    return true;
}

}  // namespace corvane::fake
