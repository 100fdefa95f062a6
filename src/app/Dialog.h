#pragma once
// Dialog base over the Win32 dialog manager. One static procedure stores
// `this` at WM_INITDIALOG and dispatches to virtual handlers; exceptions stop
// at the procedure boundary. Modal and modeless use the same class.
#include <string>
#include <utility>
#include <vector>
#include <windows.h>

class hnDialog {
public:
    explicit hnDialog(UINT templateId);
    virtual ~hnDialog();
    hnDialog(const hnDialog&) = delete;
    hnDialog& operator=(const hnDialog&) = delete;

    INT_PTR doModal(HWND parent);
    bool create(HWND parent); // modeless; the window is shown by the caller
    void destroy();
    void endDialog(INT_PTR result);

    HWND hwnd() const { return hwnd_; }
    UINT templateId() const { return templateId_; }
    HWND item(int id) const { return ::GetDlgItem(hwnd_, id); }

    // Text binding: page strings exchanged with static or edit controls.
    void bindText(int controlId, std::string* text);
    void transferToControls(); // then afterTransferToControls
    void transferFromControls();
    // The control bound to `text`; 0 when none is.
    int boundControl(const std::string* text) const;

    void centerOnOwner();
    // Shows the modeless dialog and paints it at once, for a wait on this
    // thread that follows; a dialog whose window is made on demand makes it.
    virtual void showForWait();

protected:
    virtual bool onInitDialog() { return true; }
    virtual bool onCommand(WORD id, WORD code, HWND control);
    virtual bool onNotify(int id, NMHDR* header, LRESULT& result);
    virtual void onTimer(UINT_PTR id) { (void)id; }
    virtual void onDestroy() {}
    // Any other message; true when handled, with `result` as its answer.
    virtual bool onMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);
    virtual void onOK() { endDialog(IDOK); }
    virtual void onCancel() { endDialog(IDCANCEL); }
    // After every transfer of the bound texts to their controls (what a page
    // shows beside the texts follows them).
    virtual void afterTransferToControls() {}

    // Attach to a window that the framework created for us (property pages).
    void attach(HWND hwnd) { hwnd_ = hwnd; }
    INT_PTR dispatch(UINT message, WPARAM wParam, LPARAM lParam);

    static INT_PTR CALLBACK dialogProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    // Binds the object to its window at WM_INITDIALOG.
    void adopt(HWND hwnd);
    // Runs one message through the object bound to the window (`self` when
    // given); exceptions stop here; the binding ends with the window.
    static INT_PTR route(hnDialog* self, HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

private:
    HWND hwnd_ = nullptr;
    UINT templateId_;
    bool modal_ = false;
    std::vector<std::pair<int, std::string*>> bindings_;
};

std::string hnWindowText(HWND hwnd);
// The text of a combo box's selected entry; false (and empty) when nothing
// is selected.
bool hnComboSelection(HWND combo, std::string& text);
// Selects the entry whose text is exactly `text`; none when there is none
// (a prefix search would take "Python 2.7.1" for "Python 2.7.13").
void hnComboSelectExact(HWND combo, const std::string& text);
