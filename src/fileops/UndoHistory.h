// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The commands that can be taken back, and those taken back that can be done again, the last
// one last; kept for the run only. A new command ends what can be done again: the files it
// would act on may be the new command's.

#include <vector>

#include "fileops/UndoStep.h"

namespace pictaria {

class UndoHistory {
  public:
    enum class Way { Undo, Redo };

    // A command that changed something; a step without records is not kept.
    void remember(UndoStep step);

    // The step that `way` runs next, for its hint; null when there is none.
    const UndoStep* next(Way way) const;
    // Takes the next step of `way` out, to run it; there must be one.
    UndoStep take(Way way);
    // A step taken for `way` has run: what it left undone (stopped, or skipped as changed since)
    // can be run the same way again, and what it did can be reversed the other way. What it made
    // afresh (a folder made again, a copy made anew) is another file to the system: the steps
    // that named the one it replaces name the new one.
    void ran(Way way, UndoStep leftUndone, UndoStep reversed);

  private:
    std::vector<UndoStep>& steps(Way way);
    const std::vector<UndoStep>& steps(Way way) const;

    std::vector<UndoStep> undo_;
    std::vector<UndoStep> redo_;
};

}  // namespace pictaria
