#include <gtest/gtest.h>

#include <cstring>

#include "app/FileHelpers.h"
#include "process/Elevation.h"
#include "process/SystemInfo.h"
#include "process/TempFolder.h"
#include "support/TestSupport.h"

namespace {

hnOsFacts facts(DWORD major, DWORD minor, BYTE productType, WORD architecture, DWORD kernelType = 0,
                const char* servicePack = "", WORD suite = 0, DWORD build = 1000) {
    hnOsFacts f = {};
    f.version.dwOSVersionInfoSize = sizeof(f.version);
    f.version.dwPlatformId = VER_PLATFORM_WIN32_NT;
    f.version.dwMajorVersion = major;
    f.version.dwMinorVersion = minor;
    f.version.dwBuildNumber = build;
    f.version.wProductType = productType;
    f.version.wSuiteMask = suite;
    std::strcpy(f.version.szCSDVersion, servicePack);
    f.architecture = architecture;
    f.productType = kernelType;
    return f;
}

// Records what the launch asks the shell to open.
struct ShellRecord {
    std::string file, parameters, folder;
    int calls = 0;
};

hnLaunchSystem fakeSystem(ShellRecord& record, DWORD major, bool versionKnown = true) {
    hnLaunchSystem system;
    system.queryVersion = [major, versionKnown](OSVERSIONINFOEXA& v) {
        std::memset(&v, 0, sizeof(v));
        v.dwPlatformId = VER_PLATFORM_WIN32_NT;
        v.dwMajorVersion = major;
        return versionKnown;
    };
    system.shellOpen = [&record](const char* file, const char* parameters, const char* folder) {
        record.file = file;
        record.parameters = parameters ? parameters : "<none>";
        record.folder = folder;
        ++record.calls;
        return INT_PTR(42);
    };
    return system;
}

} // namespace

TEST(OsVersion, NamesWindows7ProfessionalAsTheTableSays) {
    std::string full, brief;
    bool is64 = false;
    ASSERT_TRUE(composeOSVersionName(
        facts(6, 1, VER_NT_WORKSTATION, PROCESSOR_ARCHITECTURE_AMD64, 48, "Service Pack 1", 0, 7601), full,
        brief, is64));
    EXPECT_EQ("Microsoft Windows 7 (Unknown Sub-version) Service Pack 1 (build 7601), 64-bit", full);
    EXPECT_EQ("Windows 7", brief);
    EXPECT_TRUE(is64);
}

TEST(OsVersion, EditionsProductNamesAndUnnamedVersions) {
    std::string full, brief;
    bool is64 = true;
    ASSERT_TRUE(composeOSVersionName(facts(6, 0, 3, PROCESSOR_ARCHITECTURE_INTEL, 8), full, brief, is64));
    EXPECT_EQ("Microsoft Windows Server 2008 Datacenter Edition (build 1000), 32-bit", full);
    EXPECT_FALSE(is64);
    ASSERT_TRUE(composeOSVersionName(
        facts(5, 1, VER_NT_WORKSTATION, PROCESSOR_ARCHITECTURE_INTEL, 0, "Service Pack 3", 0x200, 2600), full,
        brief, is64));
    EXPECT_EQ("Microsoft Windows XP Home Edition Service Pack 3 (build 2600)", full);
    EXPECT_EQ("Windows XP", brief);
    ASSERT_TRUE(
        composeOSVersionName(facts(5, 2, 3, PROCESSOR_ARCHITECTURE_AMD64, 0, "", 0x2), full, brief, is64));
    EXPECT_EQ("Microsoft Windows Server 2003 Enterprise x64 Edition (build 1000)", full);
    ASSERT_TRUE(composeOSVersionName(facts(6, 2, VER_NT_WORKSTATION, 99, 65), full, brief, is64));
    EXPECT_EQ("Microsoft Windows 8 Embedded (build 1000), (Unknown architecture)", full);

    EXPECT_FALSE(composeOSVersionName(facts(6, 3, VER_NT_WORKSTATION, PROCESSOR_ARCHITECTURE_AMD64), full,
                                      brief, is64));
    EXPECT_EQ("Unknown Operating System", full);
    EXPECT_EQ("Unknown Operating System", brief);
    EXPECT_FALSE(composeOSVersionName(facts(10, 0, VER_NT_WORKSTATION, PROCESSOR_ARCHITECTURE_AMD64), full,
                                      brief, is64));
    EXPECT_EQ("Unknown Operating System", full);
    EXPECT_EQ("", brief);
    EXPECT_FALSE(composeOSVersionName(facts(4, 0, VER_NT_WORKSTATION, PROCESSOR_ARCHITECTURE_INTEL), full,
                                      brief, is64));
    EXPECT_EQ("Unknown Operating System", brief);
}

