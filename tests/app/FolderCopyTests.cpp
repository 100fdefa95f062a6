// Tree copies of users' folders with real files: nothing lost, nothing
// half-written, no link followed.
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <thread>
#include <vector>

#include "app/FileHelpers.h"
#include "app/FolderCopy.h"
#include "app/StopBlock.h"
#include "support/TestSupport.h"

namespace {

// Gives a file a fixed last-write time, so that copies can be compared.
void setWriteTime(const std::string& path, WORD year) {
    SYSTEMTIME time = {};
    time.wYear = year;
    time.wMonth = 3;
    time.wDay = 4;
    FILETIME stamp;
    ::SystemTimeToFileTime(&time, &stamp);
    HANDLE file = ::CreateFileA(path.c_str(), FILE_WRITE_ATTRIBUTES, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                0, nullptr);
    ::SetFileTime(file, nullptr, nullptr, &stamp);
    ::CloseHandle(file);
}

const char* const kLinkedProfile = "C:\\orvanto-fixtures\\migration-links\\Orvanto 12.0\\Profiles\\Real";

} // namespace

TEST(FolderCopy, CopiesEveryFileAndKeepsTargetsThatDiffer) {
    ScratchFolder scratch;
    std::string source = scratch.file("source"), target = scratch.file("target");
    makeFolders(source + "\\sub\\deeper");
    makeFolders(source + "\\empty");
    writeTextFile(source + "\\top.txt", "top");
    writeTextFile(source + "\\sub\\deeper\\inner.txt", "inner");
    writeTextFile(source + "\\same.txt", "same");
    writeTextFile(source + "\\differs.txt", "new content");
    setWriteTime(source + "\\top.txt", 2011);
    makeFolders(target);
    ASSERT_TRUE(::CopyFileA((source + "\\same.txt").c_str(), (target + "\\same.txt").c_str(), FALSE));
    writeTextFile(target + "\\differs.txt", "older, other");

    int after = 0;
    hnTreeCopyOptions options;
    options.afterFile = [&] { ++after; };
    hnTreeCopyResult result;
    EXPECT_TRUE(hnCopyFolderTree(source, target, options, result));
    EXPECT_EQ(2, result.copied);
    EXPECT_EQ(1, result.identical);
    EXPECT_EQ(1, result.differing);
    EXPECT_EQ(0, result.failed);
    EXPECT_FALSE(result.complete()); // the differing file is not the source's
    EXPECT_EQ(4, after);
    EXPECT_EQ("inner", readTextFile(target + "\\sub\\deeper\\inner.txt"));
    EXPECT_EQ("older, other", readTextFile(target + "\\differs.txt"));
    EXPECT_TRUE(hnSameSizeAndTime(source + "\\top.txt", target + "\\top.txt"));
    EXPECT_TRUE(fileExists(target + "\\empty"));
    EXPECT_FALSE(fileExists(target + "\\~*"));

    // With overwrite the differing file is replaced; an empty tree copies nothing.
    hnTreeCopyOptions replace;
    replace.overwrite = true;
    hnTreeCopyResult second;
    EXPECT_TRUE(hnCopyFolderTree(source, target, replace, second));
    EXPECT_EQ("new content", readTextFile(target + "\\differs.txt"));
    hnTreeCopyResult none;
    EXPECT_TRUE(hnCopyFolderTree(source + "\\empty", scratch.file("empty-copy"), options, none));
    EXPECT_EQ(0, none.copied);
    EXPECT_TRUE(none.complete());
    hnTreeCopyResult missing;
    EXPECT_FALSE(hnCopyFolderTree(scratch.file("missing"), scratch.file("other"), options, missing));
}

