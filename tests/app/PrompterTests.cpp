// The one prompter interface: message boxes and questions reach the one call
// every prompter answers, through the application's log.
#include <gtest/gtest.h>

#include "app/AppBase.h"
#include "app/Prompter.h"
#include "support/TestSupport.h"

TEST(Prompter, BothKindsReachTheOneCallAndTheSessionLogWithTheirAnswers) {
    std::size_t mark = sessionLogMark();
    {
        ScriptedPrompter script;
        script.answer(IDNO);
        script.answer(42);
        hnPrompter& prompter = hnAppBase::current()->prompter();
        EXPECT_EQ(IDNO, prompter.messageBox(nullptr, "Remove it? (prompter case)", "Caption", MB_YESNO));
        bool shown = false;
        EXPECT_EQ(42, prompter.question(4711, nullptr, "Which one? (prompter case)", [&](HWND) -> INT_PTR {
            shown = true;
            return 1;
        }));
        EXPECT_FALSE(shown); // the script answers in the dialog's place
        ASSERT_EQ(2u, script.records.size());
        EXPECT_EQ("Caption", script.records[0].caption);
        EXPECT_EQ(static_cast<UINT>(MB_YESNO), script.records[0].type);
        EXPECT_EQ(0, script.records[0].dialogId);
        EXPECT_EQ(4711, script.records[1].dialogId);
        EXPECT_EQ("", script.records[1].caption);
    }
    std::string asked = sessionLogLinesSince(mark, "Message") + sessionLogLinesSince(mark, "Question");
    EXPECT_NE(std::string::npos, asked.find("[Caption] Remove it? (prompter case)")) << asked;
    EXPECT_NE(std::string::npos, asked.find("[dialog 4711] Which one? (prompter case)")) << asked;
    std::string answers = sessionLogLinesSince(mark, "Answer");
    EXPECT_NE(std::string::npos, answers.find("No (7)")) << answers;
    EXPECT_NE(std::string::npos, answers.find(": 42")) << answers;

    // The wizard's prompter runs a question's own dialog.
    hnWindowPrompter windows;
    EXPECT_EQ(5, windows.question(1, nullptr, "shown", [](HWND) -> INT_PTR { return 5; }));
}

// Whoever declines a box answers with a button the box has.
TEST(Prompter, TheRefusingAnswerIsAButtonOfTheBox) {
    const struct {
        UINT type;
        int answer;
    } boxes[] = {{MB_OK, IDOK},
                 {MB_YESNO | MB_ICONQUESTION, IDNO},
                 {MB_YESNOCANCEL, IDCANCEL},
                 {MB_OKCANCEL, IDCANCEL},
                 {MB_RETRYCANCEL, IDCANCEL},
                 {MB_CANCELTRYCONTINUE, IDCANCEL},
                 {MB_ABORTRETRYIGNORE, IDABORT}};
    for (const auto& box : boxes)
        EXPECT_EQ(box.answer, hnRefusingAnswer(box.type)) << box.type;
}
