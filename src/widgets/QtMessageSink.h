#pragma once
// Messages and questions as modal message boxes: no icon, captioned with the application's
// title; a message has one OK button, a question Yes and No. The boxes run through showModal,
// so tests can answer them.

#include "platform/MessageSink.h"

namespace pictaria {

class QtMessageSink : public MessageSink {
  public:
    void showMessage(std::string_view text) override;
    bool confirm(std::string_view text) override;
};

}  // namespace pictaria
