// The registry value reader and where it finds the swap file.
#include "harness.h"
#include "probes/registry_reader.h"

namespace corvane::testing {
namespace {

RegistryAnswer answer(uint32_t type, const std::string& data) {
    RegistryAnswer a;
    a.type = type;
    a.dataSize = static_cast<uint32_t>(data.size());
    a.buffer.assign(kRegistryBufferSize, ' ');
    std::copy(data.begin(), data.end(), a.buffer.begin());
    return a;
}

TEST(RegistryReader, DwordIsDecimalOfAtLeastThreeDigits) {
    EXPECT_EQ(convertRegistryAnswer(answer(kRegDword, std::string("\0\0\0\0", 4))), "000");
    EXPECT_EQ(convertRegistryAnswer(answer(kRegDword, std::string("\x05\0\0\0", 4))), "005");
    EXPECT_EQ(convertRegistryAnswer(answer(kRegDword, std::string("\x70\x11\x01\0", 4))), "70000");
    EXPECT_EQ(convertRegistryAnswer(answer(kRegDword, "\xFF\xFF\xFF\xFF")), "4294967295");
}

TEST(RegistryReader, BinaryIsUpperCaseHexPairs) {
    EXPECT_EQ(convertRegistryAnswer(answer(kRegBinary, "\x01\xAB")), "01AB");
    EXPECT_EQ(convertRegistryAnswer(answer(kRegBinary, "")), "");
}

TEST(RegistryReader, TextLosesOnlyItsFinalNul) {
    EXPECT_EQ(convertRegistryAnswer(answer(kRegSz, std::string("C:\\pagefile.sys 27 77\0", 22))),
              "C:\\pagefile.sys 27 77");
    std::string multi("C:\\pagefile.sys 100 200\0D:\\pagefile.sys 50 60\0\0", 47);
    EXPECT_EQ(convertRegistryAnswer(answer(kRegMultiSz, multi)),
              std::string("C:\\pagefile.sys 100 200\0D:\\pagefile.sys 50 60\0", 46));
    EXPECT_EQ(convertRegistryAnswer(answer(kRegExpandSz, "")), "");
}

TEST(RegistryReader, FailuresReadNotFound) {
    RegistryAnswer missing = answer(kRegSz, "x");
    missing.queryResult = 2;
    EXPECT_EQ(convertRegistryAnswer(missing), "Not Found");
    RegistryAnswer noKey = answer(kRegSz, "x");
    noKey.openResult = 2;
    EXPECT_EQ(convertRegistryAnswer(noKey), "Not Found");
}

TEST(RegistryReader, ReadsThroughTheRegistryAndDecodesTheAnsiCodePage) {
    fake::FakePlatform fake;
    fake.registry.set(RootKey::CurrentUser, "Software\\X", "Name", kRegSz,
                      std::string("Param\xE8tres\0", 11));
    EXPECT_EQ(readRegistryValue(fake.platform, RootKey::CurrentUser, "Software\\X", "Name"),
              "Paramètres");
    EXPECT_EQ(readRegistryValue(fake.platform, RootKey::CurrentUser, "Software\\X", "Other"),
              "Not Found");
    EXPECT_EQ(readRegistryValue(fake.platform, RootKey::CurrentUser, "Software\\Y", "Name"),
              "Not Found");
}

TEST(RegistryReader, ValuesPastTheBufferReadNotFound) {
    fake::FakePlatform fake;
    for (size_t size : {2047u, 2048u, 2049u}) {
        std::string data(size - 1, 'a');
        data += '\0';
        fake.registry.set(RootKey::LocalMachine, "K", "V", kRegSz, data);
        std::string text = readRegistryValue(fake.platform, RootKey::LocalMachine, "K", "V");
        if (size <= kRegistryBufferSize) {
            EXPECT_EQ(text, std::string(size - 1, 'a')) << size;
        } else {
            EXPECT_EQ(text, "Not Found") << size;
        }
    }
}

TEST(FirstPagingPath, TakesTheFirstEntryUpToItsFirstBlank) {
    EXPECT_EQ(
        firstPagingPath(std::string("C:\\pagefile.sys 1536 3072\0D:\\pagefile.sys 1 2\0", 47)),
        "C:\\pagefile.sys");
    EXPECT_EQ(firstPagingPath(" C:\\pagefile.sys 1 2"), "");
    EXPECT_EQ(firstPagingPath("C:\\pagefile.sys"), "C:\\pagefile.sys");
    EXPECT_EQ(firstPagingPath("Not Found"), "");
    EXPECT_EQ(firstPagingPath(""), "");
    EXPECT_EQ(firstPagingPath(std::string("\0C:\\x 1 2\0", 10)), "");
}

TEST(SystemManagedPath, ResolvesToTheExistingPagingFileOrTheWindowsDrive) {
    EXPECT_TRUE(isSystemManagedPath("?:\\pagefile.sys"));
    EXPECT_FALSE(isSystemManagedPath("C:\\pagefile.sys"));
    EXPECT_EQ(resolveSystemManagedPath("?:\\pagefile.sys",
                                       std::string("\\??\\D:\\pagefile.sys\0", 21), "C:\\Windows"),
              "D:\\pagefile.sys");
    EXPECT_EQ(resolveSystemManagedPath("?:\\pagefile.sys", "Not Found", "E:\\WINNT"),
              "E:\\pagefile.sys");
    EXPECT_EQ(resolveSystemManagedPath("?:\\pagefile.sys", "", ""), "C:\\pagefile.sys");
    EXPECT_EQ(firstExistingPageFile(std::string("C:\\pagefile.sys\0", 16)), "C:\\pagefile.sys");
}

TEST_F(MonitorTest, RechercheSwapTakesTheRegistrysFirstPagingFile) {
    fake.registry.setMultiString(RootKey::LocalMachine, kMemoryManagementKey, "PagingFiles",
                                 {"D:\\swap\\pagefile.sys 100 200", "C:\\pagefile.sys 50 60"});
    RechercheSwap(window.context());
    EXPECT_EQ(window.state().swapPath, "D:\\swap\\pagefile.sys");

    fake.registry.setMultiString(RootKey::LocalMachine, kMemoryManagementKey, "PagingFiles",
                                 {"?:\\pagefile.sys"});
    fake.registry.setMultiString(RootKey::LocalMachine, kMemoryManagementKey, "ExistingPageFiles",
                                 {"\\??\\C:\\pagefile.sys"});
    RechercheSwap(window.context());
    EXPECT_EQ(window.state().swapPath, "C:\\pagefile.sys");

    fake.registry.set(RootKey::LocalMachine, kMemoryManagementKey, "PagingFiles", kRegSz,
                      std::string("C:\\pagefile.sys 27 77\0", 22));  // Wine writes REG_SZ
    RechercheSwap(window.context());
    EXPECT_EQ(window.state().swapPath, "C:\\pagefile.sys");
}

}  // namespace
}  // namespace corvane::testing
