#pragma once
// The test programs that install from the demo repository (they run beside
// it, see tests/CMakeLists.txt) sweep the machine of its installations before
// and after they run, so that a killed run does not leave the next one a
// machine with half of them installed.
#include <string>
#include <utility>
#include <vector>

// Removes everything the repository's setups install: the Python 3.6 setup
// through its own uninstall command (which also takes its folders off the
// Path), then every Windows Installer product of the repository's packages,
// and empties the download cache folders of the prerequisites and core pages.
void removeDemoInstallations();

// Sweeps before and after; the folders that the runtime integration and the
// interpreter's tools fill (the runtime's company folder, the interpreter
// folder, the suite's documents folder) are deleted at the end too when they
// did not exist at the start. `extraSweep` runs after each sweep.
class DemoMachineGuard {
public:
    explicit DemoMachineGuard(void (*extraSweep)() = nullptr);
    ~DemoMachineGuard();
    DemoMachineGuard(const DemoMachineGuard&) = delete;
    DemoMachineGuard& operator=(const DemoMachineGuard&) = delete;

private:
    void (*extraSweep_)();
    std::vector<std::pair<std::string, const char*>> made_; // folder and its deletion guard
};

// Runs a registered uninstall command of the quoted form "program" arguments
// and waits for it; true when it ran and ended with 0.
bool runQuotedUninstall(const std::string& command);

// Makes the demo server fail as a test needs: "withhold/<server path>" (a file
// missing on the server), "garble/<server path>" (served as bytes that are no
// installable), "restore" (every file back). True when the server agreed.
bool demoServerFault(const std::string& control);
// The server path of an address on the demo server ("/orvanto/...").
std::string demoServerPath(const std::string& url);
