// The modules and the 3D toolbox against the demo repository with the shipped
// actions: the image-library variant switched both ways, across an
// interpreter switch and against an incomplete or a locked variant (the
// runtime keeps a usable library), IPP with its older folders, and a toolbox
// build installed, switched and removed with its copies in the runtime.
#include <gtest/gtest.h>

#include <functional>
#include <memory>

#include "app/FileHelpers.h"
#include "main/InstallerApp.h"
#include "app/ScopedHandle.h"
#include "catalogue/CatalogueSources.h"
#include "install/CheckInstallations.h"
#include "install/InstallActions.h"
#include "install/PythonEnvironment.h"
#include "catalogue_ids.h"
#include "pages/Modules2Page.h"
#include "pages/ModulesPage.h"
#include "pages/PageTestSupport.h"
#include "pages/PreRequisitesPage.h"
#include "pages/CoreComponentsPage.h"
#include "pages/ToolboxDeepformVisionPage.h"
#include "pages_ids.h"
#include "python/PythonSelection.h"
#include "support/TestSupport.h"

namespace {

const char* const kCopyFailed = "Error: Unable to use the selected file. Please try again.";

// Installs a row that one of the pages offers.
bool installOffered(kdDPropertyPageBase& page, const char* name) {
    hnInstallManagerBase& manager = *page.installManager;
    for (unsigned i = 0; i < manager.count(); ++i)
        if (manager.item(i)->name == name)
            return manager.installRange(static_cast<int>(i), static_cast<int>(i), false, false, false) > 0;
    return false;
}

// Python 2.7.9 chosen and installed, and the runtime over it.
class RuntimeWithPython27 {
public:
    RuntimeWithPython27() : hadSelection_(getPythonVersionSelection(&saved_) == 1) {
        setPythonVersionSelection("Python 2.7.9");
        kdDInstallPreRequisites prerequisites("Demo");
        kdDInstallCoreComponentsSoftware core("Demo");
        core.initInstallationElements();
        ready = installOffered(prerequisites, "Python 2.7.9") &&
                installOffered(core, "Orvanto Version XV 15.0.0.774 Runtime") &&
                hnCheckInstallations::getRuntimeFolder(runtime);
    }
    ~RuntimeWithPython27() {
        if (hadSelection_)
            setPythonVersionSelection(saved_.c_str());
    }
    bool ready = false;
    std::string runtime;

private:
    std::string saved_;
    bool hadSelection_;
};

template <typename Page> struct ShownPage {
    ShownPage() : page("Test") {
        prompter.fallback = IDYES;
        host.reset(new PageHost(page));
        window = page.hwnd();
    }
    bool said(const std::string& text) const {
        for (const auto& record : prompter.records)
            if (record.text == text)
                return true;
        return false;
    }
    ScriptedPrompter prompter;
    Page page;
    std::unique_ptr<PageHost> host;
    HWND window = nullptr;
};

// Chooses `radio` in the variant dialog once it is up.
int chosenRadio = 0;
void CALLBACK chooseVariant(HWND, UINT, UINT_PTR timer, DWORD) {
    HWND dialog = ::FindWindowA("#32770", "Select Matrel Version");
    if (!dialog || !::IsWindowVisible(dialog))
        return;
    ::KillTimer(nullptr, timer);
    ::SendMessageA(::GetDlgItem(dialog, chosenRadio), BM_CLICK, 0, 0);
    ::SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
}

std::string changeVariant(ShownPage<kdDInstallModules>& open, int radio) {
    chosenRadio = radio;
    ::SetTimer(nullptr, 0, 50, chooseVariant);
    clickButton(open.window, IDC_MODULES_VARIANT_CHANGE);
    return open.page.variantText + " / " + open.page.variantStatus;
}

// The runtime's library is complete and is that of `variant`.
bool activeLibraryIs(const std::string& runtime, const char* variant) {
    for (const char* name : {"MatRel.dll", "MatRel2.dll", "pyMatrel26.pyd", "pyMatrel27.pyd",
                             "pyMatrel36.pyd", "pyMatrel37.pyd", "OrvantoMatTools.dll"})
        if (!filesHaveSameContent(runtime + name, runtime + "3.2.1.169\\" + variant + "\\" + name))
            return false;
    return fileExists(runtime + "Python\\matrelct.py");
}

} // namespace

