// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The file command at work: its job, the list entries it works on (by the number the batch
// knows each file by), what happened to each so far, what an outcome does to its entry, the
// folders it changes, its progress window and what follows its end. While it runs, the entries
// still waiting for their outcome keep their ticks: a tick changed then would not be what
// happens to the file.

#include <QElapsedTimer>
#include <QPointer>
#include <QString>

#include <functional>
#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "fileops/FileBatch.h"
#include "fileops/FileJob.h"
#include "fileops/FileOutcome.h"

class QListWidgetItem;

namespace pictaria {

class ProgressWindow;

class CommandAtWork {
  public:
    using Entry = QListWidgetItem*;
    // What the outcome of a file does to its list entry.
    enum class ListChange { None, RemoveDone, RenameDone };
    // Told whether the user stopped the job.
    using AfterJob = std::function<void(bool stopped)>;

    CommandAtWork();
    ~CommandAtWork();

    // A command on these entries begins: outcomes and entries of the last one are forgotten.
    void begin(std::map<int, Entry> entries);
    // The job that carries it out, under a label for its progress, changing the list as `change`
    // says, in `folders`; `afterJob` follows its end.
    void run(FileJob* job, const QString& label, ListChange change,
             std::vector<std::string> folders, AfterJob afterJob);
    bool running() const { return job_ && job_->running(); }
    FileJob* job() const { return job_; }

    // Records the outcome of the batch's file `number`. The entry it belongs to when that entry
    // is still listed (null otherwise); its tick is free again.
    Entry record(int number, const FileOutcome& outcome);
    // The entry left the list: no outcome is applied to it any more.
    void left(Entry entry);
    // Every entry left the list for another folder's.
    void listReplaced();
    // The entries of these items of the command, those still listed, for a command that follows
    // on them.
    std::map<int, Entry> entriesOf(const std::vector<BatchItem>& items) const;
    ListChange listChange() const { return change_; }
    const std::map<int, FileOutcome>& outcomes() const { return outcomes_; }
    // The listed entries whose outcome has not arrived.
    std::vector<Entry> waiting() const;
    // Whether the command changes the folder's files.
    bool touches(std::string_view folder) const;

    // The progress window's text for what the job reported.
    QString progressText(const BatchProgress& progress) const;
    void setProgressWindow(std::unique_ptr<ProgressWindow> window);
    ProgressWindow* progressWindow() const { return progress_.get(); }

    // The job has ended: its progress window closes; what follows is handed back to be run.
    AfterJob end();

  private:
    std::map<int, Entry> entries_;
    std::map<int, FileOutcome> outcomes_;
    ListChange change_ = ListChange::None;
    std::vector<std::string> folders_;
    QPointer<FileJob> job_;
    QString label_;
    QElapsedTimer clock_;
    std::unique_ptr<ProgressWindow> progress_;
    AfterJob afterJob_;
};

}  // namespace pictaria
