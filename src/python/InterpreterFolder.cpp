#include "python/InterpreterFolder.h"

#include <windows.h>

#include "app/ScopedHandle.h"
#include "app/SystemView.h"
#include "app/Text.h"
#include "install/PipShow.h"
#include "install/PythonEnvironment.h"

namespace {

bool readFromRegistry(const char* installPathKey, std::string& folder) {
    folder.clear();
    // The machine's registration when its key is there, else the user's; the
    // machine's key is read through the handle that found it.
    hnScopedKey machine;
    bool read = hnRegOpenKey(HKEY_LOCAL_MACHINE, installPathKey, KEY_READ, machine.put()) == ERROR_SUCCESS
                    ? hnRegReadString(machine.get(), "", nullptr, folder, kIniValueCapacity)
                    : hnRegReadString(HKEY_CURRENT_USER, installPathKey, nullptr, folder, kIniValueCapacity);
    if (!read || folder.empty())
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

} // namespace

bool readInterpreterFolder(const char* installPathKey, std::string& folder) {
    if (!installPathKey) {
        folder.clear();
        return false;
    }
    // Inside a refresh every row reads the same folder; one read serves them.
    hnPipAnswers* answers = pythonEnvironment().pipAnswers();
    bool present = false;
    if (answers && answers->findFolder(installPathKey, present, folder))
        return present;
    present = readFromRegistry(installPathKey, folder);
    if (answers)
        answers->keepFolder(installPathKey, present, folder);
    return present;
}
