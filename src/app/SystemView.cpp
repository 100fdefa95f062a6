#include "app/SystemView.h"

#include <shlobj.h>

#include "app/AppBase.h"
#include "app/ScopedHandle.h"
#include "app/Text.h"

#include <vector>

REGSAM hnRegistryView() { return KEY_WOW64_32KEY; }

LONG hnRegOpenKey(HKEY root, const char* subKey, REGSAM access, HKEY* result) {
    return ::RegOpenKeyExA(root, subKey, 0, access | hnRegistryView(), result);
}

LONG hnRegCreateKey(HKEY root, const char* subKey, REGSAM access, HKEY* result) {
    return ::RegCreateKeyExA(root, subKey, 0, nullptr, REG_OPTION_NON_VOLATILE, access | hnRegistryView(),
                             nullptr, result, nullptr);
}

bool hnProgramFilesFolder(std::string& out) {
    char buffer[MAX_PATH] = {};
#ifdef _WIN64
    int folder = CSIDL_PROGRAM_FILESX86;
#else
    int folder = CSIDL_PROGRAM_FILES;
#endif
    if (FAILED(::SHGetFolderPathA(nullptr, folder, nullptr, SHGFP_TYPE_CURRENT, buffer)))
        return false;
    out = buffer;
    return true;
}

bool hnSystemFolder(std::string& out) {
    char buffer[MAX_PATH] = {};
#ifdef _WIN64
    UINT length = ::GetSystemWow64DirectoryA(buffer, MAX_PATH);
#else
    UINT length = ::GetSystemDirectoryA(buffer, MAX_PATH);
#endif
    if (length == 0 || length >= MAX_PATH)
        return false;
    out.assign(buffer, length);
    return true;
}

bool hnTempFolder(std::string& out) {
    char buffer[MAX_PATH] = {};
    DWORD length = ::GetTempPathA(MAX_PATH, buffer);
    if (length == 0 || length >= MAX_PATH)
        return false;
    out.assign(buffer, length);
    return true;
}

namespace {
bool shellFolderPath(int folder, std::string& out) {
    char buffer[MAX_PATH] = {};
    if (FAILED(::SHGetFolderPathA(nullptr, folder, nullptr, SHGFP_TYPE_CURRENT, buffer)) || !buffer[0])
        return false;
    out = buffer;
    return true;
}
} // namespace

bool hnDocumentsFolder(std::string& out) {
    hnAppBase* app = hnAppBase::current();
    if (app && !app->documentsFolderOverride().empty()) {
        out = app->documentsFolderOverride();
        while (out.size() > 3 && (out.back() == '\\' || out.back() == '/'))
            out.pop_back();
        return true;
    }
    return shellFolderPath(CSIDL_PERSONAL, out);
}

bool hnCommonDesktopFolder(std::string& out) {
    return shellFolderPath(CSIDL_COMMON_DESKTOPDIRECTORY, out);
}

bool hnCommonProgramsFolder(std::string& out) {
    return shellFolderPath(CSIDL_COMMON_PROGRAMS, out);
}

bool hnRegReadString(HKEY root, const char* subKey, const char* valueName, std::string& out, DWORD capacity) {
    out.clear();
    HKEY opened = nullptr;
    if (hnRegOpenKey(root, subKey, KEY_READ, &opened) != ERROR_SUCCESS)
        return false;
    hnScopedKey key(opened);
    std::vector<char> buffer(capacity + 1, '\0');
    DWORD type = 0;
    DWORD size = capacity;
    if (::RegQueryValueExA(key.get(), valueName, nullptr, &type, reinterpret_cast<BYTE*>(buffer.data()), &size) !=
            ERROR_SUCCESS ||
        (type != REG_SZ && type != REG_EXPAND_SZ))
        return false;
    // The stored text need not carry its terminator; the spare byte holds one.
    buffer[size] = '\0';
    out = buffer.data();
    if (out.size() + 1 > capacity) {
        out.clear();
        return false;
    }
    return true;
}

bool hnRegReadDword(HKEY root, const char* subKey, const char* valueName, DWORD& out) {
    HKEY opened = nullptr;
    if (hnRegOpenKey(root, subKey, KEY_READ, &opened) != ERROR_SUCCESS)
        return false;
    hnScopedKey key(opened);
    DWORD type = 0;
    DWORD value = 0;
    DWORD size = sizeof(value);
    if (::RegQueryValueExA(key.get(), valueName, nullptr, &type, reinterpret_cast<BYTE*>(&value), &size) !=
            ERROR_SUCCESS ||
        type != REG_DWORD)
        return false;
    out = value;
    return true;
}

bool hnProgramFilesVariable(std::string& out) {
#ifdef _WIN64
    const char* const names[] = {"ProgramFiles(x86)", "ProgramFiles"};
#else
    const char* const names[] = {"ProgramFiles", "ProgramFiles(x86)"};
#endif
    for (const char* name : names) {
        char buffer[kIniValueCapacity] = {};
        DWORD length = ::GetEnvironmentVariableA(name, buffer, sizeof(buffer));
        if (length > 0 && length < sizeof(buffer)) {
            out.assign(buffer, length);
            return true;
        }
    }
    return false;
}
