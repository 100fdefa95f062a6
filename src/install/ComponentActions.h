#pragma once
#include "install/ElementActions.h"

// The shipped per-element actions: each routine chooses what to do from the
// element's name and hands over to detection, installation, download,
// uninstallation and repair.
class hnComponentActions : public hnElementActions {
public:
    bool isInstalled(hnInstallationElement& element) override;
    bool getStatusWord(hnInstallationElement& element, std::string& status) override;
    int installElement(hnInstallationElement& element, int position, int runLength, bool refresh,
                       bool stopOnErrors) override;
    int downloadElement(hnInstallationElement& element, bool& userAborted, int position,
                        int runLength) override;
    int deleteOldDownload(int position, hnInstallationElement& element, int runLength) override;
    int uninstallElement(hnInstallationElement& element, int position, int runLength,
                         bool stopOnErrors) override;
    int repairElement(bool stopOnErrors, hnInstallationElement& element) override;
    int updateStatusDetail(hnInstallationElement& element) override;
    hnDetectionMemo* shareDetection(hnDetectionMemo* memo) override;
    hnDownloadErrorChoice askDownloadError(const std::string& text) override;

private:
    hnDetectionMemo* memo_ = nullptr;
};
