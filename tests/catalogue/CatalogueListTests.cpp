// The list readers against list files as the server may send them, hostile
// ones included, and the checks every server value passes.
#include <gtest/gtest.h>

#include "app/FileHelpers.h"
#include "app/Text.h"
#include "catalogue/CatalogueList.h"
#include "catalogue/CatalogueSources.h"
#include "support/TestSupport.h"

namespace {

std::vector<std::string> groupsOf(const CatalogueList& list) {
    std::vector<std::string> groups;
    list.distinctGroups(&groups);
    return groups;
}

} // namespace

TEST(CatalogueList, RepeatedHeadersMakeEntriesAndTabsInFirstAppearanceOrder) {
    ScratchFolder scratch;
    std::string path = scratch.file("774demo.txt");
    writeTextFile(path, "Name=before any header\r\n[a]\r\nName=x\r\n[A]\nName=y\n  [B]  \nName=z");
    CatalogueList list;
    EXPECT_EQ(1, list.load(path.c_str()));
    EXPECT_TRUE(list.loaded);
    ASSERT_EQ(3, list.count);
    ASSERT_EQ(3u, list.entries.size());
    EXPECT_EQ("a", list.entries[0].group);
    EXPECT_EQ("x", list.entries[0].Name);
    EXPECT_EQ("A", list.entries[1].group);
    EXPECT_EQ("y", list.entries[1].Name);
    EXPECT_EQ("B", list.entries[2].group);
    EXPECT_EQ("z", list.entries[2].Name); // the last line has no line end
    EXPECT_EQ((std::vector<std::string>{"a", "B"}), groupsOf(list));
    EXPECT_EQ(-1, list.distinctGroups(nullptr));
}

TEST(CatalogueList, KeyLineRules) {
    ScratchFolder scratch;
    std::string path = scratch.file("list.txt");
    writeTextFile(path, "[ 2D ]\n"
                        "Name=\n"
                        "Name=two\n"
                        "name=three\n"
                        "ClassName =ignored\n"
                        "=ignored\n"
                        "   VersionLabel=1.0.0.2   \n"
                        "URL=http://h/a=b.zip\n"
                        "InfoText=Short text\n"
                        "InfoURL=https://example.invalid/x\n"
                        "Other=ignored\n"
                        "[]\n"
                        "malformed line\n");
    CatalogueList list;
    EXPECT_EQ(1, list.load(path.c_str()));
    ASSERT_EQ(1, list.count);
    const CatalogueEntry& entry = list.entries[0];
    EXPECT_EQ(" 2D ", entry.group); // the name between the brackets is kept as it is
    EXPECT_EQ("two", entry.Name);   // the first non-empty value wins
    EXPECT_EQ("", entry.ClassName);
    EXPECT_EQ("1.0.0.2", entry.VersionLabel);
    EXPECT_EQ("http://h/a=b.zip", entry.URL);
    EXPECT_EQ("Short text", entry.InfoText);
    EXPECT_EQ("https://example.invalid/x", entry.InfoURL);
}

TEST(CatalogueList, MissingBinaryAndLongLineFiles) {
    ScratchFolder scratch;
    CatalogueList list;
    EXPECT_EQ(-1, list.load(scratch.file("absent.txt").c_str()));
    EXPECT_TRUE(list.loaded);
    EXPECT_EQ(0, list.count);
    EXPECT_TRUE(list.entries.empty());
    EXPECT_EQ(-1, list.load(nullptr));

    // A line far longer than any line buffer is one line: its brackets inside
    // never become headers of their own, and the entry after it is intact.
    std::string longLine = "InfoText=" + std::string(2000, 'x') + "]\n[fake]" + std::string(3000, 'y');
    longLine.erase(longLine.find('\n'), 1);
    std::string path = scratch.file("long.txt");
    writeTextFile(path, "[2D]\nName=first\n" + longLine + "\n[3D]\nName=second\n");
    EXPECT_EQ(1, list.load(path.c_str()));
    ASSERT_EQ(2, list.count);
    EXPECT_EQ(longLine.substr(9), list.entries[0].InfoText);
    EXPECT_EQ("second", list.entries[1].Name);

    // A binary file: whatever it yields stays inside the counted entries.
    std::string binary;
    for (int i = 0; i < 20000; ++i)
        binary += static_cast<char>((i * 131 + 7) % 256);
    binary += "\n[\x01\x02]\nName=\x7f\x03\n";
    path = scratch.file("binary.txt");
    writeTextFile(path, binary);
    EXPECT_EQ(1, list.load(path.c_str()));
    ASSERT_EQ(static_cast<std::size_t>(list.count), list.entries.size());
    ASSERT_GE(list.count, 1);
    EXPECT_EQ("\x7f\x03", list.entries.back().Name);
    EXPECT_FALSE(isPlainFileName(list.entries.back().Name)); // never becomes a folder name
}

