#include <windows.h>

#include "main/InstallerApp.h"

// The one application object, made when the program loads.
static COrvantoKadrixSDKInstallerApp theInstallerApp;

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) { return theInstallerApp.run(instance); }
