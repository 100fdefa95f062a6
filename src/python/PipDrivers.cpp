// The pip drivers of both interpreters: installation of a wheel or source
// archive after a self-upgrade of pip, removal of a package, and the reading
// of an installed version. Both interpreters run one implementation; what
// differs (folder, debug class name, time limits, who owns the please-wait
// dialog) is described by a table row.
#include <memory>
#include <windows.h>

#include "app/AppBase.h"
#include "app/DebugOut.h"
#include "app/PleaseWaitDlg.h"
#include "app/ScopedHandle.h"
#include "app/SessionLogLines.h"
#include "app/StopBlock.h"
#include "app/Text.h"
#include "app/WorkerWait.h"
#include "install/CheckInstallations.h"
#include "install/PipShow.h"
#include "install/PythonEnvironment.h"
#include "process/ProcessLaunch.h"
#include "python/Python27Functions.h"
#include "python/Python36Functions.h"

namespace {

using P27 = hnPyhton27InstallFunctions;
using P36 = hnPyhton36InstallFunctions;

constexpr std::size_t kCommandCapacity = 2048;
constexpr DWORD kInstallLimitMs = 180000;
constexpr DWORD kRemovalLimitMs = 60000;

// One interpreter as the drivers see it.
struct Interpreter {
    const char* className; // of the debug lines
    const char* pythonName;
    const char* folderReason;
    DWORD upgradeLimitMs;
    bool (*folder)(std::string&);
    // Python 2.7 drivers show a please-wait dialog of their own; the Python
    // 3.6 drivers show the caller's, when given.
    bool ownDialog;
};

// The Python 2.7 drivers' debug lines carry the name of the detection class,
// where the Python 2.7 probes live.
const Interpreter kPython27{"hnCheckInstallations",         "Python 2.7",
                            "Unable to get Python 27 path", 180000,
                            &P27::getPython27InstallFolder, true};
const Interpreter kPython36{"hnPyhton36InstallFunctions",   "Python 3.6",
                            "Unable to get Python 36 path", 300000,
                            &P36::getPython36InstallFolder, false};

// Installation or removal, silent or visible.
struct Operation {
    const char* silentRoutine;
    const char* command; // with the interpreter folder and the wheel path or package
    DWORD silentLimitMs;
    const char* verb; // "install" or "un-install" in the messages
};

const Operation kInstall27{"internalInstallPy27ModuleWhl", "\"%sScripts\\pip.exe\" install \"%s\"",
                           kInstallLimitMs, "install"};
const Operation kInstall36{"internalInstallPy36ModuleWhl", "\"%sScripts\\pip.exe\" install \"%s\"",
                           kInstallLimitMs, "install"};
const Operation kRemove27{"internalUninstallPy27ModuleWhl", "\"%sScripts\\pip.exe\" uninstall \"%s\" -y",
                          kRemovalLimitMs, "un-install"};
const Operation kRemove36{"internalUninstallPy36ModuleWhl", "\"%sScripts\\pip.exe\" uninstall \"%s\" -y",
                          kRemovalLimitMs, "un-install"};

void debugLine(const Interpreter& python, const char* routine, const char* reason) {
    hnDebugOutF("%s::%s - %s\n", python.className, routine, reason);
}

void errorMessage(const std::string& text) {
    hnAppBase* app = hnAppBase::current();
    if (app)
        app->prompter().messageBox(app->mainWindow(), text.c_str(), "Error", MB_OK | MB_ICONERROR);
}

// The please-wait dialog of one pip run: the driver's own (created here and
// destroyed when this goes) or the caller's (shown, and left up for the
// caller's next step; its owner closes it).
class RunDialog {
public:
    RunDialog(const Interpreter& python, hnDialog* callers) : dialog_(callers) {
        if (!python.ownDialog || !onInterfaceThread())
            return;
        own_.reset(new DPleaseWaitDlg());
        hnAppBase* app = hnAppBase::current();
        if (own_->create(app ? app->mainWindow() : nullptr))
            dialog_ = own_.get();
    }
    ~RunDialog() {
        if (own_)
            own_->destroy();
    }
    hnDialog* get() const { return dialog_; }
    void show() const {
        if (dialog_)
            dialog_->showForWait();
    }

private:
    // Removals run on the uninstall dialog's worker, which shows its own
    // progress; a window of that thread would never be painted.
    static bool onInterfaceThread() {
        hnAppBase* app = hnAppBase::current();
        HWND main = app ? app->mainWindow() : nullptr;
        return !main || ::GetWindowThreadProcessId(main, nullptr) == ::GetCurrentThreadId();
    }
    hnDialog* dialog_;
    std::unique_ptr<DPleaseWaitDlg> own_;
};

enum class RunEnd { NotStarted, Stopped, TimedOut, Ended };

// What a run without windows writes (standard output and error, in the order
// written) goes into a file of the temp folder, read back into the session
// log once the run is over: a file needs no reader that keeps up with pip.
class CapturedOutput {
public:
    CapturedOutput() {
        char folder[MAX_PATH] = {}, name[MAX_PATH] = {};
        DWORD length = ::GetTempPathA(MAX_PATH, folder);
        if (length == 0 || length >= MAX_PATH || !::GetTempFileNameA(folder, "pip", 0, name))
            return;
        SECURITY_ATTRIBUTES inherited = {sizeof(inherited), nullptr, TRUE};
        // The temp folder is the user's: the name is made afresh and never
        // opened as it stands, so a link put there meanwhile is removed as a
        // link and never written through. Gone with the last handle, also
        // when a program pip started holds one after pip ended.
        ::DeleteFileA(name);
        file_.reset(::CreateFileA(
            name, GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
            &inherited, CREATE_NEW,
            FILE_ATTRIBUTE_TEMPORARY | FILE_FLAG_DELETE_ON_CLOSE | FILE_FLAG_OPEN_REPARSE_POINT, nullptr));
        if (!file_)
            ::DeleteFileA(name);
    }
    ~CapturedOutput() = default;
    CapturedOutput(const CapturedOutput&) = delete;
    CapturedOutput& operator=(const CapturedOutput&) = delete;

