#include "python/InterpreterFolder.h"

#include <windows.h>

#include "app/ScopedHandle.h"
#include "app/SystemView.h"
#include "app/Text.h"

bool readInterpreterFolder(const char* installPathKey, std::string& folder) {
    folder.clear();
    HKEY root = HKEY_LOCAL_MACHINE;
    hnScopedKey probe;
    if (hnRegOpenKey(root, installPathKey, KEY_READ, probe.put()) != ERROR_SUCCESS)
        root = HKEY_CURRENT_USER;
    if (!hnRegReadString(root, installPathKey, nullptr, folder, kIniValueCapacity) || folder.empty())
        return false;
    // Paths are built with "%s%s"; a value written without its separator
    // must not glue the folder to the file name.
    if (folder.back() != '\\' && folder.back() != '/') {
        if (folder.size() + 2 > kIniValueCapacity) {
            folder.clear();
            return false;
        }
        folder += '\\';
    }
    return true;
}
