// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// One budget in bytes for the pixels of every decoded picture the program holds: the one shown,
// those read ahead and the one being decoded. A decoder charges a picture's bytes before it
// makes it and they are given back when the last copy of the picture goes, wherever it was held.
//
// A picture that does not fit with the others asks the holders (the read-ahead) to let go of
// pictures less wanted than the one being made, and waits a moment for a picture being let go
// elsewhere (a decode given up); only then is it refused.

#include <QImage>
#include <QSize>

#include <condition_variable>
#include <cstddef>
#include <functional>
#include <mutex>
#include <vector>

namespace pictaria {

class PictureMemory {
  public:
    // Lets go of held pictures less wanted than the one the calling thread decodes.
    using Reclaimer = std::function<void()>;

    // The budget every picture display decodes under.
    static PictureMemory& shared();

    explicit PictureMemory(std::size_t limit) : limit_(limit) {}
    PictureMemory(const PictureMemory&) = delete;
    PictureMemory& operator=(const PictureMemory&) = delete;

    // An image whose pixels are charged to this budget for as long as any copy of it lives; null
    // when it does not fit even after the holders let go of what they may, or when memory is
    // short.
    QImage image(QSize size, QImage::Format format);

    std::size_t used() const;
    std::size_t limit() const;
    void setLimit(std::size_t limit);

    // A reclaimer is asked on the thread that needs room, never while this budget is locked.
    int addReclaimer(Reclaimer reclaimer);
    void removeReclaimer(int id);

  private:
    bool charge(std::size_t bytes);
    bool tryCharge(std::size_t bytes);
    // Charges `bytes` if they fit; the caller holds the mutex.
    bool chargeLocked(std::size_t bytes);
    void release(std::size_t bytes);

    mutable std::mutex mutex_;
    std::condition_variable released_;
    std::size_t limit_;
    std::size_t used_ = 0;
    // Held while reclaimers are asked, so that none is removed while it runs.
    std::mutex reclaimersMutex_;
    std::vector<std::pair<int, Reclaimer>> reclaimers_;
    int nextReclaimer_ = 0;
};

}  // namespace pictaria
