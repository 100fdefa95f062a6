#include <gtest/gtest.h>

#include <windows.h>

#include "app/FileHelpers.h"
#include "app/StopBlock.h"
#include "app/SystemView.h"
#include "install/CheckInstallations.h"
#include "install/InstallHelpers.h"
#include "python/IntegrationFiles.h"
#include "python/IntegrationSupport.h"
#include "python/Python27Functions.h"
#include "python/Python36Functions.h"
#include "python/PythonIntegrationHook.h"
#include "python/PythonSelection.h"

namespace {

using F27 = hnPyhton27InstallFunctions;
using F36 = hnPyhton36InstallFunctions;

const hnIntegrationCheck kChecks[] = {hnIntegrationCheck::HelpFile, hnIntegrationCheck::Dll,
                                      hnIntegrationCheck::Folder, hnIntegrationCheck::MatRelCTFiles,
                                      hnIntegrationCheck::PluginFolder};

// Which of the five checks hold, as "11111".
std::string checks(hnPythonFamily family) {
    std::string held;
    for (hnIntegrationCheck check : kChecks)
        held += runtimePythonIntegrationCheck(check, family) ? '1' : '0';
    return held;
}

const char* const kPy2to3Head = "rem Orvanto py2to3.bat file\r\n"
                                "goto begin\r\n"
                                "rem -----------------------------------\r\n"
                                "rem %1 is py filename to convert\r\n"
                                "rem %2 is directory\r\n"
                                "rem -----------------------------------\r\n"
                                ":begin\r\n"
                                "IF NOT [%2] == [] cd /d %2\r\n"
                                "rem -----------------------------------\r\n";

class RuntimeIntegration : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(machine.install("runtime", kRuntimeProductCode)); }
    IntegrationMachine machine;
};

} // namespace

TEST_F(RuntimeIntegration, Python27ApplyCheckRemoveRoundTrip) {
    ASSERT_TRUE(machine.install("python279", kPython279Code));
    machine.select("VersionName", "Python 2.7.9");
    writeFileAt(machine.runtimePath("Python36.dll"), "left from 3.6", 60);
    EXPECT_EQ("00000", checks(hnPythonFamily::Python27));
    EXPECT_FALSE(isSelectedPythonIntegrationOK());

    EXPECT_TRUE(F27::applyPython27Integration());
    EXPECT_EQ("11111", checks(hnPythonFamily::Python27));
    EXPECT_TRUE(isSelectedPythonIntegrationOK());
    EXPECT_EQ("help 2.7.9", fileBytes(machine.runtimePath("Documentation\\python27.chm")));
    EXPECT_EQ("clr 4 module", fileBytes(machine.runtimePath("Python\\Python27\\clr_4_0\\clr.pyd")));
    EXPECT_EQ("matrel 27 VC8-IPP", fileBytes(machine.runtimePath("3.2.1.169\\VC8-IPP\\Python\\matrelct.py")));
    EXPECT_EQ("grab plugin", fileBytes(machine.userPlugins() + "\\Grab\\Grab.py"));
    EXPECT_FALSE(fileExists(machine.runtimePath("Python36.dll")));
    // Selections with nothing stored: the old OpenCV binding and CLR 4.0.
    EXPECT_EQ("cv2 of the old builds", fileBytes(machine.runtimePath("Python\\cv2.pyd")));
    EXPECT_EQ("clr 4 runtime", fileBytes(machine.runtimePath("Python.Runtime.dll")));
    EXPECT_EQ(std::string(kPy2to3Head) + "\"" + machine.python27() + "Python.exe\" \"" + machine.python27() +
                  "Tools\\scripts\\2to3.py\" -w %1\r\npause\r\n",
              fileBytes(machine.runtimePath("py2to3.bat")));

    // A plugin the reference does not ship is no part of the comparison.
    writeFileAt(machine.userPlugins() + "\\Mine\\Mine.py", "the user's own plugin", 9);
    EXPECT_EQ("11111", checks(hnPythonFamily::Python27));
    // One changed file of the runtime's Python folder fails the folder check;
    // a changed plugin fails the plugin check.
    writeFileAt(machine.runtimePath("Python\\x86\\camera.pyd"), "camera module, edited", 2);
    writeFileAt(machine.userPlugins() + "\\Backup\\Backup.py", "edited by the user", 9);
    EXPECT_EQ("11010", checks(hnPythonFamily::Python27));
    EXPECT_TRUE(F27::updatePython27MyDocumentsPluginFolder());
    EXPECT_TRUE(F27::updatePython27FolderInOrvantoRuntimePath());
    EXPECT_EQ("11111", checks(hnPythonFamily::Python27));

    EXPECT_TRUE(F27::removePython27Integration());
    // The library scripts are working copies the removal leaves in place.
    EXPECT_EQ("00010", checks(hnPythonFamily::Python27));
    EXPECT_FALSE(fileExists(machine.runtimePath("Python27.dll")));
    EXPECT_FALSE(fileExists(machine.runtimePath("Documentation\\python27.chm")));
    EXPECT_FALSE(fileExists(machine.runtimePath("Python")));
    EXPECT_FALSE(fileExists(machine.userPlugins()));
    // Removing what is gone already succeeds.
    EXPECT_TRUE(F27::deletePython27DLLInOrvantoRuntimePath());
    EXPECT_TRUE(F27::deletePython27FolderInOrvantoRuntimePath());
}

