#pragma once
#include <string>
#include <vector>

#include "pages/OptionalPageBase.h"

// Camera drivers of outside vendors, first page: Unibrain, Sony ZCL and
// Imaging Source rows, and the MVS version selector.
class kdDInstall3rdPartyInstallations : public kdDOptionalPageBase {
public:
    explicit kdDInstall3rdPartyInstallations(const std::string& title,
                                             const hnSystemFacts& facts = querySystemFacts());

    // The page's 17 elements on a system with these answers.
    static std::vector<hnOptionalComponent> elements(const hnSystemFacts& facts);

    int processNewMVTSelInstallation() { return mvs().processNewSelection(); }
    int installNewMVTSel() { return mvs().installNewSelection(); }
    hnVersionSelector& mvs() { return *selector(0); }

    static constexpr int kFirstMvsElement = 10;
};
