#pragma once
#include <string>

#include "controls/ImageButton.h"
#include "wizard/PropertyPageBase.h"

// Redistributable prerequisites and the choice of the Python interpreter.
class kdDInstallPreRequisites : public kdDPropertyPageBase {
public:
    explicit kdDInstallPreRequisites(const std::string& title);

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
