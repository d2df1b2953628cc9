// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <string>

#include "fileops/UndoHistory.h"

namespace pictaria {
namespace {

using Way = UndoHistory::Way;

UndoStep stepOf(UndoKind kind, std::initializer_list<const char*> files, bool redo = false) {
    UndoStep step{kind, "C:\\", {}, redo};
    for (const char* file : files) {
        UndoRecord record;
        record.now = file;
        step.records.push_back(record);
    }
    return step;
}

// What each side offers next: its kind and its number of files, or "-" when it offers none.
std::string nextOf(const UndoHistory& history, Way way) {
    const UndoStep* next = history.next(way);
    return next ? undoHint(*next) : "-";
}

TEST(UndoHistory, StepsGoFromOneSideToTheOtherAndANewCommandEndsWhatCouldBeRedone) {
    UndoHistory history;
    history.remember(stepOf(UndoKind::Copy, {"a", "b", "c"}));
    history.remember(stepOf(UndoKind::Move, {"d"}));
    history.remember(stepOf(UndoKind::Delete, {}));  // changed nothing: not kept
    ASSERT_EQ(nextOf(history, Way::Undo), "移動 1 枚を元に戻す");

    EXPECT_EQ(history.take(Way::Undo).kind, UndoKind::Move);
    history.ran(Way::Undo, {}, stepOf(UndoKind::Move, {"d"}, true));
    ASSERT_EQ(nextOf(history, Way::Undo), "コピー 3 枚を元に戻す");
    EXPECT_EQ(nextOf(history, Way::Redo), "移動 1 枚をやり直す");

    // Stopped after one file: the files left undone are next to take back, the one done is next
    // to redo.
    EXPECT_EQ(history.take(Way::Undo).records.size(), 3u);
    history.ran(Way::Undo, stepOf(UndoKind::Copy, {"b", "c"}), stepOf(UndoKind::Copy, {"a"}, true));
    EXPECT_EQ(nextOf(history, Way::Undo), "コピー 2 枚を元に戻す");
    ASSERT_EQ(nextOf(history, Way::Redo), "コピー 1 枚をやり直す");

    // Redone completely: nothing left undone stays, and it can be taken back again.
    EXPECT_TRUE(history.take(Way::Redo).redo);
    history.ran(Way::Redo, stepOf(UndoKind::Copy, {}, true), stepOf(UndoKind::Copy, {"a"}));
    EXPECT_EQ(nextOf(history, Way::Undo), "コピー 1 枚を元に戻す");
    EXPECT_EQ(nextOf(history, Way::Redo), "移動 1 枚をやり直す");

    history.remember(stepOf(UndoKind::NewFolder, {}));  // nothing changed: the redo stays
    EXPECT_EQ(nextOf(history, Way::Redo), "移動 1 枚をやり直す");
    history.remember(stepOf(UndoKind::AttachText, {"e"}));
    EXPECT_EQ(nextOf(history, Way::Redo), "-");
    EXPECT_EQ(nextOf(history, Way::Undo), "文字の添付 1 枚を元に戻す");
}

}  // namespace
}  // namespace pictaria
