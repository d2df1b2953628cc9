// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// What the large view holds: the source entry picked, the picture awaited for it and whether
// that entry's picture is on the screen. Every change of the large view goes through here, so
// that a picture read late is shown only while the pick still waits for it, and no picture is
// ever shown under another entry's name.

#include <optional>
#include <string>

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

}  // namespace pictaria
