#pragma once
// The runtime's Python integration checks as the selection checks reach them:
// one entry that names the check and the interpreter family. The runtime
// integration routines answer behind it.
#include <functional>

enum class hnPythonFamily { Python27, Python36 };

// In the order the combined check evaluates them.
enum class hnIntegrationCheck { HelpFile, Dll, Folder, MatRelCTFiles, PluginFolder };

using hnIntegrationCheckFn = std::function<bool(hnIntegrationCheck, hnPythonFamily)>;

// The shipped answer for one check of one family.
bool runtimePythonIntegrationCheck(hnIntegrationCheck check, hnPythonFamily family);
