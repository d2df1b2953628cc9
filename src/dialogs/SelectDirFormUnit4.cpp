// SPDX-License-Identifier: GPL-3.0-or-later
#include "dialogs/SelectDirFormUnit4.h"

#include <QComboBox>
#include <QFrame>
#include <QKeyEvent>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

#include "dialogs/FolderBrowser.h"
#include "platform/DriveTable.h"
#include "platform/FileServices.h"
#include "platform/PathText.h"
#include "viewer/PictureKinds.h"
#include "widgets/TextBytes.h"
#include "widgets/WindowFont.h"

namespace pictaria {

TSelectDirForm* SelectDirForm = nullptr;

namespace {

constexpr int kPathRole = Qt::UserRole;

template <typename Widget>
Widget* place(Widget* widget, const char* name, int left, int top, int width, int height) {
    widget->setObjectName(name);
    widget->setGeometry(left, top, width, height);
    return widget;
}

QLabel* label(QWidget* parent, const char* name, const QString& caption, int left, int top,
              int width, int height) {
    return place(new QLabel(caption, parent), name, left, top, width, height);
}

QPushButton* button(QWidget* parent, const char* name, const QString& caption, int left, int top) {
    auto* b = place(new QPushButton(caption, parent), name, left, top, 75, 25);
    b->setAutoDefault(false);
    b->setDefault(false);
    return b;
}

QString driveCaption(const Drive& drive) {
    const QString letter = QString(QChar(drive.letter)).toLower() + ":";
    if (drive.hostRoot == "/") {
        return letter;
    }
    const std::size_t slash = drive.hostRoot.find_last_of('/');
    return letter + " [" + displayText(drive.hostRoot.substr(slash + 1)) + "]";
}

// The pairs "description|mask|description|mask" of a filter text.
std::vector<std::pair<QString, std::string>> filterEntries(const std::string& text) {
    std::vector<std::pair<QString, std::string>> entries;
    std::size_t start = 0;
    while (start < text.size()) {
        const std::size_t bar = text.find('|', start);
        const std::size_t next = bar == std::string::npos ? text.size() : text.find('|', bar + 1);
        const std::size_t end = next == std::string::npos ? text.size() : next;
        const std::string mask =
            bar == std::string::npos ? "*.*" : text.substr(bar + 1, end - bar - 1);
        entries.emplace_back(displayText(text.substr(start, std::min(bar, end) - start)), mask);
        start = end + 1;
    }
    return entries;
}

}  // namespace

TSelectDirForm::TSelectDirForm(QWidget* owner) : QDialog(owner) {
    setObjectName("SelectDirForm");
    setWindowTitle("フォルダ選択ダイアログ");
    setGeometry(230, 116, 379, 318);
    setFont(windowFont());
    buildControls();
    fillDriveSelector();
    chooseFilter(0);
    openFolder(currentDir());
    Label1->clear();  // shows a folder only after the user changed it
    DirectoryListBox1->setFocus(
        Qt::OtherFocusReason);  // the arrows walk the folders, not the drives
}

void TSelectDirForm::buildControls() {
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    Panel1 = new QFrame(this);
    Panel1->setObjectName("Panel1");
    layout->addWidget(Panel1);

    // As wide as the folder tree below it, so that a drive's label shows whole.
    DriveComboBox1 = place(new QComboBox(Panel1), "DriveComboBox1", 12, 8, 182, 18);
    FilterComboBox1 = place(new QComboBox(Panel1), "FilterComboBox1", 208, 8, 145, 20);
    DirectoryListBox1 = place(new QListWidget(Panel1), "DirectoryListBox1", 10, 39, 184, 137);
    FileListBox1 = place(new QListWidget(Panel1), "FileListBox1", 209, 39, 145, 137);
    Label3 = label(Panel1, "Label3", "ディレクトリボックス", 11, 178, 98, 12);
    Label1 = label(Panel1, "Label1", QString(), 11, 197, 297, 32);
    Label1->setWordWrap(true);
    Label1->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    Label2 = label(Panel1, "Label2",
                   "ディレクトリリストボックスをダブルクリックしてフォルダを選んでください", 8, 232,
                   354, 12);
    Button1 = button(Panel1, "Button1", "O K", 57, 251);
    Button2 = button(Panel1, "Button2", "Cancel", 172, 251);

    for (const auto& [description, mask] : filterEntries(std::string(BrowseFilter))) {
        FilterComboBox1->addItem(description, bytesOf(mask));
    }
    connect(DriveComboBox1, &QComboBox::activated, this, &TSelectDirForm::DriveComboBox1Change);
    connect(FilterComboBox1, &QComboBox::activated, this, &TSelectDirForm::chooseFilter);
    connect(DirectoryListBox1, &QListWidget::itemDoubleClicked, this,
            &TSelectDirForm::DirectoryListBox1DblClick);
    DirectoryListBox1->installEventFilter(this);  // Enter opens a folder as a double click does
    connect(Button1, &QPushButton::clicked, this, &TSelectDirForm::Button1Click);
    connect(Button2, &QPushButton::clicked, this, &TSelectDirForm::Button2Click);
}

void TSelectDirForm::fillDriveSelector() {
    const auto drives = activeDriveTable();
    for (const Drive& drive : drives->drives()) {
        DriveComboBox1->addItem(driveCaption(drive), QChar(drive.letter));
    }
}

std::vector<std::string> TSelectDirForm::fileNames() const {
    std::vector<std::string> names;
    for (int i = 0; i < FileListBox1->count(); ++i) {
        names.push_back(textOf(FileListBox1->item(i)->data(kPathRole)));
    }
    return names;
}

void TSelectDirForm::openFolder(const std::string& folder) {
    setCurrentDir(folder);  // an unreadable folder is still shown, empty
    shownFolder_ = folder;
    const int drive =
        DriveComboBox1->findData(QChar(folder.empty() ? 'C' : std::toupper(folder[0])));
    DriveComboBox1->setCurrentIndex(drive);
    fillFolderTree();
    fillFileList();
    DirectoryListBox1Change();
}

void TSelectDirForm::chooseFilter(int index) {
    FilterComboBox1->setCurrentIndex(index);
    mask_ = textOf(FilterComboBox1->itemData(index));
    if (!shownFolder_.empty()) {
        fillFileList();
    }
}

void TSelectDirForm::fillFolderTree() {
    DirectoryListBox1->clear();
    for (const FolderTreeRow& row : folderTreeRows(shownFolder_)) {
        auto* item = new QListWidgetItem(QString(row.depth * 2, ' ') + displayText(row.label));
        item->setData(kPathRole, bytesOf(row.path));
        item->setIcon(
            style()->standardIcon(row.onPath ? QStyle::SP_DirOpenIcon : QStyle::SP_DirClosedIcon));
        DirectoryListBox1->addItem(item);
        if (row.path == shownFolder_) {
            DirectoryListBox1->setCurrentItem(item);
        }
    }
}

void TSelectDirForm::fillFileList() {
    FileListBox1->clear();
    for (const std::string& name : listMatchingFiles(shownFolder_, mask_)) {
        auto* item = new QListWidgetItem(displayText(name));
        item->setData(kPathRole, bytesOf(name));
        FileListBox1->addItem(item);
    }
}

// Only a change of drive changes the folder: choosing the drive already shown keeps it.
void TSelectDirForm::DriveComboBox1Change(int index) {
    const QChar letter = DriveComboBox1->itemData(index).toChar();
    if (!shownFolder_.empty() && letter == QChar(shownFolder_[0]).toUpper()) {
        return;
    }
    openFolder(std::string{static_cast<char>(letter.toLatin1()), ':', '\\'});
}

void TSelectDirForm::DirectoryListBox1DblClick(QListWidgetItem* item) {
    if (item) {
        openFolder(textOf(item->data(kPathRole)));
    }
}

void TSelectDirForm::DirectoryListBox1Change() {
    Label1->setText(displayText(shownFolder_));
}

void TSelectDirForm::Button1Click() {
    done(1);
}

void TSelectDirForm::Button2Click() {
    done(2);
}

void TSelectDirForm::reject() {
    done(2);  // closing by the frame counts as Cancel
}

bool TSelectDirForm::eventFilter(QObject* watched, QEvent* event) {
    if (watched == DirectoryListBox1 && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            DirectoryListBox1DblClick(DirectoryListBox1->currentItem());
            return true;  // and the dialog does not end
        }
    }
    return QDialog::eventFilter(watched, event);
}

void TSelectDirForm::keyPressEvent(QKeyEvent* event) {
    // Neither Enter nor Escape ends this dialog; only its two buttons and the frame do.
    if (event->key() == Qt::Key_Escape) {
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
}

}  // namespace pictaria
