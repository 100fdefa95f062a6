#pragma once
// Python 2.7 interpreter: where it is installed and which release.
#include <string>

class hnPyhton27InstallFunctions {
public:
    // Default value of "Software\\Python\\PythonCore\\2.7\\InstallPath"
    // (HKLM, else HKCU); false when neither gives a non-empty folder. The
    // folder ends with a separator.
    static bool getPython27InstallFolder(std::string& folder);
    // "Python 2.7.9" or "Python 2.7.13" (letter case ignored) by the rule of
    // the installation state detection; false for any other text.
    static bool isPython27VersionInstalled(const char* version);
};

extern const char* const kPython2713ProductCode; // {4A656C6C-D24A-473F-9747-3A8D00907A03}
extern const char* const kPython279ProductCode;  // {79F081BF-7454-43DB-BD8F-9EE596813232}
