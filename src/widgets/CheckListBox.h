#pragma once
// A list of file names, each with a tick box; one item at a time can be selected. Names are
// byte strings: each item keeps its bytes and shows them as (possibly lossy) UTF-8 text.
//
// `clicked` is raised when the user picks an item: a left mouse press on an item (its tick box
// included) or a keyboard move of the current item. Selecting an item from code raises nothing.
// `pointerMoved` reports every pointer movement over the list with the buttons held.

#include <QListWidget>

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
    void addNames(const std::vector<std::string>& names);
    void removeAt(int index);
    std::string name(int index) const;
    void setName(int index, const std::string& name);

    bool checked(int index) const;
    void setChecked(int index, bool checked);

    // The current item's index, -1 when there is none.
    int itemIndex() const { return currentRow(); }
    // Makes the item current and selected (-1 clears); raises no `clicked`.
    void setItemIndex(int index);
    // The first selected item, -1 when none is selected.
    int selectedIndex() const;

    // The item under a point of the list's viewport, -1 for the empty area below the items.
    int itemIndexAt(const QPoint& point) const;

  signals:
    void clicked();
    void pointerMoved(Qt::MouseButtons buttons, const QPoint& point);

  protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

  private:
    ItemHeightDelegate* delegate_;
};

}  // namespace pictaria
