#include <windows.h>

#include "app/SessionLog.h"
#include "main/CommandLine.h"
#include "main/InstallerApp.h"

// The one application object, made when the program loads.
static COrvantoKadrixSDKInstallerApp theInstallerApp;

// Without options the wizard runs as always; with them the command-line mode
// runs and its exit code is the process's. A command line it cannot use ends
// the program at once with 1639.
int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
    CInstallerCommandLine line;
    std::string reason;
    int parsed = hnParseProcessCommandLine(::GetCommandLineA(), line, reason);
    if (parsed != 0) {
        hnSessionLogF("Command line", "%s: %s; exit code %d", ::GetCommandLineA(), reason.c_str(), parsed);
        return parsed;
    }
    theInstallerApp.setCommandLine(line);
    return theInstallerApp.run(instance);
}
