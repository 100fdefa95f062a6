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

// A file or folder name that may be written or deleted inside a folder
// (names come from server lists and URLs, and the program runs elevated): not
// empty, not "." or "..", none of \\ / : * ? " < > | or control characters,
// no trailing dot or blank, and no device name (CON, PRN, AUX, NUL, COM1-9,
// LPT1-9, also with an extension).
bool isPlainFileName(const std::string& fileName);
// `name` is plain and "%s%s" of `folder` (ending with a separator) and it stays
// under 260 characters.
bool isPlainNameInFolder(const std::string& folder, const std::string& name);

// The full path (GetFullPathName) of `path` lies strictly inside the full path
// of `folder`: the folder itself and anything beside it are outside.
bool isStrictlyInsideFolder(const std::string& path, const std::string& folder);

// The one decision for "link" everywhere (tree copy, folder delete, unzipper,
// profile lists): a symbolic link or a junction, told by its reparse tag
// (WIN32_FIND_DATA::dwReserved0). Other reparse points, such as cloud-sync
// placeholders, are ordinary files and folders. A reparse point whose tag was
// not read (0) counts as a link: when in doubt, never follow.
bool hnIsLink(unsigned long attributes, unsigned long reparseTag);
// The entry at `path` itself, not followed; false when it does not exist.
bool hnIsLinkPath(const std::string& path);

// Clears read-only and friends, then deletes the file.
bool deleteFileForced(const std::string& path);

extern const char* const kInstallDataFolderName; // "_OrvantoInstallData"
