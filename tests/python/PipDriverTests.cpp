// The pip drivers against the stand-in pip: installation with the self-upgrade,
// removal, the visible repeat and the installed-version reader.
#include <gtest/gtest.h>

#include <windows.h>

#include "app/AppBase.h"
#include "app/FileHelpers.h"
#include "install/CheckInstallations.h"
#include "process/SystemInfo.h"
#include "python/IntegrationSupport.h"
#include "python/Python27Functions.h"
#include "python/Python36Functions.h"
#include "support/TestSupport.h"

namespace {

using F27 = hnPyhton27InstallFunctions;
using F36 = hnPyhton36InstallFunctions;

std::size_t count(const std::string& text, const std::string& part) {
    std::size_t found = 0;
    for (std::size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1))
        ++found;
    return found;
}

class PipDrivers : public ::testing::Test {
protected:
    std::string wheel(const std::string& name, const std::string& content = "wheel") {
        std::string path = files.file(name);
        writeTextFile(path, content);
        return path;
    }
    std::string calls27() const { return readTextFile(python27.folder() + "Scripts\\calls.txt"); }
    std::string version27(const char* package, bool* found) {
        std::string version = "stale";
        EXPECT_TRUE(F27::checkPy27ModuleWhlInstalledVersion(&version, package, found));
        return version;
    }

    ScratchFolder files;
    FakeInterpreter python27{"2.7"};
    ScriptedPrompter prompter;
};

// The project name pip shows, not the wheel's file stem; source archives
// too; a newer file replaces the version there; removal leaves nothing.
TEST_F(PipDrivers, InstallUpgradesPipFirstAndReplacesTheVersionThere) {
    python27.setPackages({{"scikit-learn", "0.19.0"}});
    std::string learn = wheel("scikit_learn-0.20.3-cp27-cp27m-win32.whl");
    ASSERT_TRUE(
        F27::installPy27ModuleWhlWithPipUpgrade(nullptr, learn.c_str(), "scikit-learn", "0.20.3", true));
    std::string calls = calls27();
    ASSERT_NE(calls.find("-m pip install --upgrade pip"), std::string::npos);
    EXPECT_LT(calls.find("--upgrade pip"), calls.find("install " + learn)) << calls;
    bool found = false;
    EXPECT_EQ(version27("scikit_learn", &found), "0.20.3");
    EXPECT_TRUE(found);
    EXPECT_TRUE(hnCheckInstallations::checkPy27ModuleWhlInstallation("scikit-learn"));

    std::string paho = wheel("paho-mqtt-1.4.0.tar.gz");
    EXPECT_TRUE(F27::installPy27ModuleWhl(nullptr, paho.c_str(), "paho-mqtt", "1.4.0", true));
    EXPECT_EQ(version27("paho-mqtt", &found), "1.4.0");

    EXPECT_TRUE(F27::uninstallPy27ModuleWhl("paho-mqtt", "paho-mqtt", true));
    EXPECT_EQ(version27("paho-mqtt", &found), "");
    EXPECT_FALSE(found);
    EXPECT_EQ(count(calls27(), "uninstall paho-mqtt -y"), 1u) << "removed: no visible repeat";
    EXPECT_TRUE(prompter.records.empty());

    // Each silent run is in the session log like every other started program.
    std::string log = readTextFile(hnAppBase::current()->sessionLog().path());
    std::string install = "\"" + python27.folder() + "Scripts\\pip.exe\" install \"" + paho + "\"";
    std::string removal = "\"" + python27.folder() + "Scripts\\pip.exe\" uninstall \"paho-mqtt\" -y";
    for (const std::string& run : {install, removal}) {
        EXPECT_NE(log.find("Program: started " + run + "\r\n"), std::string::npos) << run;
        EXPECT_NE(log.find("Program: " + run + " ended with exit code 0\r\n"), std::string::npos) << run;
    }
}