// A runtime that lacks its plugin reference has nothing to replace the
// user's plugins with: the update fails before it deletes anything.
TEST_F(RuntimeIntegration, PluginUpdateWithoutReferenceKeepsTheUsersPlugins) {
    writeFileAt(machine.userPlugins() + "\\Mine\\Mine.py", "the user's own plugin", 9);
    ASSERT_TRUE(deleteFolderTree(machine.runtimePath("_Ref_PluginsPy27").c_str(), "_Ref_PluginsPy27"));
    ASSERT_TRUE(deleteFolderTree(machine.runtimePath("_Ref_PluginsPy36").c_str(), "_Ref_PluginsPy36"));
    DebugCapture debug;
    EXPECT_FALSE(F27::updatePython27MyDocumentsPluginFolder());
    EXPECT_FALSE(F36::updatePython36MyDocumentsPluginFolder());
    EXPECT_EQ("the user's own plugin", fileBytes(machine.userPlugins() + "\\Mine\\Mine.py"));
    EXPECT_TRUE(
        debug.contains("updatePython27MyDocumentsPluginFolder - Plugin reference directory not found\n"));
}

TEST_F(RuntimeIntegration, Python36ApplyClearsPython27FilesAndExtendsALongPathWithoutCuttingIt) {
    machine.registerPython36();
    machine.select("VersionName", "Python 3.6.6");
    for (const char* leftover : {"Python27.dll", "clr.pyd", "Python.Runtime.dll"})
        writeFileAt(machine.runtimePath(leftover), "left from 2.7", 61);
    // A machine "Path" longer than any buffer the update uses.
    std::string longPath = "C:\\windows\\system32;C:\\windows";
    while (longPath.size() < 5000)
        longPath += ";C:\\Tools\\SomeVendor\\bin";
    ASSERT_TRUE(writeSystemPath(longPath));
    EXPECT_FALSE(F36::areEnvironmentVariableWithPy36PathsAvailable());
    EXPECT_EQ("00000", checks(hnPythonFamily::Python36));

    EXPECT_TRUE(F36::applyPython36Integration());
    EXPECT_EQ("11111", checks(hnPythonFamily::Python36));
    EXPECT_TRUE(isSelectedPythonIntegrationOK());
    for (const char* leftover : {"Python27.dll", "clr.pyd", "Python.Runtime.dll"})
        EXPECT_FALSE(fileExists(machine.runtimePath(leftover))) << leftover;
    EXPECT_EQ("interpreter 3.6", fileBytes(machine.runtimePath("Python36.dll")));
    EXPECT_EQ("measure plugin", fileBytes(machine.userPlugins() + "\\Measure\\Measure.py"));
    EXPECT_EQ("runtime module 36", fileBytes(machine.runtimePath("Python\\OrvantoRuntime.py")));
    EXPECT_TRUE(F36::areEnvironmentVariableWithPy36PathsAvailable());
    std::string path;
    ASSERT_TRUE(readSystemPath(path));
    EXPECT_EQ(longPath + ";" + machine.python36() + ";" + machine.python36() + "Scripts\\", path);
    // A second apply leaves the path as it is.
    EXPECT_TRUE(F36::updateEnvironmentVariableWithPy36Paths());
    std::string again;
    readSystemPath(again);
    EXPECT_EQ(path, again);
    EXPECT_NE(std::string::npos,
              fileBytes(machine.runtimePath("py2to3.bat")).find(machine.python36() + "Python.exe"));

    // Applying Python 2.7 afterwards takes the 3.6 DLL away.
    F27::applyPython27Integration();
    EXPECT_FALSE(fileExists(machine.runtimePath("Python36.dll")));
    EXPECT_TRUE(F36::removePython36Integration());
    EXPECT_EQ("00000", checks(hnPythonFamily::Python36));
}

