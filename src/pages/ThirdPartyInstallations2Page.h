#pragma once
#include <string>
#include <vector>

#include "pages/OptionalPageBase.h"

// Camera drivers of outside vendors, second page: the Basler pylon and the
// AVT version selectors; no rows of their own.
class kdDInstall3rdPartyInstallations2 : public kdDOptionalPageBase {
public:
    explicit kdDInstall3rdPartyInstallations2(const std::string& title,
                                              const hnSystemFacts& facts = querySystemFacts());

    static std::vector<hnOptionalComponent> elements(const hnSystemFacts& facts);

    int processNewBaslerPylonSDKInstallation() { return pylon().processNewSelection(); }
    int installNewBaslerPylonSDK() { return pylon().installNewSelection(); }
    int processNewAVTPackageInstallation() { return avt().processNewSelection(); }
    int installNewAVTPackage() { return avt().installNewSelection(); }
    hnVersionSelector& pylon() { return *selector(0); }
    hnVersionSelector& avt() { return *selector(1); }

    int setupControls() override;

    const bool is64Bit; // chooses the pylon entries

private:
    hnImageStatic networkAdvice_;
};
