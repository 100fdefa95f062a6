#include "wizard/PropertyPageBase.h"

#include "app/AppBase.h"
#include "app/InstallerServices.h"
#include "artwork_ids.h"
#include "controls/ComponentInstallHeader.h"
#include "controls/ImageButton.h"
#include "controls/ImageStatic.h"
#include "install/ElementActions.h"
#include "install/FetchFirst.h"
#include "controls/ToolTip.h"
#include "download/StatusWords.h"
#include "wizard/InstallerSheet.h"
#include "wizard_ids.h"

namespace {
const int kHeaderHeight = 70;
const int kSidePanelWidth = 165;
} // namespace

kdDPropertyPageBase::kdDPropertyPageBase(UINT templateId, const std::string& title, const std::string& header)
    : hnPropertyPage(templateId, title), pageTitle(title), headerText(header),
      installManager(new hnInstallManagerBase()) {}

kdDPropertyPageBase::~kdDPropertyPageBase() {
    if (toolTip && ::IsWindow(toolTip))
        ::DestroyWindow(toolTip);
}

bool kdDPropertyPageBase::onInitDialog() {
    hnPropertyPage::onInitDialog();
    LOGFONTA logFont = {};
    HFONT dialogFont = reinterpret_cast<HFONT>(::SendMessageA(hwnd(), WM_GETFONT, 0, 0));
    if (dialogFont && ::GetObjectA(dialogFont, sizeof(logFont), &logFont))
        pageFont.reset(::CreateFontIndirectA(&logFont));

    RECT client;
    ::GetClientRect(hwnd(), &client);
    headerCtrl.reset(new hnComponentInstallHeader(headerText, "", IDB_PAGE_HEADER));
    headerCtrl->create(hwnd(), IDC_PAGE_HEADER, RECT{0, 0, client.right, kHeaderHeight});
    sidePanelCtrl.reset(new hnComponentInstallHeader("", "", IDB_SIDE_PANEL));
    sidePanelCtrl->create(hwnd(), IDC_SIDE_PANEL,
                          RECT{0, kHeaderHeight, kSidePanelWidth, kHeaderHeight + client.bottom});

    if (toolTip && ::IsWindow(toolTip))
        ::DestroyWindow(toolTip);
    toolTip = hnCreateToolTip(hwnd(), pageFont.get());
    setupControls();
    if (!elementsInitialised) {
        initInstallationElements();
        elementsInitialised = true;
    }
    return true;
}

void kdDPropertyPageBase::placeHeaders() {
    RECT client;
    ::GetClientRect(hwnd(), &client);
    auto place = [](hnComponentInstallHeader* control, int x, int y, int w, int h) {
        if (!control || !control->hwnd())
            return;
        RECT now;
        ::GetWindowRect(control->hwnd(), &now);
        ::MapWindowPoints(nullptr, ::GetParent(control->hwnd()), reinterpret_cast<POINT*>(&now), 2);
        if (now.left != x || now.top != y || now.right - now.left != w || now.bottom - now.top != h)
            ::SetWindowPos(control->hwnd(), nullptr, x, y, w, h, SWP_NOZORDER | SWP_NOACTIVATE);
    };
    place(headerCtrl.get(), 0, 0, client.right, kHeaderHeight);
    place(sidePanelCtrl.get(), 0, kHeaderHeight, kSidePanelWidth, client.bottom);
}

bool kdDPropertyPageBase::onMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    if (message == WM_PAINT || message == WM_SIZE)
        placeHeaders(); // and let the dialog paint as usual
    return hnPropertyPage::onMessage(message, wParam, lParam, result);
}

void kdDPropertyPageBase::onDestroy() {
    if (headerCtrl)
        headerCtrl->destroyWindow();
    if (sidePanelCtrl)
        sidePanelCtrl->destroyWindow();
    hnPropertyPage::onDestroy();
}

bool kdDPropertyPageBase::pressControl(int controlId) {
    HWND control = hwnd() ? item(controlId) : nullptr;
    if (!control)
        return false;
    ::SendMessageA(hwnd(), WM_COMMAND, MAKEWPARAM(controlId, BN_CLICKED), reinterpret_cast<LPARAM>(control));
    return true;
}

