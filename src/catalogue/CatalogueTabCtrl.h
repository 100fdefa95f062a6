#pragma once
// The tab control of a catalogue page: one tab per group of the list, or one
// blank tab with the not-available dialog. It owns the page's two child
// dialogs and rebuilds the tab dialog whenever the selection changes.
#include <memory>
#include <string>
#include <vector>
#include <windows.h>

#include "app/Dialog.h"
#include "catalogue/TabDialogs.h"

// Fills an emptied tab control with `names` (one blank tab when there are
// none), selects `selectName` (without regard to case; tab 0 when it is not
// there) and answers the area of the tab dialogs in `page` coordinates.
RECT fillCatalogueTabs(HWND tab, HWND page, const std::vector<std::string>& names,
                       const std::string& selectName);

// The dialogs shown instead of a tab dialog when a list names no tab: one
// class with a static text, one template each.
class hnNotAvailableDialog : public hnDialog {
public:
    explicit hnNotAvailableDialog(UINT templateId) : hnDialog(templateId) {}
};

struct DTabProfilesNotAvailable : hnNotAvailableDialog {
    DTabProfilesNotAvailable();
};
struct DTabTemplatesNotAvailable : hnNotAvailableDialog {
    DTabTemplatesNotAvailable();
};
struct DTabTutorialsNotAvailable : hnNotAvailableDialog {
    DTabTutorialsNotAvailable();
};
struct DTabResourcesNotAvailable : hnNotAvailableDialog {
    DTabResourcesNotAvailable();
};
// The toolbox build's, for a build without templates and demo profiles.
struct DTabTemplatesAndDemoProfilesNotAvailable : hnNotAvailableDialog {
    DTabTemplatesAndDemoProfilesNotAvailable();
};

class hnCatalogueTabCtrl {
public:
    // `className` names the control in its debug lines; `tabDialog` shows
    // the tabs of the control's (first) list.
    hnCatalogueTabCtrl(const char* className, std::unique_ptr<hnCatalogueTabDialog> tabDialog,
                       std::unique_ptr<hnDialog> notAvailableDialog);
    virtual ~hnCatalogueTabCtrl();

    // Takes over the page's tab control.
    bool attach(HWND page, int controlId);
    HWND hwnd() const { return hwnd_; }

    // Replaces the tabs and selects `selectName` (without regard to case; tab
    // 0 when it is not there); an empty list shows the not-available tab. 1.
    int setTabs(const std::string& category, const std::vector<std::string>& names,
                const std::string& selectName, const std::string& listPath, const std::string& cacheFolder);
    // The same with one group of tabs per tab dialog, in the order the
    // dialogs were given: each group's tabs show rows of its own list.
    int setGroupedTabs(const std::string& category, const std::vector<std::vector<std::string>>& groups,
                       const std::vector<std::string>& listPaths, const std::string& selectName,
                       const std::string& cacheFolder);
    // Forgets the tabs and closes the dialogs (not while a row operation runs).
    void clearTabs();
    // The selected tab's text; empty without a selection or on the
    // not-available tab.
    std::string selectedTabName() const;
    // Selects the tab of that name (without regard to case) and shows its
    // rows, as a click on the tab does; false when there is no such tab or a
    // row operation runs.
    bool selectTab(const std::string& name);
    // Rebuilds the dialog of the selected tab. Refused (false, nothing
    // destroyed) while a row operation of a tab dialog runs.
    bool createTabContents();
    // Shows the selected tab's rows again from the list in the dialog that
    // is there; refused like createTabContents while a row operation runs.
    bool refreshTabContents();
    // The tab dialogs' rows take their pictures from `cache` (see
    // hnCatalogueTabDialog::sharedPictures).
    void sharePictures(hnPictureCache* cache);
    // Lets the open tab dialogs see the page's messages first.
    void preTranslateMessage(MSG* msg);

    // The dialog of the first group (the only one of a catalogue page).
    hnCatalogueTabDialog& tabDialog() const { return *groups_.front().dialog; }
    // The selected tab's name in lower case, as the tab dialog looks it up.
    std::string selectedTabKey() const;
    hnDialog& notAvailableDialog() const { return *notAvailable_; }
    // The templates of the dialog a tab shows (the first group's) and of the
    // not-available dialog.
    UINT tabDialogId() const { return tabDialog().templateId(); }
    UINT notAvailableDialogId() const { return notAvailable_->templateId(); }
    bool busy() const;

    std::vector<std::string> tabNames;
    std::string category;
    std::string cacheFolder;
    RECT displayRect = {};
    bool showingNotAvailable = true;

protected:
    // A further tab dialog, for the next group of tabs.
    void addTabDialog(std::unique_ptr<hnCatalogueTabDialog> tabDialog);
    // The list a group of tabs was set from (empty for a group not set).
    std::string groupListPath(std::size_t group) const;

private:
    struct Group {
        std::unique_ptr<hnCatalogueTabDialog> dialog;
        std::string listPath;
        std::size_t tabs = 0;
    };
    // The group of the selected tab (the first when none is selected).
    const Group& selectedGroup() const;
    int selectedIndex() const;
    void destroyDialogs();
    void placeChild(HWND child);
    std::string className_;
    HWND hwnd_ = nullptr;
    HWND page_ = nullptr;
    std::vector<Group> groups_;
    std::unique_ptr<hnDialog> notAvailable_;
};

class DProfilesTabCtrl : public hnCatalogueTabCtrl {
public:
    DProfilesTabCtrl();
};

class DTemplatesTabCtrl : public hnCatalogueTabCtrl {
public:
    DTemplatesTabCtrl();
};

class DTutorialsTabCtrl : public hnCatalogueTabCtrl {
public:
    DTutorialsTabCtrl();
};

class DResorcesTabCtrl : public hnCatalogueTabCtrl {
public:
    DResorcesTabCtrl();
};
