// Stand-in setup program of the demo repository: one executable that carries
// its Windows Installer packages appended to itself and installs them quietly
// with the system's msiexec, the way a vendor's bootstrapper does.
//
// Appended after the program, in this order: the packages, a manifest text,
// the manifest's size (4 bytes, little endian) and the tag "ORVBNDL1".
// Manifest lines:
//   package <size> <product code>   one per package, in installation order
//   cache <folder> <file name>      copy the program first to
//                                   "<common app data>\Package Cache\<folder>\<file name>"
//                                   and keep the packages beside it (repairs need
//                                   their source); the packages' uninstall entry
//                                   names that copy with "/uninstall"
//   command <Uninstall key>         after installing, the value "UninstallString" of
//                                   that key (HKLM, 32-bit view) is set to the quoted
//                                   cached copy with "/uninstall", as setups do that
//                                   wrap a package and keep its product's entry
//   relaunch <file name>            copy the program beside itself under that name,
//                                   start the copy and end at once (the copy
//                                   installs), as setups do that hand over to a
//                                   helper which the caller then follows
//   pip <file name> <package>       after installing, registers the package with the
//                                   Python 2.7 interpreter's pip (its "Scripts\pip.exe"
//                                   installs an archive of that name); removal
//                                   unregisters it, as setups of Python modules do
//   searchpath <key>                after installing, the folder in the default
//                                   value of HKLM <key> (32-bit view) and its
//                                   "Scripts\" sub-folder are appended to the
//                                   machine "Path"; removal takes them out again
//
// Command line: anything (the switches a setup gets) installs; "/uninstall"
// anywhere removes the products in reverse order. The exit code is the first
// failing msiexec exit code, else 0.
#include <cstdint>
#include <cstring>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>
#include <windows.h>
#include <shlobj.h>

#include "handover.h"

