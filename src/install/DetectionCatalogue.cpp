#include "install/DetectionCatalogue.h"

#include <algorithm>
#include <cstring>
#include <memory>

#include "app/AppBase.h"
#include "app/FileHelpers.h"
#include "app/InstalledProducts.h"
#include "app/PleaseWaitDlg.h"
#include "app/ScopedHandle.h"
#include "app/SystemView.h"
#include "app/Text.h"
#include "install/CheckInstallations.h"
#include "install/FileSets.h"
#include "install/PythonEnvironment.h"
#include "download/InstallationElement.h"
#include "download/StatusWords.h"

namespace {

using K = hnProbeKind;
using Family = hnVersionFamily;

// Building blocks of the table.
hnProbe probe(K kind, const char* a = nullptr, const char* b = nullptr, const char* c = nullptr, int n = 0) {
    hnProbe p;
    p.kind = kind;
    p.a = a;
    p.b = b;
    p.c = c;
    p.n = n;
    return p;
}
hnProbe no(hnProbe p) {
    p.negate = !p.negate;
    return p;
}
hnProbe msi(const char* code) {
    return probe(K::MsiInstalled, code);
}
hnProbe msiVersion(const char* code, const char* version) {
    return probe(K::MsiVersion, code, version);
}
hnProbe sameName(const char* code, const char* name = nullptr) {
    return probe(K::MsiNameSame, code, name);
}
hnProbe key(const char* subKey) {
    return probe(K::KeyPresent, subKey);
}
hnProbe value(const char* subKey, const char* name) {
    return probe(K::ValuePresent, subKey, name);
}
hnProbe equals(const char* subKey, const char* name, const char* expected) {
    return probe(K::ValueEqual, subKey, name, expected);
}
hnProbe displayName(const char* subKey, const char* expected) {
    return equals(subKey, "DisplayName", expected);
}
hnProbe displayVersion(const char* subKey, const char* expected) {
    return equals(subKey, "DisplayVersion", expected);
}
hnProbe py27CountAbove(int n) {
    return probe(K::Py27CountAbove, nullptr, nullptr, nullptr, n);
}
hnProbe pip(const char* package) {
    return probe(K::Pip, package);
}
hnProbe pipVersion(const char* package, const char* version, const char* excluded = nullptr) {
    return probe(K::PipVersion, package, excluded, version);
}
hnProbe pip36(const char* package) {
    return probe(K::Pip36, package);
}
hnProbe pip36Version(const char* package, const char* version, const char* excluded = nullptr) {
    return probe(K::Pip36Version, package, excluded, version);
}
hnProbe openCvCountAbove(int n) {
    return probe(K::OpenCvCountAbove, nullptr, nullptr, nullptr, n);
}
hnProbe runtime(const char* relative) {
    return probe(K::RuntimeEntry, relative);
}

hnStatusCheck rn(hnProbe p) {
    return {p, kStatusReinstallNeeded};
}
hnStatusCheck vm(hnProbe p) {
    return {p, kStatusVersionMismatch};
}
hnStatusCheck mv(hnProbe p) {
    return {p, kStatusMultipleVersions};
}
hnStatusCheck im(hnProbe p) {
    return {p, kStatusIncompleteModule};
}

hnDetectionRow anyOf(std::string name, std::vector<hnProbe> presence, std::vector<hnStatusCheck> checks = {},
                     Family family = Family::None) {
    return {std::move(name), false, std::move(presence), std::move(checks), family};
}
hnDetectionRow allOf(std::string name, std::vector<hnProbe> presence, std::vector<hnStatusCheck> checks = {},
                     Family family = Family::None) {
    return {std::move(name), true, std::move(presence), std::move(checks), family};
}
// A Windows Installer product, optionally in one version.
hnDetectionRow product(std::string name, const char* code, const char* version = nullptr) {
    std::vector<hnStatusCheck> checks;
    if (version)
        checks.push_back(vm(msiVersion(code, version)));
    return anyOf(std::move(name), {msi(code)}, std::move(checks));
}
// A product whose installed name must be the expected one.
hnDetectionRow namedProduct(std::string name, const char* code) {
    return anyOf(std::move(name), {msi(code)}, {vm(sameName(code))});
}

const char* const kPython2713 = "{4A656C6C-D24A-473F-9747-3A8D00907A03}";
const char* const kPython279 = "{79F081BF-7454-43DB-BD8F-9EE596813232}";
const char* const kPython36Key = "{b43c5985-05a6-4dc7-be5f-85f504d498d0}";
const char* const kPaintNet4019 = "{F10AAD91-58DF-44EC-A647-810197141667}";
const char* const kPaintNet4212 = "{7ADB1B05-39DE-4888-A72D-D1F3A791D45F}";
const char* const kPylon5Keys[] = {
    "{7d1403fe-dc29-4331-b008-d8899a59ae1f}", "{4f492672-60bc-405e-ab6a-9e51ebb2f609}",
    "{ffcf4e1b-f1d3-445b-8821-27942b95bc88}", "{3ba2c6e4-350c-4929-b790-ca0aca3cfdfe}",
    "{abb3d5f4-60c0-4322-b3ca-218ade521495}"};

// Python 2.7 package rows of the old stand-alone installers and of pip.
hnDetectionRow legacyPackage(std::string name, const char* package, const char* legacyKey,
                             const char* legacyVersion, hnStatusCheck versionCheck, Family family) {
    return anyOf(std::move(name), {key(legacyKey), pip(package)},
                 {rn(py27CountAbove(0)), mv(no(probe(K::LegacyDuplicate, package, legacyKey, legacyVersion))),
                  versionCheck},
                 family);
}

// The Pylon 5 and 6 rows: present when one of the suite's keys up to the
// row's own is there.
hnDetectionRow pylonSuite(std::string name, int ownKey, hnStatusCheck check) {
    std::vector<hnProbe> keys;
    for (int i = 0; i <= ownKey; ++i)
        keys.push_back(key(kPylon5Keys[i]));
    return anyOf(std::move(name), keys, {check});
}

hnDetectionRow openCvFolderRow(std::string name, const char* folder, bool legacyDependencies) {
    std::vector<hnStatusCheck> checks = {mv(no(openCvCountAbove(1))), vm(runtime(folder)),
                                         im(probe(K::OpenCvFiles, folder)), rn(py27CountAbove(0))};
    if (legacyDependencies) {
        checks.push_back(rn(displayName("pyserial-py2.7", "Python 2.7 pyserial-2.7")));
        checks.push_back(rn(displayName("numpy-py2.7", "Python 2.7 numpy-1.10.2")));
        checks.push_back(rn(displayName("scipy-py2.7", "Python 2.7 scipy-0.16.1")));
    }
    return anyOf(std::move(name), {openCvCountAbove(0)}, checks, Family::Py27OpenCV);
}

hnDetectionRow openCvPipRow(std::string name, const char* package, const char* version) {
    return anyOf(std::move(name), {openCvCountAbove(0)},
                 {mv(no(openCvCountAbove(1))), rn(py27CountAbove(0)), vm(pipVersion(package, version)),
                  rn(no(runtime("Python\\cv2.pyd")))},
                 Family::Py27OpenCV);
}

hnDetectionRow openCvPy36Row(std::string name, const char* package, const char* version,
                             const char* excluded = nullptr) {
    return anyOf(std::move(name), {probe(K::Py36OpenCVInstalled)},
                 {mv(no(probe(K::Py36OpenCVDuplicated))), vm(pip36Version(package, version, excluded))},
                 Family::Py36OpenCV);
}

hnDetectionRow deepformRow(std::string name, const char* folder, int build) {
    return anyOf(
        std::move(name), {runtime(folder)},
        {im(probe(K::DeepformClrActive)), im(probe(K::DeepformFiles, folder, nullptr, nullptr, build))});
}

hnDetectionRow deepformPy36Row(std::string name, const char* folder, int build) {
    return anyOf(std::move(name), {runtime(folder)},
                 {im(pip36Version("pythonnet", "2.3.0")),
                  im(probe(K::DeepformFiles, folder, nullptr, nullptr, build))});
}

hnDetectionRow registryVersionRow(std::string name, const char* subKey, const char* version) {
    return anyOf(std::move(name), {displayVersion(subKey, version)}, {vm(displayVersion(subKey, version))});
}

std::vector<hnDetectionRow> buildCatalogue() {
    std::vector<hnDetectionRow> rows = {
        // Prerequisites.
        product("MS VC++ 2005 SP1 Redist", "{7299052b-02a4-4627-81f2-1818da5d550d}"),
        product("MS VC++ 2008 SP1 Redist", "{9A25302D-30C0-39D9-BD6F-21E6EC160475}"),
        product("MS VC++ 2010 SP1 Redist", "{F0C3E5D1-1ADE-321E-8167-68EF0DE699A5}"),
        anyOf("MS VC++ 2017 Redist 14.15.26706",
              {value("{7e9fae12-5bbf-47fb-b944-09c49e75c061}", "DisplayName")},
              {rn(displayName("{7e9fae12-5bbf-47fb-b944-09c49e75c061}",
                              "Microsoft Visual C++ 2017 Redistributable (x86) - 14.15.26706"))}),
        anyOf("MS VC++ 2015-2019 Redist (x86) 14.26.28720",
              {value("{86380aef-fd23-4fc3-8723-a98ccad8f2c6}", "DisplayName")},
              {rn(displayName("{86380aef-fd23-4fc3-8723-a98ccad8f2c6}",
                              "Microsoft Visual C++ 2015-2019 Redistributable (x86) - 14.26.28720"))}),
        anyOf("Microsoft .Net 2.0.50727.42 Redist", {probe(K::DotNet20)}),
        anyOf("Windows Installer 3.1", {probe(K::WindowsInstaller31)}),

        // Interpreters.
        allOf("Python 2.7.9", {py27CountAbove(0), no(msi(kPython2713))},
              {vm(no(py27CountAbove(1))), vm(probe(K::Py27CountOneNeedsProduct, kPython279))}),
        anyOf("Python 2.7.13", {msi(kPython2713)},
              {vm(no(py27CountAbove(1))), vm(probe(K::Py27CountOneNeedsProduct, kPython2713))}),
        anyOf("Python 3.6.6", {key(kPython36Key)},
              {vm(displayVersion(kPython36Key, "3.6.6150.0")), rn(probe(K::Py36PathsAvailable))}),

        // Python 2.7 packages of the old installers and of pip.
        anyOf("pywin32-219.win32-py2.7", {value("pywin32-py2.7", "DisplayName")},
              {rn(py27CountAbove(0)), vm(displayName("pywin32-py2.7", "Python 2.7 pywin32-219"))},
              Family::Py27Pywin32),
        anyOf("pywin32-221.win32-py2.7", {value("pywin32-py2.7", "DisplayName")},
              {rn(py27CountAbove(0)), vm(displayName("pywin32-py2.7", "Python 2.7 pywin32-221"))},
              Family::Py27Pywin32),
        anyOf("pywin32-223.win32-py2.7", {value("pywin32-py2.7", "DisplayName")},
              {rn(py27CountAbove(0)), vm(displayName("pywin32-py2.7", "Python 2.7 pywin32-223"))},
              Family::Py27Pywin32),
        legacyPackage("pyserial-2.7.win32", "pyserial", "pyserial-py2.7", "2.7",
                      vm(displayName("pyserial-py2.7", "Python 2.7 pyserial-2.7")), Family::Py27Pyserial),
        legacyPackage("pyserial-3.4-py2.py3-none-any", "pyserial", "pyserial-py2.7", "2.7",
                      vm(pipVersion("pyserial", "3.4")), Family::Py27Pyserial),
        legacyPackage("scipy-0.16.1-python2.7", "scipy", "scipy-py2.7", "0.16.1",
                      vm(displayName("scipy-py2.7", "Python 2.7 scipy-0.16.1")), Family::Py27Scipy),
        legacyPackage("scipy-1.0.0-cp27-cp27m-win32", "scipy", "scipy-py2.7", "0.16.1",
                      vm(pipVersion("scipy", "1.0.0")), Family::Py27Scipy),
        legacyPackage("scipy-1.1.0-cp27-cp27m-win32", "scipy", "scipy-py2.7", "0.16.1",
                      vm(pipVersion("scipy", "1.1.0")), Family::Py27Scipy),
        legacyPackage("scipy-1.2.2-cp27-cp27m-win32", "scipy", "scipy-py2.7", "0.16.1",
                      vm(pipVersion("scipy", "1.2.2")), Family::Py27Scipy),
        legacyPackage("numpy-1.10.2-python2.7", "numpy", "numpy-py2.7", "1.10.2",
                      vm(displayName("numpy-py2.7", "Python 2.7 numpy-1.10.2")), Family::Py27Numpy),
        legacyPackage("numpy-1.14.0+mkl-cp27-cp27m-win32", "numpy", "numpy-py2.7", "1.10.2",
                      vm(pipVersion("numpy", "1.14.0+mkl")), Family::Py27Numpy),
        legacyPackage("numpy-1.14.5+mkl-cp27-cp27m-win32", "numpy", "numpy-py2.7", "1.10.2",
                      vm(pipVersion("numpy", "1.14.5+mkl")), Family::Py27Numpy),
        legacyPackage("numpy-1.15.1+mkl-cp27-cp27m-win32", "numpy", "numpy-py2.7", "1.10.2",
                      vm(pipVersion("numpy", "1.15.1+mkl")), Family::Py27Numpy),
        legacyPackage("numpy-1.16.4-cp27-cp27m-win32", "numpy", "numpy-py2.7", "1.10.2",
                      vm(pipVersion("numpy", "1.16.4", "1.16.4+")), Family::Py27Numpy),
        legacyPackage("numpy-1.16.4+mkl-cp27-cp27m-win32", "numpy", "numpy-py2.7", "1.10.2",
                      vm(pipVersion("numpy", "1.16.4+mkl")), Family::Py27Numpy),
        anyOf(
            "MySQL-python-1.2.4b4.win32-py2.7", {key("MySQL-python-py2.7")},
            {rn(py27CountAbove(0)), vm(displayName("MySQL-python-py2.7", "Python 2.7 MySQL-python-1.2.4b4"))},
            Family::Py27MySQL),
    };

    // The recommended extensions of each interpreter: pip package and version.
    const struct {
        const char* package;
        const char* version;
    } py27Extensions[] = {{"scikit-image", "0.14.2"}, {"scikit-learn", "0.20.3"}, {"matplotlib", "2.2.4"},
                          {"Keras", "2.2.4"},         {"Sphinx", "1.8.5"},        {"enum34", "1.1.6"},
                          {"paho-mqtt", "1.4.0"},     {"opcua", "0.98.7"},        {"dxfgrabber", "0.7.5"},
                          {"Shapely", "1.6.4.post2"}, {"six", "1.12.0"},          {"Theano", "1.0.4"},
                          {"imutils", "0.5.2"}},
      py36Extensions[] = {{"Keras", "2.2.4"},         {"matplotlib", "3.1.0"}, {"scikit-learn", "0.21.2"},
                          {"scikit-image", "0.15.0"}, {"Sphinx", "2.0.1"},     {"enum34", "1.1.6"},
                          {"paho-mqtt", "1.4.0"},     {"opcua", "0.98.7"},     {"Shapely", "1.7.0"},
                          {"six", "1.12.0"},          {"Theano", "1.0.4"},     {"imutils", "0.5.2"}};
    for (const auto& extension : py27Extensions)
        rows.push_back(anyOf(std::string("Python 27 extension - ") + extension.package,
                             {pip(extension.package)},
                             {vm(pipVersion(extension.package, extension.version))}));
    for (const auto& extension : py36Extensions)
        rows.push_back(anyOf(std::string("Python 36 extension - ") + extension.package,
                             {pip36(extension.package)},
                             {vm(pip36Version(extension.package, extension.version))}));

    std::vector<hnDetectionRow> more = {
        // Python 3.6 packages.
        anyOf("pywin32-223-cp36-cp36m-win32", {pip36("pywin32")}, {vm(pip36Version("pywin32", "223"))},
              Family::Py36Pywin32),
        anyOf("pyserial-3.4-py2.py3-none-any-py36", {pip36("pyserial")},
              {mv(no(probe(K::Py36PyserialDuplicate))), vm(pip36Version("pyserial", "3.4"))},
              Family::Py36Pyserial),
        anyOf("scipy-1.2.0-cp36-cp36m-win32", {pip36("scipy")},
              {vm(pip36Version("pythonnet", "2.3.0")), vm(pip36Version("scipy", "1.2.0"))},
              Family::Py36Scipy),
        anyOf("scipy-1.3.0-cp36-cp36m-win32", {pip36("scipy")}, {vm(pip36Version("scipy", "1.3.0"))},
              Family::Py36Scipy),
        anyOf("scipy-1.3.1-cp36-cp36m-win32", {pip36("scipy")}, {vm(pip36Version("scipy", "1.3.1"))},
              Family::Py36Scipy),
        anyOf("numpy-1.15.4-cp36-none-win32", {pip36("numpy")},
              {vm(pip36Version("numpy", "1.15.4", "1.15.4+"))}, Family::Py36Numpy),
        anyOf("numpy-1.16.4-cp36-cp36m-win32", {pip36("numpy")},
              {vm(pip36Version("numpy", "1.16.4", "1.16.4+"))}, Family::Py36Numpy),
        anyOf("numpy-1.16.4+mkl-cp36-cp36m-win32", {pip36("numpy")},
              {vm(pip36Version("numpy", "1.16.4+mkl"))}, Family::Py36Numpy),

        // OpenCV for Python 2.7: runtime folders and pip wheels.
        openCvFolderRow("OpenCV 2.4.9 (Python 27)", "OpenCV249Py27", true),
        openCvFolderRow("OpenCV 3.0.0", "OpenCV300", false),
        openCvFolderRow("OpenCV 3.1.0", "OpenCV310", false),
        openCvFolderRow("OpenCV 3.2.0", "OpenCV320", false),
        openCvFolderRow("OpenCV 3.3.0", "OpenCV330", false),
        openCvFolderRow("OpenCV 3.3.1", "OpenCV331", false),
        openCvFolderRow("OpenCV 3.4.0", "OpenCV340", false),
        openCvPipRow("opencv_contrib_python-3.4.3.18-cp27-cp27m-win32", "opencv-contrib-python", "3.4.3.18"),
        openCvPipRow("opencv_contrib_python-4.1.0.25-cp27-cp27m-win32", "opencv-contrib-python", "4.1.0.25"),
        openCvPipRow("opencv_contrib_python-4.2.0.32-cp27-cp27m-win32", "opencv-contrib-python", "4.2.0.32"),
        openCvPipRow("opencv_python-3.4.3.18-cp27-cp27m-win32", "opencv-python", "3.4.3.18"),
        openCvPipRow("opencv_python-4.1.0.25-cp27-cp27m-win32", "opencv-python", "4.1.0.25"),
        openCvPipRow("opencv_python-4.2.0.32-cp27-cp27m-win32", "opencv-python", "4.2.0.32"),

        // OpenCV for Python 3.6.
        openCvPy36Row("opencv_contrib_python-3.4.3.18-cp36-cp36m-win32", "opencv-contrib-python", "3.4.3.18"),
        openCvPy36Row("opencv_python-3.4.3.18-cp36-cp36m-win32", "opencv-python", "3.4.3.18"),
        openCvPy36Row("opencv_python-4.0.0-cp36-cp36m-win32", "opencv-python", "4.0.0", "4.0.0+"),
        openCvPy36Row("opencv_python-4.0.0+contrib-cp36-cp36m-win32", "opencv-python", "4.0.0+contrib"),
        openCvPy36Row("opencv_contrib_python-4.1.0.25-cp36-cp36m-win32", "opencv-contrib-python", "4.1.0.25"),
        openCvPy36Row("opencv_contrib_python-4.2.0.32-cp36-cp36m-win32", "opencv-contrib-python", "4.2.0.32"),
        openCvPy36Row("opencv_python-4.1.0.25-cp36-cp36m-win32", "opencv-python", "4.1.0.25"),
        openCvPy36Row("opencv_python-4.2.0.32-cp36-cp36m-win32", "opencv-python", "4.2.0.32"),
        openCvPy36Row("opencv_contrib_python-4.2.0.34-cp36-cp36m-win32", "opencv-contrib-python", "4.2.0.34"),
        openCvPy36Row("opencv_python-4.2.0.34-cp36-cp36m-win32", "opencv-python", "4.2.0.34"),

        // .NET bridge packages.
        anyOf("pythonnet-2.3.0-cp27-cp27m-win32", {pip("pythonnet")},
              {vm(pipVersion("pythonnet", "2.3.0")), rn(no(probe(K::ClrBridgeFiles)))}),
        anyOf("pythonnet-2.3.0-cp36-cp36m-win32", {pip36("pythonnet")},
              {vm(pip36Version("pythonnet", "2.3.0"))}, Family::Py36PythonNet),

        // 3D toolbox builds.
        deepformRow("Deepform Vision 1.0.0.333", "DeepformVision_1_0_0_333", 333),
        deepformRow("Deepform Vision 1.0.0.355", "DeepformVision_1_0_0_355", 355),
        deepformRow("Deepform Vision 1.0.0.383", "DeepformVision_1_0_0_383", 383),
        deepformRow("Deepform Vision 1.0.0.550", "DeepformVision_1_0_0_550", 550),
        deepformRow("Deepform Vision 1.0.0.612", "DeepformVision_1_0_0_612", 612),
        deepformRow("Deepform Vision 1.0.0.719", "DeepformVision_1_0_0_719", 719),
        deepformRow("Deepform Vision 1.0.0.758", "DeepformVision_1_0_0_758", 758),
        deepformRow("Deepform Vision 1.0.0.819", "DeepformVision_1_0_0_819", 819),
        deepformRow("Deepform Vision 1.0.0.1114", "DeepformVision_1_0_0_1114", 1114),
        deepformPy36Row("Deepform Vision 1.0.0.819(02) (Python 36)", "DeepformVisionPy36_1_0_0_819_02", 819),
        deepformPy36Row("Deepform Vision 1.0.0.1114 (Python 36)", "DeepformVisionPy36_1_0_0_1114", 1114),

        // Camera software and drivers.
        anyOf("Imaging Source - IC Capture 2.3", {key("ICCapture22_is1")},
              {vm(displayName("ICCapture22_is1", "IC Capture 2.3"))}),
        anyOf("MVS 2.2.3", {key("MVS")}, {vm(displayVersion("MVS", "2.2.3"))}),
        registryVersionRow("MVS 2.3.1", "MVS", "2.3.1"),
        registryVersionRow("MVS 2.4.0", "HIK_MVS", "2.4.0"),
        registryVersionRow("MVS 3.0.0", "HIK_MVS", "3.0.0"),
        registryVersionRow("MVS 3.1.0", "HIK_MVS", "3.1.0"),
        registryVersionRow("MVS 3.2.0", "MVS SDK Runtime x86", "3.2.0.3"),
        product("ubCore 6.00 Pro 1394a - 1394b drivers - 32 bit", "{F65FE148-FCF5-42F7-8803-FA0B7DA8B8A4}"),
        product("ubCore 6.00 Pro 1394a - 1394b drivers - 64 bit", "{F65FE148-FCF5-42F7-8803-FA0B7DA8B8A4}"),
        product("Fire-i Application 4.0 - 32 bit", "{1AAA20E7-B683-4F94-A14C-C8186D0EC55F}"),
        product("Fire-i Application 4.0 - 64 bit", "{7FC31537-1378-4B54-9BB6-1F43F4C6AE46}"),
        product("ZCL for SONYGigECAM 2.12 - 32 bit", "{1A23CB3F-7B04-4CFD-80BE-81D2ACB10167}", "2.12"),
        product("ZCL for SONYGigECAM 2.12 - 64 bit", "{1A23CB3F-7B04-4CFD-80BE-81D2ACB10167}", "2.12"),
        product("ZCL for SONYGigECAM 2.12.2 - Windows 7 (32 bit)", "{1A23CB3F-7B04-4CFD-80BE-81D2ACB10167}",
                "2.12.2"),
        product("ZCL for SONYGigECAM 2.12.2 - Windows 7 (64 bit)", "{1A23CB3F-7B04-4CFD-80BE-81D2ACB10167}",
                "2.12.2"),
        product("ZCL for SONYGigECAM 2.12.2 - Windows 8 (32 bit)", "{1A23CB3F-7B04-4CFD-80BE-81D2ACB10167}",
                "2.12.2"),
        product("ZCL for SONYGigECAM 2.12.2 - Windows 8 (64 bit)", "{1A23CB3F-7B04-4CFD-80BE-81D2ACB10167}",
                "2.12.2"),
        product("Basler pylon SDK 2.3.5.2633 - 32 bit", "{2393D986-319B-40BF-AEBD-6E0EFC5B5F57}", "2.3.2633"),
        product("Basler pylon SDK 2.3.5.2633 - 64 bit", "{D7F97581-F17B-48AD-B4BB-634AF0F78D39}", "2.3.2633"),
        product("Basler pylon SDK 3.2.3.3215 - 32 bit", "{7701C433-7FAB-43ED-B117-762AC408A61C}", "3.2.3215"),
        product("Basler pylon SDK 3.2.3.3215 - 64 bit", "{7701C433-7FAB-43ED-B117-762AC408A61C}", "3.2.3215"),
        product("Basler pylon 4 Runtime 4.0.1.3425 - 32 bit", "{37A8A264-ADAE-4226-BA66-B9FE9FFB1F89}",
                "4.0.3425"),
        product("Basler pylon 4 Runtime 4.0.1.3425 - 64 bit", "{37A8A264-ADAE-4226-BA66-B9FE9FFB1F89}",
                "4.0.3425"),
        anyOf("Pylon 4 Camera Software Suite 4.2.2.5468 - 32 bit",
              {msi("{01F5DEBA-9FCF-4D3A-B0F6-74D29B5F8651}")},
              {vm(msiVersion("{01F5DEBA-9FCF-4D3A-B0F6-74D29B5F8651}", "4.2.5468")),
               vm(sameName("{01F5DEBA-9FCF-4D3A-B0F6-74D29B5F8651}",
                           "pylon 4 Camera Software Suite 4.2.2.5468"))}),
        anyOf("Pylon 4 Camera Software Suite 4.2.2.5468 - 64 bit",
              {msi("{01F5DEBA-9FCF-4D3A-B0F6-74D29B5F8651}")},
              {vm(msiVersion("{01F5DEBA-9FCF-4D3A-B0F6-74D29B5F8651}", "4.2.5468")),
               vm(sameName("{01F5DEBA-9FCF-4D3A-B0F6-74D29B5F8651}",
                           "pylon 4 Camera Software Suite 4.2.2.5468"))}),
        pylonSuite("Pylon 5 Camera Software Suite 5.0.5.8999", 1,
                   vm(displayName(kPylon5Keys[1], "pylon 5 Camera Software Suite 5.0.5.8999"))),
        pylonSuite("Pylon 5 Camera Software Suite 5.0.10.10613", 2,
                   vm(displayVersion(kPylon5Keys[2], "5.0.10.10613"))),
        pylonSuite("Pylon 5 Camera Software Suite 5.0.12.11830", 3,
                   vm(displayVersion(kPylon5Keys[3], "5.0.12.11830"))),
        pylonSuite("Pylon 6 Camera Software Suite 6.1.0.19674", 4,
                   vm(displayVersion(kPylon5Keys[4], "6.1.0.19674"))),
        anyOf("AVT Universal Package 2.2.0", {msi("{E15958CD-D2FC-47ED-AE1A-57C9FEC1DC84}")},
              {vm(msiVersion("{E15958CD-D2FC-47ED-AE1A-57C9FEC1DC84}", "2.2.0")),
               im(probe(K::RuntimeFilesIdentical, "uniAVTGrab.dll",
                        "_Ref\\AVT\\uniAVTGrab_Universal_2_2_0.dll"))}),
        anyOf("AVT Fire Package 2.11", {msi("{4E3FA21E-D211-49FE-B40E-360A78AF8B31}")},
              {vm(msiVersion("{4E3FA21E-D211-49FE-B40E-360A78AF8B31}", "2.11")),
               im(probe(K::RuntimeFilesIdentical, "uniAVTGrab.dll", "_Ref\\AVT\\uniAVTGrab_Fire_2_11.dll"))}),
        anyOf("Shared Memory Camera Driver", {runtime("SMCameraClient.dll")},
              {im(runtime("SMCameraClient.dll"))}),

        // I/O drivers and OPC.
        product("DAQNavi PCI-1730 3.1.1.0", "{6D3F63BF-82B3-402C-B904-19970D4718F6}", "3.1.1.0"),
        product("DAQNavi USB-4711A 3.1.3.0", "{6D87DA37-CBC4-46E2-9183-91B52DC60D02}", "3.1.3.0"),
        product("DAQNavi USB-4750 3.1.1.0", "{E8881CC8-EB89-49FA-B2A5-986488C75164}", "3.1.1.0"),
        product("DAQNavi SDK and Drivers 3.1.4.0", "{88B93413-6464-4DBB-AFDF-400AEEB20E7D}", "3.1.4.0"),
        anyOf("Adam/Apax .NET Utility 2.05.10",
              {value("{C2E6E999-4516-40D2-8191-79B5CB4B987B}", "UninstallString"),
               msi("{E0372F59-9433-4342-B0B2-5B06C42C1773}")},
              // A value of the old installer's Uninstall key is a leftover of
              // another version; the utility's own package leaves none.
              {vm(no(value("{C2E6E999-4516-40D2-8191-79B5CB4B987B}", "UninstallString"))),
               vm(msiVersion("{E0372F59-9433-4342-B0B2-5B06C42C1773}", "2.05.10"))}),
        anyOf("OPC Scout (SIMATIC NET OPC-Client V6.2-3133)", {key("OPC CLIENT")},
              {vm(displayName("OPC CLIENT", "SIMATIC NET OPC CLIENT V6.2 Build 3133"))}),
        product("MatrikonOPC Server for Simulation", "{0D0DBA0E-69F7-45AD-9D09-2E61E1B41190}", "1.5.0.0"),
        anyOf("Orvanto PlantOPCClient 1.9.0.28", {msi("{FC84F31D-53C5-49CC-A799-80BFF4724731}")},
              {vm(sameName("{FC84F31D-53C5-49CC-A799-80BFF4724731}", "Orvanto PlantOPCClient 1.9.0.28"))}),
        anyOf("Orvanto OPC Server 1.0.0.7", {probe(K::OpcServerPresent)},
              {rn(key("Vuzurerezazo ZivEraravA")), vm(probe(K::OpcServerIdentity))}),

        // Core components.
        anyOf("Orvanto Version XV 15.0.0.774 Runtime", {msi(kRuntimeProductCode)},
              {vm(sameName(kRuntimeProductCode)), rn(probe(K::SelectedPythonIntegration))}),
        namedProduct("Orvanto Kadrix Version XV 15.0.0.774 SDK", "{13DB2D91-4761-49EF-A8D4-E7095E9BADD7}"),
        namedProduct("Orvanto Vision Software Version XV 15.0.0.774",
                     "{356E8CAF-215F-46B8-B8E4-625FD2FD8666}"),
        namedProduct("Orvanto Watchdog 3.0.0.11", "{0339BD1D-BA38-4F90-A2FD-CC136286A463}"),
        anyOf("Orvanto 2018.0.0.992 IPP",
              {runtime("IPP924"), runtime("IPP0802031069"), runtime("IPP201800992")},
              {rn(no(runtime("IPP924"))), rn(no(runtime("IPP0802031069"))), im(probe(K::IppFiles))}),
        anyOf("Orvanto Quiver VAVUZirar Config 4.0",
              {probe(K::DocumentsEntry, "Orvanto 15.0\\Orvanto Quiver VAVUZirar Config 4.0")},
              {im(probe(K::SmartCardConfigFiles))}),
        anyOf("Orvanto Quiver VAVUZirar Program and Driver 5.0",
              {probe(K::DocumentsEntry, "Orvanto 15.0\\Orvanto Quiver VAVUZirar Program and Driver 5.0")},
              {im(probe(K::SmartCardProgramFiles))}),
        anyOf("Zentra API 1.0.0.3 Files", {probe(K::ZentraFiles)}, {im(probe(K::ZentraFiles))}),
        anyOf("Cycle Controller 1.0.0.1(3587)", {probe(K::CycleControllerFiles)},
              {vm(probe(K::CycleControllerVersion))}),

        // Utilities.
        anyOf("TightVNC 2.6.4 - 32 bit", {key("TightVNC"), msi("{981B8EDC-E693-4F22-9694-C0FF8E56F134}")},
              {vm(probe(K::TightVncVersion, "{981B8EDC-E693-4F22-9694-C0FF8E56F134}"))}),
        anyOf("TightVNC 2.6.4 - 64 bit", {key("TightVNC"), msi("{D71C967C-8709-4334-BF16-952469E96DCD}")},
              {vm(probe(K::TightVncVersion, "{D71C967C-8709-4334-BF16-952469E96DCD}"))}),
        anyOf("PerformanceTest 8.0", {value("PerformanceTest 8_is1", "QuietUninstallString")},
              {vm(displayVersion("PerformanceTest 8_is1", "8.0.1022.0"))}),
        anyOf("Orvanto TeamViewer 8 Host", {value("TeamViewer 8 Host", "UninstallString")},
              {vm(displayVersion("TeamViewer 8 Host", "8.0.18930"))}),
        anyOf("Orvanto TeamViewer 13 Host", {value("TeamViewer", "UninstallString")},
              {vm(displayVersion("TeamViewer", "13.0.5640"))}),
        anyOf("Speccy v1.25", {key("Speccy")}, {vm(displayVersion("Speccy", "1.25"))}),
        anyOf("Adobe Acrobat Reader", {probe(K::AdobeReader)}),
        anyOf("Tera Term 4.88", {key("Tera Term_is1")}, {vm(displayName("Tera Term_is1", "Tera Term 4.88"))}),
        anyOf("IC Imaging Control 3.5 C++ Class Library V3.5.5.3963",
              {key("IC Imaging Control 3.5 C++ Class Library_is1")},
              {vm(displayName("IC Imaging Control 3.5 C++ Class Library_is1",
                              "IC Imaging Control 3.5 C++ Class Library version 3.5.5.3963"))}),
        product("PowerToys (Preview) 0.20.1", "{B838E9AD-531C-43A5-B0F8-2A6C2759E84F}", "0.20.1"),
        product("TortoiseHg 3.6.3 (x86)", "{CCE041AD-0927-4992-85C1-C9B683BE3783}", "3.6.3"),
        product("TortoiseHg 3.6.3 (x64)", "{CCE041AD-0927-4992-85C1-C9B683BE3783}", "3.6.3"),
        anyOf("Paint.net 4.0.19", {msi(kPaintNet4019), msi(kPaintNet4212)},
              {vm(msiVersion(kPaintNet4019, "4.0.19"))}, Family::PaintNet),
        anyOf("Paint.net 4.2.12", {msi(kPaintNet4019), msi(kPaintNet4212)},
              {vm(msiVersion(kPaintNet4212, "4.2.12"))}, Family::PaintNet),
    };
    for (hnDetectionRow& row : more)
        rows.push_back(std::move(row));
    return rows;
}

// The versions a family lists: a probe and the text appended when it holds.
struct Candidate {
    hnProbe probe;
    const char* text;
};

std::vector<Candidate> familyCandidates(Family family) {
    switch (family) {
    case Family::Py27Pywin32:
        return {{displayName("pywin32-py2.7", "Python 2.7 pywin32-219"), "pywin32-219.win32-py2.7"},
                {displayName("pywin32-py2.7", "Python 2.7 pywin32-221"), "pywin32-221.win32-py2.7"},
                {displayName("pywin32-py2.7", "Python 2.7 pywin32-223"), "pywin32-223.win32-py2.7"}};
    case Family::Py27Pyserial:
        return {{displayName("pyserial-py2.7", "Python 2.7 pyserial-2.7"), "pyserial-2.7.win32"},
                {pipVersion("pyserial", "3.4"), "pyserial-3.4-py2.py3-none-any"}};
    case Family::Py27Numpy:
        return {{displayName("numpy-py2.7", "Python 2.7 numpy-1.10.2"), "numpy-1.10.2-python2.7"},
                {pipVersion("numpy", "1.14.0+mkl"), "numpy-1.14.0+mkl-cp27-cp27m-win32"},
                {pipVersion("numpy", "1.14.5+mkl"), "numpy-1.14.5+mkl-cp27-cp27m-win32"},
                {pipVersion("numpy", "1.15.1+mkl"), "numpy-1.15.1+mkl-cp27-cp27m-win32"},
                {pipVersion("numpy", "1.16.4", "1.16.4+"), "numpy-1.16.4-cp27-cp27m-win32"},
                {pipVersion("numpy", "1.16.4+mkl"), "numpy-1.16.4+mkl-cp27-cp27m-win32"}};
    case Family::Py27Scipy:
        return {{displayName("scipy-py2.7", "Python 2.7 scipy-0.16.1"), "scipy-0.16.1-python2.7"},
                {pipVersion("scipy", "1.0.0"), "scipy-1.0.0-cp27-cp27m-win32"},
                {pipVersion("scipy", "1.1.0"), "scipy-1.1.0-cp27-cp27m-win32"},
                {pipVersion("scipy", "1.2.2"), "scipy-1.2.2-cp27-cp27m-win32"}};
    case Family::Py27OpenCV:
        return {{runtime("OpenCV249Py27"), "OpenCV 2.4.9 (Python 27)"},
                {runtime("OpenCV300"), "OpenCV 3.0.0"},
                {runtime("OpenCV310"), "OpenCV 3.1.0"},
                {runtime("OpenCV320"), "OpenCV 3.2.0"},
                {runtime("OpenCV330"), "OpenCV 3.3.0"},
                {runtime("OpenCV331"), "OpenCV 3.3.1"},
                {runtime("OpenCV340"), "OpenCV 3.4.0"},
                {pipVersion("opencv-contrib-python", "3.4.3.18"),
                 "opencv_contrib_python-3.4.3.18-cp27-cp27m-win32"},
                {pipVersion("opencv-contrib-python", "4.1.0.25"),
                 "opencv_contrib_python-4.1.0.25-cp27-cp27m-win32"},
                {pipVersion("opencv-contrib-python", "4.2.0.32"),
                 "opencv_contrib_python-4.2.0.32-cp27-cp27m-win32"},
                {pipVersion("opencv-python", "3.4.3.18"), "opencv_python-3.4.3.18-cp27-cp27m-win32"},
                {pipVersion("opencv-python", "4.1.0.25"), "opencv_python-4.1.0.25-cp27-cp27m-win32"},
                {pipVersion("opencv-python", "4.2.0.32"), "opencv_python-4.2.0.32-cp27-cp27m-win32"}};
    case Family::Py27MySQL:
        return {{displayName("MySQL-python-py2.7", "Python 2.7 MySQL-python-1.2.4b4"),
                 "MySQL-python-1.2.4b4.win32-py2.7"}};
    case Family::PaintNet:
        return {{msiVersion(kPaintNet4019, "4.0.19"), "Paint.net 4.0.19"},
                {msiVersion(kPaintNet4212, "4.2.12"), "Paint.net 4.2.12"}};
    default:
        return {};
    }
}

// The Python 3.6 package whose version a family's detail shows.
bool py36PackageOf(Family family, hnPy36Package& package) {
    switch (family) {
    case Family::Py36Pywin32:
        package = hnPy36Package::Pywin32;
        return true;
    case Family::Py36Pyserial:
        package = hnPy36Package::Pyserial;
        return true;
    case Family::Py36Numpy:
        package = hnPy36Package::Numpy;
        return true;
    case Family::Py36Scipy:
        package = hnPy36Package::Scipy;
        return true;
    case Family::Py36OpenCV:
        package = hnPy36Package::OpenCV;
        return true;
    case Family::Py36PythonNet:
        package = hnPy36Package::PythonNet;
        return true;
    default:
        return false;
    }
}

// The looked-for half of a reason, one form per probe kind, filled from the
// probe that decided: {a}, {b}, {c} and {n} are its fields, {name} is its
// `b` or else the row's name. `unwanted` is the form of a check that wants
// the opposite (a negated probe); null when the kind is never negated.
struct ReasonForm {
    K kind;
    const char* wanted;
    const char* unwanted;
};

const ReasonForm kReasonForms[] = {
    {K::MsiInstalled, "Windows Installer product {a}", "no Windows Installer product {a}"},
    {K::MsiVersion, "version {b} of Windows Installer product {a}", nullptr},
    {K::MsiNameSame, "Windows Installer product {a} named \"{name}\"", nullptr},
    {K::KeyPresent, "Uninstall entry \"{a}\"", "no Uninstall entry \"{a}\""},
    {K::ValuePresent, "value \"{b}\" of Uninstall entry \"{a}\"",
     "no value \"{b}\" of Uninstall entry \"{a}\""},
    {K::ValueEqual, "\"{c}\" as value \"{b}\" of Uninstall entry \"{a}\"", nullptr},
    {K::DotNet20, "1 as value \"Install\" of HKLM\\SOFTWARE\\Microsoft\\NET Framework Setup\\NDP\\v2.0.50727",
     nullptr},
    {K::WindowsInstaller31, "Msi.dll of the system folder in version 3 or later", nullptr},
    {K::AdobeReader, "registry key HKLM\\SOFTWARE\\Adobe\\Acrobat Reader", nullptr},
    {K::Py27CountAbove, "more than {n} Python 2.7 interpreters", "at most {n} Python 2.7 interpreter"},
    {K::Py27CountOneNeedsProduct, "a single Python 2.7 interpreter to be product {a}", nullptr},
    {K::Py36PathsAvailable, "the Python 3.6 folder and its Scripts folder on the search path", nullptr},
    {K::Pip, "Python 2.7 package \"{a}\"", nullptr},
    {K::PipVersion, "version {c} of Python 2.7 package \"{a}\"", nullptr},
    {K::Pip36, "Python 3.6 package \"{a}\"", nullptr},
    {K::Pip36Version, "version {c} of Python 3.6 package \"{a}\"", nullptr},
    {K::LegacyDuplicate,
     "Python 2.7 package \"{a}\" from both the old installer (Uninstall entry \"{b}\") and pip",
     "Python 2.7 package \"{a}\" once: from the old installer (Uninstall entry \"{b}\", version {c}) or "
     "from pip"},
    {K::Py36PyserialDuplicate, "several pyserial installations for Python 3.6",
     "one pyserial installation for Python 3.6"},
    {K::Py36OpenCVInstalled, "an OpenCV package for Python 3.6", nullptr},
    {K::Py36OpenCVDuplicated, "both OpenCV packages for Python 3.6", "one OpenCV package for Python 3.6"},
    {K::OpenCvCountAbove, "more than {n} OpenCV builds for Python 2.7",
     "at most {n} OpenCV build for Python 2.7"},
    {K::RuntimeEntry, "\"{a}\" in the runtime folder", "no \"{a}\" in the runtime folder"},
    {K::RuntimeFilesIdentical, "\"{a}\" in the runtime folder identical to \"{b}\"", nullptr},
    {K::DocumentsEntry, "\"{a}\" in the documents folder", nullptr},
    {K::OpenCvFiles, "the files of \"{a}\" in the runtime folder", nullptr},
    {K::DeepformFiles, "the files of toolbox build {n} in the runtime folder", nullptr},
    {K::IppFiles, "the IPP libraries in \"IPP201800992\" of the runtime folder", nullptr},
    {K::SmartCardConfigFiles, "the smart-card configuration files", nullptr},
    {K::SmartCardProgramFiles, "the smart-card program and driver files", nullptr},
    {K::CycleControllerFiles, "the cycle controller files", nullptr},
    {K::ZentraFiles, "the Zentra API files in the runtime's Python folder", nullptr},
    {K::ClrBridgeFiles, "a .NET bridge file (clr.pyd, Python.Runtime.dll) of the runtime",
     "no .NET bridge file (clr.pyd, Python.Runtime.dll) in the runtime folder or its \"Python\\Python27\""},
    {K::DeepformClrActive, "the .NET bridge of the toolbox active", nullptr},
    {K::OpcServerPresent, "the OPC server program with its class registered", nullptr},
    {K::OpcServerIdentity,
     "the OPC server in file version 1.0.0.7 with class {CFEA073E-B729-4F9C-9CFB-611134C7DAD8}", nullptr},
    {K::TightVncVersion, "TightVNC version 2.6.4.0", nullptr},
    {K::CycleControllerVersion,
     "\"Cycle Controller 1.0.0.1(3587)\" as the first line of the cycle controller's "
     "version.txt",
     nullptr},
    {K::SelectedPythonIntegration, "the runtime's Python integration for the selected interpreter", nullptr},
};

std::string fillForm(const char* form, const hnProbe& p, const std::string& rowName) {
    std::string text;
    for (const char* at = form; *at; ++at) {
        const char* close = *at == '{' ? std::strchr(at, '}') : nullptr;
        std::string field = close ? std::string(at + 1, close) : std::string();
        const char* value = field == "a"      ? p.a
                            : field == "b"    ? p.b
                            : field == "c"    ? p.c
                            : field == "name" ? (p.b ? p.b : rowName.c_str())
                                              : nullptr;
        if (field == "n") {
            text += std::to_string(p.n);
        } else if (value) {
            text += value;
        } else {
            text += *at;
            continue;
        }
        at = close;
    }
    return text;
}

// "<looked for>: <found>" for the probe that decided.
std::string formReason(const hnProbe& p, const std::string& rowName, const std::string& found) {
    for (const ReasonForm& form : kReasonForms)
        if (form.kind == p.kind)
            return fillForm(p.negate && form.unwanted ? form.unwanted : form.wanted, p, rowName) +
                   " expected; " + found;
    return found;
}

std::string listed(const std::vector<std::string>& names) {
    if (names.empty())
        return "none found";
    std::string text = std::to_string(names.size()) + " found:";
    for (std::size_t i = 0; i < names.size(); ++i)
        text += (i ? ", " : " ") + names[i];
    return text;
}

std::string quoted(const std::string& text) {
    return "\"" + text + "\"";
}

// One evaluation of one row: answers the probes, sharing between them the
// counts and the please-wait dialog of the Python 3.6 queries. Each answer
// also says what it read, in terms a user can check on the machine.
class Evaluation {
public:
    Evaluation(const hnDetectionRow& row, hnDetectionMemo* memo)
        : row_(row), memo_(memo ? memo : &ownMemo_) {}

