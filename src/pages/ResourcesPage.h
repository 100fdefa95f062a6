#pragma once
#include <string>

#include "pages/CataloguePage.h"

// Online resources of the installed version: links and pictures in tabs.
class kdDInstallOrvantoResourcesDynamic : public kdDCataloguePageBase {
public:
    explicit kdDInstallOrvantoResourcesDynamic(const std::string& title);

    bool isHiddenInExtensionsOnlyMode() override { return false; }

protected:
    // Fetches the pictures that the list names, so the tabs can show them.
    void prepareContent(const std::string& listPath) override;
    bool onInitDialog() override;
    bool onSetActive() override;
};
