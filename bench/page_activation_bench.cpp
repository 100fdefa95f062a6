// Cost of a page activation on a machine with about 50 installed Windows
// Installer products (bench/page_activation.sh prepares the machine as the
// detection bench does):
//   page_activation_bench PACKAGES_FOLDER PIP_EXE WORK_FOLDER
// opens the wizard with the shipped element actions, walks it with Next from
// the welcome page to the summary (each page's first activation,
// page_walk_first_ms_<page>), then, for every page with component rows or a
// server catalogue (served beside the bench), times the
// sheet's navigation to the page until its rows are filled and the messages
// it posted are handled, starting each time from the welcome page. Questions
// are declined, so nothing is installed. Prints "name value" lines: the
// median of three activations per page, the first of them (the page's first
// activation unless the walk passed it) and the worst figure of all, the
// walk's included. A catalogue page fetches its fresh list behind its first
// activation, which is timed until the page shows its cached list; its rows
// are checked once the fresh list shows, and
// catalogue_page_filled_after_answer_ms_<page> is the time from the fresh
// list's answer to its tabs shown (where the page fetched one). The Python
// package pages (pip_page_activation_ms_<page>) run against a Python 2.7 and
// 3.6 whose pip is the stand-in, slowed to kPipDelayMs per call as a real pip
// on Windows is: their activation is timed until the page shows, and
// pip_page_filled_after_answer_ms_<page> is the time from pip's answer to
// the rows filled.
#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>
#include <windows.h>

#include <commctrl.h>

#include "main/InstallerApp.h"
#include "BenchMachine.h"
#include "install/InstallManager.h"
#include "pages/CataloguePage.h"
#include "pages/InstallerPages.h"
#include "pages/PipExtensionsPageBase.h"
#include "pages/PipPackagesPageBase.h"
#include "pages/ResourcesPage.h"
#include "python/PythonSelection.h"
#include "wizard/InstallerSheet.h"
#include "wizard/PropertyPageBase.h"

namespace {

// Answers every question with its negative choice, so that no activation
// waits for a user or changes the machine, except the offer to go on to the
// next page without installing first (going on changes nothing); counts what
// it was asked.
class DecliningPrompter : public hnPrompter {
public:
    int asked = 0;
    INT_PTR respond(const hnPrompt& prompt) override {
        ++asked;
        // The walk with Next passes the prerequisites page; nothing else is agreed to.
        if (!prompt.isQuestion() && prompt.text &&
            std::strstr(prompt.text, "continue proceeding to next page"))
            return IDYES;
        return prompt.isQuestion() ? IDCANCEL : hnRefusingAnswer(prompt.type);
    }
};

// Handles the messages waiting; with `holdFreshLists` a catalogue page's
// fresh list that has answered meanwhile stays queued, so that an activation
// is timed until the page shows its cached list.
void handleMessages(bool holdFreshLists = false) {
    const UINT held = hnFreshList::kAnsweredMessage;
    MSG msg;
    while (holdFreshLists ? ::PeekMessageA(&msg, nullptr, 0, held - 1, PM_REMOVE) ||
                                ::PeekMessageA(&msg, nullptr, held + 1, 0xFFFFFFFF, PM_REMOVE)
                          : ::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE) != FALSE) {
        ::TranslateMessage(&msg);
        ::DispatchMessageA(&msg);
    }
}

// The active catalogue page's fresh list, fetched behind it at its first
// activation: waits until it has answered and the tabs show it; the time from
// its answer to then, or -1 when the page fetched nothing.
double settleFreshList(const kdDKadrixSDKInstallerSheet& sheet) {
    auto* catalogue = dynamic_cast<kdDCataloguePageBase*>(sheet.pageBase(sheet.activeIndex()));
    if (!catalogue || !catalogue->fetchingList())
        return -1;
    for (DWORD begin = ::GetTickCount(); catalogue->fetchingList() && ::GetTickCount() - begin < 30000;) {
        ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 2, QS_ALLINPUT);
        handleMessages();
    }
    if (catalogue->fetchingList())
        return -1;
    double filled = static_cast<double>(::GetTickCount() - catalogue->freshList().answeredAt());
    // The resources page then fetches the pictures the list names, behind it
    // too: they are in before the walk goes on.
    auto* resources = dynamic_cast<kdDInstallOrvantoResourcesDynamic*>(catalogue);
    for (DWORD begin = ::GetTickCount();
         resources && resources->fetchingPictures() && ::GetTickCount() - begin < 30000;) {
        ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 2, QS_ALLINPUT);
        handleMessages();
    }
    return filled;
}

