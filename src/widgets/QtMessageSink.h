// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Messages and questions as modal message boxes: no icon, captioned with the application's
// title; a message has one OK button, a question Yes and No. The boxes run through showModal,
// so tests can answer them.

#include "platform/MessageSink.h"

namespace pictaria {

// The program's title, the caption of its message boxes.
inline constexpr const char* kApplicationTitle = "ピクタリア";

// Names the application to the desktop (its desktop entry). No display name is set: Qt would
// append it to every window's caption, and the dialogs' captions are their own.
void setApplicationIdentity();

class QtMessageSink : public MessageSink {
  public:
    void showMessage(std::string_view text) override;
    bool confirm(std::string_view text) override;
};

}  // namespace pictaria
