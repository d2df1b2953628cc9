// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Runs a call on the window's thread once the paints asked for until then are done. The toolkit
// posts its repaints at low priority, behind every other event; the call is posted lower still,
// where a zero timer would run first and hold the paint back.

#include <QObject>

#include <functional>

namespace pictaria {

// `call` runs unless `context` is gone by then.
void callAfterPaints(QObject* context, std::function<void()> call);

}  // namespace pictaria
