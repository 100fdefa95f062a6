#include "download/SelfUpdate.h"

#include <atomic>
#include <cstdio>
#include <richedit.h>

#include "app/DebugOut.h"
#include "app/FileHelpers.h"
#include "app/FileVersion.h"
#include "app/InstallerServices.h"
#include "app/ScopedHandle.h"
#include "app/SessionLog.h"
#include "app/Text.h"
#include "controls/RichTextFile.h"
#include "download/DownloadEngine.h"
#include "download/UpgradeInfo.h"
#include "download_ids.h"

const char* const kUpgradeInfoSection = "Version Upgrade Info";
const char* const kBetaNotesFolder = "Beta";

std::string upgradeInfoIniPath(const CUpgradeInfo& info) {
    std::string path;
    if (info.privateFolder.empty() || !hnJoinPath(path, info.privateFolder, info.infoFileName))
        return std::string();
    return path;
}

std::string readUpgradeInfoValue(const std::string& iniPath, const char* key) {
    char buffer[kIniValueCapacity] = {};
    ::GetPrivateProfileStringA(kUpgradeInfoSection, key, "", buffer, sizeof(buffer), iniPath.c_str());
    return buffer;
}

bool isOfferableInstallerName(const std::string& fileName) {
    static const std::string extension = ".exe";
    const std::string prefix = kInstallerFamilyPrefix;
    return isPlainFileName(fileName) && fileName.size() > prefix.size() + extension.size() &&
           fileName.compare(0, prefix.size(), prefix) == 0 &&
           fileName.find(kInstallerMarker, prefix.size()) != std::string::npos &&
           hnEqualsNoCase(fileName.substr(fileName.size() - extension.size()), extension) &&
           !isRunningExecutableName(fileName) && !hnEqualsNoCase(fileName, kInstallerFileName);
}

std::string installerFolder(const std::string& applicationFolder) {
    std::string folder;
    return hnJoinPath(folder, applicationFolder, "_OrvantoInstallers") ? folder : std::string();
}

bool installerNameFits(const std::string& folder, const std::string& fileName) {
    return !folder.empty() && !elementDownloadPaths(folder, fileName).tooLong();
}

bool isOlderThanRunningVersion(const std::string& offered) {
    std::string running, privateBuild;
    unsigned mine[4], theirs[4];
    if (readFileVersionAndPrivateBuild(runningExecutablePath(), running, privateBuild) < 1 ||
        !parseFourPartVersion(running, mine) || !parseFourPartVersion(offered, theirs))
        return false;
    for (int i = 0; i < 4; ++i)
        if (theirs[i] != mine[i])
            return theirs[i] < mine[i];
    return false;
}

