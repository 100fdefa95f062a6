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

    // ---- pip of Python 2.7 (the presence probes are the detection's).
    // The text after "Version: " in pip's "show" output up to the line
    // break, or to the end of the output. True when the query ran and was
    // understood (found false: pip does not know the package).
    static bool checkPy27ModuleWhlInstalledVersion(std::string* version, const char* package, bool* found);
    // "python.exe -m pip install --upgrade pip" (at most 3 minutes, outcome
    // not examined), then installPy27ModuleWhl. False when pip could not
    // even be started.
    static bool installPy27ModuleWhlWithPipUpgrade(const char* excluded, const char* wheelPath,
                                                   const char* package, const char* version,
                                                   bool stopOnErrors);
    // A silent pip run; with `stopOnErrors`, when pip does not then report
    // `version` (without the `excluded` text), a visible repeat whose
    // console stays open whatever pip's exit code.
    static bool installPy27ModuleWhl(const char* excluded, const char* wheelPath, const char* package,
                                     const char* version, bool stopOnErrors);
    // Silent: true when pip ended within 3 minutes (exit code not read).
    // Visible: in a console that waits for a key.
    static bool internalInstallPy27ModuleWhl(bool visible, const char* wheelPath);
    // A silent "pip uninstall -y"; with `stopOnErrors`, a visible repeat
    // while pip still shows the name. A stop of the calling worker (`stop`
    // may be null) ends the wait for pip at once and repeats nothing; the
    // removal then reports failure.
    static bool uninstallPy27ModuleWhl(const char* package, const char* nameText, bool stopOnErrors,
                                       const hnStopBlock* stop = nullptr);
    static bool internalUninstallPy27ModuleWhl(bool visible, const char* package,
                                               const hnStopBlock* stop = nullptr);
};

extern const char* const kPython2713ProductCode; // {4A656C6C-D24A-473F-9747-3A8D00907A03}
extern const char* const kPython279ProductCode;  // {79F081BF-7454-43DB-BD8F-9EE596813232}
