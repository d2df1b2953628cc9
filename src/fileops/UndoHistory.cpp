// SPDX-License-Identifier: GPL-3.0-or-later
#include "fileops/UndoHistory.h"

#include <utility>

namespace pictaria {

namespace {

void keep(std::vector<UndoStep>& steps, UndoStep step) {
    if (!step.records.empty()) {
        steps.push_back(std::move(step));
    }
}

UndoHistory::Way other(UndoHistory::Way way) {
    return way == UndoHistory::Way::Undo ? UndoHistory::Way::Redo : UndoHistory::Way::Undo;
}

// The records of `steps` that name what `made` replaced name `made` from now on.
void handOn(std::vector<UndoStep>& steps, const UndoRecord& made) {
    for (UndoStep& step : steps) {
        for (UndoRecord& record : step.records) {
            if (record.now == made.now &&
                sameAsNoted(record.stamp, made.replaced, step.isFolderCommand())) {
                record.stamp = made.stamp;
            }
        }
    }
}

}  // namespace

void UndoHistory::remember(UndoStep step) {
    if (!step.records.empty()) {
        redo_.clear();
    }
    keep(undo_, std::move(step));
}

const UndoStep* UndoHistory::next(Way way) const {
    const std::vector<UndoStep>& from = steps(way);
    return from.empty() ? nullptr : &from.back();
}

UndoStep UndoHistory::take(Way way) {
    std::vector<UndoStep>& from = steps(way);
    UndoStep step = std::move(from.back());
    from.pop_back();
    return step;
}

void UndoHistory::ran(Way way, UndoStep leftUndone, UndoStep reversed) {
    for (UndoRecord& made : reversed.records) {
        if (made.replaced.inode != 0) {
            handOn(undo_, made);
            handOn(redo_, made);
            made.replaced = {};
        }
    }
    keep(steps(way), std::move(leftUndone));
    keep(steps(other(way)), std::move(reversed));
}

std::vector<UndoStep>& UndoHistory::steps(Way way) {
    return way == Way::Undo ? undo_ : redo_;
}

const std::vector<UndoStep>& UndoHistory::steps(Way way) const {
    return way == Way::Undo ? undo_ : redo_;
}

}  // namespace pictaria
