#include <gtest/gtest.h>

#include "app/FileHelpers.h"
#include "main/ComponentSetFile.h"
#include "main/ExitCodes.h"
#include "support/TestSupport.h"

namespace {

const char* const kGoodSet = "\xEF\xBB\xBF; exported from line 4\r\n"
                             "[Component Set]\r\n"
                             "Format = 1\r\n"
                             "Installer=15.0.0.774\r\n"
                             "\r\n"
                             "[Python Selection]\n"
                             "VersionName=Python 2.7.13\n"
                             "  # an operator's note\n"
                             "[Components]\n"
                             "Orvanto Version XV 15.0.0.774 Runtime = 15.0.0.774\n"
                             "Python 2.7.13=Installed\n"
                             "Empty Value=\n";

int parse(const std::string& text, std::string& error) {
    CComponentSet set;
    return hnParseComponentSet(text, set, error);
}

std::string header() {
    return "[Component Set]\nFormat=1\nInstaller=15.0.0.774\n";
}

} // namespace

TEST(ComponentSetFile, ReadsSectionsEntriesAndHeader) {
    CComponentSet set;
    std::string error;
    ASSERT_EQ(0, hnParseComponentSet(kGoodSet, set, error)) << error;
    EXPECT_EQ(1, set.format);
    EXPECT_EQ("15.0.0.774", set.installerVersion);
    ASSERT_EQ(2u, set.sections.size());
    const hnSetSection* components = set.section("components");
    ASSERT_NE(nullptr, components);
    ASSERT_EQ(3u, components->entries.size());
    EXPECT_EQ("Orvanto Version XV 15.0.0.774 Runtime", components->entries[0].key);
    EXPECT_EQ("15.0.0.774", components->entries[0].value);
    EXPECT_EQ(10, components->entries[0].line);
    EXPECT_EQ("", components->entries[2].value);
    EXPECT_EQ("Python 2.7.13", set.section(kSetPythonSection)->entries[0].value);
    EXPECT_EQ(nullptr, set.section(kSetContentSection));
}

TEST(ComponentSetFile, LongLinesAreRefusedNotCut) {
    std::string atLimit = header() + "[Components]\nA=" + std::string(kComponentSetMaxLine - 2, 'v') + "\r\n";
    std::string error;
    CComponentSet set;
    ASSERT_EQ(0, hnParseComponentSet(atLimit, set, error)) << error;
    EXPECT_EQ(kComponentSetMaxLine - 2, set.section(kSetComponentsSection)->entries[0].value.size());

    std::string over = header() + "[Components]\nA=" + std::string(kComponentSetMaxLine - 1, 'v') + "\n";
    EXPECT_EQ(exitcode::kBadSetFile, parse(over, error));
    EXPECT_EQ("line 5: longer than 4096 characters", error);
    // A comment line is no exception: the reader never cuts a line.
    EXPECT_EQ(exitcode::kBadSetFile, parse(header() + ";" + std::string(5000, 'c') + "\n", error));
}

TEST(ComponentSetFile, UnusableFilesGive87WithTheLineNamed) {
    struct Case {
        std::string text;
        std::string error;
    };
    const Case cases[] = {
        {header() + "[Components]\njust a name\n", "line 5: malformed line \"just a name\" (no '=')"},
        {header() + "[Components]\n=Installed\n", "line 5: malformed line \"=Installed\" (no name)"},
        {header() + "[Components\n", "line 4: malformed section line \"[Components\""},
        {header() + "[Drivers]\n", "line 4: unknown section [Drivers]"},
        {header() + "[Components]\n[components]\n", "line 5: section [components] appears twice"},
        {header() + "[Component Set]\n", "line 4: section [Component Set] appears twice"},
        {header() + "[Components]\nA=1\na=2\n", "line 6: \"a\" appears twice in [Components]"},
        {"A=1\n" + header(), "line 1: \"A\" stands before any section"},
        {header() + "Owner=me\n", "line 4: unknown name \"Owner\" in [Component Set]"},
        {header() + std::string("[Components]\nA=1\0\n", 17), "line 5: holds a control character"},
        {"[Components]\nA=1\n", "no [Component Set] section"},
        {"[Component Set]\nInstaller=1\n", "line 1: [Component Set] has no Format"},
        {"[Component Set]\nFormat=one\n", "line 2: Format \"one\" is not a format number"},
        {"[Component Set]\nFormat=0\n", "line 2: Format \"0\" is not a format number"},
        {"[Component Set]\nFormat=-1\n", "line 2: Format \"-1\" is not a format number"},
        {"[Component Set]\nFormat=2\n", "line 2: format 2 is newer than this installer reads (1)"},
        {"", "no [Component Set] section"},
    };
    for (const Case& c : cases) {
        std::string error;
        EXPECT_EQ(exitcode::kBadSetFile, parse(c.text, error)) << c.text;
        EXPECT_EQ(c.error, error) << c.text;
    }
}

