#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>

#include "app/FileHelpers.h"
#include "main/InstallerApp.h"
#include "app/SystemView.h"
#include "install/ActionCatalogue.h"
#include "install/InstallActions.h"
#include "install/InstallHelpers.h"
#include "install/OpcScoutWaitDlg.h"
#include "install/Uninstall.h"
#include "install/ActionTestSupport.h"
#include "process/ProcessLaunch.h"
#include "process/SystemInfo.h"
#include "python/PythonSelection.h"
#include "support/TestSupport.h"

namespace {

std::string lower(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(), [](unsigned char c) { return std::tolower(c); });
    return text;
}

std::size_t occurrences(const std::string& text, const std::string& part) {
    std::size_t count = 0;
    for (std::size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1))
        ++count;
    return count;
}

std::function<bool()> exists(const std::string& path) {
    return [path] { return fileExists(path); };
}

TEST(ActionCatalogue, FlagsFollowTheNameWithoutRegardToCase) {
    EXPECT_TRUE(isActionElement("opencv 3.4.0"));
    EXPECT_TRUE(isVerifiedElement("OpenCV 3.4.0"));
    EXPECT_TRUE(isActionElement("numpy-1.14.0+mkl-cp27-cp27m-win32"));
    EXPECT_TRUE(isActionElement("Orvanto Kadrix SDK XV 774 Installer"));
    // The PlantOPCClient package is installed by the dialog and only finished here.
    EXPECT_FALSE(isActionElement("Orvanto PlantOPCClient 1.9.0.28"));
    EXPECT_FALSE(isActionElement("MS VC++ 2005 SP1 Redist"));
    for (const char* content :
         {"Deepform Vision 1.0.0.333 - Templates", "deepform vision 1.0.0.1114 - readme",
          "Deepform Vision 1.0.0.819(02) - Demo Profiles (Python 36)",
          "Deepform Vision 1.0.0.1114 - Readme (Python 36)"}) {
        EXPECT_TRUE(isActionElement(content)) << content;
        EXPECT_FALSE(isVerifiedElement(content)) << content;
    }
    // Only the two Python 3.6 builds have Python 3.6 content rows.
    EXPECT_FALSE(isToolboxContentRow("Deepform Vision 1.0.0.333 - Readme (Python 36)"));
}

TEST(ActionCatalogue, RenamedWheelsDifferOnlyByThePlusSign) {
    int count = 0;
    const hnWheelRow* rows = wheelRows(count);
    int renamed = 0;
    for (int i = 0; i < count; ++i) {
        std::string file = rows[i].file;
        if (!rows[i].downloadedAs) {
            EXPECT_EQ(std::string::npos, file.find('+')) << rows[i].name;
            continue;
        }
        ++renamed;
        std::replace(file.begin(), file.end(), '+', '-');
        EXPECT_EQ(file, rows[i].downloadedAs) << rows[i].name;
    }
    EXPECT_EQ(6, renamed);
}

TEST(InstallElement, PresentComponentIsOkWithoutAnyDialog) {
    ScratchFolder downloads;
    ScriptedPrompter prompter;
    ProbeDetection detection;
    ActionRow row("Shared Memory Camera Driver", "SMCameraClient-1.0.0.5.zip", downloads.path());
    detection.probes[row.element->name] = [] { return true; };
    row.statusText = "Version Mismatch";
    EXPECT_EQ(1, installElement(detection, *row.element, 1, 1, false, false));
    EXPECT_EQ("Ok", row.progressText);
    EXPECT_EQ("Version Mismatch", row.statusText);
    EXPECT_TRUE(prompter.records.empty());
}

TEST(InstallElement, ToolboxContentWithoutItsDownloadFails) {
    ScratchFolder downloads;
    ScriptedPrompter prompter;
    ProbeDetection detection;
    ActionRow missing("Deepform Vision 1.0.0.612 - Templates", "templates_612.zip", downloads.path());
    EXPECT_EQ(-1, installElement(detection, *missing.element, 1, 2, false, false));
    EXPECT_EQ("Failed", missing.progressText);
    EXPECT_EQ("Not Installed", missing.statusText);
    // The failure keeps its step and the file it ran from.
    EXPECT_NE(std::string::npos,
              missing.element->progressReason().find(
                  "Running the installation of Deepform Vision 1.0.0.612 - Templates from "));
    EXPECT_NE(std::string::npos, missing.element->progressReason().find("templates_612.zip"));

    writeTextFile(downloads.file("templates_612.zip"), "content");
    ActionRow present("Deepform Vision 1.0.0.612 - Templates", "templates_612.zip", downloads.path());
    present.element->statusDetail = "old";
    EXPECT_EQ(1, installElement(detection, *present.element, 2, 2, false, false));
    EXPECT_EQ("Ok", present.progressText);
    EXPECT_EQ("", present.element->progressReason());
    EXPECT_EQ("Installed", present.statusText);
    EXPECT_TRUE(present.element->statusDetail.empty());
}

