#pragma once
// The catalogue pages' server: list files and archives written into the
// fixtures folder and served over HTTP (ORVANTO_TEST_HTTP_URL/files/...);
// the content and cache folders are left as they were found.
#include <string>
#include <vector>
#include <windows.h>

#include "app/FileHelpers.h"
#include "catalogue/CatalogueSources.h"
#include "download/InstallationElement.h"
#include "support/TestSupport.h"

constexpr const char* kListFolder =
    "C:\\orvanto-fixtures\\catalogue\\orvanto\\files\\InstallerRepositories\\Orvanto15."
    "0\\774\\OrvantoVisionSoftware";

inline std::string serverUrl() {
    char value[256] = {};
    ::GetEnvironmentVariableA("ORVANTO_TEST_HTTP_URL", value, sizeof(value));
    return value;
}

// Points the pages at the fixtures folder, serves the lists written into it
// and leaves the content and cache folders as it found them.
class CatalogueServer {
public:
    CatalogueServer() {
        ::SetEnvironmentVariableA("ORVANTO_REPOSITORY_URL", (serverUrl() + "/files").c_str());
        makeFolders(kListFolder);
        for (const char* name : {"Profiles", "Templates", "Tutorials"}) {
            std::string folder = userContentFolder(name);
            if (!fileExists(folder.substr(0, folder.size() - 1)))
                made_.push_back(folder.substr(0, folder.size() - 1));
        }
        clearCaches();
    }
    ~CatalogueServer() {
        for (const std::string& folder : made_)
            deleteFolderTree(folder.c_str(), folder.c_str());
        clearCaches();
        std::string lists = "C:\\orvanto-fixtures\\catalogue";
        deleteFolderTree(lists.c_str(), lists.c_str());
        ::SetEnvironmentVariableA("ORVANTO_REPOSITORY_URL", nullptr);
    }
    void publish(const char* fileName, const std::string& content) {
        writeTextFile(std::string(kListFolder) + "\\" + fileName, content);
    }
    void withdraw(const char* fileName) {
        ::DeleteFileA((std::string(kListFolder) + "\\" + fileName).c_str());
    }
    static std::string zip(const std::string& kind) { return serverUrl() + "/zip/" + kind + ".zip"; }
    static void clearCaches() {
        for (CatalogueKind kind : {CatalogueKind::DemoProfiles, CatalogueKind::Templates,
                                   CatalogueKind::Tutorials, CatalogueKind::Resources}) {
            std::string folder = cacheFolder(catalogueSource(kind).cacheFolder);
            deleteFolderTree(folder.c_str(), folder.c_str());
        }
        for (const char* relative : {cache::kReadme, cache::kHelp}) {
            std::string folder = cacheFolder(relative);
            deleteFolderTree(folder.c_str(), folder.c_str());
        }
    }

private:
    std::vector<std::string> made_;
};

// Pumps messages until the page's fresh list, which its first activation
// fetches on a worker, has answered and shows.
template <typename Page> bool awaitFreshList(Page& page) {
    return waitFor([&] { return !page.fetchingList(); }, 30000);
}
