#pragma once
// Multi-line texts in the session log: another program's output, a set.
#include <string>

// One entry of that kind per line of `text` (LF or CR LF; nothing after a
// final line break).
void hnSessionLogLines(const char* kind, const std::string& text);
