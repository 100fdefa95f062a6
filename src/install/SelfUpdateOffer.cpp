#include "install/SelfUpdateOffer.h"

#include <shlobj.h>
#include <string>

#include "app/AppBase.h"
#include "app/DebugOut.h"
#include "app/FileHelpers.h"
#include "app/InstallerServices.h"
#include "app/SessionLog.h"
#include "app/Text.h"
#include "download/InstallationElement.h"
#include "download/SelfUpdate.h"
#include "download/UpgradeInfo.h"
#include "download_ids.h"
#include "install/InstallManager.h"

namespace {

// The shell's folder picker; false when the user cancels.
bool pickDownloadFolder(std::string& folder) {
    BROWSEINFOA browse = {};
    browse.hwndOwner = appMainWindow();
    browse.lpszTitle = "Select Download Directory";
    browse.ulFlags = BIF_RETURNONLYFSDIRS | BIF_NEWDIALOGSTYLE;
    PIDLIST_ABSOLUTE chosen = ::SHBrowseForFolderA(&browse);
    if (!chosen)
        return false;
    char path[MAX_PATH] = {};
    bool ok = ::SHGetPathFromIDListA(chosen, path) && path[0];
    ::CoTaskMemFree(chosen);
    folder = path;
    return ok;
}

} // namespace

bool downloadNewInstaller(CUpgradeInfo& info) {
    hnInstallerServices* services = installerServices();
    std::string ini = upgradeInfoIniPath(info);
    if (!services || ini.empty() || !fileExists(ini))
        return false;
    std::string fileName = readUpgradeInfoValue(ini, "InstallerFileName");
    std::string folderUrl = readUpgradeInfoValue(ini, "InstallerFilePath");
    if (fileName.empty() || folderUrl.empty())
        return false;
    // The file lands beside this program and replaces what has that name
    // there: never the running program, never anything outside the family.
    if (!isOfferableInstallerName(fileName)) {
        hnDebugOut("downloadNewInstaller - installer file name refused\n");
        return false;
    }
    std::string latestNumber = readUpgradeInfoValue(ini, "LatestVersionNumber");

    std::string target;
    if (services->applicationFolderWritable()) {
        target = installerFolder(services->applicationFolder());
        if (target.empty())
            return false;
    } else if (!pickDownloadFolder(target)) {
        return false;
    }
    if (!installerNameFits(target, fileName)) {
        hnAppBase::current()->prompter().messageBox(
            nullptr,
            hnFormatText("The name of the server's installer file is too long for the folder %s.\nPlease "
                         "select a folder with a shorter path.",
                         target.c_str())
                .c_str(),
            kInstallerCaption, MB_OK);
        return false;
    }

    std::string name, status, progress;
    hnInstallationElement element("New Version Installer", (folderUrl + fileName).c_str(), fileName.c_str(),
                                  "", target.c_str(), false, 0, false, &name, &status, &progress,
                                  "Installer Application");
    hnInstallationElement* elements[] = {&element};
    hnInstallManagerBase manager;
    manager.setElements(1, elements);
    bool skipAllErrors = false;
    std::string downloaded;
    if (manager.downloadAll(false, &skipAllErrors) < 1 || !hnJoinPath(downloaded, target, fileName) ||
        !fileExists(downloaded)) { // "Ignore" on the download error leaves nothing to hand over
        hnSessionLogF("Self-update", "installer %s%s not fetched into %s", folderUrl.c_str(),
                      fileName.c_str(), target.c_str());
        return false;
    }
    hnSessionLogF("Self-update", "fetched installer %s%s as %s", folderUrl.c_str(), fileName.c_str(),
                  downloaded.c_str());

    hnAppBase::current()->prompter().messageBox(
        nullptr,
        hnFormatText("Successfully downloaded the installer version %s.\n%s\\%s", latestNumber.c_str(),
                     target.c_str(), fileName.c_str())
            .c_str(),
        kInstallerCaption, MB_OK);
    services->pendingInstallerPath() = downloaded;
    services->pendingInstallerFileName() = fileName;
    hnSessionLogF("Self-update", "handing over to %s", downloaded.c_str());
    ::SendMessageA(appMainWindow(), kMsgHandOverToNewInstaller, 0, 0);
    return true;
}

int offerUpgrade(CUpgradeInfo& info) {
    hnAppBase* app = hnAppBase::current();
    if (info.checkState != 2) {
        app->prompter().messageBox(nullptr, "Unable to download new version. Please try again",
                                   kInstallerCaption, MB_OK);
        return -1;
    }
    // Without its notes the dialog would close itself at once: "Ignore".
    if (!fileExists(info.releaseNotesPath))
        return -1;
    INT_PTR answer = app->prompter().question(
        IDD_NEW_VERSION_AVAILABLE, appMainWindow(), info.latestVersionName.c_str(), [&info](HWND owner) {
            DNewVersionAvailable dialog(info.releaseNotesPath, info.currentVersionName,
                                        info.latestVersionName);
            return dialog.doModal(owner);
        });
    if (answer == IDOK && downloadNewInstaller(info))
        return 1;
    return -1;
}