bool kdDPropertyPageBase::chooseComboText(int comboId, const std::string& text) {
    HWND combo = hwnd() ? item(comboId) : nullptr;
    if (!combo)
        return false;
    LRESULT index = ::SendMessageA(combo, CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1),
                                   reinterpret_cast<LPARAM>(text.c_str()));
    if (index == CB_ERR)
        return false;
    ::SendMessageA(combo, CB_SETCURSEL, static_cast<WPARAM>(index), 0);
    ::SendMessageA(hwnd(), WM_COMMAND, MAKEWPARAM(comboId, CBN_SELCHANGE), reinterpret_cast<LPARAM>(combo));
    return true;
}

bool kdDPropertyPageBase::preTranslateMessage(MSG* msg) {
    if (toolTip && msg->message >= WM_MOUSEFIRST && msg->message <= WM_MOUSELAST &&
        (msg->hwnd == hwnd() || ::IsChild(hwnd(), msg->hwnd)))
        ::SendMessageA(toolTip, TTM_RELAYEVENT, 0, reinterpret_cast<LPARAM>(msg));
    return hnPropertyPage::preTranslateMessage(msg);
}

void kdDPropertyPageBase::refreshPage() {
    if (installManager->count() > 0)
        installManager->refreshStatuses(0, static_cast<int>(installManager->count()) - 1);
    transferToControls();
    updateButtons();
}

bool kdDPropertyPageBase::onSetActive() {
    return activatePage(true);
}

bool kdDPropertyPageBase::activateDeferringRefresh() {
    return activatePage(false);
}

bool kdDPropertyPageBase::activatePage(bool refresh) {
    if (HWND sheetHwnd = sheetWindow())
        ::SetWindowTextA(sheetHwnd, pageTitle.c_str()); // the active page's title is the sheet's caption
    if (refresh) {
        refreshPage();
    } else {
        transferToControls();
        updateButtons();
    }
    if (!elementsInitialised) {
        initInstallationElements();
        elementsInitialised = true;
    }
    return hnPropertyPage::onSetActive();
}

bool kdDPropertyPageBase::activate() {
    hnInstallManagerBase::hnDetectOnce once(installManager.get());
    return onSetActive();
}

LRESULT kdDPropertyPageBase::onWizardBack() {
    auto* wizard = dynamic_cast<kdDKadrixSDKInstallerSheet*>(sheet());
    if (wizard && wizard->gotoPreviousPage() >= 0)
        return -1; // the sheet has moved; the framework must not move again
    return 0;
}

LRESULT kdDPropertyPageBase::onWizardNext() {
    auto* wizard = dynamic_cast<kdDKadrixSDKInstallerSheet*>(sheet());
    if (wizard && wizard->gotoNextPage() >= 0)
        return -1;
    return 0;
}

void kdDPropertyPageBase::onTimer(UINT_PTR id) {
    if (id != kRefreshTimerId)
        return hnPropertyPage::onTimer(id);
    ::KillTimer(hwnd(), kRefreshTimerId);
    transferToControls();
    updateButtons();
    ::SetTimer(hwnd(), kRefreshTimerId, kRefreshPeriodMs, nullptr);
}

template <typename Operation> int kdDPropertyPageBase::runGuarded(Operation operation) {
    if (hwnd())
        ::SetTimer(hwnd(), kRefreshTimerId, kRefreshPeriodMs, nullptr);
    int result = 0;
    try {
        result = operation();
    } catch (...) {
        hnAppBase::current()->prompter().messageBox(hwnd(), "Unexpected Error 101", nullptr, MB_OK);
        result = 0;
    }
    if (hwnd())
        ::KillTimer(hwnd(), kRefreshTimerId);
    refreshPage();
    return result;
}

int kdDPropertyPageBase::runInstallRange(int first, int last, bool repairWholeList) {
    return runGuarded(
        [&] { return installManager->installRange(first, last, repairWholeList, true, false); });
}

int kdDPropertyPageBase::runInstallRangeFetchedFirst(int first, int last) {
    std::string told;
    int result =
        runGuarded([&] { return installAllFetchedFirst(*installManager, first, last, true, false, told); });
    if (result == -2)
        hnAppBase::current()->prompter().messageBox(hwnd(), told.c_str(), nullptr, MB_OK | MB_ICONWARNING);
    return result;
}

int kdDPropertyPageBase::runInstallSelection(const int* indices, int count, bool refresh,
                                             bool repairWholeList) {
    return runGuarded(
        [&] { return installManager->installSelection(indices, count, refresh, repairWholeList); });
}