TEST(FolderCopy, AStopHalfwayThroughAFileLeavesNoTrace) {
    ScratchFolder scratch;
    std::string source = scratch.file("big.bin"), target = scratch.file("copy.bin");
    {
        HANDLE file = ::CreateFileA(source.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
        ASSERT_NE(INVALID_HANDLE_VALUE, file);
        std::string chunk(1 << 20, 'x');
        DWORD written = 0;
        for (int i = 0; i < 96; ++i)
            ::WriteFile(file, chunk.data(), static_cast<DWORD>(chunk.size()), &written, nullptr);
        ::CloseHandle(file);
    }
    // Stopped before the first chunk: the part file was made and goes again.
    {
        hnStopBlock stop;
        stop.requestStop();
        EXPECT_FALSE(hnCopyFileComplete(source, target, false, &stop));
        EXPECT_FALSE(fileExists(target));
        EXPECT_FALSE(fileExists(scratch.file("~*")));
    }
    // Stopped while chunks go over. A fast disk may finish the copy before
    // the watcher sees the part file; that copy must then be whole, and the
    // attempt is made again.
    bool stoppedHalfway = false;
    for (int attempt = 0; attempt < 5 && !stoppedHalfway; ++attempt) {
        hnStopBlock stop;
        std::atomic<bool> copyEnded{false};
        std::thread watcher([&] {
            while (!copyEnded.load() && !fileExists(scratch.file("~*")))
                ::Sleep(0);
            stop.requestStop();
        });
        bool copied = hnCopyFileComplete(source, target, false, &stop);
        copyEnded = true;
        watcher.join();
        if (copied) {
            EXPECT_TRUE(hnSameSizeAndTime(source, target));
            ASSERT_TRUE(::DeleteFileA(target.c_str()));
            continue;
        }
        stoppedHalfway = true;
        EXPECT_FALSE(fileExists(target));
        EXPECT_FALSE(fileExists(scratch.file("~*")));
    }
    EXPECT_TRUE(stoppedHalfway) << "every copy ended before its stop came";

    // A stop before the walk copies nothing.
    hnStopBlock stop;
    stop.requestStop();
    hnTreeCopyOptions options;
    options.stop = &stop;
    hnTreeCopyResult result;
    EXPECT_FALSE(hnCopyFolderTree(scratch.path(), scratch.file("tree"), options, result));
    EXPECT_TRUE(result.stopped);
    EXPECT_FALSE(fileExists(scratch.file("tree")));
}

TEST(FolderCopy, LinksAreNeitherEnteredNorCopied) {
    if (!fileExists(std::string(kLinkedProfile) + "\\outside-link"))
        GTEST_SKIP() << "fixture missing: run tests/fixtures/prepare";
    ScratchFolder scratch;
    hnTreeCopyResult result;
    EXPECT_TRUE(hnCopyFolderTree(kLinkedProfile, scratch.file("copy"), hnTreeCopyOptions(), result));
    EXPECT_EQ(1, result.copied);
    EXPECT_EQ(2, result.links); // the way out and the way back in
    EXPECT_FALSE(result.complete());
    EXPECT_EQ("profile\n", readTextFile(scratch.file("copy\\plain\\a.txt")));
    EXPECT_FALSE(fileExists(scratch.file("copy\\outside-link")));
    EXPECT_FALSE(fileExists(scratch.file("copy\\plain\\loop")));

    // The loop back to the profile does not make the measuring recurse.
    long long files = 0, kilobytes = 0;
    EXPECT_TRUE(hnMeasureFolderTree(kLinkedProfile, files, kilobytes));
    EXPECT_EQ(1, files);
    EXPECT_EQ(0, kilobytes);
}

// A link on the target side is neither entered nor written through: the
// source folder of its name counts as not copied, the link's target stays
// as it was, and the rest is copied.
TEST(FolderCopy, ALinkOnTheTargetSideIsNeverWrittenThrough) {
    const std::string root = "C:\\orvanto-fixtures\\unzip-links\\root";
    const std::string outside = "C:\\orvanto-fixtures\\unzip-links\\outside";
    if (!hnIsLinkPath(root + "\\linked"))
        GTEST_SKIP() << "fixture missing: run tests/fixtures/prepare";
    ScratchFolder scratch;
    makeFolders(scratch.file("source\\linked"));
    writeTextFile(scratch.file("source\\linked\\x.txt"), "through the link");
    writeTextFile(scratch.file("source\\plain.txt"), "plain");
    hnTreeCopyResult result;
    hnCopyFolderTree(scratch.file("source"), root, hnTreeCopyOptions(), result);
    EXPECT_FALSE(fileExists(outside + "\\x.txt"));
    EXPECT_EQ(1, result.failed);
    EXPECT_EQ(scratch.file("source\\linked"), result.firstFailed);
    EXPECT_FALSE(result.complete());
    EXPECT_EQ(1, result.copied);
    EXPECT_EQ("plain", readTextFile(root + "\\plain.txt"));
    ::DeleteFileA((root + "\\plain.txt").c_str());
    ::DeleteFileA((outside + "\\x.txt").c_str()); // should a fault have put it there
}

// The part file never takes a name that exists: a user's file that happens to
// carry a part-like name stays as it was.
TEST(FolderCopy, ThePartFileNeverTouchesAnExistingFile) {
    ScratchFolder scratch;
    makeFolders(scratch.file("source"));
    makeFolders(scratch.file("target"));
    writeTextFile(scratch.file("source\\a.txt"), "source");
    writeTextFile(scratch.file("target\\a.txt.hnpart"), "the user's");
    hnTreeCopyResult result;
    EXPECT_TRUE(
        hnCopyFolderTree(scratch.file("source"), scratch.file("target"), hnTreeCopyOptions(), result));
    EXPECT_EQ(1, result.copied);
    EXPECT_EQ("source", readTextFile(scratch.file("target\\a.txt")));
    EXPECT_EQ("the user's", readTextFile(scratch.file("target\\a.txt.hnpart")));
    EXPECT_FALSE(fileExists(scratch.file("target\\~*")));
}

// A target that is the source itself (a hard link here; a linked folder
// elsewhere) is never a copy, and the delete walk of a move never removes it.
TEST(FolderCopy, TheSameFileIsNeverACopyAndTheDeleteWalkChecksAgain) {
    ScratchFolder scratch;
    std::string source = scratch.file("source"), target = scratch.file("target");
    makeFolders(source + "\\sub");
    makeFolders(target);
    writeTextFile(source + "\\same.txt", "one file");
    writeTextFile(source + "\\sub\\ro.txt", "read-only");
    writeTextFile(source + "\\changed.txt", "before");
    ::SetFileAttributesA((source + "\\sub\\ro.txt").c_str(), FILE_ATTRIBUTE_READONLY);
    ASSERT_TRUE(::CreateHardLinkA((target + "\\same.txt").c_str(), (source + "\\same.txt").c_str(), nullptr));
    EXPECT_TRUE(hnSameFile(source + "\\same.txt", target + "\\same.txt"));
    EXPECT_FALSE(hnSameFile(source + "\\same.txt", source + "\\changed.txt"));
    hnTreeCopyResult result;
    hnCopyFolderTree(source, target, hnTreeCopyOptions(), result);
    EXPECT_EQ(0, result.identical);
    EXPECT_EQ(1, result.failed);
    EXPECT_EQ(2, result.copied);

    // The walk keeps the file that is its own target and a file changed
    // after the copy; the read-only copied file goes.
    writeTextFile(source + "\\changed.txt", "after the copy, longer");
    EXPECT_FALSE(hnDeleteMovedTree(source, target));
    EXPECT_EQ("one file", readTextFile(source + "\\same.txt"));
    EXPECT_EQ("after the copy, longer", readTextFile(source + "\\changed.txt"));
    EXPECT_FALSE(fileExists(source + "\\sub"));
    EXPECT_EQ("read-only", readTextFile(target + "\\sub\\ro.txt"));
    EXPECT_FALSE(hnDeleteMovedTree(source, source)); // a folder is never its own copy
    EXPECT_TRUE(fileExists(source + "\\same.txt"));
}

// A folder that cannot be listed (here: its listing pattern does not fit a
// path) is a failure, never an empty folder: the copy names it, the count
// says the tree is not whole, and the delete walk leaves what is inside.
TEST(FolderCopy, AFolderThatCannotBeListedIsAFailureNotAnEmptyFolder) {
    ScratchFolder scratch;
    std::string source = scratch.file("s"), target = scratch.file("t");
    makeFolders(source);
    writeTextFile(source + "\\a.txt", "kept");
    // Folders down to a path of 257 characters: the path fits, "\*.*" after
    // it does not. Made through the wide calls, which take long paths.
    auto longPath = [](const std::string& path) {
        std::string full = "\\\\?\\" + path;
        return std::wstring(full.begin(), full.end());
    };
    std::string deep = source;
    while (deep.size() < 257) {
        std::size_t room = 257 - deep.size() - 1;
        deep += "\\" + std::string(room > 100 ? 100 : room, 'd');
        ASSERT_TRUE(::CreateDirectoryW(longPath(deep).c_str(), nullptr) ||
                    ::GetLastError() == ERROR_ALREADY_EXISTS)
            << deep;
    }
    ASSERT_EQ(257u, deep.size());
    std::wstring inside = longPath(deep + "\\inside.txt");
    {
        hnScopedHandle file(::CreateFileW(inside.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, 0, nullptr));
        ASSERT_TRUE(static_cast<bool>(file));
    }

    hnTreeCopyResult result;
    hnCopyFolderTree(source, target, hnTreeCopyOptions(), result);
    EXPECT_EQ(1, result.copied);
    EXPECT_EQ(1, result.failed);
    EXPECT_EQ(deep, result.firstFailed);
    EXPECT_FALSE(result.complete());
    long long files = 0, kilobytes = 0;
    EXPECT_FALSE(hnMeasureFolderTree(source, files, kilobytes));

    EXPECT_FALSE(hnDeleteMovedTree(source, target));
    EXPECT_NE(INVALID_FILE_ATTRIBUTES, ::GetFileAttributesW(inside.c_str()));

    // The scratch folder's own removal takes no long paths.
    ::DeleteFileW(inside.c_str());
    for (std::string folder = deep; folder.size() > source.size(); folder.erase(folder.rfind('\\')))
        ::RemoveDirectoryW(longPath(folder).c_str());
}

// The one listing every walk uses: a link is only a link, the walk may end
// it early, and a folder that is not there is no empty listing.
TEST(FolderCopy, TheListingTellsLinksApartAndCanEndEarly) {
    if (!fileExists(std::string(kLinkedProfile) + "\\outside-link"))
        GTEST_SKIP() << "fixture missing: run tests/fixtures/prepare";
    std::vector<std::string> seen;
    EXPECT_TRUE(hnListFolder(std::string(kLinkedProfile) + "\\plain", [&](const hnFolderEntry& entry) {
        seen.push_back(std::string(entry.name) +
                       (entry.kind == hnFolderEntry::Link     ? " link"
                        : entry.kind == hnFolderEntry::Folder ? " folder"
                                                              : " file") +
                       (entry.kind == hnFolderEntry::File ? " " + std::to_string(entry.size) : ""));
        return true;
    }));
    std::sort(seen.begin(), seen.end());
    EXPECT_EQ((std::vector<std::string>{"a.txt file 8", "loop link"}), seen);

    int visits = 0;
    EXPECT_TRUE(hnListFolder(kLinkedProfile, [&](const hnFolderEntry&) { return ++visits < 1; }));
    EXPECT_EQ(1, visits);
    EXPECT_FALSE(
        hnListFolder(std::string(kLinkedProfile) + "\\missing", [](const hnFolderEntry&) { return true; }));
}
