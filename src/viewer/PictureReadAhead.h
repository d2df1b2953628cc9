// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Reads pictures ahead on a worker of its own (a task of the work layer's pool): while one picture
// is looked at, those the user is likely to pick next are loaded for the same pane, so that the
// pick shows them at once. Only pictures still wanted are kept, so the memory held is bounded by
// the wanted list, and by the pictures' memory budget (PictureMemory.h): a picture that does not
// fit makes the pictures less wanted than itself go, and a picture read ahead that still does not
// fit is read again only once it is the most wanted.
//
// A picture read ahead is used only while its file is the one that was read (same identity,
// size, modification and change time); a request for another pane size, display mode or screen
// is another picture. What loading threw is kept with the picture and told when it is shown.

#include <atomic>
#include <condition_variable>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <vector>

#include "platform/FileServices.h"
#include "viewer/PictureDisplay.h"
#include "work/WorkerTask.h"

namespace pictaria {

class PictureReadAhead {
  public:
    // Loads a picture; gives up part way once the flag becomes true.
    using Loader = std::function<PreparedPicture(const PictureRequest&, const std::atomic<bool>&)>;
    // Told on the worker's thread each time a read has ended and its picture is kept.
    using ReadyReport = std::function<void(const PictureRequest&)>;
    // What a file's content is known by now (its identity, size and times).
    using Stamper = std::function<ContentStamp(const std::string&)>;

    explicit PictureReadAhead(ReadyReport ready = {}, Loader load = loadForReadAhead,
                              Stamper stamp = {});
    PictureReadAhead(const PictureReadAhead&) = delete;
    PictureReadAhead& operator=(const PictureReadAhead&) = delete;
    // Gives up the read in progress, then ends the worker.
    ~PictureReadAhead();

    // The picture read ahead for `request` if its file is unchanged since; while it is being
    // read, waits for that read rather than starting another. Nothing when it was not read
    // ahead: the caller loads it itself. A picture whose file has changed is dropped, and read
    // again (and reported ready) while it is still wanted.
    std::optional<PreparedPicture> take(const PictureRequest& request);
    // The same without waiting: nothing while it is still being read. Its file is asked
    // whether it changed for a few milliseconds at most (on a worker of its own, so that a card
    // that has hung never holds the caller); without an answer, nothing is served, and the
    // worker asks the file again and reports the picture ready once it answered unchanged.
    std::optional<PreparedPicture> takeIfReady(const PictureRequest& request);
    // The picture for `request`, loaded on the caller's thread when it was not read ahead. The
    // caller's load comes first: a read of another picture in progress is given up (and done
    // again later while still wanted) and no other read starts until it ends. The picture is
    // kept while it is wanted, so that it is not read again.
    PreparedPicture load(const PictureRequest& request);

    // The requests to read ahead, most wanted first; pictures of requests no longer wanted are
    // dropped, and a read of one no longer wanted, or of one less wanted than a picture still to
    // read, is given up.
    void want(std::vector<PictureRequest> requests);

    // How many pictures the worker has loaded so far.
    int loads() const;

  private:
    struct Entry {
        PictureRequest request;
        std::optional<ContentStamp> stamp;  // none: the file changed while it was read
        PreparedPicture picture;
        int read = 0;          // which read made it
        bool refused = false;  // did not fit in memory while more wanted pictures were held
        bool unasked = false;  // its file did not answer in time when taken; the worker asks it
    };

    static PreparedPicture loadForReadAhead(const PictureRequest& request,
                                            const std::atomic<bool>& cancelled);
    std::optional<PreparedPicture> served(std::unique_lock<std::mutex>& lock,
                                          const PictureRequest& request, bool patient);
    // The stamp of `path` if its file answers within a few milliseconds.
    std::optional<ContentStamp> stampSoon(const std::string& path);
    // Asks again the file of the picture held from read `read`, which did not answer in time:
    // reported ready when unchanged, dropped (to be read again) otherwise.
    void askAgain(std::unique_lock<std::mutex>& lock, int read);
    void work();
    const PictureRequest* nextToRead() const;
    bool wanted(const PictureRequest& request) const;
    void keep(const PictureRequest& request, const ContentStamp& before, PreparedPicture picture);
    void makeRoom();

    ReadyReport readyReport_;
    Loader load_;
    Stamper stamp_;
    // Stamps asked on workers of their own and not answered yet (shared with those threads).
    std::shared_ptr<std::atomic<int>> stampsAsked_ = std::make_shared<std::atomic<int>>(0);
    std::atomic<bool> cancelRead_{false};
    mutable std::mutex mutex_;
    std::condition_variable changed_;
    std::vector<PictureRequest> wanted_;
    std::vector<Entry> ready_;
    std::optional<PictureRequest> reading_;
    int callersLoading_ = 0;  // loads on callers' threads; the worker starts none meanwhile
    bool stopping_ = false;
    int loads_ = 0;
    int reads_ = 0;
    int reclaimer_ = -1;
    WorkerTask worker_;  // last: it is waited for before anything it uses goes
};

}  // namespace pictaria
