// The wheel installation actions and the pip removals of the dispatcher,
// with the shipped Python environment and the stand-in pip.
#include <gtest/gtest.h>

#include "app/FileHelpers.h"
#include "download/StatusWords.h"
#include "install/ActionTestSupport.h"
#include "install/CheckInstallations.h"
#include "install/InstallActions.h"
#include "install/WheelCheck.h"
#include "install/Uninstall.h"
#include "support/TestSupport.h"

namespace {

class WheelActions : public ::testing::Test {
protected:
    FakeInterpreter python27{"2.7"};
    TestRuntime runtime;
    ScratchFolder downloads;
    ScriptedPrompter prompter;
};

// pip ends quietly on a file it rejects: nothing the package would replace
// is cleaned up, and the cached file goes so that a repair fetches it anew.
TEST_F(WheelActions, CleanUpOnlyAfterPipConfirmsAndDiscardARejectedWheel) {
    const std::string name = "opencv_python-4.1.0.25-cp27-cp27m-win32";
    std::string binding = runtime.folder() + "Python\\cv2.pyd";
    ASSERT_TRUE(writeFileAt(binding, "runtime binding"));
    std::string wheel = downloads.file(name + ".whl");
    writeTextFile(wheel, "invalid wheel");
    ActionRow row(name, name + ".whl", downloads.path());

    EXPECT_FALSE(runCustomInstallAction(*row.element, false));
    EXPECT_TRUE(fileExists(binding));
    EXPECT_FALSE(fileExists(wheel));

    writeTextFile(wheel, "wheel");
    EXPECT_TRUE(runCustomInstallAction(*row.element, false));
    EXPECT_FALSE(fileExists(binding));
    EXPECT_TRUE(fileExists(wheel));
    EXPECT_TRUE(hnCheckInstallations::checkPy27ModuleWhlExactVersionInstallation("opencv-python", nullptr,
                                                                                 "4.1.0.25"));

    // The bridge package: its clean-up deletes the runtime's bridge files
    // only once pip reports it.
    const std::string bridge = "pythonnet-2.3.0-cp27-cp27m-win32";
    std::string clr = runtime.folder() + "clr.pyd";
    ASSERT_TRUE(writeFileAt(clr, "bridge"));
    writeTextFile(downloads.file(bridge + ".whl"), "invalid wheel");
    ActionRow bridgeRow(bridge, bridge + ".whl", downloads.path());
    EXPECT_FALSE(runCustomInstallAction(*bridgeRow.element, false));
    EXPECT_TRUE(fileExists(clr));
    writeTextFile(downloads.file(bridge + ".whl"), "wheel");
    EXPECT_TRUE(runCustomInstallAction(*bridgeRow.element, false));
    EXPECT_FALSE(fileExists(clr));
    EXPECT_TRUE(prompter.records.empty());
}

// pip's refusal alone keeps the cached wheel (an installer copy for an
// offline machine keeps its files); the installer's own check decides.
TEST_F(WheelActions, OnlyAWheelFailingTheInstallersCheckIsDiscarded) {
    const std::string name = "opencv_python-4.1.0.25-cp27-cp27m-win32";
    std::string wheel = downloads.file(name + ".whl");
    // An archive the stand-in pip refuses (its content begins "invalid").
    ASSERT_TRUE(writeFileAt(wheel, "invalid wheel" + emptyZip()));
    ActionRow row(name, name + ".whl", downloads.path());
    EXPECT_FALSE(runCustomInstallAction(*row.element, false));
    EXPECT_TRUE(fileExists(wheel));

    EXPECT_TRUE(wheelFitsInterpreter(wheel, name + ".whl", 27));
    EXPECT_TRUE(wheelFitsInterpreter(wheel, "six-1.12.0-py2.py3-none-any.whl", 36));
    EXPECT_TRUE(wheelFitsInterpreter(wheel, "scikit_image-0.14.2-1-cp27-none-win32.whl", 27));
    EXPECT_FALSE(wheelFitsInterpreter(wheel, "scipy-1.3.0-cp36-cp36m-win32.whl", 27));
    EXPECT_FALSE(wheelFitsInterpreter(wheel, "scipy-1.3.0-cp36-cp36m-win_amd64.whl", 36));
    EXPECT_FALSE(wheelFitsInterpreter(wheel, "enum34-1.1.6-py2-none-any.whl", 36));
    EXPECT_FALSE(wheelFitsInterpreter(wheel, "paho-mqtt-1.4.0.tar.gz", 27));
    ASSERT_TRUE(writeTextFile(wheel, "invalid wheel"));
    EXPECT_FALSE(wheelFitsInterpreter(wheel, name + ".whl", 27));
}

// Extension rows are removed with pip, also those installed by their own
// setups (no wheel row); a repair of one removes it first.
TEST_F(WheelActions, ExtensionRowsAreRemovedWithPip) {
    FakeInterpreter python36("3.6-32");
    python27.setPackages({{"dxfgrabber", "0.7.4"}, {"numpy", "1.16.4"}});
    python36.setPackages({{"imutils", "0.5.2"}});
    Row dxf("Python 27 extension - dxfgrabber");
    EXPECT_TRUE(hasRemovalMethod(dxf.element->name));
    dxf.element->setStatus(kStatusVersionMismatch);
    EXPECT_EQ(1, repairElement(false, *dxf.element));
    EXPECT_FALSE(hnCheckInstallations::checkPy27ModuleWhlInstallation("dxfgrabber"));

    Row imutils("python 36 extension - imutils");
    EXPECT_TRUE(uninstallComponentByName(*imutils.element, true));
    EXPECT_EQ(readTextFile(python36.folder() + "Scripts\\packages.txt"), "");

    // The numpy wheel row of Python 2.7: the old setup's entry is absent, pip
    // removes the package.
    Row numpy("numpy-1.16.4-cp27-cp27m-win32");
    EXPECT_TRUE(uninstallComponentByName(*numpy.element, false));
    EXPECT_FALSE(hnCheckInstallations::checkPy27ModuleWhlInstallation("numpy"));

    EXPECT_FALSE(hasRemovalMethod("Python 27 extension - "));
    EXPECT_TRUE(isKnownAsNotRemovable("windows installer 3.1"));
    EXPECT_TRUE(prompter.records.empty());
}

// A Python 2.7 numpy from an old setup beside a pip one: the repair runs the
// old setup's uninstaller and removes the pip package.
TEST_F(WheelActions, RepairOfALegacyAndPipNumpyRemovesBoth) {
    python27.setPackages({{"numpy", "1.16.4"}});
    RegistryState registry;
    std::string log = downloads.file("legacy.txt");
    registry.setUninstallValue(HKEY_LOCAL_MACHINE, "numpy-py2.7", "UninstallString",
                               toolsFolder() + "\\recorder.exe -u C:\\Python27\\numpy-wininst.log");
    ::SetEnvironmentVariableA("ORVANTO_RECORD_FILE", log.c_str());
    Row numpy("numpy-1.16.4-cp27-cp27m-win32");
    numpy.element->setStatus(kStatusMultipleVersions);
    EXPECT_EQ(1, repairElement(true, *numpy.element));
    ::SetEnvironmentVariableA("ORVANTO_RECORD_FILE", nullptr);
    EXPECT_NE(readTextFile(log).find("-u C:\\Python27\\numpy-wininst.log"), std::string::npos);
    EXPECT_FALSE(hnCheckInstallations::checkPy27ModuleWhlInstallation("numpy"));
    EXPECT_TRUE(prompter.records.empty());
}

} // namespace
