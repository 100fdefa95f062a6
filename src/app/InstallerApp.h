#pragma once
// The installer's application object: prepares the process before any window
// exists, refuses to run beside a conflicting installer, then runs the wizard
// sheet modally as the only main window.
#include <memory>
#include <string>
#include <windows.h>

#include "app/AppBase.h"
#include "download/UpgradeInfo.h"

class hnElementActions;

extern const char* const kInstallerCaption;       // "Orvanto Vision Software XV 774 Installer"
extern const char* const kInstallerFileName;      // published image name of this installer
extern const char* const kInstallerFamilyPrefix;  // "OrvantoVisionSoftware_"
extern const char* const kSdkInstallerPrefix;     // "OrvantoKadrixSDK_"
extern const char* const kSmartCamInstallerPrefix; // "ORK_SonySmartCams_"
extern const char* const kInstallerMarker;        // "_Installer_"
extern const char* const kPrivateTempSubFolder;   // "Orvanto10_9267"
extern const char* const kInstallerServerFolder;  // server folder of this installer's version files

class COrvantoKadrixSDKInstallerApp : public hnAppBase {
public:
    COrvantoKadrixSDKInstallerApp();
    ~COrvantoKadrixSDKInstallerApp() override;

    bool InitInstance() override;
    int ExitInstance() override;

    std::string appFolderPath;
    bool appFolderWritable = false;
    std::unique_ptr<CUpgradeInfo> upgradeInfo;
    std::unique_ptr<CUpgradeInfo> upgradeInfoBeta;
    std::string pendingInstallerPath;
    std::string pendingInstallerFileName;
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
    bool passStartupChecks();
    static const char* conflictMessage(Conflict conflict);

    // Interval of the start-up waits: 5000 ms as shipped; tests shorten it.
    DWORD busyWaitMs = 5000;
    int busyWaitCount = 4;

    // The per-element actions that install managers use unless told otherwise.
    hnElementActions& elementActions();
    void setElementActions(hnElementActions* actions); // null restores the shipped ones

    // Base address of the repository server ("http://host[:port]"), compiled in,
    // overridden by the environment variable ORVANTO_REPOSITORY_URL.
    std::string repositoryBaseUrl() const;

protected:
    virtual void runWizard();

private:
    std::unique_ptr<hnElementActions> shippedActions_;
    hnElementActions* actions_ = nullptr;
    bool oleStarted_ = false;
};

// The application object of the running program.
COrvantoKadrixSDKInstallerApp* theApp();

// A message box with the installer caption, owned by the main window.
int appMessageBox(const std::string& text, UINT type = MB_OK);
