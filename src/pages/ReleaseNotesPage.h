#pragma once
#include <string>

#include "controls/ImageButton.h"
#include "wizard/PropertyPageBase.h"

// Release notes of this installer version, fetched from the server.
class kdDInstallReleaseNotes : public kdDPropertyPageBase {
public:
    explicit kdDInstallReleaseNotes(const std::string& title);

    bool isPageSkipped() override { return false; }
    bool isHiddenInExtensionsOnlyMode() override { return false; }
    int updateButtons() override { return 1; }
    int setupControls() override;
    // The readme element, as the manager's only element.
    int initInstallationElements() override;

    // Fetches the notes (or uses the cached copy) and shows them; true when
    // shown.
    bool loadReadme(bool refresh, bool showMessages);

    std::string statusText;                               // the hint line
    std::string nameText, readmeStatusText, progressText; // shown nowhere
    hnImageButton refreshButton;

protected:
    bool onInitDialog() override;
    bool onSetActive() override;
    bool onCommand(WORD id, WORD code, HWND control) override;
};
