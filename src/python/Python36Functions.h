#pragma once
// Python 3.6 interpreter and its packages: where it is installed, whether it
// is on the system search path, and the pip probes that detection and removal
// call by element name. The probes take an optional please-wait dialog that
// the caller created; it is shown while pip runs.
#include <cstddef>
#include <string>

class hnStopBlock;
class hnDialog;

class hnPyhton36InstallFunctions {
public:
    // Default value of "Software\\Python\\PythonCore\\3.6-32\\InstallPath"
    // (HKLM, else HKCU), ending with a separator.
    static bool getPython36InstallFolder(std::string& folder);
    static bool isPython36Registered();
    static bool isPython366Installed();
    // The Python 3.6 folder and its "Scripts\\" are in the machine "Path"
    // (lower-case substring tests).
    static bool areEnvironmentVariableWithPy36PathsAvailable();
    static bool getCurrentlyInstalledPython36CHMFileName(char* name, size_t capacity);

    // Checks of the runtime's Python 3.6 integration.
    static bool isPython36DLLInOrvantoRuntimePathOK();
    static bool isPython36CHMInOrvantoRuntimePathOK();
    static bool isPython36FolderInOrvantoRuntimePathOK();
    static bool areMatRelCTPy36FilesInOrvantoRuntimePathOK();
    static bool isPy36MyDocumentsPluginFolderOK();

    // One piece of the integration each.
    static bool updateEnvironmentVariableWithPy36Paths();
    static bool updatePython36DLLInOrvantoRuntimePath();
    static bool updatePython36CHMInOrvantoRuntimePath();
    static bool updatePython36FolderInOrvantoRuntimePath();
    static bool updateMatRelCTPy36FilesInOrvantoRuntimePath();
    static bool updatePython36MyDocumentsPluginFolder();
    static bool updatePy2to3BatForPy36();
    static bool updateOrvantoEXEShortcutsForPython36();
    static int managePython36DeepformVisionToolboxFiles();
    static bool clearPy27CLRFilesFromOrvantoRuntimeFolder();

    static bool deletePython36DLLInOrvantoRuntimePath();
    static bool deletePython36CHMInOrvantoRuntimePath();
    static bool deletePython36FolderInOrvantoRuntimePath();
    static bool deletePython36MyDocumentsPluginFolder();

    // Whole integration; every step runs whatever the previous ones gave.
    static bool applyPython36Integration();
    // The selection-dependent steps alone (toolbox files, shortcuts,
    // "py2to3.bat", the Python 2.7 leftovers), as the sheet runs them at start.
    static bool reapplyPython36Selections();
    static bool removePython36Integration();

    // Interpreter removal (the registered uninstaller, then every Windows
    // Installer product named "Python 3.6...") and repair (reinstall, all
    // files). A stop ends the waits, starts nothing more and gives false.
    static bool uninstallPython36ByUninstallString(const hnStopBlock* stop = nullptr);
    static bool uninstallAllPython36Products(const hnStopBlock* stop = nullptr);
    static bool repairAllPython36Products();

    // `reported` (when given) receives the version pip reports, empty for none.
    static bool checkPy36ModuleWhlInstallationCommon(const char* package, const char* excluded,
                                                     const char* needle, hnDialog* dialog,
                                                     std::string* reported = nullptr);
    static bool checkPy36ModuleWhlInstallation(hnDialog* dialog, const char* package, const char* nameText,
                                               std::string* reported = nullptr);
    static bool checkPy36ModuleWhlExactVersionInstallation(hnDialog* dialog, const char* package,
                                                           const char* excluded, const char* version,
                                                           std::string* reported = nullptr);

    // ---- pip of Python 3.6: as the Python 2.7 drivers, with the caller's
    // please-wait dialog (shown while pip runs, never destroyed here) and 5
    // minutes for the self-upgrade.
    static bool checkPy36ModuleWhlInstalledVersion(std::string* version, const char* package, bool* found);
    static bool installPy36ModuleWhlWithPipUpgrade(const char* excluded, hnDialog* dialog,
                                                   const char* wheelPath, const char* package,
                                                   const char* version, bool stopOnErrors);
    static bool installPy36ModuleWhl(const char* excluded, hnDialog* dialog, const char* wheelPath,
                                     const char* package, const char* version, bool stopOnErrors);
    static bool internalInstallPy36ModuleWhl(bool visible, const char* wheelPath, hnDialog* dialog);
    // A stop of the calling worker (`stop` may be null) ends the wait for pip
    // at once and starts nothing more; the removal then reports failure.
    static bool uninstallPy36ModuleWhl(const char* package, hnDialog* dialog, const char* nameText,
                                       bool stopOnErrors, const hnStopBlock* stop = nullptr);
    static bool internalUninstallPy36ModuleWhl(bool visible, const char* package, hnDialog* dialog,
                                               const hnStopBlock* stop = nullptr);

    // The old stand-alone pyserial setup ("pyserial-py3.6" Uninstall key):
    // its registered uninstaller, confirmed by the helper thread; true when
    // it is not there.
    static bool uninstallLegacyPy36Pyserial(const hnStopBlock* stop = nullptr);
    // Removals by package; each true when every step was.
    static bool uninstallPy36Pyserial(bool stopOnErrors, hnDialog* dialog, const hnStopBlock* stop = nullptr);
    static bool uninstallPy36Scipy(bool stopOnErrors, hnDialog* dialog);
    static bool uninstallPy36Numpy(bool stopOnErrors, hnDialog* dialog);
    static bool uninstallPy36OpenCV(bool stopOnErrors, hnDialog* dialog, const hnStopBlock* stop = nullptr);

    static bool isLegacyPy36PyserialInstalled();
    static bool isPy36PyserialInstalled(hnDialog* dialog);
    static bool isPy36PyserialDuplicated(hnDialog* dialog);
    static bool isPy36ScipyInstalled(hnDialog* dialog);
    static bool isPy36NumpyInstalled(hnDialog* dialog);
    static bool isPy36OpenCVInstalled(hnDialog* dialog);
    static bool isPy36OpenCVDuplicated(hnDialog* dialog);
    static bool isPy36PythonNet230Installed(hnDialog* dialog);

    // Version detail texts: the row names of the versions pip confirms,
    // joined by "; ", or "Unknown". False only for a missing text.
    static bool getCurrentInstalledVersionPy36Win(std::string* text, hnDialog* dialog);
    static bool getCurrentInstalledVersionPy36Serial(std::string* text, hnDialog* dialog);
    static bool getCurrentInstalledVersionNumPy36(std::string* text, hnDialog* dialog);
    static bool getCurrentInstalledVersionSciPy36(std::string* text, hnDialog* dialog);
    static bool getCurrentInstalledVersionOpencvPy36(std::string* text, hnDialog* dialog);
    static bool getCurrentInstalledVersionPythonNetPy36(std::string* text, hnDialog* dialog);
};

// One version a detail text may name: the pip package, the excluded text (or
// none), the version and the name appended when pip confirms it.
struct hnPipVersionCandidate {
    const char* package;
    const char* excluded;
    const char* version;
    const char* text;
};
