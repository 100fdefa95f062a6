#pragma once
// The file sets that tell a complete component folder from an incomplete one.
// A set is complete when its folder exists and each file of the list, tested
// in order, exists; a file with a reference copy (the runtime keeps working
// copies of files that live in a component folder) must also be identical to
// it (size and write time).
#include <string>
#include <vector>

struct hnFileSetEntry {
    std::string file;
    std::string reference; // empty: no reference copy
};

struct hnFileSet {
    std::string folder;
    std::vector<hnFileSetEntry> files;
};

bool isFileSetComplete(const hnFileSet& set);
// What a reason names: the files of the set that are missing or differ from
// their reference copy, and in `first` the first of them; -1 with the folder
// in `first` when the folder itself is missing.
int countFileSetGaps(const hnFileSet& set, std::string& first);

// Builders: false when the base folder (runtime, documents, program files)
// is unknown or a path does not fit.
// OpenCV build in a runtime sub-folder ("OpenCV249Py27", "OpenCV300", ...).
bool openCvFileSet(const char* folderName, hnFileSet& set);
// 3D toolbox build (333 ... 1114; the Python 3.6 builds are 819 and 1114) in
// its runtime sub-folder ("DeepformVision_1_0_0_333", ...).
bool deepformFileSet(const char* folderName, int build, hnFileSet& set);
// The same with the build number read from the folder name ("..._1_0_0_<build>").
bool deepformBuildFileSet(const char* folderName, hnFileSet& set);
bool ippFileSet(hnFileSet& set);
bool smartCardConfigFileSet(hnFileSet& set);
bool smartCardProgramFileSet(hnFileSet& set);
bool cycleControllerFileSet(hnFileSet& set);
// The Zentra API files in the runtime's Python folder.
bool zentraFileSet(hnFileSet& set);
