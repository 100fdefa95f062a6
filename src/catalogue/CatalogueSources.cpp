#include "catalogue/CatalogueSources.h"

#include <cctype>
#include <cstring>
#include <shellapi.h>

#include "app/AppBase.h"
#include "app/DebugOut.h"
#include "app/FileHelpers.h"
#include "app/InstallerServices.h"
#include "app/RepositoryAddress.h"
#include "app/SystemView.h"
#include "app/Text.h"
#include "catalogue/CatalogueList.h"
#include "download/DownloadDialogs.h"
#include "install/InstallManager.h"

namespace {

const char* const kContentServerFolder =
    "/orvanto/files/InstallerRepositories/Orvanto15.0/774/OrvantoVisionSoftware/";
const char* const kPackagesServerFolder =
    "/orvanto/files/InstallerRepositories/Orvanto15.0/774/PythonPackages/";
const int32_t kListSize = 0x100000;
const int32_t kPackageListSize = 1024000;
const int32_t kContentSize = 0x400000;

const CatalogueSource kSources[] = {
    {CatalogueKind::DemoProfiles, "774demo.txt", kContentServerFolder, cache::kDemoProfiles,
     "Orvanto Vision Demo Profiles", "Demo Profiles", kListSize},
    {CatalogueKind::DemoProfilesPy36, "774demoPy36.txt", kContentServerFolder, cache::kDemoProfilesPy36,
     "Orvanto Vision Demo Profiles (Python 36)", "Demo Profiles (Python 36)", kListSize},
    {CatalogueKind::Templates, "774OTC.txt", kContentServerFolder, cache::kTemplates,
     "Orvanto Vision Templates", "Templates", kListSize},
    {CatalogueKind::TemplatesPy36, "774OTCPy36.txt", kContentServerFolder, cache::kTemplatesPy36,
     "Orvanto Vision Templates (Python 36)", "Templates (Python 36)", kListSize},
    {CatalogueKind::Tutorials, "774tutorials.ini.txt", kContentServerFolder, cache::kTutorials,
     "Orvanto Vision Tutorials", "Tutorials", kListSize},
    {CatalogueKind::Resources, "774resorces.ini.txt", kContentServerFolder, cache::kResources,
     "Orvanto Vision Resources", "Resources", kListSize},
    {CatalogueKind::Py27Packages, "774Py27Packages.txt", kPackagesServerFolder, cache::kPy27Packages,
     "Orvanto Python 27 Packages", "Recommended Orvanto Extensions", kPackageListSize},
    {CatalogueKind::Py36Packages, "774Py36Packages.txt", kPackagesServerFolder, cache::kPy36Packages,
     "Orvanto Python 36 Packages", "Recommended Orvanto Extensions (Python 36)", kPackageListSize},
};

bool startsWithNoCase(const std::string& text, const char* prefix) {
    std::size_t length = std::strlen(prefix);
    return text.size() >= length && hnEqualsNoCase(text.substr(0, length), prefix);
}

bool isHostCharacter(unsigned char c) {
    return std::isalnum(c) || c == '.' || c == '-' || c == '_' || c == ':' || c == '[' || c == ']';
}

} // namespace

const CatalogueSource& catalogueSource(CatalogueKind kind) {
    for (const CatalogueSource& source : kSources)
        if (source.kind == kind)
            return source;
    return kSources[0];
}

std::unique_ptr<hnInstallationElement> createListElement(CatalogueKind kind, std::string* nameText,
                                                         std::string* statusText, std::string* progressText) {
    const CatalogueSource& source = catalogueSource(kind);
    std::string base = installerServices() ? installerServices()->repositoryBaseUrl() : std::string();
    std::string url = base + source.serverFolder + source.fileName;
    return std::unique_ptr<hnInstallationElement>(new hnInstallationElement(
        source.elementName, url.c_str(), source.fileName, "", cacheFolder(source.cacheFolder).c_str(), false,
        source.sizeHint, true, nameText, statusText, progressText, source.category));
}

std::string localListPath(const hnInstallationElement& listElement) {
    std::string path;
    hnFormat(path, kPathCapacity, "%s\\%s", listElement.downloadFolder.c_str(), listElement.fileName.c_str());
    return path;
}

bool fetchCatalogueList(hnInstallationElement& listElement, bool forceDownload, bool showMessages,
                        bool showMessage, const char* usingDefaultMessage, HWND owner) {
    // Without a forced download a cached list is used as it is: the dialog
    // would only flash "Download completed" for its 100 ms at every page
    // activation and end with OK.
    std::string path = localListPath(listElement);
    if (!forceDownload && !path.empty() && fileExists(path))
        return true;
    INT_PTR outcome;
    {
        DDownloadAndInstallComponent dialog(1, 1, &listElement, true, forceDownload, showMessages);
        outcome = dialog.doModal(owner);
    }
    path = localListPath(listElement);
    bool available = !path.empty() && fileExists(path);
    if (outcome != IDOK && available && showMessage && usingDefaultMessage)
        hnAppBase::current()->prompter().messageBox(owner, usingDefaultMessage, kInstallerCaption, MB_OK);
    return available;
}

bool fileNameOfUrl(const std::string& url, std::string& fileName) {
    std::size_t separator = url.find_last_of("\\/");
    if (separator == std::string::npos)
        return false;
    fileName = url.substr(separator + 1);
    return true;
}

