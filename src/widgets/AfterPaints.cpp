// SPDX-License-Identifier: GPL-3.0-or-later
#include "widgets/AfterPaints.h"

#include <QCoreApplication>
#include <QEvent>

#include <utility>

namespace pictaria {

namespace {

QEvent::Type callEventType() {
    static const auto type = static_cast<QEvent::Type>(QEvent::registerEventType());
    return type;
}

// Lives under the context, so that it and its posted event go with it; runs the call once.
class PostedCall : public QObject {
  public:
    PostedCall(QObject* context, std::function<void()> call)
        : QObject(context), call_(std::move(call)) {}

  protected:
    bool event(QEvent* event) override {
        if (event->type() != callEventType()) {
            return QObject::event(event);
        }
        deleteLater();
        call_();
        return true;
    }

  private:
    std::function<void()> call_;
};

}  // namespace

void callAfterPaints(QObject* context, std::function<void()> call) {
    QCoreApplication::postEvent(new PostedCall(context, std::move(call)),
                                new QEvent(callEventType()), Qt::LowEventPriority - 1);
}

}  // namespace pictaria