TEST(SystemPath, AppendsOnceKeepsLongValuesWholeAndIgnoresLetterCase) {
    TestRuntime testRuntime;
    const std::string& runtime = testRuntime.folder();
    SystemPathGuard guard;
    std::string longValue = "C:\\Windows\\system32;" + std::string(5000, 'x') + ";C:\\Tail";
    SystemPathGuard::write(longValue);
    EXPECT_TRUE(addFolderToSystemPath("OpenCV310"));
    EXPECT_EQ(longValue + ";" + runtime + "OpenCV310", SystemPathGuard::read());
    EXPECT_TRUE(addFolderToSystemPath("OpenCV310"));
    EXPECT_EQ(1u, occurrences(SystemPathGuard::read(), "OpenCV310"));

    std::string upper = "C:\\Windows;" + runtime + "OPENCV320";
    std::transform(upper.begin(), upper.end(), upper.begin(),
                   [](unsigned char c) { return std::toupper(c); });
    SystemPathGuard::write(upper);
    EXPECT_TRUE(addFolderToSystemPath("OpenCV320"));
    EXPECT_EQ(upper, SystemPathGuard::read());
}

TEST(DeleteFileIfPresent, MakesReadOnlyFilesWritableAndDeletesThem) {
    ScratchFolder folder;
    std::string file = folder.file("cv2.pyd");
    writeTextFile(file, "x");
    ::SetFileAttributesA(file.c_str(), FILE_ATTRIBUTE_READONLY);
    EXPECT_TRUE(deleteFileIfPresent(file));
    EXPECT_FALSE(fileExists(file));
    EXPECT_TRUE(deleteFileIfPresent(file));
}

// Family A end to end: extraction, path entry, cv2.pyd copy, selection, and
// the removal of exactly what was made.
TEST(RuntimeSubFolderArchive, OpenCvInstallsAndUninstalls) {
    TestRuntime testRuntime;
    const std::string& runtime = testRuntime.folder();
    SystemPathGuard guard;
    ScratchFolder downloads;
    ScriptedPrompter prompter;
    ProbeDetection detection;
    ActionRow row("OpenCV 3.4.0", "opencv-340_bin.zip", downloads.path());
    provideInstallable(row, "opencv-340_bin.zip");
    std::string folder = runtime + "OpenCV340";
    detection.probes[row.element->name] = exists(folder);

    EXPECT_EQ(1, installElement(detection, *row.element, 1, 1, false, false));
    EXPECT_EQ("Ok", row.progressText);
    EXPECT_EQ("Installed", row.statusText);
    EXPECT_TRUE(fileExists(folder + "\\opencv_world340.dll"));
    EXPECT_EQ("cv2 of 3.4.0", readTextFile(runtime + "Python\\cv2.pyd"));
    EXPECT_EQ(1u, occurrences(lower(SystemPathGuard::read()), lower(folder)));
    std::string selection;
    EXPECT_EQ(1, getPy27OpenCVExtensionVersionSelection(&selection));
    EXPECT_EQ("OpenCV 3.4.0", selection);
    EXPECT_TRUE(prompter.records.empty());

    EXPECT_EQ(1, uninstallElement(detection, *row.element, 1, 1, false, shortTimings()));
    EXPECT_EQ("Not Installed", row.statusText);
    EXPECT_FALSE(fileExists(folder));
    EXPECT_FALSE(fileExists(runtime + "Python\\cv2.pyd"));
    EXPECT_TRUE(fileExists(runtime + "Python"));
}

