#pragma once
#include <string>
#include <vector>

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

// A file or folder name from the server (lists and URLs) that may be written or
// deleted inside a folder, the program running elevated: plain (below) and not
// of the short-alias form (at most eight characters ending in "~" and digits,
// then an optional extension of at most three), which could name another
// entry of the folder.
bool isPlainFileName(const std::string& fileName);
// A name read from the user's own folders: not empty, not "." or "..", none of
// \\ / : * ? " < > | or control characters, no trailing dot or blank, and no
// device name (CON, PRN, AUX, NUL, COM1-9, LPT1-9, COM or LPT followed by a
// superscript 1-3, also with an extension). Short aliases pass.
bool isPlainLocalFileName(const std::string& fileName);
// `name` is a plain server name and "%s%s" of `folder` (ending with a
// separator) stays under 260 characters.
bool isPlainNameInFolder(const std::string& folder, const std::string& name);

// The full path (GetFullPathName) of `path` lies strictly inside the full path
// of `folder`: the folder itself and anything beside it are outside.
bool isStrictlyInsideFolder(const std::string& path, const std::string& folder);

// The one decision for "link" everywhere (tree copy, folder delete, unzipper,
// profile lists): a symbolic link or a junction, told by its reparse tag
// (WIN32_FIND_DATA::dwReserved0). Other reparse points, such as cloud-sync
// placeholders, are ordinary files and folders. A reparse point whose tag was
// not read (0) counts as a link: when in doubt, never follow. Listings zero
// their find data first, since not every file system writes the tag.
bool hnIsLink(unsigned long attributes, unsigned long reparseTag);
// The entry at `path` itself, not followed; false when it does not exist.
bool hnIsLinkPath(const std::string& path);

// Makes `path` a real folder for an elevated program to work in: a link there
// is removed as a link (its target untouched) and a missing folder is made.
// True only when a real folder, not a link, stands there afterwards; a file of
// that name is left alone and refused.
bool hnMakeRealFolder(const std::string& path);

// Links in the folders the installer writes to or deletes in, below the
// documents folder, the temp folder and the application folder (any process of
// the user can plant one there). The first `followable` components below the
// base are folders users move to another drive ("Orvanto 15.0", then
// "Profiles", "Templates", "Tutorials"): a link there is followed only when its
// final target lies outside the Windows folder, the program-files folders and
// the root of the system drive. Deeper links are never followed.
struct hnLinkRules {
    std::vector<std::string> forbiddenTargets; // folders a followed link must not lead into
    std::string forbiddenRoot;                 // a link must not lead to this root itself
};
// The rules of this machine.
hnLinkRules hnMachineLinkRules();
// The decision for one component, from what a listing reports of it
// (attributes and reparse tag) and the link's final target: true when the
// installer may go on through it.
bool hnMayPassFolder(unsigned long attributes, unsigned long reparseTag, bool followable,
                     const std::string& finalTarget, const hnLinkRules& rules);
// Checks every component of `path` below `base` (not `base` itself). On
// refusal `refusal` holds "The folder '<path>' is a link to '<target>'; the
// installer does not write there." for the first offending component.
bool hnFolderChainIsSafe(const std::string& base, const std::string& path, int followable,
                         const hnLinkRules& rules, std::string& refusal);
// The same below whichever of the documents folder (two followable
// components), the temp folder and the application folder (none followable)
// holds `path`; a path below none of them is not checked.
bool hnWriteFolderIsSafe(const std::string& path, std::string& refusal);

// Clears read-only and friends, then deletes the file.
bool deleteFileForced(const std::string& path);

extern const char* const kInstallDataFolderName; // "_OrvantoInstallData"
