#pragma once
// /apply: brings this PC to a component set through the wizard's own pages.
// The sheet and its pages are created hidden and driven by the handlers
// their buttons and combos call, page by page in the wizard's order: the
// pages' tables are the only list of components and their handlers the
// only way to install one.
#include <string>

#include "main/ComponentSetFile.h"
#include "main/ExitCodes.h"

class hnUnattendedPrompter;
class CPassiveProgress;

struct hnApplyOptions {
    bool exact = false;                   // remove optional rows and members the set does not name
    CPassiveProgress* progress = nullptr; // /passive: shows each step; its Cancel ends the run (1602)
};

// Applies a set that passed the file and name checks. Fills `outcome`; a
// failed component ends the run at once with the log naming the component,
// its address and the step. Stops as soon as the prompter ended the run.
// Whatever happened, the log ends with the set as detected afterwards.
void hnApplyComponentSet(const CComponentSet& set, const hnApplyOptions& options, hnRunOutcome& outcome,
                         const hnUnattendedPrompter& prompter);
