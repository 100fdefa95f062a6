#pragma once
#include <string>

// Which .NET bridge the runtime's Python 2.7 uses. A bridge build is active
// when its "clr.pyd" and "Python.Runtime.dll" from "Python\\Python27\\clr_2_0"
// or "clr_4_0" sit, identical, both in the runtime folder and in
// "Python\\Python27". These checks need no page object.

// Both bridge files exist in `folder` and in `reference` (folders with their
// trailing separator) with equal size and write time.
bool areClrFilesIdentical(const char* folder, const char* reference);
bool isPY27CLR2Active(const char* runtimeFolder);
bool isPY27CLR4Active(const char* runtimeFolder);
// The 3D toolbox needs CLR 4.0 or the pythonnet 2.3.0 package; CLR 2.0 does
// not serve it.
bool isDeepformVisionDependencyCLRActive(const char* runtimeFolder);

// What the bridge switch asks of the Python 2.7 recommended page, whose own
// install manager holds the pythonnet wheel.
class hnPythonNetPage {
public:
    virtual ~hnPythonNetPage() = default;
    // The pythonnet row's status word as the page last detected it.
    virtual std::string pythonNetStatus() = 0;
    // The pythonnet wheel is in the download cache afterwards (fetched when
    // missing).
    virtual bool fetchPythonNetWheel() = 0;
    // Installs (above 0 on success) or removes the pythonnet row through the
    // page's wrappers.
    virtual int installPythonNet() = 0;
    virtual int uninstallPythonNet() = 0;
};

extern const char* const kPy27PythonNetSelection; // "pythonnet-2.3.0-cp27-cp27m-win32"
extern const char* const kPy27Clr20Selection;     // "Python 2.7 CLR 2.0"

// Makes `selection` (a bridge build or the pythonnet package) the runtime's
// bridge and stores it as the CLR selection once it is in place (pythonnet:
// once pip reports version 2.3.0). 1 in place, 0 not, -1 bad arguments
// (pythonnet needs a page).
int installNewPY27CLR(hnPythonNetPage* page, const char* runtimeFolder, const char* selection);
// Removes the pythonnet package through the page, or without one through the
// removal dispatcher.
bool uninstallPy27PythonNet(hnPythonNetPage* page);
// The toolbox's preparation: unless its dependency is active, CLR 4.0 takes
// the place of whatever bridge is there, provided the runtime ships it.
// 1 active afterwards, -1 not.
int checkAndActivatePy27CLRFunction(const char* runtimeFolder);
// The page's change of the CLR choice. The active bridge chosen again is
// left alone; another one replaces it only when it can be set (its files
// shipped, or its wheel in the cache). -1 no selection, 0 no runtime folder,
// 1 otherwise (the page then shows what is active).
int activateTargetPY27CLR(hnPythonNetPage* page, const char* runtimeFolder, const char* selection);
// The Python 3.6 toolbox builds' preparation: pythonnet 2.3.0 in Python 3.6,
// installed from its wheel when pip does not report it. 1 or -1.
int ensurePy36PythonNet();
