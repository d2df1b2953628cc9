// SPDX-License-Identifier: GPL-3.0-or-later
// The folder pages and their grids: a click chooses the destination, a double click opens the
// page of its subfolders.

#include <QAction>
#include <QApplication>
#include <QPushButton>

#include <algorithm>

#include "app/MainFormUnit1.h"
#include "navigator/FolderGrid.h"
#include "navigator/FolderPage.h"
#include "platform/DirectorySearch.h"
#include "platform/DriveCheck.h"
#include "platform/FileServices.h"
#include "platform/PathText.h"
#include "viewer/DestinationScan.h"
#include "viewer/PaneReads.h"
#include "widgets/CheckListBox.h"
#include "widgets/ErrorReportingApplication.h"
#include "widgets/ImageControl.h"
#include "widgets/PageControl.h"
#include "widgets/Panel.h"
#include "widgets/PopupMenu.h"
#include "widgets/StatusBar.h"
#include "widgets/StringGrid.h"
#include "widgets/TextBytes.h"
#include "work/WorkQueues.h"

namespace pictaria {

namespace {

// What a listing of the destination brings back from its thread.
struct ListedDestination {
    DriveState drive;  // of a destination just chosen: not listed unless ready
    DestinationListing listing;
    bool enterable = false;  // the folder can be made the current one
};

// What a listing of a folder page brings back from its thread.
struct ListedSubfolders {
    std::optional<std::vector<std::string>> names;  // none: the folder is not there any more
    bool enterable = false;
};

constexpr char kDestinationListing[] = "destination";
constexpr char kBeingListed[] = " …";

std::string pageListing(const std::string& path) {
    return "page " + path;
}

}  // namespace

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
        listFolderPage(page, false, false);
    }
}

