// SPDX-License-Identifier: GPL-3.0-or-later
#include "viewer/PictureReadAhead.h"

#include <algorithm>
#include <utility>

namespace pictaria {

PictureReadAhead::PictureReadAhead(ReadyReport ready, Loader load)
    : readyReport_(std::move(ready)), load_(std::move(load)), worker_([this] { work(); }) {}

PreparedPicture PictureReadAhead::loadForReadAhead(const PictureRequest& request,
                                                   const std::atomic<bool>& cancelled) {
    return preparePicture(request, &cancelled);
}

PictureReadAhead::~PictureReadAhead() {
    {
        const std::lock_guard lock(mutex_);
        stopping_ = true;
    }
    changed_.notify_all();
    worker_.join();
}

std::optional<PreparedPicture> PictureReadAhead::take(const PictureRequest& request) {
    std::unique_lock lock(mutex_);
    changed_.wait(lock, [&] { return !reading_ || !(*reading_ == request); });
    return served(lock, request);
}

std::optional<PreparedPicture> PictureReadAhead::takeIfReady(const PictureRequest& request) {
    std::unique_lock lock(mutex_);
    return served(lock, request);
}

std::optional<PreparedPicture> PictureReadAhead::served(std::unique_lock<std::mutex>& lock,
                                                        const PictureRequest& request) {
    const auto found = std::find_if(ready_.begin(), ready_.end(),
                                    [&](const Entry& entry) { return entry.request == request; });
    if (found == ready_.end()) {
        return std::nullopt;
    }
    const Entry entry = *found;
    lock.unlock();
    if (entry.stamp && *entry.stamp == contentStamp(request.path)) {
        return entry.picture;
    }
    // The stale picture goes, so that the worker reads the file again while it is wanted; only
    // the one looked at goes, not one read since. Only a pick drops a picture: a file that
    // changes each time it is read is read again once per pick, not over and over.
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
        std::erase_if(ready_, [this](const Entry& entry) { return !wanted(entry.request); });
        if (reading_ && !wanted(*reading_)) {
            cancelRead_ = true;
        }
    }
    changed_.notify_all();
}

int PictureReadAhead::loads() const {
    const std::lock_guard lock(mutex_);
    return loads_;
}

bool PictureReadAhead::wanted(const PictureRequest& request) const {
    return std::find(wanted_.begin(), wanted_.end(), request) != wanted_.end();
}

const PictureRequest* PictureReadAhead::nextToRead() const {
    for (const PictureRequest& request : wanted_) {
        if (std::none_of(ready_.begin(), ready_.end(),
                         [&](const Entry& entry) { return entry.request == request; })) {
            return &request;
        }
    }
    return nullptr;
}

// A file that changes while it is read (a copy still arriving) is kept as unusable and reported
// ready all the same, rather than read again and again: a pick waiting for it loads it itself,
// and has it read once more (see served).
void PictureReadAhead::work() {
    std::unique_lock lock(mutex_);
    while (true) {
        changed_.wait(lock, [this] { return stopping_ || nextToRead(); });
        if (stopping_) {
            return;
        }
        const PictureRequest request = *nextToRead();
        reading_ = request;
        cancelRead_ = false;
        lock.unlock();
        const ContentStamp before = contentStamp(request.path);
        PreparedPicture picture = load_(request, cancelRead_);
        const ContentStamp after = contentStamp(request.path);
        lock.lock();
        reading_.reset();
        ++loads_;
        const bool kept = wanted(request) && !cancelRead_;
        if (kept) {
            ready_.push_back({request, before == after ? std::optional(after) : std::nullopt,
                              std::move(picture), loads_});
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
