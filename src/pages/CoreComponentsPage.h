#pragma once
#include <functional>
#include <string>

#include "controls/ImageButton.h"
#include "wizard/PropertyPageBase.h"

// The core elements of both core pages: 0 the Orvanto runtime, 1 the Orvanto
// vision software, 2 the Kadrix SDK installer (download only). Builds the
// first `count` of them into the page's manager with the given row strings.
void buildCoreElements(hnInstallManagerBase& manager, int count, std::string* names, std::string* status,
                       std::string* progress);
// Binds the runtime and vision software rows of a core page to its strings.
void bindCoreRows(hnDialog& page, std::string* names, std::string* status, std::string* progress);
// Re-detects the runtime and vision software rows; true when both read "Installed".
bool refreshCoreRows(hnInstallManagerBase& manager, const std::string* status);

// The Orvanto runtime and the Orvanto vision software, and the download of
// the Kadrix SDK installer.
class kdDInstallCoreComponentsSoftware : public kdDPropertyPageBase {
public:
    explicit kdDInstallCoreComponentsSoftware(const std::string& title);

    bool isPageSkipped() override { return false; }
    bool isHiddenInExtensionsOnlyMode() override { return true; }
    int updateButtons() override;
    int setupControls() override;
    int initInstallationElements() override;

    int updateCoreNavigation();

    // Row handlers.
    int installControlOf(int element) const override;
    int removeControlOf(int element) const override;

    void onInstallRuntime();
    void onInstallVisionSoftware();
    void onUninstall(int element);
    void onDownloadSdkInstaller();
    void onDownloadInstallables();

    // Looks for data of an older installed version and offers its import
    // (modally) before the wizard moves on.
    std::function<void(HWND owner)> importOlderVersionData;
    // Opens a folder in the shell; the shell's result.
    std::function<INT_PTR(const std::string& folder)> openFolder;

    std::string rowNames[3], rowStatus[3], rowProgress[3];
    std::string statusText; // the hint line
    std::string sdkDescription;
    hnImageButton installButtons[2];
    hnImageButton uninstallButtons[2];
    hnImageButton sdkDownloadButton;
    hnImageButton downloadButton;

protected:
    bool onSetActive() override;
    LRESULT onWizardNext() override;
    bool onCommand(WORD id, WORD code, HWND control) override;
};