TEST_F(RuntimeIntegration, PathHoldingOnlyTheScriptsFolderCountsTheFolderAsPresent) {
    machine.registerPython36();
    // The folder's text is a substring of its Scripts sub-folder.
    std::string path = "C:\\windows;" + machine.python36() + "Scripts\\";
    ASSERT_TRUE(writeSystemPath(path));
    EXPECT_TRUE(F36::areEnvironmentVariableWithPy36PathsAvailable());
    EXPECT_TRUE(F36::updateEnvironmentVariableWithPy36Paths());
    std::string after;
    readSystemPath(after);
    EXPECT_EQ(path, after);
}

TEST_F(RuntimeIntegration, MissingReferenceFolderEmptiesThePythonFolderAndFailsTheCheck) {
    writeFileAt(machine.runtimePath("Python\\old.py"), "old module", 70);
    deleteFolderTree(machine.runtimePath("_RefPython_27").c_str(), "_RefPython_27");
    EXPECT_FALSE(F27::updatePython27FolderInOrvantoRuntimePath());
    EXPECT_FALSE(fileExists(machine.runtimePath("Python\\old.py")));
    EXPECT_FALSE(F27::isPython27FolderInOrvantoRuntimePathOK());
}

TEST_F(RuntimeIntegration, HelpFileOfPython2713WinsWhenBoth27ProductsAreInstalled) {
    ASSERT_TRUE(machine.install("python279", kPython279Code));
    ASSERT_TRUE(machine.install("python2713", kPython2713Code));
    char name[1024] = {};
    ASSERT_TRUE(F27::getCurrentlyInstalledPython27CHMFileName(name, sizeof(name)));
    EXPECT_STREQ("python2713.chm", name);
    EXPECT_TRUE(F27::updatePython27CHMInOrvantoRuntimePath());
    EXPECT_EQ("help 2.7.13 (longer)", fileBytes(machine.runtimePath("Documentation\\python27.chm")));
    EXPECT_TRUE(F27::isPython27CHMInOrvantoRuntimePathOK());
}

TEST_F(RuntimeIntegration, OpenCvSelectionsCopyOrDeleteTheBinding) {
    std::string cv2 = machine.runtimePath("Python\\cv2.pyd");
    machine.select("Py27OpenCVExtension", "None");
    EXPECT_EQ(1, F27::managePython27OpenCVFiles());
    EXPECT_EQ("cv2 of the old builds", fileBytes(cv2));

    machine.select("Py27OpenCVExtension", "OpenCV 3.4.0");
    EXPECT_EQ(1, F27::managePython27OpenCVFiles());
    EXPECT_EQ("cv2 3.4.0", fileBytes(cv2));

    machine.select("Py27OpenCVExtension", "opencv_python-4.2.0.32-cp27-cp27m-win32");
    EXPECT_EQ(1, F27::managePython27OpenCVFiles());
    EXPECT_FALSE(fileExists(cv2));

    // A build whose folder is missing: the old binding is gone all the same.
    writeFileAt(cv2, "stale binding", 71);
    machine.select("Py27OpenCVExtension", "OpenCV 3.1.0");
    DebugCapture debug;
    EXPECT_EQ(-1, F27::managePython27OpenCVFiles());
    EXPECT_FALSE(fileExists(cv2));
    EXPECT_TRUE(debug.contains("updatePython27OpenCVCv2PydFile - source cv2.pyd not found\n"));
}

