// SPDX-License-Identifier: GPL-3.0-or-later
#include "viewer/PictureMemory.h"

#include <chrono>
#include <cstdlib>
#include <new>

namespace pictaria {

namespace {

// The pictures together stay within what one very large picture (16384 x 16384 in 32-bit
// colour) needs, with room for the decoder's working memory beside it; the process then keeps
// under about 1.25 GB whatever the folder holds.
constexpr std::size_t kSharedLimit = 1100ull << 20;
constexpr std::chrono::milliseconds kReleaseWait{300};

struct Charge {
    PictureMemory* memory;
    std::size_t bytes;
    void* pixels;
};

}  // namespace

PictureMemory& PictureMemory::shared() {
    static PictureMemory memory(kSharedLimit);
    return memory;
}

QImage PictureMemory::image(QSize size, QImage::Format format) {
    if (size.isEmpty()) {
        return {};
    }
    const int depth = QImage::toPixelFormat(format).bitsPerPixel();
    // Rows aligned to 32 bits, as QImage makes them.
    const qsizetype bytesPerLine = ((static_cast<qsizetype>(size.width()) * depth + 31) / 32) * 4;
    const std::size_t bytes = static_cast<std::size_t>(bytesPerLine) * size.height();
    if (!charge(bytes)) {
        return {};
    }
    void* pixels = std::malloc(bytes);
    auto* charged = pixels ? new (std::nothrow) Charge{this, bytes, pixels} : nullptr;
    if (!charged) {
        std::free(pixels);
        release(bytes);
        return {};
    }
    return QImage(
        static_cast<uchar*>(pixels), size.width(), size.height(), bytesPerLine, format,
        [](void* info) {
            auto* charge = static_cast<Charge*>(info);
            std::free(charge->pixels);
            charge->memory->release(charge->bytes);
            delete charge;
        },
        charged);
}

bool PictureMemory::charge(std::size_t bytes) {
    if (tryCharge(bytes)) {
        return true;
    }
    {
        const std::lock_guard lock(reclaimersMutex_);
        for (const auto& [id, reclaimer] : reclaimers_) {
            reclaimer();
        }
    }
    // A decode given up elsewhere may still hold its picture for a moment: its room is waited
    // for, briefly, before the picture is refused.
    std::unique_lock lock(mutex_);
    if (bytes > limit_) {
        return false;
    }
    return released_.wait_for(lock, kReleaseWait, [&] { return chargeLocked(bytes); });
}

bool PictureMemory::tryCharge(std::size_t bytes) {
    const std::lock_guard lock(mutex_);
    return chargeLocked(bytes);
}

bool PictureMemory::chargeLocked(std::size_t bytes) {
    if (bytes > limit_ || used_ > limit_ - bytes) {
        return false;
    }
    used_ += bytes;
    return true;
}

void PictureMemory::release(std::size_t bytes) {
    {
        const std::lock_guard lock(mutex_);
        used_ -= bytes;
    }
    released_.notify_all();
}

std::size_t PictureMemory::used() const {
    const std::lock_guard lock(mutex_);
    return used_;
}

std::size_t PictureMemory::limit() const {
    const std::lock_guard lock(mutex_);
    return limit_;
}

void PictureMemory::setLimit(std::size_t limit) {
    const std::lock_guard lock(mutex_);
    limit_ = limit;
}

int PictureMemory::addReclaimer(Reclaimer reclaimer) {
    const std::lock_guard lock(reclaimersMutex_);
    reclaimers_.emplace_back(nextReclaimer_, std::move(reclaimer));
    return nextReclaimer_++;
}

void PictureMemory::removeReclaimer(int id) {
    const std::lock_guard lock(reclaimersMutex_);
    std::erase_if(reclaimers_, [id](const auto& entry) { return entry.first == id; });
}

}  // namespace pictaria
