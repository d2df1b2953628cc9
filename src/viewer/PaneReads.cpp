// SPDX-License-Identifier: GPL-3.0-or-later
#include "viewer/PaneReads.h"

#include "platform/PathText.h"
#include "work/WorkQueues.h"

namespace pictaria {

PaneReads::PaneReads(WorkQueues& work, std::string key)
    : work_(work), key_(std::move(key)), aheadKey_(key_ + " ahead") {}

void PaneReads::show(const PictureRequest& request, Present present, std::function<void()> silent) {
    std::shared_ptr<const Held> ahead = ahead_ && ahead_->request == request ? ahead_ : nullptr;
    work_.run<PreparedPicture>(
        key_, volumeOf(request.path),
        [request, ahead](const JobContext& job) {
            if (ahead && contentStamp(request.path) == ahead->stamp) {
                return ahead->picture;
            }
            return preparePicture(request, &job.cancelFlag());
        },
        [present = std::move(present)](PreparedPicture& prepared) { present(prepared); },
        std::move(silent));
}

PaneReads::~PaneReads() {
    cancel();
}

// A picture whose file changed while it was read is not kept: it is read again when shown.
void PaneReads::readAhead(const PictureRequest& request) {
    if (aheadAsked_ == request) {
        return;  // held, or on its way
    }
    aheadAsked_ = request;
    ahead_.reset();  // its memory goes before the next one's is read
    work_.run<std::shared_ptr<const Held>>(
        aheadKey_, volumeOf(request.path),
        [request](const JobContext& job) -> std::shared_ptr<const Held> {
            const ContentStamp before = contentStamp(request.path);
            PreparedPicture picture = preparePicture(request, &job.cancelFlag());
            if (job.cancelled() || picture.picture.lackedMemory ||
                !(contentStamp(request.path) == before)) {
                return nullptr;
            }
            return std::make_shared<const Held>(Held{request, before, std::move(picture)});
        },
        [this](std::shared_ptr<const Held>& held) { ahead_ = std::move(held); });
}

void PaneReads::cancel() {
    work_.cancel(key_);
    work_.cancel(aheadKey_);
    aheadAsked_.reset();
    ahead_.reset();
}

}  // namespace pictaria
