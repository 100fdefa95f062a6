#pragma once
#include <string>

#include "controls/ImageButton.h"
#include "wizard/PropertyPageBase.h"

// Release notes of this installer version.
class kdDInstallReleaseNotes : public kdDPropertyPageBase {
public:
    explicit kdDInstallReleaseNotes(const std::string& title);

    bool isPageSkipped() override { return false; }
    bool isHiddenInExtensionsOnlyMode() override { return false; }
    int updateButtons() override { return 1; }
    int setupControls() override;
    int initInstallationElements() override { return 1; }

    std::string statusText; // the hint line

protected:
    bool onSetActive() override;
};
