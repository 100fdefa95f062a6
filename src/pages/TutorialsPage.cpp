#include "pages/TutorialsPage.h"

#include "app/DebugOut.h"
#include "app/FileHelpers.h"
#include "install/InstallManager.h"
#include "pages_ids.h"

namespace {
const char* const kNextHint =
    "Please click on the 'Next' button to configure the image processing options.\nOr "
    "click on the 'Finish' button to complete the installation.";
const int32_t kTutorialSize = 0x400000;
} // namespace

kdDInstallTutorials::kdDInstallTutorials(const std::string& title)
    : kdDCataloguePageBase(IDD_TUTORIALS, title, "Orvanto Vision Tutorials", tutorialsVariant()) {
    uiDlgName = "Tutorials";
    statusText = kNextHint;
}

bool kdDInstallTutorials::onSetActive() {
    statusText = kNextHint;
    return kdDCataloguePageBase::onSetActive();
}

int kdDInstallTutorials::buildContentElements(hnInstallManagerBase* manager) {
    hnInstallationElement* listElement = installManager->item(0);
    if (!manager || !listElement)
        return -1;
    std::string path = localListPath(*listElement);
    std::vector<std::string> sections;
    if (path.empty() || !readIniSectionNames(path, sections))
        return -1;
    const CatalogueSource& source = catalogueSource(CatalogueKind::Tutorials);
    std::string folder = cacheFolder(source.cacheFolder);
    std::vector<std::unique_ptr<hnInstallationElement>> built;
    for (const std::string& section : sections) {
        std::string url = readListedAddress(path, section, "URL"), fileName;
        if (!fileNameOfUrl(url, fileName))
            continue;
        if (!isPlainNameInFolder(folder + "\\", fileName)) {
            hnDebugOutF(
                "kdDInstallTutorials::buildContentElements - Unsafe file name in the list, '%s' skipped\n",
                section.c_str());
            continue;
        }
        built.emplace_back(new hnInstallationElement(
            readIniValue(path, section, "Caption").c_str(), url.c_str(), fileName.c_str(), "", folder.c_str(),
            false, kTutorialSize, false, &contentNameText, &contentStatusText, &contentProgressText,
            source.category));
    }
    std::vector<hnInstallationElement*> pointers;
    for (auto& element : built)
        pointers.push_back(element.get());
    manager->clearElements();
    if (!pointers.empty())
        manager->setElements(static_cast<unsigned>(pointers.size()), pointers.data());
    return 1;
}
