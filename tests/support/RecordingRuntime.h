#pragma once
// The runtime's registry key pointing at a folder whose "Orvanto.exe" is the
// recorder tool: a program started as the runtime (a demo profile's "Run")
// appends its command line to `record`. The process environment names the
// record file, so programs started from this process (the installer, and
// through the desktop shell the runtime program) inherit it. The key's
// earlier value comes back at the end.
#include <string>

#include "support/TestSupport.h"

class RecordingRuntime {
public:
    RecordingRuntime();
    ~RecordingRuntime();
    RecordingRuntime(const RecordingRuntime&) = delete;
    RecordingRuntime& operator=(const RecordingRuntime&) = delete;

    // Sets the key's "InstallPath" (an empty text: a key without a folder).
    void write(const std::string& installPath);

    std::string record;

private:
    ScratchFolder scratch_;
    bool hadValue_ = false;
    std::string previous_;
};
