#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "app/AppBase.h"
#include "app/DebugOut.h"
#include "app/FileHelpers.h"
#include "app/SessionLog.h"
#include "app/SystemView.h"
#include "app/Text.h"
#include "process/ProcessLaunch.h"
#include "support/TestSupport.h"

namespace {

const char* const kPrefix = "OrvantoVisionSoftwareInstaller_";

std::vector<std::string> sessionLogsIn(const std::string& folder) {
    std::vector<std::string> names;
    WIN32_FIND_DATAA data;
    HANDLE find = ::FindFirstFileA((folder + "*.log").c_str(), &data);
    if (find == INVALID_HANDLE_VALUE)
        return names;
    do
        names.push_back(data.cFileName);
    while (::FindNextFileA(find, &data));
    ::FindClose(find);
    std::sort(names.begin(), names.end());
    return names;
}

} // namespace

// A short session: what the user was asked and answered, a debug line and a
// started program with its exit code all land in the log in the temp folder.
TEST(SessionLog, ScriptedSessionIsWrittenToTheLogInTheTempFolder) {
    hnSessionLog& log = hnAppBase::current()->sessionLog();
    ASSERT_TRUE(log.isOpen());
    std::string temp;
    ASSERT_TRUE(hnTempFolder(temp));
    std::string path = log.path();
    ASSERT_EQ(0u, path.find(temp + kPrefix)) << path;
    EXPECT_EQ(std::string::npos, path.find('\\', temp.size())); // not in a sub-folder
    std::string stamp = path.substr(temp.size() + std::string(kPrefix).size());
    EXPECT_EQ(18u, stamp.size());
    EXPECT_EQ(".log", stamp.substr(14));

    {
        ScriptedPrompter prompter;
        prompter.answer(IDNO);
        EXPECT_EQ(IDNO, hnAppBase::current()->prompter().messageBox(
                            nullptr, "Remove the old copy?\nIt is unused.", "Session Test", MB_YESNO));
        prompter.answer(3);
        EXPECT_EQ(3, hnAppBase::current()->prompter().question(212, nullptr, "Which one?",
                                                               [](HWND) { return INT_PTR(1); }));
    }
    DebugCapture debug; // the log gets the line whatever the sink
    hnDebugOut("SessionLogTest::run - a debug line\n");
    std::string sleeper = toolsFolder() + "\\sleeper.exe";
    EXPECT_EQ(0, runProgram(hnRunMode::Wait, sleeper, {sleeper, "10"}));

    std::string text = readTextFile(path);
    EXPECT_NE(std::string::npos,
              text.find("Message: [Session Test] Remove the old copy?\\nIt is unused.\r\n"));
    EXPECT_NE(std::string::npos, text.find("Answer: No (7)\r\n"));
    EXPECT_NE(std::string::npos, text.find("Question: [dialog 212] Which one?\r\n"));
    EXPECT_NE(std::string::npos, text.find("Answer: 3\r\n"));
    EXPECT_NE(std::string::npos, text.find("Debug: SessionLogTest::run - a debug line\r\n"));
    EXPECT_NE(std::string::npos, text.find("Program: started " + sleeper + " (" + sleeper + " 10)\r\n"));
    EXPECT_NE(std::string::npos, text.find("Program: " + sleeper + " ended with exit code 0\r\n"));
    EXPECT_TRUE(debug.contains("SessionLogTest::run - a debug line\n"));
}

TEST(SessionLog, OnlyTheNewestTenAreKeptAndOtherFilesStay) {
    ScratchFolder scratch;
    std::string folder = scratch.path() + "\\";
    for (int i = 1; i <= 12; ++i)
        writeTextFile(folder + kPrefix + hnFormatText("202001010000%02d.log", i), "old");
    writeTextFile(folder + kPrefix + "notes.log", "kept");
    writeTextFile(folder + "other.log", "kept");

    hnSessionLog log;
    ASSERT_TRUE(log.open(folder, kPrefix));
    log.write("Session", "started");
    std::vector<std::string> names = sessionLogsIn(folder);
    // 12 old + the new one: the three oldest went.
    ASSERT_EQ(12u, names.size());
    EXPECT_EQ(std::string(kPrefix) + "20200101000004.log", names[0]);
    EXPECT_EQ(folder + names[names.size() - 3], log.path()); // then "..._notes.log" and "other.log"
    EXPECT_TRUE(fileExists(folder + kPrefix + "notes.log"));
    EXPECT_TRUE(fileExists(folder + "other.log"));
    log.close();
    EXPECT_NE(std::string::npos, readTextFile(folder + names[names.size() - 3]).find("Session: started\r\n"));
}