TEST(CatalogueList, ReloadReplacesTheEntries) {
    ScratchFolder scratch;
    std::string path = scratch.file("list.txt");
    writeTextFile(path, "[A]\nName=1\n[A]\nName=2\n");
    CatalogueList list;
    list.load(path.c_str());
    writeTextFile(path, "[B]\nName=3\n");
    EXPECT_EQ(1, list.load(path.c_str()));
    ASSERT_EQ(1, list.count);
    EXPECT_EQ("3", list.entries[0].Name);
    EXPECT_EQ(path, list.path);
}

TEST(IniLists, TabNamesAndMembership) {
    EXPECT_EQ(" Getting Started", tabNameOfSection("01 Getting Started"));
    EXPECT_EQ("Single", tabNameOfSection("Single"));
    std::vector<std::string> sections = {"01 Getting Started", "02 getting started",
                                         "05 Getting Started Advanced", "Single"};
    EXPECT_EQ((std::vector<std::string>{" Getting Started", " Getting Started Advanced", "Single"}),
              tabNamesOfSections(sections));
    EXPECT_TRUE(sectionBelongsToTab("05 Getting Started Advanced", " getting STARTED"));
    EXPECT_FALSE(sectionBelongsToTab("Single", " Getting Started"));
}

TEST(IniLists, ACutSectionListDropsThePartialName) {
    ScratchFolder scratch;
    std::string path = scratch.file("774tutorials.ini.txt");
    std::string content;
    // 40-character names: the 8192-byte buffer ends inside one of them.
    for (int i = 0; i < 300; ++i)
        content += "[" + std::string(30, 'n') + hnFormatText(" Tab%06d", i) + "]\r\nCaption=c\r\n";
    writeTextFile(path, content);
    std::vector<std::string> names;
    ASSERT_TRUE(readIniSectionNames(path, names));
    ASSERT_FALSE(names.empty());
    EXPECT_LT(names.size(), 300u);
    for (const std::string& name : names)
        EXPECT_EQ(40u, name.size()) << name;
    EXPECT_FALSE(readIniSectionNames(scratch.file("absent.ini"), names));
    EXPECT_TRUE(names.empty());
}

TEST(PackageLists, TableSlotsAndLookUp) {
    ScratchFolder scratch;
    std::string path = scratch.file("774Py27Packages.txt");
    writeTextFile(path, "[Default]\r\npywin=pywin32-224\r\nnumpy=numpy-1.16\r\nPython.net=pythonnet\r\n"
                        "[Empty]\r\nnumpy=\r\n");
    CatalogueList list;
    list.load(path.c_str());
    std::vector<std::string> groups;
    list.distinctGroups(&groups);
    PackageTable table;
    table.definitions.resize(5); // earlier contents are discarded
    EXPECT_EQ(1, buildPackageTable(&groups, path.c_str(), table));
    ASSERT_EQ(2, table.count());
    const PackageDefinition* standard = findPackage(table, "Default");
    ASSERT_NE(nullptr, standard);
    EXPECT_TRUE(standard->valid);
    EXPECT_STREQ("pywin32-224", componentName(standard, 0));
    EXPECT_EQ(nullptr, componentName(standard, 1));
    EXPECT_STREQ("numpy-1.16", componentName(standard, 2));
    EXPECT_STREQ("pythonnet", componentName(standard, 7));
    EXPECT_EQ(nullptr, componentName(standard, 8));
    EXPECT_EQ(nullptr, componentName(nullptr, 0));
    const PackageDefinition* empty = findPackage(table, "Empty");
    ASSERT_NE(nullptr, empty);
    for (int slot = 0; slot < kPackageSlots; ++slot)
        EXPECT_EQ(nullptr, componentName(empty, slot));
    EXPECT_EQ(nullptr, findPackage(table, "default")); // exact names only
    EXPECT_EQ(-1, buildPackageTable(nullptr, path.c_str(), table));
    EXPECT_EQ(-1, buildPackageTable(&groups, nullptr, table));
}

