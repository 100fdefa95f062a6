#include "install/OcxRegistration.h"

#include <windows.h>

#include "app/DebugOut.h"
#include "app/FileHelpers.h"
#include "app/SystemView.h"
#include "app/Text.h"
#include "process/ProcessLaunch.h"

bool registeredPlantOpcClientOcx(std::string& path) {
    path.clear();
    std::string key = hnFormatText("CLSID\\%s\\InprocServer32", kPlantOpcClientClassId);
    std::string server;
    if (!hnRegReadString(HKEY_CLASSES_ROOT, key.c_str(), nullptr, server, 4096) || server.empty())
        return false;
    char longPath[1024] = {};
    DWORD length = ::GetLongPathNameA(server.c_str(), longPath, sizeof(longPath));
    path = length > 0 && length < sizeof(longPath) ? std::string(longPath, length) : server;
    return true;
}

bool runRegsvr32(const std::string& controlPath, bool unregister) {
    std::string program = regsvr32Path();
    std::string quoted = hnFormatText("\"%s\"", controlPath.c_str());
    int code = runProgram(hnRunMode::Wait, program, {program, unregister ? "/u" : "", quoted});
    hnDebugOutF("runRegsvr32 - %s%s: exit code %d\n", unregister ? "/u " : "", controlPath.c_str(), code);
    return code == 0;
}

int CcleanUpApp::unRegOrvantoPlantOPCClientOCX() {
    std::string path;
    if (!registeredPlantOpcClientOcx(path)) {
        hnDebugOut("CcleanUpApp::unRegOrvantoPlantOPCClientOCX - registered OCX not found 1\n");
        return -1;
    }
    if (!fileExists(path)) {
        hnDebugOut("CcleanUpApp::unRegOrvantoPlantOPCClientOCX - registered OCX not found 2\n");
        return -2;
    }
    runRegsvr32(path, true);
    return 1;
}
