#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <windows.h>

#include "app/FileHelpers.h"
#include "app/SystemView.h"
#include "install/CheckInstallations.h"
#include "app/InstalledProducts.h"
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

// A sample of rows across the families, typed in from the component
// catalogue as data: product codes, keys, values and the order of the checks
// with the word each one writes. The table's probes are read back as text.
namespace {

std::string probeText(const hnProbe& p, const std::string& rowName) {
    auto text = [](const char* t) { return std::string(t ? t : ""); };
    std::string out;
    switch (p.kind) {
    case hnProbeKind::MsiInstalled:
        out = "product " + text(p.a);
        break;
    case hnProbeKind::MsiVersion:
        out = "product " + text(p.a) + " version " + text(p.b);
        break;
    case hnProbeKind::MsiNameSame:
        out = "product " + text(p.a) + " named " + (p.b ? text(p.b) : rowName);
        break;
    case hnProbeKind::KeyPresent:
        out = "key " + text(p.a);
        break;
    case hnProbeKind::ValuePresent:
        out = "key " + text(p.a) + " value " + text(p.b);
        break;
    case hnProbeKind::ValueEqual:
        out = "key " + text(p.a) + " value " + text(p.b) + " = " + text(p.c);
        break;
    case hnProbeKind::Py27CountAbove:
        out = "py27 count > " + std::to_string(p.n);
        break;
    case hnProbeKind::Py27CountOneNeedsProduct:
        out = "py27 count 1 needs product " + text(p.a);
        break;
    case hnProbeKind::Pip:
        out = "pip " + text(p.a);
        break;
    case hnProbeKind::PipVersion:
        out = "pip " + text(p.a) + " version " + text(p.c) + (p.b ? " excluding " + text(p.b) : "");
        break;
    case hnProbeKind::Pip36:
        out = "pip36 " + text(p.a);
        break;
    case hnProbeKind::Pip36Version:
        out = "pip36 " + text(p.a) + " version " + text(p.c) + (p.b ? " excluding " + text(p.b) : "");
        break;
    case hnProbeKind::LegacyDuplicate:
        out = "duplicate " + text(p.a) + " key " + text(p.b) + " old " + text(p.c);
        break;
    case hnProbeKind::OpenCvCountAbove:
        out = "opencv count > " + std::to_string(p.n);
        break;
    case hnProbeKind::RuntimeEntry:
        out = "runtime " + text(p.a);
        break;
    case hnProbeKind::RuntimeFilesIdentical:
        out = "runtime " + text(p.a) + " same as " + text(p.b);
        break;
    case hnProbeKind::OpenCvFiles:
        out = "opencv files " + text(p.a);
        break;
    case hnProbeKind::TightVncVersion:
        out = "tightvnc version " + text(p.a);
        break;
    case hnProbeKind::Py36PathsAvailable:
        out = "py36 paths";
        break;
    case hnProbeKind::IppFiles:
        out = "ipp files";
        break;
    case hnProbeKind::SelectedPythonIntegration:
        out = "python selection";
        break;
    default:
        out = "kind " + std::to_string(static_cast<int>(p.kind));
    }
    return (p.negate ? "not " : "") + out;
}

std::string rowText(const hnDetectionRow& row) {
    std::string out;
    for (const hnProbe& p : row.presence)
        out += (out.empty() ? "" : row.presenceNeedsAll ? " and " : " or ") + probeText(p, row.name);
    for (const hnStatusCheck& check : row.checks)
        out += " | " + probeText(check.probe, row.name) + " -> " + check.word;
    return out;
}

const char* const VM = " -> Version Mismatch";
const char* const RN = " -> Reinstall Needed";
const char* const MV = " -> Multiple Versions";
const char* const IM = " -> Incomplete Module";

} // namespace