    HANDLE handle() const { return file_.get(); }
    // Logs what was written so far, line by line, at most kLoggedBytes.
    void log(const std::string& commandLine) const {
        if (!file_)
            return;
        std::string text(kLoggedBytes, '\0');
        DWORD read = 0;
        OVERLAPPED start = {}; // from the beginning, whatever the run's position
        if (!::ReadFile(file_.get(), &text[0], kLoggedBytes, &read, &start))
            read = 0;
        text.resize(read);
        hnSessionLogF("Program", "%s wrote %lu bytes%s", commandLine.c_str(),
                      static_cast<unsigned long>(read),
                      read == kLoggedBytes ? " or more (the first ones follow)" : "");
        hnSessionLogLines("Program output", text);
    }

private:
    static constexpr DWORD kLoggedBytes = 64 * 1024;
    hnScopedHandle file_;
};

bool windowsHidden() {
    return hnAppBase::current() && hnAppBase::current()->windowsHidden();
}

// Starts `commandLine` in a console of its own, shown, and waits up to
// `limitMs` behind the dialog; a run still going at the limit is ended with
// exit code 0. A stop of the calling worker (`stop` may be null) starts
// nothing or ends the wait at once; pip then runs on by itself, as the
// programs of the other removal methods do.
RunEnd runInOwnConsole(const Interpreter& python, const char* routine, std::string commandLine, DWORD limitMs,
                       const RunDialog& dialog, const hnStopBlock* stop) {
    if (stop && stop->stopRequested())
        return RunEnd::Stopped;
    // Without windows (the command line's /quiet and /passive) pip runs in
    // a console nobody sees.
    bool hidden = windowsHidden();
    std::unique_ptr<CapturedOutput> captured(hidden ? new CapturedOutput() : nullptr);
    bool capturing = captured && captured->handle();
    STARTUPINFOA startup = {};
    startup.cb = sizeof(startup);
    startup.dwFlags = STARTF_USESHOWWINDOW;
    startup.wShowWindow = hidden ? SW_HIDE : SW_SHOW;
    if (capturing) {
        startup.dwFlags |= STARTF_USESTDHANDLES;
        startup.hStdInput = nullptr;
        startup.hStdOutput = captured->handle();
        startup.hStdError = captured->handle();
    }
    PROCESS_INFORMATION info = {};
    if (!::CreateProcessA(nullptr, &commandLine[0], nullptr, nullptr, capturing ? TRUE : FALSE,
                          hidden ? CREATE_NO_WINDOW : CREATE_NEW_CONSOLE, nullptr, nullptr, &startup,
                          &info)) {
        debugLine(python, routine, "Unable to start process");
        return RunEnd::NotStarted;
    }
    hnScopedHandle process(info.hProcess);
    hnScopedHandle thread(info.hThread);
    hnSessionLogF("Program", "started %s", commandLine.c_str());
    dialog.show();
    RunEnd end = RunEnd::TimedOut;
    switch (hnWaitOrStopKeepingPainted(stop, process.get(), limitMs)) {
    case hnStopBlock::Wait::Signalled:
        end = RunEnd::Ended;
        break;
    case hnStopBlock::Wait::Stopped:
        debugLine(python, routine, "Stop requested, pip left running");
        hnSessionLogF("Program", "%s no longer waited for: stop requested (left running)",
                      commandLine.c_str());
        if (capturing)
            captured->log(commandLine);
        return RunEnd::Stopped;
    case hnStopBlock::Wait::TimedOut:
        ::TerminateProcess(process.get(), 0);
        break;
    }
    DWORD exitCode = 0;
    ::GetExitCodeProcess(process.get(), &exitCode);
    hnSessionLogF("Program", "%s ended with exit code %lu%s", commandLine.c_str(), exitCode,
                  end == RunEnd::TimedOut ? " (ended at the time limit)" : "");
    if (capturing)
        captured->log(commandLine);
    return end;
}

// What pip answered before a change of its packages no longer holds.
void forgetPipAnswers() {
    if (hnPipAnswers* answers = pythonEnvironment().pipAnswers())
        answers->forget();
}

// The silent or visible pip run of an installation or removal.
bool runPipOperation(const Interpreter& python, const Operation& operation, bool visible,
                     const char* argument, hnDialog* callersDialog, const hnStopBlock* stop = nullptr) {
    const std::string messageStart = hnFormatText("Unable to %s the target module.\n", operation.verb);
    if (!argument) {
        debugLine(python, operation.silentRoutine, "NULL pointer 1");
        if (visible)
            errorMessage(messageStart + "Internal error 1.\nPlease try again");
        return false;
    }
    std::string folder, commandLine;
    if (!python.folder(folder)) {
        debugLine(python, operation.silentRoutine, python.folderReason);
        if (visible)
            errorMessage(messageStart +
                         hnFormatText("Unable to locate %s installation path.\nPlease check %s "
                                      "installation and try again.",
                                      python.pythonName, python.pythonName));
        return false;
    }
    if (!hnFormat(commandLine, kCommandCapacity, operation.command, folder.c_str(), argument)) {
        debugLine(python, operation.silentRoutine, "Command line too long");
        return false;
    }
    forgetPipAnswers();
    RunDialog dialog(python, callersDialog);
    // The console stays open whatever pip's exit code, so its errors can be
    // read; a run without windows captures pip instead.
    if (visible && !windowsHidden())
        return processCommandLineArgWithPause(commandLine.c_str(), dialog.get(), hnConsolePause::Always,
                                              stop);
    return runInOwnConsole(python, operation.silentRoutine, commandLine, operation.silentLimitMs, dialog,
                           stop) == RunEnd::Ended;
}

// "python.exe -m pip install --upgrade pip"; its outcome is not examined.
bool upgradePip(const Interpreter& python, const char* routine, hnDialog* callersDialog) {
    std::string folder, commandLine;
    if (!python.folder(folder)) {
        debugLine(python, routine, python.folderReason);
        return false;
    }
    if (!hnFormat(commandLine, kCommandCapacity, "\"%spython.exe\" -m pip install --upgrade pip",
                  folder.c_str()))
        return false;
    forgetPipAnswers();
    RunDialog dialog(python, callersDialog);
    RunEnd end = runInOwnConsole(python, routine, commandLine, python.upgradeLimitMs, dialog, nullptr);
    return end == RunEnd::Ended || end == RunEnd::TimedOut;
}

// The version line of pip's "show" output; see the header.
bool readInstalledVersion(const Interpreter& python, const char* routine, std::string* version,
                          const char* package, bool* found) {
    if (!package) {
        debugLine(python, routine, "NULL pointer 1");
        return false;
    }
    if (!found) {
        debugLine(python, routine, "NULL pointer 2");
        return false;
    }
    *found = false;
    if (version)
        version->clear();
    std::string folder, output;
    if (!python.folder(folder)) {
        debugLine(python, routine, python.folderReason);
        return false;
    }
    runPipShow(folder, package, output, nullptr);
    const std::string needle = "Version: ";
    std::size_t at = output.find(needle);
    if (at == std::string::npos)
        return true;
    std::size_t start = at + needle.size();
    std::size_t end = output.find('\r', start);
    if (end == std::string::npos)
        end = output.find('\n', start);
    if (end == std::string::npos) {
        // The version is the last thing pip printed: all of it belongs to it.
        debugLine(python, routine, "Unable to locate end of string");
        end = output.size();
    }
    if (end <= start) {
        debugLine(python, routine, "Invalid string length");
        return false;
    }
    if (version)
        *version = output.substr(start, end - start);
    *found = true;
    return true;
}

// The verification of an installation needs the package and the version;
// a missing one is shown as an internal error (true).
bool reportMissingCheckTexts(const char* package, const char* version) {
    if (!version) {
        errorMessage("Unable to install the target module.\nInternal error 2.\nPlease try again");
        return true;
    }
    if (!package) {
        errorMessage("Unable to install the target module.\nInternal error 3.\nPlease try again");
        return true;
    }
    return false;
}

bool stopped(const hnStopBlock* stop) {
    return stop && stop->stopRequested();
}

// pip still names `nameText` for `package` after a silent removal. The query
// ends at once on a stop (false: the caller repeats nothing then).
bool stillReported(const Interpreter& python, const char* package, const char* nameText,
                   hnDialog* callersDialog, const hnStopBlock* stop) {
    std::string folder, needle;
    if (!package || !python.folder(folder) || !hnFormat(needle, kCommandCapacity, "Name: %s", nameText))
        return false;
    RunDialog dialog(python, callersDialog);
    std::string output;
    runPipShow(folder, package, output, dialog.get(), stop);
    return !stopped(stop) && pipOutputMatches(output, needle.c_str(), nullptr);
}

// With `stopOnErrors` a removal that pip still reports is repeated in a
// visible console. A stop during any step reports failure, like a stopped
// silent run.
bool removeWithRepeat(const Interpreter& python, const Operation& operation, const char* package,
                      const char* nameText, bool stopOnErrors, hnDialog* dialog, const hnStopBlock* stop) {
    bool result = runPipOperation(python, operation, false, package, dialog, stop);
    if (!stopOnErrors || stopped(stop)) // a stopped removal asks and repeats nothing
        return result;
    if (!nameText) {
        errorMessage("Unable to un-install the target module.\nInternal error 2.\nPlease try again");
        return false;
    }
    if (stillReported(python, package, nameText, dialog, stop))
        result = runPipOperation(python, operation, true, package, dialog, stop);
    return result && !stopped(stop);
}

} // namespace

