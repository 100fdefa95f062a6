#pragma once
// The wizard sheet: the program's only main window.
#include <windows.h>

class kdDKadrixSDKInstallerSheet {
public:
    kdDKadrixSDKInstallerSheet();
    ~kdDKadrixSDKInstallerSheet();

    // Runs the sheet modally in wizard mode as the application's main window.
    INT_PTR runModal();
};