int buildCatalogueContentElements(hnInstallManagerBase* manager, const hnInstallationElement& listElement,
                                  CatalogueList& list, const char* cacheFolderName, const char* category,
                                  std::string* nameText, std::string* statusText, std::string* progressText,
                                  std::vector<std::string>* folderNames) {
    if (!manager)
        return -1;
    if (folderNames)
        folderNames->clear();
    std::string path = localListPath(listElement);
    if (path.empty() || !fileExists(path))
        return -1;
    list.load(path.c_str());
    std::string folder = cacheFolder(cacheFolderName);
    std::vector<std::unique_ptr<hnInstallationElement>> built;
    for (const CatalogueEntry& entry : list.entries) {
        std::string fileName;
        if (!fileNameOfUrl(entry.URL, fileName))
            continue;
        if (!isPlainNameInFolder(folder + "\\", fileName)) {
            hnDebugOutF("buildContentElements - Unsafe file name in the list, entry '%s' skipped\n",
                        entry.Name.c_str());
            continue;
        }
        built.emplace_back(new hnInstallationElement(entry.Name.c_str(), entry.URL.c_str(), fileName.c_str(),
                                                     "", folder.c_str(), false, kContentSize, false, nameText,
                                                     statusText, progressText, category));
        if (folderNames)
            folderNames->push_back(entry.ClassName.empty() ? entry.Name : entry.ClassName);
    }
    manager->clearElements();
    std::vector<hnInstallationElement*> pointers;
    for (auto& element : built)
        pointers.push_back(element.get());
    if (!pointers.empty())
        manager->setElements(static_cast<unsigned>(pointers.size()), pointers.data());
    return 1;
}

bool isWebLink(const std::string& link) {
    for (unsigned char c : link)
        if (c <= ' ' || c == 127 || c == '\\')
            return false;
    if (startsWithNoCase(link, "mailto:"))
        return link.size() > std::strlen("mailto:");
    std::size_t hostStart, hostEnd;
    if (!hnWebAddressAuthority(link, hostStart, hostEnd) || hostEnd == hostStart)
        return false;
    for (std::size_t i = hostStart; i < hostEnd; ++i)
        if (!isHostCharacter(static_cast<unsigned char>(link[i])))
            return false;
    return true;
}

INT_PTR openWebLink(const std::string& link, HWND owner) {
    if (!isWebLink(link)) {
        hnDebugOut("openWebLink - Refused a link that is not a web address\n");
        return 0;
    }
    INT_PTR shell =
        reinterpret_cast<INT_PTR>(::ShellExecuteA(owner, "open", link.c_str(), nullptr, nullptr, SW_SHOW));
    hnSessionLogF("Program", "opened %s, shell result %d", link.c_str(), static_cast<int>(shell));
    return shell;
}

std::string profileEntryPrefix(const std::string& folderName) {
    return folderName.empty() ? std::string("\\") : folderName + "\\";
}

std::string templateEntryPrefix(const std::string& folderName) {
    return folderName.empty() ? std::string("\\") : folderName + "_";
}

bool deleteFolderInside(const std::string& folder, const std::string& name) {
    std::string path;
    if (!isPlainNameInFolder(folder, name) ||
        !hnFormat(path, kPathCapacity, "%s%s", folder.c_str(), name.c_str()) ||
        !isStrictlyInsideFolder(path, folder)) {
        hnDebugOut("deleteFolderInside - Refused a path outside the content folder\n");
        return false;
    }
    // Every folder on the way may be a planted link, not only the last one
    // (a link in place of `name` itself is removed as a link below).
    std::string refusal;
    if (!hnWriteFolderIsSafe(folder, refusal)) {
        hnDebugOutF("deleteFolderInside - %s\n", refusal.c_str());
        if (!refusal.empty())
            appMessageBox(refusal, MB_OK | MB_ICONERROR);
        return false;
    }
    if (!fileExists(path))
        return true;
    deleteFolderTree(path.c_str(), path.c_str());
    return !fileExists(path);
}

bool readInstalledProfile(const std::string& profileFolder, std::string& version) {
    version.clear();
    std::string program, identification;
    if (!hnJoinPath(program, profileFolder, "Orvanto.Opb") ||
        !hnJoinPath(identification, profileFolder, "General.Ini") || !fileExists(program) ||
        !fileExists(identification))
        return false;
    version = readIniValue(identification, "Identification", "VersionLabel");
    return true;
}

std::string userContentFolder(const char* name) {
    std::string documents, folder;
    if (!hnDocumentsFolder(documents) ||
        !hnFormat(folder, kPathCapacity, "%s\\%s\\%s\\", documents.c_str(), "Orvanto 15.0", name))
        return "";
    return folder;
}

std::string registeredRuntimeFolder() {
    std::string folder;
    if (!hnRegReadString(HKEY_LOCAL_MACHINE, "SOFTWARE\\HALVENOR AS\\Orvanto Version XV 15.0.0.774 Runtime",
                         "InstallPath", folder, kPathCapacity) ||
        folder.empty())
        return "";
    if (folder.back() != '\\' && folder.back() != '/')
        folder += '\\';
    return folder;
}
