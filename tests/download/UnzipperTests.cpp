#include <gtest/gtest.h>

#include <atomic>

#include "app/FileHelpers.h"
#include "app/Text.h"
#include "download/DownloadEngine.h"
#include "download/DownloadTestSupport.h"
#include "download/Unzipper.h"
#include "support/TestSupport.h"

namespace {

// Fixtures are made by the test server with python's zipfile at request time.
class Unzipper : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_FALSE(testServerUrl().empty()) << "run through ctest"; }
    std::string fixture(const std::string& kind) {
        std::atomic<bool> abort{false};
        std::string name = kind + ".zip";
        EXPECT_EQ(1, downloadFileToFolder(archives.path(), name, abort, testServerUrl("/zip/" + name)));
        return archives.file(name);
    }
    std::string target() const { return output.path() + "\\out"; }

    ScratchFolder archives, output;
};

FILETIME lastWrite(const std::string& path, FILETIME* created = nullptr) {
    WIN32_FILE_ATTRIBUTE_DATA data = {};
    ::GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data);
    if (created)
        *created = data.ftCreationTime;
    return data.ftLastWriteTime;
}

} // namespace

TEST_F(Unzipper, RecreatesNestedFoldersWithoutFolderEntriesAndEntryTimes) {
    ASSERT_TRUE(extractArchiveToFolder(fixture("nested").c_str(), target().c_str()));
    EXPECT_EQ("top", readTextFile(target() + "\\top.txt"));
    EXPECT_EQ(4000u, readTextFile(target() + "\\a\\b\\c\\deep.txt").size());
    EXPECT_EQ("side", readTextFile(target() + "\\a\\side.txt"));

    // 2019-05-17 13:45:30 local time, as creation and last-write time.
    SYSTEMTIME local = {2019, 5, 0, 17, 13, 45, 30, 0};
    FILETIME expectedLocal, expected;
    ::SystemTimeToFileTime(&local, &expectedLocal);
    ::LocalFileTimeToFileTime(&expectedLocal, &expected);
    FILETIME created;
    FILETIME written = lastWrite(target() + "\\a\\side.txt", &created);
    EXPECT_EQ(0, ::CompareFileTime(&expected, &written));
    EXPECT_EQ(0, ::CompareFileTime(&expected, &created));

    // Existing files are replaced, also read-only ones; no temporary stays.
    ::SetFileAttributesA((target() + "\\top.txt").c_str(), FILE_ATTRIBUTE_READONLY);
    ASSERT_TRUE(writeTextFile(target() + "\\a\\side.txt", "older"));
    ASSERT_TRUE(extractArchiveToFolder(fixture("nested").c_str(), target().c_str()));
    EXPECT_EQ("side", readTextFile(target() + "\\a\\side.txt"));
    EXPECT_FALSE(fileExists(target() + "\\~*"));
}

TEST_F(Unzipper, FolderEntriesByAttributeOrTrailingSeparator) {
    ASSERT_TRUE(extractArchiveToFolder(fixture("folders").c_str(), target().c_str()));
    EXPECT_EQ(FILE_ATTRIBUTE_DIRECTORY,
              ::GetFileAttributesA((target() + "\\withattr").c_str()) & FILE_ATTRIBUTE_DIRECTORY);
    EXPECT_EQ(FILE_ATTRIBUTE_DIRECTORY,
              ::GetFileAttributesA((target() + "\\plain").c_str()) & FILE_ATTRIBUTE_DIRECTORY);
    EXPECT_EQ("inner", readTextFile(target() + "\\plain\\inner.txt"));

    CUnzipper unzipper;
    ASSERT_TRUE(unzipper.openArchive(fixture("folders").c_str()));
    EXPECT_EQ(archives.file("folders"), unzipper.defaultOutputFolder());
    ASSERT_TRUE(unzipper.firstEntry());
    ZipEntryInfo info;
    ASSERT_TRUE(unzipper.readEntryInfo(info));
    EXPECT_EQ("withattr\\", info.name);
    EXPECT_TRUE(info.isFolder);
    ASSERT_TRUE(unzipper.nextEntry());
    ASSERT_TRUE(unzipper.readEntryInfo(info));
    EXPECT_TRUE(info.isFolder);
    ASSERT_TRUE(unzipper.nextEntry());
    ASSERT_TRUE(unzipper.readEntryInfo(info));
    EXPECT_EQ("plain\\inner.txt", info.name);
    EXPECT_FALSE(info.isFolder);
    EXPECT_EQ(5u, info.uncompressedSize);
    // Null folder: below the archive's own name.
    EXPECT_TRUE(unzipper.extractEntry(nullptr));
    EXPECT_EQ("inner", readTextFile(archives.file("folders\\plain\\inner.txt")));
    EXPECT_FALSE(unzipper.nextEntry());
}

