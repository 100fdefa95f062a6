#include "install/CheckInstallations.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <objbase.h>
#include <vector>
#include <windows.h>
#include <msi.h>

#include "app/AppBase.h"
#include "app/DebugOut.h"
#include "app/FileHelpers.h"
#include "app/InstalledProducts.h"
#include "app/PleaseWaitDlg.h"
#include "app/ScopedHandle.h"
#include "app/SystemView.h"
#include "app/Text.h"
#include "process/SystemInfo.h"
#include "install/PipShow.h"
#include "install/PythonEnvironment.h"

const char* const kRuntimeProductCode = "{76C2FFEE-53C1-4382-B051-5CF47ED51327}";
const char* const kRuntimeProductName = "Orvanto Version XV 15.0.0.774 Runtime";

namespace {

const char* const kVersionString = "VersionString";
const char* const kInstalledProductName = "InstalledProductName";
const char* const kOpcServerExe = "OrvantoOPCServer\\OrvantoOPCServer.exe";
const char* const kOpcServerProgId = "Halvenor.OPC.Orvanto.DA.1";
const wchar_t* const kOpcServerClsid = L"{CFEA073E-B729-4F9C-9CFB-611134C7DAD8}";

// Buffer sizes of the queries (characters, terminator included).
constexpr DWORD kPresenceVersionCapacity = 64;
constexpr DWORD kPropertyCapacity = 512;
constexpr DWORD kEnumNameCapacity = 1024;

bool uninstallKeyPath(const char* subKey, std::string& path) {
    return subKey && hnFormat(path, kPathCapacity, "%s\\%s", kUninstallKey, subKey);
}

bool productInfo(const char* productCode, const char* property, DWORD capacity, std::string& value) {
    value.clear();
    std::vector<char> buffer(capacity, '\0');
    DWORD length = capacity;
    if (::MsiGetProductInfoA(productCode, property, buffer.data(), &length) != ERROR_SUCCESS)
        return false;
    value = buffer.data();
    return true;
}

bool productInfoInContexts(const char* productCode, const char* property, DWORD capacity,
                           std::string& value) {
    return hnReadProductInfo(productCode, property, capacity, value);
}

bool runtimeEntry(const char* relative) {
    std::string runtime, path;
    return hnCheckInstallations::getRuntimeFolder(runtime) &&
           hnFormat(path, kPathCapacity, "%s%s", runtime.c_str(), relative) && fileExists(path);
}

// "InstallPath" of "SOFTWARE\\HALVENOR AS\\<product name>", ending with a
// separator: sub-folders are appended directly, and a value without its
// separator would glue them to the folder's own name.
bool readRuntimeInstallPath(const char* productName, std::string& folder) {
    std::string key;
    if (!hnFormat(key, kPathCapacity, "SOFTWARE\\HALVENOR AS\\%s", productName) ||
        !hnRegReadString(HKEY_LOCAL_MACHINE, key.c_str(), "InstallPath", folder, kPathCapacity) ||
        folder.empty())
        return false;
    if (folder.back() != '\\' && folder.back() != '/')
        folder += '\\';
    return true;
}

bool fileData(const std::string& path, WIN32_FILE_ATTRIBUTE_DATA& data) {
    return ::GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data) != FALSE;
}

ULONGLONG wholeSeconds(const FILETIME& time) {
    ULARGE_INTEGER value;
    value.LowPart = time.dwLowDateTime;
    value.HighPart = time.dwHighDateTime;
    return value.QuadPart / 10000000ULL;
}

} // namespace

bool hnCheckInstallations::isUninstallKeyPresent(const char* subKey) {
    std::string path;
    if (!uninstallKeyPath(subKey, path))
        return false;
    hnScopedKey key;
    return hnRegOpenKey(HKEY_LOCAL_MACHINE, path.c_str(), KEY_READ, key.put()) == ERROR_SUCCESS ||
           hnRegOpenKey(HKEY_CURRENT_USER, path.c_str(), KEY_READ, key.put()) == ERROR_SUCCESS;
}

bool hnCheckInstallations::readUninstallValue(const char* subKey, const char* valueName, std::string& value) {
    std::string path;
    value.clear();
    if (!valueName || !uninstallKeyPath(subKey, path))
        return false;
    return hnRegReadString(HKEY_LOCAL_MACHINE, path.c_str(), valueName, value) ||
           hnRegReadString(HKEY_CURRENT_USER, path.c_str(), valueName, value);
}

