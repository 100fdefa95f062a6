#pragma once
#include <set>
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
    // The pictures the list names are on their way; their buttons show the
    // emblem until then.
    bool fetchingPictures() const { return pictures_.fetching(); }

    static constexpr UINT kPicturesAnswered = hnFreshList::kAnsweredMessage + 1;

protected:
    // Starts fetching the pictures that the list names and that are not
    // cached yet, on a worker; the tabs show them once they have arrived.
    void prepareContent(const std::string& listPath) override;
    bool onSetActive() override;
    bool onMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;
    bool onKillActive() override;
    bool onQueryCancel() override;
    void onDestroy() override;

private:
    // Fills `manager` with the pictures that the list names.
    void buildPictureElements(const std::string& listPath, hnInstallManagerBase& manager);
    // Ends a picture fetch on its way; what it did not bring is fetched again
    // at the next activation.
    void stopPictures();

    hnFreshList pictures_{"kdDInstallOrvantoResourcesDynamic", kPicturesAnswered};
    // Addresses fetched in this window, so that one the server fails is not
    // asked for at every rebuild.
    std::set<std::string> picturesTried_;
};
