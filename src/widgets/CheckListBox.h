// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A list of file names, each with a tick box; one item at a time can be selected. Names are
// byte strings: each item keeps its bytes and shows them as (possibly lossy) UTF-8 text.
//
// The mouse is handled here rather than by the item view, so that the selected item is always
// the one the user last picked: a left press on an item picks it (raising `clicked`) and a
// press on its tick box turns the tick over once, at the release on the same item; moving the
// pointer with a button held never moves the selection (the main window ticks entries with that
// gesture); a right or middle press and a press below the items change nothing. A keyboard move
// of the selection is a pick too, raising `keyPicked` (a window may show only the last of a run
// of them). Selecting an item from code raises nothing.
// `pointerMoved` reports every pointer movement over the list, with the buttons held.

#include <QListWidget>

#include <optional>
#include <string>
#include <vector>

namespace pictaria {

class ItemHeightDelegate;

class CheckListBox : public QListWidget {
    Q_OBJECT

  public:
    explicit CheckListBox(QWidget* parent = nullptr);

    int itemHeight() const;
    void setItemHeight(int height);

    void addName(const std::string& name);
    void insertName(int index, const std::string& name);  // unticked, before entry `index`
    void addNames(const std::vector<std::string>& names);
    void removeAt(int index);
    std::string name(int index) const;
    void setName(int index, const std::string& name);

    bool checked(int index) const;
    // Changes the tick, unless it is locked.
    void setChecked(int index, bool checked);
    // A locked tick keeps its state whoever asks, and is drawn greyed: its entry is being worked
    // on, and a change would not be what happens to its file.
    void setTickLocked(QListWidgetItem* item, bool locked);
    bool tickLocked(int index) const;

    // The selected item's index, -1 when there is none. A list of one selection has no other
    // "current" item: what the user sees highlighted is what commands act on.
    int itemIndex() const { return selectedIndex(); }
    // Makes the item current and selected (-1 clears); raises no `clicked`.
    void setItemIndex(int index);
    // The first selected item, -1 when none is selected.
    int selectedIndex() const;

    // The item under a point of the list's viewport, -1 for the empty area below the items.
    int itemIndexAt(const QPoint& point) const;
    // While `pointerMoved` reports a movement with the left button held: the point of the same
    // drag's movement before it, or of the press on an entry that began it; none for the first
    // movement of a drag that began elsewhere (after a movement without the left button).
    std::optional<QPoint> previousDragPoint() const { return previousDragPoint_; }

  signals:
    void clicked();
    void keyPicked();
    void pointerMoved(Qt::MouseButtons buttons, const QPoint& point);

  protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

  private:
    bool onTickBox(int index, const QPoint& point) const;

    ItemHeightDelegate* delegate_;
    // The tick box a left press went down on, and its tick at that moment.
    int tickPressed_ = -1;
    bool tickBeforePress_ = false;
    std::optional<QPoint> previousDragPoint_;
};

}  // namespace pictaria
