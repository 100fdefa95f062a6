#pragma once
// The question an install manager asks before repairing rows that read a
// repair word; whoever answers questions by their text compares with it.
extern const char* const kRepairQuestion;
