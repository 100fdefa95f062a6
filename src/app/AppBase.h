#pragma once
// The application framework: one application object per process, reached
// through hnAppBase::current(). It owns the seams that make the program
// testable (prompter, debug sink) and runs the start-up and exit hooks.
#include <functional>
#include <mutex>
#include <string>
#include <windows.h>

#include "app/InstalledProducts.h"
#include "app/Prompter.h"
#include "app/SessionLog.h"

class hnAppBase;

// What the application's prompter() hands out: passes every message box and
// question on to the prompter in place and writes it, with the answer, to
// the session log.
class hnLoggedPrompter final : public hnPrompter {
public:
    explicit hnLoggedPrompter(hnAppBase& app) : app_(app) {}
    INT_PTR respond(const hnPrompt& prompt) override;

private:
    hnAppBase& app_;
};

class hnAppBase {
public:
    hnAppBase();
    virtual ~hnAppBase();
    hnAppBase(const hnAppBase&) = delete;
    hnAppBase& operator=(const hnAppBase&) = delete;

    // The first application object constructed in the process.
    static hnAppBase* current();

    // Start-up hook: true keeps the process in a message loop until
    // WM_QUIT; false goes straight to the exit hook.
    virtual bool InitInstance() { return false; }
    virtual int ExitInstance() { return exitCode_; }

    // Entry from WinMain.
    int run(HINSTANCE instance);

    HINSTANCE instance() const { return instance_; }
    HWND mainWindow() const { return mainWindow_; }
    // True while no window of the program may appear (the command line's
    // /quiet): the dialogs keep themselves hidden.
    bool windowsHidden() const { return windowsHidden_; }
    void setWindowsHidden(bool hidden) { windowsHidden_ = hidden; }
    // A documents folder to use instead of the user's (the command line's
    // /documents); empty for the user's own.
    const std::string& documentsFolderOverride() const { return documentsFolderOverride_; }
    void setDocumentsFolderOverride(const std::string& folder) { documentsFolderOverride_ = folder; }
    void setMainWindow(HWND hwnd) { mainWindow_ = hwnd; }

    // Every message box and question goes through here (and into the log).
    hnPrompter& prompter() { return loggedPrompter_; }
    // The prompter in place: the window prompter or a test's script.
    hnPrompter& innerPrompter() { return *prompter_; }
    // Returns the previous prompter; null restores the window prompter.
    hnPrompter* setPrompter(hnPrompter* prompter);

    using DebugSink = std::function<void(const char*)>;
    // Returns the previous sink; an empty sink writes to the debug output.
    DebugSink setDebugSink(DebugSink sink);
    // Goes to the sink and to the session log.
    void writeDebug(const char* line);

    // The log of this session; closed until the application opens it.
    hnSessionLog& sessionLog() { return sessionLog_; }

    // The machine's Windows Installer products, kept for the whole process.
    hnInstalledProducts& installedProducts() { return installedProducts_; }

protected:
    int exitCode_ = 0;

private:
    HINSTANCE instance_;
    HWND mainWindow_ = nullptr;
    bool windowsHidden_ = false;
    std::string documentsFolderOverride_;
    hnWindowPrompter windowPrompter_;
    hnPrompter* prompter_;
    hnLoggedPrompter loggedPrompter_{*this};
    hnSessionLog sessionLog_;
    hnInstalledProducts installedProducts_;
    std::mutex debugMutex_;
    DebugSink debugSink_;
};

// The main window of the process's application object, or null.
HWND appMainWindow();
