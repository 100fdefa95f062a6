#pragma once
// The hand-over of the stand-in setups and uninstallers: a copy of the running
// program is started under another name and the original ends at once, as
// vendor programs do that must not lock their own file or folder.
#include <string>
#include <windows.h>

// Copies `self` to `copy` and starts the copy with `arguments` after its
// quoted path, without waiting: 0 started, 3 not copied, 4 not started.
inline int startCopyOfSelf(const std::string& self, const std::string& copy, const std::string& arguments) {
    if (!::CopyFileA(self.c_str(), copy.c_str(), FALSE))
        return 3;
    std::string line = "\"" + copy + "\" " + arguments;
    STARTUPINFOA startup = {};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION info = {};
    if (!::CreateProcessA(copy.c_str(), &line[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                          &info))
        return 4;
    ::CloseHandle(info.hThread);
    ::CloseHandle(info.hProcess);
    return 0;
}
