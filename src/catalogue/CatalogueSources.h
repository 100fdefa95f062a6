#pragma once
// Where the server's content lists come from and how a catalogue page fetches
// one; the checks that every server value passes before it reaches the file
// system or the shell; and the identification file of an installed profile.
#include <memory>
#include <string>
#include <vector>
#include <windows.h>

#include "download/InstallationElement.h"

class CatalogueList;
class hnInstallManagerBase;

enum class CatalogueKind {
    DemoProfiles,
    DemoProfilesPy36,
    Templates,
    TemplatesPy36,
    Tutorials,
    Resources,
    Py27Packages,
    Py36Packages,
};

// One list file: its name, server folder, cache folder (below the
// application folder), the name and category of its element.
struct CatalogueSource {
    CatalogueKind kind;
    const char* fileName;
    const char* serverFolder;
    const char* cacheFolder;
    const char* elementName;
    const char* category;
    int32_t sizeHint;
};

const CatalogueSource& catalogueSource(CatalogueKind kind);

// The list's element: empty switches, not a package, refreshed before an
// installer copy; its three page strings are the caller's.
std::unique_ptr<hnInstallationElement> createListElement(CatalogueKind kind, std::string* nameText,
                                                         std::string* statusText, std::string* progressText);

// "%s\\%s" of the element's download folder and file name.
std::string localListPath(const hnInstallationElement& listElement);

// The download step of a catalogue refresh: fetches the list (component 1 of
// 1, download-only) with refresh = `forceDownload`; a cached list is used
// when the download fails. When the dialog did not end with OK, a local list
// exists and `showMessage` is set, shows `usingDefaultMessage`. True when a
// local list file exists afterwards.
bool fetchCatalogueList(hnInstallationElement& listElement, bool forceDownload, bool showMessages,
                        bool showMessage, const char* usingDefaultMessage, HWND owner);

// Fills `manager` with one content element per list entry whose URL holds a
// separator (download-only archives of `sizeHint` 0x400000 into `cacheFolder`
// below the application folder). Entries whose file name cut from the URL is
// not a plain name are skipped with a debug line. -1 without manager or list
// file, else 1. `folderNames` (when given) receives each element's folder
// name (ClassName, or Name when that is empty), in the elements' order.
int buildCatalogueContentElements(hnInstallManagerBase* manager, const hnInstallationElement& listElement,
                                  CatalogueList& list, const char* cacheFolder, const char* category,
                                  std::string* nameText, std::string* statusText, std::string* progressText,
                                  std::vector<std::string>* folderNames = nullptr);

// What every entry of a content archive must start with (compared without
// regard to case): "<ClassName>\\" for a profile, "<ClassName>_" and any
// version text for a template. An empty name gives a prefix no entry matches.
std::string profileEntryPrefix(const std::string& folderName);
std::string templateEntryPrefix(const std::string& folderName);

// The file name after the last '\\' or '/' of a URL; false when the URL has
// no separator. The name is not checked.
bool fileNameOfUrl(const std::string& url, std::string& fileName);

// A link that may be opened through the shell: "http://" or "https://"
// followed by a host, or "mailto:" followed by an address. Anything else
// (file:, UNC paths, programs, other schemes) is refused.
bool isWebLink(const std::string& link);

// Opens a web link with the shell verb "open"; the shell's result, or 0 when
// the link is refused.
INT_PTR openWebLink(const std::string& link, HWND owner);

// Deletes the folder `name` inside `folder` (ending with a separator): only
// when the name is plain and the full path lies strictly inside the folder.
// True only when the folder is gone afterwards.
bool deleteFolderInside(const std::string& folder, const std::string& name);

// The installed version of a demo profile: the profile is installed when
// "<folder>\\Orvanto.Opb" and "<folder>\\General.Ini" exist; its version is
// "VersionLabel" of section "Identification" of "General.Ini".
bool readInstalledProfile(const std::string& profileFolder, std::string& version);

// The user's content folders "%s\\Orvanto 15.0\\<Name>\\" of the documents
// folder, ending with a separator; empty when the documents folder is unknown.
std::string userContentFolder(const char* name);
// The runtime folder registered by the runtime product ("InstallPath" of its
// key), ending with a separator; empty when the key is missing.
std::string registeredRuntimeFolder();