bool hnCheckInstallations::isUninstallValuePresent(const char* subKey, const char* valueName) {
    std::string value;
    return readUninstallValue(subKey, valueName, value);
}

bool hnCheckInstallations::isUninstallValueEqual(const char* subKey, const char* valueName,
                                                 const char* expected) {
    std::string read;
    return uninstallValueEquals(subKey, valueName, expected, read);
}

bool hnCheckInstallations::uninstallValueEquals(const char* subKey, const char* valueName,
                                                const char* expected, std::string& read) {
    std::string path, value;
    read.clear();
    if (!expected || !valueName || !uninstallKeyPath(subKey, path))
        return false;
    for (HKEY root : {HKEY_LOCAL_MACHINE, HKEY_CURRENT_USER}) {
        if (!hnRegReadString(root, path.c_str(), valueName, value))
            continue;
        if (value == expected) {
            read = value;
            return true;
        }
        if (read.empty())
            read = value;
    }
    return false;
}

bool hnCheckInstallations::isMsiProductInstalled(const char* productCode) {
    std::string version;
    return productInfoInContexts(productCode, kVersionString, kPresenceVersionCapacity, version);
}

bool hnCheckInstallations::isMsiProductVersion(const char* productCode, const char* version,
                                               bool knownInstalled) {
    std::string installed;
    return version && (knownInstalled || isMsiProductInstalled(productCode)) &&
           readMsiProductVersion(productCode, installed) && hnEqualsNoCase(installed, version);
}

bool hnCheckInstallations::isMsiProductNameDifferent(const char* productCode, const char* name,
                                                     bool knownInstalled) {
    if (!knownInstalled && !isMsiProductInstalled(productCode))
        return false;
    std::string installed;
    return !name || !readMsiProductName(productCode, installed) || !hnEqualsNoCase(installed, name);
}

bool hnCheckInstallations::readMsiProductVersion(const char* productCode, std::string& version) {
    return productInfo(productCode, kVersionString, kPropertyCapacity, version);
}

bool hnCheckInstallations::readMsiProductName(const char* productCode, std::string& name) {
    return productInfo(productCode, kInstalledProductName, kPropertyCapacity, name);
}

bool hnCheckInstallations::readInstalledProductName(const char* productCode, std::string& name) {
    return productInfoInContexts(productCode, kInstalledProductName, kEnumNameCapacity, name);
}

bool hnCheckInstallations::areFilesIdentical(const std::string& pathA, const std::string& pathB) {
    WIN32_FILE_ATTRIBUTE_DATA a, b;
    if (!fileData(pathA, a) || !fileData(pathB, b))
        return false;
    return a.nFileSizeHigh == b.nFileSizeHigh && a.nFileSizeLow == b.nFileSizeLow &&
           wholeSeconds(a.ftLastWriteTime) == wholeSeconds(b.ftLastWriteTime);
}

bool hnCheckInstallations::readFileVersion(const std::string& path, std::string& version) {
    version.clear();
    DWORD ignored = 0;
    DWORD size = ::GetFileVersionInfoSizeA(path.c_str(), &ignored);
    if (size == 0)
        return false;
    std::vector<char> data(size);
    if (!::GetFileVersionInfoA(path.c_str(), 0, size, data.data()))
        return false;
    VS_FIXEDFILEINFO* fixed = nullptr;
    UINT length = 0;
    if (!::VerQueryValueA(data.data(), "\\", reinterpret_cast<void**>(&fixed), &length) || !fixed ||
        length < sizeof(VS_FIXEDFILEINFO))
        return false;
    return hnFormat(version, 64, "%d.%d.%d.%d", HIWORD(fixed->dwFileVersionMS),
                    LOWORD(fixed->dwFileVersionMS), HIWORD(fixed->dwFileVersionLS),
                    LOWORD(fixed->dwFileVersionLS));
}

bool hnCheckInstallations::resolveProgId(const char* progId, CLSID& clsid) {
    wchar_t wide[256];
    if (!progId || !::MultiByteToWideChar(CP_ACP, 0, progId, -1, wide, 256))
        return false;
    // The lookup needs COM on this thread; start it for the call when the
    // thread has not, and leave a thread that has as it was.
    HRESULT started = ::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    HRESULT result = ::CLSIDFromProgID(wide, &clsid);
    if (SUCCEEDED(started))
        ::CoUninitialize();
    return SUCCEEDED(result);
}

