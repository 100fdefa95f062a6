#include <gtest/gtest.h>

#include <string>
#include <windows.h>

#include <tlhelp32.h>

#include "process/ExecCmd.h"
#include "support/TestSupport.h"

namespace {

std::string chatter(const std::string& arguments) {
    return "\"" + toolsFolder() + "\\chatter.exe\" " + arguments;
}

std::string letters(std::size_t count) {
    std::string text;
    for (std::size_t i = 0; i < count; ++i)
        text += static_cast<char>('a' + i % 26);
    return text;
}

DWORD WINAPI stopSoon(LPVOID param) {
    ::Sleep(300);
    static_cast<hnStopBlock*>(param)->requestStop();
    return 0;
}

// Ends the stand-in programs this test process started and left running.
void endChildren(const char* exeName) {
    hnScopedHandle snapshot(::CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0));
    PROCESSENTRY32 entry = {};
    entry.dwSize = sizeof(entry);
    for (BOOL more = ::Process32First(snapshot.get(), &entry); more;
         more = ::Process32Next(snapshot.get(), &entry)) {
        if (entry.th32ParentProcessID != ::GetCurrentProcessId() || _stricmp(entry.szExeFile, exeName) != 0)
            continue;
        hnScopedHandle child(::OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, entry.th32ProcessID));
        if (child && ::TerminateProcess(child.get(), 0))
            ::WaitForSingleObject(child.get(), 5000);
    }
}

} // namespace

TEST(ExecCmd, MissingArgumentsAreRefused) {
    DebugCapture debug;
    hnExecCmdNCaptureStdOut runner;
    char output[kExecCmdOutputCapacity] = "stale";
    EXPECT_EQ(-15401, runner.execCmd(nullptr, output));
    EXPECT_EQ(-15401, runner.execCmd("x", nullptr));
    EXPECT_TRUE(debug.contains("hnExecCmdNCaptureStdOut::execCmd - NULL pointer 1\n"));
    EXPECT_TRUE(debug.contains("hnExecCmdNCaptureStdOut::execCmd - NULL pointer 2\n"));
}

TEST(ExecCmd, CapturesUpTo2047CharactersOfBothStreams) {
    hnExecCmdNCaptureStdOut runner;
    char output[kExecCmdOutputCapacity];
    ASSERT_EQ(1, runner.execCmd(chatter("2047").c_str(), output));
    EXPECT_EQ(letters(2047), std::string(output));
    // The same object runs the next command with a fresh capture.
    ASSERT_EQ(1, runner.execCmd(chatter("5 0 err").c_str(), output));
    EXPECT_STREQ("abcde", output);
    ASSERT_EQ(1, runner.execCmd(chatter("0").c_str(), output));
    EXPECT_STREQ("", output);
}

TEST(ExecCmd, TooMuchOutputGives15408KeepsItsBeginningAndTheCommandStillEndsAtOnce) {
    DebugCapture debug;
    hnExecCmdNCaptureStdOut runner;
    char output[kExecCmdOutputCapacity] = "stale";
    EXPECT_EQ(-15408, runner.execCmd(chatter("2048").c_str(), output));
    EXPECT_STREQ("", output);
    // Its beginning is kept for callers that decide on it.
    std::string kept = runner.keptOutput();
    ASSERT_EQ(kExecCmdOutputCapacity - 1, kept.size());
    EXPECT_EQ("abcdef", kept.substr(0, 6));
    EXPECT_EQ('a' + 2046 % 26, kept.back());
    EXPECT_TRUE(
        debug.contains("hnExecCmdNCaptureStdOut::appendCharsToCapturedStdOutStr - Insufficient buffer\n"));
    // A chatty command (far more than a pipe holds) is drained to its end
    // instead of blocking until the time limit.
    DWORD start = ::GetTickCount();
    EXPECT_EQ(-15408, runner.execCmd(chatter("3000000").c_str(), output));
    EXPECT_LT(::GetTickCount() - start, 20000u);
    EXPECT_FALSE(debug.contains("hnExecCmdNCaptureStdOut::execCmd - warning - terminating process\n"));
    ASSERT_EQ(1, runner.execCmd(chatter("5").c_str(), output));
    EXPECT_EQ("", runner.keptOutput());
}

TEST(ExecCmd, AppendRefusesEmptyChunks) {
    DebugCapture debug;
    hnExecCmdNCaptureStdOut runner;
    EXPECT_EQ(-15407, runner.appendCharsToCapturedStdOutStr("x", 0));
    EXPECT_TRUE(debug.contains(
        "hnExecCmdNCaptureStdOut::appendCharsToCapturedStdOutStr - Invalid string buffer size\n"));
}

TEST(ExecCmd, UnknownProgramGives15405) {
    DebugCapture debug;
    hnExecCmdNCaptureStdOut runner;
    char output[kExecCmdOutputCapacity];
    EXPECT_EQ(-15405, runner.execCmd("Z:\\no\\such\\program-orvanto.exe", output));
    EXPECT_TRUE(debug.contains("hnExecCmdNCaptureStdOut::execCmd - Unable to launch process\n"));
}

TEST(ExecCmd, CommandRunningPast30SecondsIsTerminated) {
    DebugCapture debug;
    hnExecCmdNCaptureStdOut runner;
    char output[kExecCmdOutputCapacity] = "stale";
    DWORD start = ::GetTickCount();
    // The command would run two minutes: only the 30-second limit ends it
    // within the first, however long the machine takes to start it.
    EXPECT_EQ(-15409, runner.execCmd(chatter("10 120000").c_str(), output));
    DWORD elapsed = ::GetTickCount() - start;
    EXPECT_GE(elapsed, 29500u);
    EXPECT_LT(elapsed, 60000u);
    EXPECT_STREQ("", output);
    EXPECT_TRUE(debug.contains("hnExecCmdNCaptureStdOut::execCmd - warning - terminating process\n"));
}

// A stop ends the wait at once with -15410 and hands out nothing; the command
// itself is left running (ending pip midway could break its packages).
TEST(ExecCmd, AStopEndsTheWaitButLeavesTheCommandRunning) {
    DebugCapture debug;
    hnStopBlock stop;
    hnExecCmdNCaptureStdOut runner;
    char output[kExecCmdOutputCapacity] = "stale";
    hnScopedHandle stopper(::CreateThread(nullptr, 0, &stopSoon, &stop, 0, nullptr));
    DWORD start = ::GetTickCount();
    EXPECT_EQ(kExecCmdStopped, runner.execCmd(chatter("10 31000").c_str(), output, &stop));
    DWORD elapsed = ::GetTickCount() - start;
    ::WaitForSingleObject(stopper.get(), INFINITE);
    EXPECT_LT(elapsed, 20000u); // well before the command's own end
    EXPECT_STREQ("", output);
    EXPECT_EQ(static_cast<DWORD>(STILL_ACTIVE), runner.exitCode());
    EXPECT_TRUE(debug.contains("hnExecCmdNCaptureStdOut::execCmd - stop requested\n"));
    EXPECT_FALSE(debug.contains("terminating process"));
    endChildren("chatter.exe");

    // Without a stop request the same runner waits as before, and a stop
    // block nobody uses changes nothing.
    stop.rearm();
    EXPECT_EQ(kExecCmdOk, runner.execCmd(chatter("5 0").c_str(), output, &stop));
    EXPECT_STREQ("abcde", output);
    EXPECT_EQ(0u, runner.exitCode());
}
