// The real installer program, started as a user would start it.
#include <gtest/gtest.h>

#include <set>

#include "app/FileHelpers.h"
#include "main/InstallerApp.h"
#include "app/SystemView.h"
#include "support/TestSupport.h"
#include "support/UiDriver.h"

namespace {

// Upgrade-record folders: 17 digits directly under the temp folder.
std::set<std::string> upgradeFolders() {
    std::string temp;
    hnTempFolder(temp);
    std::set<std::string> found;
    WIN32_FIND_DATAA data;
    HANDLE find = ::FindFirstFileA((temp + "2*").c_str(), &data);
    if (find == INVALID_HANDLE_VALUE)
        return found;
    do {
        std::string name = data.cFileName;
        if ((data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) && name.size() == 17 &&
            name.find_first_not_of("0123456789") == std::string::npos)
            found.insert(name);
    } while (::FindNextFileA(find, &data));
    ::FindClose(find);
    return found;
}

struct EnvironmentValue {
    EnvironmentValue(const char* name, const char* value) : name_(name) { ::SetEnvironmentVariableA(name, value); }
    ~EnvironmentValue() { ::SetEnvironmentVariableA(name_, nullptr); }
    const char* name_;
};

} // namespace

TEST(InstallerRun, SecondCopyIsRefusedAndLeavesTheRunningCopysTempFolderAlone) {
    EnvironmentValue shortWaits("ORVANTO_STARTUP_WAIT_MS", "100");
    std::set<std::string> before = upgradeFolders();

    uidriver::Installer first;
    ASSERT_TRUE(first.start(installerProgramPath()));
    HWND sheet = first.findWindow(kInstallerCaption);
    ASSERT_NE(nullptr, sheet);
    std::set<std::string> during = upgradeFolders();
    EXPECT_GT(during.size(), before.size());

    // Work of the running copy in its private temp folder.
    std::string temp;
    hnTempFolder(temp);
    std::string work = temp + kPrivateTempSubFolder + "\\in-use.whl";
    ASSERT_TRUE(writeTextFile(work, "wheel"));

    uidriver::Installer second;
    ASSERT_TRUE(second.start(installerProgramPath()));
    HWND box = second.findWindow(kInstallerCaption, "#32770");
    ASSERT_NE(nullptr, box);
    EXPECT_EQ("Error: Another instance of the installer is already running. Unable to initiate the second "
              "instance.\n\nPlease close all other instances of the installer application and try again.\n\n",
              uidriver::windowText(::GetDlgItem(box, 0xFFFF)));
    ::PostMessageA(box, WM_COMMAND, IDOK, 0);
    EXPECT_TRUE(second.waitForExit(10000));
    EXPECT_TRUE(fileExists(work));

    // Closing the wizard ends the program and removes its upgrade records.
    ::PostMessageA(sheet, WM_CLOSE, 0, 0);
    EXPECT_TRUE(first.waitForExit(15000));
    std::set<std::string> after = upgradeFolders();
    for (auto& folder : after)
        EXPECT_TRUE(before.count(folder)) << folder << " left behind";
}
