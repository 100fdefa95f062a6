#pragma once
// Python 3.6 interpreter and its packages: where it is installed, whether it
// is on the system search path, and the pip probes that detection and removal
// call by element name. The probes take an optional please-wait dialog that
// the caller created; it is shown while pip runs.
#include <string>

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

    static bool checkPy36ModuleWhlInstallationCommon(const char* package, const char* excluded,
                                                     const char* needle, hnDialog* dialog);
    static bool checkPy36ModuleWhlInstallation(hnDialog* dialog, const char* package, const char* nameText);
    static bool checkPy36ModuleWhlExactVersionInstallation(hnDialog* dialog, const char* package,
                                                           const char* excluded, const char* version);

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

// Appends `part` to a "; "-joined detail text.
void appendVersionDetail(std::string& text, const char* part);
