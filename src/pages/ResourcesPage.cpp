#include "pages/ResourcesPage.h"

#include "app/FileHelpers.h"
#include "app/InstallerServices.h"
#include "catalogue/Hyperlink.h"
#include "install/InstallManager.h"
#include "pages_ids.h"

namespace {
const int32_t kPictureSize = 0x400000;
}

kdDInstallOrvantoResourcesDynamic::kdDInstallOrvantoResourcesDynamic(const std::string& title)
    : kdDCataloguePageBase(IDD_RESOURCES, title, "Orvanto Vision Resources", resourcesVariant()) {
    uiDlgName = "Resources";
    statusText = "Please click on the 'Next' button to view 'Readme Notes'.";
}

bool kdDInstallOrvantoResourcesDynamic::onInitDialog() {
    kdDPropertyPageBase::onInitDialog();
    refreshCatalogue(false, false);
    return true;
}

bool kdDInstallOrvantoResourcesDynamic::onSetActive() {
    setWizardButtons(PSWIZB_BACK | PSWIZB_NEXT);
    setCancelText("Cancel");
    bool writable = installerServices() && installerServices()->applicationFolderWritable();
    ::ShowWindow(refreshButton.hwnd(), writable ? SW_SHOW : SW_HIDE);
    return kdDPropertyPageBase::onSetActive();
}

void kdDInstallOrvantoResourcesDynamic::prepareContent(const std::string& listPath) {
    hnInstallManagerBase manager;
    buildPictureElements(listPath, manager);
    if (manager.count() == 0)
        return;
    bool skipAllErrors = false;
    runDownloadAllOf(&skipAllErrors, &manager);
}

int kdDInstallOrvantoResourcesDynamic::buildContentElements(hnInstallManagerBase* manager) {
    hnInstallationElement* listElement = installManager->item(0);
    if (!manager || !listElement)
        return -1;
    std::string path = localListPath(*listElement);
    if (path.empty() || !fileExists(path))
        return -1;
    buildPictureElements(path, *manager);
    return 1;
}

void kdDInstallOrvantoResourcesDynamic::buildPictureElements(const std::string& listPath,
                                                             hnInstallManagerBase& manager) {
    std::vector<std::string> sections;
    readIniSectionNames(listPath, sections);
    const CatalogueSource& source = catalogueSource(CatalogueKind::Resources);
    std::string folder = cacheFolder(source.cacheFolder);
    std::vector<std::unique_ptr<hnInstallationElement>> built;
    for (const std::string& section : sections) {
        std::string picture = readListedAddress(listPath, section, "ImageURL"), fileName;
        // Pictures come from the server: web addresses and plain names only.
        if (!isDownloadedResource(picture) || !isWebLink(picture) || !fileNameOfUrl(picture, fileName) ||
            !isPlainNameInFolder(folder + "\\", fileName))
            continue;
        built.emplace_back(new hnInstallationElement(
            readIniValue(listPath, section, "Name").c_str(), picture.c_str(), fileName.c_str(), "",
            folder.c_str(), false, kPictureSize, false, &contentNameText, &contentStatusText,
            &contentProgressText, source.category));
    }
    std::vector<hnInstallationElement*> pointers;
    for (auto& element : built)
        pointers.push_back(element.get());
    manager.clearElements();
    if (!pointers.empty())
        manager.setElements(static_cast<unsigned>(pointers.size()), pointers.data());
}
