#include "install/ActionServices.h"

#include "app/AppBase.h"
#include "app/InstallerServices.h"
#include "download/DownloadDialogs.h"
#include "download/Unzipper.h"
#include "install/CheckInstallations.h"
#include "download/InstallationElement.h"

bool actionMsiProductInstalled(const char* productCode) {
    return productCode && hnCheckInstallations::isMsiProductInstalled(productCode);
}

bool actionRuntimeFolder(std::string& folder) { return hnCheckInstallations::getRuntimeFolder(folder); }

hnInstallDialogRun::hnInstallDialogRun(int position, int runLength, hnInstallationElement& element,
                                       bool downloadOnly, bool refresh, bool showMessages)
    : dialog_(new DDownloadAndInstallComponent(position, runLength, &element, downloadOnly, refresh, showMessages)) {}

hnInstallDialogRun::~hnInstallDialogRun() = default;

void hnInstallDialogRun::run() { dialog_->doModal(appMainWindow()); }

const std::string& hnInstallDialogRun::finalPath() const { return dialog_->finalPath(); }

bool extractComponentArchive(const std::string& archive, const std::string& folder) {
    return extractArchiveToFolder(archive.c_str(), folder.c_str());
}
