#include <gtest/gtest.h>

#include "app/FileHelpers.h"
#include "support/TestSupport.h"

#include <windows.h>

// Wine makes neither junctions nor cloud placeholders, so the decision is
// handed each kind of entry as the listing would report it.
TEST(LinkTest, OnlySymbolicLinksAndJunctionsAreLinks) {
    const DWORD folder = FILE_ATTRIBUTE_DIRECTORY;
    const DWORD reparse = FILE_ATTRIBUTE_REPARSE_POINT;
    EXPECT_TRUE(hnIsLink(folder | reparse, IO_REPARSE_TAG_MOUNT_POINT));  // junction
    EXPECT_TRUE(hnIsLink(folder | reparse, IO_REPARSE_TAG_SYMLINK));      // folder link
    EXPECT_TRUE(hnIsLink(FILE_ATTRIBUTE_ARCHIVE | reparse, IO_REPARSE_TAG_SYMLINK));
    EXPECT_TRUE(hnIsLink(folder | reparse, 0)); // tag not read: never followed

    const DWORD cloudFile = 0x9000001Au; // a cloud-sync placeholder's tag
    const DWORD offline = FILE_ATTRIBUTE_ARCHIVE | reparse | FILE_ATTRIBUTE_OFFLINE;
    EXPECT_FALSE(hnIsLink(offline, cloudFile));
    EXPECT_FALSE(hnIsLink(folder | reparse, cloudFile));
    EXPECT_FALSE(hnIsLink(FILE_ATTRIBUTE_ARCHIVE | reparse, IO_REPARSE_TAG_DEDUP));
    EXPECT_FALSE(hnIsLink(folder, IO_REPARSE_TAG_SYMLINK)); // no reparse point, stale tag
    EXPECT_FALSE(hnIsLink(INVALID_FILE_ATTRIBUTES, IO_REPARSE_TAG_SYMLINK));
}

TEST(DeleteFolderTree, RefusesMissingShortOrUnguardedPaths) {
    ScratchFolder scratch;
    std::string victim = scratch.file("keep");
    makeFolders(victim);
    writeTextFile(victim + "\\a.txt", "a");

    EXPECT_FALSE(deleteFolderTree(nullptr, "keep"));
    EXPECT_FALSE(deleteFolderTree(victim.c_str(), nullptr));
    EXPECT_FALSE(deleteFolderTree("", ""));
    EXPECT_FALSE(deleteFolderTree("C:\\abc", "C:\\abc")); // 6 characters: too short
    EXPECT_FALSE(deleteFolderTree(victim.c_str(), "not-in-the-path"));
    EXPECT_TRUE(fileExists(victim + "\\a.txt"));
}

TEST(DeleteFolderTree, RemovesNestedTreeWithReadOnlyFiles) {
    ScratchFolder scratch;
    std::string root = scratch.file("tree");
    makeFolders(root + "\\sub\\deeper");
    writeTextFile(root + "\\top.txt", "x");
    writeTextFile(root + "\\sub\\deeper\\ro.txt", "x");
    ::SetFileAttributesA((root + "\\sub\\deeper\\ro.txt").c_str(), FILE_ATTRIBUTE_READONLY);
    std::string sibling = scratch.file("tree-sibling.txt");
    writeTextFile(sibling, "stays");

    EXPECT_TRUE(deleteFolderTree(root.c_str(), root.c_str()));
    EXPECT_FALSE(fileExists(root));
    EXPECT_EQ("stays", readTextFile(sibling));
}

TEST(DeleteFolderTree, NeverEntersALinkedFolder) {
    const std::string tree = "C:\\orvanto-fixtures\\link-tree";
    if (!fileExists(tree + "\\folder-link"))
        GTEST_SKIP() << "fixture missing: run tests/fixtures/prepare";
    DWORD attributes = ::GetFileAttributesA((tree + "\\folder-link").c_str());
    ASSERT_NE(0u, attributes & FILE_ATTRIBUTE_REPARSE_POINT);

    EXPECT_TRUE(deleteFolderTree(tree.c_str(), "link-tree"));
    EXPECT_FALSE(fileExists(tree + "\\plain"));
    EXPECT_EQ("keep\n", readTextFile("C:\\orvanto-fixtures\\link-target\\keep.txt"));
    EXPECT_EQ("keep\n", readTextFile("C:\\orvanto-fixtures\\link-target\\inner\\keep.txt"));
}

TEST(DeleteFolderTree, ALinkGivenAsTheTreeIsNotFollowed) {
    const std::string link = "C:\\orvanto-fixtures\\link-tree\\folder-link";
    if (!fileExists(link))
        GTEST_SKIP() << "fixture missing: run tests/fixtures/prepare";
    EXPECT_TRUE(deleteFolderTree(link.c_str(), link.c_str()));
    EXPECT_TRUE(fileExists("C:\\orvanto-fixtures\\link-target\\inner\\keep.txt"));
}

TEST(DeleteInstallDataFolder, RemovesTheCacheAndAcceptsAMissingOne) {
    ScratchFolder scratch;
    makeFolders(scratch.file("_OrvantoInstallData\\Prerequisites"));
    writeTextFile(scratch.file("_OrvantoInstallData\\Prerequisites\\vcredist_x86.exe"), "x");
    writeTextFile(scratch.file("beside.txt"), "stays");
    EXPECT_TRUE(deleteInstallDataFolder(scratch.path()));
    EXPECT_FALSE(fileExists(scratch.file("_OrvantoInstallData")));
    EXPECT_TRUE(fileExists(scratch.file("beside.txt")));
    EXPECT_TRUE(deleteInstallDataFolder(scratch.path()));
}

TEST(FileExists, FilesFoldersAndWildcards) {
    ScratchFolder scratch;
    writeTextFile(scratch.file("python-2.7.9.msi"), "m");
    EXPECT_TRUE(fileExists(scratch.path()));
    EXPECT_TRUE(fileExists(scratch.file("python-2.7.9.msi")));
    EXPECT_TRUE(fileExists(scratch.file("*.msi")));
    EXPECT_FALSE(fileExists(scratch.file("*.exe")));
}