namespace {

const char kTag[] = "ORVBNDL1";
const char* const kEnvironmentKey = "System\\CurrentControlSet\\Control\\Session Manager\\Environment";

struct Package {
    std::uint32_t size = 0;
    std::string productCode;
    std::uint64_t offset = 0;
};

struct Bundle {
    std::vector<Package> packages;
    std::string cacheFolder;
    std::string cacheName;
    std::string searchPathKey;
    std::string relaunchName;
    std::string commandKey;
    std::string pipFile, pipPackage;
};

std::string ownPath() {
    char buffer[MAX_PATH] = {};
    DWORD length = ::GetModuleFileNameA(nullptr, buffer, MAX_PATH);
    return std::string(buffer, length);
}

std::string folderOf(const std::string& path) {
    return path.substr(0, path.find_last_of("\\/") + 1);
}

bool readBundle(const std::string& self, Bundle& bundle) {
    std::ifstream file(self, std::ios::binary | std::ios::ate);
    if (!file)
        return false;
    std::uint64_t total = static_cast<std::uint64_t>(file.tellg());
    const std::uint64_t trailer = 4 + 8;
    if (total < trailer)
        return false;
    char tail[12];
    file.seekg(static_cast<std::streamoff>(total - trailer));
    file.read(tail, sizeof(tail));
    if (!file || std::memcmp(tail + 4, kTag, 8) != 0)
        return false;
    std::uint32_t manifestSize = 0;
    std::memcpy(&manifestSize, tail, 4);
    if (manifestSize > total - trailer)
        return false;
    std::string manifest(manifestSize, '\0');
    std::uint64_t manifestStart = total - trailer - manifestSize;
    file.seekg(static_cast<std::streamoff>(manifestStart));
    file.read(&manifest[0], manifestSize);
    std::istringstream lines(manifest);
    std::string line;
    std::uint64_t payloads = 0;
    while (std::getline(lines, line)) {
        std::istringstream words(line);
        std::string word;
        words >> word;
        if (word == "package") {
            Package package;
            words >> package.size >> package.productCode;
            payloads += package.size;
            bundle.packages.push_back(package);
        } else if (word == "cache") {
            words >> bundle.cacheFolder;
            std::getline(words >> std::ws, bundle.cacheName);
        } else if (word == "pip") {
            words >> bundle.pipFile >> bundle.pipPackage;
        } else if (word == "command") {
            std::getline(words >> std::ws, bundle.commandKey);
        } else if (word == "relaunch") {
            std::getline(words >> std::ws, bundle.relaunchName);
        } else if (word == "searchpath") {
            std::getline(words >> std::ws, bundle.searchPathKey);
        }
    }
    if (payloads > manifestStart)
        return false;
    std::uint64_t offset = manifestStart - payloads;
    for (Package& package : bundle.packages) {
        package.offset = offset;
        offset += package.size;
    }
    return true;
}

bool extract(const std::string& self, const Package& package, const std::string& target) {
    std::ifstream in(self, std::ios::binary);
    std::ofstream out(target, std::ios::binary | std::ios::trunc);
    if (!in || !out)
        return false;
    in.seekg(static_cast<std::streamoff>(package.offset));
    std::vector<char> data(package.size);
    in.read(data.data(), static_cast<std::streamsize>(data.size()));
    out.write(data.data(), static_cast<std::streamsize>(data.size()));
    return in.good() && out.good();
}

DWORD runProgram(const std::string& program, const std::string& arguments) {
    std::string line = "\"" + program + "\" " + arguments;
    STARTUPINFOA startup = {};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION info = {};
    // Wine answers ERROR_INTERNAL_ERROR when the new process died while it
    // was being started, before any of it ran; on a loaded machine that
    // happens now and then, so such a start is made again, a few times.
    DWORD error = ERROR_INTERNAL_ERROR;
    for (int attempt = 0; attempt < 4 && error == ERROR_INTERNAL_ERROR; ++attempt) {
        if (attempt > 0)
            ::Sleep(250);
        std::string copy = line; // the call may write into its command line
        error = ::CreateProcessA(program.c_str(), &copy[0], nullptr, nullptr, FALSE, CREATE_NO_WINDOW,
                                 nullptr, nullptr, &startup, &info)
                    ? ERROR_SUCCESS
                    : (::GetLastError() ? ::GetLastError() : 1);
    }
    if (error != ERROR_SUCCESS)
        return error;
    ::WaitForSingleObject(info.hProcess, INFINITE);
    DWORD code = 1;
    ::GetExitCodeProcess(info.hProcess, &code);
    ::CloseHandle(info.hThread);
    ::CloseHandle(info.hProcess);
    // 3010: installed, a restart would complete it.
    return code == ERROR_SUCCESS_REBOOT_REQUIRED ? 0 : code;
}

DWORD runMsiexec(const std::string& arguments) {
    char system[MAX_PATH] = {};
    ::GetSystemDirectoryA(system, MAX_PATH);
    return runProgram(std::string(system) + "\\msiexec.exe", arguments);
}

// The Python 2.7 interpreter's pip: "Scripts\pip.exe" in the folder that
// "Software\Python\PythonCore\2.7\InstallPath" names (HKLM, else HKCU).
std::string python27Pip() {
    for (HKEY root : {HKEY_LOCAL_MACHINE, HKEY_CURRENT_USER}) {
        HKEY key = nullptr;
        if (::RegOpenKeyExA(root, "Software\\Python\\PythonCore\\2.7\\InstallPath", 0,
                            KEY_QUERY_VALUE | KEY_WOW64_32KEY, &key) != ERROR_SUCCESS)
            continue;
        char folder[MAX_PATH] = {};
        DWORD size = sizeof(folder) - 1;
        DWORD type = 0;
        LONG read = ::RegQueryValueExA(key, nullptr, nullptr, &type, reinterpret_cast<BYTE*>(folder), &size);
        ::RegCloseKey(key);
        if (read != ERROR_SUCCESS || type != REG_SZ || !folder[0])
            continue;
        std::string path = folder;
        if (path.back() != '\\')
            path += '\\';
        return path + "Scripts\\pip.exe";
    }
    return "";
}

// Registers (or unregisters) the bundle's package with pip. A setup run
// without the interpreter installs its packages all the same.
void registerWithPip(const Bundle& bundle, bool install) {
    std::string pip = python27Pip();
    if (bundle.pipFile.empty() || pip.empty())
        return;
    if (!install) {
        runProgram(pip, "uninstall " + bundle.pipPackage + " -y");
        return;
    }
    char temp[MAX_PATH] = {};
    ::GetTempPathA(MAX_PATH, temp);
    std::string archive = std::string(temp) + bundle.pipFile;
    {
        std::ofstream out(archive, std::ios::binary | std::ios::trunc);
        out << "module archive of " << bundle.pipPackage << "\n";
    }
    runProgram(pip, "install \"" + archive + "\"");
    ::DeleteFileA(archive.c_str());
}

// "<common app data>\Package Cache\<folder>\<name>", created.
std::string cachedCopy(const std::string& self, const std::string& folder, const std::string& name) {
    char data[MAX_PATH] = {};
    if (FAILED(::SHGetFolderPathA(nullptr, CSIDL_COMMON_APPDATA, nullptr, 0, data)))
        return self;
    std::string target = std::string(data) + "\\Package Cache";
    ::CreateDirectoryA(target.c_str(), nullptr);
    target += "\\" + folder;
    ::CreateDirectoryA(target.c_str(), nullptr);
    target += "\\" + name;
    if (_stricmp(target.c_str(), self.c_str()) != 0 && !::CopyFileA(self.c_str(), target.c_str(), FALSE))
        return self;
    return target;
}

bool readString(HKEY root, const char* key, const char* name, std::string& value, DWORD* type = nullptr) {
    HKEY handle = nullptr;
    if (::RegOpenKeyExA(root, key, 0, KEY_QUERY_VALUE | KEY_WOW64_32KEY, &handle) != ERROR_SUCCESS)
        return false;
    DWORD size = 0, kind = 0;
    bool ok = ::RegQueryValueExA(handle, name, nullptr, &kind, nullptr, &size) == ERROR_SUCCESS;
    std::vector<char> buffer(size + 2, '\0');
    ok = ok && ::RegQueryValueExA(handle, name, nullptr, &kind, reinterpret_cast<BYTE*>(buffer.data()),
                                  &size) == ERROR_SUCCESS;
    ::RegCloseKey(handle);
    if (ok) {
        value = buffer.data();
        if (type)
            *type = kind;
    }
    return ok;
}

std::string lower(std::string text) {
    for (char& c : text)
        c = static_cast<char>(::tolower(static_cast<unsigned char>(c)));
    return text;
}

// Adds (or removes) the interpreter folder and its "Scripts\" sub-folder as
// whole entries of the machine "Path".
void editSearchPath(const std::string& folderKey, bool add) {
    std::string folder, path;
    DWORD type = REG_EXPAND_SZ;
    if (folderKey.empty() || !readString(HKEY_LOCAL_MACHINE, folderKey.c_str(), nullptr, folder) ||
        folder.empty())
        return;
    readString(HKEY_LOCAL_MACHINE, kEnvironmentKey, "Path", path, &type);
    std::vector<std::string> entries;
    std::stringstream split(path);
    std::string entry;
    while (std::getline(split, entry, ';'))
        if (!entry.empty())
            entries.push_back(entry);
    const std::string mine[] = {folder, folder + "Scripts\\"};
    std::vector<std::string> kept;
    for (const std::string& e : entries) {
        bool isMine = lower(e) == lower(mine[0]) || lower(e) == lower(mine[1]);
        if (!isMine)
            kept.push_back(e);
    }
    if (add)
        for (const std::string& e : mine)
            kept.push_back(e);
    std::string joined;
    for (const std::string& e : kept)
        joined += (joined.empty() ? "" : ";") + e;
    HKEY handle = nullptr;
    if (::RegOpenKeyExA(HKEY_LOCAL_MACHINE, kEnvironmentKey, 0, KEY_SET_VALUE, &handle) != ERROR_SUCCESS)
        return;
    ::RegSetValueExA(handle, "Path", 0, type == REG_SZ ? REG_SZ : REG_EXPAND_SZ,
                     reinterpret_cast<const BYTE*>(joined.c_str()), static_cast<DWORD>(joined.size() + 1));
    ::RegCloseKey(handle);
    DWORD_PTR ignored = 0;
    ::SendMessageTimeoutA(HWND_BROADCAST, WM_SETTINGCHANGE, 0, reinterpret_cast<LPARAM>("Environment"),
                          SMTO_NORMAL, 100, &ignored);
}

// Where a package is unpacked: beside the cached copy, where it stays so that
// Windows Installer finds its source again for a repair, else the temp folder.
std::string packagePath(const Bundle& bundle, const std::string& bundlePath, const Package& package) {
    if (!bundle.cacheFolder.empty())
        return folderOf(bundlePath) + package.productCode + ".msi";
    char temp[MAX_PATH] = {};
    ::GetTempPathA(MAX_PATH, temp);
    return std::string(temp) + "orvanto-bundle-" + std::to_string(::GetCurrentProcessId()) + "-" +
           package.productCode + ".msi";
}

// The entry's "UninstallString": the cached copy, quoted, with "/uninstall".
void setUninstallCommand(const std::string& key, const std::string& bundlePath) {
    std::string path = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\" + key;
    std::string command = "\"" + bundlePath + "\" /uninstall";
    HKEY handle = nullptr;
    if (::RegCreateKeyExA(HKEY_LOCAL_MACHINE, path.c_str(), 0, nullptr, 0, KEY_SET_VALUE | KEY_WOW64_32KEY,
                          nullptr, &handle, nullptr) != ERROR_SUCCESS)
        return;
    ::RegSetValueExA(handle, "UninstallString", 0, REG_SZ, reinterpret_cast<const BYTE*>(command.c_str()),
                     static_cast<DWORD>(command.size() + 1));
    ::RegCloseKey(handle);
}

int install(const std::string& self, const Bundle& bundle) {
    std::string bundlePath =
        bundle.cacheFolder.empty() ? self : cachedCopy(self, bundle.cacheFolder, bundle.cacheName);
    for (const Package& package : bundle.packages) {
        std::string target = packagePath(bundle, bundlePath, package);
        if (!extract(self, package, target))
            return 1;
        DWORD code = runMsiexec("/i \"" + target + "\" /qn ALLUSERS=1");
        if (bundle.cacheFolder.empty())
            ::DeleteFileA(target.c_str());
        if (code != 0)
            return static_cast<int>(code);
    }
    editSearchPath(bundle.searchPathKey, true);
    registerWithPip(bundle, true);
    if (!bundle.commandKey.empty())
        setUninstallCommand(bundle.commandKey, bundlePath);
    return 0;
}

int uninstall(const std::string& self, const Bundle& bundle) {
    editSearchPath(bundle.searchPathKey, false);
    registerWithPip(bundle, false);
    int result = 0;
    for (auto package = bundle.packages.rbegin(); package != bundle.packages.rend(); ++package) {
        DWORD code = runMsiexec("/x " + package->productCode + " /qn");
        if (code != 0 && code != ERROR_UNKNOWN_PRODUCT && result == 0)
            result = static_cast<int>(code);
        if (!bundle.cacheFolder.empty())
            ::DeleteFileA(packagePath(bundle, self, *package).c_str());
    }
    // A copy in the package cache cannot delete itself while it runs; it goes
    // at the next start of the system, as a real bootstrapper's does.
    if (!bundle.cacheFolder.empty() && lower(self).find("\\package cache\\") != std::string::npos) {
        ::MoveFileExA(self.c_str(), nullptr, MOVEFILE_DELAY_UNTIL_REBOOT);
        std::string folder = folderOf(self);
        folder.pop_back();
        ::MoveFileExA(folder.c_str(), nullptr, MOVEFILE_DELAY_UNTIL_REBOOT);
    }
    return result;
}

} // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    std::string self = ownPath();
    Bundle bundle;
    if (!readBundle(self, bundle))
        return 2;
    std::string commandLine = lower(::GetCommandLineA());
    if (commandLine.find("/uninstall") != std::string::npos)
        return uninstall(self, bundle);
    if (!bundle.relaunchName.empty() && commandLine.find("/relaunched") == std::string::npos)
        return startCopyOfSelf(self, folderOf(self) + bundle.relaunchName, "/relaunched");
    return install(self, bundle);
}
