// SPDX-License-Identifier: GPL-3.0-or-later
// The folder pages and their grids: a click chooses the destination, a double click opens the
// page of its subfolders.

#include <QAction>
#include <QApplication>
#include <QPushButton>

#include "app/MainFormUnit1.h"
#include "navigator/FolderGrid.h"
#include "navigator/FolderPage.h"
#include "platform/FileServices.h"
#include "platform/PathText.h"
#include "widgets/CheckListBox.h"
#include "widgets/PageControl.h"
#include "widgets/PopupMenu.h"
#include "widgets/StatusBar.h"
#include "widgets/StringGrid.h"
#include "widgets/TextBytes.h"

namespace pictaria {

void TForm1::connectFolderPageEvents() {
    connect(StringGrid1, &StringGrid::selectCell, this, &TForm1::StringGrid1SelectCell);
    connect(StringGrid1, &StringGrid::clicked, this, &TForm1::StringGrid1Click);
    connect(StringGrid1, &StringGrid::doubleClicked, this, &TForm1::StringGrid1DblClick);
    connect(BitBtn9, &QPushButton::clicked, this, &TForm1::BitBtn9Click);
    connect(BitBtn10, &QPushButton::clicked, this, &TForm1::BitBtn10Click);
}

std::vector<FolderPage*> TForm1::folderPages() const {
    std::vector<FolderPage*> pages;
    for (int i = 0; i < PageControl1->pageCount(); ++i) {
        if (auto* page = qobject_cast<FolderPage*>(PageControl1->page(i))) {
            pages.push_back(page);
        }
    }
    return pages;
}

FolderPage* TForm1::frontFolderPage() const {
    return qobject_cast<FolderPage*>(PageControl1->activePage());
}

void TForm1::refreshFolderPages() {
    for (FolderPage* page : folderPages()) {
        if (directoryExists(page->path())) {
            page->showEntries(listPlainSubfolders(page->path()));
        }
    }
}

// From the last page to the first, so that each page is still there when it is looked at.
void TForm1::closePagesInside(const std::string& folder) {
    const std::vector<FolderPage*> pages = folderPages();
    for (auto page = pages.rbegin(); page != pages.rend(); ++page) {
        if ((*page)->liesInside(folder)) {
            delete *page;
        }
    }
}

void TForm1::OpenFolderPage(const std::string& path) {
    for (FolderPage* page : folderPages()) {
        if (page->path() == path) {
            delete page;
        }
    }
    auto* page = new FolderPage(path, FolderEntries.texts(),
                                QStringLiteral("Page%1").arg(PageCounter), PageControl1);
    PageControl1->addPage(page, displayText(pageCaption(path)));
    PageControl1->setActivePage(page);
    NewestSheet = page;
    NewestGrid = page->grid();
    PageGrids.add(path, NewestGrid);
    attachPopupMenu(*NewestGrid, *PopupMenu1);
    StringGrid* grid = NewestGrid;
    connect(grid, &StringGrid::selectCell, this, &TForm1::PageGridSelectCell);
    connect(grid, &StringGrid::clicked, this, [this, grid] { PageGridClick(grid); });
    connect(grid, &StringGrid::doubleClicked, this, &TForm1::StringGrid1DblClick);
    ++PageCounter;
    grid->markFirstCell();
    if (PageControl1->isAncestorOf(QApplication::focusWidget())) {
        grid->setFocus(Qt::OtherFocusReason);  // opened from a grid: the keys go on in the new one
    }
}

void TForm1::StringGrid1SelectCell(int col, int row) {
    SelectedCol = col;
    SelectedRow = row;
}

void TForm1::PageGridSelectCell(int col, int row) {
    SelectedCol = col;
    SelectedRow = row;
}

// The folder becomes the destination: it is listed with its preview, Change may move it, it
// gets a send key, and the status bar names it with its picture count.
void TForm1::showDestination(const std::string& folder) {
    CListBox2->clear();
    TargetFolder = folder;
    ScanTargetFolder();
    giveSendKey(folder);
    enableCommand(BitBtn10);
    StatusBar1->setSimpleText(destinationStatus(TargetFolder, PreviewCount));
}

void TForm1::StringGrid1Click() {
    try {
        CListBox2->clear();
        const std::string cell = StringGrid1->cells(SelectedCol, SelectedRow);
        if (cell.empty()) {
            return;
        }
        if (!drivesReady({cell})) {
            return;
        }
        showDestination(cell);
    } catch (...) {
        // A failed click leaves what it did so far; nothing is reported.
    }
}

void TForm1::PageGridClick(StringGrid* grid) {
    try {
        CListBox2->clear();
        const std::string cell = grid->cells(SelectedCol, SelectedRow);
        if (cell.empty()) {
            return;
        }
        const std::string folder = folderOfCell(grid->hint(), cell);
        if (!drivesReady({folder})) {
            return;
        }
        showDestination(folder);
        enableCommand(N3);
        enableCommand(N4);
    } catch (...) {
        // As above.
    }
}

void TForm1::StringGrid1DblClick() {
    FolderEntries.clear();
    if (TargetFolder.empty() || !drivesReady({TargetFolder})) {
        return;
    }
    for (std::string& name : listPlainSubfolders(TargetFolder)) {
        FolderEntries.add(std::move(name));
    }
    OpenFolderPage(TargetFolder);
}

void TForm1::BitBtn9Click() {
    QWidget* front = PageControl1->activePage();
    if (front && front != TabSheet1) {
        delete front;
    }
}

void TForm1::BitBtn10Click() {
    if (!TargetFolder.empty()) {
        SourceFolder = TargetFolder;
        CListBox1->clear();
        for (const auto& entry : PreviewPaths) {
            CListBox1->addName(extractFileName(entry.text));
        }
    }
    TargetFolder = extractFileDir(TargetFolder);
    StringGrid1DblClick();
    PreviewPaths.clear();
    BitBtn10->setEnabled(false);
}

}  // namespace pictaria
