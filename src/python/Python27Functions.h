#pragma once
// Python 2.7 interpreter: where it is installed and which release.
#include <cstddef>
#include <string>

class hnStopBlock;

class hnPyhton27InstallFunctions {
public:
    // Default value of "Software\\Python\\PythonCore\\2.7\\InstallPath"
    // (HKLM, else HKCU); false when neither gives a non-empty folder. The
    // folder ends with a separator.
    static bool getPython27InstallFolder(std::string& folder);
    // "Python 2.7.9" or "Python 2.7.13" (letter case ignored) by the rule of
    // the installation state detection; false for any other text.
    static bool isPython27VersionInstalled(const char* version);
    static bool getCurrentlyInstalledPython27CHMFileName(char* name, size_t capacity);

    // Checks of the runtime's Python 2.7 integration.
    static bool isPython27DLLInOrvantoRuntimePathOK();
    static bool isPython27CHMInOrvantoRuntimePathOK();
    static bool isPython27FolderInOrvantoRuntimePathOK();
    static bool areMatRelCTPy27FilesInOrvantoRuntimePathOK();
    static bool isPy27MyDocumentsPluginFolderOK();

    // One piece of the integration each.
    static bool updatePython27DLLInOrvantoRuntimePath();
    static bool updatePython27CHMInOrvantoRuntimePath();
    static bool updatePython27FolderInOrvantoRuntimePath();
    static bool updateMatRelCTPy27FilesInOrvantoRuntimePath();
    static bool updatePython27MyDocumentsPluginFolder();
    static bool updatePy2to3BatForPy27();
    static bool updateOrvantoEXEShortcutsForPython27();
    static int managePython27OpenCVFiles();
    static int managePython27CLRFiles();
    static int managePython27DeepformVisionToolboxFiles();
    static bool updatePython27OpenCVCv2PydFile(const char* folderName);

    static bool deletePython27DLLInOrvantoRuntimePath();
    static bool deletePython27CHMInOrvantoRuntimePath();
    static bool deletePython27FolderInOrvantoRuntimePath();
    static bool deletePython27MyDocumentsPluginFolder();
    static bool deletePython27OpenCVCv2PydFile();

    // Whole integration; every step runs whatever the previous ones gave.
    static bool applyPython27Integration();
    static bool reapplyPython27Selections();
    static bool removePython27Integration();

    // Removes every Windows Installer product named "Python 2.7...", then the
    // runtime's Python 2.7 integration. A stop ends the waits, starts nothing
    // more and gives false.
    static bool uninstallAllPython27Products(const hnStopBlock* stop = nullptr);
};

extern const char* const kPython2713ProductCode; // {4A656C6C-D24A-473F-9747-3A8D00907A03}
extern const char* const kPython279ProductCode;  // {79F081BF-7454-43DB-BD8F-9EE596813232}
