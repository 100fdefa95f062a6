// Cost of a page activation on a machine with about 50 installed Windows
// Installer products (bench/page_activation.sh prepares the machine as the
// detection bench does):
//   page_activation_bench PACKAGES_FOLDER PIP_EXE WORK_FOLDER
// opens the wizard with the shipped element actions and, for every page with
// component rows or a server catalogue (served beside the bench), times the
// sheet's navigation to the page until its rows are filled and the messages
// it posted are handled, starting each time from the welcome page. Questions
// are declined, so nothing is installed. Prints "name value" lines: the
// median of three activations per page and the worst page.
#include <cstdio>
#include <string>
#include <vector>
#include <windows.h>

#include <commctrl.h>

#include "app/InstallerApp.h"
#include "BenchMachine.h"
#include "install/InstallManager.h"
#include "pages/CataloguePage.h"
#include "pages/InstallerPages.h"
#include "python/PythonSelection.h"
#include "wizard/InstallerSheet.h"
#include "wizard/PropertyPageBase.h"

namespace {

// Answers every question with its negative choice, so that no activation
// waits for a user or changes the machine; counts what it was asked.
class DecliningPrompter : public hnPrompter {
public:
    int asked = 0;
    int messageBox(HWND, const char*, const char*, UINT type) override {
        ++asked;
        switch (type & MB_TYPEMASK) {
        case MB_YESNO:
        case MB_YESNOCANCEL:
            return IDNO;
        case MB_OKCANCEL:
        case MB_RETRYCANCEL:
            return IDCANCEL;
        default:
            return IDOK;
        }
    }
    INT_PTR question(int, HWND, const char*, const std::function<INT_PTR(HWND)>&) override {
        ++asked;
        return IDCANCEL;
    }
};

void handleMessages() {
    MSG msg;
    while (::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        ::TranslateMessage(&msg);
        ::DispatchMessageA(&msg);
    }
}

struct Measured {
    const char* key;
    const char* uiDlgName;
};
const Measured kPages[] = {{"welcome", "Installation Welcome"},
                           {"prerequisites", "Prerequisite Installation"},
                           {"core_components", "Core Installation"},
                           {"core_status", "CoreComponents"},
                           {"camera_drivers_1", "3rd Party Camera Drivers - 1"},
                           {"camera_drivers_2", "3rd Party Camera Drivers - 2"},
                           {"io_drivers", "3rd Party IO Drivers"},
                           {"utilities_1", "Optional Utility Software I"},
                           {"utilities_2", "Optional Utility Software II"},
                           {"halvenor_utilities", "Halvenor Utilities"},
                           {"demo_profiles", "Demonstration Profiles"},
                           {"templates", "OTC - Tool Components"},
                           {"summary", "Installation Complete"},
                           {"import_profiles", "Import Orvanto Profiles"},
                           {"image_processing_options", "Image Processing Options"},
                           {"modules", "Modules"},
                           {"toolbox_deepform_vision", "Toolbox - Deepform Vision"}};
// Measured after the switch to Python 3.6, which replaces the later pages.
const Measured kPy36Pages[] = {{"py36_demo_profiles", "Demonstration Profiles (Python 36)"},
                               {"py36_templates", "OTC - Tool Components (Python 36)"},
                               {"py36_toolbox_deepform_vision", "Toolbox - Deepform Vision (Python 36)"}};

// The active page is the one asked for and every row of it carries a status
// word (the Halvenor utilities page has a program to run instead of rows).
bool rowsFilled(const kdDKadrixSDKInstallerSheet& sheet, const char* uiDlgName, unsigned& rows) {
    kdDPropertyPageBase* page = sheet.pageBase(sheet.activeIndex());
    rows = 0;
    if (!page || page->uiDlgName != uiDlgName)
        return false;
    // A catalogue page is filled when the server's list shows as tabs with
    // the rows of the selected one.
    if (auto* catalogue = dynamic_cast<kdDCataloguePageBase*>(page)) {
        int tabs = TabCtrl_GetItemCount(catalogue->tabCtrl().hwnd());
        int tabRows = catalogue->tabCtrl().tabDialog().rowCount();
        rows = tabRows > 0 ? static_cast<unsigned>(tabRows) : 0;
        return tabs > 0 && tabRows > 0;
    }
    rows = page->installManager->count();
    for (unsigned i = 0; i < rows; ++i)
        if (page->installManager->item(i)->status().empty())
            return false;
    return true;
}

// Three activations of one page, each from the welcome page; prints the
// median and keeps the worst page. Answers 1 when the rows were not filled.
int measure(kdDKadrixSDKInstallerSheet& sheet, const Measured& measured, double& worst,
            std::string& worstKey) {
    std::vector<double> times;
    unsigned rows = 0;
    bool filled = true;
    for (int round = 0; round < 3; ++round) {
        // Each page is reached from the welcome page, the welcome page from the next one.
        sheet.navigateTo(measured.uiDlgName == kPages[0].uiDlgName ? kPages[1].uiDlgName
                                                                   : "Installation Welcome");
        handleMessages();
        double start = bench::now();
        bool reached = sheet.navigateTo(measured.uiDlgName);
        handleMessages();
        double spent = bench::now() - start;
        filled = filled && reached && rowsFilled(sheet, measured.uiDlgName, rows);
        times.push_back(spent);
    }
    double ms = 1000.0 * bench::median(times);
    std::printf("page_activation_ms_%s %.1f (%s, %u rows)\n", measured.key, ms, measured.uiDlgName, rows);
    if (ms > worst) {
        worst = ms;
        worstKey = measured.key;
    }
    if (filled)
        return 0;
    std::fprintf(stderr, "page_activation_bench: %s: rows not filled\n", measured.uiDlgName);
    return 1;
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 4) {
        std::fprintf(stderr, "usage: page_activation_bench PACKAGES_FOLDER PIP_EXE WORK_FOLDER\n");
        return 2;
    }
    COrvantoKadrixSDKInstallerApp app;
    DecliningPrompter prompter;
    hnPrompter* previous = app.setPrompter(&prompter);
    bench::prepareMachine(argv[1], argv[2], argv[3]);

