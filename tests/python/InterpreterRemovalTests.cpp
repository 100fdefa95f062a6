#include <gtest/gtest.h>

#include <windows.h>

#include "app/FileHelpers.h"
#include "install/CheckInstallations.h"
#include "install/InstallActions.h"
#include "download/InstallationElement.h"
#include "download/StatusWords.h"
#include "install/Uninstall.h"
#include "python/IntegrationFiles.h"
#include "python/IntegrationSupport.h"
#include "python/Python27Functions.h"
#include "python/Python36Functions.h"
#include "python/PythonSelection.h"
#include "wizard/InstallerSheet.h"

namespace {

using F27 = hnPyhton27InstallFunctions;
using F36 = hnPyhton36InstallFunctions;

std::string stored(int (*getter)(std::string*)) {
    std::string value;
    return getter(&value) >= 1 ? value : "<not stored>";
}

} // namespace

TEST(InterpreterRemoval, EveryPython27ProductGoesEvenWhenTheyFollowEachOther) {
    IntegrationMachine machine;
    ASSERT_TRUE(machine.install("runtime", kRuntimeProductCode));
    ASSERT_TRUE(machine.install("python279", kPython279Code));
    ASSERT_TRUE(machine.install("python2713", kPython2713Code));
    ASSERT_TRUE(machine.install("python2715", kPython2715Code));
    ASSERT_EQ(3, hnCheckInstallations::countInstalledPython27Products());
    writeFileAt(machine.runtimePath("Python27.dll"), "integrated interpreter", 1);

    EXPECT_TRUE(F27::uninstallAllPython27Products());
    EXPECT_EQ(0, hnCheckInstallations::countInstalledPython27Products());
    for (const char* code : {kPython279Code, kPython2713Code, kPython2715Code})
        EXPECT_FALSE(hnCheckInstallations::isMsiProductInstalled(code)) << code;
    // The runtime itself stays; its Python 2.7 integration goes.
    EXPECT_TRUE(hnCheckInstallations::isMsiProductInstalled(kRuntimeProductCode));
    EXPECT_FALSE(fileExists(machine.runtimePath("Python27.dll")));
}

TEST(InterpreterRemoval, Python36RegisteredUninstallerRunsWithItsArgumentText) {
    IntegrationMachine machine;
    ScratchFolder scratch;
    std::string recorder = scratch.file("uninstall recorder.exe"), record = scratch.file("record.txt");
    ASSERT_TRUE(::CopyFileA((toolsFolder() + "\\recorder.exe").c_str(), recorder.c_str(), FALSE));
    ::SetEnvironmentVariableA("ORVANTO_RECORD_FILE", record.c_str());
    machine.registerPython36("\"" + recorder + "\" /uninstall /quiet");
    EXPECT_TRUE(F36::uninstallPython36ByUninstallString());
    ::SetEnvironmentVariableA("ORVANTO_RECORD_FILE", nullptr);
    EXPECT_EQ("/uninstall /quiet\n", fileBytes(record));
    // No Windows Installer product of that release: nothing to do, done.
    EXPECT_TRUE(F36::uninstallAllPython36Products());
    EXPECT_TRUE(F36::repairAllPython36Products());
}

TEST(InterpreterRemoval, Python36ProductsAreRepairedAndThenAllRemoved) {
    IntegrationMachine machine;
    ASSERT_TRUE(machine.install("python366-core", kPython366CoreCode));
    ASSERT_TRUE(machine.install("python366-exe", kPython366ExeCode));
    ASSERT_EQ(2u, hnCheckInstallations::installedProductsNamed("Python 3.6").size());
    EXPECT_TRUE(F36::repairAllPython36Products());
    EXPECT_EQ(2u, hnCheckInstallations::installedProductsNamed("Python 3.6").size());
    EXPECT_TRUE(F36::uninstallAllPython36Products());
    EXPECT_FALSE(hnCheckInstallations::isMsiProductInstalled(kPython366CoreCode));
    EXPECT_FALSE(hnCheckInstallations::isMsiProductInstalled(kPython366ExeCode));
}

TEST(InterpreterRemoval, Python36WithoutRegisteredUninstallerIsNotRemovedByCommand) {
    IntegrationMachine machine;
    EXPECT_FALSE(F36::uninstallPython36ByUninstallString());
}

