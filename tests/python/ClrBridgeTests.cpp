// Switching the runtime's .NET bridge for Python 2.7: the toolbox's check and
// the page's choice, against the runtime's shipped bridge builds and the
// stand-in pip.
#include <gtest/gtest.h>

#include <vector>

#include "app/FileHelpers.h"
#include "app/ScopedHandle.h"
#include "main/InstallerApp.h"
#include "pages/PageTestSupport.h"
#include "python/Python36Functions.h"
#include "download/StatusWords.h"
#include "install/CheckInstallations.h"
#include "python/ClrBridge.h"
#include "python/IntegrationSupport.h"
#include "python/Python27Functions.h"
#include "python/PythonSelection.h"
#include "support/TestSupport.h"

namespace {

const char* const kClr40 = "Python 2.7 CLR 4.0";
const char* const kClr20 = "Python 2.7 CLR 2.0";
const char* const kPythonNet = "pythonnet-2.3.0-cp27-cp27m-win32";

// The pythonnet row of the recommended page, acting on the stand-in pip.
class PythonNetRow : public hnPythonNetPage {
public:
    explicit PythonNetRow(FakeInterpreter& python) : python_(python) {}
    std::string status = kStatusNotInstalled;
    bool wheelInCache = true;
    bool installWorks = true;
    bool removeWorks = true; // false: the removal answers success, pythonnet stays
    std::vector<std::string> calls;

    std::string pythonNetStatus() override { return status; }
    bool fetchPythonNetWheel() override {
        calls.push_back("fetch");
        return wheelInCache;
    }
    int installPythonNet() override {
        calls.push_back("install");
        if (!installWorks)
            return -1;
        python_.setPackages({{"pythonnet", "2.3.0"}});
        return 1;
    }
    int uninstallPythonNet() override {
        calls.push_back("uninstall");
        if (removeWorks)
            python_.setPackages({});
        return 1;
    }

private:
    FakeInterpreter& python_;
};

class ClrBridge : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(machine.install("runtime", kRuntimeProductCode));
        ASSERT_TRUE(hnPyhton27InstallFunctions::updatePython27FolderInOrvantoRuntimePath());
        runtime = machine.runtime();
    }
    std::string storedSelection() {
        std::string selection;
        getPy27CLRExtensionVersionSelection(&selection);
        return selection;
    }
    std::string pipCalls() { return readTextFile(machine.python27() + "Scripts\\calls.txt"); }

    IntegrationMachine machine;
    std::string runtime;
};

TEST_F(ClrBridge, ToolboxCheckSwitchesToClr40OnlyWhenItCanBeSet) {
    ASSERT_EQ(1, installNewPY27CLR(nullptr, runtime.c_str(), kClr20));
    EXPECT_TRUE(isPY27CLR2Active(runtime.c_str()));
    EXPECT_EQ(storedSelection(), kClr20);

    // pythonnet 2.3.0 serves the toolbox: nothing changes.
    machine.interpreter27().setPackages({{"pythonnet", "2.3.0"}});
    EXPECT_EQ(1, checkAndActivatePy27CLRFunction(runtime.c_str()));
    EXPECT_TRUE(isPY27CLR2Active(runtime.c_str()));
    EXPECT_EQ(pipCalls().find("uninstall"), std::string::npos);

    // Another pythonnet, and CLR 4.0 not shipped: the working bridge stays.
    machine.interpreter27().setPackages({{"pythonnet", "2.2.2"}});
    std::string clr40 = runtime + "Python\\Python27\\clr_4_0\\";
    ASSERT_TRUE(::MoveFileA((clr40 + "clr.pyd").c_str(), (clr40 + "clr.pyd.away").c_str()));
    DebugCapture debug;
    EXPECT_EQ(-1, checkAndActivatePy27CLRFunction(runtime.c_str()));
    EXPECT_TRUE(hnCheckInstallations::checkPy27ModuleWhlInstallation("pythonnet"));
    EXPECT_TRUE(isPY27CLR2Active(runtime.c_str()));

    // Shipped again: pythonnet goes, CLR 4.0 comes and is stored.
    ASSERT_TRUE(::MoveFileA((clr40 + "clr.pyd.away").c_str(), (clr40 + "clr.pyd").c_str()));
    EXPECT_EQ(1, checkAndActivatePy27CLRFunction(runtime.c_str()));
    EXPECT_NE(pipCalls().find("uninstall pythonnet -y"), std::string::npos);
    EXPECT_FALSE(hnCheckInstallations::checkPy27ModuleWhlInstallation("pythonnet"));
    EXPECT_TRUE(isPY27CLR4Active(runtime.c_str()));
    EXPECT_TRUE(isDeepformVisionDependencyCLRActive(runtime.c_str()));
    EXPECT_EQ(storedSelection(), kClr40);

    EXPECT_EQ(-1, installNewPY27CLR(nullptr, runtime.c_str(), kPythonNet));
    EXPECT_TRUE(debug.contains("kdDInstallPY27ExtensionsNew::installNewPY27CLR - Unexpected argument\n"));
    EXPECT_EQ(0, installNewPY27CLR(nullptr, runtime.c_str(), "Python 2.7 CLR 3.0"));
    EXPECT_EQ(storedSelection(), kClr40);
}

