#include "pages/ThirdPartyInstallationsPage.h"

#include "download/InstallationElement.h"
#include "pages_ids.h"

namespace {

const char* const kCategory = "3rd Party Softwares";
const char* const kServer = "/orvanto/files/InstallerDownloads/_Installers3rdParty/";
const char* const kPassive = " /passive";

const hnBitnessVariant kUbCore = {"ubCore 6.00 Pro 1394a - 1394b drivers - 64 bit",
                                  "ubCore 6.00 Pro 1394a - 1394b drivers - 32 bit", "ubCorePro64_112912.exe",
                                  "ubCorePro32_112912.exe"};
const hnBitnessVariant kFireI = {"Fire-i Application 4.0 - 64 bit", "Fire-i Application 4.0 - 32 bit",
                                 "FireiSetupX64_112912.exe", "FireiSetupX86_112912.exe"};

// The three ZCL packages; the short system name picks the row's.
struct ZclPackage {
    const char* systemName; // null: any other system
    hnBitnessVariant variant;
    const char* path;
};
const ZclPackage kZcl[] = {
    {nullptr,
     {"ZCL for SONYGigECAM 2.12 - 64 bit", "ZCL for SONYGigECAM 2.12 - 32 bit",
      "SonyZCL_2.12_setup_x64_RC1.exe", "SonyZCL_2.12_setup_x86_RC1.exe"},
     "SonyZCL/2.12/"},
    {"Windows 7",
     {"ZCL for SONYGigECAM 2.12.2 - Windows 7 (64 bit)", "ZCL for SONYGigECAM 2.12.2 - Windows 7 (32 bit)",
      "Sony_ZCL_SDK_v2.12.2_Win7_64bit.exe", "Sony_ZCL_SDK_v2.12.2_Win7_32bit.exe"},
     "SonyZCL/2.12.2/"},
    {"Windows 8",
     {"ZCL for SONYGigECAM 2.12.2 - Windows 8 (64 bit)", "ZCL for SONYGigECAM 2.12.2 - Windows 8 (32 bit)",
      "Sony_ZCL_SDK_v2.12.2_Win8_64bit.exe", "Sony_ZCL_SDK_v2.12.2_Win8_32bit.exe"},
     "SonyZCL/2.12.2/"},
};

const ZclPackage& ownZcl(const std::string& shortName) {
    for (const ZclPackage& package : kZcl)
        if (package.systemName && shortName == package.systemName)
            return package;
    return kZcl[0];
}

const char* const kMvsNames[][2] = {
    {"MVS 2.2.3", "MVS_STD_2.2.3_170728.exe"}, {"MVS 2.3.1", "MVS_STD_2.3.1_171129.exe"},
    {"MVS 2.4.0", "MVS_STD_2.4.0_180329.exe"}, {"MVS 3.0.0", "MVS_STD_3.0.0_180723.exe"},
    {"MVS 3.1.0", "MVS_STD_3.1.0_181229.exe"}, {"MVS 3.2.0", "MVS_SDK_V3_2_0_VC90_Runtime_190626.exe"},
};

hnOptionalComponent single(const char* name, const char* file, const char* switches, const char* path) {
    return variantComponent({name, nullptr, file, nullptr}, false, true, switches,
                            (std::string(kServer) + path).c_str(), false, cache::kThirdParty, kCategory);
}

hnOptionalComponent variant(const hnBitnessVariant& v, bool is64Bit, bool own, const char* path) {
    return variantComponent(v, is64Bit, own, kPassive, (std::string(kServer) + path).c_str(), false,
                            cache::kThirdParty, kCategory);
}

std::vector<hnOptionalRow> pageRows() {
    return {
        {0, IDC_CAM1_UBCORE_NAME, IDC_CAM1_UBCORE_STATUS, IDC_CAM1_UBCORE_PROGRESS, IDC_CAM1_UBCORE_INSTALL,
         IDC_CAM1_UBCORE_REMOVE, IDC_CAM1_UBCORE_ADVICE,
         "ubCore - Reliable camera driver for 32bit and 64bit windows support for firewire cameras using "
         "Unibrain Stack"},
        {1, IDC_CAM1_FIREI_NAME, IDC_CAM1_FIREI_STATUS, IDC_CAM1_FIREI_PROGRESS, IDC_CAM1_FIREI_INSTALL,
         IDC_CAM1_FIREI_REMOVE, IDC_CAM1_FIREI_ADVICE,
         "Fire-i - DirectShow Camera Driver for 32bit and 64bit windows support for firewire cameras"},
        {2, IDC_CAM1_ZCL_NAME, IDC_CAM1_ZCL_STATUS, IDC_CAM1_ZCL_PROGRESS, IDC_CAM1_ZCL_INSTALL,
         IDC_CAM1_ZCL_REMOVE, IDC_CAM1_ZCL_ADVICE,
         "Sony ZCL is used with Sony XCG camera 32 bit and 64 bit operating system"},
        {3, IDC_CAM1_ICCAPTURE_NAME, IDC_CAM1_ICCAPTURE_STATUS, IDC_CAM1_ICCAPTURE_PROGRESS,
         IDC_CAM1_ICCAPTURE_INSTALL, IDC_CAM1_ICCAPTURE_REMOVE},
        {4, IDC_CAM1_DRIVER_NAME, 0, 0, IDC_CAM1_DRIVER_INSTALL, 0, IDC_CAM1_DRIVER_ADVICE, nullptr, true},
        {16, IDC_CAM1_ICIMAGING_NAME, IDC_CAM1_ICIMAGING_STATUS, IDC_CAM1_ICIMAGING_PROGRESS,
         IDC_CAM1_ICIMAGING_INSTALL, IDC_CAM1_ICIMAGING_REMOVE},
    };
}

} // namespace

