#include "install/InstallHelpers.h"

#include <algorithm>
#include <cctype>
#include <objbase.h>
#include <shlobj.h>
#include <vector>

#include "app/DebugOut.h"
#include "app/FileHelpers.h"
#include "app/AppBase.h"
#include "app/InstallerServices.h"
#include "app/ScopedHandle.h"
#include "app/SystemView.h"
#include "app/Text.h"
#include "install/ActionServices.h"

const char* const kEnvironmentKey = "System\\CurrentControlSet\\Control\\Session Manager\\Environment";

namespace {

std::string lowerCase(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return text;
}

// Creates `key` under HKLM and sets its default value.
void setDefaultValue(const char* keyPath, const std::string& text) {
    hnScopedKey key;
    if (hnRegCreateKey(HKEY_LOCAL_MACHINE, keyPath, KEY_SET_VALUE, key.put()) != ERROR_SUCCESS)
        return; // a key that cannot be created is skipped
    ::RegSetValueExA(key.get(), nullptr, 0, REG_SZ, reinterpret_cast<const BYTE*>(text.c_str()),
                     static_cast<DWORD>(text.size() + 1));
}

} // namespace

bool readSystemPath(std::string& value) {
    hnScopedKey key;
    if (hnRegOpenKey(HKEY_LOCAL_MACHINE, kEnvironmentKey, KEY_QUERY_VALUE, key.put()) != ERROR_SUCCESS)
        return false;
    DWORD size = 0;
    DWORD type = 0;
    if (::RegQueryValueExA(key.get(), "Path", nullptr, &type, nullptr, &size) != ERROR_SUCCESS)
        return false;
    if (type != REG_SZ && type != REG_EXPAND_SZ)
        return false;
    std::vector<char> buffer(size + 1, '\0');
    if (::RegQueryValueExA(key.get(), "Path", nullptr, &type, reinterpret_cast<BYTE*>(buffer.data()),
                           &size) != ERROR_SUCCESS)
        return false;
    value.assign(buffer.data());
    return true;
}

bool writeSystemPath(const std::string& value) {
    hnScopedKey key;
    if (hnRegOpenKey(HKEY_LOCAL_MACHINE, kEnvironmentKey, KEY_SET_VALUE, key.put()) != ERROR_SUCCESS ||
        ::RegSetValueExA(key.get(), "Path", 0, REG_EXPAND_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                         static_cast<DWORD>(value.size() + 1)) != ERROR_SUCCESS)
        return false;
    DWORD_PTR answer = 0;
    ::SendMessageTimeoutA(HWND_BROADCAST, WM_SETTINGCHANGE, 0, reinterpret_cast<LPARAM>("Environment"),
                          SMTO_NORMAL, 100, &answer);
    return true;
}

bool readRegistryText(HKEY root, const char* subKey, const char* valueName, std::size_t capacity,
                      std::string& value) {
    value.clear();
    hnScopedKey key;
    if (hnRegOpenKey(root, subKey, KEY_QUERY_VALUE, key.put()) != ERROR_SUCCESS)
        return false;
    std::vector<char> buffer(capacity + 1, '\0');
    DWORD size = static_cast<DWORD>(capacity);
    DWORD type = 0;
    if (::RegQueryValueExA(key.get(), valueName, nullptr, &type, reinterpret_cast<BYTE*>(buffer.data()),
                           &size) != ERROR_SUCCESS ||
        (type != REG_SZ && type != REG_EXPAND_SZ))
        return false;
    value.assign(buffer.data());
    return value.size() < capacity;
}

bool addFolderToSystemPath(const char* subFolder) {
    std::string path;
    if (!subFolder || !readSystemPath(path))
        return false;
    std::string runtime, entry;
    if (!actionRuntimeFolder(runtime) || !hnFormat(entry, kPathCapacity, "%s%s", runtime.c_str(), subFolder))
        return false;
    if (lowerCase(path).find(lowerCase(entry)) != std::string::npos)
        return true;
    path += ";";
    path += entry;
    if (!writeSystemPath(path))
        hnDebugOut("addFolderToSystemPath - Unable to write the system path\n");
    return true;
}

