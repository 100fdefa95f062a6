#include "support/RecordingRuntime.h"

#include <windows.h>

#include "app/ScopedHandle.h"
#include "app/SystemView.h"

namespace {
const char* const kRuntimeKey = "SOFTWARE\\HALVENOR AS\\Orvanto Version XV 15.0.0.774 Runtime";
}

RecordingRuntime::RecordingRuntime() {
    hadValue_ = hnRegReadString(HKEY_LOCAL_MACHINE, kRuntimeKey, "InstallPath", previous_, MAX_PATH);
    makeFolders(scratch_.file("Runtime"));
    ::CopyFileA((toolsFolder() + "\\recorder.exe").c_str(), scratch_.file("Runtime\\Orvanto.exe").c_str(),
                FALSE);
    record = scratch_.file("record.txt");
    ::SetEnvironmentVariableA("ORVANTO_RECORD_FILE", record.c_str());
    write(scratch_.file("Runtime\\"));
}

RecordingRuntime::~RecordingRuntime() {
    ::SetEnvironmentVariableA("ORVANTO_RECORD_FILE", nullptr);
    if (hadValue_) {
        write(previous_);
        return;
    }
    hnScopedKey key;
    if (hnRegOpenKey(HKEY_LOCAL_MACHINE, kRuntimeKey, KEY_SET_VALUE, key.put()) == ERROR_SUCCESS)
        ::RegDeleteValueA(key.get(), "InstallPath");
}

void RecordingRuntime::write(const std::string& installPath) {
    hnScopedKey key;
    if (hnRegCreateKey(HKEY_LOCAL_MACHINE, kRuntimeKey, KEY_SET_VALUE, key.put()) == ERROR_SUCCESS)
        ::RegSetValueExA(key.get(), "InstallPath", 0, REG_SZ,
                         reinterpret_cast<const BYTE*>(installPath.c_str()),
                         static_cast<DWORD>(installPath.size() + 1));
}
