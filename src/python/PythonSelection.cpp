#include "python/PythonSelection.h"
#include "python/PySelAccessors.h"

#include <cstring>
#include <vector>
#include <windows.h>

#include "app/DebugOut.h"
#include "app/FileHelpers.h"
#include "app/SystemView.h"
#include "app/Text.h"
#include "download/DownloadEngine.h"

const char* const kPython279 = "Python 2.7.9";
const char* const kPython2713 = "Python 2.7.13";
const char* const kPython366 = "Python 3.6.6";
const char* const kSelectionNone = "None";
const char* const kPy27Clr40 = "Python 2.7 CLR 4.0";
const char* const kDefaultPackageSet = "Default";

namespace {

const char* const kSection = "PySelVersion";
const char* const kUserDataFolder = "Orvanto 15.0";
const char* const kPythonFolder = "Python";
const char* const kIniName = "PySel.ini";

// One stored choice: its key, the routine names its debug lines carry, the
// values a setter accepts in the order they are tested (empty: any text) and
// the getter's default.
struct SelectionKey {
    const char* key;
    const char* setter;
    const char* getter;
    std::vector<const char*> allowed;
    const char* fallback;
};

const SelectionKey kVersion{"VersionName",
                            "setPythonVersionSelection",
                            "getPythonVersionSelection",
                            {"Python 2.7.9", "Python 2.7.13", "Python 3.6.6"},
                            "Python 2.7.9"};

const SelectionKey kOpenCv{
    "Py27OpenCVExtension",
    "setPy27OpenCVExtensionVersionSelection",
    "getPy27OpenCVExtensionVersionSelection",
    {"OpenCV 2.4.9 (Python 27)", "OpenCV 3.0.0", "OpenCV 3.1.0", "OpenCV 3.2.0", "OpenCV 3.3.0",
     "OpenCV 3.3.1", "OpenCV 3.4.0", "None", "opencv_contrib_python-3.4.3.18-cp27-cp27m-win32",
     "opencv_python-3.4.3.18-cp27-cp27m-win32", "opencv_contrib_python-4.1.0.25-cp27-cp27m-win32",
     "opencv_python-4.1.0.25-cp27-cp27m-win32", "opencv_contrib_python-4.2.0.32-cp27-cp27m-win32",
     "opencv_python-4.2.0.32-cp27-cp27m-win32"},
    "None"};

const SelectionKey kClr{"Py27CLRExtension",
                        "setPy27CLRExtensionVersionSelection",
                        "getPy27CLRExtensionVersionSelection",
                        {"pythonnet-2.3.0-cp27-cp27m-win32", "Python 2.7 CLR 2.0", "Python 2.7 CLR 4.0"},
                        "Python 2.7 CLR 4.0"};

const SelectionKey kToolbox27{
    "Py27DeepformVisionToolboxExtension",
    "setPy27DeepformVisionToolboxVersionSelection",
    "getPy27DeepformVisionToolboxVersionSelection",
    {"None", "Deepform Vision 1.0.0.333", "Deepform Vision 1.0.0.355", "Deepform Vision 1.0.0.383",
     "Deepform Vision 1.0.0.550", "Deepform Vision 1.0.0.612", "Deepform Vision 1.0.0.719",
     "Deepform Vision 1.0.0.758", "Deepform Vision 1.0.0.819", "Deepform Vision 1.0.0.1114"},
    "None"};

const SelectionKey kToolbox36{
    "Py36DeepformVisionToolboxExtension",
    "setPy36DeepformVisionToolboxVersionSelection",
    "getPy36DeepformVisionToolboxVersionSelection",
    {"None", "Deepform Vision 1.0.0.819(02) (Python 36)", "Deepform Vision 1.0.0.1114 (Python 36)"},
    "None"};

const SelectionKey kPackages27{"Py27ExtensionPackage",
                               "setPy27ExtensionPackageSelection",
                               "getPy27ExtensionPackageSelection",
                               {},
                               "Default"};

const SelectionKey kPackages36{"Py36ExtensionPackage",
                               "setPy36ExtensionPackageSelection",
                               "getPy36ExtensionPackageSelection",
                               {},
                               "Default"};

// A value the callers' buffers hold and the file keeps on one line.
bool fitsCallers(const char* value) {
    return std::strlen(value) < kPySelValueCapacity && !std::strpbrk(value, "\r\n");
}

bool isAllowed(const SelectionKey& key, const char* value) {
    if (!fitsCallers(value))
        return false;
    if (key.allowed.empty())
        return true;
    for (const char* allowed : key.allowed)
        if (std::strcmp(allowed, value) == 0)
            return true;
    return false;
}

int storeSelection(const SelectionKey& key, const char* value) {
    if (!value) {
        hnDebugOutF("%s - NULL pointer 1\n", key.setter);
        return -1;
    }
    if (!isAllowed(key, value)) {
        hnDebugOutF("%s - Unsupported version selection\n", key.setter);
        return -2;
    }
    std::string folder;
    if (!pySelFolderPath(folder)) {
        hnDebugOutF("%s - Unable to get my documents folder path\n", key.setter);
        return -3;
    }
    createFolderPath(folder);
    if (!fileExists(folder)) {
        hnDebugOutF("%s - Unable to locate target folder\n", key.setter);
        return -4;
    }
    std::string file;
    if (!hnJoinPath(file, folder, kIniName) ||
        !::WritePrivateProfileStringA(kSection, key.key, value, file.c_str())) {
        hnDebugOutF("%s - Unable to write to INI file\n", key.setter);
        return -5;
    }
    return 1;
}

int readSelection(const SelectionKey& key, std::string* out) {
    if (!out) {
        hnDebugOutF("%s - NULL pointer 1\n", key.getter);
        return -1;
    }
    *out = key.fallback;
    std::string file;
    if (!pySelIniPath(file)) {
        hnDebugOutF("%s - Unable to get my documents folder path\n", key.getter);
        return -2;
    }
    if (!fileExists(file)) {
        hnDebugOutF("%s - Unable to locate INI file\n", key.getter);
        return -3;
    }
    char value[kIniValueCapacity] = {};
    ::GetPrivateProfileStringA(kSection, key.key, "", value, sizeof(value), file.c_str());
    if (!value[0]) {
        hnDebugOutF("%s - Unable to read INI file\n", key.getter);
        return -4;
    }
    // The file lives in the user's documents and can be edited by hand: a
    // value that is not allowed (too long for the callers included) leaves
    // the default in place.
    if (!isAllowed(key, value))
        return 0;
    *out = value;
    return 1;
}

} // namespace