TEST_F(Unzipper, EmptyMissingOrCorruptArchivesFail) {
    EXPECT_FALSE(extractArchiveToFolder(fixture("empty").c_str(), target().c_str()));
    EXPECT_FALSE(extractArchiveToFolder(archives.file("none.zip").c_str(), target().c_str()));
    EXPECT_FALSE(extractArchiveToFolder(nullptr, target().c_str()));
    EXPECT_FALSE(extractArchiveToFolder(fixture("nested").c_str(), nullptr));
    ASSERT_TRUE(writeTextFile(archives.file("text.zip"), "not a zip"));
    EXPECT_FALSE(extractArchiveToFolder(archives.file("text.zip").c_str(), target().c_str()));
}

TEST_F(Unzipper, CorruptEntryStopsTheExtractionRemovesWhatItMadeAndNeverReplacesAGoodFile) {
    makeFolders(target());
    ASSERT_TRUE(writeTextFile(target() + "\\second.txt", "good old content"));
    EXPECT_FALSE(extractArchiveToFolder(fixture("corrupt").c_str(), target().c_str()));
    EXPECT_FALSE(fileExists(target() + "\\first.txt")); // written by this run, taken away again
    EXPECT_EQ("good old content", readTextFile(target() + "\\second.txt"));
    EXPECT_FALSE(fileExists(target() + "\\third.txt"));
    EXPECT_FALSE(fileExists(target() + "\\~*"));

    // A top folder this run created goes as a whole; one that was there
    // before keeps what it held.
    std::string archive = fixture("corrupt-folder");
    EXPECT_FALSE(extractArchiveToFolder(archive.c_str(), target().c_str()));
    EXPECT_FALSE(fileExists(target() + "\\made"));
    ASSERT_TRUE(makeFolders(target() + "\\made"));
    ASSERT_TRUE(writeTextFile(target() + "\\made\\mine.txt", "mine"));
    EXPECT_FALSE(extractArchiveToFolder(archive.c_str(), target().c_str()));
    EXPECT_EQ("mine", readTextFile(target() + "\\made\\mine.txt"));
}

// Small entries are written by worker threads while later ones are read; a
// large one, read in pieces, waits for them.
TEST_F(Unzipper, SmallAndLargeEntriesArriveWholeAndInArchiveOrder) {
    std::string archive = fixture("sizes");
    ASSERT_TRUE(extractArchiveToFolder(archive.c_str(), target().c_str()));
    for (int i = 0; i <= 40; ++i)
        EXPECT_EQ("small " + std::to_string(i),
                  readTextFile(target() + "\\many\\f" + hnFormatText("%03d", i) + ".txt"));
    std::string big = readTextFile(target() + "\\big.bin");
    ASSERT_EQ(256u * 6000u, big.size());
    EXPECT_EQ(char(255), big[255]);
    EXPECT_EQ(char(7), big[big.size() - 249]);
    EXPECT_TRUE(fileExists(target() + "\\empty.txt"));
    EXPECT_EQ("", readTextFile(target() + "\\empty.txt"));
    // The later of two entries of one name wins.
    EXPECT_EQ("second", readTextFile(target() + "\\dup.txt"));
    SYSTEMTIME local = {2019, 5, 0, 17, 13, 45, 30, 0};
    FILETIME expectedLocal, expected;
    ::SystemTimeToFileTime(&local, &expectedLocal);
    ::LocalFileTimeToFileTime(&expectedLocal, &expected);
    FILETIME written = lastWrite(target() + "\\many\\f007.txt");
    EXPECT_EQ(0, ::CompareFileTime(&expected, &written));

    // A file that cannot be put in place fails the extraction, also when a
    // worker thread writes it; nothing half-written stays.
    ScratchFolder other;
    ASSERT_TRUE(makeFolders(other.path() + "\\many\\f010.txt"));
    EXPECT_FALSE(extractArchiveToFolder(archive.c_str(), other.path().c_str()));
    EXPECT_EQ(FILE_ATTRIBUTE_DIRECTORY,
              ::GetFileAttributesA((other.path() + "\\many\\f010.txt").c_str()) & FILE_ATTRIBUTE_DIRECTORY);
    EXPECT_FALSE(fileExists(other.path() + "\\~*"));
    EXPECT_FALSE(fileExists(other.path() + "\\big.bin"));
}