    // `reason`, when given, receives what the probe looked for and found.
    bool holds(const hnProbe& p, std::string* reason = nullptr) {
        std::string found;
        bool held = answer(p, found) != p.negate;
        if (reason)
            *reason = formReason(p, row_.name, found);
        return held;
    }

    hnDialog* py36Dialog() {
        if (!dialog_) {
            dialog_.reset(new DPleaseWaitDlg);
            dialog_->createOnDemand(hnAppBase::current() ? hnAppBase::current()->mainWindow() : nullptr);
        }
        return dialog_.get();
    }

private:
    int openCvCount(std::string& found) {
        if (openCvCount_ < 0)
            openCvCount_ = hnCheckInstallations::countOpenCvInstallations(&openCvFound_);
        found = listed(openCvFound_);
        return openCvCount_;
    }
    std::string interpretersFound() {
        std::string found = listed(memo_->py27Names());
        if (memo_->py27Names().empty())
            found += "; install Python 2.7.13 on the prerequisites page first";
        return found;
    }
    bool runtimePath(const char* relative, std::string& path, std::string& found) {
        std::string runtime;
        if (!memo_->runtimeFolder(runtime)) {
            found = "the runtime is not installed under its name, so it has no folder";
            return false;
        }
        return relative && hnFormat(path, kPathCapacity, "%s%s", runtime.c_str(), relative);
    }
    static bool entry(const std::string& path, std::string& found) {
        bool exists = fileExists(path);
        found = exists ? "found " + quoted(path) : quoted(path) + " is missing";
        return exists;
    }
    bool runtimeEntry(const char* relative, std::string& found) {
        std::string path;
        return runtimePath(relative, path, found) && entry(path, found);
    }
    static bool fileSet(bool built, const hnFileSet& set, std::string& found) {
        if (!built) {
            found = "its folder is unknown here";
            return false;
        }
        std::string first;
        int gaps = countFileSetGaps(set, first);
        if (gaps < 0)
            found = "the folder " + quoted(first) + " is missing";
        else if (gaps == 0)
            found = "all " + std::to_string(set.files.size()) + " files in order in " + quoted(set.folder);
        else
            found = std::to_string(gaps) + " of " + std::to_string(set.files.size()) +
                    " files missing or different from their copy, the first " + quoted(first);
        return gaps == 0;
    }
    static bool fileSet(bool (*build)(hnFileSet&), std::string& found) {
        hnFileSet set;
        bool built = build(set);
        return fileSet(built, set, found);
    }
    static bool pipAnswer(bool held, const std::string& reported, std::string& found) {
        found = reported.empty() ? "pip reports none" : "pip reports version " + reported;
        return held;
    }
    static bool yesNo(bool held, const char* yes, const char* no, std::string& found) {
        found = held ? yes : no;
        return held;
    }

