// A fresh Corvane for each test: its own folder (and so its own journal), no saved settings
// but a refresh period long enough that only the ticks a test posts are taken, and a paging
// configuration naming C:\pagefile.sys, whose size the test sets.
#pragma once

#include <commctrl.h>
#include <gtest/gtest.h>
#include <windows.h>

#include <optional>
#include <string>

#include "driver.h"
#include "platform/control_ids.h"
#include "test_env.h"

namespace corvane::wine {

inline constexpr uint64_t kMiB = 1048576;
inline constexpr const char* kMainClass = "CorvaneMainWindow";
inline constexpr const char* kDbClass = "CorvaneDb";
inline constexpr const char* kAboutClass = "CorvaneAbout";
inline constexpr const char* kPagefile = "C:\\pagefile.sys";
inline constexpr const char* kMemoryManagementKey =
    "SYSTEM\\CurrentControlSet\\Control\\Session Manager\\Memory Management";
inline constexpr const char* kSettingsKey = "Software\\VB and VBA Program Settings\\Corvane";
inline constexpr const char* kSettingsSectionKey =
    "Software\\VB and VBA Program Settings\\Corvane\\Paramètres";
inline constexpr const char* kMessageTitle = "Corvane V 1.0.0";
inline constexpr int kTimer1 = IDC_TIMER1;

// Control IDs: each control's index on the window.
enum Id : int {
    kCadre = IDC_CADRE,
    kDessus = IDC_DESSUS,
    kLblRaf = IDC_LBLRAF,
    kLabel1 = IDC_LABEL1,
    kSwap = IDC_SWAP,
    kMemLibre = IDC_MEMLIBRE,
    kDebutWin = IDC_DEBUTWIN,
    kProcesseur = IDC_PROCESSEUR,
    kWindows = IDC_WINDOWS,
    kLabel2 = IDC_LABEL2,
    kQuitter = ID_QUITTER,
    kSlider = IDC_SLIDER,
    kList1 = IDC_LIST1,
    kList2 = IDC_LIST2,
    kAboutOk = IDC_APROPOS_COMMAND1,  // the About window's `Command1`
};

class CorvaneTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_FALSE(corvaneExe().empty()) << "CORVANE_EXE is not set";
        const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
        testName = std::string(info->test_suite_name()) + "." + info->name();
        // Parameterised tests are named "Prefix/Suite.Name/Param": one folder all the same.
        for (char& c : testName) {
            if (c == '/') c = '-';
        }
        folder = "C:\\corvane-tests\\" + testName;
        deleteTree(folder);
        makeDirectories(folder);
        copyFileTo(corvaneExe(), folder + "\\Corvane.exe");

        setMultiString(HKEY_LOCAL_MACHINE, kMemoryManagementKey, "PagingFiles",
                       {"C:\\pagefile.sys 100 200"});
        setSwapSize(50 * kMiB);
        deleteKeyTree(HKEY_CURRENT_USER, kSettingsKey);
        // A minute between samples: a test takes only the samples it posts.
        setString(HKEY_CURRENT_USER, kSettingsSectionKey, "Raffraichissement", "60");
    }

    void TearDown() override {
        if (HasFailure() && main.exists()) shot(testName + "-failed");
    }

    void setSwapSize(uint64_t bytes) { setFileSize(kPagefile, bytes); }

    // Starts Corvane and waits until its window shows the first sample.
    Window launch() {
        corvane.emplace(Process::start(folder + "\\Corvane.exe", "", folder));
        main = waitWindow(corvane->id(), kMainClass);
        main.waitControlText(kSwap, "SWAP: ");
        return main;
    }

    // Posts one tick of `Timer1` and waits until the swap label shows `expected`.
    void tickUntilSwapReads(const std::string& expected) {
        main.postTimer(kTimer1);
        main.waitControlText(kSwap, expected);
        EXPECT_EQ(main.controlText(kSwap), expected);
    }

    std::string openWindows() {
        std::string open;
        for (const Window& w : topWindows(corvane->id()))
            open += " [" + w.className() + " \"" + w.text() + "\"]";
        return open;
    }

    // The program must end as every way out does: the About window first, and the statistics
    // saved once it is closed.
    void expectEnds(const std::string& how) {
        Window about;
        pollUntil([&] {
            auto windows = topWindows(corvane->id(), kAboutClass);
            if (!windows.empty()) about = windows.front();
            return about || !corvane->running();
        });
        ASSERT_TRUE(about) << how << " did not show the About window; windows:" << openWindows();
        bool saved = true;
        readString(HKEY_CURRENT_USER, kSettingsSectionKey, "NB", &saved);
        EXPECT_FALSE(saved) << "the statistics were saved before the About window was closed";
        pressButton(about, kAboutOk);
        expectEndsWithoutAbout(how, about);
    }

    // The program must end without showing an About window (but `closed`, going), its
    // statistics saved.
    void expectEndsWithoutAbout(const std::string& how, const Window& closed = {}) {
        bool aboutShown = false;
        pollUntil([&] {
            for (const Window& w : topWindows(corvane->id(), kAboutClass))
                if (w.handle() != closed.handle()) aboutShown = true;
            return !corvane->running();
        });
        ASSERT_FALSE(corvane->running()) << how << " did not end Corvane within " << kTimeoutMs
                                         << " ms; its windows:" << openWindows();
        EXPECT_FALSE(aboutShown) << how << " showed the About window (again)";
        EXPECT_EQ(corvane->exitCode(), 0u) << how;
        EXPECT_EQ(readString(HKEY_CURRENT_USER, kSettingsSectionKey, "NB"), "1")
            << how << " ended without saving the one sample taken";
    }

    void shot(const std::string& name, const Window& window = {}) {
        if (screenshotDir().empty()) return;
        saveScreenshot(window ? window : main, screenshotDir() + "\\" + name + ".png");
    }

    std::string testName;
    std::string folder;
    std::optional<Process> corvane;
    Window main;
};

}  // namespace corvane::wine
