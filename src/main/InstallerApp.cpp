#include "main/InstallerApp.h"

#include <commctrl.h>
#include <cstring>
#include <gdiplus.h>
#include <richedit.h>
#include <string>
#include <vector>

#include "app/DebugOut.h"
#include "app/FileHelpers.h"
#include "app/PleaseWaitDlg.h"
#include "app/RepositoryAddress.h"
#include "app/ScopedHandle.h"
#include "app/SystemView.h"
#include "app/Text.h"
#include "app/WorkerWait.h"
#include "install/ComponentActions.h"
#include "download/InternetStop.h"
#include "main/ExitCodes.h"
#include "main/Mirror.h"
#include "main/PassiveProgress.h"
#include "main/RunAccount.h"
#include "main/SetApply.h"
#include "main/SetExport.h"
#include "main/UnattendedPrompter.h"
#include "pages/InstallerPages.h"
#include "process/ProcessList.h"
#include "process/TempFolder.h"
#include "python/ShippedPythonEnvironment.h"
#include "wizard/InstallerSheet.h"

namespace {
// The repository server. Tests and the demo point the program elsewhere
// through the environment.
const char* const kRepositoryBaseUrl = "http://repository.orvanto.com";
#ifdef _WIN64
const char* const kRepositoryUrlVariable = "ORVANTO_REPOSITORY_URL";
const char* const kBusyWaitVariable = "ORVANTO_STARTUP_WAIT_MS";
// The account an unattended run counts as working for (a SID): wine runs
// every process as the one user, so the tests pose as the local system
// account through this.
const char* const kRunAccountVariable = "ORVANTO_RUN_ACCOUNT_SID";
#else
// The shipped program does not even carry the names (a test reads it for them).
const char* const kRepositoryUrlVariable = nullptr;
const char* const kBusyWaitVariable = nullptr;
const char* const kRunAccountVariable = nullptr;
#endif
const char* const kSessionLogPrefix = "OrvantoVisionSoftwareInstaller_";
constexpr int kSessionLogsKept = 10;

// The value of a test override, or false. Only the 64-bit build (tests and
// demo) reads them: the shipped program runs elevated, and whatever can set a
// user's environment must not choose where it downloads installables from.
bool readTestOverride(const char* name, std::string& value) {
    if (!COrvantoKadrixSDKInstallerApp::readsTestOverrides() || !name)
        return false;
    char buffer[1024] = {};
    DWORD length = ::GetEnvironmentVariableA(name, buffer, sizeof(buffer));
    if (length == 0 || length >= sizeof(buffer))
        return false;
    value.assign(buffer, length);
    return true;
}
} // namespace

bool COrvantoKadrixSDKInstallerApp::readsTestOverrides() {
#ifdef _WIN64
    return true;
#else
    return false;
#endif
}

COrvantoKadrixSDKInstallerApp* theApp() {
    return static_cast<COrvantoKadrixSDKInstallerApp*>(hnAppBase::current());
}

COrvantoKadrixSDKInstallerApp::COrvantoKadrixSDKInstallerApp() {
    // The session log sits in the user's temp folder itself: start-up empties
    // the private sub-folder.
    std::string temp;
    if (hnTempFolder(temp))
        sessionLog().open(temp, kSessionLogPrefix, kSessionLogsKept);
    hnSessionLogF("Session", "%s started", kInstallerCaption);
    getAppFolderPath();
    appFolderWritable = isAppFolderWritable(appFolderPath);

    Gdiplus::GdiplusStartupInput gdiplusInput;
    Gdiplus::GdiplusStartup(&gdiplusToken, &gdiplusInput, nullptr);

    // The private temp sub-folder is emptied only once the start-up checks
    // have passed (see InitInstance): a second copy must not empty the folder
    // that the running copy works in.

    std::string base = repositoryBaseUrl() + kInstallerServerFolder;
    upgradeInfo.reset(new CUpgradeInfo(base + "774UpgradeInfo.ini.txt", "774UpgradeInfo.ini.txt"));
    upgradeInfoBeta.reset(
        new CUpgradeInfo(base + "774UpgradeInfoBeta.ini.txt", "774UpgradeInfoBeta.ini.txt"));
    upgradeInfo->currentVersionName = kInstallerCaption;
    upgradeInfoBeta->currentVersionName = kInstallerCaption;
    upgradeInfoBeta->beta = true;

    std::string wait;
    if (readTestOverride(kBusyWaitVariable, wait))
        busyWaitMs = static_cast<DWORD>(strtoul(wait.c_str(), nullptr, 10));
}

