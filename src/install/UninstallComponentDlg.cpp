#include "install/UninstallComponentDlg.h"

#include <commctrl.h>

#include "actions_ids.h"
#include "app/AppBase.h"
#include "app/InstallerServices.h"
#include "app/Text.h"
#include "download/InstallationElement.h"
#include "install/Uninstall.h"

namespace {
constexpr UINT_PTR kCreepTimer = 783;

// The framework's application name: the executable's base name.
std::string applicationName() {
    char path[MAX_PATH] = {};
    ::GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string name(path);
    std::size_t slash = name.find_last_of("\\/");
    if (slash != std::string::npos)
        name.erase(0, slash + 1);
    std::size_t dot = name.find_last_of('.');
    if (dot != std::string::npos)
        name.erase(dot);
    return name;
}
} // namespace

DUninstallComponent::DUninstallComponent(int elementNumber, int elementCount, hnInstallationElement* element,
                                         bool stopOnErrors, const hnActionTimings& timings)
    : hnDialog(IDD_UNINSTALL_COMPONENT), element_(element), elementNumber_(elementNumber),
      elementCount_(elementCount), stopOnErrors_(stopOnErrors), timings_(timings) {}

DUninstallComponent::~DUninstallComponent() {
    worker_.stop();
}

bool DUninstallComponent::onInitDialog() {
    title_ = hnFormatText("Uninstalling component %d of %d", elementNumber_, elementCount_);
    ::SetWindowTextA(hwnd(), hnFormatText("%s - Uninstall Components", kInstallerCaption).c_str());
    subtitle_ = element_ ? element_->name : std::string();
    header_ = hnComponentInstallHeader::createDialogBanner(hwnd(), title_, subtitle_);
    ::SendDlgItemMessageA(hwnd(), IDC_UNINSTALL_PROGRESS, PBM_SETRANGE32, 0, 1000);
    setProgress(0);
    centerOnOwner();
    window_ = hwnd();
    worker_.start([this] { work(); });
    return true;
}

void DUninstallComponent::work() {
    ::SendMessageA(window_, kWorkerMessage, kStarted, 0);
    if (worker_.stopRequested())
        return;
    hnActionTimings timings = timings_;
    timings.stop = &worker_.stopBlock(); // Abort ends the removal's waits
    bool removed = element_ && uninstallComponentByName(*element_, stopOnErrors_, timings);
    if (worker_.stopRequested())
        return;
    if (!removed) {
        hnAppBase::current()->prompter().messageBox(
            window_,
            "Unable to uninstall the product. Please click on the 'Abort' button to cancel the operation.",
            applicationName().c_str(), MB_OK);
        ::SendMessageA(window_, kWorkerMessage, kFailed, 0);
    } else {
        ::SendMessageA(window_, kWorkerMessage, kCompleted, 0);
    }
}

void DUninstallComponent::setProgress(int position) {
    ::SendDlgItemMessageA(hwnd(), IDC_UNINSTALL_PROGRESS, PBM_SETPOS, static_cast<WPARAM>(position), 0);
}

bool DUninstallComponent::onMessage(UINT message, WPARAM wParam, LPARAM, LRESULT&) {
    if (message == WM_PAINT && header_)
        header_->placeAsDialogBanner(); // painting itself stays with the dialog manager
    if (message != kWorkerMessage)
        return false;
    switch (wParam) {
    case kStarted:
        setProgress(0);
        ::SetTimer(hwnd(), kCreepTimer, 750, nullptr);
        break;
    case kCompleted:
        setProgress(1000);
        ::KillTimer(hwnd(), kCreepTimer);
        endDialog(IDOK);
        break;
    case kFailed:
        setProgress(0);
        ::KillTimer(hwnd(), kCreepTimer);
        break;
    default:
        return false;
    }
    return true;
}

void DUninstallComponent::onTimer(UINT_PTR id) {
    if (id != kCreepTimer)
        return;
    int position = static_cast<int>(::SendDlgItemMessageA(hwnd(), IDC_UNINSTALL_PROGRESS, PBM_GETPOS, 0, 0));
    setProgress(position + 1);
}

void DUninstallComponent::onCancel() {
    if (hnAppBase::current()->prompter().messageBox(
            hwnd(), "Do you want to abort uninstallation of the selected components?", "Confirmation",
            MB_YESNO | MB_ICONQUESTION) == IDYES)
        endDialog(IDCANCEL);
}

void DUninstallComponent::onDestroy() {
    ::KillTimer(hwnd(), kCreepTimer);
    // After Abort the removal's waits end now and no further program starts;
    // the caller detects afterwards with no worker left behind.
    worker_.stop();
}
