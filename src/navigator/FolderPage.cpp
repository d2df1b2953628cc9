// SPDX-License-Identifier: GPL-3.0-or-later
#include "navigator/FolderPage.h"

#include <QVBoxLayout>

#include "navigator/FolderGrid.h"
#include "widgets/StringGrid.h"
#include "widgets/TextBytes.h"

namespace pictaria {

namespace {

constexpr int kPageGridColWidth = 85;
constexpr int kPageGridRowHeight = 18;

}  // namespace

FolderPage::FolderPage(const std::string& path, const std::vector<std::string>& entries,
                       const QString& objectName, QWidget* parent)
    : QWidget(parent), grid_(new StringGrid(this)) {
    setObjectName(objectName);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(grid_);
    grid_->setColCount(kFolderGridColumns);
    grid_->setDefaultColWidth(kPageGridColWidth);
    grid_->setDefaultRowHeight(kPageGridRowHeight);
    setPath(path);
    fill(entries);
}

void FolderPage::setPath(const std::string& path) {
    path_ = path;
    setToolTip(displayText(path));
    grid_->setHint(path);
}

bool FolderPage::liesInside(const std::string& folder) const {
    return path_ == folder || path_.starts_with(folder + "\\");
}

void FolderPage::fill(const std::vector<std::string>& entries) {
    const auto rows = folderGridRows(entries);
    grid_->setRowCount(static_cast<int>(rows.size()));
    for (std::size_t row = 0; row < rows.size(); ++row) {
        for (std::size_t col = 0; col < rows[row].size(); ++col) {
            grid_->setCells(static_cast<int>(col), static_cast<int>(row), rows[row][col]);
        }
    }
}

}  // namespace pictaria
