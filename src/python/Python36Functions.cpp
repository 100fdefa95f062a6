#include "python/Python36Functions.h"

#include <algorithm>
#include <cctype>
#include <windows.h>

#include "app/DebugOut.h"
#include "app/ScopedHandle.h"
#include "app/SystemView.h"
#include "app/Text.h"
#include "python/InterpreterFolder.h"
#include "install/PipShow.h"
#include "process/UninstallRunners.h"

namespace {

const char* const kPython36Uninstall =
    "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\{b43c5985-05a6-4dc7-be5f-85f504d498d0}";
const char* const kLegacyPyserialUninstall =
    "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\pyserial-py3.6";
const char* const kEnvironmentKey = "System\\CurrentControlSet\\Control\\Session Manager\\Environment";
constexpr DWORD kLongestEnvironmentValue = 32768;

bool keyOpensInEitherHive(const char* subKey) {
    hnScopedKey key;
    return hnRegOpenKey(HKEY_LOCAL_MACHINE, subKey, KEY_READ, key.put()) == ERROR_SUCCESS ||
           hnRegOpenKey(HKEY_CURRENT_USER, subKey, KEY_READ, key.put()) == ERROR_SUCCESS;
}

std::string lowerCase(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return text;
}

// Fills a detail text from candidates in order; "Unknown" when pip confirms none.
bool buildVersionDetail(const char* builder, std::string* text, hnDialog* dialog,
                        std::initializer_list<hnPipVersionCandidate> candidates) {
    if (!text) {
        hnDebugOutF("hnPyhton36InstallFunctions::%s - NULL pointer 1\n", builder);
        return false;
    }
    text->clear();
    for (const hnPipVersionCandidate& candidate : candidates)
        if (hnPyhton36InstallFunctions::checkPy36ModuleWhlExactVersionInstallation(
                dialog, candidate.package, candidate.excluded, candidate.version))
            appendVersionDetail(*text, candidate.text);
    if (text->empty())
        *text = "Unknown";
    return true;
}

} // namespace

bool hnPyhton36InstallFunctions::getPython36InstallFolder(std::string& folder) {
    return readInterpreterFolder("Software\\Python\\PythonCore\\3.6-32\\InstallPath", folder);
}

bool hnPyhton36InstallFunctions::isPython36Registered() {
    return keyOpensInEitherHive(kPython36Uninstall);
}

bool hnPyhton36InstallFunctions::isPython366Installed() {
    std::string version;
    if (!hnRegReadString(HKEY_LOCAL_MACHINE, kPython36Uninstall, "DisplayVersion", version))
        hnRegReadString(HKEY_CURRENT_USER, kPython36Uninstall, "DisplayVersion", version);
    return version == "3.6.6150.0";
}

bool hnPyhton36InstallFunctions::areEnvironmentVariableWithPy36PathsAvailable() {
    std::string folder;
    if (!getPython36InstallFolder(folder)) {
        hnDebugOut(
            "hnPyhton36InstallFunctions::areEnvironmentVariableWithPy36PathsAvailable - Unable to get Python "
            "36 installation directory path\n");
        return false;
    }
    hnScopedKey key;
    if (hnRegOpenKey(HKEY_LOCAL_MACHINE, kEnvironmentKey, KEY_READ, key.put()) != ERROR_SUCCESS) {
        hnDebugOut(
            "hnPyhton36InstallFunctions::areEnvironmentVariableWithPy36PathsAvailable - Unable to open "
            "environment registry key\n");
        return false;
    }
    // The test only reads; a Path longer than the 4096 characters the update
    // handles must not make the interpreter look misconfigured.
    std::string path;
    if (!hnRegReadString(HKEY_LOCAL_MACHINE, kEnvironmentKey, "Path", path, kLongestEnvironmentValue)) {
        hnDebugOut(
            "hnPyhton36InstallFunctions::areEnvironmentVariableWithPy36PathsAvailable - Unable to query "
            "environment registry key\n");
        return false;
    }
    path = lowerCase(path);
    std::string lowerFolder = lowerCase(folder);
    return path.find(lowerFolder) != std::string::npos &&
           path.find(lowerFolder + "scripts\\") != std::string::npos;
}