bool hnCheckInstallations::isRuntimeProductInstalled() {
    std::string name;
    return isMsiProductInstalled(kRuntimeProductCode) &&
           productInfo(kRuntimeProductCode, kInstalledProductName, kPropertyCapacity, name) &&
           hnEqualsNoCase(name, kRuntimeProductName);
}

bool hnCheckInstallations::getRuntimeFolder(std::string& folder) {
    folder.clear();
    if (!isRuntimeProductInstalled())
        return false;
    return readRuntimeInstallPath(kRuntimeProductName, folder);
}

bool hnCheckInstallations::getInstalledRuntimeFolder(std::string& folder) {
    std::string name, found;
    if (!readInstalledProductName(kRuntimeProductCode, name) || !readRuntimeInstallPath(name.c_str(), found))
        return false;
    folder = found;
    return true;
}

bool hnCheckInstallations::checkPy27ModuleWhlInstallationCommon(const char* package, const char* excluded,
                                                                const char* needle, std::string* reported) {
    if (reported)
        reported->clear();
    if (!package || !needle) {
        hnDebugOutF("hnCheckInstallations::checkPy27ModuleWhlInstallationCommon - NULL pointer %d\n",
                    package ? 2 : 1);
        return false;
    }
    std::string folder;
    if (!pythonEnvironment().python27InstallFolder(folder)) {
        hnDebugOut(
            "hnCheckInstallations::checkPy27ModuleWhlInstallationCommon - Unable to get Python 27 path\n");
        return false;
    }
    DPleaseWaitDlg wait;
    wait.createOnDemand(hnAppBase::current() ? hnAppBase::current()->mainWindow() : nullptr);
    std::string output;
    runPipShow(folder, package, output, &wait);
    wait.destroy();
    if (reported)
        *reported = pipReportedVersion(output);
    return pipOutputMatches(output, needle, excluded);
}

bool hnCheckInstallations::checkPy27ModuleWhlInstallation(const char* package, std::string* reported) {
    std::string needle;
    if (!package) {
        hnDebugOut("hnCheckInstallations::checkPy27ModuleWhlInstallation - NULL pointer 1\n");
        return false;
    }
    if (!hnFormat(needle, kIniValueCapacity, "Name: %s", package)) {
        hnDebugOut("hnCheckInstallations::checkPy27ModuleWhlInstallation - NULL pointer 2\n");
        return false;
    }
    return checkPy27ModuleWhlInstallationCommon(package, nullptr, needle.c_str(), reported);
}

bool hnCheckInstallations::checkPy27ModuleWhlExactVersionInstallation(const char* package,
                                                                      const char* excluded,
                                                                      const char* version,
                                                                      std::string* reported) {
    std::string needle;
    if (!package) {
        hnDebugOut("hnCheckInstallations::checkPy27ModuleWhlExactVersionInstallation - NULL pointer 1\n");
        return false;
    }
    if (!version || !hnFormat(needle, kIniValueCapacity, "Version: %s", version)) {
        hnDebugOut("hnCheckInstallations::checkPy27ModuleWhlExactVersionInstallation - NULL pointer 2\n");
        return false;
    }
    return checkPy27ModuleWhlInstallationCommon(package, excluded, needle.c_str(), reported);
}

std::vector<std::string> hnCheckInstallations::installedProductsNamed(const char* prefix, std::size_t limit) {
    return hnInstalledProducts::matching(installedProducts(), prefix, limit);
}

std::vector<std::pair<std::string, std::string>> hnCheckInstallations::installedProducts() {
    hnInstalledProducts* kept = hnAppInstalledProducts();
    return kept ? kept->all() : hnInstalledProducts::enumerateAll();
}

int hnCheckInstallations::countInstalledPython27Products(int limit) {
    return static_cast<int>(
        installedProductsNamed(kPython27ProductPrefix, limit > 0 ? static_cast<std::size_t>(limit) : 0)
            .size());
}

int hnCheckInstallations::countOpenCvInstallations(std::vector<std::string>* found) {
    std::vector<std::string> counted;
    for (const char* folder :
         {"OpenCV249Py27", "OpenCV300", "OpenCV310", "OpenCV320", "OpenCV330", "OpenCV331", "OpenCV340"})
        if (runtimeEntry(folder))
            counted.push_back(folder);
    for (const char* package : {"opencv-contrib-python", "opencv-python"})
        if (checkPy27ModuleWhlInstallation(package))
            counted.push_back(package);
    if (found)
        *found = counted;
    return static_cast<int>(counted.size());
}