TEST_F(Unzipper, ABadEntryAfterManyWrittenOnesTakesTheirNewFolderAway) {
    EXPECT_FALSE(extractArchiveToFolder(fixture("corrupt-late").c_str(), target().c_str()));
    EXPECT_FALSE(fileExists(target() + "\\late"));
    EXPECT_FALSE(fileExists(target() + "\\~*"));
}

TEST_F(Unzipper, AnArchiveWithOneEntryOutsideTheRequiredPrefixWritesNothing) {
    std::string mixed = fixture("mixed");
    EXPECT_FALSE(extractArchiveToFolder(mixed.c_str(), target().c_str(), "Mine\\"));
    EXPECT_FALSE(fileExists(target() + "\\Mine"));
    EXPECT_FALSE(fileExists(target() + "\\other"));
    // Compared without regard to case; a prefix is a whole folder name.
    EXPECT_TRUE(extractArchiveToFolder(fixture("profile_Mine-v1.0.0.0").c_str(), target().c_str(), "mINE\\"));
    EXPECT_FALSE(extractArchiveToFolder(fixture("profile_Mine-v1.0.0.0").c_str(), target().c_str(), "Min\\"));
    EXPECT_TRUE(extractArchiveToFolder(fixture("template_Tool_2.1").c_str(), target().c_str(), "TOOL_"));
    EXPECT_FALSE(extractArchiveToFolder(fixture("template_Tool_2.1").c_str(), target().c_str(), "Tools_"));
    EXPECT_EQ("# template", readTextFile(target() + "\\Tool_2.1\\tool.py"));
    // Without a prefix, every entry that stays inside is taken.
    EXPECT_TRUE(extractArchiveToFolder(mixed.c_str(), target().c_str()));
    EXPECT_EQ("evil", readTextFile(target() + "\\other\\evil.txt"));
}

TEST_F(Unzipper, NamesThatLeaveTheTargetAreRefused) {
    std::string inner = target() + "\\inner";
    for (const char* kind : {"climbing", "climbing-inner", "absolute", "drive"}) {
        EXPECT_FALSE(extractArchiveToFolder(fixture(kind).c_str(), inner.c_str())) << kind;
    }
    // The whole directory is checked before anything is written.
    EXPECT_FALSE(fileExists(inner + "\\ok.txt"));
    EXPECT_FALSE(fileExists(target() + "\\evil.txt"));
    EXPECT_FALSE(fileExists(output.path() + "\\evil.txt"));
    EXPECT_FALSE(fileExists(inner + "\\evil.txt"));
    EXPECT_FALSE(fileExists("C:\\abs.txt"));
    EXPECT_FALSE(fileExists(inner + "\\abs.txt"));
}

// Prepared from the Linux side (tests/fixtures/prepare): "root\\linked" and
// "root-link" are folder links to "outside".
TEST_F(Unzipper, LinksInTheTargetAreNeverFollowed) {
    const std::string fixtures = "C:\\orvanto-fixtures\\unzip-links";
    const std::string root = fixtures + "\\root", outside = fixtures + "\\outside";
    if (!fileExists(root + "\\linked"))
        GTEST_SKIP() << "fixture missing: run tests/fixtures/prepare";
    ASSERT_NE(0u, ::GetFileAttributesA((root + "\\linked").c_str()) & FILE_ATTRIBUTE_REPARSE_POINT);
    std::string archive = fixture("through-link");
    DebugCapture debug;

    // An entry through the link refuses the archive before anything is written.
    EXPECT_FALSE(extractArchiveToFolder(archive.c_str(), root.c_str()));
    EXPECT_FALSE(fileExists(root + "\\ok.txt"));
    EXPECT_FALSE(fileExists(root + "\\plain"));
    EXPECT_FALSE(fileExists(root + "\\last.txt"));
    EXPECT_FALSE(fileExists(outside + "\\evil.txt"));
    EXPECT_FALSE(fileExists(outside + "\\deeper"));
    EXPECT_TRUE(debug.contains("CUnzipper::extractAll - Link in the target path refused\n"))
        << ::testing::PrintToString(debug.lines());

    // A target that is itself a link is refused before anything is written.
    EXPECT_FALSE(extractArchiveToFolder(archive.c_str(), (fixtures + "\\root-link").c_str()));
    EXPECT_FALSE(extractArchiveToFolder(archive.c_str(), (root + "\\linked").c_str()));
    EXPECT_FALSE(fileExists(outside + "\\ok.txt"));
    EXPECT_FALSE(fileExists(outside + "\\plain"));
}

