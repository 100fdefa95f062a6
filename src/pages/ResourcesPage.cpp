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

bool kdDInstallOrvantoResourcesDynamic::onSetActive() {
    bool result = kdDCataloguePageBase::onSetActive();
    setCancelText("Cancel");
    return result;
}

void kdDInstallOrvantoResourcesDynamic::prepareContent(const std::string& listPath) {
    // Without a window nothing shows them; one fetch at a time, the next
    // rebuild asks for what a newer list added.
    if (!hwnd() || pictures_.fetching())
        return;
    hnInstallManagerBase manager;
    buildPictureElements(listPath, manager);
    std::vector<hnFreshFile> files;
    for (unsigned i = 0; i < manager.count(); ++i) {
        const hnInstallationElement& element = *manager.item(i);
        if (picturesTried_.insert(element.url).second)
            files.push_back({element.url, element.downloadFolder, element.fileName});
    }
    if (!files.empty())
        pictures_.startFiles(hwnd(), std::move(files));
}

bool kdDInstallOrvantoResourcesDynamic::onMessage(UINT message, WPARAM wParam, LPARAM lParam,
                                                  LRESULT& result) {
    if (message == kPicturesAnswered) {
        if (pictures_.take(wParam) && pictures_.adopt())
            showListWhenFree();
        result = 0;
        return true;
    }
    return kdDCataloguePageBase::onMessage(message, wParam, lParam, result);
}

void kdDInstallOrvantoResourcesDynamic::stopPictures() {
    if (pictures_.fetching())
        picturesTried_.clear();
    pictures_.stop();
}

bool kdDInstallOrvantoResourcesDynamic::onKillActive() {
    stopPictures();
    return kdDCataloguePageBase::onKillActive();
}

bool kdDInstallOrvantoResourcesDynamic::onQueryCancel() {
    stopPictures();
    return kdDCataloguePageBase::onQueryCancel();
}

void kdDInstallOrvantoResourcesDynamic::onDestroy() {
    stopPictures();
    kdDCataloguePageBase::onDestroy();
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
