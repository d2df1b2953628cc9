// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// What the large view holds: the source entry picked, the picture awaited for it and whether
// that entry's picture is on the screen. Every change of the large view goes through here, so
// that a picture read late is shown only while the pick still waits for it, and no picture is
// ever shown under another entry's name.

#include <optional>
#include <string>
#include <vector>

#include "viewer/PictureDisplay.h"

class QListWidgetItem;

namespace pictaria {

class SourcePick {
  public:
    // A list entry, known by its identity: rows shift as entries leave, and names repeat across
    // folders. Only compared, never followed.
    using Entry = const QListWidgetItem*;

    enum class View {
        Empty,    // no picture (nothing picked yet, a file that cannot be shown, an entry gone)
        Waiting,  // the pick's picture is being read; the view is empty meanwhile
        Shown,    // the pixels of the pick's file
        Kept,     // an earlier pick's picture, kept after its list was replaced by another folder's
    };

    // A new pick of `entry`, whose file is `path`. Nothing of it is shown yet, and a picture
    // awaited for an earlier pick is no longer wanted.
    void pick(Entry entry, std::string path);
    // The pick's picture is being read; it is shown when `request` is ready.
    void await(PictureRequest request);
    // True when a picture ready for `request` is what the pick waits for; the wait then ends and
    // the caller shows it.
    bool arrived(const PictureRequest& request);
    // The pick's picture is on the screen.
    void shown();
    // The view shows nothing: the pick's file is of no displayable kind, failed to load or is gone.
    void emptied();

    // The entry left the list. True when it was the pick: nothing is picked any more, and the
    // caller empties the view.
    bool left(Entry entry);
    // The pick's file took another name.
    void renamed(std::string path);
    // Every entry left the list for another folder's: the view keeps its picture, which no entry
    // of the new list owns.
    void listReplaced();

    Entry entry() const { return entry_; }
    const std::string& path() const { return path_; }
    View view() const { return view_; }
    const std::optional<PictureRequest>& awaited() const { return awaited_; }

  private:
    Entry entry_ = nullptr;
    std::string path_;
    View view_ = View::Empty;
    std::optional<PictureRequest> awaited_;
};

// The way the user travels the list after a pick moved from row `from` to row `to`: +1 down,
// -1 up. A key move tells it; a jump of the mouse or of the program keeps the way as it was (a
// click on an earlier entry does not turn the read-ahead back), unless it lands next to the
// last pick.
int travelAfter(int direction, int from, int to, bool byKey);

// The rows whose pictures are wanted around a pick of row `picked` in a list of `count` rows,
// most wanted first: the pick's own, then the next ones in the way of travel; fitted, also the
// one behind, the picture just left, so that a step on never reads it again. At actual size
// (large pictures) only the pick and the next one. Rows outside the list are left out.
std::vector<int> rowsWantedAround(int picked, int direction, bool fitted, int count);

}  // namespace pictaria
