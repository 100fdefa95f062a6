#pragma once
// The one window of the command line's /passive: the component being
// brought now, the run's overall bar and Cancel. Cancel ends the run after
// the step that runs (exit code 1602); nothing is stopped half-way.
#include <string>
#include <windows.h>

class CPassiveProgress {
public:
    CPassiveProgress();
    ~CPassiveProgress();
    CPassiveProgress(const CPassiveProgress&) = delete;
    CPassiveProgress& operator=(const CPassiveProgress&) = delete;

    // Creates and shows the window; false when it cannot be made.
    bool create(const char* caption);
    // Shows the component and moves the bar to done of total.
    void show(const std::string& component, int done, int total);
    bool cancelled() const { return cancelled_; }
    HWND hwnd() const { return hwnd_; }
    // The current component's text, as the window shows it.
    const std::string& componentText() const { return component_; }

private:
    static LRESULT CALLBACK windowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

    HWND hwnd_ = nullptr;
    HWND label_ = nullptr;
    HWND bar_ = nullptr;
    bool cancelled_ = false;
    std::string component_;
};
