// SPDX-License-Identifier: GPL-3.0-or-later
#include "widgets/ErrorReportingApplication.h"

namespace pictaria {

ErrorReportingApplication::ErrorReportingApplication(int& argc, char** argv)
    : QApplication(argc, argv) {}

bool ErrorReportingApplication::notify(QObject* receiver, QEvent* event) {
    return deliverReportingErrors([&] { return QApplication::notify(receiver, event); });
}

}  // namespace pictaria