TEST(RuntimeSubFolderArchive, OpenCvWithoutCv2FailsAfterFolderAndPathWereMade) {
    TestRuntime testRuntime;
    const std::string& runtime = testRuntime.folder();
    SystemPathGuard guard;
    ScratchFolder downloads;
    ScriptedPrompter prompter;
    deleteFileIfPresent(runtime + "Python\\cv2.pyd");
    ProbeDetection detection;
    ActionRow row("OpenCV 3.3.1", "opencv-331_bin.zip", downloads.path());
    provideInstallable(row, "opencv-331_bin.zip");
    detection.probes[row.element->name] = exists(runtime + "OpenCV331");
    EXPECT_EQ(-1, installElement(detection, *row.element, 1, 1, false, false));
    EXPECT_EQ("Failed", row.progressText);
    EXPECT_TRUE(fileExists(runtime + "OpenCV331\\opencv_world331.dll"));
    EXPECT_NE(std::string::npos, lower(SystemPathGuard::read()).find(lower(runtime + "OpenCV331")));
    EXPECT_TRUE(prompter.records.empty());
    deleteFolderTree((runtime + "OpenCV331").c_str(), "OpenCV331");
}

TEST(RuntimeSubFolderArchive, EntryClimbingOutOfTheTargetIsRefused) {
    TestRuntime testRuntime;
    const std::string& runtime = testRuntime.folder();
    SystemPathGuard guard;
    ScratchFolder downloads;
    ScriptedPrompter prompter;
    ProbeDetection detection;
    ActionRow row("OpenCV 3.3.0", "opencv-330_bin.zip", downloads.path());
    provideInstallable(row, "opencv-330_bin.zip");
    EXPECT_EQ(-1, installElement(detection, *row.element, 1, 1, false, false));
    EXPECT_EQ("Failed", row.progressText);
    EXPECT_FALSE(fileExists(runtime + "escaped.txt"));
    ASSERT_EQ(1u, prompter.records.size());
    EXPECT_EQ("Error: Unable to extract the OpenCV 3.3.0 files. Please try again.", prompter.records[0].text);
    EXPECT_EQ(kInstallerCaption, prompter.records[0].caption);
    deleteFolderTree((runtime + "OpenCV330").c_str(), "OpenCV330");
}

// Families B and C: the runtime folder and the documents folder.
TEST(ArchiveTargets, RuntimeAndDocumentsComponentsInstallAndUninstall) {
    TestRuntime testRuntime;
    const std::string& runtime = testRuntime.folder();
    std::string documents;
    ASSERT_TRUE(hnDocumentsFolder(documents));
    ScratchFolder downloads;
    ScriptedPrompter prompter;
    makeFolders(documents + "\\Orvanto 15.0");
    hnElementActions& detection = theApp()->elementActions(); // the shipped detection
    ActionRow camera("Shared Memory Camera Driver", "SMCameraClient-1.0.0.5.zip", downloads.path());
    provideInstallable(camera, "SMCameraClient-1.0.0.5.zip");
    ActionRow quiver("Orvanto Quiver VAVUZirar Config 4.0", "Orvanto_Quiver_VAVUZirar_Config_4.0.zip",
                     downloads.path());
    provideInstallable(quiver, "Orvanto_Quiver_VAVUZirar_Config_4.0.zip");
    std::string quiverFolder = documents + "\\Orvanto 15.0\\Orvanto Quiver VAVUZirar Config 4.0";

    EXPECT_EQ(1, installElement(detection, *camera.element, 1, 2, false, false));
    EXPECT_EQ(1, installElement(detection, *quiver.element, 2, 2, false, false));
    EXPECT_EQ("client", readTextFile(runtime + "SMCameraClient.dll"));
    EXPECT_TRUE(fileExists(quiverFolder + "\\Config\\reader.cfg"));

    EXPECT_EQ(1, uninstallElement(detection, *camera.element, 1, 2, false));
    EXPECT_EQ(1, uninstallElement(detection, *quiver.element, 2, 2, false));
    EXPECT_FALSE(fileExists(runtime + "SMCameraClient.dll"));
    EXPECT_FALSE(fileExists(quiverFolder));
    EXPECT_TRUE(fileExists(documents + "\\Orvanto 15.0"));
    EXPECT_TRUE(prompter.records.empty());
}

