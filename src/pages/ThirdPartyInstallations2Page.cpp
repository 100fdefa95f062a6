#include "pages/ThirdPartyInstallations2Page.h"

#include "download/InstallationElement.h"
#include "pages_ids.h"

namespace {

const char* const kCategory = "3rd Party Softwares";
const char* const kBasler = "/orvanto/files/InstallerDownloads/_Installers3rdParty/Basler/";
const char* const kAvt = "/orvanto/files/InstallerDownloads/_Installers3rdParty/AVT/";

struct PylonProduct {
    hnBitnessVariant variant;
    const char* switches;
    bool isMsiPackage;
};
const PylonProduct kPylonProducts[] = {
    {{"Basler pylon SDK 2.3.5.2633 - 64 bit", "Basler pylon SDK 2.3.5.2633 - 32 bit",
      "Basler pylon SDK x64 2.3.5.2633.exe", "Basler pylon SDK x86 2.3.5.2633.exe"},
     " /passive",
     false},
    {{"Basler pylon SDK 3.2.3.3215 - 64 bit", "Basler pylon SDK 3.2.3.3215 - 32 bit",
      "Basler pylon SDK x64 3.2.3.3215.exe", "Basler pylon SDK x86 3.2.3.3215_EN_.exe"},
     " /passive",
     false},
    {{"Basler pylon 4 Runtime 4.0.1.3425 - 64 bit", "Basler pylon 4 Runtime 4.0.1.3425 - 32 bit",
      "pylon 4 Runtime x64 4.0.1.3425.msi", "pylon 4 Runtime x86 4.0.1.3425.msi"},
     "/passive",
     true},
};
const hnBitnessVariant kPylon4Suite = {"Pylon 4 Camera Software Suite 4.2.2.5468 - 64 bit",
                                       "Pylon 4 Camera Software Suite 4.2.2.5468 - 32 bit",
                                       "Basler pylon x64 4.2.2.5468.exe", "Basler pylon x86 4.2.2.5468.exe"};
const char* const kPylonSuites[][2] = {
    {"Pylon 5 Camera Software Suite 5.0.5.8999", "Basler_pylon_5.0.5.8999.exe"},
    {"Pylon 5 Camera Software Suite 5.0.10.10613", "Basler_pylon_5.0.10.10613_Full.exe"},
    {"Pylon 5 Camera Software Suite 5.0.12.11830", "Basler_pylon_5.0.12.11830.exe"},
    {"Pylon 6 Camera Software Suite 6.1.0.19674", "Basler_pylon_6.1.0.19674.exe"},
};

hnOptionalComponent definition(const hnBitnessVariant& v, bool is64Bit, bool own, const char* switches,
                               const char* path, bool isMsiPackage = false) {
    return variantComponent(v, is64Bit, own, switches, path, isMsiPackage, cache::kThirdParty, kCategory);
}

} // namespace

std::vector<hnOptionalComponent> kdDInstall3rdPartyInstallations2::elements(const hnSystemFacts& facts) {
    bool x64 = facts.is64Bit;
    std::vector<hnOptionalComponent> components;
    for (bool own : {true, false}) // 0-2 own, 3-5 other
        for (const PylonProduct& product : kPylonProducts)
            components.push_back(
                definition(product.variant, x64, own, product.switches, kBasler, product.isMsiPackage));
    components.push_back(definition(kPylon4Suite, x64, true, " ", kBasler));
    components.push_back(definition(kPylon4Suite, x64, false, " ", kBasler));
    components.push_back(
        definition({"AVT Universal Package 2.2.0", nullptr, "AVTUniversalPackage_2.2.0.exe", nullptr}, x64,
                   true, " ", kAvt));
    components.push_back(definition({"AVT Fire Package 2.11", nullptr, "AVTFirePackage_2_11.exe", nullptr},
                                    x64, true, " /passive", kAvt));
    for (const auto& suite : kPylonSuites)
        components.push_back(definition({suite[0], nullptr, suite[1], nullptr}, x64, true, " ", kBasler));
    return components;
}

kdDInstall3rdPartyInstallations2::kdDInstall3rdPartyInstallations2(const std::string& title,
                                                                   const hnSystemFacts& facts)
    : kdDOptionalPageBase(IDD_THIRD_PARTY2, title, "3rd Party Camera Drivers - 2",
                          "Please click on the 'Next' button to browse and install the 3rd party IO "
                          "drivers.\nOr click on the 'Finish' button to complete the installation.",
                          elements(facts), {}, {"Remove", "Download 3rd Party Installers - 2", true}),
      is64Bit(facts.is64Bit) {
    // The Windows Installer products of the page's bitness, then the suites.
    addSelector({"kdDInstall3rdPartyInstallations2",
                 "processNewBaslerPylonSDKInstallation",
                 "installNewBaslerPylonSDK",
                 IDC_CAM2_PYLON_COMBO,
                 IDC_CAM2_PYLON_STATUS,
                 {0, 1, 2, 6, 10, 11, 12, 13},
                 {0, 1, 2, 6, 10, 11, 12, 13},
                 {{3, 0}, {4, 1}, {5, 2}, {7, 6}},
                 "Only one of the Basler Pylon SDKs/runtimes can be installed on a computer.\n\nDo you want "
                 "to un-install existing Basler Pylon SDK/runtime and install %s?\n\nPlease click on 'Yes' "
                 "button to proceed and install %s.\nPlease click on 'No' to abort and to continue using "
                 "existing Basler Pylon SDK/runtime.\n",
                 "Basler Pylon SDK"});

    addSelector({"kdDInstall3rdPartyInstallations2",
                 "processNewAVTPackageInstallation",
                 "installNewAVTPackage",
                 IDC_CAM2_AVT_COMBO,
                 IDC_CAM2_AVT_STATUS,
                 {8, 9},
                 {8, 9},
                 {},
                 "Only one of the AVT packages can be installed on a computer.\n\nDo you want to un-install "
                 "existing AVT package and install %s?\n\nPlease click on 'Yes' button to proceed and "
                 "install %s.\nPlease click on 'No' to abort and to continue using existing AVT package.\n",
                 "AVT Package"});
}

int kdDInstall3rdPartyInstallations2::setupControls() {
    kdDOptionalPageBase::setupControls();
    if (networkAdvice_.subclassItem(hwnd(), IDC_CAM2_PYLON_ADVICE))
        addNetworkAdvice(networkAdvice_);
    return 1;
}
