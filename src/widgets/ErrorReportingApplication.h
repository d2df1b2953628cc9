#pragma once
// The application object: an error that escapes an event handler is shown to the user as a
// message with the error's text, and the program goes on with the next event.

#include <QApplication>

#include <exception>

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

class ErrorReportingApplication : public QApplication {
    Q_OBJECT

  public:
    ErrorReportingApplication(int& argc, char** argv);

    bool notify(QObject* receiver, QEvent* event) override;
};

}  // namespace pictaria
