#pragma once
// The Python steps that installation and removal hand over to the Python
// environment: pip installation and removal of packages, the runtime's
// Python integration, interpreter removal and the toolbox's bridge checks.
// Each entry point delegates to the Python environment's routines.
#include <string>

class hnDialog;

bool installPy27Wheel(const char* excluded, const std::string& wheelPath, const char* package,
                      const char* version, bool stopOnErrors);
bool installPy36Wheel(const char* excluded, hnDialog* dialog, const std::string& wheelPath,
                      const char* package, const char* version, bool stopOnErrors);

bool uninstallPy27Package(const char* package, bool stopOnErrors);
bool uninstallPy36Package(const char* package, bool stopOnErrors);
bool uninstallPy36PyserialPackages(bool stopOnErrors);
bool uninstallPy36OpenCvPackages(bool stopOnErrors);

bool applyPythonIntegration(int python); // 27 or 36
bool removePythonIntegration();
bool uninstallPythonRuntime(int python); // 27: every "Python 2.7" product; 36: "Python 3.6.6"

// The toolbox build's preparation: the CLR bridge for Python 2.7 builds, the
// pythonnet package for Python 3.6 builds.
bool prepareToolboxBridge(int python, const std::string& runtimeFolder);
