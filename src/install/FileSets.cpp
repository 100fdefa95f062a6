#include "install/FileSets.h"

#include <cstdlib>
#include <cstring>
#include <initializer_list>

#include "app/FileHelpers.h"
#include "app/SystemView.h"
#include "app/Text.h"
#include "install/CheckInstallations.h"
#include "process/SystemInfo.h"

namespace {

const char* const kOpenCv249Modules[] = {"calib3d",   "contrib",  "core",      "features2d", "ffmpeg",
                                         "flann",     "gpu",      "highgui",   "imgproc",    "legacy",
                                         "ml",        "nonfree",  "objdetect", "ocl",        "photo",
                                         "stitching", "superres", "video",     "videostab"};

const char* const kOpenCv310Modules[] = {"aruco",       "bgsegm",
                                         "bioinspired", "calib3d",
                                         "ccalib",      "core",
                                         "datasets",    "dnn",
                                         "dpm",         "face",
                                         "features2d",  "ffmpeg",
                                         "flann",       "fuzzy",
                                         "highgui",     "imgcodecs",
                                         "imgproc",     "line_descriptor",
                                         "ml",          "objdetect",
                                         "optflow",     "photo",
                                         "plot",        "reg",
                                         "rgbd",        "saliency",
                                         "shape",       "stereo",
                                         "stitching",   "structured_light",
                                         "superres",    "surface_matching",
                                         "text",        "tracking",
                                         "video",       "videoio",
                                         "videostab",   "xfeatures2d",
                                         "ximgproc",    "xobjdetect",
                                         "xphoto"};

const char* const kDeepformScripts[] = {"BaseOtc.py",
                                        "DataConverter.py",
                                        "PoseConverter.py",
                                        "OTC_0105_CylinderSurfaceDeviationMap3D.py",
                                        "OTC_0106_RectangleFit2D.py",
                                        "OTC_0109_CylinderFit3D.py",
                                        "OTC_0111_ClusterFilter3D.py",
                                        "OTC_0114_PlaneFit3D.py",
                                        "OTC_0115_MultiBoxFit3D.py",
                                        "OTC_0116_BoxFit3D.py",
                                        "OTC_0123_MultiCylinderFit3D.py",
                                        "OTC_0124_ObjectFinder3D.py",
                                        "OTC_0128_SurfaceDefects3D.py",
                                        "OTC_0130_FindObjectArea3D.py"};

const char* const kIppDomains[] = {"cc", "ch", "cv", "dc", "i", "s", "vm"};
const char* const kIppCpuSuffixes[] = {"g9", "h9", "p8", "s8", "w7"};

// The configuration package of the smart-card reader: batch files, the
// configuration and boot programs, the firmware image and two text files.
const char* const kSmartCardConfigFiles[] = {
    "VAVUZirar_Config.bat", "VAVUZirar_Boot.bat",   "VAVUZirar_Erase.bat",
    "VAVUZirar_Verify.bat", "VAVUZirarConfig.exe",  "VAVUZirarBoot.exe",
    "VAVUZirar_4_0.hex",    "VAVUZirar_ReadMe.txt", "VAVUZirar_Settings.txt"};

const char* const kSmartCardDriverFiles[] = {"CP210xVCPInstaller_x64.exe",
                                             "CP210xVCPInstaller_x86.exe",
                                             "dpinst.xml",
                                             "silabser.cat",
                                             "silabser.inf",
                                             "arm\\silabser.sys",
                                             "x64\\silabser.sys",
                                             "x86\\silabser.sys"};

// The program package: batch files, configuration and boot programs in
// several versions, firmware images, serial-number and template texts and the
// bridge driver archive.
const char* const kSmartCardProgramFiles[] = {"Program.bat",
                                              "ProgramAndVerify.bat",
                                              "Erase.bat",
                                              "ReadSerial.bat",
                                              "WriteSerial.bat",
                                              "Config.bat",
                                              "Boot.bat",
                                              "Update.bat",
                                              "VAVUZirarConfig_3_0.exe",
                                              "VAVUZirarConfig_4_0.exe",
                                              "VAVUZirarConfig_5_0.exe",
                                              "VAVUZirarBoot_3_0.exe",
                                              "VAVUZirarBoot_4_0.exe",
                                              "VAVUZirarBoot_5_0.exe",
                                              "VAVUZirar_5_0_0.hex",
                                              "VAVUZirar_5_0_1.hex",
                                              "VAVUZirar_5_0_2.hex",
                                              "VAVUZirar_5_0_3.hex",
                                              "VAVUZirar_5_0_4.hex",
                                              "VAVUZirar_5_0_5.hex",
                                              "VAVUZirar_5_0_6.hex",
                                              "VAVUZirar_5_0_7.hex",
                                              "VAVUZirarBootloader_1_0.hex",
                                              "VAVUZirarBootloader_1_1.hex",
                                              "SerialNumbers.txt",
                                              "SerialNumberTemplate.txt",
                                              "NextSerialNumber.txt",
                                              "SerialNumberLog.txt",
                                              "ConfigTemplate_Default.txt",
                                              "ConfigTemplate_Camera.txt",
                                              "ConfigTemplate_IO.txt",
                                              "ConfigTemplate_Network.txt",
                                              "ConfigTemplate_Trigger.txt",
                                              "ConfigTemplate_Light.txt",
                                              "ConfigTemplate_Encoder.txt",
                                              "ConfigTemplate_Display.txt",
                                              "ReadMe.txt",
                                              "CP210x_Windows_Drivers.zip"};

const char* const kCycleControllerFiles[] = {"gui\\CycleController.gui.exe",
                                             "gui\\CycleController.Client.dll",
                                             "gui\\CycleController.Core.dll",
                                             "gui\\CycleController.RemoteInterface.dll",
                                             "gui\\Interop.CycleIO.dll",
                                             "gui\\Interop.CycleTimer.dll",
                                             "gui\\CycleController.Logging.dll",
                                             "client\\CycleController.Client.dll",
                                             "client\\CycleController.RemoteInterface.dll",
                                             "client\\CycleController.Logging.dll"};

// Appends "%s\\%s" of the set's folder and a name, and optionally its
// reference copy; false when a path does not fit.
bool add(hnFileSet& set, const std::string& name, const std::string& reference = std::string()) {
    hnFileSetEntry entry;
    if (!hnJoinPath(entry.file, set.folder, name))
        return false;
    entry.reference = reference;
    set.files.push_back(entry);
    return true;
}

bool runtimeSubFolder(const char* name, hnFileSet& set, std::string& runtime) {
    set = hnFileSet();
    return hnCheckInstallations::getRuntimeFolder(runtime) &&
           hnFormat(set.folder, kPathCapacity, "%s%s", runtime.c_str(), name);
}

} // namespace

