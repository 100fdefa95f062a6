// Entry point of every test program: the application object exists for the
// whole run, as it does in the installer.
#include <gtest/gtest.h>

#include "main/InstallerApp.h"
#include "support/TestSupport.h"

int main(int argc, char** argv) {
    COrvantoKadrixSDKInstallerApp app;
    ::testing::InitGoogleTest(&argc, argv);
    int result = RUN_ALL_TESTS();
    // A failure is explained by what the session did: its log goes beside the
    // results (the programs run in the build folder).
    char folder[MAX_PATH] = {};
    if (result != 0 && ::GetCurrentDirectoryA(MAX_PATH, folder))
        keepSessionLog(std::string(folder) + "\\test-results");
    app.ExitInstance();
    return result;
}