int kdDPropertyPageBase::runUninstallRange(int first, int last) {
    return runGuarded([&] { return installManager->uninstallRange(first, last, false); });
}

int kdDPropertyPageBase::runDownloadAll(bool* skipAllErrors) {
    return runGuarded([&] { return installManager->downloadAll(true, skipAllErrors); });
}

int kdDPropertyPageBase::runDownloadSelection(const int* indices, int count, bool* skipAllErrors) {
    return runGuarded(
        [&] { return installManager->downloadSelection(indices, count, false, skipAllErrors); });
}

int kdDPropertyPageBase::runDownloadElement(int index) {
    hnInstallationElement* element = installManager->item(static_cast<unsigned>(index));
    if (!element)
        return -1;
    return runGuarded([&] {
        bool userAborted = false;
        return installManager->actions().downloadElement(*element, userAborted, 1, 1);
    });
}

int kdDPropertyPageBase::runDownloadAllOf(bool* skipAllErrors, hnInstallManagerBase* manager) {
    if (!manager)
        return -1;
    int result = 0;
    try {
        result = manager->downloadAll(false, skipAllErrors);
    } catch (...) {
        hnAppBase::current()->prompter().messageBox(hwnd(), "Unexpected Error 101", nullptr, MB_OK);
        result = 0;
    }
    if (manager->count() > 0)
        manager->refreshStatuses(0, static_cast<int>(manager->count()) - 1);
    return result;
}

// ---------------------------------------------------------------- layout

void kdDPropertyPageBase::addToolTip(HWND control, const char* text) {
    hnAddToolTip(toolTip, hwnd(), control, text);
}

std::string hnFailureReason(const hnInstallationElement& element) {
    const std::string word = element.progressText ? *element.progressText : std::string();
    for (const char* failure : {kProgressFailed, kProgressDownloadError, kProgressUninstallError})
        if (word == failure)
            return element.progressReason();
    return std::string();
}

std::string hnRowReasons(const hnInstallationElement& element) {
    std::string reasons = element.statusReason();
    const std::string failure = hnFailureReason(element);
    if (!failure.empty())
        reasons += (reasons.empty() ? "" : "\r\n") + *element.progressText + ": " + failure;
    return hnTipSentence(reasons);
}

void kdDPropertyPageBase::showReasons(const hnInstallationElement& element) {
    if (int status = boundControl(element.statusText))
        hnSetToolTipText(toolTip, hwnd(), item(status), element.statusReason());
    if (int progress = boundControl(element.progressText))
        hnSetToolTipText(toolTip, hwnd(), item(progress), hnFailureReason(element));
}

void kdDPropertyPageBase::showStatusReason(HWND label, const hnInstallationElement* element) {
    hnSetToolTipText(toolTip, hwnd(), label, element ? element->statusReason() : std::string());
}

void kdDPropertyPageBase::afterTransferToControls() {
    if (!hwnd() || !toolTip)
        return;
    for (unsigned i = 0; i < installManager->count(); ++i)
        showReasons(*installManager->item(i));
}

bool kdDPropertyPageBase::setupImageButton(hnImageButton& button, int controlId, UINT imageId,
                                           const char* tooltip, int x) {
    if (!button.hwnd() && !button.subclassItem(hwnd(), controlId))
        return false;
    showResourcePicture(button, imageId);
    addToolTip(button.hwnd(), tooltip);
    if (x >= 0)
        moveControl(button.hwnd(), x, controlTop(button.hwnd()));
    return true;
}

void kdDPropertyPageBase::showResourcePicture(hnPictureControl& control, UINT imageId) {
    if (hnPictureCache* pictures = sheetPictures())
        control.setImage(pictures->resource(imageId));
    else
        control.setImageFromResource(imageId);
}

hnPictureCache* kdDPropertyPageBase::sheetPictures() {
    auto* wizard = dynamic_cast<kdDKadrixSDKInstallerSheet*>(sheet());
    return wizard ? &wizard->pictures : nullptr;
}

