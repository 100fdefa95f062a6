#pragma once
#include <string>

#include "controls/ImageButton.h"
#include "wizard/PropertyPageBase.h"

// Status of the core components after their installation.
class kdDInstallCoreComponentsSoftwareStatus : public kdDPropertyPageBase {
public:
    explicit kdDInstallCoreComponentsSoftwareStatus(const std::string& title);

    bool isPageSkipped() override { return false; }
    bool isHiddenInExtensionsOnlyMode() override { return true; }
    int updateButtons() override { return 1; }
    int setupControls() override;
    int initInstallationElements() override { return 1; }

    std::string statusText; // the hint line
    hnImageButton downloadButton;

protected:
    bool onSetActive() override;
};
