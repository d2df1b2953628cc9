// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/CommandAtWork.h"

#include <algorithm>
#include <utility>

#include "widgets/ProgressWindow.h"
#include "widgets/TextBytes.h"

namespace pictaria {

CommandAtWork::CommandAtWork() = default;
CommandAtWork::~CommandAtWork() = default;

void CommandAtWork::begin(std::map<int, Entry> entries) {
    entries_ = std::move(entries);
    outcomes_.clear();
    change_ = ListChange::None;
    folders_.clear();
}

void CommandAtWork::run(FileJob* job, const QString& label, ListChange change,
                        std::vector<std::string> folders, AfterJob afterJob) {
    job_ = job;
    label_ = label;
    change_ = change;
    folders_ = std::move(folders);
    afterJob_ = std::move(afterJob);
    clock_.start();
}

CommandAtWork::Entry CommandAtWork::record(int number, const FileOutcome& outcome) {
    outcomes_[number] = outcome;
    const auto found = entries_.find(number);
    return found == entries_.end() ? nullptr : found->second;
}

void CommandAtWork::left(Entry entry) {
    for (auto& [number, listed] : entries_) {
        if (listed == entry) {
            listed = nullptr;
        }
    }
}

void CommandAtWork::listReplaced() {
    entries_.clear();
}

std::vector<CommandAtWork::Entry> CommandAtWork::waiting() const {
    std::vector<Entry> entries;
    for (const auto& [number, entry] : entries_) {
        if (entry && !outcomes_.contains(number)) {
            entries.push_back(entry);
        }
    }
    return entries;
}

std::map<int, CommandAtWork::Entry> CommandAtWork::entriesOf(
    const std::vector<BatchItem>& items) const {
    std::map<int, Entry> entries;
    for (const BatchItem& item : items) {
        const auto found = entries_.find(item.entry);
        if (found != entries_.end() && found->second) {
            entries.insert(*found);
        }
    }
    return entries;
}

bool CommandAtWork::touches(std::string_view folder) const {
    return std::find(folders_.begin(), folders_.end(), folder) != folders_.end();
}

QString CommandAtWork::progressText(const BatchProgress& progress) const {
    const double seconds = std::max(0.001, clock_.elapsed() / 1000.0);
    const double megabytes = 1e-6;
    QString counts = QStringLiteral("%1 / %2 枚").arg(progress.filesDone).arg(progress.filesTotal);
    if (progress.bytesTotal > 0) {
        counts += QStringLiteral("    %1 / %2 MB    %3 MB/s")
                      .arg(progress.bytesDone * megabytes, 0, 'f', 1)
                      .arg(progress.bytesTotal * megabytes, 0, 'f', 1)
                      .arg(progress.bytesDone * megabytes / seconds, 0, 'f', 1);
    } else {
        counts += QStringLiteral("    %1 枚/s").arg(progress.filesDone / seconds, 0, 'f', 1);
    }
    return label_ + '\n' + counts + '\n' + displayText(progress.current);
}

void CommandAtWork::setProgressWindow(std::unique_ptr<ProgressWindow> window) {
    progress_ = std::move(window);
}

CommandAtWork::AfterJob CommandAtWork::end() {
    progress_.reset();
    return std::exchange(afterJob_, {});
}

}  // namespace pictaria