TEST(DetectionCatalogue, SampleRowsReadAsTheComponentCatalogue) {
    const std::string expected[][2] = {
        {"MS VC++ 2005 SP1 Redist", "product {7299052b-02a4-4627-81f2-1818da5d550d}"},
        {"MS VC++ 2017 Redist 14.15.26706",
         std::string("key {7e9fae12-5bbf-47fb-b944-09c49e75c061} value DisplayName | key "
                     "{7e9fae12-5bbf-47fb-b944-09c49e75c061} value DisplayName = Microsoft Visual C++ 2017 "
                     "Redistributable (x86) - 14.15.26706") +
             RN},
        {"Python 2.7.9",
         std::string("py27 count > 0 and not product {4A656C6C-D24A-473F-9747-3A8D00907A03} | "
                     "not py27 count > 1") +
             VM + " | py27 count 1 needs product {79F081BF-7454-43DB-BD8F-9EE596813232}" + VM},
        {"Python 3.6.6",
         std::string("key {b43c5985-05a6-4dc7-be5f-85f504d498d0} | key "
                     "{b43c5985-05a6-4dc7-be5f-85f504d498d0} value DisplayVersion = 3.6.6150.0") +
             VM + " | py36 paths" + RN},
        {"pywin32-221.win32-py2.7", std::string("key pywin32-py2.7 value DisplayName | py27 count > 0") + RN +
                                        " | key pywin32-py2.7 value DisplayName = Python 2.7 pywin32-221" +
                                        VM},
        {"numpy-1.16.4-cp27-cp27m-win32", std::string("key numpy-py2.7 or pip numpy | py27 count > 0") + RN +
                                              " | not duplicate numpy key numpy-py2.7 old 1.10.2" + MV +
                                              " | pip numpy version 1.16.4 excluding 1.16.4+" + VM},
        {"Python 27 extension - Shapely", std::string("pip Shapely | pip Shapely version 1.6.4.post2") + VM},
        {"Python 36 extension - matplotlib",
         std::string("pip36 matplotlib | pip36 matplotlib version 3.1.0") + VM},
        {"scipy-1.2.0-cp36-cp36m-win32", std::string("pip36 scipy | pip36 pythonnet version 2.3.0") + VM +
                                             " | pip36 scipy version 1.2.0" + VM},
        {"OpenCV 3.1.0", std::string("opencv count > 0 | not opencv count > 1") + MV +
                             " | runtime OpenCV310" + VM + " | opencv files OpenCV310" + IM +
                             " | py27 count > 0" + RN},
        {"opencv_python-4.1.0.25-cp27-cp27m-win32",
         std::string("opencv count > 0 | not opencv count > 1") + MV + " | py27 count > 0" + RN +
             " | pip opencv-python version 4.1.0.25" + VM + " | not runtime Python\\cv2.pyd" + RN},
        {"MVS 2.4.0",
         std::string("key HIK_MVS value DisplayVersion = 2.4.0 | key HIK_MVS value DisplayVersion = "
                     "2.4.0") +
             VM},
        {"MVS 3.2.0",
         std::string("key MVS SDK Runtime x86 value DisplayVersion = 3.2.0.3 | key MVS SDK Runtime "
                     "x86 value DisplayVersion = 3.2.0.3") +
             VM},
        {"Basler pylon SDK 2.3.5.2633 - 64 bit",
         std::string("product {D7F97581-F17B-48AD-B4BB-634AF0F78D39} | product "
                     "{D7F97581-F17B-48AD-B4BB-634AF0F78D39} version 2.3.2633") +
             VM},
        {"Pylon 4 Camera Software Suite 4.2.2.5468 - 32 bit",
         std::string("product {01F5DEBA-9FCF-4D3A-B0F6-74D29B5F8651} | product "
                     "{01F5DEBA-9FCF-4D3A-B0F6-74D29B5F8651} version 4.2.5468") +
             VM +
             " | product {01F5DEBA-9FCF-4D3A-B0F6-74D29B5F8651} named pylon 4 Camera Software Suite "
             "4.2.2.5468" +
             VM},
        {"Pylon 5 Camera Software Suite 5.0.10.10613",
         std::string(
             "key {7d1403fe-dc29-4331-b008-d8899a59ae1f} or key {4f492672-60bc-405e-ab6a-9e51ebb2f609} or "
             "key {ffcf4e1b-f1d3-445b-8821-27942b95bc88} | key {ffcf4e1b-f1d3-445b-8821-27942b95bc88} "
             "value DisplayVersion = 5.0.10.10613") +
             VM},
        {"AVT Fire Package 2.11",
         std::string("product {4E3FA21E-D211-49FE-B40E-360A78AF8B31} | product "
                     "{4E3FA21E-D211-49FE-B40E-360A78AF8B31} version 2.11") +
             VM + " | runtime uniAVTGrab.dll same as _Ref\\AVT\\uniAVTGrab_Fire_2_11.dll" + IM},
        {"Adam/Apax .NET Utility 2.05.10",
         std::string(
             "key {C2E6E999-4516-40D2-8191-79B5CB4B987B} value UninstallString or product "
             "{E0372F59-9433-4342-B0B2-5B06C42C1773} | not key {C2E6E999-4516-40D2-8191-79B5CB4B987B} "
             "value UninstallString") +
             VM + " | product {E0372F59-9433-4342-B0B2-5B06C42C1773} version 2.05.10" + VM},
        {"OPC Scout (SIMATIC NET OPC-Client V6.2-3133)",
         std::string(
             "key OPC CLIENT | key OPC CLIENT value DisplayName = SIMATIC NET OPC CLIENT V6.2 Build 3133") +
             VM},
        {"Orvanto PlantOPCClient 1.9.0.28",
         std::string("product {FC84F31D-53C5-49CC-A799-80BFF4724731} | product "
                     "{FC84F31D-53C5-49CC-A799-80BFF4724731} named Orvanto PlantOPCClient 1.9.0.28") +
             VM},
        {"Orvanto Version XV 15.0.0.774 Runtime",
         std::string("product {76C2FFEE-53C1-4382-B051-5CF47ED51327} | product "
                     "{76C2FFEE-53C1-4382-B051-5CF47ED51327} named Orvanto Version XV 15.0.0.774 Runtime") +
             VM + " | python selection" + RN},
        {"Orvanto 2018.0.0.992 IPP",
         std::string("runtime IPP924 or runtime IPP0802031069 or runtime IPP201800992 "
                     "| not runtime IPP924") +
             RN + " | not runtime IPP0802031069" + RN + " | ipp files" + IM},
        {"TightVNC 2.6.4 - 32 bit",
         std::string("key TightVNC or product {981B8EDC-E693-4F22-9694-C0FF8E56F134} | "
                     "tightvnc version {981B8EDC-E693-4F22-9694-C0FF8E56F134}") +
             VM},
        {"PerformanceTest 8.0", std::string("key PerformanceTest 8_is1 value QuietUninstallString | key "
                                            "PerformanceTest 8_is1 value DisplayVersion = 8.0.1022.0") +
                                    VM},
        {"Paint.net 4.2.12", std::string("product {F10AAD91-58DF-44EC-A647-810197141667} or product "
                                         "{7ADB1B05-39DE-4888-A72D-D1F3A791D45F} | product "
                                         "{7ADB1B05-39DE-4888-A72D-D1F3A791D45F} version 4.2.12") +
                                 VM},
    };
    for (const auto& row : expected) {
        const hnDetectionRow* found = findDetectionRow(row[0]);
        ASSERT_NE(found, nullptr) << row[0];
        EXPECT_EQ(rowText(*found), row[1]) << row[0];
    }
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
    // Key names compare without regard to letter case, as the registry's do.
    ASSERT_TRUE(registry.setUninstallValue(HKEY_CURRENT_USER, "{7E9FAE12-5BBF-47FB-B944-09C49E75C061}",
                                           "DisplayName",
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

// The utility's own package registers no value under the old installer's
// Uninstall key; a value there is a leftover of another version.
TEST(WindowsInstallerRows, AdamApaxUtilityFromItsOwnPackage) {
    const char* row = "Adam/Apax .NET Utility 2.05.10";
    const char* oldKey = "{C2E6E999-4516-40D2-8191-79B5CB4B987B}";
    EXPECT_EQ(detectedStatus(row), kStatusNotInstalled);
    InstalledPackage utility("adam-apax-2-05-10", "{E0372F59-9433-4342-B0B2-5B06C42C1773}");
    ASSERT_TRUE(utility.installed());
    EXPECT_EQ(detectedStatus(row), kStatusInstalled);
    {
        RegistryState registry;
        ASSERT_TRUE(registry.setUninstallValue(HKEY_LOCAL_MACHINE, oldKey, "UninstallString",
                                               "C:\\old\\uninstall.exe -remove"));
        EXPECT_EQ(detectedStatus(row), kStatusVersionMismatch);
    }
    EXPECT_EQ(detectedStatus(row), kStatusInstalled);
}

TEST(WindowsInstallerRows, ProductsInstalledForTheUserOnlyAreFound) {
    EXPECT_TRUE(hnCheckInstallations::isMsiProductInstalled("{D71C967C-8709-4334-BF16-952469E96DCD}"));
    EXPECT_EQ(detectedStatus("TightVNC 2.6.4 - 64 bit"), kStatusInstalled);
    EXPECT_EQ(detectedStatus("TightVNC 2.6.4 - 32 bit"), kStatusNotInstalled);
    EXPECT_FALSE(hnCheckInstallations::isMsiProductInstalled("{981B8EDC-E693-4F22-9694-C0FF8E56F134}"));
    EXPECT_FALSE(hnCheckInstallations::isMsiProductInstalled(nullptr));
}

TEST(WindowsInstallerRows, Python27ReleasesSideBySide) {
    // The product list kept between refreshes follows every installation and
    // removal, as a fresh enumeration does.
    hnInstalledProducts kept;
    auto keptMatches = [&kept] {
        return kept.codesNamed("Python 2.7", 5) == hnInstalledProducts::enumerateNamed("Python 2.7", 5);
    };
    EXPECT_EQ(hnCheckInstallations::countInstalledPython27Products(), 1);
    EXPECT_TRUE(keptMatches());
    EXPECT_EQ(detectedStatus("Python 2.7.9"), kStatusInstalled);
    EXPECT_EQ(detectedStatus("Python 2.7.13"), kStatusNotInstalled);
    {
        InstalledPackage python2713("python2713", "{4A656C6C-D24A-473F-9747-3A8D00907A03}");
        ASSERT_TRUE(python2713.installed());
        EXPECT_EQ(2u, kept.codesNamed("Python 2.7", 5).size());
        EXPECT_EQ(hnCheckInstallations::countInstalledPython27Products(), 2);
        EXPECT_EQ(detectedStatus("Python 2.7.9"), kStatusNotInstalled);
        EXPECT_EQ(detectedStatus("Python 2.7.13"), kStatusVersionMismatch);
    }
    EXPECT_TRUE(keptMatches());
    // A single 2.7 release that is neither of the two shipped ones.
    ASSERT_EQ(runMsiexec("/x {79F081BF-7454-43DB-BD8F-9EE596813232} /qn"), 0);
    EXPECT_TRUE(kept.codesNamed("Python 2.7", 5).empty());
    {
        InstalledPackage python2715("python2715", "{3A13A1D4-2D2B-4B0C-9E5A-6A3F7C0B2715}");
        ASSERT_TRUE(python2715.installed());
        EXPECT_TRUE(keptMatches());
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
