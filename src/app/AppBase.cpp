#include "app/AppBase.h"

#include <cstdarg>
#include <string>

#include "app/DebugOut.h"
#include "app/Text.h"

namespace {
hnAppBase* g_currentApp = nullptr; // the application object itself, nothing else
}

hnAppBase::hnAppBase() : instance_(::GetModuleHandleA(nullptr)), prompter_(&windowPrompter_) {
    if (g_currentApp == nullptr)
        g_currentApp = this;
}

hnAppBase::~hnAppBase() {
    if (g_currentApp == this)
        g_currentApp = nullptr;
}

hnAppBase* hnAppBase::current() {
    return g_currentApp;
}

int hnAppBase::run(HINSTANCE instance) {
    instance_ = instance;
    bool keepRunning = false;
    try {
        keepRunning = InitInstance();
    } catch (...) {
        hnDebugOut("hnAppBase::run - unexpected exception in the start-up hook\n");
    }
    if (keepRunning) {
        MSG msg;
        while (::GetMessageA(&msg, nullptr, 0, 0) > 0) {
            ::TranslateMessage(&msg);
            ::DispatchMessageA(&msg);
        }
    }
    return ExitInstance();
}

hnPrompter* hnAppBase::setPrompter(hnPrompter* prompter) {
    hnPrompter* previous = prompter_ == &windowPrompter_ ? nullptr : prompter_;
    prompter_ = prompter ? prompter : &windowPrompter_;
    return previous;
}

hnAppBase::DebugSink hnAppBase::setDebugSink(DebugSink sink) {
    std::lock_guard<std::mutex> lock(debugMutex_);
    std::swap(sink, debugSink_);
    return sink;
}

void hnAppBase::writeDebug(const char* line) {
    {
        std::lock_guard<std::mutex> lock(debugMutex_);
        if (debugSink_)
            debugSink_(line);
        else
            ::OutputDebugStringA(line);
    }
    std::string text(line ? line : "");
    while (!text.empty() && (text.back() == '\n' || text.back() == '\r'))
        text.pop_back();
    sessionLog_.write("Debug", text);
}

namespace {
// A message box's answer as its button's name.
std::string answerName(INT_PTR answer) {
    static const struct {
        INT_PTR id;
        const char* name;
    } kNames[] = {{IDOK, "OK"},         {IDCANCEL, "Cancel"}, {IDABORT, "Abort"}, {IDRETRY, "Retry"},
                  {IDIGNORE, "Ignore"}, {IDYES, "Yes"},       {IDNO, "No"}};
    for (const auto& name : kNames)
        if (name.id == answer)
            return hnFormatText("%s (%d)", name.name, static_cast<int>(answer));
    return hnFormatText("%d", static_cast<int>(answer));
}
} // namespace

INT_PTR hnLoggedPrompter::respond(const hnPrompt& prompt) {
    const char* text = prompt.text ? prompt.text : "";
    const char* caption = prompt.caption ? prompt.caption : "";
    if (prompt.isQuestion())
        app_.sessionLog().write("Question", hnFormatText("[dialog %d] %s", prompt.dialogId, text));
    else
        app_.sessionLog().write("Message", hnFormatText("[%s] %s", caption, text));
    INT_PTR answer = app_.innerPrompter().respond(prompt);
    // A question's answer is the dialog's own result, not necessarily a button id.
    app_.sessionLog().write("Answer", prompt.isQuestion() ? hnFormatText("%d", static_cast<int>(answer))
                                                          : answerName(answer));
    return answer;
}

void hnDebugOut(const char* line) {
    if (hnAppBase* app = hnAppBase::current())
        app->writeDebug(line);
    else
        ::OutputDebugStringA(line);
}

void hnDebugOutF(const char* format, ...) {
    va_list args;
    va_start(args, format);
    std::string line = hnFormatTextV(format, args);
    va_end(args);
    hnDebugOut(line.c_str());
}

HWND appMainWindow() {
    hnAppBase* app = hnAppBase::current();
    return app ? app->mainWindow() : nullptr;
}
