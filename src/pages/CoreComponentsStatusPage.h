#pragma once
#include <string>

#include "controls/ImageButton.h"
#include "wizard/PropertyPageBase.h"

// Status of the core components after their installation; passed over by
// Back and Next while both are installed.
class kdDInstallCoreComponentsSoftwareStatus : public kdDPropertyPageBase {
public:
    explicit kdDInstallCoreComponentsSoftwareStatus(const std::string& title);

    bool isPageSkipped() override;
    bool isHiddenInExtensionsOnlyMode() override { return true; }
    int updateButtons() override;
    int setupControls() override;
    int initInstallationElements() override;

    int updateStatusNavigation();
    void onUninstall(int element);
    void onDownloadInstallables();

    std::string rowNames[2], rowStatus[2], rowProgress[2];
    std::string statusText; // the hint line
    hnImageButton uninstallButtons[2];
    hnImageButton downloadButton;

protected:
    bool onSetActive() override;
    bool onCommand(WORD id, WORD code, HWND control) override;
};