// The temp folder (tests/fixtures/prepare) holds a planted link to a folder
// elsewhere: a target through it is refused before any folder is made, by
// the whole extraction and by a single entry alike.
TEST_F(Unzipper, APlantedLinkOnTheWayToTheTargetIsRefused) {
    const std::string root = "C:\\orvanto-fixtures\\temp-unzip";
    const std::string planted = root + "\\temp\\Orvanto10_9267";
    if (!fileExists(planted))
        GTEST_SKIP() << "fixture missing: run tests/fixtures/prepare";
    std::string archive = fixture("nested");
    TempFolderAt temp(root + "\\temp\\");
    DebugCapture debug;

    EXPECT_FALSE(extractArchiveToFolder(archive.c_str(), (planted + "\\sub\\out").c_str()));
    CUnzipper unzipper;
    ASSERT_TRUE(unzipper.openArchive(archive.c_str()));
    ASSERT_TRUE(unzipper.firstEntry());
    EXPECT_FALSE(unzipper.extractEntry((planted + "\\sub").c_str()));
    EXPECT_FALSE(fileExists(root + "\\target\\sub"));
    EXPECT_TRUE(fileExists(root + "\\target\\keep.txt"));
    bool named = false;
    for (const std::string& line : debug.lines())
        named = named || (line.find("CUnzipper::extractAll - The folder '") == 0 &&
                          line.find("Orvanto10_9267") != std::string::npos);
    EXPECT_TRUE(named) << ::testing::PrintToString(debug.lines());
}

TEST_F(Unzipper, PathsOf260CharactersOrLongerNamesFail) {
    EXPECT_FALSE(extractArchiveToFolder(fixture("longname").c_str(), target().c_str()));
    // "<folder>\\ffffffffffffffff.txt": 259 characters is written, 260 is refused.
    std::string name = std::string(16, 'f') + ".txt";
    std::string base = output.path() + "\\";
    std::size_t fixed = base.size() + 1 + name.size();
    std::string folder259 = base + std::string(259 - fixed, 'a');
    std::string folder260 = base + std::string(260 - fixed, 'b');
    CUnzipper unzipper;
    ASSERT_TRUE(unzipper.openArchive(fixture("flat").c_str()));
    ASSERT_TRUE(unzipper.firstEntry());
    EXPECT_TRUE(unzipper.extractEntry(folder259.c_str()));
    EXPECT_EQ("flat", readTextFile(folder259 + "\\" + name));
    EXPECT_FALSE(unzipper.extractEntry(folder260.c_str()));
}

TEST(UnzipperFolders, EnsureFolderOnlyKnowsBackslashes) {
    ScratchFolder scratch;
    EXPECT_FALSE(CUnzipper::ensureFolder(""));
    EXPECT_TRUE(CUnzipper::ensureFolder(scratch.file("x\\y\\z")));
    EXPECT_TRUE(fileExists(scratch.file("x\\y\\z")));
    EXPECT_TRUE(CUnzipper::ensureFolder(scratch.file("t\\u\\"))); // a trailing separator, first time
    EXPECT_TRUE(fileExists(scratch.file("t\\u")));
    ASSERT_TRUE(writeTextFile(scratch.file("file"), "f"));
    EXPECT_FALSE(CUnzipper::ensureFolder(scratch.file("file")));
    EXPECT_TRUE(CUnzipper::ensureFolder("relative"));
    EXPECT_FALSE(CUnzipper::ensureParentFolder("nofolder.txt"));
    EXPECT_FALSE(CUnzipper::applyEntryTime(scratch.file("missing"), 0x4EB16DAF));
    EXPECT_TRUE(CUnzipper::applyEntryTime(scratch.file("file"), 0x4EB16DAF));
}