// The time from a catalogue page's fresh list answering to its tabs showing
// it, per page that fetched one.
struct FreshListFills {
    std::vector<std::pair<std::string, double>> pages;
    void add(const std::string& key, double ms) {
        if (ms >= 0)
            pages.emplace_back(key, ms);
    }
};

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
                           {"tutorials", "Tutorials"},
                           {"resources", "Resources"},
                           {"readme", "Readme Notes"},
                           {"summary", "Installation Complete"},
                           {"import_profiles", "Import Orvanto Profiles"},
                           {"image_processing_options", "Image Processing Options"},
                           {"modules", "Modules"},
                           {"toolbox_deepform_vision", "Toolbox - Deepform Vision"}};
// Measured after the switch to Python 3.6, which replaces the later pages.
const Measured kPy36Pages[] = {{"py36_demo_profiles", "Demonstration Profiles (Python 36)"},
                               {"py36_templates", "OTC - Tool Components (Python 36)"},
                               {"py36_toolbox_deepform_vision", "Toolbox - Deepform Vision (Python 36)"}};

// The Python package pages, measured apart: their rows ask pip.
struct PipMeasured {
    const char* key;
    const char* uiDlgName;
    int pythonVersion; // the sheet's page layout: 0 Python 2.7, 1 Python 3.6
};
const PipMeasured kPipPages[] = {{"recommended_py27", "Recommended Extensions", 0},
                                 {"optional_py27", "Optional Extensions", 0},
                                 {"recommended_py36", "Recommended Extensions (Python 36)", 1},
                                 {"optional_py36", "Optional Extensions (Python 36)", 1}};

constexpr int kPipDelayMs = 1500;

// The page's reading of pip's listing; null for other pages.
const kdDPipListingCheck* listingCheckOf(kdDPropertyPageBase* page) {
    if (auto* optional = dynamic_cast<kdDPipExtensionsPageBase*>(page))
        return &optional->listingCheck();
    if (auto* recommended = dynamic_cast<kdDPipPackagesPageBase*>(page))
        return &recommended->listingCheck();
    return nullptr;
}

// A Python 3.6 beside the machine's Python 2.7, with the same stand-in pip
// and a few packages of the optional page.
void preparePython36(const std::string& pip, const std::string& work) {
    std::string python = work + "\\Python36-32\\";
    ::CreateDirectoryA(python.c_str(), nullptr);
    ::CreateDirectoryA((python + "Scripts").c_str(), nullptr);
    bench::setString(HKEY_LOCAL_MACHINE, "Software\\Python\\PythonCore\\3.6-32\\InstallPath", nullptr,
                     python);
    ::CopyFileA(pip.c_str(), (python + "Scripts\\pip.exe").c_str(), FALSE);
    ::DeleteFileA((python + "Scripts\\delay.txt").c_str());
    bench::writeFile(python + "Scripts\\packages.txt",
                     "Name: six\nVersion: 1.12.0\n---\nName: Keras\nVersion: 2.2.3\n");
}

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

// Three navigations to the page, each from the welcome page (the welcome
// page itself from the next one): the first is the page's first activation in
// the process, the one a user meets; `first` gets it, the median is returned.
double medianActivationMs(kdDKadrixSDKInstallerSheet& sheet, const char* uiDlgName, unsigned& rows,
                          bool& filled, double& first, double& freshFill) {
    std::vector<double> times;
    for (int round = 0; round < 3; ++round) {
        sheet.navigateTo(std::string(uiDlgName) == kPages[0].uiDlgName ? kPages[1].uiDlgName
                                                                       : "Installation Welcome");
        handleMessages();
        double start = bench::now();
        bool reached = sheet.navigateTo(uiDlgName);
        handleMessages(true);
        times.push_back(bench::now() - start);
        freshFill = std::max(freshFill, settleFreshList(sheet));
        filled = filled && reached && rowsFilled(sheet, uiDlgName, rows);
    }
    first = 1000.0 * times.front();
    return 1000.0 * bench::median(times);
}

