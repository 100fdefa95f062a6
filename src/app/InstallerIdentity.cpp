// The name and published file name of this installer, alone in their file:
// a build of another version (the demo repository's newer stand-in) links
// its own definitions instead of these.
#include "app/InstallerServices.h"

const char* const kInstallerCaption = "Orvanto Vision Software XV 774 Installer";
const char* const kInstallerFileName = "OrvantoVisionSoftware_15_0_0_774_Installer_200831.exe";
