// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The pictures of one pane that is not the source view (the destination preview, the slide
// show), read on their volume's queue of the work layer: the window never waits for them, a
// card that hangs holds one worker, and a newer picture asked for supersedes the one on its
// way. The picture the pane will likely show next is read ahead, and used while its file is
// unchanged.

#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "platform/FileServices.h"
#include "viewer/PictureDisplay.h"

namespace pictaria {

class WorkQueues;

class PaneReads {
  public:
    using Present = std::function<void(const PreparedPicture&)>;

    // `key` names this pane's jobs; no two panes share one.
    PaneReads(WorkQueues& work, std::string key);
    ~PaneReads();
    PaneReads(const PaneReads&) = delete;
    PaneReads& operator=(const PaneReads&) = delete;

    // Reads the picture of `request` and hands it to `present` on the window's thread, unless
    // another was asked for or `cancel` came first. `silent` is told instead when its volume
    // does not answer.
    void show(const PictureRequest& request, Present present, std::function<void()> silent = {});
    // Reads ahead the picture of `request`, once the one asked for has been read.
    void readAhead(const PictureRequest& request);
    // Drops the read on its way and the picture read ahead.
    void cancel();

  private:
    struct Held {
        PictureRequest request;
        ContentStamp stamp;
        PreparedPicture picture;
    };

    WorkQueues& work_;
    std::string key_;
    std::string aheadKey_;
    std::optional<PictureRequest> aheadAsked_;  // held in `ahead_`, or on its way
    std::shared_ptr<const Held> ahead_;
};

}  // namespace pictaria