// Prints one page's figures and keeps the worst of them, first activations
// included. Answers 1 when the rows were not filled.
int measure(kdDKadrixSDKInstallerSheet& sheet, const Measured& measured, double& worst, std::string& worstKey,
            FreshListFills& fills) {
    unsigned rows = 0;
    bool filled = true;
    double first = 0, freshFill = -1;
    double ms = medianActivationMs(sheet, measured.uiDlgName, rows, filled, first, freshFill);
    fills.add(measured.key, freshFill);
    std::printf("page_activation_ms_%s %.1f (%s, %u rows)\n", measured.key, ms, measured.uiDlgName, rows);
    std::printf("page_activation_first_ms_%s %.1f\n", measured.key, first);
    for (double figure : {ms, first}) {
        if (figure > worst) {
            worst = figure;
            worstKey = measured.key + std::string(figure == first ? " first" : "");
        }
    }
    if (filled)
        return 0;
    std::fprintf(stderr, "page_activation_bench: %s: rows not filled\n", measured.uiDlgName);
    return 1;
}

// A page's name as a figure's key: lower case, runs of other characters as
// one underscore.
std::string keyOf(const std::string& name) {
    std::string key;
    for (char c : name) {
        if (std::isalnum(static_cast<unsigned char>(c)))
            key += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        else if (!key.empty() && key.back() != '_')
            key += '_';
    }
    while (!key.empty() && key.back() == '_')
        key.pop_back();
    return key;
}

std::string activeName(const kdDKadrixSDKInstallerSheet& sheet) {
    kdDPropertyPageBase* page = sheet.pageBase(sheet.activeIndex());
    return page ? page->uiDlgName : std::string();
}

