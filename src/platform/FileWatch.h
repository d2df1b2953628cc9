// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Tells when one file, known by its path text, is written, replaced or removed behind the
// program's back. A burst of changes (a file being saved, its time put back) is told once, after
// it has settled. A file replaced by another under its name is watched on.

#include <QFileSystemWatcher>
#include <QObject>
#include <QTimer>

#include <string>

namespace pictaria {

class FileWatch : public QObject {
    Q_OBJECT

  public:
    explicit FileWatch(QObject* parent = nullptr);

    // Watches `path` instead of the file watched so far; an empty path watches nothing, and so
    // does a file that is not there.
    void watch(const std::string& path);

  signals:
    void changed();

  private:
    void renew();

    QFileSystemWatcher watcher_;
    QTimer settling_;
    std::string path_;
};

}  // namespace pictaria