// A page opened shows nothing until its listing arrives; one listed afresh keeps what it shows
// meanwhile, and keeps it when its folder is gone.
void TForm1::listFolderPage(FolderPage* page, bool opening, bool tellSilent) {
    const std::string path = page->path();
    const QPointer<FolderPage> listed = page;
    work_->run<ListedSubfolders>(
        pageListing(path), volumeOf(path),
        [path](const JobContext&) {
            ListedSubfolders subfolders;
            if (directoryExists(path)) {
                subfolders.enterable = static_cast<bool>(enterableDir(path));
                subfolders.names = plainSubfoldersOf(path);
            }
            return subfolders;
        },
        [this, listed, path, opening](ListedSubfolders& subfolders) {
            if (!listed || listed->path() != path) {
                return;  // closed, or following a renamed folder: listed again by its new name
            }
            if (opening && subfolders.enterable) {
                adoptCurrentDir(path);
            }
            if (subfolders.names) {
                listed->showEntries(*subfolders.names);
            }
            if (opening && listed->grid()->currentRow() < 0) {
                listed->grid()->markFirstCell();
            }
        },
        [this, path, tellSilent] {
            if (tellSilent) {
                tellDriveSilent(path);
            }
        });
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

// The folder becomes the destination: it gets a send key (once the keyboard's pick rests on
// it); once it is listed with its preview, Change may move it and the status bar names it with
// its picture count.
void TForm1::showDestination(const std::string& folder) {
    CListBox2->clear();
    TargetFolder = folder;
    ScanTargetFolder();
    offerSendKey(folder);
}

// Lists the destination folder into the lower list and the preview cycle and shows its first
// previewable picture, or a blank preview. Until the listing arrives the list is empty, the
// preview blank and the status bar tells that the folder is being read. A failed listing
// shows an empty folder.
void TForm1::ScanTargetFolder() {
    listTargetFolder(std::nullopt);
}

// After a command changed the destination shown, its list, preview cycle and count follow the
// folder; the preview stays on its picture where that is still there. The list shows what it
// showed until then.
void TForm1::listDestinationAfresh() {
    if (TargetFolder.empty()) {
        return;
    }
    listTargetFolder(PreviewIndex < PreviewPaths.count() ? PreviewPaths[PreviewIndex]
                                                         : std::string());
}

void TForm1::listTargetFolder(const std::optional<std::string>& previewed) {
    const std::string folder = TargetFolder;
    // A listing of a destination just chosen that this one supersedes still enables Change.
    const bool chosen = !previewed || (destinationChosen_ && work_->pending(kDestinationListing));
    destinationChosen_ = chosen;
    if (!previewed) {
        PreviewIndex = 0;
        PreviewPaths.clear();
        PreviewCount = 0;
        readsFor(Image1).cancel();  // the last destination's pictures are no longer wanted
        BlankPreviewImage();
        BitBtn10->setEnabled(false);  // Change takes the listed pictures along
        std::erase(disabledForJob_, static_cast<QObject*>(BitBtn10));
        StatusBar1->setSimpleText(folder + kBeingListed);
    }
    // The count replaces what the status bar says now, not what a command told meanwhile.
    const std::string status = StatusBar1->simpleText();
    work_->run<ListedDestination>(
        kDestinationListing, volumeOf(folder),
        [folder, chosenNow = !previewed](const JobContext&) {
            ListedDestination listed;
            if (chosenNow) {
                listed.drive = driveStateOf(folder);
                if (listed.drive.kind != DriveState::Kind::Ready) {
                    return listed;
                }
            }
            listed.enterable = static_cast<bool>(enterableDir(folder));
            DirectorySearch search;
            listed.listing = scanDestination(folder, search);
            return listed;
        },
        [this, folder, previewed, chosen, status](ListedDestination& listed) {
            if (folder != TargetFolder) {
                return;  // another destination was chosen meanwhile
            }
            if (!tellUnlessReady(listed.drive)) {
                if (StatusBar1->simpleText() == status) {
                    StatusBar1->setSimpleText(folder);
                }
                return;
            }
            if (listed.enterable) {
                adoptCurrentDir(folder);
            }
            CListBox2->clear();
            CListBox2->addNames(listed.listing.listNames);
            PreviewIndex = 0;
            PreviewPaths.clear();
            for (const std::string& path : listed.listing.previewPaths) {
                PreviewPaths.add(path);
            }
            PreviewCount = PreviewPaths.count();
            std::optional<std::size_t> shown = firstPreviewIndex(listed.listing.previewPaths);
            if (const auto kept = previewed ? PreviewPaths.indexOf(*previewed) : -1; kept >= 0) {
                shown = static_cast<std::size_t>(kept);
            }
            if (StatusBar1->simpleText() == status) {
                StatusBar1->setSimpleText(destinationStatus(TargetFolder, PreviewCount));
            }
            if (chosen) {
                enableCommand(BitBtn10);
            }
            if (shown) {
                PreviewIndex = static_cast<int>(*shown);
                showPreviewLater(PreviewPaths[PreviewIndex], false);
                readPreviewAhead();
            } else {
                readsFor(Image1).cancel();
                BlankPreviewImage();
            }
        },
        [this, folder, status] {
            if (folder != TargetFolder) {
                return;  // no longer wanted: its drive is told when a listing on it is
            }
            if (StatusBar1->simpleText() == status) {
                StatusBar1->setSimpleText(folder);
            }
            tellDriveSilent(folder);
        });
}

void TForm1::StringGrid1Click() {
    try {
        CListBox2->clear();
        const std::string cell = StringGrid1->cells(SelectedCol, SelectedRow);
        if (cell.empty()) {
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
        showDestination(folderOfCell(grid->hint(), cell));
        enableCommand(N3);
        enableCommand(N4);
    } catch (...) {
        // As above.
    }
}

void TForm1::showPreviewLater(const std::string& path, bool tellFailure) {
    showInPane(Panel2->width(), Panel2->height(), Image1, path, tellFailure, {});
}

void TForm1::StringGrid1DblClick() {
    FolderEntries.clear();
    if (TargetFolder.empty() || !drivesReady({TargetFolder})) {
        return;
    }
    OpenFolderPage(TargetFolder);
    if (auto* page = qobject_cast<FolderPage*>(NewestSheet)) {
        listFolderPage(page, true, true);
    }
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
