#pragma once
// Every debug line of the program goes through here: "Routine - reason\n".
// Production writes to the platform's debug output; tests capture the lines.
void hnDebugOut(const char* line);
void hnDebugOutF(const char* format, ...) __attribute__((format(gnu_printf, 1, 2)));
