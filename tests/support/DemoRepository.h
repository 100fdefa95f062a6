#pragma once
// The test programs that install from the demo repository (they run beside
// it, see tests/CMakeLists.txt) sweep the machine of its installations before
// and after they run, so that a killed run does not leave the next one a
// machine with half of them installed.
#include <string>

// Removes everything the repository's setups install: the Python 3.6 setup
// through its own uninstall command (which also takes its folders off the
// Path), then every Windows Installer product of the repository's packages,
// and empties the download cache folders of the prerequisites and core pages.
void removeDemoInstallations();

// Runs a registered uninstall command of the quoted form "program" arguments
// and waits for it; true when it ran and ended with 0.
bool runQuotedUninstall(const std::string& command);
