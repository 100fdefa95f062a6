#pragma once
// Home page of the wizard and control centre of the installer itself: the
// installer versions kept in "_OrvantoInstallers" with the switch to one of
// them, the links to a newer release or beta, the quick update of the core
// components, and the installer copy (every chosen installable and content
// gathered into "_OrvantoInstallData" for a machine without Internet access).
#include <functional>
#include <memory>
#include <string>

#include "catalogue/Hyperlink.h"
#include "catalogue/TabDialogs.h"
#include "controls/ImageButton.h"
#include "pages/SelectInstallerComponentsDlg.h"
#include "wizard/PropertyPageBase.h"

class kdDInstallWelcomeBase : public kdDPropertyPageBase {
public:
    explicit kdDInstallWelcomeBase(const std::string& title);
    ~kdDInstallWelcomeBase() override;

    bool isPageSkipped() override { return false; }
    bool isHiddenInExtensionsOnlyMode() override { return false; }
    int updateButtons() override { return 1; }
    int setupControls() override;
    // The copy elements are gathered on the first copy or delete request.
    int initInstallationElements() override { return 1; }
    std::vector<UINT> picturesShownAtOnce() const override;

    // Moves other installers of the family from the application folder into
    // "_OrvantoInstallers" (after a please-wait when there is one).
    void moveOtherInstallersAside();
    // The running installer's version (from its own version resource) and,
    // with `withKept`, those kept in "_OrvantoInstallers"; the running one
    // selected.
    void fillInstallerVersionList(bool withKept = true);
    void switchToSelectedInstaller();
    void onExtensionsOnlyChanged();
    void updateQuickUpdateButton();
    void quickUpdateCoreComponents();
    // Copies every element of the wizard into copyManager once; 1.
    int gatherCopyElements();
    int createInstallerCopy();
    int deleteInstallerCopy();
    void browseInstallers();
    // The offer of the release (0) or beta (1) channel: message 0x406.
    void offerChannelUpgrade(LPARAM channel);
    // How often the activation's work has run (an activation asked for while
    // the page is busy runs once afterwards, not nested).
    int activationRuns() const { return activationRuns_; }

    std::string currentVersionEntry = "Currently used version";
    std::string statusText; // the hint line
    std::string welcomeTitle;
    std::string introduction;
    std::string hiddenText;
    int extensionsOnlyCheck = 0;
    std::string quickUpdateNames[2], quickUpdateStatus[2], quickUpdateProgress[2];
    std::unique_ptr<hnInstallManagerBase> quickUpdateManager;
    // The wizard's elements for a copy. Kept apart from the page's own
    // manager so that an activation does not re-detect every component.
    std::unique_ptr<hnInstallManagerBase> copyManager;
    hnInstallerComponentTree componentTree;

    DDynamicButton releaseInfoButton, betaInfoButton;
    DDynamicHyperlinkNewVersionAvailable releaseLink, betaLink;
    hnImageButton quickUpdateButton, copyButton, deleteButton, browseButton;

    // How long the please-wait before moving installers aside stays up.
    DWORD moveAsideWaitMs = 5000;
    // Starts an installer and closes the wizard when it started (the sheet's
    // launchInstallerFile unless replaced); above 0 on success.
    std::function<int(const std::string& path)> launchInstaller;
    // Asks for the copy's components (dialog 173 unless replaced); IDOK or not.
    std::function<INT_PTR(hnInstallerComponentTree&)> selectComponents;

protected:
    bool onInitDialog() override;
    bool onSetActive() override;
    bool onCommand(WORD id, WORD code, HWND control) override;
    bool onMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

private:
    void createUpgradeLinks();
    void showUpgradeLink(bool beta);
    void reselectCurrentVersion();
    int downloadCopyContent(bool& skipAllErrors);
    void activatePage();
    // Runs `action` as the page's one busy action: nothing else of the page
    // starts meanwhile, and an activation asked for meanwhile runs after it.
    void runExclusively(const std::function<void()>& action);
    bool copyElementsGathered_ = false;
    bool busy_ = false;
    bool activationPending_ = false;
    int activationRuns_ = 0;
};

// The content items of an installer copy ("Demo Profiles", the toolbox
// content lists, "Resources", "Tutorials", ...), each built by its own page
// made for the purpose without a window, from the lists in the download
// cache. For every item `wanted` accepts, `visit` gets the item's group and
// elements while their page exists; it answers above 0 when done, 0 on
// failure. -1 when a visit failed (the tutorials' result is ignored), else 1.
using hnCopyContentVisit = std::function<int(const char* group, hnInstallManagerBase& elements)>;
int visitCopyContent(const std::function<bool(const char* group, const std::string& item)>& wanted,
                     const hnCopyContentVisit& visit);

// The installers of the family in `folder` ("OrvantoVisionSoftware"...
// "Installer"... ".exe" with a readable version), not the running one; for
// each its path, version and private build.
struct KeptInstaller {
    std::string path;
    std::string version;
    std::string privateBuild;
};
std::vector<KeptInstaller> findKeptInstallers(const std::string& folder);
