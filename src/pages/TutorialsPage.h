#pragma once
#include <string>

#include "pages/CataloguePage.h"

// Tutorials with documents and videos, in tabs.
class kdDInstallTutorials : public kdDCataloguePageBase {
public:
    explicit kdDInstallTutorials(const std::string& title);

    // One element per tutorial of the cached list whose URL names a file.
    int buildContentElements(hnInstallManagerBase* manager) override;

protected:
    bool onSetActive() override;
};
