// The driver itself, on the floor program and on this process's own message boxes: if these
// fail, a failing Corvane test says nothing about Corvane.
#include "driver.h"

#include <gtest/gtest.h>

#include "platform/control_ids.h"
#include "test_env.h"

namespace corvane::wine {
namespace {

constexpr int kSwapLabel = IDC_SWAP;

class FloorProgram : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_FALSE(floorExe().empty()) << "CORVANE_FLOOR_EXE is not set";
        window = waitWindow(floor.id(), "CorvaneMainWindow");
    }

    Process floor = Process::start(floorExe());
    Window window;
};

TEST_F(FloorProgram, FindsTheWindowAndReadsItsCaptionAndControls) {
    EXPECT_EQ(window.text(), "Informations Corvane");
    EXPECT_EQ(window.processId(), floor.id());
    EXPECT_EQ(window.controlText(kSwapLabel), "Fichier Swap");
    ASSERT_EQ(window.controls().size(), 1u);
    EXPECT_EQ(window.controls()[0].className, "Static");
    EXPECT_FALSE(window.topmost());
    EXPECT_FALSE(window.minimised());
    EXPECT_EQ(window.style() & WS_MAXIMIZEBOX, 0);
    EXPECT_THROW(window.control(77), DriverError);
}

TEST_F(FloorProgram, PostedTicksAreHandledInOrder) {
    for (int i = 0; i < 3; ++i) window.postTimer(10);
    EXPECT_EQ(window.waitControlText(kSwapLabel, "SWAP: 3"), "SWAP: 3");
    window.postTimer(11);  // not the window's timer
    window.postTimer(10);
    EXPECT_EQ(window.waitControlText(kSwapLabel, "SWAP: 4"), "SWAP: 4");
}

TEST_F(FloorProgram, EscapePostedToAControlEndsTheProgram) {
    window.control(kSwapLabel).postChar(27);
    ASSERT_TRUE(floor.waitExit()) << "the floor program did not end on Escape";
    EXPECT_EQ(floor.exitCode(), 0u);
    EXPECT_FALSE(window.exists());
}

TEST_F(FloorProgram, CloseEndsTheProgram) {
    window.postClose();
    ASSERT_TRUE(floor.waitExit());
    EXPECT_EQ(floor.exitCode(), 0u);
}

TEST_F(FloorProgram, ScreenshotIsAPngOfTheWindowsSize) {
    const std::string path = screenshotDir() + "\\floor.png";
    saveScreenshot(window, path);
    const std::string png = readFile(path);
    ASSERT_GT(png.size(), 33u);
    EXPECT_EQ(png.substr(0, 8), "\x89PNG\r\n\x1a\n");
    EXPECT_EQ(png.substr(12, 4), "IHDR");
    auto big32 = [&](size_t at) {
        return (uint32_t(uint8_t(png[at])) << 24) | (uint32_t(uint8_t(png[at + 1])) << 16) |
               (uint32_t(uint8_t(png[at + 2])) << 8) | uint32_t(uint8_t(png[at + 3]));
    };
    RECT r = window.rect();
    EXPECT_EQ(big32(16), uint32_t(r.right - r.left));
    EXPECT_EQ(big32(20), uint32_t(r.bottom - r.top));
}

TEST(Driver, ReportsWhatItWaitedForWhenNothingCame) {
    try {
        waitWindow(GetCurrentProcessId(), "NoSuchClass", 50);
        FAIL() << "waitWindow found a window that does not exist";
    } catch (const DriverError& error) {
        EXPECT_NE(std::string(error.what()).find("\"NoSuchClass\""), std::string::npos)
            << error.what();
        EXPECT_NE(std::string(error.what()).find("50 ms"), std::string::npos) << error.what();
    }
    try {
        Process::start("C:\\no\\such\\program.exe");
        FAIL() << "a missing program started";
    } catch (const DriverError& error) {
        EXPECT_NE(std::string(error.what()).find("C:\\no\\such\\program.exe"), std::string::npos);
    }
}

DWORD WINAPI askReset(void*) {
    return MessageBoxW(nullptr, L"Réinitialiser\r\nl'analyse ?", L"Corvane",
                       MB_YESNO | MB_ICONQUESTION);
}

TEST(Driver, ReadsAndAnswersAMessageBox) {
    HANDLE asker = CreateThread(nullptr, 0, askReset, nullptr, 0, nullptr);
    ASSERT_NE(asker, nullptr);
    MessageBoxInfo box = waitMessageBox(GetCurrentProcessId());
    EXPECT_EQ(box.title, "Corvane");
    EXPECT_EQ(box.text, "Réinitialiser\r\nl'analyse ?");
    EXPECT_EQ(box.buttons, (std::vector<int>{IDYES, IDNO}));
    EXPECT_EQ(box.owner, nullptr);
    pressButton(box.window, IDNO);
    ASSERT_EQ(WaitForSingleObject(asker, kTimeoutMs), WAIT_OBJECT_0);
    DWORD answer = 0;
    GetExitCodeThread(asker, &answer);
    CloseHandle(asker);
    EXPECT_EQ(answer, DWORD(IDNO));
    EXPECT_TRUE(messageBoxes(GetCurrentProcessId()).empty());
}

TEST(Driver, MultiStringValueReadsAsTheSystemsAnsiFunctionsSeeIt) {
    const std::string key = "Software\\CorvaneDriverTest";
    setMultiString(HKEY_CURRENT_USER, key, "PagingFiles",
                   {"C:\\pagefile.sys 100 200", "D:\\x 1 2"});
    EXPECT_EQ(readString(HKEY_CURRENT_USER, key, "PagingFiles"),
              "C:\\pagefile.sys 100 200|D:\\x 1 2");

    HKEY handle = nullptr;
    ASSERT_EQ(RegOpenKeyA(HKEY_CURRENT_USER, "Software\\CorvaneDriverTest", &handle), 0);
    char buffer[64];
    DWORD type = 0, size = sizeof buffer;
    ASSERT_EQ(RegQueryValueExA(handle, "PagingFiles", nullptr, &type,
                               reinterpret_cast<BYTE*>(buffer), &size),
              0);
    RegCloseKey(handle);
    EXPECT_EQ(type, DWORD(REG_MULTI_SZ));
    EXPECT_EQ(std::string(buffer, size),
              std::string("C:\\pagefile.sys 100 200\0D:\\x 1 2\0\0", 34));

    deleteKeyTree(HKEY_CURRENT_USER, key);
    bool found = true;
    readString(HKEY_CURRENT_USER, key, "PagingFiles", &found);
    EXPECT_FALSE(found);
}

TEST(Driver, FileGrowsAndShrinksToTheSizeAsked) {
    const std::string path = "C:\\corvane-driver-test.sys";
    auto sizeSeen = [&] {
        WIN32_FILE_ATTRIBUTE_DATA data{};
        EXPECT_TRUE(GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data));
        return (uint64_t(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
    };
    setFileSize(path, 5ull << 30);
    EXPECT_EQ(sizeSeen(), 5ull << 30);
    setFileSize(path, 50ull << 20);
    EXPECT_EQ(sizeSeen(), 50ull << 20);
    DeleteFileA(path.c_str());
    EXPECT_FALSE(fileExists(path));
}

}  // namespace
}  // namespace corvane::wine