TEST(ModulesAndToolbox, LibraryVariantSwitchesBothWaysAndTheRuntimeAlwaysKeepsALibrary) {
    RuntimeWithPython27 machine;
    ASSERT_TRUE(machine.ready);
    const std::string& runtime = machine.runtime;
    ShownPage<kdDInstallModules> open;
    // The shipped files are those of "VC8", identical to "VC8-IPP", which is
    // recognised first and needs IPP.
    EXPECT_EQ("Visual C with IPP / Incorrect Version",
              open.page.variantText + " / " + open.page.variantStatus);

    EXPECT_EQ("Intel Compiler DLL / Ok", changeVariant(open, IDC_MATREL_INTEL));
    EXPECT_TRUE(activeLibraryIs(runtime, "Intel-Blend"));
    // An interpreter switch rewrites the scripts and copies the Python folder anew.
    pythonEnvironment().applyPythonIntegration(36);
    pythonEnvironment().applyPythonIntegration(27);
    open.page.updateMatrelVariantStatus();
    EXPECT_EQ("Intel Compiler DLL", open.page.variantText);
    EXPECT_EQ("Visual C with IPP / Incorrect Version", changeVariant(open, IDC_MATREL_VC));
    EXPECT_TRUE(activeLibraryIs(runtime, "VC8"));

    // A variant file that cannot be read half-way: the active files come back.
    {
        std::string locked = runtime + "3.2.1.169\\Intel-Blend\\pyMatrel36.pyd";
        hnScopedHandle lock(::CreateFileA(locked.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING,
                                          FILE_ATTRIBUTE_NORMAL, nullptr));
        ASSERT_TRUE(static_cast<bool>(lock));
        open.prompter.records.clear();
        EXPECT_EQ("Visual C with IPP / Incorrect Version", changeVariant(open, IDC_MATREL_INTEL));
        EXPECT_TRUE(open.said(kCopyFailed));
        EXPECT_TRUE(activeLibraryIs(runtime, "VC8"));
    }

    // With IPP the IPP variants can be chosen; the incomplete one changes nothing.
    clickButton(open.window, IDC_MODULES_IPP_INSTALL);
    ASSERT_EQ("Installed", controlText(open.window, IDC_MODULES_IPP_STATUS));
    EXPECT_TRUE(fileExists(runtime + "IPP201800992\\threaded\\ippcore.dll"));
    open.page.updateMatrelVariantStatus();
    EXPECT_EQ("Ok", open.page.variantStatus);
    open.prompter.records.clear();
    EXPECT_EQ("Visual C with IPP / Ok", changeVariant(open, IDC_MATREL_INTEL_IPP));
    EXPECT_TRUE(open.said(kCopyFailed));
    EXPECT_TRUE(activeLibraryIs(runtime, "VC8"));

    // An older IPP folder flags the row; the removal takes it too.
    ASSERT_TRUE(::CreateDirectoryA((runtime + "IPP924").c_str(), nullptr));
    clickButton(open.window, IDC_MODULES_IPP_REMOVE);
    EXPECT_EQ("Not Installed", controlText(open.window, IDC_MODULES_IPP_STATUS));
    EXPECT_FALSE(fileExists(runtime + "IPP924"));
    EXPECT_FALSE(fileExists(runtime + "IPP201800992"));
    EXPECT_EQ("Incorrect Version", open.page.variantStatus);
}

