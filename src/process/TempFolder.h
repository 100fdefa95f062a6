#pragma once
// The installer's private temp folder (the user's temp folder followed by
// "Orvanto10_9267") and what is placed in it.
#include <string>

constexpr std::size_t kTempSubFolderCapacity = 512;

// The private temp folder, created when missing; false when the temp folder
// is unknown or the folder cannot be made. `reason` receives which of the two
// failed ("temp" or "create") for the caller's debug line.
bool privateTempFolder(std::string& out, const char** reason = nullptr);

// Creates (or empties and re-creates) "<private temp>\\<name>" and stores its
// path in `outPath` (kTempSubFolderCapacity characters).
bool createTempSubFolder(char* outPath, const char* name);

// Copies `sourcePath` into the private temp folder as `newName`, replacing a
// file of that name; the copy's path goes to `outPath` (260 characters).
// 1, or -1 (missing argument), -2 (no source), -3 (no temp folder),
// -4 (copy failed).
int copyRenamedFileToWindowsTempFolder(const char* newName, const char* sourcePath, char* outPath);