COrvantoKadrixSDKInstallerApp::~COrvantoKadrixSDKInstallerApp() {
    // ExitInstance normally released these; a test object may skip it.
    upgradeInfo.reset();
    upgradeInfoBeta.reset();
    if (gdiplusToken) {
        Gdiplus::GdiplusShutdown(gdiplusToken);
        gdiplusToken = 0;
    }
}

std::string COrvantoKadrixSDKInstallerApp::repositoryBaseUrl() const {
    if (!repositoryOverride_.empty())
        return repositoryOverride_;
    std::string url;
    if (readTestOverride(kRepositoryUrlVariable, url)) {
        while (!url.empty() && url.back() == '/')
            url.pop_back();
        return url;
    }
    return kRepositoryBaseUrl;
}

std::string COrvantoKadrixSDKInstallerApp::listedAddress(const std::string& url) const {
    return repositoryOverride_.empty() ? url : hnRepositoryAddressOf(url, repositoryOverride_);
}

hnElementActions& COrvantoKadrixSDKInstallerApp::elementActions() {
    if (actions_)
        return *actions_;
    if (!shippedActions_)
        shippedActions_.reset(new hnComponentActions());
    return *shippedActions_;
}

void COrvantoKadrixSDKInstallerApp::setElementActions(hnElementActions* actions) {
    actions_ = actions;
}

void COrvantoKadrixSDKInstallerApp::noteInstallerExitCode(unsigned long code) {
    if (runOutcome_)
        runOutcome_->noteInstallerExitCode(code);
}

hnPythonEnvironment& COrvantoKadrixSDKInstallerApp::pythonEnvironment() {
    if (python_)
        return *python_;
    if (!shippedPython_)
        shippedPython_.reset(new hnShippedPythonEnvironment());
    return *shippedPython_;
}

void COrvantoKadrixSDKInstallerApp::setPythonEnvironment(hnPythonEnvironment* environment) {
    python_ = environment;
}

bool COrvantoKadrixSDKInstallerApp::getAppFolderPath() {
    char buffer[MAX_PATH] = {};
    DWORD length = ::GetModuleFileNameA(nullptr, buffer, MAX_PATH);
    if (length == 0 || length >= MAX_PATH) {
        appFolderPath.clear();
        appMessageBox(
            "Unexpected Error. Unable to get the application path.\nSome of the features may not be "
            "available.",
            MB_OK);
        return false;
    }
    std::string path(buffer, length);
    std::string::size_type cut = path.find_last_of("/\\");
    appFolderPath = cut == std::string::npos ? path : path.substr(0, cut);
    return true;
}

bool COrvantoKadrixSDKInstallerApp::isAppFolderWritable(const std::string& folder) {
    std::string testFile;
    if (!hnFormat(testFile, kPathCapacity, "%s\\testFile.txt", folder.c_str()))
        return false;
    if (fileExists(testFile))
        deleteFileForced(testFile);
    bool writable = false;
    {
        hnScopedHandle file(::CreateFileA(testFile.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr,
                                          OPEN_ALWAYS, FILE_ATTRIBUTE_ARCHIVE, nullptr));
        writable = static_cast<bool>(file);
    }
    if (fileExists(testFile))
        deleteFileForced(testFile);
    return writable;
}