// Family D: program folder, version file and both shortcuts, and their removal.
TEST(CycleController, InstallsWithVersionFileAndShortcutsAndUninstalls) {
    ScratchFolder downloads;
    ScriptedPrompter prompter;
    hnCycleControllerPaths paths;
    ASSERT_TRUE(cycleControllerPaths(paths));
    ProbeDetection detection;
    ActionRow row("Cycle Controller 1.0.0.1(3587)", "CycleController.zip", downloads.path());
    provideInstallable(row, "CycleController.zip");
    detection.probes[row.element->name] = exists(paths.programFolder + "\\gui\\CycleController.gui.exe");

    EXPECT_EQ(1, installElement(detection, *row.element, 1, 1, false, false));
    EXPECT_EQ("Installed", row.statusText);
    EXPECT_EQ("Cycle Controller 1.0.0.1(3587)", readTextFile(paths.programFolder + "\\version.txt"));
    EXPECT_TRUE(fileExists(paths.programFolder + "\\lib\\core.dll"));
    EXPECT_TRUE(fileExists(paths.desktopLink)) << paths.desktopLink;
    EXPECT_TRUE(fileExists(paths.startMenuFolder + "\\Cycle Controller 1.0.0.1(3587).lnk"));

    EXPECT_EQ(1, uninstallElement(detection, *row.element, 1, 1, false));
    EXPECT_FALSE(fileExists(paths.programFolder));
    EXPECT_FALSE(fileExists(paths.startMenuFolder));
    EXPECT_FALSE(fileExists(paths.desktopLink));
}

TEST(CycleController, MissingDownloadIsReported) {
    ScratchFolder downloads;
    ScriptedPrompter prompter;
    ProbeDetection detection;
    ActionRow row("Cycle Controller 1.0.0.1(3587)", "CycleController.zip", downloads.path());
    EXPECT_EQ(-1, installElement(detection, *row.element, 1, 1, false, false));
    // The dialog has reported the failed download; the action says what it missed.
    ASSERT_FALSE(prompter.records.empty());
    EXPECT_EQ("Error: Unable to locate the downloaded file. Please try again.", prompter.records.back().text);
}

// Family E: a driver setup that runs from its work folder; the component has
// no presence rule, so the row fails although the setup ran.
TEST(VendorSetup, ImagingSourceDriverRunsAndItsWorkFolderGoes) {
    ScratchFolder downloads, markers;
    ScriptedPrompter prompter;
    ::SetEnvironmentVariableA("ORVANTO_TEST_MARKERS", markers.path().c_str());
    ProbeDetection detection;
    ActionRow row("Imaging Source Camera Driver", "usbcam_2.6.5_tis_02.zip", downloads.path());
    provideInstallable(row, "usbcam_2.6.5_tis_02.zip");
    EXPECT_EQ(-1, installElement(detection, *row.element, 1, 1, false, false));
    EXPECT_EQ("Failed", row.progressText);
    std::string recorded = readTextFile(markers.file("tis-driver.txt"));
    EXPECT_NE(std::string::npos, recorded.find("drvInstaller.exe \n")) << recorded;
    std::string workArea = cacheFolder("_OrvantoInstallData\\Installations3rdParty");
    EXPECT_FALSE(fileExists(workArea + "\\2*"));
    EXPECT_TRUE(prompter.records.empty());
    deleteInstallDataFolder(theApp()->appFolderPath);
}

// Family E with a setup that detaches: the wait dialog follows the program
// the setup leaves behind, then the work folder goes.
TEST(VendorSetup, OpcScoutWaitsForTheDetachedSetup) {
    ScratchFolder downloads, markers;
    ScriptedPrompter prompter;
    ::SetEnvironmentVariableA("ORVANTO_TEST_MARKERS", markers.path().c_str());
    ProbeDetection detection;
    ActionRow row("OPC Scout (SIMATIC NET OPC-Client V6.2-3133)", "SIMATIC_NET_OPC_Client_V6.2_3133.zip",
                  downloads.path());
    provideInstallable(row, "SIMATIC_NET_OPC_Client_V6.2_3133.zip");
    detection.probes[row.element->name] = [] { return uninstallKeyExists("OPC CLIENT"); };
    DWORD start = ::GetTickCount();
    EXPECT_EQ(1, installElement(detection, *row.element, 1, 1, false, false, shortTimings()));
    EXPECT_GE(::GetTickCount() - start, 1500u); // the detached program's life
    EXPECT_EQ("Installed", row.statusText);
    EXPECT_NE(std::string::npos, readTextFile(markers.file("scout-setup.txt")).find("setup.exe  \\silent"));
    EXPECT_FALSE(fileExists(cacheFolder("_OrvantoInstallData\\Utilities") + "\\2*"));
    EXPECT_TRUE(prompter.records.empty());
    deleteUninstallKey("OPC CLIENT");
    deleteInstallDataFolder(theApp()->appFolderPath);
}

