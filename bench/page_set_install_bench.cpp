// The reference of the apply bench (bench/apply_set.sh): the round-trip set
// of the fleet test installed through the wizard's own pages, one row after
// another in one process, as a user's clicks install it:
//   page_set_install_bench        (ORVANTO_REPOSITORY_URL names the server)
// The program starts as the wizard does (start-up checks, private temp
// folder), the sheet is made as /apply makes it (hidden, no upgrade check)
// and the program's dialogs stay hidden as in /quiet, so that the two differ
// only in who presses the buttons. Every question is answered Yes. Prints
// "buttons_s <seconds>" from the start of the program to the last row, and
// exits 1 when a row did not come.
#include <cstdio>
#include <string>
#include <windows.h>

#include "BenchMachine.h"
#include "app/AppBase.h"
#include "main/InstallerApp.h"
#include "pages/InstallerPages.h"
#include "pages_ids.h"
#include "python/SelectionDefaults.h"
#include "wizard/InstallerSheet.h"
#include "wizard/PropertyPageBase.h"

namespace {

// Agrees to every question, as the unattended table does for the ones a set
// run meets; a box with no Yes gets its OK, an Abort/Retry/Ignore box Abort.
class YesPrompter : public hnPrompter {
public:
    INT_PTR respond(const hnPrompt& prompt) override {
        if (prompt.isQuestion())
            return IDYES;
        switch (prompt.type & MB_TYPEMASK) {
        case MB_YESNO:
        case MB_YESNOCANCEL:
            return IDYES;
        case MB_ABORTRETRYIGNORE:
            return IDABORT;
        default:
            return IDOK;
        }
    }
};

void handleMessages(DWORD ms) {
    for (DWORD start = ::GetTickCount(); ::GetTickCount() - start < ms;) {
        MSG msg;
        while (::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            ::TranslateMessage(&msg);
            ::DispatchMessageA(&msg);
        }
        ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 5, QS_ALLINPUT);
    }
}

// Chooses the Intel variant in the variant dialog once it is up.
void CALLBACK chooseIntelVariant(HWND, UINT, UINT_PTR timer, DWORD) {
    HWND dialog = ::FindWindowA("#32770", "Select Matrel Version");
    if (!dialog)
        return;
    ::KillTimer(nullptr, timer);
    ::SendMessageA(::GetDlgItem(dialog, IDC_MATREL_INTEL), BM_CLICK, 0, 0);
    ::SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
}

// One user action: a button pressed or a combo member chosen on a page.
struct Step {
    const char* page; // the page's UI dialog name
    int control;
    const char* member; // null: a button
    int statusControl;  // 0: no status to check afterwards
    const char* status; // what the status control shows once it came
};

// The fleet test's reference mix, in the wizard's order.
const Step kSteps[] = {
    {"Prerequisite Installation", IDC_PREREQ_INSTALL_ALL, nullptr, 0, nullptr},
    {"Prerequisite Installation", IDC_PREREQ_PYTHON_COMBO, "Python 2.7.13", 0, nullptr},
    {"Core Installation", IDC_CORE_VISION_INSTALL, nullptr, IDC_CORE_VISION_STATUS, "Installed"},
    {"3rd Party Camera Drivers - 1", IDC_CAM1_MVS_COMBO, "MVS 2.4.0", IDC_CAM1_MVS_STATUS,
     "Status: Installed"},
    {"Image Processing Options", IDC_MODULES_VARIANT_CHANGE, nullptr, 0, nullptr},
    {"Toolbox - Deepform Vision", IDC_TOOLBOX_COMBO, "Deepform Vision 1.0.0.550", IDC_TOOLBOX_STATUS,
     "Status: Installed"},
    {"Optional Utility Software I", IDC_UTIL1_OPCCLIENT_INSTALL, nullptr, IDC_UTIL1_OPCCLIENT_STATUS,
     "Installed"},
    {"Optional Utility Software I", IDC_UTIL1_MODE_COMBO, "Siemens DA Automation", 0, nullptr},
    {"Optional Utility Software I", IDC_UTIL1_PERFTEST_INSTALL, nullptr, IDC_UTIL1_PERFTEST_STATUS,
     "Installed"},
};

std::string textOf(HWND window) {
    char text[256] = {};
    ::GetWindowTextA(window, text, sizeof(text));
    return text;
}

} // namespace

int main() {
    double start = bench::now();
    COrvantoKadrixSDKInstallerApp app;
    YesPrompter prompter;
    hnPrompter* previous = app.setPrompter(&prompter);
    app.setWindowsHidden(true);
    // The wizard's own start: its start-up checks and the private temp folder.
    int failures = app.passStartupChecks(false) ? 0 : 1;
    app.cleanUpTempSubFolder();
    {
        kdDSheetHooks hooks = defaultSheetHooks();
        hooks.checkUpgradeChannel = [](CUpgradeInfo&, hnUpgradeCheckControl&) { return false; };
        kdDKadrixSDKInstallerSheet sheet(createInstallerPages(), hooks);
        sheet.setWizardMode();
        if (!sheet.create()) {
            std::fprintf(stderr, "page_set_install_bench: the wizard did not open\n");
            return 1;
        }
        handleMessages(30);
        for (const Step& step : kSteps) {
            // A user goes to the page once for all its clicks.
            kdDPropertyPageBase* shown = sheet.pageBase(sheet.activeIndex());
            if ((!shown || shown->uiDlgName != step.page) && !sheet.navigateTo(step.page)) {
                std::fprintf(stderr, "page_set_install_bench: no page %s\n", step.page);
                ++failures;
                continue;
            }
            handleMessages(30);
            kdDPropertyPageBase* page = sheet.pageBase(sheet.activeIndex());
            if (step.control == IDC_MODULES_VARIANT_CHANGE)
                ::SetTimer(nullptr, 0, 20, chooseIntelVariant);
            bool pressed = step.member ? page->chooseComboText(step.control, step.member)
                                       : page->pressControl(step.control);
            handleMessages(30);
            std::string status = step.statusControl ? textOf(page->item(step.statusControl)) : "";
            if (!pressed || (step.status && status != step.status)) {
                std::fprintf(stderr, "page_set_install_bench: %s: control %d: %s\n", step.page, step.control,
                             pressed ? status.c_str() : "not pressed");
                ++failures;
            }
        }
        // What every start of the wizard stores for the chosen interpreter.
        ifRequiredSetSelectionForPy27Extensions();
        sheet.destroy();
    }
    std::printf("buttons_s %.2f\n", bench::now() - start);
    app.setPrompter(previous);
    app.ExitInstance();
    return failures == 0 ? 0 : 1;
}
