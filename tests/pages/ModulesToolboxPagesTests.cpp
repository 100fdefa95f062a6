// The modules pages, the image-library variant dialog and the 3D toolbox
// pages against element actions that answer from a table, with scripted
// message boxes (no runtime is installed here: the runtime's own checks are
// the demo repository's tests).
#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <functional>
#include <memory>

#include "app/FileHelpers.h"
#include "main/InstallerApp.h"
#include "download/Unzipper.h"
#include "install/InstallManager.h"
#include "pages/MatrelVersionSelection.h"
#include "pages/ModulesPage.h"
#include "pages/PageTestSupport.h"
#include "pages/ToolboxDeepformVisionPage.h"
#include "pages/ToolboxPy36DeepformVisionPage.h"
#include "pages_ids.h"
#include "python/PythonSelection.h"

namespace {

const char* const k550 = "Deepform Vision 1.0.0.550";
const char* const k719 = "Deepform Vision 1.0.0.719";

// Removals run but leave the build in place.
class StickyActions : public TableActions {
public:
    int uninstallElement(hnInstallationElement& element, int, int, bool) override {
        calls.push_back("uninstall " + element.name);
        return -1;
    }
};

// Installations run but the build never reads "Installed".
class BrokenInstallActions : public TableActions {
public:
    int installElement(hnInstallationElement& element, int, int, bool, bool) override {
        calls.push_back("install " + element.name);
        status[element.name] = kStatusIncompleteModule;
        element.setStatus(kStatusIncompleteModule);
        return -1;
    }
};

using Statuses = std::map<std::string, std::string>;

// Every question answered Yes.
template <typename Page, typename Actions = TableActions> using YesPage = ShownTablePage<Page, Actions, IDYES>;

// Keeps the stored toolbox choice of the machine.
class ToolboxSelectionGuard {
public:
    ToolboxSelectionGuard() : had_(getPy27DeepformVisionToolboxVersionSelection(&saved_) == 1) {
        setPy27DeepformVisionToolboxVersionSelection("None");
    }
    ~ToolboxSelectionGuard() { setPy27DeepformVisionToolboxVersionSelection(had_ ? saved_.c_str() : "None"); }
    static std::string stored() {
        std::string value;
        getPy27DeepformVisionToolboxVersionSelection(&value);
        return value;
    }

private:
    std::string saved_;
    bool had_;
};

bool said(const ScriptedPrompter& prompter, const std::string& text) {
    for (const auto& record : prompter.records)
        if (record.text == text)
            return true;
    return false;
}

// Runs `work` on the modal dialog captioned `caption` once it is up.
struct DuringDialog {
    const char* caption;
    std::function<void(HWND)> work;
    bool seen = false;
};
DuringDialog* during = nullptr;

void CALLBACK onDialogTimer(HWND, UINT, UINT_PTR, DWORD) {
    if (!during || during->seen)
        return;
    HWND dialog = ::FindWindowA("#32770", during->caption);
    if (!dialog || !::IsWindowVisible(dialog))
        return;
    during->seen = true;
    during->work(dialog);
}

INT_PTR runVariantDialog(DMatrelVersionSelection& dialog, std::function<void(HWND)> work) {
    DuringDialog state{"Select Matrel Version", std::move(work)};
    during = &state;
    UINT_PTR timer = ::SetTimer(nullptr, 0, 50, onDialogTimer);
    INT_PTR result = dialog.doModal(nullptr);
    ::KillTimer(nullptr, timer);
    during = nullptr;
    return result;
}

bool checked(HWND dialog, int id) {
    return ::IsDlgButtonChecked(dialog, id) == BST_CHECKED;
}

void press(HWND dialog, int id) {
    ::SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
                   reinterpret_cast<LPARAM>(::GetDlgItem(dialog, id)));
}

} // namespace