// Walks the wizard as a user does, with Next from the welcome page to the
// summary, before any page was shown: every activation timed is the page's
// first. Each is timed from the press until the page is active and the
// messages it posted are handled. Prints page_walk_first_ms_<page> and keeps
// the worst figure; answers 1 when Next stopped short of the summary.
int walkWithNext(kdDKadrixSDKInstallerSheet& sheet, double& worst, std::string& worstKey,
                 FreshListFills& fills) {
    const std::string summary = "Installation Complete";
    for (int step = 0; step < 40 && activeName(sheet) != summary; ++step) {
        std::string from = activeName(sheet);
        double start = bench::now();
        ::SendMessageA(sheet.hwnd(), PSM_PRESSBUTTON, PSBTN_NEXT, 0);
        handleMessages(true);
        double ms = 1000.0 * (bench::now() - start);
        std::string to = activeName(sheet);
        fills.add(keyOf(to) + "_walk", settleFreshList(sheet));
        if (to == from) {
            std::fprintf(stderr, "page_activation_bench: Next stayed on %s\n", from.c_str());
            return 1;
        }
        std::string key = keyOf(to);
        std::printf("page_walk_first_ms_%s %.1f\n", key.c_str(), ms);
        if (ms > worst) {
            worst = ms;
            worstKey = key + " walk";
        }
    }
    return activeName(sheet) == summary ? 0 : 1;
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
    preparePython36(argv[2], argv[3]);

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
        // The sheet asks the server for a newer installer on a worker and then
        // re-selects the current page: that is over before anything is timed.
        for (HANDLE check = sheet.upgradeCheckThread;
             check && ::MsgWaitForMultipleObjects(1, &check, FALSE, 30000, QS_ALLINPUT) == WAIT_OBJECT_0 + 1;)
            handleMessages();
        handleMessages();
        sheet.updateWizardPagesForPythonVersion(0);
        handleMessages();

        double worst = 0;
        std::string worstKey;
        FreshListFills fills;
        failures += walkWithNext(sheet, worst, worstKey, fills);
        for (const Measured& measured : kPages)
            failures += measure(sheet, measured, worst, worstKey, fills);
        // The Python 3.6 twins of the catalogue pages.
        if (!selection.empty())
            ::WritePrivateProfileStringA("PySelVersion", "VersionName", "Python 3.6.6", selection.c_str());
        sheet.updateWizardPagesForPythonVersion(1);
        handleMessages();
        for (const Measured& measured : kPy36Pages)
            failures += measure(sheet, measured, worst, worstKey, fills);
        std::printf("page_activation_max_ms %.1f (%s)\n", worst, worstKey.c_str());
        double catalogueFillWorst = 0;
        for (const auto& page : fills.pages) {
            std::printf("catalogue_page_filled_after_answer_ms_%s %.1f\n", page.first.c_str(), page.second);
            catalogueFillWorst = std::max(catalogueFillWorst, page.second);
        }
        std::printf("catalogue_page_filled_after_answer_max_ms %.1f\n", catalogueFillWorst);
        if (!selection.empty())
            ::WritePrivateProfileStringA("PySelVersion", "VersionName", "Python 2.7.9", selection.c_str());

        // Every pip call of the stand-ins now takes kPipDelayMs.
        std::string delays[] = {std::string(argv[3]) + "\\Python27\\Scripts\\delay.txt",
                                std::string(argv[3]) + "\\Python36-32\\Scripts\\delay.txt"};
        for (const std::string& delay : delays)
            bench::writeFile(delay, std::to_string(kPipDelayMs));
        std::printf("pip_delay_ms %d\n", kPipDelayMs);
        double pipWorst = 0, fillWorst = 0;
        for (const PipMeasured& measured : kPipPages) {
            sheet.navigateTo("Installation Welcome");
            handleMessages();
            sheet.updateWizardPagesForPythonVersion(measured.pythonVersion);
            handleMessages();
            std::vector<double> times, fills;
            unsigned rows = 0;
            bool filled = true;
            for (int round = 0; round < 3; ++round) {
                sheet.navigateTo("Installation Welcome");
                handleMessages();
                double start = bench::now();
                bool reached = sheet.navigateTo(measured.uiDlgName);
                handleMessages();
                times.push_back(1000.0 * (bench::now() - start));
                const kdDPipListingCheck* check = listingCheckOf(sheet.pageBase(sheet.activeIndex()));
                // The page shows before pip answers, then fills its rows.
                bool waited = !check || !check->checking();
                DWORD filledAt = 0;
                for (DWORD begin = ::GetTickCount(); reached && ::GetTickCount() - begin < 30000;) {
                    if (!check->checking() && rowsFilled(sheet, measured.uiDlgName, rows)) {
                        filledAt = ::GetTickCount();
                        break;
                    }
                    ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 2, QS_ALLINPUT);
                    handleMessages();
                }
                if (waited || !filledAt) {
                    filled = false;
                    std::fprintf(stderr, "page_activation_bench: %s: %s\n", measured.uiDlgName,
                                 waited ? "the activation waited for pip" : "rows not filled");
                } else {
                    fills.push_back(static_cast<double>(filledAt - check->answeredAt()));
                }
            }
            if (!filled)
                ++failures;
            double ms = bench::median(times);
            double fill = fills.empty() ? 0 : *std::max_element(fills.begin(), fills.end());
            std::printf("pip_page_activation_ms_%s %.1f (%s, %u rows)\n", measured.key, ms,
                        measured.uiDlgName, rows);
            std::printf("pip_page_activation_first_ms_%s %.1f\n", measured.key, times.front());
            std::printf("pip_page_filled_after_answer_ms_%s %.1f\n", measured.key, fill);
            pipWorst = std::max(pipWorst, std::max(ms, times.front()));
            fillWorst = std::max(fillWorst, fill);
        }
        std::printf("pip_page_activation_max_ms %.1f\n", pipWorst);
        std::printf("pip_page_filled_after_answer_max_ms %.1f\n", fillWorst);
        for (const std::string& delay : delays)
            ::DeleteFileA(delay.c_str());
        std::printf("page_activation_questions %d\n", prompter.asked);
        ::DestroyWindow(sheet.hwnd());
        handleMessages();
    }
    ::DeleteFileA(selection.c_str());
    app.setPrompter(previous);
    app.ExitInstance();
    return failures == 0 ? 0 : 1;
}