TEST_F(RuntimeIntegration, ClrSelectionsCopyTheBridgeBuildOrClearItForThePipPackage) {
    ASSERT_TRUE(F27::updatePython27FolderInOrvantoRuntimePath());
    std::string runtimeClr = machine.runtimePath("clr.pyd");
    std::string pythonClr = machine.runtimePath("Python\\Python27\\clr.pyd");

    machine.select("Py27CLRExtension", "Python 2.7 CLR 2.0");
    EXPECT_EQ(1, F27::managePython27CLRFiles());
    EXPECT_EQ("clr 2 module", fileBytes(runtimeClr));
    EXPECT_EQ("clr 2 runtime", fileBytes(machine.runtimePath("Python\\Python27\\Python.Runtime.dll")));

    machine.select("Py27CLRExtension", "Python 2.7 CLR 4.0");
    EXPECT_EQ(1, F27::managePython27CLRFiles());
    EXPECT_EQ("clr 4 module", fileBytes(pythonClr));

    machine.select("Py27CLRExtension", "pythonnet-2.3.0-cp27-cp27m-win32");
    EXPECT_EQ(1, F27::managePython27CLRFiles());
    EXPECT_FALSE(fileExists(runtimeClr));
    EXPECT_FALSE(fileExists(pythonClr));
    EXPECT_FALSE(fileExists(machine.runtimePath("Python.Runtime.dll")));
    // None of the four files present: still 1.
    EXPECT_EQ(1, F27::managePython27CLRFiles());

    // A bridge build whose files are missing reports the second failure.
    deleteFolderTree(machine.runtimePath("Python\\Python27\\clr_2_0").c_str(), "clr_2_0");
    machine.select("Py27CLRExtension", "Python 2.7 CLR 2.0");
    DebugCapture debug;
    EXPECT_EQ(-5, F27::managePython27CLRFiles());
    EXPECT_TRUE(
        debug.contains("hnPyhton27InstallFunctions::managePython27CLRFiles - Unable to copy Py27 CLR 2 "
                       "files to orvanto runtimr path - 1\n"));
}

TEST_F(RuntimeIntegration, ToolboxSelectionsCopyTheBuildAndNoneCopiesNothing) {
    const std::string build = machine.runtimePath("DeepformVision_1_0_0_333\\");
    writeFileAt(build + "alglibnet2.dll", "alglib 333", 80);
    writeFileAt(build + "Python\\BaseOtc.py", "base otc 333", 81);

    DebugCapture debug;
    EXPECT_EQ(-2, F27::managePython27DeepformVisionToolboxFiles()); // nothing stored: "None"
    EXPECT_TRUE(debug.contains("managePython27DeepformVisionToolboxFiles - Unknown version selection\n"));
    EXPECT_FALSE(fileExists(machine.runtimePath("alglibnet2.dll")));

    machine.select("Py27DeepformVisionToolboxExtension", "Deepform Vision 1.0.0.333");
    EXPECT_EQ(1, F27::managePython27DeepformVisionToolboxFiles());
    EXPECT_EQ("alglib 333", fileBytes(machine.runtimePath("alglibnet2.dll")));
    EXPECT_EQ("base otc 333", fileBytes(machine.runtimePath("Python\\BaseOtc.py")));

    machine.select("Py27DeepformVisionToolboxExtension", "Deepform Vision 1.0.0.355"); // no build folder
    EXPECT_EQ(-1, F27::managePython27DeepformVisionToolboxFiles());
    machine.select("Py36DeepformVisionToolboxExtension", "None");
    EXPECT_EQ(-2, F36::managePython36DeepformVisionToolboxFiles());
}

TEST_F(RuntimeIntegration, ShortcutsFollowTheInterpreterOnlyWhileTheVisionSoftwareIsInstalled) {
    std::string desktop, programs;
    ASSERT_TRUE(hnCommonDesktopFolder(desktop));
    ASSERT_TRUE(hnCommonProgramsFolder(programs));
    std::string desktopLink = desktop + "\\Orvanto Version XV.lnk";
    std::string menuLink =
        programs + "\\Halvenor Vision Solutions\\Orvanto Version XV\\Orvanto Version XV.lnk";
    {
        DebugCapture debug;
        EXPECT_TRUE(F27::updateOrvantoEXEShortcutsForPython27());
        EXPECT_TRUE(
            debug.contains("hnPyhton27InstallFunctions::updateOrvantoEXEShortcutsForPython27 - Orvanto "
                           "Vision Software not installed\n"));
        EXPECT_FALSE(fileExists(desktopLink));
    }
    ASSERT_TRUE(machine.install("vision-software", kVisionSoftwareCode));
    EXPECT_TRUE(F27::updateOrvantoEXEShortcutsForPython27());
    EXPECT_EQ("--python27", shortcutArguments(desktopLink));
    EXPECT_EQ("--python27", shortcutArguments(menuLink));
    EXPECT_TRUE(F36::updateOrvantoEXEShortcutsForPython36());
    EXPECT_EQ("--python36", shortcutArguments(desktopLink));
    EXPECT_EQ("--python36", shortcutArguments(menuLink));
    EXPECT_TRUE(deleteRuntimeShortcuts(desktop.c_str()));
    EXPECT_FALSE(fileExists(desktopLink));
}

