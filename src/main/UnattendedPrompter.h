#pragma once
// The prompter of the unattended mode: nobody is at the screen, so it answers
// only the questions of its table. Any other question or message ends the
// run: it answers with the refusing button, marks the run failed (1603) and
// writes the text to the session log.
#include <string>

#include "app/Prompter.h"
#include "main/ExitCodes.h"

class hnUnattendedPrompter final : public hnPrompter {
public:
    explicit hnUnattendedPrompter(hnRunOutcome& outcome) : outcome_(outcome) {}

    INT_PTR respond(const hnPrompt& prompt) override;

    // True once a question or message outside the table came: the run must
    // stop at the next step.
    bool ended() const { return ended_; }
    const std::string& endingText() const { return endingText_; }

private:
    void end(const char* text);

    hnRunOutcome& outcome_;
    bool ended_ = false;
    std::string endingText_;
};
