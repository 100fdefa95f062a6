#pragma once
// Loading a rich-text document from a file into a rich-edit control: the one
// routine behind the readme, the help window, the new-version notes and the
// toolbox information dialog.
#include <string>
#include <windows.h>

// Documents come from the server; a larger file is not streamed at all.
constexpr unsigned long long kRichTextFileCap = 16ull * 1024 * 1024;
// The text limit set before streaming: a file within the cap never holds more
// characters than bytes. The control's default (32,767) would cut long text.
constexpr LPARAM kRichTextLimit = static_cast<LPARAM>(kRichTextFileCap);

extern const char* const kRichTextTooLargeText;   // "The document is too large to be shown."
extern const char* const kRichTextUnreadableText; // "The document could not be shown."

enum class hnRichTextLoad {
    Shown,      // the control holds what it read (even if it reported an error at the end)
    Missing,    // the file does not open; the control is left as it was
    TooLarge,   // over the cap: not streamed, the control says so
    Unreadable, // nothing could be read: the control says so
};

hnRichTextLoad loadRichTextFile(HWND richEdit, const std::string& path);
