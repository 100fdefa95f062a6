#pragma once
// Base of every wizard page: banner header and side panel, tooltips, one
// install manager per page whose elements are built once and re-detected at
// every activation, guarded wrappers for the manager's operations, the row
// layout of the component pages and the pass-over hooks of Back and Next.
#include <memory>
#include <string>
#include <vector>

#include "app/ScopedHandle.h"
#include "install/InstallManager.h"
#include "wizard/PropertySheet.h"

class hnComponentInstallHeader;
class hnImageButton;
class hnImageStatic;

// A choice a page offers besides its rows (a version selector, a mode, a
// variant): its name in a component set, the member detected now ("None"
// without one) and the members offered.
struct hnPageChoice {
    std::string key;
    std::string current;
    std::vector<std::string> members;
};
// Something a page offers besides its rows and choices: a demo profile,
// template or tutorial, or a Python package. Its name in a component set,
// what is installed now (a version or status word; empty when nothing is)
// and the version the server or page offers now (empty: none to compare).
struct hnPageItem {
    enum Kind { Content, Package };
    Kind kind = Content;
    std::string key;
    std::string installed;
    std::string offered;
    std::string package; // pip's name of a package, when the page knows it
};
// The reason of the failed operation while a row's progress word names one
// ("Failed", "Download Error", "Uninstall Error"); empty otherwise.
std::string hnFailureReason(const hnInstallationElement& element);
// Both reasons of a row in one text (the status reason, then the failure's),
// for a list that shows the status word in a cell.
std::string hnRowReasons(const hnInstallationElement& element);

class hnPictureControl;
class hnPictureCache;

class kdDPropertyPageBase : public hnPropertyPage {
public:
    kdDPropertyPageBase(UINT templateId, const std::string& title, const std::string& headerText);
    ~kdDPropertyPageBase() override;

    // True makes Back/Next pass over the page.
    virtual bool isPageSkipped() = 0;
    // True makes Back/Next pass over the page in 'Extensions Only' mode.
    virtual bool isHiddenInExtensionsOnlyMode() = 0;
    // Enables the row buttons from the status strings.
    virtual int updateButtons() = 0;
    // Images, tooltips and row positions; once, from dialog initialisation.
    virtual int setupControls() = 0;
    // Builds the elements and hands them to installManager; once per object.
    virtual int initInstallationElements() = 0;
    // The resource pictures the page's window shows as soon as it exists: the
    // sheet has those of its first page decoded while it creates its window.
    virtual std::vector<UINT> picturesShownAtOnce() const { return {}; }

    // What the unattended mode presses: the page's own controls, so that a
    // set is applied by the handlers a user's clicks run. The button whose
    // click installs (removes) element `element` of installManager; 0 when
    // no button of the page does.
    virtual int installControlOf(int element) const {
        (void)element;
        return 0;
    }
    virtual int removeControlOf(int element) const {
        (void)element;
        return 0;
    }
    // The page's choices as detected now; works without a window.
    virtual std::vector<hnPageChoice> choices() { return {}; }
    // Makes `member` the choice `key` through the control a user would use;
    // false when the page has no such choice or member, or no window.
    virtual bool choose(const std::string& key, const std::string& member) {
        (void)key;
        (void)member;
        return false;
    }
    // The page's content or packages as detected now; works without a
    // window (a list the page has not cached yet is fetched).
    virtual std::vector<hnPageItem> items() { return {}; }
    // Installs (removes) an item through the control a user would click;
    // false when the page has no such item, no control for it or no window.
    virtual bool installItem(const std::string& key) {
        (void)key;
        return false;
    }
    virtual bool removeItem(const std::string& key) {
        (void)key;
        return false;
    }
    // Presses a control of the page's window as a click does (the handler
    // has run when this returns); false without a window or control.
    bool pressControl(int controlId);
    // Selects the exact text in a combo of the page and tells the page as a
    // user's choice does; false when the combo lacks the text.
    bool chooseComboText(int comboId, const std::string& text);

    // Operation wrappers: the manager's result, 0 when an exception was caught.
    int runInstallRange(int first, int last, bool repairWholeList);
    // runInstallRange with the whole list repaired, fetch first: when an
    // installable cannot be downloaded nothing changes, the user is told what
    // is installed now, and the answer is -2.
    int runInstallRangeFetchedFirst(int first, int last);
    int runInstallSelection(const int* indices, int count, bool refresh, bool repairWholeList);
    int runUninstallRange(int first, int last);
    int runDownloadAll(bool* skipAllErrors);
    int runDownloadSelection(const int* indices, int count, bool* skipAllErrors);
    // Fetches one element into its cache folder without asking on failure;
    // the download's result (above 0: the installable is there).
    int runDownloadElement(int index);
    // Downloads everything of another manager; -1 without one. No timer, no
    // page refresh.
    int runDownloadAllOf(bool* skipAllErrors, hnInstallManagerBase* manager);

