#pragma once
#include <string>

#include "controls/ImageButton.h"
#include "wizard/PropertyPageBase.h"

// Copies or moves profiles of older installed versions into this version.
class kdDInstallImportProfiles : public kdDPropertyPageBase {
public:
    explicit kdDInstallImportProfiles(const std::string& title);

    bool isPageSkipped() override { return false; }
    bool isHiddenInExtensionsOnlyMode() override { return false; }
    int updateButtons() override { return 1; }
    int setupControls() override;
    int initInstallationElements() override { return 1; }

    std::string statusText; // the hint line

protected:
    bool onSetActive() override;
};
