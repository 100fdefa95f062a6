#pragma once
// Property sheet and property page over the common controls' property sheet.
// The sheet is created modeless and runs its own modal loop, so that it can
// take over its window from the start and give pages a look at every message
// before it is dispatched. Pages are hnDialog objects whose sheet
// notifications arrive as virtual hooks; their answers leave through
// hnDialog's one DWLP_MSGRESULT write.
#include <string>
#include <vector>
#include <windows.h>

#include <commctrl.h>
#include <prsht.h>

#include "app/Dialog.h"

class hnPropertySheet;

class hnPropertyPage : public hnDialog {
public:
    hnPropertyPage(UINT templateId, const std::string& title);

    const std::string& title() const { return title_; }
    hnPropertySheet* sheet() const { return sheet_; }
    HWND sheetWindow() const;

    // A look at a message of the sheet's loop before it is dispatched;
    // true when consumed.
    virtual bool preTranslateMessage(MSG* msg) {
        (void)msg;
        return false;
    }

protected:
    // Sheet notifications. onSetActive: false refuses the activation.
    // onWizardBack/Next: 0 moves to the adjacent page, -1 stays, or the
    // dialog id of the page to go to. onWizardFinish/onQueryCancel: false
    // keeps the wizard open. onKillActive: false keeps the page active.
    virtual bool onSetActive() { return true; }
    // The whole handling of an activation; pages that share state across
    // their activation hooks wrap onSetActive here.
    virtual bool activate() { return onSetActive(); }
    virtual bool onKillActive() { return true; }
    virtual LRESULT onWizardBack() { return 0; }
    virtual LRESULT onWizardNext() { return 0; }
    virtual bool onWizardFinish() { return true; }
    virtual bool onQueryCancel() { return true; }
    virtual void onHelp();

    bool onNotify(int id, NMHDR* header, LRESULT& result) override;

private:
    friend class hnPropertySheet;
    HPROPSHEETPAGE createHandle();
    static INT_PTR CALLBACK pageProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

    std::string title_;
    hnPropertySheet* sheet_ = nullptr;
};

class hnPropertySheet {
public:
    explicit hnPropertySheet(const std::string& caption);
    virtual ~hnPropertySheet();
    hnPropertySheet(const hnPropertySheet&) = delete;
    hnPropertySheet& operator=(const hnPropertySheet&) = delete;

    void setWizardMode() { wizard_ = true; }
    bool wizardMode() const { return wizard_; }

    // The page list; the objects stay owned by the caller. Changes apply to
    // the window at once when it exists.
    void addPage(hnPropertyPage* page);
    bool removePage(int index);
    int pageCount() const { return static_cast<int>(pages_.size()); }
    hnPropertyPage* page(int index) const;
    int pageIndex(const hnPropertyPage* page) const;

    int activeIndex() const;
    hnPropertyPage* activePage() const;
    bool setActivePage(int index);
    bool setActivePage(hnPropertyPage* page) { return setActivePage(pageIndex(page)); }

    // Creates the window without running a loop; the window initialisation
    // hook has run when this returns true.
    bool create();
    // Creates the window, runs it until it is closed and destroys it. Once
    // the window has painted itself the steps of stepAfterFirstPaint run,
    // one at a time; between them the window paints and answers messages
    // sent and posted to it, while the user's input waits until the last
    // step is done.
    INT_PTR runModal();
    void destroy();
    HWND hwnd() const { return hwnd_; }
    bool isOpen() const;

    // Called by a page when the sheet's Help button or F1 asks for help.
    virtual void onHelp() {}

protected:
    // Window initialisation hook, called once the window and its first page exist.
    virtual bool onInitSheet() { return true; }
    virtual bool onCommand(WORD id, WORD code, HWND control);
    // Any other message of the sheet window; true when handled with `result`.
    virtual bool onMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);
    virtual void onSheetDestroy() {}
    // One step of the work that waits for the first paint; false when none
    // is left.
    virtual bool stepAfterFirstPaint() { return false; }
    LRESULT defaultProc(UINT message, WPARAM wParam, LPARAM lParam);

private:
    static LRESULT CALLBACK sheetProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR id,
                                      DWORD_PTR self);

    std::string caption_;
    bool wizard_ = false;
    std::vector<hnPropertyPage*> pages_;
    HWND hwnd_ = nullptr;
};
