#include "main/UnattendedPrompter.h"

#include <cstring>

#include "app/SessionLog.h"
#include "install/RepairQuestion.h"
#include "download_ids.h"

namespace {

// The Yes/No questions answered Yes, by the text they begin with (the repair
// question by its whole text).
struct YesRow {
    const char* begins;
    const char* what; // for the reader of this table
};
const char* repairQuestion() {
    return kRepairQuestion;
}
const YesRow kYesQuestions[] = {
    {nullptr, "the repair question"}, // kRepairQuestion, whole text
    {"Only one of the ", "a version selector's switch"},
    {"Only one Python 2.7 version can be installed on a computer.", "the Python 2.7 release switch"},
    {"You have selected to switch to ", "the Python interpreter switch"},
};

bool begins(const char* text, const char* prefix) {
    return text && prefix && std::strncmp(text, prefix, std::strlen(prefix)) == 0;
}

bool isYesQuestion(const char* text) {
    if (!text)
        return false;
    for (const YesRow& row : kYesQuestions) {
        if (row.begins ? begins(text, row.begins) : std::strcmp(text, repairQuestion()) == 0)
            return true;
    }
    return false;
}

} // namespace

void hnUnattendedPrompter::end(const char* text) {
    outcome_.failed = true;
    if (!ended_)
        endingText_ = text ? text : "";
    ended_ = true;
    hnSessionLogF("Unattended", "no answer for \"%s\": the run ends with %d", text ? text : "",
                  exitcode::kFailed);
}

INT_PTR hnUnattendedPrompter::respond(const hnPrompt& prompt) {
    const char* text = prompt.text;
    if (!prompt.isQuestion()) {
        if ((prompt.type & MB_TYPEMASK) == MB_YESNO && isYesQuestion(text))
            return IDYES;
        end(text);
        return hnRefusingAnswer(prompt.type);
    }
    // The download error's choice: Abort (0), which fails the run.
    if (prompt.dialogId == IDD_DOWNLOAD_ERROR_OPTION) {
        outcome_.failed = true;
        hnSessionLogF("Unattended", "download failed, answered Abort: \"%s\"", text ? text : "");
        return 0;
    }
    end(text);
    return 0;
}