    bool answer(const hnProbe& p, std::string& found) {
        using C = hnCheckInstallations;
        hnPythonEnvironment& python = pythonEnvironment();
        std::string read;
        switch (p.kind) {
        case K::MsiInstalled:
            return yesNo(memo_->productInstalled(p.a), "installed", "not installed", found);
        case K::MsiVersion:
            if (!memo_->productInstalled(p.a))
                return yesNo(false, "", "not installed", found);
            found = C::readMsiProductVersion(p.a, read) ? "found version " + read : "no version readable";
            return p.b && !read.empty() && hnEqualsNoCase(read, p.b);
        case K::MsiNameSame: {
            // A product that is not installed has no other name.
            if (!memo_->productInstalled(p.a))
                return yesNo(true, "not installed", "", found);
            const char* name = p.b ? p.b : row_.name.c_str();
            bool readable = C::readMsiProductName(p.a, read);
            found = readable ? "installed as " + quoted(read) : "its name is not readable";
            return readable && hnEqualsNoCase(read, name);
        }
        case K::KeyPresent:
            return yesNo(!memo_->uninstallEntryAbsent(p.a) && C::isUninstallKeyPresent(p.a), "present",
                         "absent", found);
        case K::ValuePresent: {
            bool present = !memo_->uninstallEntryAbsent(p.a) && C::readUninstallValue(p.a, p.b, read);
            found = present ? "it reads " + quoted(read) : "absent";
            return present;
        }
        case K::ValueEqual: {
            bool equal = !memo_->uninstallEntryAbsent(p.a) && C::uninstallValueEquals(p.a, p.b, p.c, read);
            found = read.empty() ? "absent" : "it reads " + quoted(read);
            return equal;
        }
        case K::DotNet20: {
            bool ok = C::isDotNet20Installed(&read);
            found = read.empty() ? "absent" : "it reads " + read;
            return ok;
        }
        case K::WindowsInstaller31: {
            bool ok = C::isWindowsInstaller31Installed(&read);
            found = read.empty() ? "no version readable" : "found version " + read;
            return ok;
        }
        case K::AdobeReader:
            return yesNo(C::isAdobeReaderInstalled(), "present", "absent", found);
        case K::Py27CountAbove:
            found = interpretersFound();
            return memo_->py27CountAbove(p.n);
        case K::Py27CountOneNeedsProduct:
            found = interpretersFound();
            return memo_->py27CountAbove(1) || !memo_->py27CountAbove(0) || memo_->productInstalled(p.a);
        case K::Py36PathsAvailable:
            return yesNo(python.py36PathsAvailable(), "they are", "they are not", found);
        case K::Pip:
            return pipAnswer(C::checkPy27ModuleWhlInstallation(p.a, &read), read, found);
        case K::PipVersion:
            return pipAnswer(C::checkPy27ModuleWhlExactVersionInstallation(p.a, p.b, p.c, &read), read,
                             found);
        case K::Pip36:
            return pipAnswer(python.py36PackagePresent(py36Dialog(), p.a, p.a, &read), read, found);
        case K::Pip36Version:
            return pipAnswer(python.py36PackageVersion(py36Dialog(), p.a, p.b, p.c, &read), read, found);
        case K::LegacyDuplicate: {
            bool both = C::isLegacyPlusPipDuplicate(p.a, p.b, p.c, &read);
            found = both ? "both present, pip reports version " + read : "not both present";
            return both;
        }
        case K::Py36PyserialDuplicate:
            return yesNo(python.py36Probe(hnPy36Probe::PyserialDuplicated, py36Dialog()), "several found",
                         "at most one found", found);
        case K::Py36OpenCVInstalled:
            return yesNo(python.py36Probe(hnPy36Probe::OpenCVInstalled, py36Dialog()), "pip reports one",
                         "pip reports none", found);
        case K::Py36OpenCVDuplicated:
            return yesNo(python.py36Probe(hnPy36Probe::OpenCVDuplicated, py36Dialog()), "pip reports both",
                         "pip reports at most one", found);
        case K::OpenCvCountAbove:
            return openCvCount(found) > p.n;
        case K::RuntimeEntry:
            return runtimeEntry(p.a, found);
        case K::RuntimeFilesIdentical: {
            std::string first, second;
            if (!runtimePath(p.a, first, found) || !runtimePath(p.b, second, found) || !entry(first, found) ||
                !entry(second, found))
                return false;
            return yesNo(C::areFilesIdentical(first, second), "they are identical",
                         "they differ in size or write time", found);
        }
        case K::DocumentsEntry: {
            std::string documents, path;
            return p.a && hnDocumentsFolder(documents) && hnJoinPath(path, documents, p.a) &&
                   entry(path, found);
        }
        case K::OpenCvFiles: {
            hnFileSet set;
            bool built = openCvFileSet(p.a, set);
            return fileSet(built, set, found);
        }
        case K::DeepformFiles: {
            hnFileSet set;
            bool built = deepformFileSet(p.a, p.n, set);
            return fileSet(built, set, found);
        }
        case K::IppFiles:
            return fileSet(&ippFileSet, found);
        case K::SmartCardConfigFiles:
            return fileSet(&smartCardConfigFileSet, found);
        case K::SmartCardProgramFiles:
            return fileSet(&smartCardProgramFileSet, found);
        case K::CycleControllerFiles:
            return fileSet(&cycleControllerFileSet, found);
        case K::ZentraFiles:
            return fileSet(&zentraFileSet, found);
        case K::ClrBridgeFiles:
            for (const char* file : {"clr.pyd", "Python.Runtime.dll", "Python\\Python27\\clr.pyd",
                                     "Python\\Python27\\Python.Runtime.dll"})
                if (runtimeEntry(file, found))
                    return true;
            found = "none found";
            return false;
        case K::DeepformClrActive: {
            std::string runtime;
            return yesNo(memo_->runtimeFolder(runtime) && python.deepformClrActive(runtime.c_str()),
                         "it is active", "it is not active", found);
        }
        case K::OpcServerPresent:
            return yesNo(C::isOpcServerPresent(), "present", "the program or its class is missing", found);
        case K::OpcServerIdentity: {
            bool ok = C::isOpcServerIdentityOK(&read);
            found = read.empty() ? "no file version readable" : "found file version " + read;
            return ok;
        }
        case K::TightVncVersion: {
            bool ok = C::isTightVncVersionOK(p.a, &read);
            found = read.empty() ? "no version found" : "found version " + read;
            return ok;
        }
        case K::CycleControllerVersion: {
            bool ok = C::isCycleControllerVersionOK(&read);
            found = read.empty() ? "no version line read" : "it reads " + quoted(read);
            return ok;
        }
        case K::SelectedPythonIntegration: {
            bool ok = python.selectedIntegrationOK();
            if (ok)
                found = "it is in order";
            else if (memo_->py27Names().empty() && !python.python36Selected())
                found =
                    "no Python 2.7 interpreter is installed, and a reinstall of the runtime cannot add one; "
                    "install Python 2.7.13 on the prerequisites page first";
            else
                found = "it does not match; Python 2.7 interpreters " + listed(memo_->py27Names());
            return ok;
        }
        }
        return false;
    }

