// SPDX-License-Identifier: GPL-3.0-or-later
#include "widgets/PointerMoves.h"

#include <QEvent>
#include <QWidget>

#include <utility>

namespace pictaria {

namespace {

// Lives as a child of the control it watches.
class PointerMoveFilter : public QObject {
  public:
    PointerMoveFilter(QWidget& control, std::function<void()> handler)
        : QObject(&control), handler_(std::move(handler)) {}

    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::MouseMove || event->type() == QEvent::Enter) {
            handler_();
        }
        return QObject::eventFilter(watched, event);
    }

  private:
    std::function<void()> handler_;
};

}  // namespace

void onPointerMove(QWidget& control, std::function<void()> handler) {
    control.setMouseTracking(true);
    control.installEventFilter(new PointerMoveFilter(control, std::move(handler)));
}

}  // namespace pictaria
