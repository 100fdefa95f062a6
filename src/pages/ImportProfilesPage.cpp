#include "pages/ImportProfilesPage.h"

#include <map>

#include "app/AppBase.h"
#include "app/InstallerServices.h"
#include "app/SystemView.h"
#include "app/Text.h"
#include "artwork_ids.h"
#include "controls/CheckTree.h"
#include "pages/DataImportDlg.h"
#include "pages_ids.h"

namespace {

void runModal(DCopyMoveOrvantoProfiles& dialog, HWND owner) {
    dialog.doModal(owner);
}

} // namespace

kdDInstallImportProfiles::kdDInstallImportProfiles(const std::string& title, const std::string& dataRoot)
    : kdDPropertyPageBase(IDD_IMPORT_PROFILES, title, "Import Orvanto Profiles"), userDataRoot(dataRoot),
      runDialog(runModal) {
    INITCOMMONCONTROLSEX controls = {sizeof(controls), ICC_TREEVIEW_CLASSES | ICC_PROGRESS_CLASS};
    ::InitCommonControlsEx(&controls);
    if (userDataRoot.empty())
        hnDocumentsFolder(userDataRoot);
    uiDlgName = "Import Orvanto Profiles";
    statusText = "Please click on the 'Next' button to browse and download the demonstration profiles.\nOr "
                 "click on the 'Finish' button to complete the installation.";
    bindText(IDC_STATUS_AREA, &statusText);
    buildLists();
}

int kdDInstallImportProfiles::setupControls() {
    setupImageButton(copyButton, IDC_IMPORT_PROFILES_COPY, IDP_DOWNLOAD_ARROW,
                     "Copy Selected Orvanto Profiles");
    setupImageButton(moveButton, IDC_IMPORT_PROFILES_MOVE, IDP_INSTALL_ALL, "Move Selected Orvanto Profiles");
    setupImageButton(refreshButton, IDC_IMPORT_PROFILES_REFRESH, IDP_REFRESH, "Refresh Orvanto Profiles List",
                     kDownloadButtonX);
    endStatusAreaBefore(kDownloadButtonX - 8);
    refreshProfileList(false);
    return 1;
}

bool kdDInstallImportProfiles::onSetActive() {
    // The folders change behind the page (the data import on the core page,
    // the user): a profile this version has by now must not be offered.
    refreshProfileList(true);
    setWizardButtons(PSWIZB_BACK | PSWIZB_NEXT);
    setCancelText("Finish");
    return kdDPropertyPageBase::onSetActive();
}

void kdDInstallImportProfiles::buildLists() {
    lists.clear();
    int major = 15, minor = 0;
    parseDataFolderVersion(kCurrentDataFolderName, major, minor);
    std::vector<std::string> current = presentProfileNames(userDataRoot, kCurrentDataFolderName);
    for (const std::string& folder : listOlderVersionFolders(userDataRoot, major, minor)) {
        if (lists.size() >= kMaxVersions)
            break;
        versionProfiles version = readVersionProfiles(userDataRoot, folder, &current);
        if (!version.items.empty())
            lists.push_back(version);
    }
}

int kdDInstallImportProfiles::refreshProfileList(bool force) {
    if (force || lists.empty())
        buildLists();
    if (!hwnd())
        return 1;
    ::ShowWindow(copyButton.hwnd() ? copyButton.hwnd() : item(IDC_IMPORT_PROFILES_COPY),
                 lists.empty() ? SW_HIDE : SW_SHOW);
    ::ShowWindow(moveButton.hwnd() ? moveButton.hwnd() : item(IDC_IMPORT_PROFILES_MOVE),
                 lists.empty() ? SW_HIDE : SW_SHOW);
    fillTree();
    return 1;
}

void kdDInstallImportProfiles::fillTree() {
    HWND view = tree();
    TreeView_DeleteAllItems(view);
    root_ = hnCheckTreeAdd(view, TVI_ROOT, "All");
    if (lists.empty()) {
        hnCheckTreeAdd(view, root_, "No Orvanto Profiles are available for copy / move");
        TreeView_Expand(view, root_, TVE_EXPAND);
        return;
    }
    for (versionProfiles& version : lists) {
        HTREEITEM parent = hnCheckTreeAdd(view, root_, version.folderName);
        for (hnProfileItem& profile : version.items)
            profile.treeItem = hnCheckTreeAdd(view, parent, profile.name);
        TreeView_Expand(view, parent, TVE_EXPAND);
    }
    TreeView_Expand(view, root_, TVE_EXPAND);
    for (versionProfiles& version : lists)
        for (hnProfileItem& profile : version.items)
            hnCheckTreeSetChecked(view, profile.treeItem, profile.selected);
    hnCheckTreeSettleParents(view, root_);
}