std::vector<hnOptionalComponent> kdDInstall3rdPartyInstallations::elements(const hnSystemFacts& facts) {
    bool x64 = facts.is64Bit;
    const ZclPackage& zcl = ownZcl(facts.shortName);
    std::vector<hnOptionalComponent> components = {
        variant(kUbCore, x64, true, "ubCore/"),
        variant(kFireI, x64, true, "Firei/"),
        variant(zcl.variant, x64, true, zcl.path),
        single("Imaging Source - IC Capture 2.3", "setup_iccapture.en_US.exe", kPassive, "ImagingSource/"),
        single("Imaging Source Camera Driver", "usbcam_2.6.5_tis_02.zip", "", "ImagingSource/"),
        variant(kUbCore, x64, false, "ubCore/"),
        variant(kFireI, x64, false, "Firei/"),
    };
    for (const ZclPackage& package : kZcl) // elements 7 to 9: the other bitness of each package
        components.push_back(variant(package.variant, x64, false, package.path));
    for (const auto& mvs : kMvsNames)
        components.push_back(single(mvs[0], mvs[1], " ", "Hikvision/"));
    components.push_back(single("IC Imaging Control 3.5 C++ Class Library V3.5.5.3963",
                                "ic35_cpp_setup_3.5.5.3963.exe", " ", "ImagingSource/"));
    return components;
}

kdDInstall3rdPartyInstallations::kdDInstall3rdPartyInstallations(const std::string& title,
                                                                 const hnSystemFacts& facts)
    : kdDOptionalPageBase(IDD_THIRD_PARTY, title, "3rd Party Camera Drivers - 1",
                          "Please click on the 'Next' button to browse and install the 3rd party camera "
                          "drivers - 2.\nOr click on the 'Finish' button to complete the installation.",
                          elements(facts), pageRows(), {"Remove", "Download 3rd Party Installers", true}) {
    addSelector({"kdDInstall3rdPartyInstallations",
                 "processNewMVTSelInstallation",
                 "installNewMVTSel",
                 IDC_CAM1_MVS_COMBO,
                 IDC_CAM1_MVS_STATUS,
                 {10, 11, 12, 13, 14, 15},
                 {15, 14, 13, 12, 11, 10},
                 {},
                 "Only one of the MVS versions can be installed on a computer.\n\nDo you want to un-install "
                 "existing MVS version and install %s?\n\nPlease click on 'Yes' button to proceed and "
                 "install %s.\nPlease click on 'No' to abort and to continue using existing MVS version.\n",
                 "MVS Version"});
}
