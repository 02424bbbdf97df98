// A main window over the fake platform, with the paging configuration of a usual NT machine.
#pragma once

#include <gtest/gtest.h>

#include "fake_platform.h"
#include "probes/swap_location.h"
#include "program/main_window.h"

namespace corvane::testing {

constexpr uint64_t kMiB = 1048576;

class MonitorTest : public ::testing::Test {
protected:
    MonitorTest() {
        fake.registry.setMultiString(RootKey::LocalMachine, kMemoryManagementKey, "PagingFiles",
                                     {"C:\\pagefile.sys 1536 3072"});
        fake.system.version = fake::osVersion(2, 6, 1, 7601, "Service Pack 1", 1);
        fake.system.memory = {39,          2048 * kMiB - 100000, 1236 * kMiB, 4096 * kMiB,
                              3000 * kMiB, 2047 * kMiB,          1900 * kMiB};
    }

    void setSwapMiB(uint64_t mib) { fake.files.resize("C:\\pagefile.sys", mib * kMiB); }
    std::string label(Control control) { return fake.view.texts[control]; }
    void tick() { window.onTimer(TimerId::MainTimer1); }

    fake::FakePlatform fake;
    MainWindow window{fake.platform};
};

}  // namespace corvane::testing