    const hnDetectionRow& row_;
    hnDetectionMemo ownMemo_;
    hnDetectionMemo* memo_;
    int openCvCount_ = -1;
    std::vector<std::string> openCvFound_;
    std::unique_ptr<DPleaseWaitDlg> dialog_;
};

bool usesPip(const hnProbe& p) {
    switch (p.kind) {
    case K::Pip:
    case K::PipVersion:
    case K::Pip36:
    case K::Pip36Version:
    case K::LegacyDuplicate:
    case K::Py36PyserialDuplicate:
    case K::Py36OpenCVInstalled:
    case K::Py36OpenCVDuplicated:
    case K::OpenCvCountAbove:
    case K::DeepformClrActive:
        return true;
    default:
        return false;
    }
}

} // namespace

const std::vector<hnDetectionRow>& detectionCatalogue() {
    // Compiled-in configuration, built once and never changed.
    static const std::vector<hnDetectionRow> catalogue = buildCatalogue();
    return catalogue;
}

const hnDetectionRow* findDetectionRow(const std::string& name) {
    for (const hnDetectionRow& row : detectionCatalogue())
        if (hnEqualsNoCase(row.name, name))
            return &row;
    return nullptr;
}

bool rowUsesPip(const hnDetectionRow& row) {
    for (const hnProbe& p : row.presence)
        if (usesPip(p))
            return true;
    for (const hnStatusCheck& check : row.checks)
        if (usesPip(check.probe))
            return true;
    for (const Candidate& candidate : familyCandidates(row.family))
        if (usesPip(candidate.probe))
            return true;
    hnPy36Package package;
    return py36PackageOf(row.family, package);
}

