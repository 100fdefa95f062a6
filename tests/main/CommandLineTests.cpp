#include <gtest/gtest.h>

#include "main/CommandLine.h"
#include "main/ExitCodes.h"

namespace {

int parse(const std::string& arguments, CInstallerCommandLine& out) {
    std::string reason;
    int result = hnParseInstallerCommandLine(arguments, out, reason);
    EXPECT_EQ(result == 0, reason.empty()) << arguments << ": " << reason;
    return result;
}

int parse(const std::string& arguments) {
    CInstallerCommandLine ignored;
    return parse(arguments, ignored);
}

} // namespace

TEST(CommandLine, NoOptionsIsTheWizard) {
    CInstallerCommandLine line;
    EXPECT_EQ(0, parse("", line));
    EXPECT_EQ(CInstallerCommandLine::Action::Wizard, line.action);
    EXPECT_EQ(0, parse("   \t ", line));
    EXPECT_EQ(CInstallerCommandLine::Action::Wizard, line.action);

    std::string reason;
    EXPECT_EQ(0, hnParseProcessCommandLine("\"C:\\Program Files\\Orvanto\\setup.exe\"  ", line, reason));
    EXPECT_EQ(CInstallerCommandLine::Action::Wizard, line.action);
    EXPECT_EQ(0, hnParseProcessCommandLine("setup.exe /EXPORT set.ini", line, reason));
    EXPECT_EQ(CInstallerCommandLine::Action::Export, line.action);
    EXPECT_EQ("set.ini", line.exportFile);
}

TEST(CommandLine, OptionsIgnoreCaseAndTakeEitherLeader) {
    CInstallerCommandLine line;
    ASSERT_EQ(0, parse("-Apply a.ini /QUIET -eXacT /Log l.txt -documents D:\\Docs /repository "
                       "HTTP://mirror.plant:8080/",
                       line));
    EXPECT_EQ(CInstallerCommandLine::Action::Apply, line.action);
    EXPECT_EQ("a.ini", line.applyFile);
    EXPECT_TRUE(line.quiet);
    EXPECT_TRUE(line.exact);
    EXPECT_FALSE(line.passive);
    EXPECT_EQ("l.txt", line.logFile);
    EXPECT_EQ("D:\\Docs", line.documentsFolder);
    EXPECT_EQ("HTTP://mirror.plant:8080", line.repositoryUrl);

    ASSERT_EQ(0, parse("/apply s.ini /mirror M", line));
    EXPECT_EQ(CInstallerCommandLine::Action::Mirror, line.action);
    ASSERT_EQ(0, parse("/mirror M /passive", line));
    EXPECT_EQ(CInstallerCommandLine::Action::Mirror, line.action);
    EXPECT_TRUE(line.applyFile.empty());
}

TEST(CommandLine, QuotedPathsKeepBlanksAndATrailingBackslash) {
    CInstallerCommandLine line;
    ASSERT_EQ(0, parse("/apply \"C:\\Plant Sets\\line 4.ini\" /mirror \"D:\\Plant Mirror\\\" /quiet", line));
    EXPECT_EQ("C:\\Plant Sets\\line 4.ini", line.applyFile);
    EXPECT_EQ("D:\\Plant Mirror\\", line.mirrorFolder);
    EXPECT_TRUE(line.quiet);

    // Quotes in the middle of a word, and a quoted value that looks like an option.
    ASSERT_EQ(0, parse("/export C:\\\"My Sets\"\\a.ini /log \"/quiet\"", line));
    EXPECT_EQ("C:\\My Sets\\a.ini", line.exportFile);
    EXPECT_EQ("/quiet", line.logFile);

    std::vector<bool> quoted;
    std::vector<std::string> words = hnSplitCommandLine("a \"\" \"b c\\\"", &quoted);
    ASSERT_EQ(3u, words.size());
    EXPECT_EQ("", words[1]);
    EXPECT_EQ("b c\\", words[2]);
    EXPECT_EQ((std::vector<bool>{false, true, true}), quoted);
}

TEST(CommandLine, UnusableCommandLinesGive1639) {
    const char* const bad[] = {
        "/install x.ini",               // unknown option
        "/export",                      // missing value
        "/export /quiet",               // value is an option
        "/export \"\"",                 // empty value
        "stray.ini",                    // a word that is no option
        "/",                            // a leader alone
        "/export a.ini /export b.ini",  // given twice
        "/export a.ini /apply b.ini",   // two actions
        "/export a.ini /mirror M",      // two actions
        "/quiet",                       // no action
        "/log l.txt",                   // no action
        "/apply a.ini /quiet /passive", // both window modes
        "/export a.ini /exact",         // /exact without /apply
        "/apply a.ini /mirror M /exact",
        "/mirror M /documents D",
        "\"/export\" a.ini", // a quoted word is never an option
    };
    for (const char* arguments : bad)
        EXPECT_EQ(exitcode::kBadCommandLine, parse(arguments)) << arguments;
}

TEST(CommandLine, RepositoryTakesOnlyHttpAddressesWithAHost) {
    const char* const good[] = {"http://127.0.0.1:8080", "http://mirror", "http://mirror.plant-4.local/",
                                "Http://mirror//", "http://h:65535"};
    for (const char* url : good)
        EXPECT_TRUE(hnIsUsableRepositoryUrl(url)) << url;
    std::string normalised;
    ASSERT_TRUE(hnIsUsableRepositoryUrl("Http://mirror:81//", &normalised));
    EXPECT_EQ("Http://mirror:81", normalised);
    ASSERT_TRUE(hnIsUsableRepositoryUrl("http://mirror/", &normalised));
    EXPECT_EQ("http://mirror", normalised);

    const char* const bad[] = {"https://mirror",     "ftp://mirror", "file:///C:/mirror", "http://",
                               "http:///orvanto",    "http://:8080", "http://h:0",        "http://h:65536",
                               "http://h:80x",       "http://h:",    "http://user@h",     "http://h/a?b",
                               "http://h/a#b",       "http://h/a b", "http://h\\a",       "mirror:8080",
                               "\\\\server\\mirror", "http://h_st",  "http://h/orvanto"};
    for (const char* url : bad) {
        EXPECT_FALSE(hnIsUsableRepositoryUrl(url)) << url;
        EXPECT_EQ(exitcode::kBadCommandLine, parse(std::string("/mirror M /repository \"") + url + "\""))
            << url;
    }
}

TEST(ExitCodes, RunOutcomesMapToTheConventionalCodes) {
    hnRunOutcome outcome;
    EXPECT_EQ(0, hnExitCodeOf(outcome));
    outcome.noteInstallerExitCode(0);
    outcome.noteInstallerExitCode(1603); // left to re-detection
    EXPECT_EQ(0, hnExitCodeOf(outcome));
    outcome.noteInstallerExitCode(1641);
    EXPECT_EQ(3010, hnExitCodeOf(outcome));
    outcome.failed = true; // a failure outranks the restart
    EXPECT_EQ(1603, hnExitCodeOf(outcome));
    outcome.cancelled = true;
    EXPECT_EQ(1602, hnExitCodeOf(outcome));
    outcome.noteInstallerExitCode(1618);
    EXPECT_EQ(1618, hnExitCodeOf(outcome));
    outcome.badSetFile = true;
    EXPECT_EQ(87, hnExitCodeOf(outcome));

    hnRunOutcome restart;
    restart.noteInstallerExitCode(3010);
    EXPECT_EQ(3010, hnExitCodeOf(restart));
    EXPECT_STREQ("done, a restart is needed", hnExitCodeMeaning(3010));
}
