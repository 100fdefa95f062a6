#pragma once
// A machine arranged for the runtime's Python integration: the runtime
// product installed with its folder in a scratch folder (reference folders,
// plugin references, library variants, OpenCV and bridge builds), interpreter
// folders registered for Python 2.7 and 3.6, the interpreter DLL in the
// 32-bit system folder. Everything the cases touch outside their scratch
// folders is put back when the object goes, and also when it is made, so
// that a run that was killed half-way does not spoil the next one.
#include <memory>
#include <string>
#include <vector>

#include "install/DetectionSupport.h"

extern const char* const kPython279Code;
extern const char* const kPython2713Code;
extern const char* const kPython2715Code;
extern const char* const kVisionSoftwareCode;
extern const char* const kPython366CoreCode;
extern const char* const kPython366ExeCode;

class IntegrationMachine {
public:
    IntegrationMachine();
    ~IntegrationMachine();

    // Installs a test package for the lifetime of the machine.
    bool install(const std::string& file, const std::string& productCode);
    // Python 3.6.6 registered (its Uninstall key) with the interpreter folder.
    void registerPython36(const std::string& uninstallString = std::string());
    // Stores one value of "PySel.ini" (section "PySelVersion").
    void select(const char* key, const char* value);

    const std::string& runtime() const { return runtime_->folder(); }
    std::string runtimePath(const std::string& relative) const { return runtime_->path(relative); }
    const std::string& python27() const { return python27_->folder(); }
    const std::string& python36() const { return python36_->folder(); }
    FakeInterpreter& interpreter27() { return *python27_; }
    FakeInterpreter& interpreter36() { return *python36_; }
    std::string systemDll() const;   // Python27.dll of the 32-bit system folder
    std::string userPlugins() const; // "Orvanto 15.0\\Plugins" of the documents
    RegistryState& registry() { return registry_; }

    // Undoes what any earlier run may have left on the machine.
    static void clean();

private:
    std::unique_ptr<FakeRuntime> runtime_;
    std::unique_ptr<FakeInterpreter> python27_, python36_;
    std::vector<std::unique_ptr<InstalledPackage>> packages_;
    RegistryState registry_;
};

// The file's bytes; empty when it cannot be read.
std::string fileBytes(const std::string& path);
// The arguments of a saved shell shortcut; "<none>" when it cannot be read.
std::string shortcutArguments(const std::string& linkPath);