TEST(MatrelVersionSelection, OffersOnlyWhatCanBeChosenAndKeepsTheHiddenBeta) {
    ScriptedPrompter prompter;
    {
        // Without IPP: the IPP variants are offered disabled, the beta never.
        DMatrelVersionSelection dialog;
        dialog.ippInstalled = false;
        dialog.selectedVariant = 4;
        bool ippDisabled = false, betaHidden = false, noneChecked = false;
        INT_PTR result = runVariantDialog(dialog, [&](HWND d) {
            ippDisabled = !::IsWindowEnabled(::GetDlgItem(d, IDC_MATREL_INTEL_IPP)) &&
                          !::IsWindowEnabled(::GetDlgItem(d, IDC_MATREL_VC_IPP));
            betaHidden = !::IsWindowVisible(::GetDlgItem(d, IDC_MATREL_BETA));
            noneChecked = !checked(d, IDC_MATREL_VC_IPP) && !checked(d, IDC_MATREL_VC);
            // "Select" with nothing checked stays open and asks for a version.
            press(d, IDOK);
            ::SendMessageA(::GetDlgItem(d, IDC_MATREL_INTEL), BM_CLICK, 0, 0);
            press(d, IDOK);
        });
        EXPECT_EQ(IDOK, result);
        EXPECT_TRUE(ippDisabled);
        EXPECT_TRUE(betaHidden);
        EXPECT_TRUE(noneChecked);
        EXPECT_TRUE(said(prompter, "Please select a version."));
        EXPECT_EQ(1, dialog.selectedVariant);
    }
    {
        // The active beta stays checked, hidden: "Select" keeps it.
        DMatrelVersionSelection dialog;
        dialog.selectedVariant = 5;
        bool visibleChecked = true;
        EXPECT_EQ(
            IDOK, runVariantDialog(dialog, [&](HWND d) {
                visibleChecked = false;
                for (int id : {IDC_MATREL_INTEL, IDC_MATREL_INTEL_IPP, IDC_MATREL_VC, IDC_MATREL_VC_IPP})
                    visibleChecked = visibleChecked || checked(d, id);
                press(d, IDOK);
            }));
        EXPECT_FALSE(visibleChecked);
        EXPECT_EQ(5, dialog.selectedVariant);
    }
    {
        // Clicking a radio clears the others, also the hidden beta; Cancel keeps the variant.
        DMatrelVersionSelection dialog;
        dialog.selectedVariant = 5;
        bool betaCleared = false;
        EXPECT_EQ(IDCANCEL, runVariantDialog(dialog, [&](HWND d) {
                      ::SendMessageA(::GetDlgItem(d, IDC_MATREL_VC_IPP), BM_CLICK, 0, 0);
                      betaCleared = !checked(d, IDC_MATREL_BETA) && checked(d, IDC_MATREL_VC_IPP);
                      press(d, IDCANCEL);
                  }));
        EXPECT_TRUE(betaCleared);
        EXPECT_EQ(5, dialog.selectedVariant);
    }
}

TEST(ModulesPage, WithoutTheRuntimeNothingIsInstalledOrRemoved) {
    YesPage<kdDInstallModules> open(Statuses{});
    const std::string message =
        "Error - Orvanto Version XV 15.0.0.774 Runtime should installed on the computer "
        "before installing or removing the modules.\nPlease install Orvanto Version XV "
        "15.0.0.774 Runtime and try again.";
    EXPECT_TRUE(said(open.prompter, message)); // the activation's check
    open.prompter.records.clear();
    clickButton(open.window, IDC_MODULES_IPP_INSTALL);
    EXPECT_TRUE(said(open.prompter, message));
    open.actions.status["Orvanto 2018.0.0.992 IPP"] = kStatusInstalled;
    clickButton(open.window, IDC_MODULES_IPP_REMOVE);
    EXPECT_TRUE(open.actions.calls.empty());
    // Next warns about the variant it could not read, and still moves on.
    open.prompter.records.clear();
    open.page.variantStatus = "Incorrect Version";
    open.host->pressNext();
    EXPECT_TRUE(said(open.prompter, "Warning: Correct Matrel version is not selected.\nIt is recommended to "
                                    "select correct Matrel version before proceeding."));
    EXPECT_TRUE(open.host->onSecondPage());
}

// The restore after a failed variant switch checks each file and names the
// ones it could not put back (here a backup that went missing).
TEST(ModulesPage, VariantRestoreNamesTheFilesNotPutBack) {
    ScratchFolder runtime, backup;
    std::string targets[3] = {runtime.path() + "\\MatRel.dll", runtime.path() + "\\MatRel2.dll",
                              runtime.path() + "\\pyMatrel27.pyd"};
    std::string backups[3] = {backup.path() + "\\MatRel.dll", backup.path() + "\\MatRel2.dll",
                              backup.path() + "\\pyMatrel27.pyd"};
    bool backedUp[3] = {true, true, false};
    ASSERT_TRUE(writeTextFile(backups[0], "old library"));
    for (const std::string& target : targets)
        ASSERT_TRUE(writeTextFile(target, "new variant"));
    EXPECT_EQ(std::vector<std::string>{targets[1]}, restoreBackedUpFiles(targets, backups, backedUp, 3));
    EXPECT_EQ("old library", readTextFile(targets[0]));
    EXPECT_FALSE(fileExists(targets[2]));
}

