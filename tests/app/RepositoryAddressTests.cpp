#include <gtest/gtest.h>

#include "app/RepositoryAddress.h"

namespace {
const char* const kMirror = "http://127.0.0.1:8080";
const char* const kFile =
    "/orvanto/files/InstallerRepositories/Orvanto15.0/774/OrvantoVisionSoftware/demo.zip";

std::string viaMirror(const std::string& url) {
    return hnRepositoryAddressOf(url, kMirror);
}
} // namespace

TEST(RepositoryAddress, AnyHostPortAndSchemeOfTheRepositoryPathsGoesToTheGivenServer) {
    const std::string expected = std::string(kMirror) + kFile;
    EXPECT_EQ(expected, viaMirror(std::string("http://repository.orvanto.com") + kFile));
    EXPECT_EQ(expected, viaMirror(std::string("http://127.0.0.1:41234") + kFile));
    EXPECT_EQ(expected, viaMirror(std::string("HTTP://Other-Host.example:80") + kFile));
    EXPECT_EQ(expected, viaMirror(std::string("https://cdn.example.net") + kFile));
    EXPECT_EQ(expected, viaMirror(std::string("http://[::1]:9000") + kFile));
    // The root is matched without regard to case; the path keeps its spelling,
    // since the mirror stores it as the list names it.
    EXPECT_EQ(std::string(kMirror) + "/Orvanto/files/A.zip", viaMirror("http://host/Orvanto/files/A.zip"));
    // The query goes along, the fragment does not.
    EXPECT_EQ(std::string(kMirror) + "/orvanto/a.zip?v=2&x=%41",
              viaMirror("http://host:1/orvanto/a.zip?v=2&x=%41#part"));
    // Blanks, escaped or not, stay as they are.
    EXPECT_EQ(std::string(kMirror) + "/orvanto/files/vc2005sp1 - redist_x86.exe",
              viaMirror("http://host/orvanto/files/vc2005sp1 - redist_x86.exe"));
    EXPECT_EQ(std::string(kMirror) + "/orvanto/help/774Help%20-%20Tutorials.rtf",
              viaMirror("http://host/orvanto/help/774Help%20-%20Tutorials.rtf"));
}

TEST(RepositoryAddress, AddressesOutsideTheRepositoryPathsStayAsListed) {
    for (const char* url : {"http://www.orvanto.com/products/vision.html", "http://host/orvantox/a.zip",
                            "http://host/files/orvanto/a.zip", "http://host", "http://host?/orvanto/a.zip",
                            "https://video.example.com/watch?v=/orvanto/"}) {
        EXPECT_EQ(url, viaMirror(url)) << url;
        EXPECT_EQ(hnListedAddress::Kind::Elsewhere, hnReadListedAddress(url).kind) << url;
    }
    // No repository given for the run: nothing changes.
    std::string listed = std::string("http://host") + kFile;
    EXPECT_EQ(listed, hnRepositoryAddressOf(listed, ""));
}

TEST(RepositoryAddress, MalformedOrHostileAddressesAreUntrustedAndNeverRedirected) {
    for (const char* url : {"",
                            "orvanto/files/a.zip",
                            "/orvanto/files/a.zip",
                            "ftp://host/orvanto/a.zip",
                            "file:///C:/orvanto/a.zip",
                            "http:///orvanto/a.zip",
                            "http://user:pw@host/orvanto/a.zip",
                            "http://host:0/orvanto/a.zip",
                            "http://host:65536/orvanto/a.zip",
                            "http://host:/orvanto/a.zip",
                            "http://host:8o/orvanto/a.zip",
                            "http://ho st/orvanto/a.zip",
                            " http://host/orvanto/a.zip",
                            "http://host/orvanto/../windows/a.exe",
                            "http://host/orvanto/%2e%2e/a.exe",
                            "http://host/orvanto/x/%2E/a.exe",
                            "http://host/orvanto/x%2fy/a.exe",
                            "http://host/orvanto/x%5Cy.exe",
                            "http://host/orvanto/a%zz.zip",
                            "http://host/orvanto/a%4",
                            "http://host/orvanto//a.zip",
                            "http://host/orvanto/files/",
                            "http://host\\orvanto\\a.zip",
                            "http://host/orvanto/a.zip\r\n",
                            "http://host/orvanto/caf\xe9.zip",
                            "http://host/orvanto/%00.zip",
                            "http://[::1/orvanto/a.zip"}) {
        EXPECT_EQ(url, viaMirror(url)) << url;
        EXPECT_NE(hnListedAddress::Kind::Repository, hnReadListedAddress(url).kind) << url;
    }
}

TEST(RepositoryAddress, ServerPathsLieBelowTheMirrorFolderAsPlainNames) {
    std::string local;
    ASSERT_TRUE(hnLocalPathOfServerPath("C:\\Mirror\\", "/orvanto/help/774Help%20-%20Tutorials.rtf", local));
    EXPECT_EQ("C:\\Mirror\\orvanto\\help\\774Help - Tutorials.rtf", local);
    ASSERT_TRUE(hnLocalPathOfServerPath("D:\\plant mirror", "/orvanto/a.zip", local));
    EXPECT_EQ("D:\\plant mirror\\orvanto\\a.zip", local);
    // Names that would leave the folder or name something else are refused.
    for (const char* path : {"/orvanto/%2e%2e/x", "/orvanto/a:b/x", "/orvanto/CON", "/orvanto/a.",
                             "/orvanto/a%3F", "orvanto/a.zip", "/orvanto//a"})
        EXPECT_FALSE(hnLocalPathOfServerPath("C:\\Mirror", path, local)) << path;
    EXPECT_EQ("", local);
}
