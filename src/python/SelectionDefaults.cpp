#include "python/SelectionDefaults.h"

#include <string>

#include "app/DebugOut.h"
#include "app/FileHelpers.h"
#include "app/Text.h"
#include "install/ActionCatalogue.h"
#include "install/CheckInstallations.h"
#include "python/ClrBridge.h"
#include "python/IntegrationFiles.h"
#include "python/PythonSelection.h"

namespace {

struct PipCandidate {
    const char* package;
    const char* version;
    const char* selection;
};

const PipCandidate kOpenCvWheels[] = {
    {"opencv-contrib-python", "3.4.3.18", "opencv_contrib_python-3.4.3.18-cp27-cp27m-win32"},
    {"opencv-contrib-python", "4.1.0.25", "opencv_contrib_python-4.1.0.25-cp27-cp27m-win32"},
    {"opencv-contrib-python", "4.2.0.32", "opencv_contrib_python-4.2.0.32-cp27-cp27m-win32"},
    {"opencv-python", "3.4.3.18", "opencv_python-3.4.3.18-cp27-cp27m-win32"},
    {"opencv-python", "4.1.0.25", "opencv_python-4.1.0.25-cp27-cp27m-win32"},
    {"opencv-python", "4.2.0.32", "opencv_python-4.2.0.32-cp27-cp27m-win32"}};

const char* const kOpenCvBuilds[] = {"OpenCV 2.4.9 (Python 27)",
                                     "OpenCV 3.0.0",
                                     "OpenCV 3.1.0",
                                     "OpenCV 3.2.0",
                                     "OpenCV 3.3.0",
                                     "OpenCV 3.3.1",
                                     "OpenCV 3.4.0"};

const char* const kToolboxBuilds27[] = {
    "Deepform Vision 1.0.0.333", "Deepform Vision 1.0.0.355", "Deepform Vision 1.0.0.383",
    "Deepform Vision 1.0.0.550", "Deepform Vision 1.0.0.612", "Deepform Vision 1.0.0.719",
    "Deepform Vision 1.0.0.758", "Deepform Vision 1.0.0.819", "Deepform Vision 1.0.0.1114"};

const char* const kToolboxBuilds36[] = {"Deepform Vision 1.0.0.819(02) (Python 36)",
                                        "Deepform Vision 1.0.0.1114 (Python 36)"};

// A build counts as installed when its runtime sub-folder exists. (The
// OpenCV rows of detection report every build present as soon as any one is,
// which cannot tell the builds apart.)
bool isComponentInstalled(const char* name) {
    const hnActionRow* row = findActionRow(name);
    std::string runtime, folder;
    return row && row->target && hnCheckInstallations::getRuntimeFolder(runtime) &&
           hnFormat(folder, kPathCapacity, "%s%s", runtime.c_str(), row->target) && fileExists(folder);
}

template <std::size_t N> const char* firstInstalled(const char* const (&names)[N]) {
    for (const char* name : names)
        if (isComponentInstalled(name))
            return name;
    return nullptr;
}

bool isStored(int (*getter)(std::string*)) {
    std::string value;
    return getter(&value) >= 1;
}

const char* detectOpenCvSelection() {
    if (const char* build = firstInstalled(kOpenCvBuilds))
        return build;
    for (const PipCandidate& wheel : kOpenCvWheels)
        if (hnCheckInstallations::checkPy27ModuleWhlExactVersionInstallation(wheel.package, nullptr,
                                                                             wheel.version))
            return wheel.selection;
    return kSelectionNone;
}

const char* detectClrSelection() {
    std::string runtime;
    if (hnCheckInstallations::getInstalledRuntimeFolder(runtime)) {
        if (isPY27CLR2Active(runtime.c_str()))
            return "Python 2.7 CLR 2.0";
        if (isPY27CLR4Active(runtime.c_str()))
            return kPy27Clr40;
    }
    if (hnCheckInstallations::checkPy27ModuleWhlExactVersionInstallation("pythonnet", nullptr, "2.3.0"))
        return "pythonnet-2.3.0-cp27-cp27m-win32";
    hnDebugOut(
        "kdDKadrixSDKInstallerSheet::ifRequiredSetSelectionForPy27Extensions - CLR - unsupported version "
        "selection. Using default\n");
    return kPy27Clr40;
}

} // namespace

void ifRequiredSetSelectionForPy27Extensions() {
    if (!isStored(getPy27OpenCVExtensionVersionSelection))
        setPy27OpenCVExtensionVersionSelection(detectOpenCvSelection());
    if (!isStored(getPy27CLRExtensionVersionSelection))
        setPy27CLRExtensionVersionSelection(detectClrSelection());
    if (!isStored(getPy27DeepformVisionToolboxVersionSelection)) {
        const char* build = firstInstalled(kToolboxBuilds27);
        setPy27DeepformVisionToolboxVersionSelection(build ? build : kSelectionNone);
    }
}

void ifRequiredSetSelectionForPy36Extensions() {
    if (!isStored(getPy36DeepformVisionToolboxVersionSelection)) {
        const char* build = firstInstalled(kToolboxBuilds36);
        setPy36DeepformVisionToolboxVersionSelection(build ? build : kSelectionNone);
    }
}
