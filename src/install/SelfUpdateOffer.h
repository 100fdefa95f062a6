#pragma once
// Offering a newer installer that the background check found: the release
// notes, the download into "_OrvantoInstallers" and the hand-over to the
// sheet, which moves it beside this program and starts it.
class CUpgradeInfo;

// 1 when the new installer was downloaded and handed over, else -1.
int offerUpgrade(CUpgradeInfo& info);

// Downloads the installer the record's INI names and hands it over (message
// 0x407 to the main window); false when nothing was handed over.
bool downloadNewInstaller(CUpgradeInfo& info);

// The sheet's message that starts the hand-over.
constexpr unsigned kMsgHandOverToNewInstaller = 0x407;
