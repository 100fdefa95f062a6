#include "process/Elevation.h"

#include <cstring>
#include <objbase.h>
#include <shlobj.h>
#include <shobjidl.h>
#include <string>

#include "app/DebugOut.h"
#include "app/FileHelpers.h"
#include "app/SessionLog.h"
#include "app/Text.h"
#include "process/SystemInfo.h"
#include "process/TempFolder.h"

namespace {

template <typename T> struct ComRelease {
    void operator()(T* p) const {
        if (p)
            p->Release();
    }
};

// Writes a shortcut to `target` with `arguments` and `folder` at `linkPath`.
bool createShortcut(const std::string& linkPath, const char* target, const char* arguments,
                    const char* folder) {
    bool initialised = SUCCEEDED(::CoInitialize(nullptr));
    bool done = false;
    IShellLinkA* link = nullptr;
    if (SUCCEEDED(::CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA,
                                     reinterpret_cast<void**>(&link)))) {
        link->SetPath(target);
        link->SetArguments(arguments);
        link->SetWorkingDirectory(folder);
        IPersistFile* file = nullptr;
        if (SUCCEEDED(link->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file)))) {
            wchar_t wide[MAX_PATH] = {};
            if (::MultiByteToWideChar(CP_ACP, 0, linkPath.c_str(), -1, wide, MAX_PATH) > 0)
                done = SUCCEEDED(file->Save(wide, TRUE));
            file->Release();
        }
        link->Release();
    }
    if (initialised)
        ::CoUninitialize();
    return done;
}

// Where the shell should be pointed: the file itself, or a shortcut that
// carries the parameters. False means "launch directly".
bool explorerArgument(const char* file, const char* workingFolder, const char* parameters,
                      std::string& argument) {
    std::string windows;
    if (!windowsFolder(windows)) {
        hnDebugOut("launchAppManagingUACElevation - unable to get windows directory\n");
        return false;
    }
    if (!fileExists(windows + "\\explorer.exe")) {
        hnDebugOut("launchAppManagingUACElevation - unable to locate explorer.exe\n");
        return false;
    }
    if (!parameters) {
        argument = file;
        return true;
    }
    std::string folder;
    const char* reason = "";
    if (!privateTempFolder(folder, &reason) && std::strcmp(reason, "temp") == 0) {
        hnDebugOut("launchAppManagingUACElevation - unable to get temp directory\n");
        return false;
    }
    SYSTEMTIME now;
    ::GetLocalTime(&now);
    std::string name = hnFormatText("hn%.4d%.2d%.2d%.2d%.2d%.2d%.3dtmp", now.wYear, now.wMonth, now.wDay,
                                    now.wHour, now.wMinute, now.wSecond, now.wMilliseconds);
    std::string linkPath;
    if (folder.empty() || !hnFormat(linkPath, kPathCapacity, "%s\\%s.lnk", folder.c_str(), name.c_str()) ||
        !createShortcut(linkPath, file, parameters, workingFolder)) {
        hnDebugOut("launchAppManagingUACElevation - unable to create shortcut\n");
        return false;
    }
    if (!fileExists(linkPath)) {
        hnDebugOut("launchAppManagingUACElevation - shorcut does not exit\n");
        return false;
    }
    argument = linkPath;
    return true;
}

} // namespace

const hnLaunchSystem& hnLaunchSystem::real() {
    static const hnLaunchSystem system{
        [](OSVERSIONINFOEXA& version) {
            std::memset(&version, 0, sizeof(version));
            version.dwOSVersionInfoSize = sizeof(version);
            return ::GetVersionExA(reinterpret_cast<OSVERSIONINFOA*>(&version)) != FALSE;
        },
        [](const char* file, const char* parameters, const char* folder) {
            INT_PTR result = reinterpret_cast<INT_PTR>(
                ::ShellExecuteA(nullptr, "open", file, parameters, folder, SW_SHOW));
            hnSessionLogF("Program", "opened %s (%s), shell result %d", file, parameters ? parameters : "",
                          static_cast<int>(result));
            return result;
        }};
    return system;
}

int launchAppManagingUACElevation(const char* file, const char* workingFolder, const char* parameters,
                                  int* shellResult, const hnLaunchSystem& system) {
    if (!file)
        return -1;
    if (!workingFolder || !shellResult)
        return -2;
    *shellResult = 33;
    OSVERSIONINFOEXA version;
    bool hasUac = false;
    if (system.queryVersion(version) && version.dwPlatformId == VER_PLATFORM_WIN32_NT)
        hasUac = version.dwMajorVersion >= 6;
    else
        hnDebugOut("launchAppManagingUACElevation - unable to query OS version\n");
    std::string argument;
    INT_PTR result;
    if (hasUac && explorerArgument(file, workingFolder, parameters, argument))
        result = system.shellOpen("explorer.exe", argument.c_str(), workingFolder);
    else
        result = system.shellOpen(file, parameters, workingFolder);
    *shellResult = static_cast<int>(result);
    return 1;
}
