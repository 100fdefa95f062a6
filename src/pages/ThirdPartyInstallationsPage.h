#pragma once
#include <string>

#include "controls/ImageButton.h"
#include "wizard/PropertyPageBase.h"

// Camera drivers of outside vendors, first page.
class kdDInstall3rdPartyInstallations : public kdDPropertyPageBase {
public:
    explicit kdDInstall3rdPartyInstallations(const std::string& title);

    bool isPageSkipped() override { return false; }
    bool isHiddenInExtensionsOnlyMode() override { return false; }
    int updateButtons() override { return 1; }
    int setupControls() override;
    int initInstallationElements() override { return 1; }

    std::string statusText; // the hint line
    hnImageButton downloadButton;

protected:
    bool onSetActive() override;
};
