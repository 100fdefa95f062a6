#pragma once
// The installer's application object: prepares the process before any window
// exists, refuses to run beside a conflicting installer, then runs the wizard
// sheet modally as the only main window. It sits above every layer and ties
// them together; the layers reach it only through hnInstallerServices.
#include <memory>
#include <string>
#include <windows.h>

#include "app/AppBase.h"
#include "app/InstallerServices.h"
#include "download/UpgradeInfo.h"
#include "main/CommandLine.h"
#include "main/ExitCodes.h"

class COrvantoKadrixSDKInstallerApp : public hnAppBase, public hnInstallerServices {
public:
    COrvantoKadrixSDKInstallerApp();
    ~COrvantoKadrixSDKInstallerApp() override;

    bool InitInstance() override;
    int ExitInstance() override;

    std::string appFolderPath;
    bool appFolderWritable = false;
    std::unique_ptr<CUpgradeInfo> upgradeInfo;
    std::unique_ptr<CUpgradeInfo> upgradeInfoBeta;
    ULONG_PTR gdiplusToken = 0;

    bool getAppFolderPath();
    static bool isAppFolderWritable(const std::string& folder);
    bool cleanUpTempSubFolder();
    int countOwnInstallerInstances();
    int countProcessesByNamePrefix(const char* prefix);

    // Which conflicting installer runs now, in the order the start-up tests them.
    enum class Conflict { None, OwnInstance, FamilyInstance, SdkInstaller, SmartCamInstaller };
    Conflict findConflict();
    // The start-up rule: waits behind the please-wait dialog while a conflict
    // lasts, at most four times; true when start-up may go on. On refusal the
    // user has been told why.
    // `withWindows` false: the same waits without the please-wait box and
    // without the refusal message (the command-line mode), the refusal
    // written to the session log instead.
    bool passStartupChecks(bool withWindows = true);
    static const char* conflictMessage(Conflict conflict);

    // Whether this build reads the test overrides ORVANTO_REPOSITORY_URL and
    // ORVANTO_STARTUP_WAIT_MS from the environment: the 64-bit build of the
    // tests and the demo only, never the shipped 32-bit program.
    static bool readsTestOverrides();

    // The command line the program runs with; without options (the default)
    // the start-up hook runs the wizard, otherwise the command-line mode
    // (no wizard, no upgrade check), whose exit code the process returns.
    void setCommandLine(const CInstallerCommandLine& line) { commandLine_ = line; }
    int runCommandLine(const CInstallerCommandLine& line);
    // A repository given on the command line: honoured by every build, ahead
    // of the test override. Empty restores the usual address.
    void setRepositoryOverride(const std::string& url) { repositoryOverride_ = url; }

    // Interval of the start-up waits: 5000 ms as shipped; tests shorten it.
    DWORD busyWaitMs = 5000;
    int busyWaitCount = 4;

    // hnInstallerServices.
    const std::string& applicationFolder() const override { return appFolderPath; }
    bool applicationFolderWritable() const override { return appFolderWritable; }
    // The command line's /repository; otherwise compiled in, in the 64-bit
    // build overridden by the environment variable ORVANTO_REPOSITORY_URL.
    std::string repositoryBaseUrl() const override;
    // With /repository, every address below the repository's own server
    // paths goes to that server.
    std::string listedAddress(const std::string& url) const override;
    CUpgradeInfo* upgradeRecord(bool beta) override {
        return beta ? upgradeInfoBeta.get() : upgradeInfo.get();
    }
    std::string& pendingInstallerPath() override { return pendingInstallerPath_; }
    std::string& pendingInstallerFileName() override { return pendingInstallerFileName_; }
    hnElementActions& elementActions() override;
    hnPythonEnvironment& pythonEnvironment() override;
    bool unattendedRun() const override { return runOutcome_ != nullptr; }
    void noteInstallerExitCode(unsigned long code) override;
    // The outcome that started installers report to while a set is applied;
    // null outside such a run.
    void setRunOutcome(hnRunOutcome* outcome) { runOutcome_ = outcome; }

    void setElementActions(hnElementActions* actions);           // null restores the shipped ones
    void setPythonEnvironment(hnPythonEnvironment* environment); // null restores the shipped one

protected:
    virtual void runWizard();

private:
    int runCommandLineAction(const CInstallerCommandLine& line);

    CInstallerCommandLine commandLine_;
    hnRunOutcome* runOutcome_ = nullptr; // while /apply runs
    std::string repositoryOverride_;
    std::unique_ptr<hnElementActions> shippedActions_;
    hnElementActions* actions_ = nullptr;
    std::unique_ptr<hnPythonEnvironment> shippedPython_;
    hnPythonEnvironment* python_ = nullptr;
    std::string pendingInstallerPath_;
    std::string pendingInstallerFileName_;
    bool oleStarted_ = false;
};

// The application object of the running program.
COrvantoKadrixSDKInstallerApp* theApp();
