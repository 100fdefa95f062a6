#include "python/PythonIntegrationHook.h"

// The runtime integration routines (interpreter DLL, help file, runtime Python
// folder, image-array library scripts, user plugin folder) take over this
// entry one check at a time. A check that has no routine yet raises no
// complaint: it answers true, so the runtime row is judged by its other checks.
bool runtimePythonIntegrationCheck(hnIntegrationCheck check, hnPythonFamily family) {
    (void)family;
    switch (check) {
    case hnIntegrationCheck::HelpFile:
    case hnIntegrationCheck::Dll:
    case hnIntegrationCheck::Folder:
    case hnIntegrationCheck::MatRelCTFiles:
    case hnIntegrationCheck::PluginFolder:
        return true;
    }
    return true;
}
