#pragma once
// What the installer knows about one release channel of its own newer
// versions. Construction only prepares the private temp folder; the check of
// the server fills the rest.
#include <atomic>
#include <string>
#include <windows.h>

class CUpgradeInfo {
public:
    CUpgradeInfo(const std::string& url, const std::string& fileName);
    // As above with the clock read by the caller (the folder name is the time).
    CUpgradeInfo(const std::string& url, const std::string& fileName, const SYSTEMTIME& now);
    ~CUpgradeInfo();
    CUpgradeInfo(const CUpgradeInfo&) = delete;
    CUpgradeInfo& operator=(const CUpgradeInfo&) = delete;

    // 0 not checked, 1 nothing to offer or failed, 2 newer version. Written
    // last by the checking worker, so a reader that sees 2 sees the fields.
    std::atomic<int> checkState{0};
    std::string latestVersionNumber;
    std::string privateFolder; // empty when it could not be made
    std::string releaseNotesPath;
    std::string currentVersionName;
    std::string latestVersionName;
    std::string infoFileName;
    std::string infoUrl;
    // The beta channel's record: its notes go into the sub-folder "Beta", so
    // that same-named notes of the two channels never meet in a shared folder.
    bool beta = false;

    // Where the private folder is made: the user's temp folder, with
    // "C:\\temp\\" when that cannot be had. Exposed for tests.
    static bool privateFolderBase(std::string& base);
};
