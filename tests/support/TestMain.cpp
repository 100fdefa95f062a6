// Entry point of every test program: the application object exists for the
// whole run, as it does in the installer.
#include <gtest/gtest.h>

#include "main/InstallerApp.h"

int main(int argc, char** argv) {
    COrvantoKadrixSDKInstallerApp app;
    ::testing::InitGoogleTest(&argc, argv);
    int result = RUN_ALL_TESTS();
    app.ExitInstance();
    return result;
}
