#include "python/IntegrationPieces.h"

#include <cstdio>
#include <cstring>
#include <vector>
#include <windows.h>

#include "app/DebugOut.h"
#include "app/FileHelpers.h"
#include "app/ScopedHandle.h"
#include "app/SystemView.h"
#include "app/Text.h"
#include "download/DownloadEngine.h"
#include "install/CheckInstallations.h"
#include "install/InstallHelpers.h"
#include "python/IntegrationFiles.h"
#include "python/Python27Functions.h"
#include "python/Python36Functions.h"

namespace {

const char* const kVisionSoftwareProductCode = "{356E8CAF-215F-46B8-B8E4-625FD2FD8666}";
const char* const kLibraryVariants[] = {"Matrel Beta", "Intel-Blend", "Intel-Blend-IPP", "VC8", "VC8-IPP"};

void report(const char* routine, const char* reason) {
    hnDebugOutF("%s - %s\n", routine, reason);
}

std::string lower(const char* text) {
    std::string out(text);
    for (char& c : out)
        c = static_cast<char>(::tolower(static_cast<unsigned char>(c)));
    return out;
}

bool isDotEntry(const char* name) {
    return std::strcmp(name, ".") == 0 || std::strcmp(name, "..") == 0;
}

// Relative paths of every file below `folder` ("" or "sub\\" prefixes).
void listFiles(const std::string& folder, const std::string& prefix, std::vector<std::string>& files) {
    WIN32_FIND_DATAA data = {};
    hnScopedFind find(::FindFirstFileA((folder + "\\*.*").c_str(), &data));
    if (!find)
        return;
    do {
        if (isDotEntry(data.cFileName))
            continue;
        if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
            listFiles(folder + "\\" + data.cFileName, prefix + data.cFileName + "\\", files);
        else
            files.push_back(prefix + data.cFileName);
    } while (::FindNextFileA(find.get(), &data));
}

// The plugins of a plugin reference folder: every sub-folder N that holds
// its script "N.py", "Backup" first.
std::vector<std::string> pluginNames(const std::string& reference) {
    std::vector<std::string> names;
    WIN32_FIND_DATAA data = {};
    hnScopedFind find(::FindFirstFileA((reference + "\\*.*").c_str(), &data));
    if (!find)
        return names;
    do {
        if (isDotEntry(data.cFileName) || !(data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
            continue;
        std::string name = data.cFileName;
        if (!fileExists(reference + "\\" + name + "\\" + name + ".py"))
            continue;
        if (hnEqualsNoCase(name, "Backup"))
            names.insert(names.begin(), name);
        else
            names.push_back(name);
    } while (::FindNextFileA(find.get(), &data));
    return names;
}

bool userPluginsFolder(std::string& folder) {
    std::string documents;
    return hnDocumentsFolder(documents) &&
           hnFormat(folder, kPathCapacity, "%s\\%s\\Plugins", documents.c_str(), "Orvanto 15.0");
}

// The interpreter DLL the family copies into the runtime; false with a
// debug line when it is not there.
bool dllSource(const hnIntegrationFamily& f, const char* routine, std::string& path) {
    std::string folder;
    std::string lowerName = lower(f.dllName);
    if (f.dllFromSystemFolder) {
        if (!hnSystemFolder(folder) || !hnFormat(path, kPathCapacity, "%s\\%s", folder.c_str(), f.dllName)) {
            report(routine, "Unable to get Windows System 32 directory path");
            return false;
        }
        if (!fileExists(path)) {
            hnDebugOutF("%s - Unable to locate Windows System 32 directory %s\n", routine, lowerName.c_str());
            return false;
        }
        return true;
    }
    if (!f.interpreterFolder(folder) || !hnFormat(path, kPathCapacity, "%s%s", folder.c_str(), f.dllName)) {
        hnDebugOutF("%s - Unable to get Python %s installation directory path\n", routine, f.digits);
        return false;
    }
    if (!fileExists(path)) {
        hnDebugOutF("%s - Unable to locate Python %s installation directory %s\n", routine, f.digits,
                    lowerName.c_str());
        return false;
    }
    return true;
}

// Source and runtime copy of the help file; false with a debug line when a
// prerequisite is missing. The runtime copy need not exist.
bool chmPaths(const hnIntegrationFamily& f, const char* routine, std::string& source, std::string& runtime,
              std::string& copy) {
    std::string folder;
    if (!f.interpreterFolder(folder)) {
        hnDebugOutF("%s - Unable to get Python %s install directory path\n", routine, f.digits);
        return false;
    }
    char name[kIniValueCapacity] = {};
    if (!f.chmFileName(name, sizeof(name))) {
        hnDebugOutF("%s - Unable to get Python %s CHM file name\n", routine, f.digits);
        return false;
    }
    if (!hnFormat(source, kPathCapacity, "%s%s\\%s", folder.c_str(), "Doc", name) || !fileExists(source)) {
        hnDebugOutF("%s - Unable to locate Python %s installation directory python%s.chm\n", routine,
                    f.digits, f.digits);
        return false;
    }
    std::string copyName = hnFormatText("python%s.chm", f.digits);
    return integrationRuntimeFolder(routine, runtime) &&
           hnFormat(copy, kPathCapacity, "%s%s\\%s", runtime.c_str(), "Documentation", copyName.c_str());
}

bool libraryScriptPaths(const std::string& runtime, const char* variant, const char* name,
                        std::string& path) {
    return hnFormat(path, kPathCapacity, "%s%s\\%s\\%s\\%s", runtime.c_str(), "3.2.1.169", variant, "Python",
                    name);
}

// Removes a folder tree; true when it is gone (or never was there).
bool removeTree(const std::string& folder) {
    if (!fileExists(folder))
        return true;
    deleteFolderTree(folder.c_str(), folder.c_str());
    return !fileExists(folder);
}

bool pythonFolderPath(std::string& runtime, std::string& folder) {
    return hnCheckInstallations::getRuntimeFolder(runtime) &&
           hnFormat(folder, kPathCapacity, "%s%s", runtime.c_str(), "Python");
}

// Saves the shortcut in `folder` after removing the old ones.
void replaceShortcut(const std::string& folder, const std::string& runtime, const std::string& target,
                     const char* arguments) {
    deleteRuntimeShortcuts(folder.c_str());
    createRuntimeShortcut(runtime.c_str(), folder.c_str(), target.c_str(), arguments);
}

} // namespace

const hnIntegrationFamily kFamily27 = {"hnPyhton27InstallFunctions",
                                       "27",
                                       "Python27.dll",
                                       true,
                                       "_RefPython_27",
                                       "_Ref_PluginsPy27",
                                       "matrelct_Py27.py",
                                       "--python27",
                                       hnPyhton27InstallFunctions::getPython27InstallFolder,
                                       hnPyhton27InstallFunctions::getCurrentlyInstalledPython27CHMFileName};

const hnIntegrationFamily kFamily36 = {"hnPyhton36InstallFunctions",
                                       "36",
                                       "Python36.dll",
                                       false,
                                       "_RefPython_36",
                                       "_Ref_PluginsPy36",
                                       "matrelct_Py36.py",
                                       "--python36",
                                       hnPyhton36InstallFunctions::getPython36InstallFolder,
                                       hnPyhton36InstallFunctions::getCurrentlyInstalledPython36CHMFileName};

bool integrationRuntimeFolder(const char* routine, std::string& runtime) {
    if (hnCheckInstallations::getRuntimeFolder(runtime))
        return true;
    report(routine, "Unable to get Orvanto Runtime installation directory path");
    return false;
}

bool isDllOK(const hnIntegrationFamily& f, const char* routine) {
    std::string source, runtime, copy;
    if (!dllSource(f, routine, source) || !integrationRuntimeFolder(routine, runtime) ||
        !hnFormat(copy, kPathCapacity, "%s%s", runtime.c_str(), f.dllName))
        return false;
    if (!fileExists(copy)) {
        hnDebugOutF("%s - Unable to locate Orvanto Runtime installation directory %s\n", routine,
                    lower(f.dllName).c_str());
        return false;
    }
    return hnCheckInstallations::areFilesIdentical(source, copy);
}

bool updateDll(const hnIntegrationFamily& f, const char* routine) {
    std::string source, runtime, copy;
    if (!dllSource(f, routine, source) || !integrationRuntimeFolder(routine, runtime) ||
        !hnFormat(copy, kPathCapacity, "%s%s", runtime.c_str(), f.dllName))
        return false;
    return copyFileReplacing(source, copy);
}

bool deleteDll(const hnIntegrationFamily& f) {
    std::string runtime;
    return hnCheckInstallations::getRuntimeFolder(runtime) && deleteRuntimeFile(runtime, f.dllName);
}

bool isChmOK(const hnIntegrationFamily& f, const char* routine) {
    std::string source, runtime, copy;
    if (!chmPaths(f, routine, source, runtime, copy))
        return false;
    if (!fileExists(copy)) {
        hnDebugOutF("%s - Unable to locate Orvanto Runtime installation directory python%s.chm\n", routine,
                    f.digits);
        return false;
    }
    return hnCheckInstallations::areFilesIdentical(source, copy);
}

bool updateChm(const hnIntegrationFamily& f, const char* routine) {
    std::string source, runtime, copy;
    if (!chmPaths(f, routine, source, runtime, copy))
        return false;
    std::string documentation = runtime + "Documentation";
    if (!fileExists(documentation))
        ::CreateDirectoryA(documentation.c_str(), nullptr);
    if (!copyFileReplacing(source, copy)) {
        report(routine, "Copy file failed");
        return false;
    }
    return true;
}

bool deleteChm(const hnIntegrationFamily& f) {
    std::string runtime, copy;
    return hnCheckInstallations::getRuntimeFolder(runtime) &&
           hnFormat(copy, kPathCapacity, "%s%s\\python%s.chm", runtime.c_str(), "Documentation", f.digits) &&
           deleteFileIfPresent(copy);
}

bool isPythonFolderOK(const hnIntegrationFamily& f) {
    std::string runtime, folder, reference;
    if (!pythonFolderPath(runtime, folder) ||
        !hnFormat(reference, kPathCapacity, "%s%s", runtime.c_str(), f.referenceFolder) ||
        !fileExists(reference))
        return false;
    std::vector<std::string> files;
    listFiles(reference, "", files);
    for (const std::string& file : files)
        if (!hnCheckInstallations::areFilesIdentical(reference + "\\" + file, folder + "\\" + file))
            return false;
    return true;
}

bool updatePythonFolder(const hnIntegrationFamily& f, const char* routine) {
    std::string runtime, folder, reference;
    if (!integrationRuntimeFolder(routine, runtime) || !pythonFolderPath(runtime, folder) ||
        !hnFormat(reference, kPathCapacity, "%s%s", runtime.c_str(), f.referenceFolder))
        return false;
    if (!deletePythonFolder()) {
        report(routine, "Unable to delete previous python directory");
        return false;
    }
    return copyFolderTree(reference.c_str(), folder.c_str(), true);
}

bool deletePythonFolder() {
    std::string runtime, folder;
    return pythonFolderPath(runtime, folder) && removeTree(folder);
}

// Calls `step` with the working copy and the version copy of the script in
// every library variant, in order, until one step fails.
template <typename Step> bool forEachLibraryScript(const hnIntegrationFamily& f, Step step) {
    std::string runtime;
    if (!hnCheckInstallations::getRuntimeFolder(runtime))
        return false;
    for (const char* variant : kLibraryVariants) {
        std::string working, version;
        if (!libraryScriptPaths(runtime, variant, "matrelct.py", working) ||
            !libraryScriptPaths(runtime, variant, f.scriptVersionCopy, version) || !step(working, version))
            return false;
    }
    return true;
}

bool areLibraryScriptsOK(const hnIntegrationFamily& f) {
    return forEachLibraryScript(f, [](const std::string& working, const std::string& version) {
        return hnCheckInstallations::areFilesIdentical(working, version);
    });
}

bool updateLibraryScripts(const hnIntegrationFamily& f) {
    return forEachLibraryScript(f, [](const std::string& working, const std::string& version) {
        return fileExists(version) && copyFileReplacing(version, working);
    });
}

bool isPluginFolderOK(const hnIntegrationFamily& f) {
    std::string runtime, user, reference;
    if (!hnCheckInstallations::getRuntimeFolder(runtime) || !userPluginsFolder(user) ||
        !hnFormat(reference, kPathCapacity, "%s%s", runtime.c_str(), f.pluginReference) ||
        !fileExists(reference))
        return false;
    for (const std::string& name : pluginNames(reference)) {
        std::string shipped, copy;
        if (!hnFormat(shipped, kPathCapacity, "%s%s\\%s\\%s.py", runtime.c_str(), f.pluginReference,
                      name.c_str(), name.c_str()) ||
            !hnFormat(copy, kPathCapacity, "%s\\%s\\%s.py", user.c_str(), name.c_str(), name.c_str()) ||
            !hnCheckInstallations::areFilesIdentical(shipped, copy))
            return false;
    }
    return true;
}

bool updatePluginFolder(const hnIntegrationFamily& f, const char* routine) {
    std::string runtime, user, reference;
    // Without a runtime or its plugin reference there is nothing to replace
    // the user's plugins with: they are left alone.
    if (!integrationRuntimeFolder(routine, runtime) || !userPluginsFolder(user) ||
        !hnFormat(reference, kPathCapacity, "%s%s", runtime.c_str(), f.pluginReference))
        return false;
    if (!fileExists(reference)) {
        report(routine, "Plugin reference directory not found");
        return false;
    }
    if (!deletePluginFolder()) {
        report(routine, "Unable to delete previous plugin directory");
        return false;
    }
    createFolderPath(user);
    return copyFolderTree(reference.c_str(), user.c_str(), true);
}

bool deletePluginFolder() {
    std::string user;
    return userPluginsFolder(user) && removeTree(user);
}

bool updatePy2to3Bat(const hnIntegrationFamily& f, const char* routine) {
    std::string runtime, bat, folder;
    if (!integrationRuntimeFolder(routine, runtime) ||
        !hnFormat(bat, kPathCapacity, "%s%s", runtime.c_str(), "py2to3.bat") || !deleteFileIfPresent(bat))
        return false;
    if (!f.interpreterFolder(folder)) {
        hnDebugOutF("%s - Unable to get Python %s install directory path\n", routine, f.digits);
        return false;
    }
    FILE* file = std::fopen(bat.c_str(), "wt");
    if (!file) {
        report(routine, "Unable to get write to file");
        return false;
    }
    const char* const head[] = {"rem Orvanto py2to3.bat file",
                                "goto begin",
                                "rem -----------------------------------",
                                "rem %1 is py filename to convert",
                                "rem %2 is directory",
                                "rem -----------------------------------",
                                ":begin",
                                "IF NOT [%2] == [] cd /d %2",
                                "rem -----------------------------------"};
    bool written = true;
    for (const char* line : head)
        written = std::fprintf(file, "%s\n", line) > 0 && written;
    written = std::fprintf(file, "\"%sPython.exe\" \"%sTools\\scripts\\2to3.py\" -w %%1\n", folder.c_str(),
                           folder.c_str()) > 0 &&
              written;
    written = std::fprintf(file, "pause\n") > 0 && written;
    return std::fclose(file) == 0 && written;
}

bool updateRuntimeShortcuts(const hnIntegrationFamily& f, const char* routine) {
    if (!hnCheckInstallations::isMsiProductInstalled(kVisionSoftwareProductCode)) {
        report(routine, "Orvanto Vision Software not installed");
        return true;
    }
    std::string runtime, target;
    if (!hnCheckInstallations::getInstalledRuntimeFolder(runtime) ||
        !hnFormat(target, kPathCapacity, "%s%s", runtime.c_str(), "Orvanto.exe")) {
        report(routine, "Unable to get Orvanto Runtime installation directory path");
        return false;
    }
    std::string desktop, programs, menu;
    if (hnCommonDesktopFolder(desktop))
        replaceShortcut(desktop, runtime, target, f.runtimeSwitch);
    else
        report(routine, "Unable to get common desktop folder path");
    if (hnCommonProgramsFolder(programs) && hnFormat(menu, kPathCapacity, "%s\\%s\\%s", programs.c_str(),
                                                     "Halvenor Vision Solutions", "Orvanto Version XV")) {
        createFolderPath(menu);
        replaceShortcut(menu, runtime, target, f.runtimeSwitch);
    } else {
        report(routine, "Unable to get common programs menu folder path");
    }
    return true;
}

bool copyChmName(const char* routine, const char* name, char* out, std::size_t capacity) {
    std::size_t length = std::strlen(name);
    if (length + 1 > capacity) {
        report(routine, "Unable to copy CHM file name");
        return false;
    }
    std::memcpy(out, name, length + 1);
    return true;
}

bool deleteRuntimeFile(const std::string& runtime, const char* name) {
    std::string path;
    return hnFormat(path, kPathCapacity, "%s%s", runtime.c_str(), name) && deleteFileIfPresent(path);
}
