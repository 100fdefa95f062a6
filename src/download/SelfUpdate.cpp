#include "download/SelfUpdate.h"

#include <atomic>
#include <cstdio>
#include <richedit.h>

#include "app/DebugOut.h"
#include "app/FileHelpers.h"
#include "app/FileVersion.h"
#include "app/InstallerServices.h"
#include "app/ScopedHandle.h"
#include "app/Text.h"
#include "download/DownloadEngine.h"
#include "download/UpgradeInfo.h"
#include "download_ids.h"

const char* const kUpgradeInfoSection = "Version Upgrade Info";

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

int failCheck(CUpgradeInfo& info, int code) {
    info.checkState = 1;
    return code;
}

} // namespace

int fetchUpgradeInfo(CUpgradeInfo& info, hnInternetStop* stop) {
    const std::atomic<bool> abort{false}; // the worker is stopped through `stop`
    // The INI.
    if (info.privateFolder.empty() ||
        downloadFileToFolder(info.privateFolder, info.infoFileName, abort, info.infoUrl, stop) <= 0)
        return failCheck(info, kUpgradeInfoUnavailable);

    // What it offers. The server is not trusted: the installer it names must
    // be one of this family and never the running program, and an older
    // version is never offered.
    std::string ini = upgradeInfoIniPath(info);
    if (ini.empty() || !fileExists(ini))
        return failCheck(info, kUpgradeNothingNewer);
    std::string latestName = readUpgradeInfoValue(ini, "LatestVersionName");
    if (latestName.empty() || latestName == kInstallerCaption)
        return failCheck(info, kUpgradeNothingNewer);
    std::string latestNumber = readUpgradeInfoValue(ini, "LatestVersionNumber");
    if (!isOfferableInstallerName(readUpgradeInfoValue(ini, "InstallerFileName"))) {
        hnDebugOut("fetchUpgradeInfo - installer file name refused\n");
        return failCheck(info, kUpgradeNothingNewer);
    }
    if (isOlderThanRunningVersion(latestNumber))
        return failCheck(info, kUpgradeNothingNewer);

    // The release notes.
    std::string notesName = readUpgradeInfoValue(ini, "ReleaseNotesFileName");
    std::string notesFolderUrl = readUpgradeInfoValue(ini, "ReleaseNotesFilePath");
    std::string notesPath;
    if (notesName.empty() || notesFolderUrl.empty() || !isPlainFileName(notesName) ||
        !hnJoinPath(notesPath, info.privateFolder, notesName) ||
        downloadFileToFolder(info.privateFolder, notesName, abort, notesFolderUrl + notesName, stop) <= 0)
        return failCheck(info, kUpgradeNotesUnavailable);

    info.releaseNotesPath = notesPath;
    info.currentVersionName = kInstallerCaption;
    info.latestVersionName = latestName;
    info.latestVersionNumber = latestNumber;
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

namespace {

DWORD CALLBACK readNotes(DWORD_PTR file, LPBYTE buffer, LONG wanted, LONG* got) {
    DWORD read = 0;
    BOOL ok = ::ReadFile(reinterpret_cast<HANDLE>(file), buffer, static_cast<DWORD>(wanted), &read, nullptr);
    *got = static_cast<LONG>(read);
    return ok ? 0 : 1;
}

} // namespace

bool DNewVersionAvailable::onInitDialog() {
    transferToControls();
    hnScopedHandle file(::CreateFileA(releaseNotesPath.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                      OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (releaseNotesPath.empty() || !file) {
        endDialog(IDCANCEL);
        return true;
    }
    EDITSTREAM stream = {};
    stream.dwCookie = reinterpret_cast<DWORD_PTR>(file.get());
    stream.pfnCallback = readNotes;
    HWND notes = item(IDC_NEW_VERSION_NOTES);
    ::SendMessageA(notes, EM_STREAMIN, SF_RTF, reinterpret_cast<LPARAM>(&stream));
    ::SendMessageA(notes, EM_SETSEL, 0, 0);
    ::SetFocus(item(IDOK)); // the notes are read, not selected
    return false;
}