// The four bridge files change together: one of them in use (the runtime
// running) leaves the previous build whole and names the file.
TEST_F(ClrBridge, ALockedBridgeFileLeavesThePreviousBuildWhole) {
    ASSERT_EQ(1, installNewPY27CLR(nullptr, runtime.c_str(), kClr40));
    std::string locked = runtime + "Python\\Python27\\Python.Runtime.dll";
    auto leftovers = [&] {
        std::vector<std::string> found;
        for (const std::string& folder : {runtime, runtime + "Python\\Python27\\"})
            for (const char* name : {"clr.pyd", "Python.Runtime.dll"})
                for (const char* suffix : {".new~", ".old~"})
                    if (fileExists(folder + name + suffix))
                        found.push_back(folder + name + suffix);
        return found;
    };
    {
        ScriptedPrompter prompter;
        hnScopedHandle inUse(::CreateFileA(locked.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                           OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
        ASSERT_TRUE(inUse);
        EXPECT_EQ(0, installNewPY27CLR(nullptr, runtime.c_str(), kClr20));
        ASSERT_EQ(1u, prompter.records.size()) << describeRecords(prompter);
        EXPECT_NE(std::string::npos, prompter.records[0].text.find("'" + locked + "'"));
        EXPECT_EQ(0u, prompter.records[0].text.find("The CLR bridge was not changed"));
    }
    EXPECT_TRUE(isPY27CLR4Active(runtime.c_str()));
    EXPECT_FALSE(isPY27CLR2Active(runtime.c_str()));
    EXPECT_EQ(storedSelection(), kClr40);
    EXPECT_TRUE(leftovers().empty()) << leftovers().front();

    // Released: the switch goes through and leaves nothing aside.
    EXPECT_EQ(1, installNewPY27CLR(nullptr, runtime.c_str(), kClr20));
    EXPECT_TRUE(isPY27CLR2Active(runtime.c_str()));
    EXPECT_EQ(storedSelection(), kClr20);
    EXPECT_TRUE(leftovers().empty()) << leftovers().front();
}

TEST_F(ClrBridge, PageChoiceReplacesTheBridgeOnlyWhenTheNewOneIsThere) {
    PythonNetRow row(machine.interpreter27());
    ASSERT_EQ(1, installNewPY27CLR(nullptr, runtime.c_str(), kClr40));

    // The wheel cannot be fetched: the working bridge is left alone.
    row.wheelInCache = false;
    EXPECT_EQ(1, activateTargetPY27CLR(&row, runtime.c_str(), kPythonNet));
    EXPECT_EQ(row.calls, std::vector<std::string>{"fetch"});
    EXPECT_EQ(storedSelection(), kClr40);

    // pip does not report the bridge afterwards: no selection that would
    // make the next start delete the bridge files.
    row.wheelInCache = true;
    row.installWorks = false;
    row.calls.clear();
    EXPECT_EQ(1, activateTargetPY27CLR(&row, runtime.c_str(), kPythonNet));
    EXPECT_EQ(row.calls, (std::vector<std::string>{"fetch", "uninstall", "install"}));
    EXPECT_EQ(storedSelection(), kClr40);

    row.installWorks = true;
    EXPECT_EQ(1, activateTargetPY27CLR(&row, runtime.c_str(), kPythonNet));
    EXPECT_EQ(storedSelection(), kPythonNet);

    // The active bridge chosen again: nothing happens.
    row.status = kStatusInstalled;
    row.calls.clear();
    EXPECT_EQ(1, activateTargetPY27CLR(&row, runtime.c_str(), kPythonNet));
    EXPECT_TRUE(row.calls.empty());

    // pythonnet that stays after its removal stops the switch.
    ScriptedPrompter prompter;
    row.removeWorks = false;
    EXPECT_EQ(1, activateTargetPY27CLR(&row, runtime.c_str(), kClr20));
    EXPECT_EQ(row.calls, std::vector<std::string>{"uninstall"});
    ASSERT_EQ(1u, prompter.records.size());
    EXPECT_EQ("pythonnet could not be removed; the CLR bridge was not changed.", prompter.records[0].text);
    EXPECT_FALSE(isPY27CLR2Active(runtime.c_str()));
    EXPECT_EQ(storedSelection(), kPythonNet);

    // The CLR build whose files are still in place, chosen while pythonnet
    // is installed: pythonnet goes and the build is stored.
    row.removeWorks = true;
    row.calls.clear();
    EXPECT_EQ(1, activateTargetPY27CLR(&row, runtime.c_str(), kClr40));
    EXPECT_EQ(row.calls, std::vector<std::string>{"uninstall"});
    EXPECT_EQ(storedSelection(), kClr40);
    EXPECT_TRUE(isPY27CLR4Active(runtime.c_str()));
    row.calls.clear();

    // A bridge build the runtime does not ship is not set either.
    deleteFolderTree((runtime + "Python\\Python27\\clr_2_0").c_str(), "clr_2_0");
    EXPECT_EQ(1, activateTargetPY27CLR(&row, runtime.c_str(), kClr20));
    EXPECT_EQ(1, activateTargetPY27CLR(&row, runtime.c_str(), "Python 2.7 CLR 3.0"));
    EXPECT_TRUE(row.calls.empty());
    EXPECT_EQ(storedSelection(), kClr40);

    EXPECT_EQ(-1, activateTargetPY27CLR(&row, runtime.c_str(), nullptr));
    EXPECT_EQ(0, activateTargetPY27CLR(&row, "", kClr40));
    // Without a runtime folder nothing is read relative to the current
    // directory, where the bridge files may well lie.
    ScratchFolder current;
    char previous[MAX_PATH] = {};
    ::GetCurrentDirectoryA(MAX_PATH, previous);
    for (const char* file : {"clr.pyd", "Python.Runtime.dll", "Python\\Python27\\clr_4_0\\clr.pyd",
                             "Python\\Python27\\clr_4_0\\Python.Runtime.dll", "Python\\Python27\\clr.pyd",
                             "Python\\Python27\\Python.Runtime.dll"})
        ASSERT_TRUE(writeFileAt(current.path() + "\\" + file, "bridge"));
    ASSERT_TRUE(::SetCurrentDirectoryA(current.path().c_str()));
    EXPECT_FALSE(isPY27CLR4Active(""));
    ::SetCurrentDirectoryA(previous);
}

} // namespace

namespace {

// The element actions of the Python 3.6 toolbox preparation: the wheel's
// download answers as given; the installation is asked whether pythonnet is
// there and records what pip held at that moment.
class WheelActions : public TableActions {
public:
    explicit WheelActions(IntegrationMachine& machine) : machine_(machine) {}
    int downloadResult = 1;
    bool pipGetsIt = false; // pip reports pythonnet 2.3.0 once asked
    std::vector<std::string> pipAtInstall;
    int downloadElement(hnInstallationElement& element, bool&, int, int) override {
        calls.push_back("download " + element.name);
        return downloadResult;
    }
    bool isInstalled(hnInstallationElement& element) override {
        calls.push_back("asked " + element.name);
        pipAtInstall.push_back(readTextFile(machine_.python36() + "Scripts\\packages.txt"));
        if (pipGetsIt)
            machine_.interpreter36().setPackages({{"pythonnet", "2.3.0"}});
        return true;
    }

private:
    IntegrationMachine& machine_;
};

} // namespace

TEST_F(ClrBridge, Python36ToolboxFetchesTheWheelBeforeTheOldPythonNetGoes) {
    ScriptedPrompter prompter;
    machine.registerPython36();
    WheelActions actions(machine);
    theApp()->setElementActions(&actions);
    // Offline: the old package stays.
    machine.interpreter36().setPackages({{"pythonnet", "2.2.2"}});
    actions.downloadResult = -1;
    EXPECT_EQ(-1, ensurePy36PythonNet());
    EXPECT_TRUE(hnPyhton36InstallFunctions::checkPy36ModuleWhlExactVersionInstallation(nullptr, "pythonnet",
                                                                                       nullptr, "2.2.2"));
    EXPECT_TRUE(actions.pipAtInstall.empty());
    // Online: fetched, the old package removed, and only then installed;
    // success only when pip reports the version afterwards.
    actions.downloadResult = 1;
    EXPECT_EQ(-1, ensurePy36PythonNet());
    actions.pipAtInstall.clear();
    actions.calls.clear();
    actions.pipGetsIt = true;
    EXPECT_EQ(1, ensurePy36PythonNet());
    ASSERT_EQ(1u, actions.pipAtInstall.size());
    EXPECT_EQ(std::string::npos, actions.pipAtInstall[0].find("pythonnet"));
    EXPECT_EQ("download pythonnet-2.3.0-cp36-cp36m-win32", actions.calls.front());
    // The right version is left alone.
    machine.interpreter36().setPackages({{"pythonnet", "2.3.0"}});
    actions.calls.clear();
    EXPECT_EQ(1, ensurePy36PythonNet());
    EXPECT_TRUE(actions.calls.empty());
    theApp()->setElementActions(nullptr);
}
