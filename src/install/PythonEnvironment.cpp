#include "install/PythonEnvironment.h"

#include "app/DebugOut.h"
#include "app/InstallerServices.h"

namespace {

// Stands in where no installer application exists: nothing is installed,
// nothing can be done.
class hnAbsentPythonEnvironment : public hnPythonEnvironment {
public:
    bool python27InstallFolder(std::string&) override { return absent(); }
    bool py36PathsAvailable() override { return absent(); }
    bool py36PackagePresent(hnDialog*, const char*, const char*, std::string*) override { return absent(); }
    bool py36PackageVersion(hnDialog*, const char*, const char*, const char*, std::string*) override {
        return absent();
    }
    bool py36Probe(hnPy36Probe, hnDialog*) override { return absent(); }
    bool py36InstalledVersionText(hnPy36Package, std::string*, hnDialog*) override { return absent(); }
    bool deepformClrActive(const char*) override { return absent(); }
    bool selectedIntegrationOK() override { return absent(); }
    bool python36Selected() override { return absent(); }
    void setPy27OpenCVSelection(const char*) override { absent(); }
    bool installPy27Wheel(const char*, const std::string&, const char*, const char*, bool) override {
        return absent();
    }
    bool installPy36Wheel(const char*, hnDialog*, const std::string&, const char*, const char*,
                          bool) override {
        return absent();
    }
    bool uninstallPy27Package(const char*, bool, const hnStopBlock*) override { return absent(); }
    bool uninstallPy36Package(const char*, bool, const hnStopBlock*) override { return absent(); }
    bool uninstallPy36PyserialPackages(bool, const hnStopBlock*) override { return absent(); }
    bool uninstallPy36OpenCvPackages(bool, const hnStopBlock*) override { return absent(); }
    bool applyPythonIntegration(int) override { return absent(); }
    bool removePythonIntegration() override { return absent(); }
    bool uninstallPythonRuntime(int, const hnStopBlock*) override { return absent(); }
    bool prepareToolboxBridge(int, const std::string&) override { return absent(); }
    bool copyDeepformVisionFiles(const char*, const std::function<void(const std::string&)>&) override {
        return absent();
    }

private:
    static bool absent() {
        hnDebugOut("pythonEnvironment - Python environment not available\n");
        return false;
    }
};

} // namespace

hnPythonEnvironment& pythonEnvironment() {
    if (hnInstallerServices* services = installerServices())
        return services->pythonEnvironment();
    static hnAbsentPythonEnvironment absent; // stateless
    return absent;
}
