#include "pages/ReleaseNotesPage.h"

#include "app/DebugOut.h"
#include "app/InstallerServices.h"
#include "app/Text.h"
#include "artwork_ids.h"
#include "catalogue/Documents.h"
#include "catalogue_ids.h"
#include "install/InstallManager.h"
#include "pages_ids.h"

namespace {
const char* const kReadmeFile = "774readme.rtf";
const char* const kReadmeServerFolder =
    "/orvanto/files/InstallerRepositories/Orvanto15.0/774/OrvantoVisionSoftware/";
const int kRefreshButtonX = 835;
const char* const kNoReadme = "Error: Unable to get the 'Readme Notes' from the server.\nPlease try again.";

bool folderWritable() {
    return installerServices() && installerServices()->applicationFolderWritable();
}
} // namespace

kdDInstallReleaseNotes::kdDInstallReleaseNotes(const std::string& title)
    : kdDPropertyPageBase(IDD_RELEASE_NOTES, title, "Readme Notes") {
    uiDlgName = "Readme Notes";
    statusText = "Please click on the 'Next' button to install the pre-requisites.";
    bindText(IDC_STATUS_AREA, &statusText);
    ensureRichEditLoaded();
    // The installer copy gathers the notes from a page that was never shown.
    initInstallationElements();
    elementsInitialised = true;
}

int kdDInstallReleaseNotes::initInstallationElements() {
    std::string base = installerServices() ? installerServices()->repositoryBaseUrl() : std::string();
    std::string url = base + kReadmeServerFolder + kReadmeFile;
    hnInstallationElement element("Readme Notes", url.c_str(), kReadmeFile, "",
                                  cacheFolder(cache::kReadme).c_str(), false, 0x100000, true, &nameText,
                                  &readmeStatusText, &progressText, "Readme Notes");
    hnInstallationElement* elements[] = {&element};
    installManager->clearElements();
    installManager->setElements(1, elements);
    return 1;
}

int kdDInstallReleaseNotes::setupControls() {
    // The smaller picture: the larger one does not fit between the header and
    // the notes.
    setupImageButton(refreshButton, IDC_README_REFRESH, IDP_REFRESH_SMALL, "Refresh Readme File",
                     kRefreshButtonX);
    return 1;
}

bool kdDInstallReleaseNotes::loadReadme(bool refresh, bool showMessages) {
    hnInstallationElement* element = installManager->item(0);
    if (!element || !hwnd())
        return false;
    if (fetchingReadme())
        freshReadme_.drop(); // this download answers for it
    return loadRichTextDocument(*element, item(IDC_README_TEXT), refresh, showMessages,
                                "Using default copy of the Readme file.", kNoReadme, hwnd());
}

bool kdDInstallReleaseNotes::onInitDialog() {
    kdDPropertyPageBase::onInitDialog();
    // The notes are fetched afresh at the first activation, on a worker;
    // until they answer the cached copy shows.
    freshReadme_.setDue(folderWritable());
    hnInstallationElement* element = installManager->item(0);
    if (!freshReadme_.due())
        loadReadme(false, false);
    else if (element)
        showRichTextDocument(*element, item(IDC_README_TEXT), nullptr);
    return true;
}

bool kdDInstallReleaseNotes::onSetActive() {
    setWizardButtons(PSWIZB_BACK | PSWIZB_NEXT);
    setCancelText("Cancel");
    ::ShowWindow(refreshButton.hwnd(), folderWritable() ? SW_SHOW : SW_HIDE);
    statusText = "Please click on the 'Next' button to install the pre-requisites.";
    hnInstallationElement* element = installManager->item(0);
    if (freshReadme_.due() && element && !fetchingReadme() && !freshReadme_.start(hwnd(), *element))
        loadReadme(true, false); // without a worker the page waits, as it always did
    return kdDPropertyPageBase::onSetActive();
}

bool kdDInstallReleaseNotes::onMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    if (message != hnFreshList::kAnsweredMessage)
        return kdDPropertyPageBase::onMessage(message, wParam, lParam, result);
    result = 0;
    hnInstallationElement* element = installManager->item(0);
    if (freshReadme_.take(wParam) && element) {
        freshReadme_.adopt(); // a failed download leaves the cached copy
        showRichTextDocument(*element, item(IDC_README_TEXT), kNoReadme);
    }
    return true;
}

bool kdDInstallReleaseNotes::onKillActive() {
    freshReadme_.stop(); // notes still on their way are fetched at the next activation
    return kdDPropertyPageBase::onKillActive();
}

bool kdDInstallReleaseNotes::onQueryCancel() {
    freshReadme_.stop();
    return kdDPropertyPageBase::onQueryCancel();
}

void kdDInstallReleaseNotes::onDestroy() {
    freshReadme_.stop();
    kdDPropertyPageBase::onDestroy();
}

bool kdDInstallReleaseNotes::onCommand(WORD id, WORD code, HWND control) {
    if (id == IDC_README_REFRESH && code == BN_CLICKED) {
        if (fetchingReadme())
            hnDebugOut("kdDInstallReleaseNotes::onCommand - the fresh notes are still on their way\n");
        else
            loadReadme(true, true);
        return true;
    }
    return kdDPropertyPageBase::onCommand(id, code, control);
}
