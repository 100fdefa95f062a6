#include "pages/Utilities2Page.h"

#include "download/InstallationElement.h"
#include "pages_ids.h"

namespace {

const char* const kCategory = "Optional Utility Software";
const char* const kServer = "/orvanto/files/InstallerDownloads/_Installers3rdParty/";

const hnBitnessVariant kTightVnc = {"TightVNC 2.6.4 - 64 bit", "TightVNC 2.6.4 - 32 bit",
                                    "tightvnc-2.6.4-setup-64bit.msi", "tightvnc-2.6.4-setup-32bit.msi"};
const hnBitnessVariant kTortoiseHg = {"TortoiseHg 3.6.3 (x64)", "TortoiseHg 3.6.3 (x86)",
                                      "tortoisehg-3.6.3-x64.msi", "tortoisehg-3.6.3-x86.msi"};

hnOptionalComponent definition(const hnBitnessVariant& v, bool is64Bit, bool own, const char* switches,
                               const char* path, bool isMsiPackage, const char* cache = cache::kUtilities) {
    return variantComponent(v, is64Bit, own, switches, (std::string(kServer) + path).c_str(), isMsiPackage,
                            cache, kCategory);
}
hnOptionalComponent single(const char* name, const char* file, const char* switches, const char* path,
                           bool isMsiPackage = false, const char* cache = cache::kUtilities) {
    return definition({name, nullptr, file, nullptr}, false, true, switches, path, isMsiPackage, cache);
}

const int kPowerToysControls[] = {IDC_UTIL2_POWERTOYS_GROUP,   IDC_UTIL2_POWERTOYS_NAME,
                                  IDC_UTIL2_POWERTOYS_STATUS,  IDC_UTIL2_POWERTOYS_PROGRESS,
                                  IDC_UTIL2_POWERTOYS_INSTALL, IDC_UTIL2_POWERTOYS_REMOVE};

std::vector<hnOptionalRow> pageRows() {
    return {
        {0, IDC_UTIL2_TIGHTVNC_NAME, IDC_UTIL2_TIGHTVNC_STATUS, IDC_UTIL2_TIGHTVNC_PROGRESS,
         IDC_UTIL2_TIGHTVNC_INSTALL, IDC_UTIL2_TIGHTVNC_REMOVE},
        {2, IDC_UTIL2_SPECCY_NAME, IDC_UTIL2_SPECCY_STATUS, IDC_UTIL2_SPECCY_PROGRESS,
         IDC_UTIL2_SPECCY_INSTALL, IDC_UTIL2_SPECCY_REMOVE},
        {4, IDC_UTIL2_ADOBE_NAME, IDC_UTIL2_ADOBE_STATUS, IDC_UTIL2_ADOBE_PROGRESS, IDC_UTIL2_ADOBE_INSTALL,
         0},
        {5, IDC_UTIL2_TERATERM_NAME, IDC_UTIL2_TERATERM_STATUS, IDC_UTIL2_TERATERM_PROGRESS,
         IDC_UTIL2_TERATERM_INSTALL, IDC_UTIL2_TERATERM_REMOVE},
        {6, IDC_UTIL2_TORTOISE_NAME, IDC_UTIL2_TORTOISE_STATUS, IDC_UTIL2_TORTOISE_PROGRESS,
         IDC_UTIL2_TORTOISE_INSTALL, IDC_UTIL2_TORTOISE_REMOVE},
        {9, IDC_UTIL2_POWERTOYS_NAME, IDC_UTIL2_POWERTOYS_STATUS, IDC_UTIL2_POWERTOYS_PROGRESS,
         IDC_UTIL2_POWERTOYS_INSTALL, IDC_UTIL2_POWERTOYS_REMOVE},
    };
}

} // namespace

std::vector<hnOptionalComponent> kdDInstallUtilities2::elements(const hnSystemFacts& facts) {
    bool x64 = facts.is64Bit;
    return {
        definition(kTightVnc, x64, true, "/passive", "TightVNC/", true),
        single("Orvanto TeamViewer 13 Host", "Orvanto_TeamViewer_13_Host_Setup.exe", " /passive",
               "TeamViewer/"),
        single("Speccy v1.25", "spsetup125.exe", " /passive", "Piriform/", false, cache::kThirdParty),
        definition(kTightVnc, x64, false, "/passive", "TightVNC/", true),
        single("Adobe Acrobat Reader", "AdbeRdr11000_en_US.exe", " /passive ", "AdobeAcrobatReader/"),
        single("Tera Term 4.88", "teraterm-4.88.exe", " ", "TeraTerm/"),
        definition(kTortoiseHg, x64, true, " ", "TortoiseHg/", true),
        definition(kTortoiseHg, x64, false, " ", "TortoiseHg/", true),
        single("Orvanto TeamViewer 8 Host", "Orvanto_TeamViewer_8_Host_Setup.exe", " /passive",
               "TeamViewer/"),
        single("PowerToys (Preview) 0.20.1", "PowerToysSetup-0.20.1-x64.msi", "", "Microsoft/", true,
               cache::kThirdParty),
    };
}

kdDInstallUtilities2::kdDInstallUtilities2(const std::string& title, const hnSystemFacts& facts)
    : kdDOptionalPageBase(IDD_UTILITIES2, title, "Optional Utility Software II",
                          "Please click on the 'Next' button to access the Halvenor Utilities.\nOr click on "
                          "the 'Finish' button to complete the installation.",
                          elements(facts), pageRows(), {"Uninstall", "Download Installables", false}),
      is64Bit(facts.is64Bit) {
    addSelector(
        {"kdDInstallUtilities2",
         "processNewTeamViewerHostInstallation",
         "installNewTeamViewerHost",
         IDC_UTIL2_TEAMVIEWER_COMBO,
         IDC_UTIL2_TEAMVIEWER_STATUS,
         {8, 1},
         {8, 1},
         {},
         "Only one of the TeamViewer hosts can be installed on a computer.\n\nDo you want to un-install "
         "existing TeamViewer host and install %s?\n\nPlease click on 'Yes' button to proceed and install "
         "%s.\nPlease click on 'No' to abort and to continue using existing TeamViewer host.\n",
         "TeamViewer Host"});
}

bool kdDInstallUtilities2::rowShown(const hnOptionalRow& row) const {
    return row.element != kPowerToysElement || is64Bit;
}

int kdDInstallUtilities2::setupControls() {
    kdDOptionalPageBase::setupControls();
    for (int id : kPowerToysControls)
        ::ShowWindow(item(id), is64Bit ? SW_SHOW : SW_HIDE);
    return 1;
}

void kdDInstallUtilities2::afterActivation() {
    kdDOptionalPageBase::afterActivation();
    showRepairWarning();
}