void kdDPropertyPageBase::moveControl(HWND control, int x, int y) {
    if (control)
        ::SetWindowPos(control, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

int kdDPropertyPageBase::controlTop(HWND control) const {
    RECT r = {};
    ::GetWindowRect(control, &r);
    ::MapWindowPoints(nullptr, hwnd(), reinterpret_cast<POINT*>(&r), 2);
    return r.top;
}

namespace {
void placeSized(HWND control, int x, int y, int w, int h) {
    if (control)
        ::SetWindowPos(control, nullptr, x, y, w, h, SWP_NOZORDER | SWP_NOACTIVATE);
}
} // namespace

void kdDPropertyPageBase::layoutComponentRow(hnImageButton& removeButton, hnImageButton& installButton,
                                             hnImageStatic* advice, const char* adviceText, HWND nameLabel,
                                             HWND statusLabel, HWND progressLabel) {
    int top = controlTop(removeButton.hwnd());
    showResourcePicture(installButton, IDP_INSTALL);
    addToolTip(installButton.hwnd(), "Install");
    showResourcePicture(removeButton, IDP_REMOVE);
    addToolTip(removeButton.hwnd(), "Remove");
    if (advice) {
        advice->setInfoImage();
        addToolTip(advice->hwnd(), adviceText);
        placeSized(advice->hwnd(), 200, top, 24, 24);
    }
    placeSized(installButton.hwnd(), 785, top, 24, 24);
    layoutRemoveRow(&removeButton, nameLabel, statusLabel, progressLabel, top);
}

void kdDPropertyPageBase::layoutRemoveRow(hnImageButton* removeButton, HWND nameLabel, HWND statusLabel,
                                          HWND progressLabel, int top) {
    if (removeButton)
        placeSized(removeButton->hwnd(), 811, top, 24, 24);
    placeSized(progressLabel, 727, top + 4, 56, 20);
    placeSized(statusLabel, 643, top + 4, 82, 20);
    placeSized(nameLabel, 226, top + 4, 415, 20);
}

void kdDPropertyPageBase::alignGroupWithRows(HWND group) {
    if (!group)
        return;
    const int left = 190; // left of the advice pictures (200) and the names (226)
    RECT r = {};
    ::GetWindowRect(group, &r);
    ::MapWindowPoints(nullptr, hwnd(), reinterpret_cast<POINT*>(&r), 2);
    placeSized(group, left, r.top, r.right - left, r.bottom - r.top);
}

void kdDPropertyPageBase::endStatusAreaBefore(int right) {
    HWND hint = item(IDC_STATUS_AREA);
    if (!hint)
        return;
    RECT r = {};
    ::GetWindowRect(hint, &r);
    ::MapWindowPoints(nullptr, hwnd(), reinterpret_cast<POINT*>(&r), 2);
    if (r.right > right && right > r.left)
        ::SetWindowPos(hint, nullptr, 0, 0, right - r.left, r.bottom - r.top,
                       SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void kdDPropertyPageBase::layoutDriverRow(hnImageButton& installButton, hnImageStatic* advice,
                                          HWND nameLabel) {
    int top = controlTop(installButton.hwnd());
    showResourcePicture(installButton, IDP_INSTALL);
    addToolTip(installButton.hwnd(), "Install");
    placeSized(installButton.hwnd(), 643, top, 24, 24);
    placeSized(nameLabel, 226, top + 4, 415, 20);
    if (advice) {
        advice->setInfoImage();
        addToolTip(advice->hwnd(),
                   "Please connect the camera and then start the driver installation. The driver "
                   "needs to be installed for every camera connected");
        placeSized(advice->hwnd(), 200, top, 24, 24);
    }
}

void kdDPropertyPageBase::addNetworkAdvice(hnImageStatic& advice) {
    int top = controlTop(advice.hwnd());
    advice.setInfoImage();
    addToolTip(advice.hwnd(),
               "Please close all applications which are accessing network (eg browsers, Skype etc), "
               "before installing Basler Pylon SDK. The installation may wait indefinitely otherwise.");
    placeSized(advice.hwnd(), 200, top, 24, 24);
}

// ---------------------------------------------------------------- activation helpers

void kdDPropertyPageBase::setWizardButtons(DWORD flags) {
    if (HWND sheetHwnd = sheetWindow())
        ::PostMessageA(sheetHwnd, PSM_SETWIZBUTTONS, 0, static_cast<LPARAM>(flags));
}

void kdDPropertyPageBase::setCancelText(const char* text) {
    if (HWND sheetHwnd = sheetWindow())
        ::SetDlgItemTextA(sheetHwnd, IDCANCEL, text);
}

void kdDPropertyPageBase::showDownloadButton(int controlId) {
    if (HWND button = item(controlId))
        ::ShowWindow(button, (installerServices() && installerServices()->applicationFolderWritable())
                                 ? SW_SHOW
                                 : SW_HIDE);
}