void kdDInstallImportProfiles::propagateChecks(HTREEITEM entry) {
    hnCheckTreePropagate(tree(), entry, root_);
}

bool kdDInstallImportProfiles::onNotify(int id, NMHDR* header, LRESULT& result) {
    if (id != IDC_TREE || !header)
        return kdDPropertyPageBase::onNotify(id, header, result);
    // The check mark changes after the notification; the propagation follows it.
    if (HTREEITEM entry = hnCheckTreeToggledEntry(tree(), header))
        ::PostMessageA(hwnd(), kPropagateChecks, 0, reinterpret_cast<LPARAM>(entry));
    result = 0;
    return true;
}

bool kdDInstallImportProfiles::onMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    if (message == kPropagateChecks) {
        propagateChecks(reinterpret_cast<HTREEITEM>(lParam));
        result = 0;
        return true;
    }
    return kdDPropertyPageBase::onMessage(message, wParam, lParam, result);
}

bool kdDInstallImportProfiles::onCommand(WORD id, WORD code, HWND control) {
    if (code == BN_CLICKED && (id == IDC_IMPORT_PROFILES_COPY || id == IDC_IMPORT_PROFILES_MOVE)) {
        copyOrMove(id == IDC_IMPORT_PROFILES_COPY);
        return true;
    }
    if (code == BN_CLICKED && id == IDC_IMPORT_PROFILES_REFRESH) {
        refreshProfileList(true);
        return true;
    }
    return kdDPropertyPageBase::onCommand(id, code, control);
}

void kdDInstallImportProfiles::copyOrMove(bool copy) {
    hnPrompter& prompter = hnAppBase::current()->prompter();
    if (!copy &&
        prompter.messageBox(
            hwnd(),
            "The selected Orvanto Profiles will be moved from the other Orvanto Vision Software version "
            "directory to current Orvanto Vision Software version directory.\nAfter this operation the "
            "profile "
            "will no longer be available for the other Orvanto Vision Software version.\n\nDo you want to "
            "proceed?\nPlease click on the 'Yes' button to proceed.\nPlease click on the 'No' button to "
            "abort.\n",
            "Confirmation - Move Orvanto Profile", MB_YESNO | MB_ICONQUESTION) != IDYES)
        return;
    // A name chosen under two or more versions (any letter case) would be
    // copied twice into the one target folder.
    std::map<std::string, int> chosen;
    for (versionProfiles& version : lists)
        for (hnProfileItem& profile : version.items) {
            profile.selected = profile.treeItem && hnCheckTreeIsChecked(tree(), profile.treeItem);
            if (profile.selected)
                ++chosen[hnLowerCase(profile.name)];
        }
    bool duplicates = false;
    for (const auto& entry : chosen)
        duplicates = duplicates || entry.second > 1;
    if (duplicates) {
        if (prompter.messageBox(
                hwnd(),
                "Error - The Orvanto Profiles selection includes one or more duplicates.\nOrvanto Profile "
                "with "
                "same name is selected across 2 or more Orvanto Versions.\n\nDo you want to exclude these "
                "Orvanto Profiles from selection and proceed?\n\nPlease click on 'Yes' button to exclude "
                "duplicate selection and to proceed.\nPlease click on 'No' button to abort.\n",
                "Duplicate Selection", MB_YESNO | MB_ICONQUESTION) != IDYES)
            return;
        for (versionProfiles& version : lists)
            for (hnProfileItem& profile : version.items)
                if (profile.selected && chosen[hnLowerCase(profile.name)] > 1)
                    profile.selected = false;
    }
    int count = 0;
    for (const versionProfiles& version : lists)
        for (const hnProfileItem& profile : version.items)
            count += profile.selected ? 1 : 0;
    if (count == 0) {
        prompter.messageBox(
            hwnd(), "At least one Orvanto Profile should be selected.\nUnable to start the processing.\n",
            "Error", MB_OK | MB_ICONERROR);
        return;
    }
    {
        DCopyMoveOrvantoProfiles dialog(lists, copy, count, userDataRoot);
        if (runDialog)
            runDialog(dialog, hwnd());
    }
    refreshProfileList(true);
}