    // The Python 2.7 pages follow the core pages.
    std::string folder, selection;
    if (pySelFolderPath(folder) && pySelIniPath(selection)) {
        ::CreateDirectoryA(folder.c_str(), nullptr);
        ::WritePrivateProfileStringA("PySelVersion", "VersionName", "Python 2.7.9", selection.c_str());
    }

    int failures = 0;
    {
        kdDKadrixSDKInstallerSheet sheet(createInstallerPages());
        sheet.setWizardMode();
        if (!sheet.create()) {
            std::fprintf(stderr, "page_activation_bench: the wizard did not open\n");
            return 1;
        }
        handleMessages();
        sheet.updateWizardPagesForPythonVersion(0);
        handleMessages();

        double worst = 0;
        std::string worstKey;
        for (const Measured& measured : kPages)
            failures += measure(sheet, measured, worst, worstKey);
        // The Python 3.6 twins of the catalogue pages.
        if (!selection.empty())
            ::WritePrivateProfileStringA("PySelVersion", "VersionName", "Python 3.6.6", selection.c_str());
        sheet.updateWizardPagesForPythonVersion(1);
        handleMessages();
        for (const Measured& measured : kPy36Pages)
            failures += measure(sheet, measured, worst, worstKey);
        std::printf("page_activation_max_ms %.1f (%s)\n", worst, worstKey.c_str());
        std::printf("page_activation_questions %d\n", prompter.asked);
        ::DestroyWindow(sheet.hwnd());
        handleMessages();
    }
    ::DeleteFileA(selection.c_str());
    app.setPrompter(previous);
    app.ExitInstance();
    return failures == 0 ? 0 : 1;
}
