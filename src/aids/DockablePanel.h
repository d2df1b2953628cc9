// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A panel that can leave the window it stands in: dragging its face with the left button tears
// it off into a small floating tool window that follows the pointer, and docking puts it back
// into that window against one of its edges. While floating it takes the keyboard focus like any
// tool window (its fields can be typed into), stays above the window it came from, and hides
// and shows with that window.

#include <QPoint>
#include <QRect>

#include "aids/SlidePlaylist.h"
#include "widgets/Panel.h"

namespace pictaria {

class DockablePanel : public Panel {
    Q_OBJECT

  public:
    // The panel stands in `site`, which it can leave and be docked back into.
    explicit DockablePanel(QWidget* site);

    bool isFloating() const { return isWindow(); }

    // Makes the panel a floating tool window whose client area starts at `globalTopLeft`.
    void tearOff(const QPoint& globalTopLeft);
    // Puts the panel back into its site against `edge`, as near to `point` (site coordinates)
    // as the edge allows, and shows it.
    void dockInto(DockEdge edge, const QPoint& point);

    // Where the panel stands in its site's client coordinates, floating or docked.
    QRect rectInSite() const;

  protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void follow(const QPoint& globalTopLeft);

    QWidget* site_;
    QPoint grip_;  // the pressed point within the panel
    bool pressed_ = false;
};

// The top left corner of a panel of `size` docked in a site of `siteSize` against `edge`,
// centred on `point` along that edge and kept inside the site.
QPoint dockedTopLeft(DockEdge edge, const QPoint& point, const QSize& size, const QSize& siteSize);

}  // namespace pictaria
