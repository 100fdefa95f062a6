#include "process/ProcessList.h"

#include <windows.h>
#include <psapi.h>

#include "app/ScopedHandle.h"

bool forEachProcessImageName(const std::function<void(const std::string&)>& visit) {
    DWORD ids[1024];
    DWORD bytes = 0;
    if (!::EnumProcesses(ids, sizeof(ids), &bytes))
        return false;
    DWORD count = bytes / sizeof(DWORD);
    for (DWORD i = 0; i < count; ++i) {
        if (ids[i] == 0)
            continue;
        hnScopedHandle process(::OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, FALSE, ids[i]));
        if (!process)
            continue;
        HMODULE module = nullptr;
        DWORD needed = 0;
        if (!::EnumProcessModules(process.get(), &module, sizeof(module), &needed))
            continue;
        char name[MAX_PATH] = {};
        if (!::GetModuleBaseNameA(process.get(), module, name, MAX_PATH))
            continue;
        process.reset();
        visit(name);
    }
    return true;
}