bool pySelFolderPath(std::string& out) {
    std::string documents;
    out.clear();
    return hnDocumentsFolder(documents) &&
           hnFormat(out, kPathCapacity, "%s\\%s\\%s", documents.c_str(), kUserDataFolder, kPythonFolder);
}

bool pySelIniPath(std::string& out) {
    std::string folder;
    out.clear();
    return pySelFolderPath(folder) && hnJoinPath(out, folder, kIniName);
}

int setPythonVersionSelection(const char* value) {
    return storeSelection(kVersion, value);
}
int getPythonVersionSelection(std::string* value) {
    return readSelection(kVersion, value);
}
int setPy27OpenCVExtensionVersionSelection(const char* value) {
    return storeSelection(kOpenCv, value);
}
int getPy27OpenCVExtensionVersionSelection(std::string* value) {
    return readSelection(kOpenCv, value);
}
int setPy27CLRExtensionVersionSelection(const char* value) {
    return storeSelection(kClr, value);
}
int getPy27CLRExtensionVersionSelection(std::string* value) {
    return readSelection(kClr, value);
}
int setPy27DeepformVisionToolboxVersionSelection(const char* value) {
    return storeSelection(kToolbox27, value);
}
int getPy27DeepformVisionToolboxVersionSelection(std::string* value) {
    return readSelection(kToolbox27, value);
}
int setPy36DeepformVisionToolboxVersionSelection(const char* value) {
    return storeSelection(kToolbox36, value);
}
int getPy36DeepformVisionToolboxVersionSelection(std::string* value) {
    return readSelection(kToolbox36, value);
}
int setPy27ExtensionPackageSelection(const char* value) {
    return storeSelection(kPackages27, value);
}
int getPy27ExtensionPackageSelection(std::string* value) {
    return readSelection(kPackages27, value);
}
int setPy36ExtensionPackageSelection(const char* value) {
    return storeSelection(kPackages36, value);
}
int getPy36ExtensionPackageSelection(std::string* value) {
    return readSelection(kPackages36, value);
}

hnPythonFamily selectedPythonFamily() {
    std::string version;
    if (getPythonVersionSelection(&version) < 1)
        version = kPython279;
    return version == kPython366 ? hnPythonFamily::Python36 : hnPythonFamily::Python27;
}

namespace {
bool selectedCheck(hnIntegrationCheck check) {
    return runtimePythonIntegrationCheck(check, selectedPythonFamily());
}
} // namespace

bool isSelectedPythonHelpFileOK() {
    return selectedCheck(hnIntegrationCheck::HelpFile);
}
bool isSelectedPythonDLLOK() {
    return selectedCheck(hnIntegrationCheck::Dll);
}
bool isSelectedPythonFolderOK() {
    return selectedCheck(hnIntegrationCheck::Folder);
}
bool isSelectedMatRelCTFilesOK() {
    return selectedCheck(hnIntegrationCheck::MatRelCTFiles);
}
bool isSelectedPluginFolderOK() {
    return selectedCheck(hnIntegrationCheck::PluginFolder);
}

bool isSelectedPythonIntegrationOK() {
    return isSelectedPythonIntegrationOK(runtimePythonIntegrationCheck);
}

bool isSelectedPythonIntegrationOK(const hnIntegrationCheckFn& check) {
    const hnIntegrationCheck order[] = {hnIntegrationCheck::HelpFile, hnIntegrationCheck::Dll,
                                        hnIntegrationCheck::Folder, hnIntegrationCheck::MatRelCTFiles,
                                        hnIntegrationCheck::PluginFolder};
    for (hnIntegrationCheck which : order) {
        // Each check reads the stored choice afresh, as the single checks do.
        if (!check(which, selectedPythonFamily()))
            return false;
    }
    return true;
}

const std::vector<hnPySelAccessor>& pySelAccessors() {
    static const std::vector<hnPySelAccessor> accessors = {
        {kVersion.key, getPythonVersionSelection, setPythonVersionSelection},
        {kOpenCv.key, getPy27OpenCVExtensionVersionSelection, setPy27OpenCVExtensionVersionSelection},
        {kClr.key, getPy27CLRExtensionVersionSelection, setPy27CLRExtensionVersionSelection},
        {kToolbox27.key, getPy27DeepformVisionToolboxVersionSelection,
         setPy27DeepformVisionToolboxVersionSelection},
        {kToolbox36.key, getPy36DeepformVisionToolboxVersionSelection,
         setPy36DeepformVisionToolboxVersionSelection},
        {kPackages27.key, getPy27ExtensionPackageSelection, setPy27ExtensionPackageSelection},
        {kPackages36.key, getPy36ExtensionPackageSelection, setPy36ExtensionPackageSelection},
    };
    return accessors;
}