// A rejected wheel: silently it counts as installed; with "Stop on Package
// Errors" the console opens for it and waits whatever pip's exit code.
TEST_F(PipDrivers, RejectedWheelIsRepeatedInAConsoleThatPausesOnFailure) {
    std::string bad = wheel("six-1.12.0-py2.py3-none-any.whl", "invalid archive");
    LoggingConsole console;
    EXPECT_TRUE(F27::installPy27ModuleWhl(nullptr, bad.c_str(), "six", "1.12.0", false));
    EXPECT_EQ(console.log(), "");
    EXPECT_TRUE(F27::installPy27ModuleWhl(nullptr, bad.c_str(), "six", "1.12.0", true));
    std::string log = console.log();
    EXPECT_NE(log.find("install \"" + bad + "\"&pause\""), std::string::npos) << log;
    EXPECT_EQ(log.find("&&pause"), std::string::npos) << log;
    bool found = true;
    version27("six", &found);
    EXPECT_FALSE(found) << "a bad wheel records nothing";

    // The same for Python 3.6, and for a removal pip leaves in place.
    FakeInterpreter python36("3.6-32");
    EXPECT_TRUE(F36::installPy36ModuleWhl(nullptr, nullptr, bad.c_str(), "six", "1.12.0", true));
    EXPECT_EQ(count(console.log(), "&pause\""), 2u);
    EXPECT_TRUE(prompter.records.empty());
}

// Without windows (/quiet, /passive) nobody sees a console: what pip writes,
// its errors included, is in the session log instead, and no capture file
// stays behind.
TEST_F(PipDrivers, RunsWithoutWindowsLeaveTheirOutputInTheSessionLog) {
    std::string log = hnAppBase::current()->sessionLog().path();
    std::size_t mark = readTextFile(log).size();
    std::string six = wheel("six-1.12.0-py2.py3-none-any.whl");
    std::string bad = wheel("Keras-2.2.4-py2.py3-none-any.whl", "invalid archive");
    hnAppBase::current()->setWindowsHidden(true);
    EXPECT_TRUE(F27::installPy27ModuleWhlWithPipUpgrade(nullptr, six.c_str(), "six", "1.12.0", true));
    F27::installPy27ModuleWhl(nullptr, bad.c_str(), "Keras", "2.2.4", true);
    hnAppBase::current()->setWindowsHidden(false);
    std::string written = readTextFile(log).substr(mark);
    EXPECT_NE(written.find("Program output: Requirement already up-to-date: pip"), std::string::npos)
        << written;
    EXPECT_NE(written.find("Program output: Successfully installed six-1.12.0\r\n"), std::string::npos)
        << written;
    EXPECT_NE(written.find("Program output: ERROR: Keras-2.2.4-py2.py3-none-any.whl is not a valid wheel"),
              std::string::npos)
        << written;
    EXPECT_TRUE(prompter.records.empty());
    // The capture files go with their last handle; wine closes an ended
    // program's handles a moment after its end is signalled.
    char temp[MAX_PATH] = {};
    ASSERT_GT(::GetTempPathA(MAX_PATH, temp), 0u);
    std::string left;
    for (int tries = 0; tries < 50; ++tries) {
        WIN32_FIND_DATAA found = {};
        HANDLE find = ::FindFirstFileA((std::string(temp) + "pip*.tmp").c_str(), &found);
        left = find == INVALID_HANDLE_VALUE ? std::string() : std::string(found.cFileName);
        if (find != INVALID_HANDLE_VALUE)
            ::FindClose(find);
        if (left.empty())
            break;
        ::Sleep(100);
    }
    EXPECT_EQ("", left);

    // With windows the console shows pip itself: nothing is captured.
    mark = readTextFile(log).size();
    EXPECT_TRUE(F27::uninstallPy27ModuleWhl("six", "six", true));
    EXPECT_EQ(readTextFile(log).substr(mark).find("Program output:"), std::string::npos);
}

