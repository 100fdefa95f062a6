#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <windows.h>

#include "app/FileHelpers.h"
#include "app/SystemView.h"
#include "install/CheckInstallations.h"
#include "install/DetectionCatalogue.h"
#include "install/DetectionSupport.h"
#include "install/FileSets.h"
#include "download/StatusWords.h"

namespace {

// The packages every detection test may rely on; the tests that need another
// state install and remove their own on top.
class BasePackages : public ::testing::Environment {
public:
    void SetUp() override {
        removeLeftoversOfEarlierRuns();
        packages_.emplace_back(new InstalledPackage("runtime", kRuntimeProductCode));
        packages_.emplace_back(new InstalledPackage("python279", "{79F081BF-7454-43DB-BD8F-9EE596813232}"));
        packages_.emplace_back(
            new InstalledPackage("sdk-other-name", "{13DB2D91-4761-49EF-A8D4-E7095E9BADD7}"));
        packages_.emplace_back(new InstalledPackage("zcl-2-12-2", "{1A23CB3F-7B04-4CFD-80BE-81D2ACB10167}"));
        packages_.emplace_back(
            new InstalledPackage("pylon4-name-case", "{01F5DEBA-9FCF-4D3A-B0F6-74D29B5F8651}"));
        packages_.emplace_back(
            new InstalledPackage("paintnet-4-2-12", "{7ADB1B05-39DE-4888-A72D-D1F3A791D45F}"));
        packages_.emplace_back(
            new InstalledPackage("tightvnc64-per-user", "{D71C967C-8709-4334-BF16-952469E96DCD}"));
        for (auto& package : packages_)
            ASSERT_TRUE(package->installed());
    }
    void TearDown() override { packages_.clear(); }

private:
    std::vector<std::unique_ptr<InstalledPackage>> packages_;
};

::testing::Environment* const basePackages = ::testing::AddGlobalTestEnvironment(new BasePackages);

// Every display name that detection knows.
const char* const kDetectedNames[] = {
    "MS VC++ 2005 SP1 Redist",
    "MS VC++ 2008 SP1 Redist",
    "MS VC++ 2010 SP1 Redist",
    "MS VC++ 2017 Redist 14.15.26706",
    "MS VC++ 2015-2019 Redist (x86) 14.26.28720",
    "Microsoft .Net 2.0.50727.42 Redist",
    "Windows Installer 3.1",
    "Python 2.7.9",
    "Python 2.7.13",
    "Python 3.6.6",
    "pywin32-219.win32-py2.7",
    "pywin32-221.win32-py2.7",
    "pywin32-223.win32-py2.7",
    "pyserial-2.7.win32",
    "pyserial-3.4-py2.py3-none-any",
    "scipy-0.16.1-python2.7",
    "scipy-1.0.0-cp27-cp27m-win32",
    "scipy-1.1.0-cp27-cp27m-win32",
    "scipy-1.2.2-cp27-cp27m-win32",
    "numpy-1.10.2-python2.7",
    "numpy-1.14.0+mkl-cp27-cp27m-win32",
    "numpy-1.14.5+mkl-cp27-cp27m-win32",
    "numpy-1.15.1+mkl-cp27-cp27m-win32",
    "numpy-1.16.4-cp27-cp27m-win32",
    "numpy-1.16.4+mkl-cp27-cp27m-win32",
    "MySQL-python-1.2.4b4.win32-py2.7",
    "pywin32-223-cp36-cp36m-win32",
    "pyserial-3.4-py2.py3-none-any-py36",
    "scipy-1.2.0-cp36-cp36m-win32",
    "scipy-1.3.0-cp36-cp36m-win32",
    "scipy-1.3.1-cp36-cp36m-win32",
    "numpy-1.15.4-cp36-none-win32",
    "numpy-1.16.4-cp36-cp36m-win32",
    "numpy-1.16.4+mkl-cp36-cp36m-win32",
    "OpenCV 2.4.9 (Python 27)",
    "OpenCV 3.0.0",
    "OpenCV 3.1.0",
    "OpenCV 3.2.0",
    "OpenCV 3.3.0",
    "OpenCV 3.3.1",
    "OpenCV 3.4.0",
    "opencv_contrib_python-3.4.3.18-cp27-cp27m-win32",
    "opencv_contrib_python-4.1.0.25-cp27-cp27m-win32",
    "opencv_contrib_python-4.2.0.32-cp27-cp27m-win32",
    "opencv_python-3.4.3.18-cp27-cp27m-win32",
    "opencv_python-4.1.0.25-cp27-cp27m-win32",
    "opencv_python-4.2.0.32-cp27-cp27m-win32",
    "opencv_contrib_python-3.4.3.18-cp36-cp36m-win32",
    "opencv_python-3.4.3.18-cp36-cp36m-win32",
    "opencv_python-4.0.0-cp36-cp36m-win32",
    "opencv_python-4.0.0+contrib-cp36-cp36m-win32",
    "opencv_contrib_python-4.1.0.25-cp36-cp36m-win32",
    "opencv_contrib_python-4.2.0.32-cp36-cp36m-win32",
    "opencv_python-4.1.0.25-cp36-cp36m-win32",
    "opencv_python-4.2.0.32-cp36-cp36m-win32",
    "opencv_contrib_python-4.2.0.34-cp36-cp36m-win32",
    "opencv_python-4.2.0.34-cp36-cp36m-win32",
    "pythonnet-2.3.0-cp27-cp27m-win32",
    "pythonnet-2.3.0-cp36-cp36m-win32",
    "Deepform Vision 1.0.0.333",
    "Deepform Vision 1.0.0.355",
    "Deepform Vision 1.0.0.383",
    "Deepform Vision 1.0.0.550",
    "Deepform Vision 1.0.0.612",
    "Deepform Vision 1.0.0.719",
    "Deepform Vision 1.0.0.758",
    "Deepform Vision 1.0.0.819",
    "Deepform Vision 1.0.0.1114",
    "Deepform Vision 1.0.0.819(02) (Python 36)",
    "Deepform Vision 1.0.0.1114 (Python 36)",
    "Imaging Source - IC Capture 2.3",
    "MVS 2.2.3",
    "MVS 2.3.1",
    "MVS 2.4.0",
    "MVS 3.0.0",
    "MVS 3.1.0",
    "MVS 3.2.0",
    "ubCore 6.00 Pro 1394a - 1394b drivers - 32 bit",
    "ubCore 6.00 Pro 1394a - 1394b drivers - 64 bit",
    "Fire-i Application 4.0 - 32 bit",
    "Fire-i Application 4.0 - 64 bit",
    "ZCL for SONYGigECAM 2.12 - 32 bit",
    "ZCL for SONYGigECAM 2.12 - 64 bit",
    "ZCL for SONYGigECAM 2.12.2 - Windows 7 (32 bit)",
    "ZCL for SONYGigECAM 2.12.2 - Windows 7 (64 bit)",
    "ZCL for SONYGigECAM 2.12.2 - Windows 8 (32 bit)",
    "ZCL for SONYGigECAM 2.12.2 - Windows 8 (64 bit)",
    "Basler pylon SDK 2.3.5.2633 - 32 bit",
    "Basler pylon SDK 2.3.5.2633 - 64 bit",
    "Basler pylon SDK 3.2.3.3215 - 32 bit",
    "Basler pylon SDK 3.2.3.3215 - 64 bit",
    "Basler pylon 4 Runtime 4.0.1.3425 - 32 bit",
    "Basler pylon 4 Runtime 4.0.1.3425 - 64 bit",
    "Pylon 4 Camera Software Suite 4.2.2.5468 - 32 bit",
    "Pylon 4 Camera Software Suite 4.2.2.5468 - 64 bit",
    "Pylon 5 Camera Software Suite 5.0.5.8999",
    "Pylon 5 Camera Software Suite 5.0.10.10613",
    "Pylon 5 Camera Software Suite 5.0.12.11830",
    "Pylon 6 Camera Software Suite 6.1.0.19674",
    "AVT Universal Package 2.2.0",
    "AVT Fire Package 2.11",
    "Shared Memory Camera Driver",
    "DAQNavi PCI-1730 3.1.1.0",
    "DAQNavi USB-4711A 3.1.3.0",
    "DAQNavi USB-4750 3.1.1.0",
    "DAQNavi SDK and Drivers 3.1.4.0",
    "Adam/Apax .NET Utility 2.05.10",
    "OPC Scout (SIMATIC NET OPC-Client V6.2-3133)",
    "MatrikonOPC Server for Simulation",
    "Orvanto PlantOPCClient 1.9.0.28",
    "Orvanto OPC Server 1.0.0.7",
    "Orvanto Version XV 15.0.0.774 Runtime",
    "Orvanto Kadrix Version XV 15.0.0.774 SDK",
    "Orvanto Vision Software Version XV 15.0.0.774",
    "Orvanto Watchdog 3.0.0.11",
    "Orvanto 2018.0.0.992 IPP",
    "Orvanto Quiver VAVUZirar Config 4.0",
    "Orvanto Quiver VAVUZirar Program and Driver 5.0",
    "Zentra API 1.0.0.3 Files",
    "Cycle Controller 1.0.0.1(3587)",
    "TightVNC 2.6.4 - 32 bit",
    "TightVNC 2.6.4 - 64 bit",
    "PerformanceTest 8.0",
    "Orvanto TeamViewer 8 Host",
    "Orvanto TeamViewer 13 Host",
    "Speccy v1.25",
    "Adobe Acrobat Reader",
    "Tera Term 4.88",
    "IC Imaging Control 3.5 C++ Class Library V3.5.5.3963",
    "PowerToys (Preview) 0.20.1",
    "TortoiseHg 3.6.3 (x86)",
    "TortoiseHg 3.6.3 (x64)",
    "Paint.net 4.0.19",
    "Paint.net 4.2.12",
    "Python 27 extension - scikit-image",
    "Python 27 extension - scikit-learn",
    "Python 27 extension - matplotlib",
    "Python 27 extension - Keras",
    "Python 27 extension - Sphinx",
    "Python 27 extension - enum34",
    "Python 27 extension - paho-mqtt",
    "Python 27 extension - opcua",
    "Python 27 extension - dxfgrabber",
    "Python 27 extension - Shapely",
    "Python 27 extension - six",
    "Python 27 extension - Theano",
    "Python 27 extension - imutils",
    "Python 36 extension - Keras",
    "Python 36 extension - matplotlib",
    "Python 36 extension - scikit-learn",
    "Python 36 extension - scikit-image",
    "Python 36 extension - Sphinx",
    "Python 36 extension - enum34",
    "Python 36 extension - paho-mqtt",
    "Python 36 extension - opcua",
    "Python 36 extension - Shapely",
    "Python 36 extension - six",
    "Python 36 extension - Theano",
    "Python 36 extension - imutils",
};

TEST(DetectionCatalogue, KnowsExactlyTheDetectedComponents) {
    std::set<std::string> expected(std::begin(kDetectedNames), std::end(kDetectedNames));
    std::set<std::string> table;
    std::set<std::string> folded;
    for (const hnDetectionRow& row : detectionCatalogue()) {
        EXPECT_TRUE(table.insert(row.name).second) << "twice: " << row.name;
        std::string lower = row.name;
        std::transform(lower.begin(), lower.end(), lower.begin(), ::tolower);
        EXPECT_TRUE(folded.insert(lower).second) << "differs only in letter case: " << row.name;
        EXPECT_FALSE(row.presence.empty()) << row.name;
    }
    for (const std::string& name : expected)
        EXPECT_TRUE(table.count(name)) << "missing row: " << name;
    for (const std::string& name : table)
        EXPECT_TRUE(expected.count(name)) << "unexpected row: " << name;
    EXPECT_EQ(table.size(), 159u);
}

TEST(DetectionCatalogue, NamesMatchWithoutRegardToLetterCaseOnly) {
    ASSERT_NE(findDetectionRow("ZCL FOR sonygigecam 2.12.2 - windows 7 (32 BIT)"), nullptr);
    EXPECT_EQ(findDetectionRow("ZCL FOR sonygigecam 2.12.2 - windows 7 (32 BIT)")->name,
              "ZCL for SONYGigECAM 2.12.2 - Windows 7 (32 bit)");
    EXPECT_EQ(detectedStatus("zcl for sonygigecam 2.12.2 - windows 7 (32 bit)"), kStatusInstalled);
    EXPECT_EQ(detectedStatus("ZCL for SONYGigECAM 2.12.2 - Windows 7 (32 bit) "), kStatusNotInstalled);
    EXPECT_EQ(detectedStatus("ZCL for SONYGigECAM 2.12.2"), kStatusNotInstalled);
    EXPECT_EQ(detectedStatus(""), kStatusNotInstalled);
}

class RegistryRows : public ::testing::Test {
protected:
    RegistryState registry;
};

TEST_F(RegistryRows, ValuesUnderTheUserHiveCountAndTextsCompareExactly) {
    const char* row = "MS VC++ 2017 Redist 14.15.26706";
    const char* key = "{7e9fae12-5bbf-47fb-b944-09c49e75c061}";
    EXPECT_EQ(detectedStatus(row), kStatusNotInstalled);
    ASSERT_TRUE(registry.setUninstallValue(HKEY_CURRENT_USER, key, "DisplayName",
                                           "Microsoft Visual C++ 2017 Redistributable (x86) - 14.15.26706"));
    EXPECT_EQ(detectedStatus(row), kStatusInstalled);
    ASSERT_TRUE(registry.setUninstallValue(HKEY_LOCAL_MACHINE, key, "DisplayName",
                                           "Microsoft Visual C++ 2017 Redistributable (X86) - 14.15.26706"));
    EXPECT_EQ(detectedStatus(row), kStatusInstalled) << "the user hive still holds the expected text";
    ASSERT_TRUE(registry.setUninstallValue(HKEY_CURRENT_USER, key, "DisplayName",
                                           "microsoft visual c++ 2017 redistributable (x86) - 14.15.26706"));
    EXPECT_EQ(detectedStatus(row), kStatusReinstallNeeded);
}

TEST_F(RegistryRows, CameraSuitesFollowTheirKeysAndVersions) {
    registry.setUninstallValue(HKEY_LOCAL_MACHINE, "{ffcf4e1b-f1d3-445b-8821-27942b95bc88}", "DisplayVersion",
                               "5.0.10.10613");
    EXPECT_EQ(detectedStatus("Pylon 5 Camera Software Suite 5.0.5.8999"), kStatusNotInstalled);
    EXPECT_EQ(detectedStatus("Pylon 5 Camera Software Suite 5.0.10.10613"), kStatusInstalled);
    EXPECT_EQ(detectedStatus("Pylon 5 Camera Software Suite 5.0.12.11830"), kStatusVersionMismatch);
    EXPECT_EQ(detectedStatus("Pylon 6 Camera Software Suite 6.1.0.19674"), kStatusVersionMismatch);

    registry.setUninstallValue(HKEY_CURRENT_USER, "MVS", "DisplayVersion", "2.3.1");
    EXPECT_EQ(detectedStatus("MVS 2.2.3"), kStatusVersionMismatch);
    EXPECT_EQ(detectedStatus("MVS 2.3.1"), kStatusInstalled);
    EXPECT_EQ(detectedStatus("MVS 2.4.0"), kStatusNotInstalled);

    registry.setUninstallValue(HKEY_LOCAL_MACHINE, "TightVNC", "DisplayVersion", "2.6.3.0");
    EXPECT_EQ(detectedStatus("TightVNC 2.6.4 - 32 bit"), kStatusVersionMismatch);
    registry.setUninstallValue(HKEY_LOCAL_MACHINE, "TightVNC", "DisplayVersion", "2.6.4.0");
    EXPECT_EQ(detectedStatus("TightVNC 2.6.4 - 32 bit"), kStatusInstalled);

    registry.setUninstallValue(HKEY_CURRENT_USER, "Speccy", "DisplayVersion", "1.25");
    EXPECT_EQ(detectedStatus("Speccy v1.25"), kStatusInstalled);
    registry.setUninstallValue(HKEY_LOCAL_MACHINE, "TeamViewer", "DisplayVersion", "13.0.5640");
    EXPECT_EQ(detectedStatus("Orvanto TeamViewer 13 Host"), kStatusNotInstalled)
        << "needs its UninstallString";
    registry.setUninstallValue(HKEY_LOCAL_MACHINE, "TeamViewer", "UninstallString", "uninstall.exe");
    EXPECT_EQ(detectedStatus("Orvanto TeamViewer 13 Host"), kStatusInstalled);
}

TEST_F(RegistryRows, FrameworkReaderAndInstallerProbes) {
    const char* net = "SOFTWARE\\Microsoft\\NET Framework Setup\\NDP\\v2.0.50727";
    registry.setDword(HKEY_LOCAL_MACHINE, net, "Install", 0);
    EXPECT_EQ(detectedStatus("Microsoft .Net 2.0.50727.42 Redist"), kStatusNotInstalled);
    registry.setDword(HKEY_LOCAL_MACHINE, net, "Install", 1);
    EXPECT_EQ(detectedStatus("Microsoft .Net 2.0.50727.42 Redist"), kStatusInstalled);

    registry.createKey(HKEY_LOCAL_MACHINE, "SOFTWARE\\Adobe\\Acrobat Reader");
    EXPECT_EQ(detectedStatus("Adobe Acrobat Reader"), kStatusInstalled);
    registry.undo();
    EXPECT_EQ(detectedStatus("Adobe Acrobat Reader"), kStatusNotInstalled);

    // The probe reads "Msi.dll" of the 32-bit system folder. A prefix
    // without 32-bit support has none; the native one stands in for it then.
    std::string system32, systemX86;
    ASSERT_TRUE(hnSystemFolder(systemX86));
    char native[MAX_PATH];
    ::GetSystemDirectoryA(native, MAX_PATH);
    system32 = native;
    std::string msiX86 = systemX86 + "\\Msi.dll";
    bool placed = false;
    if (!fileExists(msiX86)) {
        EXPECT_EQ(detectedStatus("Windows Installer 3.1"), kStatusNotInstalled);
        placed = ::CopyFileA((system32 + "\\msi.dll").c_str(), msiX86.c_str(), TRUE) != FALSE;
        ASSERT_TRUE(placed);
    }
    EXPECT_EQ(detectedStatus("Windows Installer 3.1"), kStatusInstalled);
    if (placed)
        ::DeleteFileA(msiX86.c_str());
}

TEST_F(RegistryRows, Python36NeedsItsVersionAndBothFoldersOnThePath) {
    FakeInterpreter python36("3.6-32");
    const char* key = "{b43c5985-05a6-4dc7-be5f-85f504d498d0}";
    const char* environment = "System\\CurrentControlSet\\Control\\Session Manager\\Environment";
    registry.setUninstallValue(HKEY_CURRENT_USER, key, "DisplayVersion", "3.6.6150.0");
    registry.setString(HKEY_LOCAL_MACHINE, environment, "Path", "C:\\windows;" + python36.folder());
    EXPECT_EQ(detectedStatus("Python 3.6.6"), kStatusReinstallNeeded);
    std::string upper = python36.folder() + "SCRIPTS\\";
    std::transform(upper.begin(), upper.end(), upper.begin(), ::toupper);
    registry.setString(HKEY_LOCAL_MACHINE, environment, "Path", "C:\\windows;" + upper);
    EXPECT_EQ(detectedStatus("Python 3.6.6"), kStatusInstalled)
        << "letter case ignored, folder found in Scripts";
    registry.setString(HKEY_LOCAL_MACHINE, environment, "Path",
                       std::string(5000, 'x') + ";" + python36.folder() + ";" + python36.folder() +
                           "Scripts\\");
    EXPECT_EQ(detectedStatus("Python 3.6.6"), kStatusInstalled) << "a Path beyond 4096 characters";
    registry.setUninstallValue(HKEY_CURRENT_USER, key, "DisplayVersion", "3.6.5150.0");
    EXPECT_EQ(detectedStatus("Python 3.6.6"), kStatusVersionMismatch);
}

TEST_F(RegistryRows, OldPython27InstallersAndTheirVersionLists) {
    registry.setUninstallValue(HKEY_LOCAL_MACHINE, "pywin32-py2.7", "DisplayName", "Python 2.7 pywin32-221");
    std::string detail;
    EXPECT_EQ(detectedStatus("pywin32-219.win32-py2.7", &detail), kStatusVersionMismatch);
    EXPECT_EQ(detail, "pywin32-221.win32-py2.7");
    EXPECT_EQ(detectedStatus("pywin32-221.win32-py2.7", &detail), kStatusInstalled);
    EXPECT_EQ(detail, "") << "no list for a row in order";

    registry.setUninstallValue(HKEY_CURRENT_USER, "MySQL-python-py2.7", "DisplayName",
                               "Python 2.7 MySQL-python-1.2.3");
    EXPECT_EQ(detectedStatus("MySQL-python-1.2.4b4.win32-py2.7", &detail), kStatusVersionMismatch);
    EXPECT_EQ(detail, "Unknown");
}

// Rows of Windows Installer products, against the packages installed for the
// whole run.
TEST(WindowsInstallerRows, ProductsVersionsAndNames) {
    // The runtime has no folder here, so no Python integration either.
    EXPECT_EQ(detectedStatus("Orvanto Version XV 15.0.0.774 Runtime"), kStatusReinstallNeeded);
    EXPECT_EQ(detectedStatus("Orvanto Kadrix Version XV 15.0.0.774 SDK"), kStatusVersionMismatch);
    EXPECT_EQ(detectedStatus("Orvanto Vision Software Version XV 15.0.0.774"), kStatusNotInstalled);
    // The installed name differs from the expected one in letter case only.
    EXPECT_EQ(detectedStatus("Pylon 4 Camera Software Suite 4.2.2.5468 - 64 bit"), kStatusInstalled);

    for (const char* row : {"ZCL for SONYGigECAM 2.12 - 32 bit", "ZCL for SONYGigECAM 2.12 - 64 bit"})
        EXPECT_EQ(detectedStatus(row), kStatusVersionMismatch) << row;
    for (const char* row : {"ZCL for SONYGigECAM 2.12.2 - Windows 7 (32 bit)",
                            "ZCL for SONYGigECAM 2.12.2 - Windows 7 (64 bit)",
                            "ZCL for SONYGigECAM 2.12.2 - Windows 8 (32 bit)",
                            "ZCL for SONYGigECAM 2.12.2 - Windows 8 (64 bit)"})
        EXPECT_EQ(detectedStatus(row), kStatusInstalled) << row;

    std::string detail;
    EXPECT_EQ(detectedStatus("Paint.net 4.0.19", &detail), kStatusVersionMismatch);
    EXPECT_EQ(detail, "Paint.net 4.2.12");
    EXPECT_EQ(detectedStatus("Paint.net 4.2.12"), kStatusInstalled);

    // Version lists exist only for the families that have them, and only for
    // the two words that call for one.
    Row sdk("Orvanto Kadrix Version XV 15.0.0.774 SDK");
    sdk.statusText = kStatusVersionMismatch;
    EXPECT_EQ(detectStatusDetail(*sdk.element), 0);
    Row paint("Paint.net 4.0.19");
    paint.statusText = kStatusReinstallNeeded;
    paint.element->statusDetail = "left alone";
    EXPECT_EQ(detectStatusDetail(*paint.element), 1);
    EXPECT_EQ(paint.element->statusDetail, "left alone");
}

TEST(WindowsInstallerRows, ProductsInstalledForTheUserOnlyAreFound) {
    EXPECT_TRUE(hnCheckInstallations::isMsiProductInstalled("{D71C967C-8709-4334-BF16-952469E96DCD}"));
    EXPECT_EQ(detectedStatus("TightVNC 2.6.4 - 64 bit"), kStatusInstalled);
    EXPECT_EQ(detectedStatus("TightVNC 2.6.4 - 32 bit"), kStatusNotInstalled);
    EXPECT_FALSE(hnCheckInstallations::isMsiProductInstalled("{981B8EDC-E693-4F22-9694-C0FF8E56F134}"));
    EXPECT_FALSE(hnCheckInstallations::isMsiProductInstalled(nullptr));
}

TEST(WindowsInstallerRows, Python27ReleasesSideBySide) {
    EXPECT_EQ(hnCheckInstallations::countInstalledPython27Products(), 1);
    EXPECT_EQ(detectedStatus("Python 2.7.9"), kStatusInstalled);
    EXPECT_EQ(detectedStatus("Python 2.7.13"), kStatusNotInstalled);
    {
        InstalledPackage python2713("python2713", "{4A656C6C-D24A-473F-9747-3A8D00907A03}");
        ASSERT_TRUE(python2713.installed());
        EXPECT_EQ(hnCheckInstallations::countInstalledPython27Products(), 2);
        EXPECT_EQ(detectedStatus("Python 2.7.9"), kStatusNotInstalled);
        EXPECT_EQ(detectedStatus("Python 2.7.13"), kStatusVersionMismatch);
    }
    // A single 2.7 release that is neither of the two shipped ones.
    ASSERT_EQ(runMsiexec("/x {79F081BF-7454-43DB-BD8F-9EE596813232} /qn"), 0);
    {
        InstalledPackage python2715("python2715", "{3A13A1D4-2D2B-4B0C-9E5A-6A3F7C0B2715}");
        ASSERT_TRUE(python2715.installed());
        EXPECT_EQ(detectedStatus("Python 2.7.9"), kStatusVersionMismatch);
        EXPECT_EQ(detectedStatus("Python 2.7.13"), kStatusNotInstalled);
    }
    EXPECT_EQ(detectedStatus("Python 2.7.9"), kStatusNotInstalled);
    ASSERT_EQ(runMsiexec("/i \"" + testPackagePath("python279") + "\" /qn"), 0);
    EXPECT_EQ(detectedStatus("Python 2.7.9"), kStatusInstalled);
}

TEST(WindowsInstallerRows, RuntimeFolderNeedsTheRuntimeUnderItsName) {
    FakeRuntime runtime;
    ASSERT_TRUE(writeFileAt(runtime.path("SMCameraClient.dll"), "driver"));
    std::string folder;
    ASSERT_TRUE(hnCheckInstallations::getRuntimeFolder(folder));
    EXPECT_EQ(folder, runtime.folder());
    EXPECT_EQ(detectedStatus("Shared Memory Camera Driver"), kStatusInstalled);

    ASSERT_EQ(runMsiexec("/x " + std::string(kRuntimeProductCode) + " /qn"), 0);
    {
        InstalledPackage renamed("runtime-renamed", kRuntimeProductCode);
        ASSERT_TRUE(renamed.installed());
        EXPECT_FALSE(hnCheckInstallations::getRuntimeFolder(folder));
        EXPECT_EQ(detectedStatus("Orvanto Version XV 15.0.0.774 Runtime"), kStatusVersionMismatch);
        EXPECT_EQ(detectedStatus("Shared Memory Camera Driver"), kStatusNotInstalled)
            << "its file is still there";
    }
    ASSERT_EQ(runMsiexec("/i \"" + testPackagePath("runtime") + "\" /qn"), 0);
    EXPECT_EQ(detectedStatus("Shared Memory Camera Driver"), kStatusInstalled);
}

} // namespace