void hnDetectionMemo::readProducts() {
    if (productsRead_)
        return;
    // One reading of the product list answers both the product probes and
    // the Python 2.7 count.
    const auto products = hnCheckInstallations::installedProducts();
    for (const auto& product : products)
        installedCodes_.push_back(hnLowerCase(product.first));
    std::sort(installedCodes_.begin(), installedCodes_.end());
    const auto py27Codes = hnInstalledProducts::matching(products, kPython27ProductPrefix, products.size());
    for (const std::string& code : py27Codes)
        for (const auto& product : products)
            if (product.first == code) {
                py27Names_.push_back(product.second);
                break;
            }
    py27Count_ = static_cast<int>(py27Codes.size());
    productsRead_ = true;
}

bool hnDetectionMemo::py27CountAbove(int n) {
    readProducts();
    return py27Count_ > n;
}

const std::vector<std::string>& hnDetectionMemo::py27Names() {
    readProducts();
    return py27Names_;
}

bool hnDetectionMemo::productAbsent(const char* productCode) {
    if (!productCode)
        return true;
    readProducts();
    return !std::binary_search(installedCodes_.begin(), installedCodes_.end(), hnLowerCase(productCode));
}

bool hnDetectionMemo::productInstalled(const char* productCode) {
    if (!productCode || productAbsent(productCode))
        return false;
    for (const auto& known : presence_)
        if (known.first == productCode)
            return known.second;
    bool installed = hnCheckInstallations::isMsiProductInstalled(productCode);
    presence_.emplace_back(productCode, installed);
    return installed;
}

