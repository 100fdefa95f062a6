#include "install/ComponentActions.h"

#include <windows.h>

#include "app/AppBase.h"
#include "app/InstallerServices.h"
#include "download/ElementDownload.h"
#include "install/DetectionCatalogue.h"
#include "install/InstallActions.h"
#include "download/InstallationElement.h"
#include "download/StatusWords.h"
#include "install/Uninstall.h"

// Each action below is the entry point of its own area; an area that has not
// taken over its action yet answers "not present / not done".

bool hnComponentActions::isInstalled(hnInstallationElement& element) {
    std::string reason;
    bool installed = detectInstalled(element, memo_, &reason);
    element.setStatusReason(reason);
    return installed;
}

bool hnComponentActions::getStatusWord(hnInstallationElement& element, std::string& status) {
    std::string reason;
    bool complete = detectStatusWord(element, status, memo_, &reason);
    // A row without checks keeps the reason of its presence.
    if (!reason.empty())
        element.setStatusReason(reason);
    return complete;
}

hnDetectionMemo* hnComponentActions::shareDetection(hnDetectionMemo* memo) {
    hnDetectionMemo* previous = memo_;
    memo_ = memo;
    return previous;
}

int hnComponentActions::installElement(hnInstallationElement& element, int position, int runLength,
                                       bool refresh, bool stopOnErrors) {
    return ::installElement(*this, element, position, runLength, refresh, stopOnErrors);
}

int hnComponentActions::downloadElement(hnInstallationElement& element, bool& userAborted, int position,
                                        int runLength) {
    return ::downloadElement(element, userAborted, position, runLength);
}

int hnComponentActions::deleteOldDownload(int position, hnInstallationElement& element, int runLength) {
    return ::deleteOldDownload(position, element, runLength);
}

int hnComponentActions::uninstallElement(hnInstallationElement& element, int position, int runLength,
                                         bool stopOnErrors) {
    return ::uninstallElement(*this, element, position, runLength, stopOnErrors);
}

int hnComponentActions::repairElement(bool stopOnErrors, hnInstallationElement& element) {
    return ::repairElement(stopOnErrors, element);
}

int hnComponentActions::updateStatusDetail(hnInstallationElement& element) {
    return detectStatusDetail(element);
}

hnDownloadErrorChoice hnComponentActions::askDownloadError(const std::string& text) {
    return askDownloadErrorChoice(text);
}
