// The demo repository's newer installer: this program built again as
// version 775 (see next_installer.rc). Linked before the program's library,
// these definitions take the place of the shipped ones.
#include "app/InstallerServices.h"

const char* const kInstallerCaption = "Orvanto Vision Software XV 775 Installer";
const char* const kInstallerFileName = "OrvantoVisionSoftware_15_0_0_775_Installer_201015.exe";
