#include "pages/SummaryPage.h"

#include <commctrl.h>

#include "app/AppBase.h"
#include "app/InstallerServices.h"
#include "app/ScopedHandle.h"
#include "app/SystemView.h"
#include "app/Text.h"
#include "pages_ids.h"
#include "python/PythonSelection.h"

namespace {

const char* const kVisionSoftwareProduct = "Orvanto Vision Software Version XV 15.0.0.774";
const char* const kRuntimeProduct = "Orvanto Version XV 15.0.0.774 Runtime";

// The shell's answer for a file that is not there.
constexpr int kFileNotFound = 2;

bool readInstallPath(const char* product, std::string& folder) {
    folder.clear();
    std::string key;
    if (!hnFormat(key, kPathCapacity, "SOFTWARE\\HALVENOR AS\\%s", product))
        return false;
    HKEY opened = nullptr;
    if (hnRegOpenKey(HKEY_LOCAL_MACHINE, key.c_str(), KEY_READ, &opened) != ERROR_SUCCESS)
        return false;
    hnScopedKey owner(opened);
    char buffer[kPathCapacity] = {};
    DWORD size = sizeof(buffer) - 1, type = 0;
    if (::RegQueryValueExA(opened, "InstallPath", nullptr, &type, reinterpret_cast<BYTE*>(buffer), &size) ==
            ERROR_SUCCESS &&
        (type == REG_SZ || type == REG_EXPAND_SZ))
        folder = buffer;
    return true;
}

INT_PTR shellOpen(const std::string& file, const std::string& folder) {
    INT_PTR shell = reinterpret_cast<INT_PTR>(
        ::ShellExecuteA(nullptr, "open", file.c_str(), nullptr, folder.c_str(), SW_SHOWNORMAL));
    hnSessionLogF("Program", "opened %s, shell result %d", file.c_str(), static_cast<int>(shell));
    return shell;
}

// The programs of the links: folder (true: the runtime's), program and
// working folder below it, and whether it takes the Python switch.
struct ProgramLink {
    int id;
    bool runtime;
    const char* program;
    const char* workingFolder;
    bool pythonSwitch;
};
const ProgramLink kProgramLinks[] = {
    {IDC_SUMMARY_ORVANTO, true, "Orvanto.exe", "", true},
    {IDC_SUMMARY_CAPTURE, true, "OrvantoCapture.exe", "", false},
    {IDC_SUMMARY_ANGLES, true, "OrvantoAng.exe", "", false},
    {IDC_SUMMARY_OPB_EDITOR, false, "Support Applications\\opbedit.exe", "Support Applications", false},
    {IDC_SUMMARY_PIX_TEST, false, "Test Applications\\PixTestApp.exe", "Test Applications", false},
    {IDC_SUMMARY_RS232_TEST, false, "Test Applications\\RS232HnrCmdProtocol3Test.exe", "Test Applications",
     false},
};

// The documents of the links, below the runtime's "Documentation" (null:
// the Python help of the chosen interpreter).
struct DocumentLink {
    int id;
    const char* document;
};
const DocumentLink kDocumentLinks[] = {
    {IDC_SUMMARY_PYTHON_HELP, nullptr},
    {IDC_SUMMARY_README, "ReadMe.txt"},
    {IDC_SUMMARY_HELP_FILE, "Orvanto.chm"},
    {IDC_SUMMARY_USER_MANUAL, "User manual Orvanto.pdf"},
    {IDC_SUMMARY_OPERATOR_MANUAL, "ud-2010-0003-B Orvanto Operator's Manual.pdf"},
    {IDC_SUMMARY_FIREI_HELP, "Firei.chm"},
};

} // namespace

kdDInstallSummaryOrvanto::kdDInstallSummaryOrvanto(const std::string& title)
    : kdDPropertyPageBase(IDD_SUMMARY, title, "Installation Complete"), openDocument(shellOpen) {
    INITCOMMONCONTROLSEX controls = {sizeof(controls), ICC_LINK_CLASS};
    ::InitCommonControlsEx(&controls);
    uiDlgName = "Installation Complete";
    statusText = "Please click on the 'Next' button to proceed.\nOr click on the 'Finish' button to complete "
                 "the installation.";
    bindText(IDC_STATUS_AREA, &statusText);
    readVisionSoftwareFolder();
    readRuntimeFolder();
}

