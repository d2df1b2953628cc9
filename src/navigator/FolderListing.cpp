// SPDX-License-Identifier: GPL-3.0-or-later
#include "navigator/FolderListing.h"

#include <QMetaObject>
#include <QTimer>

#include <mutex>
#include <system_error>
#include <thread>

namespace pictaria {

struct FolderListing::Shared {
    std::mutex mutex;
    FolderListing* owner = nullptr;  // null once the owner is gone: answers go nowhere
};

FolderListing::FolderListing(std::chrono::milliseconds limit, QObject* parent)
    : QObject(parent), limit_(limit), shared_(std::make_shared<Shared>()) {
    shared_->owner = this;
}

FolderListing::~FolderListing() {
    const std::lock_guard lock(shared_->mutex);
    shared_->owner = nullptr;
}

void FolderListing::start(const std::string& purpose, const std::string& volume, Work work,
                          std::function<void()> silent) {
    pending_.erase(purpose);  // superseded, whatever happens to this request
    if (hungVolumes_.contains(volume) && !volume.empty()) {
        if (silent) {
            silent();
        }
        return;
    }
    const std::uint64_t ticket = ++lastTicket_;
    auto answers = std::make_shared<std::atomic<std::uint64_t>>(0);
    try {
        std::thread([shared = shared_, purpose, ticket, answers, work = std::move(work)] {
            std::function<void()> deliver = work([&answers] { ++*answers; });
            // Posted while the owner is known to live; Qt drops the call if it goes before it
            // runs.
            const std::lock_guard lock(shared->mutex);
            if (FolderListing* owner = shared->owner) {
                QMetaObject::invokeMethod(
                    owner,
                    [owner, purpose, ticket, deliver = std::move(deliver)] {
                        owner->arrived(purpose, ticket, deliver);
                    },
                    Qt::QueuedConnection);
            }
        }).detach();
    } catch (const std::system_error&) {
        if (silent) {
            silent();  // no thread to list on: as if the volume did not answer
        }
        return;
    }
    const bool guarded = static_cast<bool>(silent);
    pending_[purpose] = Pending{ticket, volume, std::move(silent), std::move(answers), 0};
    if (guarded) {
        lookAgainLater(purpose, ticket);
    }
}

void FolderListing::arrived(const std::string& purpose, std::uint64_t ticket,
                            const std::function<void()>& deliver) {
    if (const auto given = givenUp_.find(ticket); given != givenUp_.end()) {
        // The volume answered after all: it may be listed again.
        if (const auto hung = hungVolumes_.find(given->second);
            hung != hungVolumes_.end() && --hung->second == 0) {
            hungVolumes_.erase(hung);
        }
        givenUp_.erase(given);
        return;
    }
    const auto wanted = pending_.find(purpose);
    if (wanted == pending_.end() || wanted->second.ticket != ticket) {
        return;  // superseded or cancelled
    }
    pending_.erase(wanted);
    deliver();
}

void FolderListing::giveUpIfSilent(const std::string& purpose, std::uint64_t ticket) {
    const auto wanted = pending_.find(purpose);
    if (wanted == pending_.end() || wanted->second.ticket != ticket) {
        return;
    }
    if (const std::uint64_t answers = *wanted->second.answers;
        answers != wanted->second.answersSeen) {
        wanted->second.answersSeen = answers;  // slow, not silent: it gets another while
        lookAgainLater(purpose, ticket);
        return;
    }
    const std::function<void()> silent = std::move(wanted->second.silent);
    if (!wanted->second.volume.empty()) {
        givenUp_[ticket] = wanted->second.volume;
        ++hungVolumes_[wanted->second.volume];
    }
    pending_.erase(wanted);
    silent();
}

void FolderListing::lookAgainLater(const std::string& purpose, std::uint64_t ticket) {
    QTimer::singleShot(limit_, this, [this, purpose, ticket] { giveUpIfSilent(purpose, ticket); });
}

void FolderListing::cancel(const std::string& purpose) {
    pending_.erase(purpose);
}

bool FolderListing::pending(const std::string& purpose) const {
    return pending_.contains(purpose);
}

}  // namespace pictaria
