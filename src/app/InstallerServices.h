#pragma once
// What every layer of the installer reaches of the application object besides
// the framework (prompter, debug sink, main window of hnAppBase): its folder,
// the repository server, the upgrade records, the per-element actions and
// the Python environment. The installer application implements it; the
// layers below it see only this interface, so they never include the
// application itself. The types named here belong to higher layers and are
// opaque at this level.
#include <string>
#include <windows.h>

class CUpgradeInfo;        // download: the upgrade-info record
class hnElementActions;    // install: what an install manager does per element
class hnPythonEnvironment; // install: what installation asks of the Python layer

extern const char* const kInstallerCaption;        // "Orvanto Vision Software XV 774 Installer"
extern const char* const kInstallerFileName;       // published image name of this installer
extern const char* const kInstallerFamilyPrefix;   // "OrvantoVisionSoftware_"
extern const char* const kSdkInstallerPrefix;      // "OrvantoKadrixSDK_"
extern const char* const kSmartCamInstallerPrefix; // "ORK_SonySmartCams_"
extern const char* const kInstallerMarker;         // "_Installer_"
extern const char* const kPrivateTempSubFolder;    // "Orvanto10_9267"
extern const char* const kInstallerServerFolder;   // server folder of this installer's version files

class hnInstallerServices {
public:
    virtual ~hnInstallerServices() = default;

    // Folder of the executable, no trailing separator: the base of every
    // cache path.
    virtual const std::string& applicationFolder() const = 0;
    // Pages hide "Download Installables" when false.
    virtual bool applicationFolderWritable() const = 0;
    // "http://host[:port]" of the repository server, without trailing '/'.
    virtual std::string repositoryBaseUrl() const = 0;
    // The address to fetch for one a server list names: unchanged unless a
    // repository was given for this run, which then serves every address
    // below the repository's own server paths, whatever host the list names.
    virtual std::string listedAddress(const std::string& url) const { return url; }
    // The release (false) or beta (true) channel's record; null after exit.
    virtual CUpgradeInfo* upgradeRecord(bool beta) = 0;
    // A newer installer downloaded into the private temp folder, waiting for
    // the hand-over to it: its path and the file name it is published under.
    virtual std::string& pendingInstallerPath() = 0;
    virtual std::string& pendingInstallerFileName() = 0;
    // The per-element actions that install managers use unless told otherwise.
    virtual hnElementActions& elementActions() = 0;
    virtual hnPythonEnvironment& pythonEnvironment() = 0;
    // The command-line mode applying a set: started installers must not
    // restart the PC (msiexec gets REBOOT=ReallySuppress), and their exit
    // codes count for the run's own.
    virtual bool unattendedRun() const { return false; }
    virtual void noteInstallerExitCode(unsigned long code) { (void)code; }
};

// The running installer application, or null when the process's application
// object is not one (a bare framework object).
hnInstallerServices* installerServices();

// listedAddress of the running installer; `url` itself without one.
std::string listedAddress(const std::string& url);

// The application folder, or "" without an installer application.
std::string applicationFolder();

// A message box with the installer caption, owned by the main window, asked
// through the prompter.
int appMessageBox(const std::string& text, UINT type = MB_OK);
