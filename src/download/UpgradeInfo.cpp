#include "download/UpgradeInfo.h"

#include <windows.h>

#include "app/FileHelpers.h"
#include "app/SystemView.h"
#include "app/Text.h"

bool CUpgradeInfo::privateFolderBase(std::string& base) {
    char buffer[512] = {};
    DWORD length = ::GetTempPathA(sizeof(buffer), buffer);
    if (length > 0 && length < sizeof(buffer)) {
        base.assign(buffer, length);
        return true;
    }
    base = "C:\\temp\\";
    return fileExists("C:\\temp") || ::CreateDirectoryA("C:\\temp", nullptr);
}

namespace {
SYSTEMTIME localTimeNow() {
    SYSTEMTIME now;
    ::GetLocalTime(&now);
    return now;
}
} // namespace

CUpgradeInfo::CUpgradeInfo(const std::string& url, const std::string& fileName)
    : CUpgradeInfo(url, fileName, localTimeNow()) {}

CUpgradeInfo::CUpgradeInfo(const std::string& url, const std::string& fileName, const SYSTEMTIME& now)
    : infoFileName(fileName), infoUrl(url) {
    std::string base;
    if (!privateFolderBase(base))
        return;
    std::string folder;
    if (!hnFormat(folder, 512, "%s%.4d%.2d%.2d%.2d%.2d%.2d%.3d", base.c_str(), now.wYear, now.wMonth,
                  now.wDay, now.wHour, now.wMinute, now.wSecond, now.wMilliseconds))
        return;
    if (fileExists(folder))
        deleteFolderTree(folder.c_str(), folder.c_str());
    if (::CreateDirectoryA(folder.c_str(), nullptr) || fileExists(folder))
        privateFolder = folder;
}

CUpgradeInfo::~CUpgradeInfo() {
    if (!privateFolder.empty() && fileExists(privateFolder))
        deleteFolderTree(privateFolder.c_str(), privateFolder.c_str());
}