TEST(ModulesAndToolbox, ToolboxBuildInstallsSwitchesAndGoesWithItsRuntimeCopies) {
    RuntimeWithPython27 machine;
    ASSERT_TRUE(machine.ready);
    const std::string& runtime = machine.runtime;
    std::string previous;
    bool hadChoice = getPy27DeepformVisionToolboxVersionSelection(&previous) == 1;
    {
        ShownPage<kdDInstallToolboxeDeepformVision> open;
        ASSERT_TRUE(chooseItem(open.window, IDC_TOOLBOX_COMBO, "Deepform Vision 1.0.0.550"));
        EXPECT_EQ("Status: Installed", controlText(open.window, IDC_TOOLBOX_STATUS));
        EXPECT_TRUE(controlVisible(open.window, IDC_TOOLBOX_TAB));
        EXPECT_EQ((std::vector<std::string>{"Measure", "Fit", "Demo"}), open.page.tabCtrl.tabNames);
        EXPECT_TRUE(fileExists(runtime + "ConvNetSharp.dll"));
        std::string stored;
        getPy27DeepformVisionToolboxVersionSelection(&stored);
        EXPECT_EQ("Deepform Vision 1.0.0.550", stored);

        ASSERT_TRUE(chooseItem(open.window, IDC_TOOLBOX_COMBO, "Deepform Vision 1.0.0.719"));
        EXPECT_EQ("Deepform Vision 1.0.0.719", open.page.toolbox().currentSelection);
        EXPECT_EQ("Status: Installed", controlText(open.window, IDC_TOOLBOX_STATUS));
        EXPECT_FALSE(fileExists(runtime + "DeepformVision_1_0_0_550"));
        EXPECT_TRUE(fileExists(runtime + "Newtonsoft.Json.dll"));
        getPy27DeepformVisionToolboxVersionSelection(&stored);
        EXPECT_EQ("Deepform Vision 1.0.0.719", stored);
        // All templates of the build land in the user's templates (lists fetched anew).
        clickButton(open.window, IDC_TEMPLATES_REFRESH);
        EXPECT_TRUE(open.page.installAllTemplates(5 * 4 + 1));
        EXPECT_TRUE(fileExists(userContentFolder("Templates") + "BoxFit3D_1.0.0.719\\BoxFit3D.py"));

        // Removed: the runtime's copies of the build go, the runtime's own files stay.
        ASSERT_TRUE(chooseItem(open.window, IDC_TOOLBOX_COMBO, "None"));
        EXPECT_EQ("None", open.page.toolbox().currentSelection);
        EXPECT_FALSE(fileExists(runtime + "DeepformVision_1_0_0_719"));
        EXPECT_FALSE(fileExists(runtime + "DeepformModel.Core.dll"));
        EXPECT_FALSE(fileExists(runtime + "Python\\BaseOtc.py"));
        EXPECT_TRUE(fileExists(runtime + "Orvanto.exe"));
        EXPECT_TRUE(fileExists(runtime + "Python\\orvanto.py"));
        EXPECT_FALSE(controlVisible(open.window, IDC_TOOLBOX_TAB));

        // A build whose lists are not on the server shows the not-available tab.
        ASSERT_TRUE(chooseItem(open.window, IDC_TOOLBOX_COMBO, "Deepform Vision 1.0.0.355"));
        EXPECT_EQ("Status: Installed", controlText(open.window, IDC_TOOLBOX_STATUS));
        EXPECT_TRUE(open.page.tabCtrl.showingNotAvailable);
        EXPECT_EQ(-1, open.page.updateListOfSections());
        ASSERT_TRUE(chooseItem(open.window, IDC_TOOLBOX_COMBO, "None"));
        EXPECT_FALSE(fileExists(runtime + "DeepformVision_1_0_0_355"));
    }
    setPy27DeepformVisionToolboxVersionSelection(hadChoice ? previous.c_str() : "None");
}

TEST(ModulesAndToolbox, SmartCardPackagesUnpackIntoTheDocumentsAndGoAgain) {
    ShownPage<kdDInstallModules2> open;
    const int rows[][3] = {
        {IDC_MODULES2_CONFIG_INSTALL, IDC_MODULES2_CONFIG_REMOVE, IDC_MODULES2_CONFIG_STATUS},
        {IDC_MODULES2_PROGRAM_INSTALL, IDC_MODULES2_PROGRAM_REMOVE, IDC_MODULES2_PROGRAM_STATUS}};
    for (const auto& row : rows) {
        clickButton(open.window, row[0]);
        EXPECT_EQ("Installed", controlText(open.window, row[2]));
        EXPECT_FALSE(controlEnabled(open.window, row[0]));
        clickButton(open.window, row[1]);
        EXPECT_EQ("Not Installed", controlText(open.window, row[2]));
    }
}
