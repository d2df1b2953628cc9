// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The application object: an error that escapes an event handler is shown to the user as a
// message with the error's text, and the program goes on with the next event.

#include <QApplication>

#include <exception>
#include <type_traits>

#include "platform/MessageSink.h"

namespace pictaria {

// Runs one delivery; a std::exception escaping it is shown through the message seam and the
// delivery counts as not handled. Other exceptions pass on.
template <typename Deliver>
bool deliverReportingErrors(Deliver&& deliver) {
    try {
        return deliver();
    } catch (const std::exception& error) {
        showMessage(error.what());
        return false;
    }
}

// A slot that runs `handler` and shows a std::exception escaping it as the error display does.
// Handlers that can fail this way are connected through it, so that no exception has to cross
// the toolkit's event delivery, which does not clean up behind one.
template <typename Handler>
auto reportingErrors(Handler handler) {
    return [handler](auto&&... args) {
        deliverReportingErrors([&] {
            if constexpr (std::is_invocable_v<Handler, decltype(args)...>) {
                handler(args...);
            } else {
                handler();  // a signal's arguments that the handler does not take
            }
            return true;
        });
    };
}

class ErrorReportingApplication : public QApplication {
    Q_OBJECT

  public:
    ErrorReportingApplication(int& argc, char** argv);

    bool notify(QObject* receiver, QEvent* event) override;
};

}  // namespace pictaria