TEST(ComponentSetFile, UnknownNamesAreRefusedByTheCheck) {
    CComponentSet set;
    std::string error;
    ASSERT_EQ(0, hnParseComponentSet(kGoodSet, set, error));
    auto knowsAllBut = [](const std::string& unknown) {
        return [unknown](const std::string&, const std::string& key) { return key != unknown; };
    };
    EXPECT_EQ(0, hnCheckComponentSetKeys(set, knowsAllBut("Nothing"), error));
    EXPECT_EQ(exitcode::kBadSetFile, hnCheckComponentSetKeys(set, knowsAllBut("Python 2.7.13"), error));
    EXPECT_EQ("line 11: unknown name \"Python 2.7.13\" in [Components]", error);
}

TEST(ComponentSetFile, WrittenSetsReadBackTheSame) {
    ScratchFolder folder;
    CComponentSet set;
    set.installerVersion = "15.0.0.774";
    set.addSection(kSetPythonSection).entries.push_back({"VersionName", "Python 3.6.6", 0});
    hnSetSection& packages = set.addSection(kSetPackagesSection);
    packages.entries.push_back({"numpy", std::string(4000, '1'), 0});
    packages.entries.push_back({"opencv", "", 0});
    packages.comments.push_back("pip 9.0.1 (not offered by a page)");
    std::string error;
    ASSERT_TRUE(hnWriteComponentSet(folder.file("set one.ini"), set, error)) << error;
    EXPECT_FALSE(fileExists(folder.file("set one.initmp")));

    CComponentSet back;
    ASSERT_EQ(0, hnReadComponentSet(folder.file("set one.ini"), back, error)) << error;
    EXPECT_EQ("15.0.0.774", back.installerVersion);
    ASSERT_EQ(2u, back.sections.size());
    EXPECT_EQ("Python Selection", back.sections[0].name);
    ASSERT_EQ(2u, back.sections[1].entries.size());
    EXPECT_EQ(std::string(4000, '1'), back.sections[1].entries[0].value);
    EXPECT_EQ("opencv", back.sections[1].entries[1].key);
    EXPECT_NE(std::string::npos, readTextFile(folder.file("set one.ini")).find("; pip 9.0.1"));

    // What would not read back the same is refused, and the old file stays.
    const hnSetEntry unwritable[] = {
        {"a=b", "1", 0},     {"name", "two\nlines", 0},
        {" padded", "1", 0}, {"[x]", "1", 0},
        {"; note", "1", 0},  {"", "1", 0},
        {"v", " padded", 0}, {"long", std::string(kComponentSetMaxLine, 'x'), 0}};
    for (const hnSetEntry& entry : unwritable) {
        CComponentSet bad = set;
        bad.addSection(kSetComponentsSection).entries.push_back(entry);
        EXPECT_FALSE(hnWriteComponentSet(folder.file("set one.ini"), bad, error)) << entry.key;
        EXPECT_FALSE(error.empty());
    }
    ASSERT_EQ(0, hnReadComponentSet(folder.file("set one.ini"), back, error)) << error;
    EXPECT_EQ(2u, back.sections.size());

    EXPECT_EQ(exitcode::kBadSetFile, hnReadComponentSet(folder.file("missing.ini"), back, error));
    EXPECT_NE(std::string::npos, error.find("cannot open")) << error;
}
