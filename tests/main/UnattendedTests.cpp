// The command-line mode: its prompter, the component set taken from the
// pages, and the installer program started with options.
#include <gtest/gtest.h>

#include "app/FileHelpers.h"
#include "app/Text.h"
#include "download_ids.h"
#include "install/RepairQuestion.h"
#include "main/ComponentSetFile.h"
#include "main/ExitCodes.h"
#include "main/InstallerApp.h"
#include "main/SetExport.h"
#include "main/UnattendedPrompter.h"
#include "download/InstallationElement.h"
#include "download/StatusWords.h"
#include "python/PythonSelection.h"
#include "python/PySelAccessors.h"
#include "support/TestSupport.h"
#include "support/UiDriver.h"

namespace {

std::string sessionLogText() {
    return readTextFile(theApp()->sessionLog().path());
}

// Keeps the user's stored Python choices, and their folders, as they were.
struct KeptPySel {
    KeptPySel() {
        pySelIniPath(path);
        pySelFolderPath(folder);
        dataFolder = folder.substr(0, folder.find_last_of('\\'));
        existed = fileExists(path);
        dataFolderExisted = fileExists(dataFolder);
        if (existed)
            content = readTextFile(path);
    }
    ~KeptPySel() {
        if (existed)
            writeTextFile(path, content);
        else if (!dataFolderExisted)
            deleteFolderTree(dataFolder.c_str(), "Orvanto 15.0");
        else
            ::DeleteFileA(path.c_str());
    }
    std::string path, folder, dataFolder;
    std::string content;
    bool existed = false;
    bool dataFolderExisted = false;
};

const hnSetEntry* entryOf(const CComponentSet& set, const char* section, const std::string& key) {
    const hnSetSection* s = set.section(section);
    for (std::size_t i = 0; s && i < s->entries.size(); ++i)
        if (s->entries[i].key == key)
            return &s->entries[i];
    return nullptr;
}

// Runs the installer program with `arguments` after its quoted path and
// returns its exit code (STILL_ACTIVE when it did not end in time).
DWORD runInstaller(const std::string& arguments, DWORD timeoutMs) {
    std::string program = installerProgramPath();
    std::string folder = program.substr(0, program.find_last_of("\\/"));
    std::string command = "\"" + program + "\" " + arguments;
    STARTUPINFOA si = {};
    si.cb = sizeof(si);
    PROCESS_INFORMATION info = {};
    if (!::CreateProcessA(program.c_str(), &command[0], nullptr, nullptr, FALSE, 0, nullptr, folder.c_str(),
                          &si, &info))
        return static_cast<DWORD>(-1);
    DWORD code = STILL_ACTIVE;
    if (::WaitForSingleObject(info.hProcess, timeoutMs) == WAIT_OBJECT_0)
        ::GetExitCodeProcess(info.hProcess, &code);
    else
        ::TerminateProcess(info.hProcess, 1);
    ::CloseHandle(info.hThread);
    ::CloseHandle(info.hProcess);
    return code;
}

} // namespace

TEST(UnattendedPrompter, AnswersOnlyItsTable) {
    const char* const yes[] = {
        kRepairQuestion,
        "Only one of the MVS versions can be installed on a computer.\n\nDo you want to un-install ...",
        "Only one Python 2.7 version can be installed on a computer.\n\nDo you want to un-install ...",
        "You have selected to switch to Python 3.6.6.\n\nPlease note that-\n...",
    };
    for (const char* text : yes) {
        hnRunOutcome outcome;
        hnUnattendedPrompter prompter(outcome);
        EXPECT_EQ(IDYES, prompter.messageBox(nullptr, text, kInstallerCaption, MB_YESNO | MB_ICONQUESTION))
            << text;
        EXPECT_FALSE(prompter.ended());
        EXPECT_EQ(0, hnExitCodeOf(outcome));
    }

    // The download error's choice is Abort, and the run has failed.
    hnRunOutcome aborted;
    hnUnattendedPrompter downloads(aborted);
    EXPECT_EQ(0,
              downloads.question(IDD_DOWNLOAD_ERROR_OPTION, nullptr, "Download error", [](HWND) -> INT_PTR {
                  ADD_FAILURE() << "no dialog in the unattended mode";
                  return 1;
              }));
    EXPECT_EQ(exitcode::kFailed, hnExitCodeOf(aborted));
}