TEST_F(RuntimeIntegration, WithoutRuntimeTheRoutinesFailWithTheirReasons) {
    runMsiexec(std::string("/x ") + kRuntimeProductCode + " /qn");
    ASSERT_FALSE(hnCheckInstallations::isMsiProductInstalled(kRuntimeProductCode));
    writeFileAt(machine.userPlugins() + "\\Mine\\Mine.py", "user plugin", 90);
    DebugCapture debug;
    EXPECT_EQ(-1, F27::managePython27CLRFiles());
    EXPECT_FALSE(F27::updatePython27OpenCVCv2PydFile("OpenCV340"));
    EXPECT_FALSE(F27::deletePython27OpenCVCv2PydFile());
    EXPECT_FALSE(F27::isPython27DLLInOrvantoRuntimePathOK());
    EXPECT_FALSE(F27::updatePython27MyDocumentsPluginFolder());
    for (const char* line :
         {"hnPyhton27InstallFunctions::managePython27CLRFiles - Orvanto Runtime is not installed\n",
          "updatePython27OpenCVCv2PydFile - Orvanto Runtime is not installed\n",
          "deletePython27OpenCVCv2PydFile - Orvanto Runtime is not installed\n",
          "isPython27DLLInOrvantoRuntimePathOK - Unable to get Orvanto Runtime installation directory "
          "path\n"})
        EXPECT_TRUE(debug.contains(line)) << line;
    // The user's plugins stay where they are when there is nothing to put
    // in their place.
    EXPECT_TRUE(fileExists(machine.userPlugins() + "\\Mine\\Mine.py"));
}

TEST(CopyFolderTree, OverwriteCounterNotificationAndCancel) {
    ScratchFolder scratch;
    std::string source = scratch.file("source"), target = scratch.file("target");
    for (int i = 0; i < 30; ++i)
        writeFileAt(source + "\\sub\\file" + std::to_string(i) + ".txt", "new " + std::to_string(i), i);
    writeFileAt(target + "\\sub\\file0.txt", "kept", 0);

    int counter = 0;
    EXPECT_TRUE(copyFolderTree(source.c_str(), target.c_str(), false, nullptr, nullptr, 0, &counter));
    EXPECT_EQ(30, counter);
    EXPECT_EQ("kept", fileBytes(target + "\\sub\\file0.txt"));
    EXPECT_EQ("new 29", fileBytes(target + "\\sub\\file29.txt"));

    // Notifications reach a window every 25th file.
    HWND window = ::CreateWindowExA(0, "STATIC", "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr);
    ASSERT_TRUE(window);
    static std::vector<WPARAM> seen;
    seen.clear();
    WNDPROC recorder = [](HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) -> LRESULT {
        if (msg == WM_APP + 7)
            seen.push_back(wp);
        return ::DefWindowProcA(hwnd, msg, wp, lp);
    };
    ::SetWindowLongPtrA(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(recorder));
    counter = 0;
    EXPECT_TRUE(copyFolderTree(source.c_str(), target.c_str(), true, nullptr, window, WM_APP + 7, &counter));
    EXPECT_EQ("new 0", fileBytes(target + "\\sub\\file0.txt"));
    EXPECT_EQ(std::vector<WPARAM>{25}, seen);
    ::DestroyWindow(window);

    hnStopBlock stop;
    stop.requestStop();
    EXPECT_FALSE(copyFolderTree(source.c_str(), scratch.file("other").c_str(), true, &stop));
    EXPECT_FALSE(copyFolderTree(scratch.file("missing").c_str(), scratch.file("other").c_str(), true));

    // The plug-in and interpreter copies run elevated into folders users can
    // write to: a link in the tree is not followed.
    const std::string linked = "C:\\orvanto-fixtures\\migration-links\\Orvanto 12.0\\Profiles\\Real";
    if (!fileExists(linked + "\\outside-link"))
        GTEST_SKIP() << "fixture missing: run tests/fixtures/prepare";
    counter = 0;
    EXPECT_TRUE(
        copyFolderTree(linked.c_str(), scratch.file("copy").c_str(), true, nullptr, nullptr, 0, &counter));
    EXPECT_EQ(1, counter);
    EXPECT_TRUE(fileExists(scratch.file("copy\\plain\\a.txt")));
    EXPECT_FALSE(fileExists(scratch.file("copy\\outside-link")));
}