TEST(OsVersion, TheRunningSystemIs64BitAndFoldersAreTheX86Ones) {
    DebugCapture debug;
    char full[kOsNameCapacity], brief[kOsNameCapacity];
    bool is64 = false;
    EXPECT_FALSE(queryOSVersion(full, nullptr, &is64));
    EXPECT_TRUE(debug.contains("queryOSVersion - NULL pointer 1\n"));
    bool named = queryOSVersion(full, brief, &is64);
    EXPECT_TRUE(named ? is64 : std::string(full) == "Unknown Operating System");
    EXPECT_TRUE(is64BitWindows());

    std::string folder;
    ASSERT_TRUE(programFilesFolder(folder));
    EXPECT_NE(std::string::npos, folder.find("(x86)"));
    EXPECT_NE('\\', folder.back());
    ASSERT_TRUE(systemX86Folder(folder));
    EXPECT_TRUE(fileExists(folder + "\\cmd.exe"));
    ASSERT_TRUE(windowsFolder(folder));
    EXPECT_TRUE(fileExists(folder + "\\explorer.exe"));
    EXPECT_TRUE(commonProgramsFolder(folder));
}

TEST(Elevation, BeforeUserAccountControlTheFileIsOpenedDirectly) {
    ShellRecord record;
    int result = 0;
    EXPECT_EQ(-1, launchAppManagingUACElevation(nullptr, "C:\\", nullptr, &result, fakeSystem(record, 5)));
    EXPECT_EQ(-2, launchAppManagingUACElevation("a.exe", nullptr, nullptr, &result, fakeSystem(record, 5)));
    EXPECT_EQ(-2, launchAppManagingUACElevation("a.exe", "C:\\", nullptr, nullptr, fakeSystem(record, 5)));
    EXPECT_EQ(0, record.calls);
    EXPECT_EQ(1,
              launchAppManagingUACElevation("C:\\x\\a.exe", "C:\\x", "-v", &result, fakeSystem(record, 5)));
    EXPECT_EQ("C:\\x\\a.exe", record.file);
    EXPECT_EQ("-v", record.parameters);
    EXPECT_EQ(42, result);

    DebugCapture debug;
    EXPECT_EQ(1, launchAppManagingUACElevation("C:\\x\\a.exe", "C:\\x", nullptr, &result,
                                               fakeSystem(record, 6, false)));
    EXPECT_TRUE(debug.contains("launchAppManagingUACElevation - unable to query OS version\n"));
    EXPECT_EQ("C:\\x\\a.exe", record.file);
}

TEST(Elevation, WithUserAccountControlTheShellStartsTheFileOrAShortcut) {
    ShellRecord record;
    int result = 0;
    EXPECT_EQ(
        1, launchAppManagingUACElevation("C:\\x\\a.exe", "C:\\x", nullptr, &result, fakeSystem(record, 6)));
    EXPECT_EQ("explorer.exe", record.file);
    EXPECT_EQ("C:\\x\\a.exe", record.parameters);
    EXPECT_EQ("C:\\x", record.folder);

    EXPECT_EQ(1, launchAppManagingUACElevation("C:\\x\\a.exe", "C:\\x", "\"Tutorial 1.pdf\"", &result,
                                               fakeSystem(record, 6)));
    EXPECT_EQ("explorer.exe", record.file);
    std::string folder;
    ASSERT_TRUE(privateTempFolder(folder));
    EXPECT_EQ(0u, record.parameters.find(folder + "\\hn"));
    EXPECT_EQ("tmp.lnk", record.parameters.substr(record.parameters.size() - 7));
    EXPECT_TRUE(fileExists(record.parameters));
    deleteFileForced(record.parameters);
}

TEST(Elevation, RealShellOpensTheProgramWithItsParameters) {
    ScratchFolder scratch;
    std::string tool = scratch.file("recorder.exe"), record = scratch.file("record.txt");
    ASSERT_TRUE(::CopyFileA((toolsFolder() + "\\recorder.exe").c_str(), tool.c_str(), FALSE));
    ::SetEnvironmentVariableA("ORVANTO_RECORD_FILE", record.c_str());
    hnLaunchSystem preUac = hnLaunchSystem::real();
    preUac.queryVersion = [](OSVERSIONINFOEXA& v) {
        std::memset(&v, 0, sizeof(v));
        v.dwPlatformId = VER_PLATFORM_WIN32_NT;
        v.dwMajorVersion = 5;
        return true;
    };
    int result = 0;
    EXPECT_EQ(
        1, launchAppManagingUACElevation(tool.c_str(), scratch.path().c_str(), "one two", &result, preUac));
    EXPECT_GT(result, 32);
    EXPECT_TRUE(waitFor([&] { return readTextFile(record).find("one two") != std::string::npos; }, 10000));
    waitFor([] { return false; }, 500); // let the program close its record file
    ::SetEnvironmentVariableA("ORVANTO_RECORD_FILE", nullptr);
}