bool hnDetectionMemo::uninstallEntryAbsent(const char* subKey) {
    if (!subKey || std::strchr(subKey, '\\'))
        return false;
    if (uninstallListed_ < 0) {
        uninstallListed_ = 1;
        for (HKEY root : {HKEY_LOCAL_MACHINE, HKEY_CURRENT_USER}) {
            hnScopedKey key;
            LONG opened = hnRegOpenKey(root, kUninstallKey, KEY_READ, key.put());
            if (opened == ERROR_FILE_NOT_FOUND)
                continue;
            if (opened != ERROR_SUCCESS) {
                uninstallListed_ = 0;
                break;
            }
            char name[256];
            LONG result = ERROR_SUCCESS;
            for (DWORD index = 0;; ++index) {
                DWORD length = sizeof(name);
                result = ::RegEnumKeyExA(key.get(), index, name, &length, nullptr, nullptr, nullptr, nullptr);
                if (result != ERROR_SUCCESS)
                    break;
                uninstallEntries_.push_back(hnLowerCase(name));
            }
            if (result != ERROR_NO_MORE_ITEMS) {
                uninstallListed_ = 0;
                break;
            }
        }
        std::sort(uninstallEntries_.begin(), uninstallEntries_.end());
    }
    return uninstallListed_ == 1 &&
           !std::binary_search(uninstallEntries_.begin(), uninstallEntries_.end(), hnLowerCase(subKey));
}

