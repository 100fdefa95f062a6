#pragma once
// The application framework: one application object per process, reached
// through hnAppBase::current(). It owns the seams that make the program
// testable (prompter, debug sink) and runs the start-up and exit hooks.
#include <functional>
#include <mutex>
#include <string>
#include <windows.h>

#include "app/Prompter.h"

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
    void setMainWindow(HWND hwnd) { mainWindow_ = hwnd; }

    hnPrompter& prompter() { return *prompter_; }
    // Returns the previous prompter; null restores the window prompter.
    hnPrompter* setPrompter(hnPrompter* prompter);

    using DebugSink = std::function<void(const char*)>;
    // Returns the previous sink; an empty sink writes to the debug output.
    DebugSink setDebugSink(DebugSink sink);
    void writeDebug(const char* line);

protected:
    int exitCode_ = 0;

private:
    HINSTANCE instance_;
    HWND mainWindow_ = nullptr;
    hnWindowPrompter windowPrompter_;
    hnPrompter* prompter_;
    std::mutex debugMutex_;
    DebugSink debugSink_;
};

// The main window of the process's application object, or null.
HWND appMainWindow();