TEST(UnattendedPrompter, AnythingElseEndsTheRunWith1603AndItsTextInTheLog) {
    struct Case {
        const char* text;
        UINT type;
        int answer;
    };
    const Case cases[] = {
        {"Unexpected Error 101 (unattended case 1)", MB_OK, IDOK},
        {"Do you want to remove the profiles? (unattended case 2)", MB_YESNO, IDNO},
        {"Keep going? (unattended case 3)", MB_YESNOCANCEL, IDCANCEL},
        {"Retry the copy? (unattended case 4)", MB_RETRYCANCEL, IDCANCEL},
        {"Only one of the ... (unattended case 5, not a Yes/No box)", MB_OKCANCEL, IDCANCEL},
    };
    for (const Case& c : cases) {
        hnRunOutcome outcome;
        hnUnattendedPrompter prompter(outcome);
        EXPECT_EQ(c.answer, prompter.messageBox(nullptr, c.text, kInstallerCaption, c.type)) << c.text;
        EXPECT_TRUE(prompter.ended());
        EXPECT_EQ(c.text, prompter.endingText());
        EXPECT_EQ(exitcode::kFailed, hnExitCodeOf(outcome));
        EXPECT_NE(std::string::npos, sessionLogText().find(c.text)) << c.text;
    }

    hnRunOutcome outcome;
    hnUnattendedPrompter prompter(outcome);
    EXPECT_EQ(0, prompter.question(4711, nullptr, "credentials for http://mirror (unattended)",
                                   [](HWND) -> INT_PTR {
                                       ADD_FAILURE() << "no dialog in the unattended mode";
                                       return 1;
                                   }));
    EXPECT_TRUE(prompter.ended());
    EXPECT_EQ(exitcode::kFailed, hnExitCodeOf(outcome));
}

TEST(SetExport, DescribesTheStoredChoicesAndTheInstalledRowsOnce) {
    KeptPySel kept;
    ASSERT_EQ(1, setPythonVersionSelection("Python 2.7.13"));
    ASSERT_EQ(1, setPy27ExtensionPackageSelection("Vision Set"));

    CPagesWithoutWindows pages;
    ASSERT_GT(pages.rows().size(), 20u);
    for (std::size_t i = 0; i < pages.rows().size(); ++i)
        for (std::size_t j = i + 1; j < pages.rows().size(); ++j)
            EXPECT_FALSE(hnEqualsNoCase(pages.rows()[i]->name, pages.rows()[j]->name))
                << pages.rows()[i]->name;

    CComponentSet set;
    hnDescribeThisPc(pages, set);
    ASSERT_NE(nullptr, entryOf(set, kSetPythonSection, "VersionName"));
    EXPECT_EQ("Python 2.7.13", entryOf(set, kSetPythonSection, "VersionName")->value);
    EXPECT_EQ("Vision Set", entryOf(set, kSetPythonSection, "Py27ExtensionPackage")->value);
    EXPECT_EQ(nullptr, entryOf(set, kSetPythonSection, "Py36ExtensionPackage")); // never stored

    // Exactly the rows detected as present, each with its status word or version.
    std::size_t present = 0;
    for (const hnInstallationElement* row : pages.rows()) {
        const hnSetEntry* entry = entryOf(set, kSetComponentsSection, row->name);
        bool listed = !row->status().empty() && row->status() != kStatusNotInstalled;
        EXPECT_EQ(listed, entry != nullptr) << row->name << ": " << row->status();
        if (entry) {
            ++present;
            EXPECT_EQ(row->statusDetail.empty() ? row->status() : row->statusDetail, entry->value);
        }
    }
    EXPECT_EQ(present, set.section(kSetComponentsSection)->entries.size());

    // What is written reads back and passes the name check of the same tables.
    ScratchFolder folder;
    std::string error;
    ASSERT_TRUE(hnWriteComponentSet(folder.file("pc.ini"), set, error)) << error;
    CComponentSet back;
    ASSERT_EQ(0, hnReadComponentSet(folder.file("pc.ini"), back, error)) << error;
    auto known = [&pages](const std::string& section, const std::string& key) {
        return hnIsKnownSetKey(pages, section, key);
    };
    EXPECT_EQ(0, hnCheckComponentSetKeys(back, known, error)) << error;
    EXPECT_TRUE(hnIsKnownSetKey(pages, "components", hnLowerCase(pages.rows()[0]->name)));
    EXPECT_FALSE(hnIsKnownSetKey(pages, kSetComponentsSection, "Orvanto Vision Software 99"));
    EXPECT_FALSE(hnIsKnownSetKey(pages, kSetPythonSection, "PythonPath"));
}

