#pragma once
#include <string>

#include "controls/ImageButton.h"
#include "process/Elevation.h"
#include "wizard/PropertyPageBase.h"

// Utilities of the maker that run from here: the file versioner of the
// runtime folder.
class kdDInstallHalvenorUtilities : public kdDPropertyPageBase {
public:
    explicit kdDInstallHalvenorUtilities(const std::string& title);

    bool isPageSkipped() override { return false; }
    bool isHiddenInExtensionsOnlyMode() override { return false; }
    int updateButtons() override { return 1; }
    int setupControls() override;
    int initInstallationElements() override { return 1; }

    // Starts the runtime's file versioner; 1 started, -1 with a message.
    int runFileVersioner();

    std::string statusText; // the hint line
    hnImageButton runButton;
    // How the utility is started; the system's shell unless a test replaces it.
    hnLaunchSystem launchSystem = hnLaunchSystem::real();

protected:
    bool onSetActive() override;
    bool onCommand(WORD id, WORD code, HWND control) override;
};