bool hnDetectionMemo::runtimeFolder(std::string& folder) {
    if (runtimeFound_ < 0)
        runtimeFound_ = hnCheckInstallations::getRuntimeFolder(runtimeFolder_) ? 1 : 0;
    folder = runtimeFolder_;
    return runtimeFound_ == 1;
}

namespace {
void appendReason(std::string* reasons, const std::string& reason) {
    if (reasons)
        *reasons += (reasons->empty() ? "" : ". ") + reason;
}
} // namespace

bool detectInstalled(const hnInstallationElement& element, hnDetectionMemo* memo, std::string* reason) {
    if (reason)
        reason->clear();
    const hnDetectionRow* row = findDetectionRow(element.name);
    if (!row) {
        if (reason)
            *reason = "This installer does not know the component \"" + element.name + "\".";
        return false;
    }
    // The probe that decided: the first failing one of a row that needs all,
    // the first holding one of a row that needs one (and, when none holds,
    // every probe looked at).
    Evaluation evaluation(*row, memo);
    std::string decided;
    for (const hnProbe& p : row->presence) {
        bool holds = evaluation.holds(p, reason ? &decided : nullptr);
        if (row->presenceNeedsAll != holds) {
            if (reason)
                *reason = decided;
            return holds;
        }
        appendReason(reason, decided);
    }
    return row->presenceNeedsAll && !row->presence.empty();
}

