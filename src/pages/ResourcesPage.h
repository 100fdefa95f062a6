#pragma once
#include <string>

#include "pages/CataloguePage.h"

// Online resources of the installed version: links and pictures in tabs.
class kdDInstallOrvantoResourcesDynamic : public kdDCataloguePageBase {
public:
    explicit kdDInstallOrvantoResourcesDynamic(const std::string& title);

    bool isHiddenInExtensionsOnlyMode() override { return false; }
    // One element per picture of the cached list (see prepareContent); works
    // without a window. -1 without manager or list file.
    int buildContentElements(hnInstallManagerBase* manager) override;

protected:
    // Fetches the pictures that the list names, so the tabs can show them.
    void prepareContent(const std::string& listPath) override;
    bool onInitDialog() override;
    bool onSetActive() override;

private:
    // Fills `manager` with the pictures that the list names.
    void buildPictureElements(const std::string& listPath, hnInstallManagerBase& manager);
};