bool hnCheckInstallations::isLegacyPlusPipDuplicate(const char* package, const char* legacyKey,
                                                    const char* legacyVersion, std::string* reported) {
    return checkPy27ModuleWhlInstallation(package, reported) && isUninstallKeyPresent(legacyKey) &&
           !checkPy27ModuleWhlExactVersionInstallation(package, nullptr, legacyVersion);
}

bool hnCheckInstallations::isWindowsInstaller31Installed(std::string* read) {
    std::string system;
    if (!hnSystemFolder(system))
        return false;
    for (char& c : system)
        if (c == '\\')
            c = '/';
    if (!system.empty() && system.back() == '/')
        system.pop_back();
    std::string path;
    if (!hnFormat(path, kPathCapacity, "%s\\Msi.dll", system.c_str()))
        return false;
    char version[256] = {};
    DWORD length = sizeof(version);
    if (::MsiGetFileVersionA(path.c_str(), version, &length, nullptr, nullptr) != ERROR_SUCCESS)
        return false;
    if (read)
        *read = version;
    return std::atoi(version) > 2;
}

bool hnCheckInstallations::isDotNet20Installed(std::string* read) {
    DWORD install = 0;
    if (!hnRegReadDword(HKEY_LOCAL_MACHINE, "SOFTWARE\\Microsoft\\NET Framework Setup\\NDP\\v2.0.50727",
                        "Install", install))
        return false;
    if (read)
        *read = std::to_string(install);
    return install == 1;
}

bool hnCheckInstallations::isAdobeReaderInstalled() {
    hnScopedKey key;
    if (hnRegOpenKey(HKEY_LOCAL_MACHINE, "SOFTWARE\\Adobe\\Acrobat Reader", KEY_READ, key.put()) ==
        ERROR_SUCCESS)
        return true;
    return is64BitWindows() &&
           hnRegOpenKey(HKEY_LOCAL_MACHINE, "SOFTWARE\\Wow6432Node\\Adobe\\Acrobat Reader", KEY_READ,
                        key.put()) == ERROR_SUCCESS;
}

bool hnCheckInstallations::isTightVncVersionOK(const char* productCode, std::string* read) {
    std::string version;
    bool ok = readUninstallValue("TightVNC", "DisplayVersion", version)
                  ? version == "2.6.4.0"
                  : isMsiProductInstalled(productCode) && readMsiProductVersion(productCode, version) &&
                        hnEqualsNoCase(version, "2.6.4.0");
    if (read)
        *read = version;
    return ok;
}

bool hnCheckInstallations::isCycleControllerVersionOK(std::string* read) {
    if (read)
        read->clear();
    std::string programFiles, path;
    if (!programFilesFolder(programFiles) ||
        !hnFormat(path, kPathCapacity, "%s\\Halvenor AS\\Cycle Controller\\version.txt",
                  programFiles.c_str()))
        return true;
    FILE* file = std::fopen(path.c_str(), "r");
    if (!file)
        return true;
    char line[1024] = {};
    bool gotLine = std::fgets(line, sizeof(line), file) != nullptr;
    std::fclose(file);
    if (!gotLine)
        return true;
    line[std::strcspn(line, "\r\n")] = '\0';
    if (read)
        *read = line;
    return std::strcmp(line, "Cycle Controller 1.0.0.1(3587)") == 0;
}

bool hnCheckInstallations::isOpcServerPresent() {
    CLSID clsid;
    return runtimeEntry(kOpcServerExe) && resolveProgId(kOpcServerProgId, clsid);
}

bool hnCheckInstallations::isOpcServerIdentityOK(std::string* read) {
    std::string runtime, exe, version;
    CLSID found, expected;
    bool versionRead = getRuntimeFolder(runtime) &&
                       hnFormat(exe, kPathCapacity, "%s%s", runtime.c_str(), kOpcServerExe) &&
                       fileExists(exe) && readFileVersion(exe, version);
    if (read)
        *read = version;
    return versionRead && version == "1.0.0.7" && resolveProgId(kOpcServerProgId, found) &&
           SUCCEEDED(::CLSIDFromString(kOpcServerClsid, &expected)) && IsEqualCLSID(found, expected);
}