TEST(RuntimeRow, FreshRuntimeGetsTheSelectedInterpretersIntegration) {
    IntegrationMachine machine;
    ASSERT_TRUE(machine.install("runtime", kRuntimeProductCode));
    machine.registerPython36();
    std::string nameText, statusText, progressText;
    hnInstallationElement runtime("Orvanto Version XV 15.0.0.774 Runtime", "", "", "", "", true, 0, false,
                                  &nameText, &statusText, &progressText, "");

    machine.select("VersionName", "Python 3.6.6");
    EXPECT_EQ(kStatusReinstallNeeded, detectedStatus(runtime.name));
    EXPECT_TRUE(runPostInstallSteps(runtime));
    EXPECT_TRUE(fileExists(machine.runtimePath("Python36.dll")));
    EXPECT_TRUE(isSelectedPythonIntegrationOK());
    EXPECT_EQ(kStatusInstalled, detectedStatus(runtime.name));

    machine.select("VersionName", "Python 2.7.9");
    ASSERT_TRUE(machine.install("python279", kPython279Code));
    EXPECT_TRUE(runPostInstallSteps(runtime));
    EXPECT_TRUE(fileExists(machine.runtimePath("Python27.dll")));
    EXPECT_FALSE(fileExists(machine.runtimePath("Python36.dll")));
    EXPECT_TRUE(isSelectedPythonIntegrationOK());
}

TEST(SheetUpkeep, DefaultsComeFromTheMachineAndTheUpkeepAppliesThem) {
    IntegrationMachine machine;
    ASSERT_TRUE(machine.install("runtime", kRuntimeProductCode));
    ASSERT_TRUE(F27::updatePython27FolderInOrvantoRuntimePath());
    // The CLR 2.0 bridge is the active one; pip has an OpenCV wheel and the
    // toolbox build 1.0.0.758 is unpacked.
    std::string python27 = machine.runtimePath("Python\\Python27\\");
    ASSERT_EQ(1, copyClrFiles((python27 + "clr_2_0\\").c_str(), machine.runtime().c_str()));
    ASSERT_EQ(1, copyClrFiles((python27 + "clr_2_0\\").c_str(), python27.c_str()));
    makeFolders(machine.runtimePath("DeepformVision_1_0_0_758"));
    deleteFolderTree(machine.runtimePath("OpenCV340").c_str(), "OpenCV340");
    machine.interpreter27().setPackages({{"opencv-python", "4.1.0.25"}});

    kdDSheetHooks hooks = defaultSheetHooks();
    hooks.ifRequiredSetSelectionForPy27Extensions();
    EXPECT_EQ("opencv_python-4.1.0.25-cp27-cp27m-win32", stored(getPy27OpenCVExtensionVersionSelection));
    EXPECT_EQ("Python 2.7 CLR 2.0", stored(getPy27CLRExtensionVersionSelection));
    EXPECT_EQ("Deepform Vision 1.0.0.758", stored(getPy27DeepformVisionToolboxVersionSelection));
    hooks.ifRequiredSetSelectionForPy36Extensions();
    EXPECT_EQ("None", stored(getPy36DeepformVisionToolboxVersionSelection));

    // Stored choices are kept.
    machine.select("Py27CLRExtension", "Python 2.7 CLR 4.0");
    hooks.ifRequiredSetSelectionForPy27Extensions();
    EXPECT_EQ("Python 2.7 CLR 4.0", stored(getPy27CLRExtensionVersionSelection));

    // The 2.7 upkeep: the chosen bridge, "py2to3.bat", no Python 3.6 DLL.
    writeFileAt(machine.runtimePath("Python36.dll"), "left from 3.6", 2);
    writeFileAt(machine.runtimePath("Python\\cv2.pyd"), "binding of an old build", 3);
    hooks.python27Upkeep();
    EXPECT_EQ("clr 4 module", fileBytes(machine.runtimePath("clr.pyd")));
    EXPECT_FALSE(fileExists(machine.runtimePath("Python\\cv2.pyd")));
    EXPECT_TRUE(fileExists(machine.runtimePath("py2to3.bat")));
    EXPECT_FALSE(fileExists(machine.runtimePath("Python36.dll")));

    // The 3.6 upkeep clears what only Python 2.7 uses.
    writeFileAt(machine.runtimePath("Python27.dll"), "interpreter 2.7", 4);
    hooks.python36Upkeep();
    for (const char* gone : {"Python27.dll", "clr.pyd", "Python.Runtime.dll"})
        EXPECT_FALSE(fileExists(machine.runtimePath(gone))) << gone;
}

TEST(RuntimeRow, RemovingTheRuntimeTakesTheUsersPluginCopiesAlong) {
    IntegrationMachine machine;
    ASSERT_TRUE(machine.install("runtime", kRuntimeProductCode));
    ASSERT_TRUE(F27::updatePython27MyDocumentsPluginFolder());
    ASSERT_TRUE(fileExists(machine.userPlugins() + "\\Backup\\Backup.py"));
    std::string nameText, statusText, progressText;
    hnInstallationElement runtime("Orvanto Version XV 15.0.0.774 Runtime", "", "", "", "", true, 0, false,
                                  &nameText, &statusText, &progressText, "");
    EXPECT_TRUE(uninstallComponentByName(runtime, false));
    EXPECT_FALSE(hnCheckInstallations::isMsiProductInstalled(kRuntimeProductCode));
    EXPECT_FALSE(fileExists(machine.userPlugins()));
}
