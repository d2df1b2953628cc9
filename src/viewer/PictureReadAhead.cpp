// SPDX-License-Identifier: GPL-3.0-or-later
#include "viewer/PictureReadAhead.h"

#include <algorithm>
#include <chrono>
#include <utility>

#include "viewer/PictureMemory.h"

namespace pictaria {

namespace {

// The request whose picture the calling thread is loading, for the budget's reclaimer: it may
// make room only by dropping pictures less wanted than that one.
thread_local const PictureRequest* loadingHere = nullptr;

class LoadingHere {
  public:
    explicit LoadingHere(const PictureRequest& request) { loadingHere = &request; }
    ~LoadingHere() { loadingHere = nullptr; }
    LoadingHere(const LoadingHere&) = delete;
    LoadingHere& operator=(const LoadingHere&) = delete;
};

// A load given up part way has nothing to show and no error to tell.
bool givenUp(const PreparedPicture& picture, bool cancelled) {
    return cancelled && picture.fileFound && !picture.picture.loaded() && !picture.error;
}

}  // namespace

PictureReadAhead::PictureReadAhead(ReadyReport ready, Loader load, Stamper stamp)
    : readyReport_(std::move(ready)),
      load_(std::move(load)),
      stamp_(stamp ? std::move(stamp)
                   : [](const std::string& path) { return contentStamp(path); }) {
    worker_.start([this] { work(); });
    reclaimer_ = PictureMemory::shared().addReclaimer([this] { makeRoom(); });
}

PreparedPicture PictureReadAhead::loadForReadAhead(const PictureRequest& request,
                                                   const std::atomic<bool>& cancelled) {
    return preparePicture(request, &cancelled);
}

PictureReadAhead::~PictureReadAhead() {
    PictureMemory::shared().removeReclaimer(reclaimer_);
    {
        const std::lock_guard lock(mutex_);
        stopping_ = true;
        cancelRead_ = true;
    }
    changed_.notify_all();
    worker_.wait();
}

std::optional<PreparedPicture> PictureReadAhead::take(const PictureRequest& request) {
    std::unique_lock lock(mutex_);
    changed_.wait(lock, [&] { return !reading_ || !(*reading_ == request); });
    return served(lock, request, true);
}

std::optional<PreparedPicture> PictureReadAhead::takeIfReady(const PictureRequest& request) {
    std::unique_lock lock(mutex_);
    return served(lock, request, false);
}

PreparedPicture PictureReadAhead::load(const PictureRequest& request) {
    std::unique_lock lock(mutex_);
    while (true) {
        changed_.wait(lock, [&] { return !reading_ || !(*reading_ == request); });
        if (std::optional<PreparedPicture> ready = served(lock, request, true)) {
            return std::move(*ready);
        }
        if (!lock.owns_lock()) {
            lock.lock();
        }
        if (!reading_ || !(*reading_ == request)) {
            break;  // the worker did not start on it meanwhile
        }
    }
    if (reading_) {
        cancelRead_ = true;  // the disk and the processor go to the caller's picture
    }
    ++callersLoading_;
    lock.unlock();
    const ContentStamp before = stamp_(request.path);
    const std::atomic<bool> never{false};
    PreparedPicture picture;
    {
        const LoadingHere here(request);
        picture = load_(request, never);
    }
    lock.lock();
    --callersLoading_;
    lock.unlock();
    keep(request, before, picture);
    changed_.notify_all();
    return picture;
}

// Keeps a picture loaded on a caller's thread while it is wanted, as if the worker had read it.
void PictureReadAhead::keep(const PictureRequest& request, const ContentStamp& before,
                            PreparedPicture picture) {
    const ContentStamp after = stamp_(request.path);
    const std::lock_guard lock(mutex_);
    const bool held = std::any_of(ready_.begin(), ready_.end(),
                                  [&](const Entry& entry) { return entry.request == request; });
    if (wanted(request) && !held && !picture.picture.lackedMemory) {
        ready_.push_back({request, before == after ? std::optional(after) : std::nullopt,
                          std::move(picture), ++reads_});
    }
}

std::optional<PreparedPicture> PictureReadAhead::served(std::unique_lock<std::mutex>& lock,
                                                        const PictureRequest& request,
                                                        bool patient) {
    const auto found = std::find_if(ready_.begin(), ready_.end(),
                                    [&](const Entry& entry) { return entry.request == request; });
    if (found == ready_.end() || found->unasked) {
        return std::nullopt;
    }
    const Entry entry = *found;
    lock.unlock();
    const std::optional<ContentStamp> now =
        patient ? std::optional(stamp_(request.path)) : stampSoon(request.path);
    if (!now) {
        lock.lock();
        for (Entry& kept : ready_) {
            kept.unasked = kept.unasked || kept.read == entry.read;
        }
        lock.unlock();
        changed_.notify_all();
        return std::nullopt;
    }
    if (!entry.refused && entry.stamp && *entry.stamp == *now) {
        return entry.picture;
    }
    // The stale picture goes, so that the worker reads the file again while it is wanted; only
    // the one looked at goes, not one read since. Only a pick drops a picture: a file that
    // changes each time it is read is read again once per pick, not over and over. A picture
    // that did not fit goes likewise, to be read again as the one most wanted.
    lock.lock();
    std::erase_if(ready_, [&](const Entry& kept) { return kept.read == entry.read; });
    lock.unlock();
    changed_.notify_all();
    return std::nullopt;
}

void PictureReadAhead::want(std::vector<PictureRequest> requests) {
    {
        const std::lock_guard lock(mutex_);
        wanted_ = std::move(requests);
        std::erase_if(ready_, [this](const Entry& entry) {
            return !wanted(entry.request) || (entry.refused && entry.request == wanted_.front());
        });
        const PictureRequest* next = nextToRead();
        if (reading_ && (!wanted(*reading_) || !next || !(*next == *reading_))) {
            cancelRead_ = true;
        }
    }
    changed_.notify_all();
}

std::optional<ContentStamp> PictureReadAhead::stampSoon(const std::string& path) {
    // Long enough for a disk or a card that answers, short enough not to be felt; at most two
    // threads are left waiting on a volume that hangs.
    constexpr std::chrono::milliseconds kPatience{20};
    constexpr int kMostAsked = 2;
    struct Answer {
        std::mutex mutex;
        std::condition_variable given;
        std::optional<ContentStamp> stamp;
    };
    if (stampsAsked_->fetch_add(1) >= kMostAsked) {
        --*stampsAsked_;
        return std::nullopt;
    }
    auto answer = std::make_shared<Answer>();
    runOnWorker([answer, asked = stampsAsked_, stamp = stamp_, path] {
        const ContentStamp now = stamp(path);
        {
            const std::lock_guard lock(answer->mutex);
            answer->stamp = now;
        }
        answer->given.notify_all();
        --*asked;
    });
    std::unique_lock lock(answer->mutex);
    answer->given.wait_for(lock, kPatience, [&] { return answer->stamp.has_value(); });
    return answer->stamp;
}

void PictureReadAhead::askAgain(std::unique_lock<std::mutex>& lock, int read) {
    const auto byRead = [this, read] {
        return std::find_if(ready_.begin(), ready_.end(),
                            [read](const Entry& entry) { return entry.read == read; });
    };
    const PictureRequest request = byRead()->request;
    lock.unlock();
    const ContentStamp now = stamp_(request.path);
    lock.lock();
    const auto held = byRead();
    if (held == ready_.end()) {
        return;  // dropped meanwhile
    }
    if (held->refused || !held->stamp || !(*held->stamp == now)) {
        ready_.erase(held);  // read again while it is wanted
        changed_.notify_all();
        return;
    }
    held->unasked = false;
    changed_.notify_all();
    if (readyReport_) {
        lock.unlock();
        readyReport_(request);
        lock.lock();
    }
}

int PictureReadAhead::loads() const {
    const std::lock_guard lock(mutex_);
    return loads_;
}

bool PictureReadAhead::wanted(const PictureRequest& request) const {
    return std::find(wanted_.begin(), wanted_.end(), request) != wanted_.end();
}

const PictureRequest* PictureReadAhead::nextToRead() const {
    if (callersLoading_ > 0) {
        return nullptr;
    }
    for (const PictureRequest& request : wanted_) {
        if (std::none_of(ready_.begin(), ready_.end(), [&](const Entry& entry) {
                return entry.request == request && !entry.unasked;
            })) {
            return &request;
        }
    }
    return nullptr;
}

// Asked by the pictures' memory on the thread that needs room: drops every picture held that is
// less wanted than the one that thread loads (all but more wanted ones; all for a load of a
// picture not read ahead). Pictures shown elsewhere stay in memory until they are let go there.
void PictureReadAhead::makeRoom() {
    const std::lock_guard lock(mutex_);
    const auto loading =
        loadingHere ? std::find(wanted_.begin(), wanted_.end(), *loadingHere) : wanted_.end();
    const auto rank = loading == wanted_.end() ? 0 : loading - wanted_.begin();
    std::erase_if(ready_, [&](const Entry& entry) {
        const auto at = std::find(wanted_.begin(), wanted_.end(), entry.request);
        return at == wanted_.end() || at - wanted_.begin() >= rank;
    });
}

// A file that changes while it is read (a copy still arriving) is kept as unusable and reported
// ready all the same, rather than read again and again: a pick waiting for it loads it itself,
// and has it read once more (see served). A read given up is not kept; it is read again while
// it is still wanted.
void PictureReadAhead::work() {
    std::unique_lock lock(mutex_);
    while (true) {
        changed_.wait(lock, [this] { return stopping_ || nextToRead(); });
        if (stopping_) {
            return;
        }
        const PictureRequest request = *nextToRead();
        if (const auto unasked = std::find_if(
                ready_.begin(), ready_.end(),
                [&](const Entry& entry) { return entry.request == request && entry.unasked; });
            unasked != ready_.end()) {
            askAgain(lock, unasked->read);
            continue;
        }
        const bool mostWanted = wanted_.front() == request;
        reading_ = request;
        cancelRead_ = false;
        lock.unlock();
        const ContentStamp before = stamp_(request.path);
        PreparedPicture picture;
        {
            const LoadingHere here(request);
            picture = load_(request, cancelRead_);
        }
        const ContentStamp after = stamp_(request.path);
        lock.lock();
        reading_.reset();
        ++loads_;
        // Room is made only for the most wanted picture: one that did not fit while less
        // wanted is read again at once if it has become the most wanted meanwhile, and later,
        // once it is, otherwise, rather than told as too large.
        const bool readAgain = picture.picture.lackedMemory && !mostWanted && !wanted_.empty() &&
                               wanted_.front() == request;
        const bool kept = wanted(request) && !givenUp(picture, cancelRead_) && !readAgain;
        if (kept) {
            const bool refused = picture.picture.lackedMemory && !mostWanted;
            ready_.push_back({request, before == after ? std::optional(after) : std::nullopt,
                              std::move(picture), ++reads_, refused});
        }
        changed_.notify_all();
        if (kept && readyReport_) {
            lock.unlock();
            readyReport_(request);
            lock.lock();
        }
    }
}

}  // namespace pictaria
