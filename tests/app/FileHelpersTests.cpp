#include <gtest/gtest.h>

#include "app/FileHelpers.h"
#include "support/TestSupport.h"

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
