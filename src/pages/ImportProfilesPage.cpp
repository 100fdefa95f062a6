#include "pages/ImportProfilesPage.h"

#include <map>

#include "app/AppBase.h"
#include "app/InstallerServices.h"
#include "app/SystemView.h"
#include "app/Text.h"
#include "artwork_ids.h"
#include "pages/DataImportDlg.h"
#include "pages_ids.h"

namespace {

HTREEITEM addEntry(HWND tree, HTREEITEM parent, const std::string& text) {
    TVINSERTSTRUCTA insert = {};
    insert.hParent = parent;
    insert.hInsertAfter = TVI_LAST;
    insert.item.mask = TVIF_TEXT;
    insert.item.pszText = const_cast<char*>(text.c_str());
    return reinterpret_cast<HTREEITEM>(
        ::SendMessageA(tree, TVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&insert)));
}

bool isChecked(HWND tree, HTREEITEM entry) {
    return TreeView_GetCheckState(tree, entry) == 1;
}

void setChecked(HWND tree, HTREEITEM entry, bool checked) {
    TreeView_SetCheckState(tree, entry, checked ? TRUE : FALSE);
}

void checkDescendants(HWND tree, HTREEITEM entry, bool checked) {
    for (HTREEITEM child = TreeView_GetChild(tree, entry); child;
         child = TreeView_GetNextSibling(tree, child)) {
        setChecked(tree, child, checked);
        checkDescendants(tree, child, checked);
    }
}

// A parent is checked exactly when all its children are; true when `entry`
// ends up checked.
bool settleParents(HWND tree, HTREEITEM entry) {
    HTREEITEM child = TreeView_GetChild(tree, entry);
    if (!child)
        return isChecked(tree, entry);
    bool all = true;
    for (; child; child = TreeView_GetNextSibling(tree, child))
        all = settleParents(tree, child) && all;
    setChecked(tree, entry, all);
    return all;
}

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
    versionProfiles current = readVersionProfiles(userDataRoot, kCurrentDataFolderName);
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
    root_ = addEntry(view, TVI_ROOT, "All");
    if (lists.empty()) {
        addEntry(view, root_, "No Orvanto Profiles are available for copy / move");
        TreeView_Expand(view, root_, TVE_EXPAND);
        return;
    }
    for (versionProfiles& version : lists) {
        HTREEITEM parent = addEntry(view, root_, version.folderName);
        for (hnProfileItem& profile : version.items)
            profile.treeItem = addEntry(view, parent, profile.name);
        TreeView_Expand(view, parent, TVE_EXPAND);
    }
    TreeView_Expand(view, root_, TVE_EXPAND);
    for (versionProfiles& version : lists)
        for (hnProfileItem& profile : version.items)
            setChecked(view, profile.treeItem, profile.selected);
    settleParents(view, root_);
}

void kdDInstallImportProfiles::propagateChecks(HTREEITEM entry) {
    HWND view = tree();
    if (!entry)
        return;
    checkDescendants(view, entry, isChecked(view, entry));
    if (root_)
        settleParents(view, root_);
}

bool kdDInstallImportProfiles::onNotify(int id, NMHDR* header, LRESULT& result) {
    if (id != IDC_TREE || !header)
        return kdDPropertyPageBase::onNotify(id, header, result);
    if (header->code == NM_CLICK) {
        // The check mark changes after the click; the propagation follows it.
        TVHITTESTINFO hit = {};
        DWORD position = ::GetMessagePos();
        hit.pt = {static_cast<short>(LOWORD(position)), static_cast<short>(HIWORD(position))};
        ::ScreenToClient(tree(), &hit.pt);
        HTREEITEM entry = TreeView_HitTest(tree(), &hit);
        if (entry && (hit.flags & TVHT_ONITEMSTATEICON))
            ::PostMessageA(hwnd(), kPropagateChecks, 0, reinterpret_cast<LPARAM>(entry));
    } else if (header->code == TVN_KEYDOWN && reinterpret_cast<NMTVKEYDOWN*>(header)->wVKey == VK_SPACE) {
        ::PostMessageA(hwnd(), kPropagateChecks, 0, reinterpret_cast<LPARAM>(TreeView_GetSelection(tree())));
    }
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
            profile.selected = profile.treeItem && isChecked(tree(), profile.treeItem);
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