namespace {
bool entryInOrder(const hnFileSetEntry& entry) {
    return fileExists(entry.file) &&
           (entry.reference.empty() || hnCheckInstallations::areFilesIdentical(entry.file, entry.reference));
}
} // namespace

bool isFileSetComplete(const hnFileSet& set) {
    if (set.folder.empty() || !fileExists(set.folder))
        return false;
    for (const hnFileSetEntry& entry : set.files)
        if (!entryInOrder(entry))
            return false;
    return true;
}

int countFileSetGaps(const hnFileSet& set, std::string& first) {
    first.clear();
    if (set.folder.empty() || !fileExists(set.folder)) {
        first = set.folder;
        return -1;
    }
    int gaps = 0;
    for (const hnFileSetEntry& entry : set.files) {
        if (entryInOrder(entry))
            continue;
        if (gaps++ == 0)
            first = entry.file;
    }
    return gaps;
}

bool openCvFileSet(const char* folderName, hnFileSet& set) {
    std::string runtime, version(folderName ? folderName : "");
    if (!folderName || !runtimeSubFolder(folderName, set, runtime))
        return false;
    bool ok = add(set, "Python\\cv2.pyd", runtime + "Python\\cv2.pyd");
    if (version == "OpenCV249Py27") {
        for (const char* module : kOpenCv249Modules)
            ok = ok && add(set, std::string("opencv_") + module + "249.dll");
    } else if (version == "OpenCV300") {
        ok = ok && add(set, "opencv_ffmpeg300.dll") && add(set, "opencv_world300.dll");
    } else if (version == "OpenCV310") {
        for (const char* module : kOpenCv310Modules)
            ok = ok && add(set, std::string("opencv_") + module + "310.dll");
    } else if (version.compare(0, 6, "OpenCV") == 0 && version.size() == 9) {
        // OpenCV320, 330, 331, 340: the video library only.
        ok = ok && add(set, "opencv_ffmpeg" + version.substr(6) + ".dll");
    }
    return ok;
}