bool kdDInstallSummaryOrvanto::readVisionSoftwareFolder() {
    return readInstallPath(kVisionSoftwareProduct, visionSoftwareFolder);
}

bool kdDInstallSummaryOrvanto::readRuntimeFolder() {
    return readInstallPath(kRuntimeProduct, runtimeFolder);
}

bool kdDInstallSummaryOrvanto::onInitDialog() {
    bool result = kdDPropertyPageBase::onInitDialog();
    ::SetDlgItemTextA(hwnd(), IDC_SUMMARY_ORVANTO, hnFormatText("<a>%s</a>", "Orvanto Version XV").c_str());
    return result;
}

bool kdDInstallSummaryOrvanto::onSetActive() {
    readVisionSoftwareFolder();
    readRuntimeFolder();
    setWizardButtons(PSWIZB_BACK | PSWIZB_NEXT);
    setCancelText("Finish");
    return kdDPropertyPageBase::onSetActive();
}

bool kdDInstallSummaryOrvanto::onNotify(int id, NMHDR* header, LRESULT& result) {
    if (header && (header->code == NM_CLICK || header->code == NM_RETURN)) {
        for (const ProgramLink& link : kProgramLinks)
            if (link.id == id) {
                onLink(id);
                result = 0;
                return true;
            }
        for (const DocumentLink& link : kDocumentLinks)
            if (link.id == id) {
                onLink(id);
                result = 0;
                return true;
            }
    }
    return kdDPropertyPageBase::onNotify(id, header, result);
}

bool kdDInstallSummaryOrvanto::python36Selected() const {
    std::string selection;
    if (getPythonVersionSelection(&selection) < 1)
        selection = "Python 2.7.9";
    return selection == "Python 3.6.6";
}

void kdDInstallSummaryOrvanto::onLink(int id) {
    for (const ProgramLink& link : kProgramLinks)
        if (link.id == id) {
            const char* parameters = nullptr;
            if (link.pythonSwitch)
                parameters = python36Selected() ? "--python36" : "--python27";
            launch(link.runtime ? runtimeFolder : visionSoftwareFolder, link.program, link.workingFolder,
                   parameters);
            return;
        }
    for (const DocumentLink& link : kDocumentLinks)
        if (link.id == id) {
            open(link.document ? link.document : (python36Selected() ? "python36.chm" : "python27.chm"));
            return;
        }
}

void kdDInstallSummaryOrvanto::launch(const std::string& folder, const char* program,
                                      const char* workingFolder, const char* parameters) {
    // Without its folder the path would be a bare name, started from
    // wherever the program happens to run.
    std::string file, working;
    if (folder.empty() || !hnFormat(file, kPathCapacity, "%s%s", folder.c_str(), program) ||
        !hnFormat(working, kPathCapacity, "%s%s", folder.c_str(), workingFolder)) {
        showLinkError(kFileNotFound);
        return;
    }
    int shell = 0;
    int launched =
        launchAppManagingUACElevation(file.c_str(), working.c_str(), parameters, &shell, launchSystem);
    if (launched < 1) {
        hnAppBase::current()->prompter().messageBox(hwnd(), "Unable to access the link. Unexpected error.",
                                                    kInstallerCaption, MB_OK);
        return;
    }
    if (shell <= 32)
        showLinkError(shell);
}

void kdDInstallSummaryOrvanto::open(const char* document) {
    std::string file, folder;
    if (runtimeFolder.empty() ||
        !hnFormat(file, kPathCapacity, "%sDocumentation\\%s", runtimeFolder.c_str(), document) ||
        !hnFormat(folder, kPathCapacity, "%sDocumentation", runtimeFolder.c_str())) {
        showLinkError(kFileNotFound);
        return;
    }
    INT_PTR shell = openDocument ? openDocument(file, folder) : 0;
    if (shell <= 32)
        showLinkError(static_cast<int>(shell));
}

void kdDInstallSummaryOrvanto::showLinkError(int shellResult) {
    hnAppBase::current()->prompter().messageBox(
        hwnd(), hnFormatText("Unable to access the link. Error code - %d", shellResult).c_str(),
        kInstallerCaption, MB_OK);
}