bool detectStatusWord(const hnInstallationElement& element, std::string& status, hnDetectionMemo* memo,
                      std::string* reason) {
    if (reason)
        reason->clear();
    const hnDetectionRow* row = findDetectionRow(element.name);
    if (row) {
        Evaluation evaluation(*row, memo);
        std::string checked;
        for (const hnStatusCheck& check : row->checks) {
            if (!evaluation.holds(check.probe, reason ? &checked : nullptr)) {
                status = check.word;
                if (reason)
                    *reason = checked;
                return false;
            }
            appendReason(reason, checked);
        }
    }
    status = kStatusInstalled;
    return true;
}

int detectStatusDetail(hnInstallationElement& element) {
    const std::string& status = element.status();
    if (status != kStatusVersionMismatch && status != kStatusMultipleVersions)
        return 1;
    element.statusDetail.clear();
    const hnDetectionRow* row = findDetectionRow(element.name);
    if (!row || row->family == Family::None)
        return 0;
    Evaluation evaluation(*row, nullptr);
    hnPy36Package package;
    if (py36PackageOf(row->family, package)) {
        pythonEnvironment().py36InstalledVersionText(package, &element.statusDetail, evaluation.py36Dialog());
        return 1;
    }
    for (const Candidate& candidate : familyCandidates(row->family))
        if (evaluation.holds(candidate.probe))
            appendVersionDetail(element.statusDetail, candidate.text);
    if (element.statusDetail.empty())
        element.statusDetail = "Unknown";
    return 1;
}
