// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The one way work that can wait on a volume is run: as a job on that volume's own queue, on
// the process's worker pool, never on the window's thread.
//
// - Each volume (a drive letter) has a queue whose jobs run one after another, as a card serves
//   one read at a time; work on one volume never waits behind work on another, and work on no
//   volume (memory, the page cache) runs at once, behind none.
// - A job has a key that says what it is for; a newer job with the same key supersedes the
//   older one, which is taken off its queue or, running, told to stop, and whose result is
//   dropped. `cancel` does the same without a newer one.
// - A volume whose running job has not seen it answer for as long as the limit is Silent: its
//   waiting jobs are told so and dropped, and every job asked of it is told so at once, until
//   its hung job returns. A hung volume thus holds one worker, never the window and never
//   another volume's queue.
// - Results come back on this object's thread through queued calls and are applied only while
//   the job is still the one wanted for its key; a job may report several (one per item).
// - Nothing waits for a hung job: not a cancel, not this object's end, not the process's exit.

#include <QObject>
#include <QTimer>

#include <chrono>
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <string>

#include "work/JobContext.h"

namespace pictaria {

class WorkQueues : public QObject {
    Q_OBJECT

  public:
    explicit WorkQueues(std::chrono::milliseconds limit = kVolumeAnswerLimit,
                        QObject* parent = nullptr);
    ~WorkQueues() override;

    // Runs `work` on the queue of `volume` (empty: on no volume) and hands its result to
    // `apply` here, while it is still the job wanted for `key`. A job that throws hands on an
    // empty result. `silent` is told instead when the volume is or becomes Silent.
    template <typename Result>
    void run(const std::string& key, const std::string& volume,
             std::function<Result(const JobContext&)> work, std::function<void(Result&)> apply,
             std::function<void()> silent = {}) {
        start(key, volume, wrap(std::move(work), std::move(apply)), std::move(silent), false);
    }
    // A command that changes files: it runs on a queue of the volume's own for commands, so that
    // reads of the volume do not wait behind it, and is never given up: a hung volume holds it
    // until it answers. `stop` asks it to end after the item in hand; this object's end stops
    // it and waits for it, so that the files it works on are left whole.
    template <typename Result>
    void runCommand(const std::string& key, const std::string& volume,
                    std::function<Result(const JobContext&)> work,
                    std::function<void(Result&)> apply) {
        start(key, "commands " + volume, wrap(std::move(work), std::move(apply)), {}, true);
    }

    // Drops the job wanted for `key`, if any: its result will not be applied.
    void cancel(const std::string& key);
    // Asks the job wanted for `key` to stop where it can; its result is still applied.
    void stop(const std::string& key);
    // Stops the command wanted for `key`, drops what it still reports, and waits for it to
    // end (for its owner's end: the files it works on are left whole).
    void endCommand(const std::string& key);
    // True while a job for `key` (or, without one, any job) is wanted.
    bool pending(const std::string& key) const;
    bool pending() const { return !pending_.empty(); }
    // True while `volume` is Silent.
    bool silent(const std::string& volume) const;
    // Workers inside a job now, wanted or not (a hung volume's among them).
    int working() const;

  private:
    struct Shared;
    struct Job;
    using Work = std::function<std::function<void()>(const JobContext&)>;
    struct Pending {
        std::string key;
        std::string volume;
        std::function<void()> silent;
        std::shared_ptr<JobContext::State> state;
    };

    template <typename Result>
    static Work wrap(std::function<Result(const JobContext&)> work,
                     std::function<void(Result&)> apply) {
        return [work = std::move(work),
                apply = std::move(apply)](const JobContext& job) -> std::function<void()> {
            auto result = std::make_shared<Result>();
            try {
                *result = work(job);
            } catch (...) {
                *result = Result{};
            }
            return [apply, result] { apply(*result); };
        };
    }

    void start(const std::string& key, const std::string& volume, Work work,
               std::function<void()> silent, bool command);
    void arrived(std::uint64_t ticket, const std::function<void()>& deliver, bool last);
    void drop(std::uint64_t ticket);
    // Makes Silent each volume whose running job has not seen it answer within the limit.
    void lookForSilentVolumes();

    std::chrono::milliseconds limit_;
    std::shared_ptr<Shared> shared_;
    std::uint64_t lastTicket_ = 0;
    std::map<std::uint64_t, Pending> pending_;   // by ticket: the jobs still wanted
    std::map<std::string, std::uint64_t> keys_;  // by key: the ticket wanted for it
    QTimer watch_;
};

}  // namespace pictaria
