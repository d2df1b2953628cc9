// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/FileWatch.h"

#include <QFile>

#include "platform/DriveTable.h"

namespace pictaria {

namespace {

constexpr int kSettleMs = 60;

}  // namespace

FileWatch::FileWatch(QObject* parent) : QObject(parent) {
    settling_.setSingleShot(true);
    settling_.setInterval(kSettleMs);
    connect(&watcher_, &QFileSystemWatcher::fileChanged, &settling_, [this] { settling_.start(); });
    connect(&settling_, &QTimer::timeout, this, [this] {
        renew();  // a file saved by renaming a new one over it is another file now
        emit changed();
    });
}

void FileWatch::watch(const std::string& path) {
    path_ = path;
    settling_.stop();
    renew();
}

void FileWatch::renew() {
    if (const QStringList watched = watcher_.files(); !watched.isEmpty()) {
        watcher_.removePaths(watched);
    }
    if (path_.empty()) {
        return;
    }
    if (const auto host = hostPathOf(path_)) {
        watcher_.addPath(QFile::decodeName(QByteArray::fromStdString(*host)));
    }
}

}  // namespace pictaria
