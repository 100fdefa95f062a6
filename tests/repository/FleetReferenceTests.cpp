// The reference PC of the fleet test (tests/fleet/fleet-test): a mix of
// components installed through the pages as a user's clicks install them.
// Not part of the ordinary run (it changes the machine for good): the fleet
// test runs it in a fresh prefix of its own, beside the demo repository, with
// ORVANTO_FLEET_REFERENCE set (the demo sweep then leaves the mix in place),
// and exports that PC's set afterwards.
#include <gtest/gtest.h>

#include "app/WorkerWait.h"
#include "catalogue/TabDialogs.h"
#include "pages/CoreComponentsPage.h"
#include "pages/DemoProfilesPage.h"
#include "pages/ModulesPage.h"
#include "pages/PageTestSupport.h"
#include "pages/PreRequisitesPage.h"
#include "pages/Py27Extensions2Page.h"
#include "pages/Py27ExtensionsNewPage.h"
#include "pages/ThirdPartyInstallationsPage.h"
#include "pages/ToolboxDeepformVisionPage.h"
#include "pages/UtilitiesPage.h"
#include "pages_ids.h"
#include "python/SelectionDefaults.h"

namespace {

// A page of its own wizard that reads the machine and answers Yes.
template <typename Page> using ShownPage = ShownTablePage<Page, TableActions, IDYES>;

// Chooses the Intel variant in the variant dialog once it is up.
void CALLBACK chooseIntelVariant(HWND, UINT, UINT_PTR timer, DWORD) {
    HWND dialog = ::FindWindowA("#32770", "Select Matrel Version");
    if (!dialog || !::IsWindowVisible(dialog))
        return;
    ::KillTimer(nullptr, timer);
    ::SendMessageA(::GetDlgItem(dialog, IDC_MATREL_INTEL), BM_CLICK, 0, 0);
    ::SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
}

// A package page's buttons work once pip's listing has answered.
void waitForListing(const kdDPipListingPage& page) {
    for (int waited = 0; page.checking() && waited < 120000; waited += 50)
        hnWaitHandlingMessages(50);
}

} // namespace

TEST(FleetReference, DISABLED_InstallTheReferenceMixThroughThePages) {
    {
        ShownPage<kdDInstallPreRequisites> open(nullptr);
        clickButton(open.window, IDC_PREREQ_INSTALL_ALL);
        ASSERT_TRUE(open.page.arePrerequisitesInstalled());
        ASSERT_TRUE(chooseItem(open.window, IDC_PREREQ_PYTHON_COMBO, "Python 2.7.13"));
        ASSERT_EQ("Python 2.7.13", StoredSelection::read());
    }
    {
        ShownPage<kdDInstallCoreComponentsSoftware> open(nullptr);
        clickButton(open.window, IDC_CORE_VISION_INSTALL);
        ASSERT_EQ("Installed", controlText(open.window, IDC_CORE_RUNTIME_STATUS));
        ASSERT_EQ("Installed", controlText(open.window, IDC_CORE_VISION_STATUS));
    }
    {
        ShownPage<kdDInstall3rdPartyInstallations> open(nullptr);
        ASSERT_TRUE(chooseItem(open.window, IDC_CAM1_MVS_COMBO, "MVS 2.4.0"));
        ASSERT_EQ("Status: Installed", controlText(open.window, IDC_CAM1_MVS_STATUS));
    }
    {
        ShownPage<kdDInstallModules> open(nullptr);
        ::SetTimer(nullptr, 0, 50, chooseIntelVariant);
        clickButton(open.window, IDC_MODULES_VARIANT_CHANGE);
        ASSERT_EQ("Intel Compiler DLL", open.page.variantText);
    }
    {
        ShownPage<kdDInstallToolboxeDeepformVision> open(nullptr);
        ASSERT_TRUE(chooseItem(open.window, IDC_TOOLBOX_COMBO, "Deepform Vision 1.0.0.550"));
        ASSERT_EQ("Status: Installed", controlText(open.window, IDC_TOOLBOX_STATUS));
    }
    {
        ShownPage<kdDInstallUtilities> open(nullptr);
        clickButton(open.window, IDC_UTIL1_OPCCLIENT_INSTALL);
        ASSERT_EQ("Installed", controlText(open.window, IDC_UTIL1_OPCCLIENT_STATUS));
        ASSERT_TRUE(chooseItem(open.window, IDC_UTIL1_MODE_COMBO, "Siemens DA Automation"));
        clickButton(open.window, IDC_UTIL1_PERFTEST_INSTALL);
        ASSERT_EQ("Installed", controlText(open.window, IDC_UTIL1_PERFTEST_STATUS));
    }
    {
        // A package set through Validate Package and Install All, and one
        // optional extension through its row.
        ShownPage<kdDInstallPY27ExtensionsNew> open(nullptr);
        waitForListing(open.page);
        ASSERT_TRUE(chooseItem(open.window, IDC_PYPKG_COMBO, "Orvanto 15.0 Standard"));
        ::CheckDlgButton(open.window, IDC_PYPKG_VALIDATE, BST_CHECKED);
        clickButton(open.window, IDC_PYPKG_VALIDATE);
        clickButton(open.window, IDC_PYPKG_INSTALL_ALL);
        ASSERT_TRUE(open.page.packageManager);
        EXPECT_TRUE(open.page.packageManager->allInstalled());
    }
    {
        ShownPage<kdDInstallPY27Extensions2> open(nullptr);
        waitForListing(open.page);
        const int sixSlot = 10; // the first row of the right box
        ASSERT_EQ("Python 27 extension - six", controlText(open.window, IDC_PYEXT_ROW(sixSlot, 0)));
        clickButton(open.window, IDC_PYEXT_ROW(sixSlot, 2));
        EXPECT_TRUE(open.page.rowState(sixSlot).uninstallShown);
    }
    {
        // A demo profile through its row's Install button on the first tab.
        ShownPage<kdDInstallDemoProfiles> open(nullptr);
        for (int waited = 0; open.page.fetchingList() && waited < 120000; waited += 50)
            hnWaitHandlingMessages(50); // the rows work once the fresh list has answered
        auto& tab = static_cast<DTabProfiles2D&>(open.page.tabCtrl().tabDialog());
        int row = tab.rowIndexOf("Edge Gauge");
        ASSERT_GE(row, 0);
        ::SendMessageA(tab.rows[static_cast<std::size_t>(row)].installButton->hwnd(), BM_CLICK, 0, 0);
        EXPECT_TRUE(tab.rows[static_cast<std::size_t>(row)].installed);
    }
    // What every start of the wizard stores for the chosen interpreter: a PC
    // set up through the wizard holds these choices too.
    ifRequiredSetSelectionForPy27Extensions();
}