TEST(CommandLineRun, ExportWritesTheSetAndBadInputGivesItsCode) {
    ScratchFolder folder;
    std::string setPath = folder.file("line 4 set.ini");
    std::string logPath = folder.file("run log.txt");

    EXPECT_EQ(0u, runInstaller("-EXPORT \"" + setPath + "\" /log \"" + logPath + "\"", 180000));
    CComponentSet set;
    std::string error;
    EXPECT_EQ(0, hnReadComponentSet(setPath, set, error)) << error;
    EXPECT_EQ("15.0.0.774", set.installerVersion);
    EXPECT_NE(nullptr, set.section(kSetComponentsSection));
    EXPECT_NE(std::string::npos, readTextFile(logPath).find("exit code 0: done"));

    EXPECT_EQ(static_cast<DWORD>(exitcode::kBadCommandLine), runInstaller("/export", 30000));
    EXPECT_EQ(static_cast<DWORD>(exitcode::kBadCommandLine),
              runInstaller("/apply a.ini /repository https://mirror", 30000));

    // A set naming a component no page knows is refused before anything happens.
    std::string badSet = folder.file("bad set.ini");
    ASSERT_TRUE(
        writeTextFile(badSet, "[Component Set]\nFormat=1\n[Components]\nOrvanto Flux Capacitor=1.0\n"));
    EXPECT_EQ(static_cast<DWORD>(exitcode::kBadSetFile),
              runInstaller("/apply \"" + badSet + "\" /quiet /log \"" + folder.file("apply log.txt") + "\"",
                           180000));
    EXPECT_NE(std::string::npos,
              readTextFile(folder.file("apply log.txt"))
                  .find("line 4: unknown name \"Orvanto Flux Capacitor\" in [Components]"));
}

TEST(CommandLineRun, RepositoryOfTheCommandLineComesBeforeTheTestOverride) {
    char saved[1024] = {};
    DWORD had = ::GetEnvironmentVariableA("ORVANTO_REPOSITORY_URL", saved, sizeof(saved));
    ::SetEnvironmentVariableA("ORVANTO_REPOSITORY_URL", "http://127.0.0.1:9/");
    theApp()->setRepositoryOverride("http://mirror.plant:8080");
    EXPECT_EQ("http://mirror.plant:8080", theApp()->repositoryBaseUrl());
    theApp()->setRepositoryOverride("");
    EXPECT_EQ("http://127.0.0.1:9", theApp()->repositoryBaseUrl());
    ::SetEnvironmentVariableA("ORVANTO_REPOSITORY_URL", had ? saved : nullptr);
}

TEST(CommandLineRun, BesideARunningCopyTheModeWaitsWithoutWindowsAndGives1618) {
    ::SetEnvironmentVariableA("ORVANTO_STARTUP_WAIT_MS", "100");
    uidriver::Installer wizard;
    ASSERT_TRUE(wizard.start(installerProgramPath()));
    HWND sheet = wizard.findWindow(kInstallerCaption);
    ASSERT_NE(nullptr, sheet);

    ScratchFolder folder;
    EXPECT_EQ(
        static_cast<DWORD>(exitcode::kBusy),
        runInstaller("/export \"" + folder.file("set.ini") + "\" /log \"" + folder.file("log.txt") + "\"",
                     60000));
    EXPECT_FALSE(fileExists(folder.file("set.ini")));
    std::string log = readTextFile(folder.file("log.txt"));
    EXPECT_NE(std::string::npos, log.find("refused: Error: Another instance of the installer")) << log;
    EXPECT_NE(std::string::npos, log.find("exit code 1618")) << log;
    ::SetEnvironmentVariableA("ORVANTO_STARTUP_WAIT_MS", nullptr);

    ::PostMessageA(sheet, WM_CLOSE, 0, 0);
    EXPECT_TRUE(wizard.waitForExit(15000));
}