namespace {

// Every outcome of the check is in the session log, with its reason.
int failCheck(CUpgradeInfo& info, int code, const std::string& reason) {
    hnSessionLogF("Self-update", "checked %s: %s", info.infoUrl.c_str(), reason.c_str());
    info.checkState = 1;
    return code;
}

// What the upgrade INI offers, read by `readNewVersionInfo`.
struct OfferedVersion {
    std::string iniPath;
    std::string name;
    std::string number;
    std::string installer;
};

// Step one: the upgrade INI into the private folder. 1, or the unavailable code.
int downloadUpgradeInfoFile(CUpgradeInfo& info, const std::atomic<bool>& abort, hnInternetStop* stop) {
    if (info.privateFolder.empty() ||
        downloadFileToFolder(info.privateFolder, info.infoFileName, abort, info.infoUrl, stop) <= 0)
        return failCheck(info, kUpgradeInfoUnavailable, "could not be fetched");
    return 1;
}

// Step two: what the INI offers. The server is not trusted: the installer it
// names must be one of this family and never the running program, and an
// older version is never offered. 1, or the nothing-newer code.
int readNewVersionInfo(CUpgradeInfo& info, OfferedVersion& offered) {
    offered.iniPath = upgradeInfoIniPath(info);
    if (offered.iniPath.empty() || !fileExists(offered.iniPath))
        return failCheck(info, kUpgradeNothingNewer, "no file after the download");
    offered.name = readUpgradeInfoValue(offered.iniPath, "LatestVersionName");
    if (offered.name.empty() || offered.name == kInstallerCaption)
        return failCheck(info, kUpgradeNothingNewer, "nothing newer offered");
    offered.number = readUpgradeInfoValue(offered.iniPath, "LatestVersionNumber");
    offered.installer = readUpgradeInfoValue(offered.iniPath, "InstallerFileName");
    const std::string& installerName = offered.installer;
    if (!isOfferableInstallerName(installerName)) {
        hnDebugOut("fetchUpgradeInfo - installer file name refused\n");
        return failCheck(info, kUpgradeNothingNewer, "installer file name '" + installerName + "' refused");
    }
    // An installer that could not be downloaded beside this program is no offer.
    hnInstallerServices* services = installerServices();
    if (services && !installerNameFits(installerFolder(services->applicationFolder()), installerName)) {
        // Not formatted: the name is long by definition.
        hnDebugOut(("fetchUpgradeInfo - installer file name '" + installerName +
                    "' does not fit the application folder\n")
                       .c_str());
        return failCheck(info, kUpgradeNothingNewer, "installer file name does not fit the folder");
    }
    if (isOlderThanRunningVersion(offered.number))
        return failCheck(info, kUpgradeNothingNewer, "version " + offered.number + " is older");
    return 1;
}

// Step three: the release notes the INI names, into the private folder (a
// beta's into its own sub-folder, so that same-named notes never meet).
// 1 with `notesPath`, or the notes-unavailable code.
int downloadReleaseNotes(CUpgradeInfo& info, const OfferedVersion& offered, const std::atomic<bool>& abort,
                         hnInternetStop* stop, std::string& notesPath) {
    std::string notesName = readUpgradeInfoValue(offered.iniPath, "ReleaseNotesFileName");
    std::string notesFolderUrl = readUpgradeInfoValue(offered.iniPath, "ReleaseNotesFilePath");
    std::string notesFolder = info.privateFolder;
    if (info.beta && (!hnJoinPath(notesFolder, info.privateFolder, kBetaNotesFolder) ||
                      (!fileExists(notesFolder) && !::CreateDirectoryA(notesFolder.c_str(), nullptr))))
        return failCheck(info, kUpgradeNotesUnavailable, "no folder for the release notes");
    if (notesName.empty() || notesFolderUrl.empty() || !isPlainFileName(notesName) ||
        !hnJoinPath(notesPath, notesFolder, notesName) ||
        downloadFileToFolder(notesFolder, notesName, abort, notesFolderUrl + notesName, stop) <= 0)
        return failCheck(info, kUpgradeNotesUnavailable, "release notes could not be fetched");
    return 1;
}

} // namespace

int fetchUpgradeInfo(CUpgradeInfo& info, hnInternetStop* stop) {
    const std::atomic<bool> abort{false}; // the worker is stopped through `stop`
    OfferedVersion offered;
    std::string notesPath;
    int result = downloadUpgradeInfoFile(info, abort, stop);
    if (result == 1)
        result = readNewVersionInfo(info, offered);
    if (result == 1)
        result = downloadReleaseNotes(info, offered, abort, stop, notesPath);
    if (result != 1)
        return result;
    info.releaseNotesPath = notesPath;
    info.currentVersionName = kInstallerCaption;
    info.latestVersionName = offered.name;
    info.latestVersionNumber = offered.number;
    hnSessionLogF("Self-update", "checked %s: offers %s %s, installer %s", info.infoUrl.c_str(),
                  offered.name.c_str(), offered.number.c_str(), offered.installer.c_str());
    info.checkState = 2; // last: readers on the other thread look at it first
    return 1;
}

// ---------------------------------------------------------------- dialog 170

DNewVersionAvailable::DNewVersionAvailable(const std::string& notesPath, const std::string& currentName,
                                           const std::string& newName)
    : hnDialog(IDD_NEW_VERSION_AVAILABLE), releaseNotesPath(notesPath), currentVersionName(currentName),
      newVersionName(newName) {
    ::LoadLibraryA("riched20.dll"); // the class of the notes box
    bindText(IDC_NEW_VERSION_CURRENT, &currentVersionName);
    bindText(IDC_NEW_VERSION_NEW, &newVersionName);
}

bool DNewVersionAvailable::onInitDialog() {
    transferToControls();
    HWND notes = item(IDC_NEW_VERSION_NOTES);
    if (loadRichTextFile(notes, releaseNotesPath) == hnRichTextLoad::Missing) {
        endDialog(IDCANCEL);
        return true;
    }
    ::SendMessageA(notes, EM_SETSEL, 0, 0);
    ::SetFocus(item(IDOK)); // the notes are read, not selected
    return false;
}