TEST(ServerValues, PlainNamesRefuseEverythingThatIsNotOneFolderName) {
    for (const char* good : {"Blob", "Blob Inspection 2", "Blob_1.0.0.2", "con-test", "COM10", "a.b"})
        EXPECT_TRUE(isPlainFileName(good)) << good;
    for (const char* bad : {"",          ".",         "..",   "..\\x", "a/b",      "a\\b", "C:x",
                            "a*",        "a?",        "a\"b", "a<b",   "a>b",      "a|b",  "tab\there",
                            "trailing.", "trailing ", "CON",  "nul",   "Com1.txt", "LPT9", "aux .x"})
        EXPECT_FALSE(isPlainFileName(bad)) << bad;
    EXPECT_TRUE(isPlainNameInFolder("C:\\p\\", std::string(200, 'a')));
    EXPECT_FALSE(isPlainNameInFolder("C:\\p\\", std::string(255, 'a')));
}

TEST(ServerValues, WebLinksAreHttpWithAHostOrMail) {
    for (const char* good : {"http://example.invalid", "HTTPS://example.invalid/a?b#c",
                             "http://127.0.0.1:8080/x", "mailto:support@example.invalid"})
        EXPECT_TRUE(isWebLink(good)) << good;
    for (const char* bad :
         {"", "file:///C:/Windows/system32/calc.exe", "file://host/share", "\\\\host\\share",
          "C:\\Windows\\notepad.exe", "notepad.exe", "javascript:alert(1)", "http://", "https:///x",
          "http:/x", "ftp://example.invalid", "http://exa mple", "http://a\\b",
          "mailto:", "http://user@host/"})
        EXPECT_FALSE(isWebLink(bad)) << bad;
    EXPECT_EQ(0, openWebLink("file:///C:/Windows/notepad.exe", nullptr));
}

TEST(ServerValues, DeletesStayStrictlyInsideTheFolder) {
    ScratchFolder scratch;
    std::string folder = scratch.file("Profiles\\");
    makeFolders(scratch.file("Profiles\\Blob"));
    writeTextFile(scratch.file("Profiles\\Blob\\General.Ini"), "x");
    writeTextFile(scratch.file("beside.txt"), "stays");
    EXPECT_FALSE(deleteFolderInside(folder, ".."));
    EXPECT_FALSE(deleteFolderInside(folder, ""));
    EXPECT_FALSE(deleteFolderInside(folder, "."));
    EXPECT_FALSE(deleteFolderInside(folder, "Blob\\..\\.."));
    EXPECT_TRUE(fileExists(scratch.file("beside.txt")));
    EXPECT_TRUE(fileExists(scratch.file("Profiles")));
    EXPECT_TRUE(deleteFolderInside(folder, "Blob"));
    EXPECT_FALSE(fileExists(scratch.file("Profiles\\Blob")));
    EXPECT_TRUE(fileExists(scratch.file("Profiles")));

    EXPECT_TRUE(isStrictlyInsideFolder(folder + "a", folder));
    EXPECT_FALSE(isStrictlyInsideFolder(folder, folder));
    EXPECT_FALSE(isStrictlyInsideFolder(scratch.file("ProfilesX\\a"), folder));
    EXPECT_FALSE(isStrictlyInsideFolder(folder + "a\\..\\..\\b", folder));
}

TEST(ServerValues, InstalledProfileIdentification) {
    ScratchFolder scratch;
    std::string profile = scratch.file("Blob");
    makeFolders(profile);
    std::string version = "stale";
    EXPECT_FALSE(readInstalledProfile(profile, version));
    EXPECT_EQ("", version);
    writeTextFile(profile + "\\Orvanto.Opb", "opb");
    writeTextFile(profile + "\\General.Ini", "[Identification]\r\nName=Blob\r\n");
    EXPECT_TRUE(readInstalledProfile(profile, version));
    EXPECT_EQ("", version); // installed without a version
    writeTextFile(profile + "\\General.Ini", "[Identification]\r\nVersionLabel=1.0.0.3\r\n");
    EXPECT_TRUE(readInstalledProfile(profile, version));
    EXPECT_EQ("1.0.0.3", version);
}
