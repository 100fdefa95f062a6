#include "install/ActionServices.h"

#include <atomic>

#include "app/FileHelpers.h"
#include "download/DownloadEngine.h"
#include "download/Unzipper.h"
#include "install/CheckInstallations.h"
#include "install/InstallationElement.h"
#include "process/ProcessLaunch.h"

bool actionMsiProductInstalled(const char* productCode) {
    return productCode && hnCheckInstallations::isMsiProductInstalled(productCode);
}

bool actionRuntimeFolder(std::string& folder) { return hnCheckInstallations::getRuntimeFolder(folder); }

hnInstallDialogRun::hnInstallDialogRun(int, int, hnInstallationElement& element, bool downloadOnly, bool refresh,
                                       bool)
    : element_(element), downloadOnly_(downloadOnly), refresh_(refresh) {
    finalPath_ = elementDownloadPaths(element.downloadFolder, element.fileName).finalPath;
}

hnInstallDialogRun::~hnInstallDialogRun() = default;

// Until the download-and-install dialog is in place: the same work without
// its window, on the calling thread.
void hnInstallDialogRun::run() {
    ElementDownloadPaths paths = elementDownloadPaths(element_.downloadFolder, element_.fileName);
    if (paths.finalPath.empty())
        return;
    createFolderPath(element_.downloadFolder);
    if (!element_.url.empty()) {
        std::atomic<bool> abort{false};
        downloadElementFile(element_.url, paths, refresh_, abort, nullptr);
        resolveDownloadBackup(paths);
    }
    if (!downloadOnly_ && fileExists(paths.finalPath))
        runDownloadedInstaller(paths.finalPath, element_.switches, element_.isMsiPackage);
}

bool extractComponentArchive(const std::string& archive, const std::string& folder) {
    return extractArchiveToFolder(archive.c_str(), folder.c_str());
}
