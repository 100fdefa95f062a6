#pragma once
#include <string>

// The default value of an interpreter's "InstallPath" key: from HKLM, or from
// HKCU when the key does not open there. Empty means no interpreter. The
// folder is handed out with a trailing separator.
bool readInterpreterFolder(const char* installPathKey, std::string& folder);