bool COrvantoKadrixSDKInstallerApp::cleanUpTempSubFolder() {
    // privateTempFolder replaces a planted link by a real folder before
    // anything in it is listed or deleted.
    std::string folder;
    const char* reason = "";
    if (!privateTempFolder(folder, &reason)) {
        hnDebugOut(std::strcmp(reason, "temp") == 0
                       ? "cleanUpTempSubFolder - unable to get temp directory\n"
                       : "cleanUpTempSubFolder - unable to create temp sub-folder\n");
        return false;
    }
    std::string pattern;
    WIN32_FIND_DATAA data = {};
    hnScopedFind find;
    if (hnFormat(pattern, kPathCapacity, "%s\\*.*", folder.c_str()))
        find.reset(::FindFirstFileA(pattern.c_str(), &data));
    if (find) {
        do {
            if (!lstrcmpA(data.cFileName, ".") || !lstrcmpA(data.cFileName, ".."))
                continue;
            std::string entry;
            if (!hnFormat(entry, kPathCapacity, "%s/%s", folder.c_str(), data.cFileName))
                continue;
            if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
                deleteFolderTree(entry.c_str(), entry.c_str()); // removes a link as a link
            else
                deleteFileForced(entry);
        } while (::FindNextFileA(find.get(), &data));
    }
    return true;
}

namespace {
// The image names of the running processes, from one walk of them.
std::vector<std::string> processImageNames() {
    std::vector<std::string> names;
    forEachProcessImageName([&names](const std::string& name) { names.push_back(name); });
    return names;
}

int countOwnAmong(const std::vector<std::string>& names) {
    int count = 0;
    for (const std::string& name : names)
        if (hnEqualsNoCase(name, kInstallerFileName))
            ++count;
    return count;
}

int countPrefixAmong(const std::vector<std::string>& names, const char* prefix) {
    const std::string wanted(prefix);
    int count = 0;
    for (const std::string& name : names)
        if (name.compare(0, wanted.size(), wanted) == 0 && name.find(kInstallerMarker) != std::string::npos)
            ++count;
    return count;
}
} // namespace

int COrvantoKadrixSDKInstallerApp::countOwnInstallerInstances() {
    return countOwnAmong(processImageNames());
}

int COrvantoKadrixSDKInstallerApp::countProcessesByNamePrefix(const char* prefix) {
    try {
        return countPrefixAmong(processImageNames(), prefix);
    } catch (...) {
        return 0;
    }
}

COrvantoKadrixSDKInstallerApp::Conflict COrvantoKadrixSDKInstallerApp::findConflict() {
    // One walk of the processes serves all four counts: each walk opens every
    // process, which costs a start-up noticeably. The running process counts
    // itself in the first two.
    std::vector<std::string> names;
    try {
        names = processImageNames();
    } catch (...) {
        return Conflict::None;
    }
    if (countOwnAmong(names) > 1)
        return Conflict::OwnInstance;
    if (countPrefixAmong(names, kInstallerFamilyPrefix) > 1)
        return Conflict::FamilyInstance;
    if (countPrefixAmong(names, kSdkInstallerPrefix) > 0)
        return Conflict::SdkInstaller;
    if (countPrefixAmong(names, kSmartCamInstallerPrefix) > 0)
        return Conflict::SmartCamInstaller;
    return Conflict::None;
}