// ---- Python 2.7

bool hnPyhton27InstallFunctions::checkPy27ModuleWhlInstalledVersion(std::string* version, const char* package,
                                                                    bool* found) {
    return readInstalledVersion(kPython27, "checkPy27ModuleWhlInstalledVersion", version, package, found);
}

bool hnPyhton27InstallFunctions::internalInstallPy27ModuleWhl(bool visible, const char* wheelPath) {
    return runPipOperation(kPython27, kInstall27, visible, wheelPath, nullptr);
}

bool hnPyhton27InstallFunctions::installPy27ModuleWhl(const char* excluded, const char* wheelPath,
                                                      const char* package, const char* version,
                                                      bool stopOnErrors) {
    bool result = internalInstallPy27ModuleWhl(false, wheelPath);
    if (!stopOnErrors)
        return result;
    if (reportMissingCheckTexts(package, version))
        return false;
    if (hnCheckInstallations::checkPy27ModuleWhlExactVersionInstallation(package, excluded, version))
        return result;
    return internalInstallPy27ModuleWhl(true, wheelPath);
}

bool hnPyhton27InstallFunctions::installPy27ModuleWhlWithPipUpgrade(const char* excluded,
                                                                    const char* wheelPath,
                                                                    const char* package, const char* version,
                                                                    bool stopOnErrors) {
    if (!wheelPath) {
        debugLine(kPython27, "installPy27ModuleWhlWithPipUpgrade", "NULL pointer 1");
        return false;
    }
    if (!upgradePip(kPython27, "installPy27ModuleWhlWithPipUpgrade", nullptr))
        return false;
    return installPy27ModuleWhl(excluded, wheelPath, package, version, stopOnErrors);
}

