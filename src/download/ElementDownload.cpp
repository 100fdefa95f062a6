#include "download/ElementDownload.h"

#include "app/FileHelpers.h"
#include "app/AppBase.h"
#include "app/InstallerServices.h"
#include "download/DownloadDialogs.h"
#include "download_ids.h"
#include "download/InstallationElement.h"
#include "download/StatusWords.h"

int downloadElement(hnInstallationElement& element, bool& userAborted, int position, int runLength) {
    element.setProgress(kProgressDownloading);
    userAborted = false;
    DDownloadAndInstallComponent dialog(position, runLength, &element, true, false, true);
    bool downloaded = fileExists(dialog.finalPath()) || dialog.doModal(appMainWindow()) == IDOK;
    if (downloaded) {
        element.setProgress(kProgressDownloaded);
        return 1;
    }
    userAborted = dialog.userAborted();
    std::string reason = "The download of \"" + element.fileName + "\" from " + element.url;
    if (userAborted)
        reason += " was stopped.";
    else if (!dialog.failure().empty())
        reason += " failed: " + dialog.failure();
    else
        reason += " to " + dialog.finalPath() + " did not complete.";
    element.setProgress(kProgressDownloadError, reason);
    return -1;
}

int deleteOldDownload(int position, hnInstallationElement& element, int runLength) {
    DDownloadAndInstallComponent dialog(position, runLength, &element, true, false, true);
    bool deleted = true;
    for (const std::string* path : {&dialog.paths().temporaryPath, &dialog.paths().finalPath}) {
        if (fileExists(*path) && !deleteFileForced(*path))
            deleted = false;
    }
    if (deleted)
        return 1;
    appMessageBox("Error - Unable to delete the old download file for the component '" + element.name +
                      "'. Please confirm whether the file is in use.",
                  MB_OK);
    return -1;
}

hnDownloadErrorChoice askDownloadErrorChoice(const std::string& text) {
    INT_PTR choice = hnAppBase::current()->prompter().question(
        IDD_DOWNLOAD_ERROR_OPTION, appMainWindow(), text.c_str(), [&text](HWND owner) -> INT_PTR {
            DDownloadErrorHandlingOption dialog;
            dialog.text = text;
            return dialog.doModal(owner) == IDOK ? dialog.choice : 0;
        });
    switch (choice) {
    case 1:
        return hnDownloadErrorChoice::Retry;
    case 2:
        return hnDownloadErrorChoice::Ignore;
    case 3:
        return hnDownloadErrorChoice::IgnoreAll;
    default:
        return hnDownloadErrorChoice::Abort;
    }
}