    // Row layout of the component pages (client pixels; the row top is where
    // the remove, or install, button stands already).
    void layoutComponentRow(hnImageButton& removeButton, hnImageButton& installButton, hnImageStatic* advice,
                            const char* adviceText, HWND nameLabel, HWND statusLabel, HWND progressLabel);
    // A row without an install button: the labels at the columns of the
    // component rows, the remove button (when given) in the remove column.
    void layoutRemoveRow(hnImageButton* removeButton, HWND nameLabel, HWND statusLabel, HWND progressLabel,
                         int top);
    // Moves the left edge of the group box around the rows so that it
    // encloses them (the rows stand at fixed pixel columns, the template in
    // dialog units); its other edges stay.
    void alignGroupWithRows(HWND group);
    // Ends the hint line (IDC_STATUS_AREA) left of `right` (client pixels):
    // a hint line that reached under the page buttons would paint over them
    // whenever its text is set.
    void endStatusAreaBefore(int right);
    void layoutDriverRow(hnImageButton& installButton, hnImageStatic* advice, HWND nameLabel);
    void addNetworkAdvice(hnImageStatic& advice);

    void addToolTip(HWND control, const char* text);
    // Why the rows show their words: the status reason is the tooltip of the
    // label bound to an element's status string, a failed operation's reason
    // that of the label bound to its progress string. Runs after every
    // transfer for the page's own manager; pages call it for another one.
    void showReasons(const hnInstallationElement& element);
    // The status reason of `element` on a label that shows its word without
    // being bound to its string (null: no tooltip).
    void showStatusReason(HWND label, const hnInstallationElement* element);
    // Takes over a template's button as a picture button with its image and
    // tooltip; x >= 0 moves it there (client pixels) at its own top.
    // Shows the resource picture `imageId` on `control`: decoded once for
    // every page of the wizard sheet, or here for a page of another sheet.
    void showResourcePicture(hnPictureControl& control, UINT imageId);
    // The wizard sheet's picture cache; null on a page of another sheet.
    hnPictureCache* sheetPictures();
    bool setupImageButton(hnImageButton& button, int controlId, UINT imageId, const char* tooltip,
                          int x = -1);
    static constexpr int kDownloadButtonX = 835;
    // Sets a control's position keeping its size, z-order and activation.
    static void moveControl(HWND control, int x, int y);
    // The top of a control in the page's client coordinates.
    int controlTop(HWND control) const;

    bool preTranslateMessage(MSG* msg) override;

    std::string uiDlgName;
    std::unique_ptr<hnComponentInstallHeader> headerCtrl;
    std::unique_ptr<hnComponentInstallHeader> sidePanelCtrl;
    std::string pageTitle;
    std::string headerText;
    HWND toolTip = nullptr;
    hnScopedGdi<HFONT> pageFont;
    bool elementsInitialised = false;
    std::unique_ptr<hnInstallManagerBase> installManager;

    static constexpr UINT_PTR kRefreshTimerId = 983;
    static constexpr UINT kRefreshPeriodMs = 2000;

protected:
    bool onInitDialog() override;
    bool onSetActive() override;
    // Detects the rows once for the whole activation (see hnDetectOnce).
    bool activate() override;
    LRESULT onWizardBack() override;
    LRESULT onWizardNext() override;
    void onTimer(UINT_PTR id) override;
    void onDestroy() override;
    void afterTransferToControls() override;
    bool onMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

    // Helpers of the activation convention of the pages.
    void setWizardButtons(DWORD flags);   // posted to the sheet
    void setCancelText(const char* text); // "Cancel" or "Finish"
    // Shows the page's "Download Installables" button only while the
    // application folder is writable.
    void showDownloadButton(int controlId);
    // The activation of onSetActive without its status refresh, for pages
    // whose rows wait for an answer that comes later; refreshPage then
    // detects and shows them.
    bool activateDeferringRefresh();
    void refreshPage();

private:
    template <typename Operation> int runGuarded(Operation operation);
    bool activatePage(bool refresh);
    void placeHeaders();
};
