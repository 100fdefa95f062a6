#pragma once
// The per-element actions that the install manager calls. The shipped
// implementation (hnComponentActions) dispatches on the element's name to
// detection, installation, download and uninstallation; tests drive the
// manager with recorded stand-ins.
#include <string>

#include "download/ElementDownload.h"

struct hnInstallationElement;
class hnDetectionMemo;

class hnElementActions {
public:
    virtual ~hnElementActions() = default;

    virtual bool isInstalled(hnInstallationElement& element) = 0;
    // Writes a status word; true when the component is fully "Installed".
    virtual bool getStatusWord(hnInstallationElement& element, std::string& status) = 0;
    virtual int installElement(hnInstallationElement& element, int position, int runLength, bool refresh,
                               bool stopOnErrors) = 0;
    virtual int downloadElement(hnInstallationElement& element, bool& userAborted, int position,
                                int runLength) = 0;
    virtual int deleteOldDownload(int position, hnInstallationElement& element, int runLength) = 0;
    virtual int uninstallElement(hnInstallationElement& element, int position, int runLength,
                                 bool stopOnErrors) = 0;
    virtual int repairElement(bool stopOnErrors, hnInstallationElement& element) = 0;
    virtual int updateStatusDetail(hnInstallationElement& element) = 0;

    // While a refresh runs, the rows' detection may share the answers of
    // `memo`; null ends the sharing. Returns the memo shared before.
    virtual hnDetectionMemo* shareDetection(hnDetectionMemo* memo) {
        (void)memo;
        return nullptr;
    }

    // The download-error question: "Retry", "Ignore", "Ignore All", "Abort".
    virtual hnDownloadErrorChoice askDownloadError(const std::string& text) = 0;
};