TEST(SessionLog, ALogThatCannotBeWrittenStopsNothing) {
    hnSessionLog log;
    EXPECT_FALSE(log.open("Z:\\no\\such\\folder\\", kPrefix));
    EXPECT_FALSE(log.isOpen());
    log.write("Debug", "goes nowhere"); // no effect, no failure
    EXPECT_EQ("", log.path());
}

// The copy that /log asks for holds the lines written so far; a log that is
// not open, or a target that cannot be written, leaves no file that could
// pass for a session's log.
TEST(SessionLog, ACopyIsTheLogSoFarOrNoFileAtAll) {
    ScratchFolder folder;
    std::string copy = folder.file("copy of the log.txt");
    hnSessionLog closed;
    EXPECT_FALSE(closed.copyTo(copy));
    EXPECT_FALSE(fileExists(copy));

    hnSessionLog log;
    ASSERT_TRUE(log.open(folder.path() + "\\", kPrefix));
    log.write("Apply", "first line");
    ASSERT_TRUE(writeTextFile(copy, "an older run's log, longer than this one"));
    EXPECT_TRUE(log.copyTo(copy));
    std::string text = readTextFile(copy);
    EXPECT_NE(std::string::npos, text.find("Apply: first line"));
    EXPECT_EQ(std::string::npos, text.find("older run"));
    EXPECT_FALSE(log.copyTo(folder.file("no such folder\\log.txt")));
    EXPECT_FALSE(fileExists(folder.file("no such folder")));

    // A link planted on the way in the temp folder (tests/fixtures/prepare)
    // is not passed: nothing is written where it leads.
    const std::string root = "C:\\orvanto-fixtures\\temp-log";
    if (fileExists(root + "\\temp\\Orvanto10_9267")) {
        TempFolderAt temp(root + "\\temp\\");
        EXPECT_FALSE(log.copyTo(root + "\\temp\\Orvanto10_9267\\copy.log"));
        EXPECT_FALSE(fileExists(root + "\\target\\copy.log"));
        EXPECT_TRUE(fileExists(root + "\\target\\keep.txt"));
    } else {
        GTEST_SKIP() << "fixture missing: run tests/fixtures/prepare";
    }
    log.close();
}

// The following seconds' names carry over into the next minute, day and year.
TEST(SessionLog, LaterSecondsNamesCarryOver) {
    SYSTEMTIME newYearsEve = {};
    newYearsEve.wYear = 2026;
    newYearsEve.wMonth = 12;
    newYearsEve.wDay = 31;
    newYearsEve.wHour = 23;
    newYearsEve.wMinute = 59;
    newYearsEve.wSecond = 58;
    EXPECT_EQ("log20261231235958.log", hnSessionLogName("log", newYearsEve, 0));
    EXPECT_EQ("log20270101000000.log", hnSessionLogName("log", newYearsEve, 2));
    newYearsEve.wMonth = 13; // no such time
    EXPECT_EQ("", hnSessionLogName("log", newYearsEve, 0));
}

// A file or link planted under the expected name is never opened: the log
// takes the name of a following second and leaves the planted file alone.
TEST(SessionLog, ATakenNameGivesWayToTheNextSeconds) {
    ScratchFolder scratch;
    std::string folder = scratch.path() + "\\";
    SYSTEMTIME now;
    ::GetLocalTime(&now);
    std::vector<std::string> planted;
    for (int second = 0; second < 3; ++second) {
        planted.push_back(folder + hnSessionLogName(kPrefix, now, second));
        writeTextFile(planted.back(), "planted");
    }

    hnSessionLog log;
    ASSERT_TRUE(log.open(folder, kPrefix));
    log.write("Session", "started");
    std::string path = log.path();
    log.close();
    for (const std::string& name : planted) {
        EXPECT_NE(name, path);
        EXPECT_EQ("planted", readTextFile(name));
    }
    ASSERT_EQ(folder.size() + std::string(kPrefix).size() + 18, path.size()) << path;
    EXPECT_GT(path, planted.back()); // a later second, same form
    EXPECT_NE(std::string::npos, readTextFile(path).find("Session: started\r\n"));
}
