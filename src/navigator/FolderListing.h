// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Lists folders on threads of their own, so that the window never waits on a volume: a card
// that answers slowly, or a reader that has hung, holds a thread and never the window. Each
// answer comes back on this object's thread (queued) and is handed on only while it is still
// wanted: a newer request for the same purpose supersedes an older one, and cancel drops it.
// A listing whose volume has not answered for as long as the volume limit (a slow card answers
// every call, only late; a hung one stops) is told once as silent; its thread is left to end
// whenever the volume answers and is never waited for, not even at exit.

#include <QObject>

#include <atomic>
#include <chrono>
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <string>

#include "platform/VolumeProbe.h"

namespace pictaria {

class FolderListing : public QObject {
    Q_OBJECT

  public:
    // Told by a listing, on its thread, each time its volume answered a call.
    using Answered = std::function<void()>;

    explicit FolderListing(std::chrono::milliseconds limit = kVolumeAnswerLimit,
                           QObject* parent = nullptr);
    ~FolderListing() override;

    // Runs `list` on a thread of its own and hands its result to `apply` on this object's
    // thread, unless a newer request for `purpose` came first, or the listing was cancelled or
    // given up. A listing that throws hands on an empty result. `silent` is told instead when
    // the listing has not told `Answered` for as long as the limit; while a listing of `volume` (a
    // drive letter, or empty for none) stays given up, a request on it is told silent at once and
    // starts no thread, so a hung volume holds one thread, not one per click. Without
    // `silent` the listing is never given up (a picture read answers nothing until its end).
    template <typename Result>
    void request(const std::string& purpose, const std::string& volume,
                 std::function<Result(const Answered&)> list, std::function<void(Result&)> apply,
                 std::function<void()> silent) {
        start(
            purpose, volume,
            [list = std::move(list),
             apply = std::move(apply)](const Answered& answered) -> std::function<void()> {
                auto result = std::make_shared<Result>();
                try {
                    *result = list(answered);
                } catch (...) {
                    *result = Result{};
                }
                return [apply, result] { apply(*result); };
            },
            std::move(silent));
    }

    // Drops the listing on its way for `purpose`, if any: its answer will not be applied.
    void cancel(const std::string& purpose);
    // True while a listing for `purpose` (or, without one, any listing) is on its way.
    bool pending(const std::string& purpose) const;
    bool pending() const { return !pending_.empty(); }

  private:
    // Shared with the listing threads, which outlive this object when their volume hangs.
    struct Shared;
    // Runs on the listing's thread; gives what is to run here with its result.
    using Work = std::function<std::function<void()>(const Answered&)>;
    struct Pending {
        std::uint64_t ticket = 0;
        std::string volume;
        std::function<void()> silent;
        std::shared_ptr<std::atomic<std::uint64_t>> answers;  // counted on the listing's thread
        std::uint64_t answersSeen = 0;                        // at the last look
    };

    void start(const std::string& purpose, const std::string& volume, Work work,
               std::function<void()> silent);
    void arrived(const std::string& purpose, std::uint64_t ticket,
                 const std::function<void()>& deliver);
    // Gives the listing up unless its volume answered since the last look.
    void giveUpIfSilent(const std::string& purpose, std::uint64_t ticket);
    // Looks at the listing again once the limit has passed.
    void lookAgainLater(const std::string& purpose, std::uint64_t ticket);

    std::chrono::milliseconds limit_;
    std::shared_ptr<Shared> shared_;
    std::uint64_t lastTicket_ = 0;
    std::map<std::string, Pending> pending_;        // by purpose: the one listing still wanted
    std::map<std::uint64_t, std::string> givenUp_;  // by ticket: the volume it holds
    std::map<std::string, int> hungVolumes_;        // given-up listings not back yet, by volume
};

}  // namespace pictaria
