#pragma once
// The Python environment that installation and removal reach through
// hnPythonEnvironment: each entry delegates to this layer's routines.
#include "install/PipShow.h"
#include "install/PythonEnvironment.h"

class hnShippedPythonEnvironment : public hnPythonEnvironment {
public:
    bool python27InstallFolder(std::string& folder) override;
    bool py36PathsAvailable() override;
    bool py36PackagePresent(hnDialog* dialog, const char* package, const char* nameText,
                            std::string* reported) override;
    bool py36PackageVersion(hnDialog* dialog, const char* package, const char* excluded, const char* version,
                            std::string* reported) override;
    bool py36Probe(hnPy36Probe probe, hnDialog* dialog) override;
    bool py36InstalledVersionText(hnPy36Package package, std::string* text, hnDialog* dialog) override;
    bool deepformClrActive(const char* runtimeFolder) override;
    bool selectedIntegrationOK() override;

    bool python36Selected() override;
    void setPy27OpenCVSelection(const char* value) override;

    bool installPy27Wheel(const char* excluded, const std::string& wheelPath, const char* package,
                          const char* version, bool stopOnErrors) override;
    bool installPy36Wheel(const char* excluded, hnDialog* dialog, const std::string& wheelPath,
                          const char* package, const char* version, bool stopOnErrors) override;
    bool uninstallPy27Package(const char* package, bool stopOnErrors, const hnStopBlock* stop) override;
    bool uninstallPy36Package(const char* package, bool stopOnErrors, const hnStopBlock* stop) override;
    bool uninstallPy36PyserialPackages(bool stopOnErrors, const hnStopBlock* stop) override;
    bool uninstallPy36OpenCvPackages(bool stopOnErrors, const hnStopBlock* stop) override;

    bool applyPythonIntegration(int python) override;
    bool removePythonIntegration() override;
    bool uninstallPythonRuntime(int python, const hnStopBlock* stop) override;

    bool prepareToolboxBridge(int python, const std::string& runtimeFolder) override;
    bool copyDeepformVisionFiles(const char* buildFolder,
                                 const std::function<void(const std::string&)>& prepare) override;

    hnPipAnswers* pipAnswers() override { return &pipAnswers_; }

private:
    hnPipAnswers pipAnswers_;
};
