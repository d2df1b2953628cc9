// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The seam through which code without windows tells the user something or asks a question.
// The program installs an implementation that shows modal message boxes; tests install one
// that records every text and answers questions as the test says.

#include <string>
#include <string_view>

namespace pictaria {

class MessageSink {
  public:
    virtual ~MessageSink() = default;
    // A modal message with one OK button and no icon.
    virtual void showMessage(std::string_view text) = 0;
    // A modal question with Yes and No; true for Yes.
    virtual bool confirm(std::string_view text) = 0;
};

// The sink in force; one that writes to standard error until the program installs its own.
MessageSink& messageSink();
// Installs `sink` (not owned; nullptr restores the default) and returns the previous one.
MessageSink* setMessageSink(MessageSink* sink);

// Shorthand for messageSink().showMessage(text).
void showMessage(std::string_view text);

}  // namespace pictaria