const char* COrvantoKadrixSDKInstallerApp::conflictMessage(Conflict conflict) {
    switch (conflict) {
    case Conflict::OwnInstance:
        return "Error: Another instance of the installer is already running. Unable to initiate the second "
               "instance.\n\nPlease close all other instances of the installer application and try "
               "again.\n\n";
    case Conflict::FamilyInstance:
        return "Error: Another instance of 'Orvanto Vision Software Installer' is already running. Unable to "
               "initiate the second instance.\n\nPlease close all other instances of the installer "
               "application "
               "and try again.\n\n";
    case Conflict::SdkInstaller:
        return "Error: 'Orvanto Kadrix SDK Installer' is running. Unable to initiate 'Orvanto Vision "
               "Software "
               "Installer'.\n\nPlease close all instances of 'Orvanto Kadrix SDK Installer' application and "
               "try "
               "again.\n\n";
    case Conflict::SmartCamInstaller:
        return "Error: 'Orvanto Vision Apps for SmartCams from Sony Installer' is running. Unable to "
               "initiate "
               "'Orvanto Vision Software Installer'.\n\nPlease close all instances of 'Orvanto Vision Apps "
               "for "
               "SmartCams from Sony Installer' application and try again.\n\n";
    case Conflict::None:
        break;
    }
    return "";
}

bool COrvantoKadrixSDKInstallerApp::passStartupChecks(bool withWindows) {
    if (findConflict() == Conflict::None)
        return true;
    bool busy = true;
    {
        DPleaseWaitDlg wait;
        if (withWindows && wait.create(nullptr))
            ::ShowWindow(wait.hwnd(), SW_SHOW);
        for (int round = 0; round < busyWaitCount && busy; ++round) {
            hnWaitHandlingMessages(busyWaitMs); // the box paints and answers meanwhile
            busy = findConflict() != Conflict::None;
        }
    }
    if (!busy)
        return true;
    Conflict last = findConflict();
    if (last == Conflict::None)
        return true;
    if (withWindows)
        appMessageBox(conflictMessage(last), MB_OK);
    else
        hnSessionLogF("Start-up", "refused: %s", conflictMessage(last));
    return false;
}

namespace {
// Puts the unattended prompter in place for one run and takes it out again.
class ScopedPrompter {
public:
    ScopedPrompter(hnAppBase& app, hnPrompter& prompter) : app_(app), previous_(app.setPrompter(&prompter)) {}
    ~ScopedPrompter() { app_.setPrompter(previous_); }
    ScopedPrompter(const ScopedPrompter&) = delete;
    ScopedPrompter& operator=(const ScopedPrompter&) = delete;

private:
    hnAppBase& app_;
    hnPrompter* previous_;
};
} // namespace

int COrvantoKadrixSDKInstallerApp::runCommandLine(const CInstallerCommandLine& line) {
    hnSessionLogF("Command line", "%s", ::GetCommandLineA());
    int code = exitcode::kFailed;
    try {
        code = runCommandLineAction(line);
    } catch (...) {
        hnSessionLogF("Command line", "unexpected exception");
    }
    hnSessionLogF("Command line", "exit code %d: %s", code, hnExitCodeMeaning(code));
    // The log of a run that ended: copied whole to where /log asked.
    if (!line.logFile.empty() && !sessionLog().copyTo(line.logFile))
        hnDebugOutF("runCommandLine - Unable to write the log to %s\n", line.logFile.c_str());
    return code;
}