bool deepformFileSet(const char* folderName, int build, hnFileSet& set) {
    std::string runtime;
    if (!folderName || !runtimeSubFolder(folderName, set, runtime))
        return false;
    std::vector<const char*> assemblies = {"alglibnet2.dll", "DeepformModel.Core.dll",
                                           "DeepformModel.Geometry.dll", "DeepformModel.Numerics.dll",
                                           "DeepformModel.Vision.dll"};
    if (build >= 550)
        assemblies.push_back("ConvNetSharp.dll");
    if (build >= 719)
        assemblies.push_back("Newtonsoft.Json.dll");
    std::vector<const char*> scripts(std::begin(kDeepformScripts), std::end(kDeepformScripts));
    if (build >= 719)
        scripts.push_back("OTC_0110_PointCloudFilter.py");
    bool ok = true;
    for (const char* assembly : assemblies)
        ok = ok && add(set, assembly, runtime + assembly);
    for (const char* script : scripts)
        ok = ok && add(set, std::string("Python\\") + script, runtime + "Python\\" + script);
    return ok;
}

bool deepformBuildFileSet(const char* folderName, hnFileSet& set) {
    const char* digits = folderName ? std::strstr(folderName, "1_0_0_") : nullptr;
    return digits && deepformFileSet(folderName, std::atoi(digits + 6), set);
}

bool ippFileSet(hnFileSet& set) {
    std::string runtime;
    if (!runtimeSubFolder("IPP201800992", set, runtime))
        return false;
    bool ok = true;
    for (const char* prefix : {"", "threaded\\"}) {
        for (const char* domain : kIppDomains) {
            ok = ok && add(set, std::string(prefix) + "ipp" + domain + ".dll");
            for (const char* cpu : kIppCpuSuffixes)
                ok = ok && add(set, std::string(prefix) + "ipp" + domain + cpu + ".dll");
        }
        ok = ok && add(set, std::string(prefix) + "ippcore.dll");
    }
    return ok;
}

namespace {
bool documentsSubFolder(const char* name, hnFileSet& set) {
    set = hnFileSet();
    std::string documents;
    return hnDocumentsFolder(documents) &&
           hnFormat(set.folder, kPathCapacity, "%s\\Orvanto 15.0\\%s", documents.c_str(), name);
}
} // namespace

bool smartCardConfigFileSet(hnFileSet& set) {
    if (!documentsSubFolder("Orvanto Quiver VAVUZirar Config 4.0", set))
        return false;
    bool ok = true;
    for (const char* name : kSmartCardConfigFiles)
        ok = ok && add(set, name);
    return ok;
}

bool smartCardProgramFileSet(hnFileSet& set) {
    if (!documentsSubFolder("Orvanto Quiver VAVUZirar Program and Driver 5.0", set))
        return false;
    bool ok = true;
    for (const char* name : kSmartCardDriverFiles)
        ok = ok && add(set, std::string("CP210x_Universal_Windows_Driver\\") + name);
    for (const char* name : kSmartCardProgramFiles)
        ok = ok && add(set, std::string("VAVUZirar_Program 5.0\\") + name);
    return ok;
}

bool cycleControllerFileSet(hnFileSet& set) {
    set = hnFileSet();
    std::string programFiles;
    if (!programFilesFolder(programFiles) ||
        !hnFormat(set.folder, kPathCapacity, "%s\\Halvenor AS\\Cycle Controller", programFiles.c_str()))
        return false;
    bool ok = true;
    for (const char* name : kCycleControllerFiles)
        ok = ok && add(set, name);
    return ok;
}

bool zentraFileSet(hnFileSet& set) {
    std::string runtime;
    if (!runtimeSubFolder("Python", set, runtime))
        return false;
    bool ok = true;
    for (const char* name : {"zentraapi.py", "pyzentra24.pyd", "pyzentra25.pyd", "pyzentra26.pyd"})
        ok = ok && add(set, name);
    return ok;
}
