#pragma once
// The probes of installation state detection. Every probe reads the machine
// afresh (registry in the 32-bit program's view, Windows Installer, files,
// pip) and turns any failure into a negative answer; nothing is shown to the
// user and no exception leaves here.
#include <string>
#include <utility>
#include <vector>
#include <windows.h>

// The key of the programs' Uninstall entries (machine and user).
constexpr const char* kUninstallKey = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall";
// The installed names that count as a Python 2.7 interpreter begin with this.
constexpr const char* kPython27ProductPrefix = "Python 2.7";

class hnCheckInstallations {
public:
    // Uninstall sub-keys below "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\":
    // HKLM first, then HKCU.
    static bool isUninstallKeyPresent(const char* subKey);
    static bool isUninstallValuePresent(const char* subKey, const char* valueName);
    // Exact, case-sensitive comparison of the value under HKLM or under HKCU.
    static bool isUninstallValueEqual(const char* subKey, const char* valueName, const char* expected);
    // The same, giving in `read` the text it read (the machine's when both
    // hives hold one and neither matches); empty when none could be read.
    static bool uninstallValueEquals(const char* subKey, const char* valueName, const char* expected,
                                     std::string& read);
    // The value under HKLM, else under HKCU.
    static bool readUninstallValue(const char* subKey, const char* valueName, std::string& value);

    // "VersionString" readable in the machine, user-managed or
    // user-unmanaged context, in that order.
    static bool isMsiProductInstalled(const char* productCode);
    // Installed and its "VersionString" equals `version` (letter case ignored).
    // `knownInstalled`: the caller has just found the product installed, so
    // the presence is not asked again.
    static bool isMsiProductVersion(const char* productCode, const char* version,
                                    bool knownInstalled = false);
    // Installed and its "InstalledProductName" cannot be read or differs
    // (letter case ignored) from `name`; false when not installed.
    static bool isMsiProductNameDifferent(const char* productCode, const char* name,
                                          bool knownInstalled = false);
    // "InstalledProductName" in the machine, user-managed or user-unmanaged
    // context, in that order.
    static bool readInstalledProductName(const char* productCode, std::string& name);
    // "VersionString" and "InstalledProductName" as the comparisons above
    // read them (no context given).
    static bool readMsiProductVersion(const char* productCode, std::string& version);
    static bool readMsiProductName(const char* productCode, std::string& name);

    // Both exist with equal size and equal last-write time in whole seconds.
    static bool areFilesIdentical(const std::string& pathA, const std::string& pathB);
    // The fixed file version of the version resource as "%d.%d.%d.%d".
    static bool readFileVersion(const std::string& path, std::string& version);
    // The CLSID a COM ProgID is registered with.
    static bool resolveProgId(const char* progId, CLSID& clsid);

    // The runtime's "InstallPath" (ending with a separator), only while the
    // runtime product is installed under its expected name.
    static bool getRuntimeFolder(std::string& folder);
    // The runtime product is installed under its expected name.
    static bool isRuntimeProductInstalled();
    // The same key for the runtime product as installed under whatever name;
    // `folder` is left as it was on failure.
    static bool getInstalledRuntimeFolder(std::string& folder);

    // pip of the Python 2.7 interpreter, each query behind a please-wait
    // dialog of its own.
    // `reported`, when given, receives the version pip reports (empty when
    // it reports none).
    static bool checkPy27ModuleWhlInstallationCommon(const char* package, const char* excluded,
                                                     const char* needle, std::string* reported = nullptr);
    static bool checkPy27ModuleWhlInstallation(const char* package, std::string* reported = nullptr);
    static bool checkPy27ModuleWhlExactVersionInstallation(const char* package, const char* excluded,
                                                           const char* version,
                                                           std::string* reported = nullptr);

    // Product codes of the installed Windows Installer products whose
    // "InstalledProductName" begins with `prefix` (unreadable names skipped),
    // at most `limit` of them, from the application's kept list when there is
    // one.
    static std::vector<std::string> installedProductsNamed(const char* prefix,
                                                           std::size_t limit = static_cast<std::size_t>(-1));
    // Every installed product with its name ("" when unreadable).
    static std::vector<std::pair<std::string, std::string>> installedProducts();
    // Installed Windows Installer products whose name begins with "Python 2.7",
    // counted up to `limit`.
    static int countInstalledPython27Products(int limit = 0x7fffffff);
    // OpenCV builds present for Python 2.7: runtime folders and pip packages.
    // `found`, when given, receives the folder and package names counted.
    static int countOpenCvInstallations(std::vector<std::string>* found = nullptr);
    // An old stand-alone installation (Uninstall key) and a pip installation
    // of another version of the same package.
    static bool isLegacyPlusPipDuplicate(const char* package, const char* legacyKey,
                                         const char* legacyVersion, std::string* reported = nullptr);

    // `read`, when given: the version or value read (empty: none).
    static bool isWindowsInstaller31Installed(std::string* read = nullptr);
    static bool isDotNet20Installed(std::string* read = nullptr);
    static bool isAdobeReaderInstalled();
    // The TightVNC version is "2.6.4.0": "DisplayVersion" of its Uninstall
    // key, else the version of `productCode` when that is installed.
    static bool isTightVncVersionOK(const char* productCode, std::string* read = nullptr);
    // False only when "version.txt" of the cycle controller has a first line
    // other than the shipped version.
    static bool isCycleControllerVersionOK(std::string* read = nullptr);
    static bool isOpcServerPresent();
    static bool isOpcServerIdentityOK(std::string* read = nullptr);
};

extern const char* const kRuntimeProductCode; // {76C2FFEE-53C1-4382-B051-5CF47ED51327}
extern const char* const kRuntimeProductName; // "Orvanto Version XV 15.0.0.774 Runtime"