bool registerPython27PythonPath() {
    const char* const installPathKey = "Software\\Python\\PythonCore\\2.7\\InstallPath";
    std::string folder;
    if (!readRegistryText(HKEY_LOCAL_MACHINE, installPathKey, nullptr, kPathCapacity, folder) ||
        folder.empty())
        readRegistryText(HKEY_CURRENT_USER, installPathKey, nullptr, kPathCapacity, folder);
    if (folder.empty()) {
        appMessageBox(
            "Warning: Unable to retrieve the Python installation path.\nContinuing with the remaining "
            "installations.",
            MB_OK | MB_ICONWARNING);
        return false;
    }
    if (folder.back() != '\\')
        folder += '\\';
    const char* p = folder.c_str();
    setDefaultValue("SOFTWARE\\Python\\PythonCore\\2.7\\PythonPath",
                    hnFormatText("%sLib;%sDLLs;%sLib\\lib-tk", p, p, p));
    setDefaultValue("SOFTWARE\\Python\\PythonCore\\2.7\\PythonPath\\Pythonwin",
                    hnFormatText("%slib\\site-packages\\Pythonwin", p));
    setDefaultValue("SOFTWARE\\Python\\PythonCore\\2.7\\PythonPath\\win32",
                    hnFormatText("%slib\\site-packages\\win32;%slib\\site-packages\\win32\\lib", p, p));
    setDefaultValue("SOFTWARE\\Python\\PythonCore\\2.7\\PythonPath\\win32com",
                    hnFormatText("%slib\\site-packages", p));
    return true;
}

bool copyAvtGrabberDll(const char* referenceName) {
    std::string runtime, source, destination;
    if (!referenceName || !actionRuntimeFolder(runtime) ||
        !hnFormat(source, kPathCapacity, "%s%s\\%s\\%s", runtime.c_str(), "_Ref", "AVT", referenceName) ||
        !hnFormat(destination, kPathCapacity, "%s%s", runtime.c_str(), "uniAVTGrab.dll"))
        return false;
    if (!fileExists(source))
        return false;
    return copyFileReplacing(source, destination);
}

bool copyPlantOPCClientScript() {
    std::string runtime, keyPath, client;
    if (!actionRuntimeFolder(runtime) ||
        !hnFormat(keyPath, kPathCapacity, "SOFTWARE\\HALVENOR AS\\%s", "Orvanto PlantOPCClient 1.9.0.28") ||
        !readRegistryText(HKEY_LOCAL_MACHINE, keyPath.c_str(), "InstallPath", kPathCapacity, client) ||
        client.empty())
        return false;
    std::string pythonFolder, source, destination;
    if (!hnFormat(pythonFolder, kPathCapacity, "%sPython", runtime.c_str()) || !fileExists(pythonFolder) ||
        !hnFormat(source, kPathCapacity, "%sPython\\plantopcclientx.py", client.c_str()) ||
        !fileExists(source) || !hnJoinPath(destination, pythonFolder, "plantopcclientx.py"))
        return false;
    return copyFileReplacing(source, destination);
}

bool createShortcut(const char* arguments, const char* workingFolder, const char* linkName,
                    const char* linkFolder, const char* target) {
    std::string linkPath;
    if (!arguments || !workingFolder || !linkName || !linkFolder || !target ||
        !hnFormat(linkPath, kPathCapacity, "%s\\%s.lnk", linkFolder, linkName))
        return false;
    HRESULT init = ::CoInitialize(nullptr);
    bool saved = false;
    IShellLinkA* link = nullptr;
    if (SUCCEEDED(::CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA,
                                     reinterpret_cast<void**>(&link)))) {
        bool set = SUCCEEDED(link->SetPath(target)) && SUCCEEDED(link->SetArguments(arguments)) &&
                   SUCCEEDED(link->SetWorkingDirectory(workingFolder));
        IPersistFile* file = nullptr;
        if (set && SUCCEEDED(link->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file)))) {
            wchar_t wide[kPathCapacity] = {};
            if (::MultiByteToWideChar(CP_ACP, 0, linkPath.c_str(), -1, wide, kPathCapacity) > 0)
                saved = SUCCEEDED(file->Save(wide, TRUE));
            file->Release();
        }
        link->Release();
    }
    if (SUCCEEDED(init))
        ::CoUninitialize();
    return saved;
}

bool copyFileReplacing(const std::string& source, const std::string& destination) {
    if (!deleteFileIfPresent(destination))
        return false;
    ::CopyFileA(source.c_str(), destination.c_str(), FALSE);
    return fileExists(destination);
}

bool deleteFileIfPresent(const std::string& path) {
    if (!fileExists(path))
        return true;
    deleteFileForced(path);
    return !fileExists(path);
}