bool hnPyhton27InstallFunctions::internalUninstallPy27ModuleWhl(bool visible, const char* package,
                                                                const hnStopBlock* stop) {
    return runPipOperation(kPython27, kRemove27, visible, package, nullptr, stop);
}

bool hnPyhton27InstallFunctions::uninstallPy27ModuleWhl(const char* package, const char* nameText,
                                                        bool stopOnErrors, const hnStopBlock* stop) {
    // The Python 2.7 check looks for the package's own name.
    return removeWithRepeat(kPython27, kRemove27, package, nameText ? package : nullptr, stopOnErrors,
                            nullptr, stop);
}

// ---- Python 3.6

bool hnPyhton36InstallFunctions::checkPy36ModuleWhlInstalledVersion(std::string* version, const char* package,
                                                                    bool* found) {
    return readInstalledVersion(kPython36, "checkPy36ModuleWhlInstalledVersion", version, package, found);
}

bool hnPyhton36InstallFunctions::internalInstallPy36ModuleWhl(bool visible, const char* wheelPath,
                                                              hnDialog* dialog) {
    return runPipOperation(kPython36, kInstall36, visible, wheelPath, dialog);
}

bool hnPyhton36InstallFunctions::installPy36ModuleWhl(const char* excluded, hnDialog* dialog,
                                                      const char* wheelPath, const char* package,
                                                      const char* version, bool stopOnErrors) {
    bool result = internalInstallPy36ModuleWhl(false, wheelPath, dialog);
    if (!stopOnErrors)
        return result;
    if (reportMissingCheckTexts(package, version))
        return false;
    if (checkPy36ModuleWhlExactVersionInstallation(dialog, package, excluded, version))
        return result;
    return internalInstallPy36ModuleWhl(true, wheelPath, dialog);
}

