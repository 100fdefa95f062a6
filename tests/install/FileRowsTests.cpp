#include <gtest/gtest.h>

#include <windows.h>

#include "app/FileHelpers.h"
#include "app/ScopedHandle.h"
#include "app/SystemView.h"
#include "install/CheckInstallations.h"
#include "install/DetectionSupport.h"
#include "install/FileSets.h"
#include "download/StatusWords.h"
#include "process/SystemInfo.h"

namespace {

// Gives an executable a version resource with the given file version.
bool stampFileVersion(const std::string& path, WORD a, WORD b, WORD c, WORD d) {
    struct {
        WORD length, valueLength, type;
        wchar_t key[16];
        WORD padding;
        VS_FIXEDFILEINFO fixed;
    } block = {};
    block.length = sizeof(block);
    block.valueLength = sizeof(VS_FIXEDFILEINFO);
    wcscpy(block.key, L"VS_VERSION_INFO");
    block.fixed.dwSignature = VS_FFI_SIGNATURE;
    block.fixed.dwStrucVersion = VS_FFI_STRUCVERSION;
    block.fixed.dwFileVersionMS = block.fixed.dwProductVersionMS = MAKELONG(b, a);
    block.fixed.dwFileVersionLS = block.fixed.dwProductVersionLS = MAKELONG(d, c);
    block.fixed.dwFileFlagsMask = VS_FFI_FILEFLAGSMASK;
    block.fixed.dwFileOS = VOS_NT_WINDOWS32;
    block.fixed.dwFileType = VFT_APP;
    HANDLE update = ::BeginUpdateResourceA(path.c_str(), FALSE);
    if (!update)
        return false;
    if (!::UpdateResourceA(update, MAKEINTRESOURCEA(16), MAKEINTRESOURCEA(1),
                           MAKELANGID(LANG_NEUTRAL, SUBLANG_NEUTRAL), &block, sizeof(block))) {
        ::EndUpdateResourceA(update, TRUE);
        return false;
    }
    return ::EndUpdateResourceA(update, FALSE) != FALSE;
}

// A file and its reference copy: same size and write time unless told.
void writePair(const std::string& file, const std::string& reference, int referenceSecond = 0) {
    ASSERT_TRUE(writeFileAt(file, "content", 0));
    ASSERT_TRUE(writeFileAt(reference, "content", referenceSecond));
}

void layOut(const hnFileSet& set) {
    makeFolders(set.folder);
    for (const hnFileSetEntry& entry : set.files) {
        if (entry.reference.empty())
            ASSERT_TRUE(writeFileAt(entry.file, "x"));
        else
            writePair(entry.file, entry.reference);
    }
}

// A machine-wide COM class registration as the server's registrar leaves it:
// ProgIDs are shared by both registry views, so it is written without
// choosing one.
class ProgIdRegistration {
public:
    ProgIdRegistration() = default;
    ~ProgIdRegistration() { remove(); }
    bool set(const char* clsid) {
        HKEY key = nullptr;
        if (::RegCreateKeyExA(HKEY_LOCAL_MACHINE, kKey, 0, nullptr, 0, KEY_WRITE, nullptr, &key, nullptr))
            return false;
        bool ok = !::RegSetValueExA(key, nullptr, 0, REG_SZ, reinterpret_cast<const BYTE*>(clsid),
                                    static_cast<DWORD>(strlen(clsid) + 1));
        ::RegCloseKey(key);
        return ok;
    }
    void remove() { ::RegDeleteTreeA(HKEY_LOCAL_MACHINE, "Software\\Classes\\Halvenor.OPC.Orvanto.DA.1"); }

private:
    static constexpr const char* kKey = "Software\\Classes\\Halvenor.OPC.Orvanto.DA.1\\CLSID";
};

class FileRows : public ::testing::Test {
protected:
    FakeRuntime runtime;
    RegistryState registry;
};

TEST_F(FileRows, FileIdentityIsSizeAndWholeSecondsOfTheWriteTime) {
    std::string a = runtime.path("a.dll"), b = runtime.path("b.dll");
    writePair(a, b);
    EXPECT_TRUE(hnCheckInstallations::areFilesIdentical(a, b));
    // Within the same second still identical; another second is not.
    hnScopedHandle file(
        ::CreateFileA(b.c_str(), FILE_WRITE_ATTRIBUTES, 0, nullptr, OPEN_EXISTING, 0, nullptr));
    FILETIME time;
    ::GetFileTime(file.get(), nullptr, nullptr, &time);
    time.dwLowDateTime += 5000000; // half a second
    ::SetFileTime(file.get(), nullptr, nullptr, &time);
    file.reset();
    EXPECT_TRUE(hnCheckInstallations::areFilesIdentical(a, b));
    ASSERT_TRUE(writeFileAt(b, "content", 1));
    EXPECT_FALSE(hnCheckInstallations::areFilesIdentical(a, b));
    ASSERT_TRUE(writeFileAt(b, "other!!", 0));
    EXPECT_TRUE(hnCheckInstallations::areFilesIdentical(a, b)) << "contents are not compared";
    ASSERT_TRUE(writeFileAt(b, "longer content", 0));
    EXPECT_FALSE(hnCheckInstallations::areFilesIdentical(a, b));
    EXPECT_FALSE(hnCheckInstallations::areFilesIdentical(a, runtime.path("missing.dll")));
}

TEST_F(FileRows, OpenCvFoldersTheirFilesAndTheCount) {
    hnFileSet set;
    ASSERT_TRUE(openCvFileSet("OpenCV300", set));
    layOut(set);
    EXPECT_EQ(detectedStatus("OpenCV 3.0.0"), kStatusInstalled);
    EXPECT_EQ(detectedStatus("OpenCV 3.1.0"), kStatusVersionMismatch);
    EXPECT_EQ(detectedStatus("opencv_python-4.1.0.25-cp27-cp27m-win32"), kStatusVersionMismatch);

    // The working copy of the binding differs from the folder's own.
    ASSERT_TRUE(writeFileAt(runtime.path("Python\\cv2.pyd"), "content", 7));
    EXPECT_EQ(detectedStatus("OpenCV 3.0.0"), kStatusIncompleteModule);
    ASSERT_TRUE(writeFileAt(runtime.path("Python\\cv2.pyd"), "content", 0));
    ASSERT_TRUE(::DeleteFileA(runtime.path("OpenCV300\\opencv_world300.dll").c_str()));
    EXPECT_EQ(detectedStatus("OpenCV 3.0.0"), kStatusIncompleteModule);

    makeFolders(runtime.path("OpenCV340"));
    std::string detail;
    for (const char* row : {"OpenCV 3.0.0", "OpenCV 3.4.0", "OpenCV 2.4.9 (Python 27)",
                            "opencv_contrib_python-4.2.0.32-cp27-cp27m-win32"}) {
        EXPECT_EQ(detectedStatus(row, &detail), kStatusMultipleVersions) << row;
        EXPECT_EQ(detail, "OpenCV 3.0.0; OpenCV 3.4.0");
    }
}

TEST_F(FileRows, ToolboxBuildNeedsItsBridgeAndIdenticalCopies) {
    hnFileSet set;
    ASSERT_TRUE(deepformFileSet("DeepformVision_1_0_0_719", 719, set));
    ASSERT_EQ(set.files.size(), 7u + 15u);
    layOut(set);
    // No active bridge yet (and no pip to ask).
    EXPECT_EQ(detectedStatus("Deepform Vision 1.0.0.719"), kStatusIncompleteModule);
    for (const char* name : {"clr.pyd", "Python.Runtime.dll"}) {
        writePair(runtime.path(name), runtime.path(std::string("Python\\Python27\\clr_4_0\\") + name));
        writePair(runtime.path(std::string("Python\\Python27\\") + name),
                  runtime.path(std::string("Python\\Python27\\clr_4_0\\") + name));
    }
    EXPECT_EQ(detectedStatus("Deepform Vision 1.0.0.719"), kStatusInstalled);
    EXPECT_EQ(detectedStatus("Deepform Vision 1.0.0.758"), kStatusNotInstalled);

    // One script copy with another time stamp.
    ASSERT_TRUE(writeFileAt(runtime.path("Python\\OTC_0116_BoxFit3D.py"), "content", 60));
    EXPECT_EQ(detectedStatus("Deepform Vision 1.0.0.719"), kStatusIncompleteModule);
}

TEST_F(FileRows, IppLibrariesAndOlderFolders) {
    hnFileSet set;
    ASSERT_TRUE(ippFileSet(set));
    ASSERT_EQ(set.files.size(), 86u);
    layOut(set);
    EXPECT_EQ(detectedStatus("Orvanto 2018.0.0.992 IPP"), kStatusInstalled);
    makeFolders(runtime.path("IPP924"));
    EXPECT_EQ(detectedStatus("Orvanto 2018.0.0.992 IPP"), kStatusReinstallNeeded);
    ::RemoveDirectoryA(runtime.path("IPP924").c_str());
    ASSERT_TRUE(::DeleteFileA(runtime.path("IPP201800992\\threaded\\ippvmw7.dll").c_str()));
    EXPECT_EQ(detectedStatus("Orvanto 2018.0.0.992 IPP"), kStatusIncompleteModule);
}

TEST_F(FileRows, RuntimeFilesAndTheirFolder) {
    hnFileSet zentra;
    ASSERT_TRUE(zentraFileSet(zentra));
    layOut(zentra);
    EXPECT_EQ(detectedStatus("Zentra API 1.0.0.3 Files"), kStatusInstalled);
    ASSERT_TRUE(::DeleteFileA(runtime.path("Python\\pyzentra26.pyd").c_str()));
    EXPECT_EQ(detectedStatus("Zentra API 1.0.0.3 Files"), kStatusNotInstalled);
}

TEST_F(FileRows, SmartCardPackagesInTheDocumentsFolder) {
    std::string documents;
    ASSERT_TRUE(hnDocumentsFolder(documents));
    std::string userData = documents + "\\Orvanto 15.0";
    bool hadUserData = fileExists(userData);
    hnFileSet config, program;
    ASSERT_TRUE(smartCardConfigFileSet(config));
    ASSERT_TRUE(smartCardProgramFileSet(program));
    EXPECT_EQ(config.files.size(), 9u);
    EXPECT_EQ(program.files.size(), 8u + 38u);
    EXPECT_EQ(detectedStatus("Orvanto Quiver VAVUZirar Config 4.0"), kStatusNotInstalled);
    layOut(config);
    layOut(program);
    EXPECT_EQ(detectedStatus("Orvanto Quiver VAVUZirar Config 4.0"), kStatusInstalled);
    EXPECT_EQ(detectedStatus("Orvanto Quiver VAVUZirar Program and Driver 5.0"), kStatusInstalled);
    ASSERT_TRUE(::DeleteFileA(program.files.back().file.c_str()));
    EXPECT_EQ(detectedStatus("Orvanto Quiver VAVUZirar Program and Driver 5.0"), kStatusIncompleteModule);

    deleteFolderTree(config.folder.c_str(), "VAVUZirar");
    deleteFolderTree(program.folder.c_str(), "VAVUZirar");
    if (!hadUserData)
        ::RemoveDirectoryA(userData.c_str());
}

TEST_F(FileRows, CycleControllerVersionFile) {
    hnFileSet set;
    ASSERT_TRUE(cycleControllerFileSet(set));
    ASSERT_EQ(set.files.size(), 10u);
    std::string programFiles;
    ASSERT_TRUE(programFilesFolder(programFiles));
    std::string company = programFiles + "\\Halvenor AS";
    // The company folder may stay behind, empty, after another test removed
    // a product that lives in it; only the controller's own folder must be new.
    const bool companyExisted = fileExists(company);
    ASSERT_FALSE(fileExists(set.folder)) << "left over from an earlier run";
    layOut(set);
    EXPECT_EQ(detectedStatus("Cycle Controller 1.0.0.1(3587)"), kStatusInstalled)
        << "no version.txt is no mismatch";
    writeTextFile(set.folder + "\\version.txt",
                  "Cycle Controller 1.0.0.1(3587)\r\nbuilt on the build machine\r\n");
    EXPECT_EQ(detectedStatus("Cycle Controller 1.0.0.1(3587)"), kStatusInstalled);
    writeTextFile(set.folder + "\\version.txt", "Cycle Controller 1.0.0.1(3512)\n");
    EXPECT_EQ(detectedStatus("Cycle Controller 1.0.0.1(3587)"), kStatusVersionMismatch);
    ::DeleteFileA(set.files.front().file.c_str());
    EXPECT_EQ(detectedStatus("Cycle Controller 1.0.0.1(3587)"), kStatusNotInstalled);
    if (companyExisted)
        deleteFolderTree(set.folder.c_str(), set.folder.c_str());
    else
        deleteFolderTree(company.c_str(), "Halvenor AS");
}

TEST_F(FileRows, OpcServerIdentity) {
    const char* row = "Orvanto OPC Server 1.0.0.7";
    std::string exe = runtime.path("OrvantoOPCServer\\OrvantoOPCServer.exe");
    makeFolders(runtime.path("OrvantoOPCServer"));
    ASSERT_TRUE(::CopyFileA((toolsFolder() + "\\sleeper.exe").c_str(), exe.c_str(), FALSE));
    EXPECT_EQ(detectedStatus(row), kStatusNotInstalled) << "the ProgID is not registered";

    ProgIdRegistration progId;
    ASSERT_TRUE(progId.set("{CFEA073E-B729-4F9C-9CFB-611134C7DAD8}"));
    EXPECT_EQ(detectedStatus(row), kStatusReinstallNeeded);
    registry.createKey(HKEY_LOCAL_MACHINE,
                       "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Vuzurerezazo ZivEraravA");
    EXPECT_EQ(detectedStatus(row), kStatusVersionMismatch) << "no version resource";

    ASSERT_TRUE(stampFileVersion(exe, 1, 0, 0, 7));
    std::string version;
    ASSERT_TRUE(hnCheckInstallations::readFileVersion(exe, version));
    EXPECT_EQ(version, "1.0.0.7");
    EXPECT_EQ(detectedStatus(row), kStatusInstalled);

    ASSERT_TRUE(stampFileVersion(exe, 1, 0, 0, 17));
    EXPECT_EQ(detectedStatus(row), kStatusVersionMismatch);
    ASSERT_TRUE(stampFileVersion(exe, 1, 0, 0, 7));
    ASSERT_TRUE(progId.set("{CFEA073E-B729-4F9C-9CFB-611134C7DAD9}"));
    EXPECT_EQ(detectedStatus(row), kStatusVersionMismatch) << "registered for another server";
}

} // namespace
