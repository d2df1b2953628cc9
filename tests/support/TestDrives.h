// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Installs a drive table of temporary folders for the length of a test and restores the
// previous table, current folder and message sink afterwards.

#include <string>
#include <string_view>
#include <vector>

#include "platform/DriveTable.h"
#include "platform/MessageSink.h"

namespace pictaria::test {

class TestDrives {
  public:
    TestDrives();
    TestDrives(const TestDrives&) = delete;
    TestDrives& operator=(const TestDrives&) = delete;
    ~TestDrives();

    // Maps a letter to a host folder.
    TestDrives& map(char letter, const std::string& hostRoot, DriveType type = DriveType::Fixed);

  private:
    DriveTable previous_;
    DriveTable table_;
    std::string previousCwd_;
};

// Records every message and answers the questions.
class RecordingMessages : public MessageSink {
  public:
    RecordingMessages();
    ~RecordingMessages() override;
    void showMessage(std::string_view text) override { shown.emplace_back(text); }
    bool confirm(std::string_view text) override {
        asked.emplace_back(text);
        if (answers.empty()) {
            return answer;
        }
        const bool next = answers.front();
        answers.erase(answers.begin());
        return next;
    }

    std::vector<std::string> shown;
    std::vector<std::string> asked;
    bool answer = true;         // for every question...
    std::vector<bool> answers;  // ...unless these answer the next ones in turn

  private:
    MessageSink* previous_;
};

}  // namespace pictaria::test
