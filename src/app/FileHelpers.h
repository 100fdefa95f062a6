#pragma once
#include <string>

// True when a find-first-file search for the path succeeds (file or folder;
// wildcards match).
bool fileExists(const std::string& path);

// Deletes a folder with everything in it. Refuses (false, nothing touched)
// when an argument is missing, the path has 6 characters or fewer, or the
// path does not contain `guard`. A junction or symbolic link met on the way is
// removed as a link; its target is never entered. True also when some
// entries were left behind.
bool deleteFolderTree(const char* path, const char* guard);

// Deletes the download cache "_OrvantoInstallData" inside `folder`; true when
// it is gone or was never there.
bool deleteInstallDataFolder(const std::string& folder);

// A file name that may be written or deleted inside a folder: not empty, not
// "." or "..", and without '\\', '/' or ':' (names come from server lists).
bool isPlainFileName(const std::string& fileName);

// Clears read-only and friends, then deletes the file.
bool deleteFileForced(const std::string& path);

extern const char* const kInstallDataFolderName; // "_OrvantoInstallData"