int COrvantoKadrixSDKInstallerApp::runCommandLineAction(const CInstallerCommandLine& line) {
    if (!line.repositoryUrl.empty()) {
        setRepositoryOverride(line.repositoryUrl);
        hnSessionLogF("Command line", "repository %s", line.repositoryUrl.c_str());
    }
    // /quiet: no window at all; /passive: only the run's progress window.
    setWindowsHidden(line.quiet || line.passive);
    hnRunOutcome outcome;
    hnUnattendedPrompter prompter(outcome);
    ScopedPrompter inPlace(*this, prompter);
    if (!passStartupChecks(false))
        return exitcode::kBusy;
    cleanUpTempSubFolder();

    std::string error;
    switch (line.action) {
    case CInstallerCommandLine::Action::Export: {
        int code = hnExportComponentSet(line.exportFile, error);
        if (code != exitcode::kDone)
            hnSessionLogF("Export", "%s", error.c_str());
        return prompter.ended() ? exitcode::kFailed : code;
    }
    case CInstallerCommandLine::Action::Apply: {
        // The set is checked whole before anything else happens.
        CComponentSet set;
        CPagesWithoutWindows pages;
        if (hnReadComponentSet(line.applyFile, set, error) != 0 ||
            hnCheckComponentSetKeys(
                set,
                [&pages](const std::string& section, const std::string& key) {
                    return hnIsKnownSetKey(pages, section, key);
                },
                error) != 0) {
            hnSessionLogF("Apply", "the set file \"%s\" cannot be used: %s", line.applyFile.c_str(),
                          error.c_str());
            return exitcode::kBadSetFile;
        }
        if (hnCheckSetValues(pages, set, error) != 0) {
            hnSessionLogF("Apply", "the set file \"%s\" cannot be used: %s", line.applyFile.c_str(),
                          error.c_str());
            return exitcode::kBadSetFile;
        }
        // The account rule comes before anything is installed.
        std::string sid, account, documents, rule;
        hnProcessAccount(sid, account);
        std::string posed;
        if (readTestOverride(kRunAccountVariable, posed) && hnAccountNameOfSid(posed, account))
            sid = posed;
        hnDocumentsFolder(documents);
        int allowed = hnCheckDocumentsRule(set, sid, account, line.documentsFolder, documents, rule);
        hnSessionLogF("Apply", "%s", rule.c_str());
        if (allowed != 0)
            return allowed;
        if (!line.documentsFolder.empty())
            setDocumentsFolderOverride(line.documentsFolder);
        hnSessionLogF("Apply", "applying \"%s\"%s", line.applyFile.c_str(), line.exact ? " exactly" : "");
        hnApplyOptions options;
        options.exact = line.exact;
        CPassiveProgress progress;
        if (line.passive && progress.create(kInstallerCaption))
            options.progress = &progress;
        runOutcome_ = &outcome;
        hnApplyComponentSet(set, options, outcome, prompter);
        runOutcome_ = nullptr;
        return hnExitCodeOf(outcome);
    }
    case CInstallerCommandLine::Action::Mirror: {
        hnInternetStop stop;
        CPassiveProgress progress;
        bool passive = line.passive && progress.create(kInstallerCaption);
        int code =
            hnMirrorRepository(line.mirrorFolder, line.applyFile, stop, error, passive ? &progress : nullptr);
        if (code != exitcode::kDone)
            hnSessionLogF("Mirror", "%s", error.c_str());
        return prompter.ended() ? exitcode::kFailed : code;
    }
    case CInstallerCommandLine::Action::Wizard:
        break;
    }
    return exitcode::kBadCommandLine;
}

bool COrvantoKadrixSDKInstallerApp::InitInstance() {
    INITCOMMONCONTROLSEX controls = {sizeof(controls), 0xFF};
    ::InitCommonControlsEx(&controls);
    oleStarted_ = SUCCEEDED(::OleInitialize(nullptr));

    if (commandLine_.action != CInstallerCommandLine::Action::Wizard) {
        exitCode_ = runCommandLine(commandLine_);
        return false;
    }
    if (!passStartupChecks())
        return false;
    cleanUpTempSubFolder();
    runWizard();
    return false;
}

void COrvantoKadrixSDKInstallerApp::runWizard() {
    // The welcome page shows first; the other pages are built after its first
    // paint, while the user reads it.
    kdDKadrixSDKInstallerSheet sheet(createInstallerPages(true));
    sheet.setWizardMode();
    sheet.runModal();
}

int COrvantoKadrixSDKInstallerApp::ExitInstance() {
    upgradeInfo.reset();
    upgradeInfoBeta.reset();
    if (gdiplusToken) {
        Gdiplus::GdiplusShutdown(gdiplusToken);
        gdiplusToken = 0;
    }
    if (oleStarted_) {
        ::OleUninitialize();
        oleStarted_ = false;
    }
    return hnAppBase::ExitInstance();
}
