#pragma once
// The background check for a newer version of this installer, one channel
// (release or beta) at a time, and the dialog that offers it.
#include <string>

#include "app/Dialog.h"

class CUpgradeInfo;
class hnInternetStop;

// Results of fetchUpgradeInfo.
constexpr int kUpgradeInfoUnavailable = -7880;  // the INI could not be downloaded
constexpr int kUpgradeNothingNewer = -7881;     // nothing newer, or the INI unusable
constexpr int kUpgradeNotesUnavailable = -7882; // the release notes could not be downloaded

// Downloads the channel's INI and release notes into the record's private
// folder and fills the record: 1 and state 2 when a newer installer is
// offered, otherwise one of the codes above and state 1. `stop` (may be null)
// receives the transfers' handles so the caller can cut them short.
int fetchUpgradeInfo(CUpgradeInfo& info, hnInternetStop* stop = nullptr);

// The section of the server's upgrade-info INI, and its path in the
// record's private folder ("" when the folder is missing or it does not fit).
extern const char* const kUpgradeInfoSection;
std::string upgradeInfoIniPath(const CUpgradeInfo& info);
// One value of the section (buffer of 1024 characters).
std::string readUpgradeInfoValue(const std::string& iniPath, const char* key);

// An installer file name the server may offer: a plain name of this
// installer's family ("OrvantoVisionSoftware_" ... "_Installer_" ... ".exe")
// that is neither the running executable's nor this installer's published name.
bool isOfferableInstallerName(const std::string& fileName);
// "_OrvantoInstallers" of the application folder: where a new installer is
// downloaded; empty when the path cannot be made.
std::string installerFolder(const std::string& applicationFolder);
// The download's final, temporary and backup paths of `fileName` all fit
// below `folder`.
bool installerNameFits(const std::string& folder, const std::string& fileName);

// True when both versions are four numbers and `offered` is lower than the
// running program's file version.
bool isOlderThanRunningVersion(const std::string& offered);

// Dialog 170: the current and the new version and the release notes (rich
// text). It closes itself at once ("Ignore") when the notes file is missing.
class DNewVersionAvailable : public hnDialog {
public:
    DNewVersionAvailable(const std::string& releaseNotesPath, const std::string& currentVersionName,
                         const std::string& newVersionName);

    std::string releaseNotesPath;
    std::string currentVersionName;
    std::string newVersionName;

protected:
    bool onInitDialog() override;
};