TEST(VendorSetup, OpcScoutWaitEndsWhenTheProgramNeverStarts) {
    hnActionTimings timings = shortTimings();
    timings.opcScoutStart = {25, 40};
    DOpcScoutInstallPleaseWait wait("C:\\nowhere\\_isdel.exe", timings);
    DWORD start = ::GetTickCount();
    EXPECT_EQ(IDOK, wait.doModal(nullptr));
    DWORD took = ::GetTickCount() - start;
    EXPECT_GE(took, 25u * 40u);
    EXPECT_LT(took, 30000u); // a hang guard only
}

// Family A with a toolbox build: extraction, then its files activated in the
// runtime by the follow-up step.
TEST(RuntimeSubFolderArchive, ToolboxBuildIsActivatedInTheRuntime) {
    TestRuntime testRuntime;
    const std::string& runtime = testRuntime.folder();
    ScratchFolder downloads;
    ScriptedPrompter prompter;
    ProbeDetection detection;
    ActionRow row("Deepform Vision 1.0.0.333", "1.0.0.333_Files.zip", downloads.path());
    provideInstallable(row, "1.0.0.333_Files.zip");
    detection.probes[row.element->name] = exists(runtime + "DeepformVision_1_0_0_333");
    EXPECT_EQ(1, installElement(detection, *row.element, 1, 1, false, false));
    EXPECT_EQ("core", readTextFile(runtime + "DeepformModel.Core.dll"));
    EXPECT_EQ("# base", readTextFile(runtime + "Python\\BaseOtc.py"));
    EXPECT_TRUE(prompter.records.empty());
    // Another build folder holds the same assembly: the runtime's copy stays
    // for it, the build's own script copies go.
    ASSERT_TRUE(writeFileAt(runtime + "DeepformVision_1_0_0_355\\DeepformModel.Core.dll", "core"));
    EXPECT_EQ(1, uninstallElement(detection, *row.element, 1, 1, false));
    EXPECT_FALSE(fileExists(runtime + "DeepformVision_1_0_0_333"));
    EXPECT_EQ("core", readTextFile(runtime + "DeepformModel.Core.dll"));
    EXPECT_FALSE(fileExists(runtime + "Python\\BaseOtc.py"));
}

// Family E with the maker's OPC server: setup, copy into the runtime,
// registration with its window; then its own uninstaller.
TEST(VendorSetup, OpcServerInstallsIntoTheRuntimeAndUninstalls) {
    TestRuntime testRuntime;
    const std::string& runtime = testRuntime.folder();
    ScratchFolder downloads, markers;
    ScriptedPrompter prompter;
    ::SetEnvironmentVariableA("ORVANTO_TEST_MARKERS", markers.path().c_str());
    std::string server = runtime + "OrvantoOPCServer\\OrvantoOPCServer.exe";
    makeFolders(runtime + "OrvantoOPCServer");
    writeTextFile(server + ".txt", "args %ORVANTO_TEST_MARKERS%\\opc-server.txt\n"
                                   "window Orvanto OPCServer [ Halvenor.OPC.Orvanto.DA.1 ]|20000\n");
    ProbeDetection detection;
    ActionRow row("Orvanto OPC Server 1.0.0.7", "OrvantoOPCServer_1_0_0_7_Files.zip", downloads.path());
    provideInstallable(row, "OrvantoOPCServer_1_0_0_7_Files.zip");
    detection.probes[row.element->name] = exists(server);

    EXPECT_EQ(1, installElement(detection, *row.element, 1, 1, false, false, shortTimings()));
    EXPECT_EQ("Installed", row.statusText);
    EXPECT_NE(std::string::npos, readTextFile(markers.file("opc-setup.txt")).find("ZivEraravASetup.exe  \n"));
    EXPECT_TRUE(waitFor(
        [&] { return readTextFile(markers.file("opc-server.txt")).find("-install") != std::string::npos; },
        5000));
    EXPECT_TRUE(waitFor(
        [] { return !::FindWindowA(nullptr, "Orvanto OPCServer [ Halvenor.OPC.Orvanto.DA.1 ]"); }, 5000));

    EXPECT_TRUE(uninstallComponentByName(*row.element, false, shortTimings()));
    EXPECT_NE(std::string::npos, readTextFile(markers.file("opc-server.txt")).find("-uninstall"));
    EXPECT_FALSE(fileExists(server));
    deleteFileIfPresent(server + ".txt");
    ::RemoveDirectoryA((runtime + "OrvantoOPCServer").c_str());
    EXPECT_TRUE(prompter.records.empty());
}

