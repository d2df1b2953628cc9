// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/MessageSink.h"

#include <iostream>

namespace pictaria {

namespace {

class StandardErrorSink final : public MessageSink {
  public:
    void showMessage(std::string_view text) override { std::cerr << text << '\n'; }
    bool confirm(std::string_view text) override {
        std::cerr << text << " (no)\n";
        return false;
    }
};

StandardErrorSink defaultSink;
MessageSink* installedSink = nullptr;

}  // namespace

MessageSink& messageSink() {
    return installedSink ? *installedSink : defaultSink;
}

MessageSink* setMessageSink(MessageSink* sink) {
    MessageSink* previous = installedSink;
    installedSink = sink;
    return previous;
}

void showMessage(std::string_view text) {
    messageSink().showMessage(text);
}

}  // namespace pictaria
