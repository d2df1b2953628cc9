// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// One tab page of the folder navigator: a five-column grid of the subfolders of one folder. The
// page's path is kept as the page's and the grid's hint, so the pointer resting on the grid
// shows it; the grid's copy is the one its click handler reads.

#include <QWidget>

#include <string>
#include <vector>

namespace pictaria {

class StringGrid;

class FolderPage : public QWidget {
    Q_OBJECT

  public:
    // A page named `objectName` showing `entries` (bare subfolder names) of `path`.
    FolderPage(const std::string& path, const std::vector<std::string>& entries,
               const QString& objectName, QWidget* parent = nullptr);

    const std::string& path() const { return path_; }
    void setPath(const std::string& path);
    StringGrid* grid() const { return grid_; }

    // Shows `entries` in place of what the grid showed.
    void showEntries(const std::vector<std::string>& entries) { fill(entries); }

    // True when the page shows `folder` or a folder below it.
    bool liesInside(const std::string& folder) const;

  private:
    void fill(const std::vector<std::string>& entries);

    std::string path_;
    StringGrid* grid_;
};

}  // namespace pictaria
