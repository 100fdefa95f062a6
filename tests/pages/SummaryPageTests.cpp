// The summary page's links against stand-in programs in scratch installation
// folders that the registry points to.
#include <gtest/gtest.h>

#include "install/DetectionSupport.h"
#include "pages/PageTestSupport.h"
#include "pages/SummaryPage.h"
#include "pages_ids.h"

namespace {

const char* const kRuntimeKey = "SOFTWARE\\HALVENOR AS\\Orvanto Version XV 15.0.0.774 Runtime";
const char* const kVisionKey = "SOFTWARE\\HALVENOR AS\\Orvanto Vision Software Version XV 15.0.0.774";

// Installation folders holding recorder stand-ins under the programs' names.
struct Installed {
    Installed() {
        runtime = scratch.file("Runtime\\");
        vision = scratch.file("Vision\\");
        makeFolders(runtime + "Documentation");
        makeFolders(vision + "Support Applications");
        makeFolders(vision + "Test Applications");
        const char* const programs[] = {"Orvanto.exe", "OrvantoCapture.exe", "OrvantoAng.exe"};
        for (const char* program : programs)
            ::CopyFileA((toolsFolder() + "\\recorder.exe").c_str(), (runtime + program).c_str(), FALSE);
        ::CopyFileA((toolsFolder() + "\\recorder.exe").c_str(),
                    (vision + "Test Applications\\PixTestApp.exe").c_str(), FALSE);
        registry.setString(HKEY_LOCAL_MACHINE, kRuntimeKey, "InstallPath", runtime);
        registry.setString(HKEY_LOCAL_MACHINE, kVisionKey, "InstallPath", vision);
        record = scratch.file("record.txt");
        ::SetEnvironmentVariableA("ORVANTO_RECORD_FILE", record.c_str());
    }
    ~Installed() {
        waitFor([] { return false; }, 300); // the stand-ins close their record
        ::SetEnvironmentVariableA("ORVANTO_RECORD_FILE", nullptr);
    }
    ScratchFolder scratch;
    RegistryState registry;
    std::string runtime, vision, record;
};

struct SummaryPage {
    SummaryPage() : page("Test - Summary") {
        // Before user account control the shell opens the program itself.
        page.launchSystem.queryVersion = [](OSVERSIONINFOEXA& v) {
            v = OSVERSIONINFOEXA();
            v.dwPlatformId = VER_PLATFORM_WIN32_NT;
            v.dwMajorVersion = 5;
            return true;
        };
        page.openDocument = [this](const std::string& file, const std::string& folder) {
            opened.push_back(file + " in " + folder);
            return static_cast<INT_PTR>(42);
        };
        host.reset(new PageHost(page));
    }
    void click(int id) {
        NMHDR header = {::GetDlgItem(page.hwnd(), id), static_cast<UINT_PTR>(id), NM_CLICK};
        ::SendMessageA(page.hwnd(), WM_NOTIFY, static_cast<WPARAM>(id), reinterpret_cast<LPARAM>(&header));
    }
    ScriptedPrompter prompter;
    kdDInstallSummaryOrvanto page;
    std::unique_ptr<PageHost> host;
    std::vector<std::string> opened;
};

} // namespace

TEST(SummaryPage, LinksStartTheProgramsWithThePythonSwitchAndOpenDocuments) {
    Installed installed;
    StoredSelection selection("Python 3.6.6");
    SummaryPage open;
    EXPECT_EQ(installed.runtime, open.page.runtimeFolder);
    EXPECT_EQ("<a>Orvanto Version XV</a>", controlText(open.page.hwnd(), IDC_SUMMARY_ORVANTO));
    EXPECT_EQ("Finish", open.host->cancelText());

    open.click(IDC_SUMMARY_ORVANTO);
    open.click(IDC_SUMMARY_CAPTURE);
    open.click(IDC_SUMMARY_PIX_TEST);
    EXPECT_TRUE(waitFor(
        [&] {
            std::string record = readTextFile(installed.record);
            return record.find("--python36") != std::string::npos &&
                   record.find("OrvantoCapture.exe") != std::string::npos &&
                   record.find("PixTestApp.exe") != std::string::npos;
        },
        15000))
        << readTextFile(installed.record);
    EXPECT_TRUE(open.prompter.records.empty());

    open.click(IDC_SUMMARY_PYTHON_HELP);
    open.click(IDC_SUMMARY_OPERATOR_MANUAL);
    std::string documentation = installed.runtime + "Documentation";
    EXPECT_EQ((std::vector<std::string>{documentation + "\\python36.chm in " + documentation,
                                        documentation + "\\ud-2010-0003-B Orvanto Operator's Manual.pdf in " +
                                            documentation}),
              open.opened);

    // A missing program: the shell's file-not-found answer.
    open.click(IDC_SUMMARY_OPB_EDITOR);
    ASSERT_EQ(1u, open.prompter.records.size());
    EXPECT_EQ("Unable to access the link. Error code - 2", open.prompter.records[0].text);
}

TEST(SummaryPage, AnUnknownSelectionMeansPython27AndARemovedRuntimeStartsNothing) {
    Installed installed;
    StoredSelection selection("Python 9.9");
    SummaryPage open;
    open.click(IDC_SUMMARY_PYTHON_HELP);
    ASSERT_EQ(1u, open.opened.size());
    EXPECT_NE(std::string::npos, open.opened[0].find("\\python27.chm"));

    // The runtime is removed on another page: activation reads the keys again.
    installed.registry.undo();
    open.host->pressNext();
    PropSheet_SetCurSel(open.host->sheetWindow(), nullptr, 0);
    pumpMessages();
    EXPECT_EQ("", open.page.runtimeFolder);
    EXPECT_EQ("", open.page.visionSoftwareFolder);
    open.click(IDC_SUMMARY_ORVANTO);
    open.click(IDC_SUMMARY_README);
    ASSERT_EQ(2u, open.prompter.records.size());
    EXPECT_EQ("Unable to access the link. Error code - 2", open.prompter.records[0].text);
    EXPECT_EQ("Unable to access the link. Error code - 2", open.prompter.records[1].text);
    EXPECT_EQ(1u, open.opened.size());
    EXPECT_EQ("", readTextFile(installed.record));

    // Through the real shell a missing document answers file-not-found too.
    installed.registry.setString(HKEY_LOCAL_MACHINE, kRuntimeKey, "InstallPath", installed.runtime);
    kdDInstallSummaryOrvanto real("Test - Summary");
    EXPECT_EQ(installed.runtime, real.runtimeFolder);
    EXPECT_LE(real.openDocument(installed.runtime + "Documentation\\Firei.chm", installed.runtime), 32);
}
