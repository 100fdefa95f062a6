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

TEST(PlainFileName, PortsWithSuperscriptDigitsAreDevices) {
    for (const char* name : {"COM\xB9", "com\xB2.txt", "LPT\xB3", "lpt\xB9.log", "COM\xC2\xB2"}) {
        EXPECT_FALSE(isPlainFileName(name)) << name;
        EXPECT_FALSE(isPlainLocalFileName(name)) << name;
    }
    EXPECT_TRUE(isPlainFileName("COM\xB9x"));
    EXPECT_TRUE(isPlainFileName("COMPUTER\xB9"));
    EXPECT_TRUE(isPlainFileName("COM"));
}

// A short alias names whichever entry the file system gave it to: refused
// where the server chose the name, taken as it is from the user's folders.
TEST(PlainFileName, ShortAliasesOnlyFromTheUsersOwnFolders) {
    for (const char* name : {"PROGRA~1", "ABCDEF~2.TXT", "a~12.z", "PROFIL~9.ZIP"}) {
        EXPECT_FALSE(isPlainFileName(name)) << name;
        EXPECT_FALSE(isPlainNameInFolder("C:\\Data\\", name)) << name;
        EXPECT_TRUE(isPlainLocalFileName(name)) << name;
    }
    for (const char* name : {"LONGERNAME~1", "ABCDEF~2.JSON", "setup~x.exe", "PROFILE~", "my~1.tar.gz"})
        EXPECT_TRUE(isPlainFileName(name)) << name;
}

namespace {
hnLinkRules testRules() {
    hnLinkRules rules;
    rules.forbiddenTargets = {"C:\\Windows", "C:\\Program Files", "C:\\Program Files (x86)"};
    rules.forbiddenRoot = "C:\\";
    return rules;
}
} // namespace

// Junctions cannot be made under Wine: the decision gets what the listing
// reports of one.
TEST(LinkRules, MovedContentFoldersAreFollowedOnlyAwayFromTheSystem) {
    const DWORD junction = FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT;
    const DWORD tag = IO_REPARSE_TAG_MOUNT_POINT;
    hnLinkRules rules = testRules();
    EXPECT_TRUE(hnMayPassFolder(junction, tag, true, "D:\\Vision\\Profiles", rules));
    EXPECT_TRUE(hnMayPassFolder(junction, tag, true, "C:\\Data\\Orvanto", rules));
    EXPECT_TRUE(hnMayPassFolder(junction, tag, true, "C:\\WindowsData", rules)); // beside, not inside
    EXPECT_TRUE(hnMayPassFolder(junction, tag, true, "\\\\server\\share\\Templates", rules));
    EXPECT_TRUE(hnMayPassFolder(junction, tag, true, "D:\\", rules)); // another drive's root

    EXPECT_FALSE(hnMayPassFolder(junction, tag, true, "C:\\Windows\\System32", rules));
    EXPECT_FALSE(hnMayPassFolder(junction, tag, true, "c:\\windows", rules));
    EXPECT_FALSE(hnMayPassFolder(junction, tag, true, "C:\\Program Files (x86)\\Halvenor\\", rules));
    EXPECT_FALSE(hnMayPassFolder(junction, tag, true, "C:\\Program Files", rules));
    EXPECT_FALSE(hnMayPassFolder(junction, tag, true, "C:\\", rules));
    EXPECT_FALSE(hnMayPassFolder(junction, tag, true, "", rules)); // target unknown
    EXPECT_FALSE(hnMayPassFolder(junction, IO_REPARSE_TAG_SYMLINK, false, "D:\\Vision", rules)); // deeper

    // Not links: passed whatever the depth.
    EXPECT_TRUE(hnMayPassFolder(FILE_ATTRIBUTE_DIRECTORY, 0, false, "", rules));
    EXPECT_TRUE(hnMayPassFolder(junction, 0x9000001Au, false, "", rules)); // cloud placeholder
}

TEST(LinkRules, EveryFolderOnTheWayIsChecked) {
    const std::string chain = "C:\\orvanto-fixtures\\write-chain";
    if (!hnIsLinkPath(chain + "\\base\\Orvanto 15.0"))
        GTEST_SKIP() << "fixture missing: run tests/fixtures/prepare";
    hnLinkRules rules = testRules();
    rules.forbiddenTargets.push_back(chain + "\\protected");
    const std::string base = chain + "\\base";
    std::string refusal;

    // "Orvanto 15.0" moved elsewhere: followed; folders not made yet pass.
    EXPECT_TRUE(hnFolderChainIsSafe(base, base + "\\Orvanto 15.0\\Profiles\\New\\Sub", 2, rules, refusal));
    EXPECT_EQ("", refusal);
    // A link below the content folders: never followed.
    EXPECT_FALSE(hnFolderChainIsSafe(base, base + "\\Orvanto 15.0\\Profiles\\Deep\\x", 2, rules, refusal));
    EXPECT_EQ("The folder '" + base + "\\Orvanto 15.0\\Profiles\\Deep' is a link to '" + chain +
                  "\\outside'; the installer does not write there.",
              refusal);
    // A content folder moved into a forbidden folder.
    EXPECT_FALSE(hnFolderChainIsSafe(base, base + "\\Orvanto 15.0\\Templates\\", 2, rules, refusal));
    EXPECT_EQ("The folder '" + base + "\\Orvanto 15.0\\Templates' is a link to '" + chain +
                  "\\protected\\inner'; the installer does not write there.",
              refusal);
    // Nothing may be followed: the first link refuses.
    EXPECT_FALSE(hnFolderChainIsSafe(base, base + "\\Orvanto 15.0\\Profiles", 0, rules, refusal));
    EXPECT_NE(std::string::npos, refusal.find("'" + base + "\\Orvanto 15.0' is a link"));
    // Outside the base: refused without a link to name.
    EXPECT_FALSE(hnFolderChainIsSafe(base, chain + "\\outside", 2, rules, refusal));
}

// (A planted link in its place: see the private temp folder's tests.)
TEST(MakeRealFolder, MakesAFolderAndRefusesAFile) {
    ScratchFolder scratch;
    std::string fresh = scratch.file("fresh");
    EXPECT_TRUE(hnMakeRealFolder(fresh));
    EXPECT_TRUE(hnMakeRealFolder(fresh)); // already there
    writeTextFile(scratch.file("taken"), "a file");
    EXPECT_FALSE(hnMakeRealFolder(scratch.file("taken")));
    EXPECT_EQ("a file", readTextFile(scratch.file("taken")));
}