bool hnPyhton36InstallFunctions::installPy36ModuleWhlWithPipUpgrade(const char* excluded, hnDialog* dialog,
                                                                    const char* wheelPath,
                                                                    const char* package, const char* version,
                                                                    bool stopOnErrors) {
    if (!wheelPath) {
        debugLine(kPython36, "installPy36ModuleWhlWithPipUpgrade", "NULL pointer 1");
        return false;
    }
    if (!upgradePip(kPython36, "installPy36ModuleWhlWithPipUpgrade", dialog))
        return false;
    return installPy36ModuleWhl(excluded, dialog, wheelPath, package, version, stopOnErrors);
}

bool hnPyhton36InstallFunctions::internalUninstallPy36ModuleWhl(bool visible, const char* package,
                                                                hnDialog* dialog, const hnStopBlock* stop) {
    return runPipOperation(kPython36, kRemove36, visible, package, dialog, stop);
}

bool hnPyhton36InstallFunctions::uninstallPy36ModuleWhl(const char* package, hnDialog* dialog,
                                                        const char* nameText, bool stopOnErrors,
                                                        const hnStopBlock* stop) {
    return removeWithRepeat(kPython36, kRemove36, package, nameText, stopOnErrors, dialog, stop);
}

bool hnPyhton36InstallFunctions::uninstallPy36Pyserial(bool stopOnErrors, hnDialog* dialog,
                                                       const hnStopBlock* stop) {
    bool legacy = uninstallLegacyPy36Pyserial(stop);
    bool wheel = uninstallPy36ModuleWhl("pyserial", dialog, "pyserial", stopOnErrors, stop);
    return legacy && wheel;
}

bool hnPyhton36InstallFunctions::uninstallPy36Scipy(bool stopOnErrors, hnDialog* dialog) {
    return uninstallPy36ModuleWhl("scipy", dialog, "scipy", stopOnErrors);
}

bool hnPyhton36InstallFunctions::uninstallPy36Numpy(bool stopOnErrors, hnDialog* dialog) {
    return uninstallPy36ModuleWhl("numpy", dialog, "numpy", stopOnErrors);
}

bool hnPyhton36InstallFunctions::uninstallPy36OpenCV(bool stopOnErrors, hnDialog* dialog,
                                                     const hnStopBlock* stop) {
    bool contrib =
        uninstallPy36ModuleWhl("opencv-contrib-python", dialog, "opencv-contrib-python", stopOnErrors, stop);
    bool plain = uninstallPy36ModuleWhl("opencv-python", dialog, "opencv-python", stopOnErrors, stop);
    return contrib && plain;
}
