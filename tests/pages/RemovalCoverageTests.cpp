// Every component a page offers that detection can find installed can also be
// removed, or is one of the few whose removal is not supported: a row whose
// removal would always end in "Unable to uninstall..." cannot land unnoticed.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "install/DetectionCatalogue.h"
#include "install/InstallManager.h"
#include "install/Uninstall.h"
#include "pages/InstallerPages.h"
#include "wizard/PropertyPageBase.h"

namespace {

void collectUnremovable(const hnInstallManagerBase* manager, std::vector<std::string>& missing) {
    if (!manager)
        return;
    for (unsigned i = 0; i < manager->count(); ++i) {
        const std::string& name = manager->item(i)->name;
        // Download-only elements (list files, help documents, content rows)
        // have no presence rule and nothing to remove.
        if (findDetectionRow(name) && !hasRemovalMethod(name) && !isKnownAsNotRemovable(name))
            missing.push_back(name);
    }
}

TEST(RemovalCoverage, EveryDetectedComponentOfEveryPageHasARemovalMethod) {
    std::unique_ptr<kdDSheetPages> pages = createInstallerPages();
    std::vector<std::string> missing;
    int elements = 0;
    for (kdDPropertyPageBase* page : pages->all()) {
        if (!page->elementsInitialised) {
            page->initInstallationElements();
            page->elementsInitialised = true;
        }
        if (page->installManager)
            elements += static_cast<int>(page->installManager->count());
        collectUnremovable(page->installManager.get(), missing);
    }
    for (hnInstallManagerBase* manager : pages->extraManagers())
        collectUnremovable(manager, missing);
    EXPECT_GT(elements, 0) << "the pages built their elements";
    std::string list;
    for (const std::string& name : missing)
        list += "\n  " + name;
    EXPECT_TRUE(missing.empty()) << "without a removal method:" << list;
}

} // namespace