bool hnPyhton36InstallFunctions::checkPy36ModuleWhlInstallationCommon(const char* package,
                                                                      const char* excluded,
                                                                      const char* needle, hnDialog* dialog,
                                                                      std::string* reported) {
    if (reported)
        reported->clear();
    if (!package) {
        hnDebugOut("hnPyhton36InstallFunctions::checkPy36ModuleWhlInstallationCommon - NULL pointer 1\n");
        return false;
    }
    if (!needle) {
        hnDebugOut("hnPyhton36InstallFunctions::checkPy36ModuleWhlInstallationCommon - NULL pointer 2\n");
        return false;
    }
    std::string folder;
    if (!getPython36InstallFolder(folder)) {
        hnDebugOut(
            "hnPyhton36InstallFunctions::checkPy36ModuleWhlInstallationCommon - Unable to get Python 36 "
            "path\n");
        return false;
    }
    std::string output;
    runPipShow(folder, package, output, dialog);
    if (reported)
        *reported = pipReportedVersion(output);
    return pipOutputMatches(output, needle, excluded);
}

bool hnPyhton36InstallFunctions::checkPy36ModuleWhlInstallation(hnDialog* dialog, const char* package,
                                                                const char* nameText, std::string* reported) {
    if (!package) {
        hnDebugOut("hnPyhton36InstallFunctions::checkPy36ModuleWhlInstallation - NULL pointer 1\n");
        return false;
    }
    std::string needle;
    if (!nameText || !hnFormat(needle, kIniValueCapacity, "Name: %s", nameText)) {
        hnDebugOut("hnPyhton36InstallFunctions::checkPy36ModuleWhlInstallation - NULL pointer 2\n");
        return false;
    }
    return checkPy36ModuleWhlInstallationCommon(package, nullptr, needle.c_str(), dialog, reported);
}

bool hnPyhton36InstallFunctions::checkPy36ModuleWhlExactVersionInstallation(
    hnDialog* dialog, const char* package, const char* excluded, const char* version, std::string* reported) {
    if (!package) {
        hnDebugOut(
            "hnPyhton36InstallFunctions::checkPy36ModuleWhlExactVersionInstallation - NULL pointer 1\n");
        return false;
    }
    std::string needle;
    if (!version || !hnFormat(needle, kIniValueCapacity, "Version: %s", version)) {
        hnDebugOut(
            "hnPyhton36InstallFunctions::checkPy36ModuleWhlExactVersionInstallation - NULL pointer 2\n");
        return false;
    }
    return checkPy36ModuleWhlInstallationCommon(package, excluded, needle.c_str(), dialog, reported);
}

bool hnPyhton36InstallFunctions::isLegacyPy36PyserialInstalled() {
    return keyOpensInEitherHive(kLegacyPyserialUninstall);
}

bool hnPyhton36InstallFunctions::uninstallLegacyPy36Pyserial(const hnStopBlock* stop) {
    if (!isLegacyPy36PyserialInstalled())
        return true;
    // The old setup asks for confirmations; the helper thread answers them.
    return runUninstallStringWithAutoConfirm(kLegacyPyserialUninstall, stop);
}

bool hnPyhton36InstallFunctions::isPy36PyserialInstalled(hnDialog* dialog) {
    return isLegacyPy36PyserialInstalled() || checkPy36ModuleWhlInstallation(dialog, "pyserial", "pyserial");
}

bool hnPyhton36InstallFunctions::isPy36PyserialDuplicated(hnDialog* dialog) {
    return isLegacyPy36PyserialInstalled() && checkPy36ModuleWhlInstallation(dialog, "pyserial", "pyserial");
}

bool hnPyhton36InstallFunctions::isPy36ScipyInstalled(hnDialog* dialog) {
    return checkPy36ModuleWhlInstallation(dialog, "scipy", "scipy");
}

bool hnPyhton36InstallFunctions::isPy36NumpyInstalled(hnDialog* dialog) {
    return checkPy36ModuleWhlInstallation(dialog, "numpy", "numpy");
}

bool hnPyhton36InstallFunctions::isPy36OpenCVInstalled(hnDialog* dialog) {
    return checkPy36ModuleWhlInstallation(dialog, "opencv-contrib-python", "opencv-contrib-python") ||
           checkPy36ModuleWhlInstallation(dialog, "opencv-python", "opencv-python");
}

