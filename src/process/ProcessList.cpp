#include "process/ProcessList.h"

#include <windows.h>
#include <tlhelp32.h>

#include "app/ScopedHandle.h"

bool forEachProcessImageName(const std::function<void(const std::string&)>& visit) {
    // One snapshot carries every image name: opening each process to read
    // its module list costs a start-up noticeably.
    hnScopedHandle snapshot(::CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0));
    if (!snapshot)
        return false;
    PROCESSENTRY32 entry = {};
    entry.dwSize = sizeof(entry);
    for (BOOL more = ::Process32First(snapshot.get(), &entry); more;
         more = ::Process32Next(snapshot.get(), &entry)) {
        if (entry.th32ProcessID == 0)
            continue;
        std::string name = entry.szExeFile;
        std::string::size_type cut = name.find_last_of("\\/");
        visit(cut == std::string::npos ? name : name.substr(cut + 1));
    }
    return true;
}