TEST(ToolboxPage, SwitchStopsWhileTheOldBuildStaysAndStoresOnlyAnInstalledBuild) {
    ToolboxSelectionGuard guard;
    {
        YesPage<kdDInstallToolboxeDeepformVision, StickyActions> open(Statuses{{k550, kStatusInstalled}});
        EXPECT_EQ(k550, open.page.toolbox().currentSelection);
        ASSERT_TRUE(chooseItem(open.window, IDC_TOOLBOX_COMBO, k719));
        EXPECT_EQ((std::vector<std::string>{k550}), open.actions.callsOf("uninstall"));
        for (const std::string& installed : open.actions.callsOf("install"))
            EXPECT_NE(k719, installed);
        EXPECT_EQ(k550, open.page.toolbox().currentSelection);
        EXPECT_EQ("None", ToolboxSelectionGuard::stored());
    }
    {
        YesPage<kdDInstallToolboxeDeepformVision, BrokenInstallActions> open(Statuses{});
        ASSERT_TRUE(chooseItem(open.window, IDC_TOOLBOX_COMBO, k719));
        EXPECT_EQ("install Deepform Vision 1.0.0.719", open.actions.calls.front());
        EXPECT_EQ("None", ToolboxSelectionGuard::stored());
        EXPECT_EQ("Status: Incomplete Module", controlText(open.window, IDC_TOOLBOX_STATUS));
        EXPECT_FALSE(controlVisible(open.window, IDC_TOOLBOX_TAB));
    }
    {
        // A new build that is not found after its installation: the old one
        // comes back and is the stored choice again.
        YesPage<kdDInstallToolboxeDeepformVision, BrokenNamesActions> open(
            Statuses{{k550, kStatusInstalled}});
        open.actions.broken = {k719};
        ASSERT_TRUE(chooseItem(open.window, IDC_TOOLBOX_COMBO, k719));
        EXPECT_EQ((std::vector<std::string>{k550}), open.actions.callsOf("uninstall"));
        std::vector<std::string> installs = open.actions.callsOf("install");
        EXPECT_NE(installs.end(), std::find(installs.begin(), installs.end(), std::string(k550)));
        EXPECT_TRUE(
            said(open.prompter, std::string(k719) + " could not be installed; " + k550 + " was restored."));
        EXPECT_EQ(k550, open.page.toolbox().currentSelection);
        EXPECT_EQ(k550, ToolboxSelectionGuard::stored());
    }
    {
        // The four elements of the build, then the choice is kept.
        YesPage<kdDInstallToolboxeDeepformVision> open(Statuses{});
        ASSERT_TRUE(chooseItem(open.window, IDC_TOOLBOX_COMBO, k719));
        EXPECT_EQ((std::vector<std::string>{k719, std::string(k719) + " - Templates",
                                            std::string(k719) + " - Demo Profiles",
                                            std::string(k719) + " - Readme"}),
                  open.actions.callsOf("install"));
        EXPECT_EQ(k719, ToolboxSelectionGuard::stored());
    }
}

TEST(ToolboxPage, ListsOfTheServerMakeTabsAndUnsafeNamesAreSkipped) {
    YesPage<kdDInstallToolboxePy36DeepformVision> open(
        Statuses{{"Deepform Vision 1.0.0.1114 (Python 36)", kStatusInstalled}});
    open.prompter.records.clear();
    // No lists: the not-available tab; no readme: no information.
    EXPECT_TRUE(open.page.tabCtrl.showingNotAvailable);
    clickButton(open.window, IDC_TOOLBOX_INFO);
    EXPECT_TRUE(said(open.prompter, "Unable to locate the information. Please try again"));

    const hnInstallationElement& templates = *open.page.installManager->item(5);
    const hnInstallationElement& profiles = *open.page.installManager->item(6);
    ASSERT_EQ("1.0.0.1114_Py36_OTC.txt", templates.fileName);
    ASSERT_TRUE(CUnzipper::ensureFolder(templates.downloadFolder));
    std::string otc = templates.downloadFolder + "\\" + templates.fileName;
    std::string otp = profiles.downloadFolder + "\\" + profiles.fileName;
    std::ofstream(otc) << "[Measure]\nName=Plane Fit\nURL=http://127.0.0.1/a/PlaneFit.zip\n\n"
                          "[Fit]\nName=Box Fit\nURL=http://127.0.0.1/a/..\n\n";
    std::ofstream(otp) << "[Demo]\nName=Point Cloud\nURL=http://127.0.0.1/a/PointCloud.zip\n\n";
    EXPECT_EQ(1, open.page.updateListOfSections());
    EXPECT_EQ((std::vector<std::string>{"Measure", "Fit", "Demo"}), open.page.tabCtrl.tabNames);

    hnInstallManagerBase manager;
    EXPECT_EQ(1, open.page.updateTemplatesInstallationArrayDeepformVisionPy36Common(5, &manager));
    ASSERT_EQ(1u, manager.count()); // ".." cut from its address is no file name
    EXPECT_EQ("PlaneFit.zip", manager.item(0)->fileName);
    EXPECT_EQ(cacheFolder(cache::kToolbox), manager.item(0)->downloadFolder);
    EXPECT_EQ(-1, open.page.updateProfilesInstallationArrayDeepformVisionPy36Common(8, &manager));
    ::DeleteFileA(otc.c_str());
    ::DeleteFileA(otp.c_str());
}