TEST_F(PipDrivers, MissingTextsAndInterpretersAreReported) {
    DebugCapture debug;
    EXPECT_FALSE(F27::installPy27ModuleWhlWithPipUpgrade(nullptr, nullptr, "six", "1.12.0", true));
    EXPECT_TRUE(
        debug.contains("hnCheckInstallations::installPy27ModuleWhlWithPipUpgrade - NULL pointer 1\n"));
    std::string six = wheel("six-1.12.0-py2.py3-none-any.whl");
    EXPECT_FALSE(F27::installPy27ModuleWhl(nullptr, six.c_str(), "six", nullptr, true));
    ASSERT_EQ(prompter.records.size(), 1u);
    EXPECT_EQ(prompter.records[0].text,
              "Unable to install the target module.\nInternal error 2.\nPlease try again");
    EXPECT_EQ(prompter.records[0].caption, "Error");
    EXPECT_FALSE(F27::uninstallPy27ModuleWhl("six", nullptr, true));
    EXPECT_EQ(prompter.records.back().text,
              "Unable to un-install the target module.\nInternal error 2.\nPlease try again");

    // No Python 3.6: silently only a debug line, visibly also the message.
    prompter.records.clear();
    EXPECT_FALSE(F36::internalInstallPy36ModuleWhl(false, six.c_str(), nullptr));
    EXPECT_TRUE(
        debug.contains("hnPyhton36InstallFunctions::internalInstallPy36ModuleWhl - Unable to get Python 36 "
                       "path\n"));
    EXPECT_TRUE(prompter.records.empty());
    EXPECT_FALSE(F36::internalUninstallPy36ModuleWhl(true, "six", nullptr));
    ASSERT_EQ(prompter.records.size(), 1u);
    EXPECT_EQ(prompter.records[0].text,
              "Unable to un-install the target module.\nUnable to locate Python 3.6 "
              "installation path.\nPlease check Python 3.6 installation and try again.");
}

// The reader on the outputs pip may give.
TEST_F(PipDrivers, InstalledVersionReader) {
    python27.setPackages({{"numpy", "1.16.4+mkl"}});
    bool found = false;
    EXPECT_EQ(version27("NumPy", &found), "1.16.4+mkl");
    EXPECT_TRUE(found);
    // Output beyond what the capture keeps: the version comes first.
    writeTextFile(python27.folder() + "Scripts\\long-output.txt", "3000");
    EXPECT_EQ(version27("numpy", &found), "1.16.4+mkl");
    EXPECT_EQ(version27("six", &found), "");
    EXPECT_FALSE(found);

    std::string fixed = python27.folder() + "Scripts\\show-output.txt";
    writeTextFile(fixed, "Name: six\r\nVersion: 1.12.0");
    EXPECT_EQ(version27("six", &found), "1.12.0") << "the whole version without a line break after it";
    writeTextFile(fixed, "Name: six\nVersion: 1.12.0\nSummary: x\n");
    EXPECT_EQ(version27("six", &found), "1.12.0");
    writeTextFile(fixed, "Name: six\r\nVersion: \r\n");
    DebugCapture debug;
    std::string version;
    EXPECT_FALSE(F27::checkPy27ModuleWhlInstalledVersion(&version, "six", &found));
    EXPECT_TRUE(
        debug.contains("hnCheckInstallations::checkPy27ModuleWhlInstalledVersion - Invalid string length\n"));
    EXPECT_FALSE(F27::checkPy27ModuleWhlInstalledVersion(&version, "six", nullptr));
    EXPECT_TRUE(
        debug.contains("hnCheckInstallations::checkPy27ModuleWhlInstalledVersion - NULL pointer 2\n"));
}

// Python 3.6 pyserial: the old setup's registered uninstaller and the pip
// package both go.
TEST_F(PipDrivers, Python36PyserialRemovalTakesTheOldSetupAndThePackage) {
    FakeInterpreter python36("3.6-32");
    python36.setPackages({{"pyserial", "3.4"}, {"opencv-python", "4.2.0.34"}});
    RegistryState registry;
    std::string log = files.file("legacy.txt");
    std::string key = "pyserial-py3.6";
    registry.setUninstallValue(HKEY_LOCAL_MACHINE, key, "UninstallString",
                               "\"" + toolsFolder() +
                                   "\\recorder.exe\" -u \"C:\\Python36\\pyserial-wininst.log\"");
    ::SetEnvironmentVariableA("ORVANTO_RECORD_FILE", log.c_str());
    EXPECT_TRUE(F36::isPy36PyserialDuplicated(nullptr));
    EXPECT_TRUE(F36::uninstallPy36Pyserial(true, nullptr));
    ::SetEnvironmentVariableA("ORVANTO_RECORD_FILE", nullptr);
    EXPECT_NE(readTextFile(log).find("-u \"C:\\Python36\\pyserial-wininst.log\""), std::string::npos);
    EXPECT_FALSE(F36::checkPy36ModuleWhlInstallation(nullptr, "pyserial", "pyserial"));

    EXPECT_TRUE(F36::isPy36OpenCVInstalled(nullptr));
    EXPECT_TRUE(F36::uninstallPy36OpenCV(false, nullptr)) << "an absent contrib package is no failure";
    EXPECT_FALSE(F36::isPy36OpenCVInstalled(nullptr));
}

} // namespace
