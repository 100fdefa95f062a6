#pragma once
#include <string>
#include <vector>

#include "pages/OptionalPageBase.h"

// Optional utility programs, second page: remote control (with the
// TeamViewer host selector), Speccy, other utilities and, on 64-bit Windows,
// PowerToys.
class kdDInstallUtilities2 : public kdDOptionalPageBase {
public:
    explicit kdDInstallUtilities2(const std::string& title, const hnSystemFacts& facts = querySystemFacts());

    static std::vector<hnOptionalComponent> elements(const hnSystemFacts& facts);

    int setupControls() override;
    bool rowShown(const hnOptionalRow& row) const override;

    int processNewTeamViewerHostInstallation() { return teamViewer().processNewSelection(); }
    int installNewTeamViewerHost() { return teamViewer().installNewSelection(); }
    hnVersionSelector& teamViewer() { return *selector(0); }

    static constexpr int kPowerToysElement = 9;
    const bool is64Bit;

protected:
    void afterActivation() override;
};