bool hnPyhton36InstallFunctions::isPy36OpenCVDuplicated(hnDialog* dialog) {
    return checkPy36ModuleWhlInstallation(dialog, "opencv-contrib-python", "opencv-contrib-python") &&
           checkPy36ModuleWhlInstallation(dialog, "opencv-python", "opencv-python");
}

bool hnPyhton36InstallFunctions::isPy36PythonNet230Installed(hnDialog* dialog) {
    return checkPy36ModuleWhlExactVersionInstallation(dialog, "pythonnet", nullptr, "2.3.0");
}

bool hnPyhton36InstallFunctions::getCurrentInstalledVersionPy36Win(std::string* text, hnDialog* dialog) {
    return buildVersionDetail("getCurrentInstalledVersionPy36Win", text, dialog,
                              {{"pywin32", nullptr, "223", "pywin32-223-cp36-cp36m-win32"}});
}

bool hnPyhton36InstallFunctions::getCurrentInstalledVersionPy36Serial(std::string* text, hnDialog* dialog) {
    return buildVersionDetail("getCurrentInstalledVersionPy36Serial", text, dialog,
                              {{"pyserial", nullptr, "3.4", "pyserial-3.4-py2.py3-none-any-py36"}});
}

bool hnPyhton36InstallFunctions::getCurrentInstalledVersionNumPy36(std::string* text, hnDialog* dialog) {
    return buildVersionDetail("getCurrentInstalledVersionNumPy36", text, dialog,
                              {{"numpy", "1.15.4+", "1.15.4", "numpy-1.15.4-cp36-none-win32"},
                               {"numpy", "1.16.4+", "1.16.4", "numpy-1.16.4-cp36-cp36m-win32"},
                               {"numpy", nullptr, "1.16.4+mkl", "numpy-1.16.4+mkl-cp36-cp36m-win32"}});
}

bool hnPyhton36InstallFunctions::getCurrentInstalledVersionSciPy36(std::string* text, hnDialog* dialog) {
    return buildVersionDetail("getCurrentInstalledVersionSciPy36", text, dialog,
                              {{"scipy", nullptr, "1.2.0", "scipy-1.2.0-cp36-cp36m-win32"},
                               {"scipy", nullptr, "1.3.0", "scipy-1.3.0-cp36-cp36m-win32"},
                               {"scipy", nullptr, "1.3.1", "scipy-1.3.1-cp36-cp36m-win32"}});
}

bool hnPyhton36InstallFunctions::getCurrentInstalledVersionOpencvPy36(std::string* text, hnDialog* dialog) {
    return buildVersionDetail(
        "getCurrentInstalledVersionOpencvPy36", text, dialog,
        {{"opencv-contrib-python", nullptr, "3.4.3.18", "opencv_contrib_python-3.4.3.18-cp36-cp36m-win32"},
         {"opencv-python", nullptr, "3.4.3.18", "opencv_python-3.4.3.18-cp36-cp36m-win32"},
         {"opencv-python", "4.0.0+", "4.0.0", "opencv_python-4.0.0-cp36-cp36m-win32"},
         {"opencv-python", nullptr, "4.0.0+contrib", "opencv_python-4.0.0+contrib-cp36-cp36m-win32"},
         {"opencv-contrib-python", nullptr, "4.1.0.25", "opencv_contrib_python-4.1.0.25-cp36-cp36m-win32"},
         {"opencv-python", nullptr, "4.1.0.25", "opencv_python-4.1.0.25-cp36-cp36m-win32"},
         {"opencv-contrib-python", nullptr, "4.2.0.32", "opencv_contrib_python-4.2.0.32-cp36-cp36m-win32"},
         {"opencv-python", nullptr, "4.2.0.32", "opencv_python-4.2.0.32-cp36-cp36m-win32"},
         {"opencv-contrib-python", nullptr, "4.2.0.34", "opencv_contrib_python-4.2.0.34-cp36-cp36m-win32"},
         {"opencv-python", nullptr, "4.2.0.34", "opencv_python-4.2.0.34-cp36-cp36m-win32"}});
}

bool hnPyhton36InstallFunctions::getCurrentInstalledVersionPythonNetPy36(std::string* text,
                                                                         hnDialog* dialog) {
    return buildVersionDetail("getCurrentInstalledVersionPythonNetPy36", text, dialog,
                              {{"pythonnet", nullptr, "2.3.0", "pythonnet-2.3.0-cp36-cp36m-win32"}});
}
