#pragma once
// Stand-ins for the browser and for the viewers of ".pdf" and ".png" files:
// while this lives, the shell's "open" of an http or https address or of
// such a file starts the recorder tool, which appends its command line to
// `record`. The earlier associations come back at the end.
#include <string>
#include <vector>

#include "support/TestSupport.h"

class RecordingShell {
public:
    // `record` empty: a record file of its own.
    explicit RecordingShell(const std::string& record = "");
    ~RecordingShell();
    RecordingShell(const RecordingShell&) = delete;
    RecordingShell& operator=(const RecordingShell&) = delete;

    // The recorded command lines so far (waits up to `timeoutMs` for at least
    // `count` of them).
    std::vector<std::string> lines(std::size_t count = 0, unsigned timeoutMs = 10000) const;

    std::string record;

private:
    struct Saved {
        std::string key;
        bool existed;
        std::string value;
    };
    void set(const std::string& key, const std::string& value);

    ScratchFolder scratch_;
    std::vector<Saved> saved_;
};