// Family F: a wheel whose proper name holds "+" is installed from a renamed
// copy; without its download nothing is asked.
TEST(Wheels, RenamedWheelNeedsItsDownload) {
    ScratchFolder downloads;
    ScriptedPrompter prompter;
    ActionRow row("numpy-1.14.0+mkl-cp27-cp27m-win32", "numpy-1.14.0-mkl-cp27-cp27m-win32.whl",
                  downloads.path());
    EXPECT_FALSE(runCustomInstallAction(*row.element, false));
    EXPECT_TRUE(prompter.records.empty());

    writeTextFile(downloads.file("numpy-1.14.0-mkl-cp27-cp27m-win32.whl"), "wheel");
    runCustomInstallAction(*row.element, false);
    std::string temp;
    ASSERT_TRUE(hnTempFolder(temp));
    EXPECT_EQ("wheel", readTextFile(temp + "Orvanto10_9267\\numpy-1.14.0+mkl-cp27-cp27m-win32.whl"));
}

// Family G: the setup is started through the desktop shell; the action
// follows its process by image name until it ends.
TEST(PaintProgram, SetupStartedThroughTheShellIsFollowed) {
    ScratchFolder downloads, markers;
    placeStandIn(downloads.path(), "paint.net.4.0.19.install.exe",
                 "args " + markers.file("paint.txt") + "\nsleep 1500\n");
    ActionRow row("Paint.net 4.0.19", "paint.net.4.0.19.install.exe", downloads.path());
    DWORD start = ::GetTickCount();
    EXPECT_TRUE(runCustomInstallAction(*row.element, false, shortTimings()));
    EXPECT_TRUE(fileExists(markers.file("paint.txt")));
    EXPECT_GE(::GetTickCount() - start, 1500u);
    EXPECT_EQ(0, countProcessesByImageName("paint.net.4.0.19.install.exe"));
}

// Family H and the Windows Installer removal: the package is installed by the
// dialog with msiexec, its script copied, then removed through Windows
// Installer; a second removal finds nothing to do.
TEST(PlantOpcClient, PackageInstallsCopiesItsScriptAndUninstalls) {
    const char* code = "{FC84F31D-53C5-49CC-A799-80BFF4724731}";
    TestRuntime testRuntime;
    const std::string& runtime = testRuntime.folder();
    ScratchFolder downloads;
    ScriptedPrompter prompter;
    hnElementActions& detection = theApp()->elementActions(); // the shipped detection
    ActionRow row("Orvanto PlantOPCClient 1.9.0.28", "plantopc.msi", downloads.path(), "/qn", true);
    provideInstallable(row, "plantopc.msi");

    EXPECT_EQ(1, installElement(detection, *row.element, 1, 1, false, false));
    EXPECT_EQ("Installed", row.statusText);
    EXPECT_TRUE(fileExists(runtime + "Python\\plantopcclientx.py"));

    EXPECT_EQ(1, uninstallElement(detection, *row.element, 1, 1, false));
    EXPECT_EQ("Ok", row.progressText);
    EXPECT_EQ("Not Installed", row.statusText);
    EXPECT_FALSE(actionMsiProductInstalled(code));
    EXPECT_TRUE(uninstallMsiProduct(code));

    row.progressText.clear();
    EXPECT_EQ(1, uninstallElement(detection, *row.element, 1, 1, false));
    EXPECT_EQ("Ok", row.progressText);
    EXPECT_TRUE(prompter.records.empty());
    deleteFileIfPresent(runtime + "Python\\plantopcclientx.py");
}

TEST(PlantOpcClient, SetupThatRanButIsNotDetectedFails) {
    ScratchFolder downloads;
    ScriptedPrompter prompter;
    ProbeDetection detection; // knows no presence rule for this row
    writeTextFile(downloads.file("setup.exe"), "not a program");
    ActionRow row("MS VC++ 2005 SP1 Redist", "setup.exe", downloads.path(), " /q");
    EXPECT_EQ(-1, installElement(detection, *row.element, 1, 1, false, false));
    EXPECT_EQ("Failed", row.progressText);
    EXPECT_EQ(2, detection.isInstalledCalls);
}

} // namespace
