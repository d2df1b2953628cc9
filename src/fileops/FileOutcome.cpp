// SPDX-License-Identifier: GPL-3.0-or-later
#include "fileops/FileOutcome.h"

#include <algorithm>

namespace pictaria {

namespace {

std::string oneLine(std::string text) {
    std::replace(text.begin(), text.end(), '\n', ' ');
    while (!text.empty() && text.back() == ' ') {
        text.pop_back();
    }
    return text;
}

}  // namespace

FileOutcome outcomeOf(const std::string& name, FileResult result) {
    FileOutcome outcome;
    outcome.name = name;
    outcome.result = result;
    return outcome;
}

std::optional<std::string> failureReport(const std::vector<FileOutcome>& outcomes) {
    std::vector<const FileOutcome*> told;
    for (const FileOutcome& outcome : outcomes) {
        if (outcome.result == FileResult::Failed && !outcome.message.empty()) {
            told.push_back(&outcome);
        }
    }
    if (told.empty()) {
        return std::nullopt;
    }
    if (told.size() == 1) {
        return told.front()->name + ": " + told.front()->message;  // which file, and why
    }
    const auto done = std::count_if(outcomes.begin(), outcomes.end(),
                                    [](const FileOutcome& outcome) { return outcome.done(); });
    std::string report = std::to_string(done) + " 件を処理し、" + std::to_string(told.size()) +
                         " 件は出来ませんでした。";
    for (const FileOutcome* failure : told) {
        report += "\n" + failure->name + ": " + oneLine(failure->message);
    }
    return report;
}

}  // namespace pictaria
