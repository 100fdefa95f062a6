#pragma once
// The OPC client's ActiveX control: where its class is registered, and
// registering or unregistering a control file with the system's regsvr32.
#include <string>

// The class the OPC client's control registers.
constexpr const char* kPlantOpcClientClassId = "{5D8373B1-2F0E-42C4-9D3B-05C9AF2672A4}";

// The long path of the control file registered for the class (default value
// of its "InprocServer32" key in the program's view); false when the key or
// value cannot be read.
bool registeredPlantOpcClientOcx(std::string& path);

// Runs regsvr32 on `controlPath` and waits for it; `unregister` adds "/u".
// True when it exits with 0.
bool runRegsvr32(const std::string& controlPath, bool unregister);

class CcleanUpApp {
public:
    // Unregisters the control registered for the OPC client's class: 1 done,
    // -1 no registration, -2 the registered file is missing.
    static int unRegOrvantoPlantOPCClientOCX();
};
