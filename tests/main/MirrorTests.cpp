// /repository sending the lists' addresses to the given server, and /mirror's
// refusals and failures (the mirror served by a web server: tests/fleet).
#include <gtest/gtest.h>

#include "app/FileHelpers.h"
#include "catalogue/CatalogueList.h"
#include "download/InternetStop.h"
#include "main/ExitCodes.h"
#include "main/InstallerApp.h"
#include "main/Mirror.h"
#include "support/TestSupport.h"

namespace {

std::string sessionLogText() {
    return readTextFile(theApp()->sessionLog().path());
}

// A repository given for the test's run, taken back afterwards.
struct GivenRepository {
    explicit GivenRepository(const char* url) { theApp()->setRepositoryOverride(url); }
    ~GivenRepository() { theApp()->setRepositoryOverride(""); }
};

const char* const kSet = "[Component Set]\r\nFormat=1\r\n[Components]\r\nPython 2.7.13=2.7.13\r\n";

} // namespace

TEST(RepositoryOfTheRun, ListsAddressesBelowTheRepositoryPathsGoToIt) {
    ScratchFolder folder;
    std::string sectioned = folder.file("774demo.txt");
    std::string ini = folder.file("774tutorials.ini.txt");
    ASSERT_TRUE(writeTextFile(sectioned, "[2D]\nName=Blob\nURL=http://10.1.1.1:81/orvanto/files/Blob.zip\n"
                                         "InfoURL=http://10.1.1.1:81/orvanto/info/blob.html\n"
                                         "[2D]\nName=Web\nURL=http://www.example.com/Web.zip\n"));
    ASSERT_TRUE(writeTextFile(ini, "[01 Start]\r\nURL=http://old.host/orvanto/files/Tutorial1.zip\r\n"));

    CatalogueList list;
    {
        GivenRepository mirror("http://mirror.plant:8080");
        ASSERT_EQ(1, list.load(sectioned.c_str()));
        EXPECT_EQ("http://mirror.plant:8080/orvanto/files/Blob.zip", list.entries[0].URL);
        EXPECT_EQ("http://www.example.com/Web.zip", list.entries[1].URL);
        // Pages opened in a browser stay where the list says.
        EXPECT_EQ("http://10.1.1.1:81/orvanto/info/blob.html", list.entries[0].InfoURL);
        EXPECT_EQ("http://mirror.plant:8080/orvanto/files/Tutorial1.zip",
                  readListedAddress(ini, "01 Start", "URL"));
    }
    // Without /repository the lists are used as they are (the wizard).
    ASSERT_EQ(1, list.load(sectioned.c_str()));
    EXPECT_EQ("http://10.1.1.1:81/orvanto/files/Blob.zip", list.entries[0].URL);
    EXPECT_EQ("http://old.host/orvanto/files/Tutorial1.zip", readListedAddress(ini, "01 Start", "URL"));
}

TEST(MirrorRun, ABadSetIsRefusedBeforeAnythingIsFetched) {
    ScratchFolder folder;
    std::string set = folder.file("plant set.ini");
    ASSERT_TRUE(
        writeTextFile(set, "[Component Set]\r\nFormat=1\r\n[Components]\r\nOrvanto Flux Capacitor=1\r\n"));
    hnInternetStop stop;
    std::string error;
    EXPECT_EQ(exitcode::kBadSetFile, hnMirrorRepository(folder.file("mirror"), set, stop, error));
    EXPECT_NE(std::string::npos, error.find("Orvanto Flux Capacitor")) << error;
    EXPECT_FALSE(fileExists(folder.file("mirror")));
}

TEST(MirrorRun, AFileThatCannotBeFetchedFailsTheRunNamingItAndItsAddress) {
    ScratchFolder folder;
    std::string set = folder.file("plant set.ini");
    ASSERT_TRUE(writeTextFile(set, kSet));
    GivenRepository closed("http://127.0.0.1:9"); // nothing listens there
    hnInternetStop stop;
    std::string error;
    EXPECT_EQ(exitcode::kFailed, hnMirrorRepository(folder.file("mirror"), set, stop, error));
    EXPECT_NE(std::string::npos, error.find("http://127.0.0.1:9/orvanto/")) << error;
    std::string log = sessionLogText();
    EXPECT_NE(std::string::npos,
              log.find("Mirror: failed: \"Python 2.7.13\" from "
                       "http://127.0.0.1:9/orvanto/files/InstallerDownloads/_Modules/Py27/Python27/"
                       "python-2.7.13.msi: Error. Unable to download file - "));
    // Nothing half-fetched is left in the mirror.
    EXPECT_FALSE(
        fileExists(folder.file("mirror\\orvanto\\files\\InstallerDownloads\\_Modules\\Py27\\Python27\\"
                               "python-2.7.13.msitmp")));
    EXPECT_FALSE(
        fileExists(folder.file("mirror\\orvanto\\files\\InstallerDownloads\\_Modules\\Py27\\Python27\\"
                               "python-2.7.13.msi")));
}

TEST(MirrorRun, AStoppedRunIsCancelled) {
    ScratchFolder folder;
    std::string set = folder.file("plant set.ini");
    ASSERT_TRUE(writeTextFile(set, kSet));
    GivenRepository closed("http://127.0.0.1:9");
    hnInternetStop stop;
    stop.requestStop();
    std::string error;
    EXPECT_EQ(exitcode::kCancelled, hnMirrorRepository(folder.file("mirror"), set, stop, error));
    EXPECT_EQ("the mirror was stopped", error);
}
