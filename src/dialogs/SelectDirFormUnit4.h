// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The folder selection dialog: a drive selector, the folder tree, the files of the shown folder
// that match the filter, and "O K" / "Cancel" ending the dialog with 1 / 2. The folder shown is
// always the process's current folder.

#include <QDialog>

#include <string>
#include <vector>

class QComboBox;
class QLabel;
class QListWidget;
class QListWidgetItem;
class QPushButton;
class QFrame;
class QKeyEvent;

namespace pictaria {

class TSelectDirForm : public QDialog {
    Q_OBJECT

  public:
    explicit TSelectDirForm(QWidget* owner);

    // The folder the tree shows (path text; a drive root keeps its backslash).
    const std::string& chosenFolder() const { return shownFolder_; }
    // The names of the file list, in its order.
    std::vector<std::string> fileNames() const;

    // Shows `folder` in the tree and the file list and makes it the current folder.
    void openFolder(const std::string& folder);
    // Chooses entry `index` of the filter selector (0 pictures, 1 every file).
    void chooseFilter(int index);

    void reject() override;

  protected:
    void keyPressEvent(QKeyEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void buildControls();
    void fillDriveSelector();
    void fillFolderTree();
    void fillFileList();
    void DriveComboBox1Change(int index);
    void DirectoryListBox1DblClick(QListWidgetItem* item);
    void DirectoryListBox1Change();
    void Button1Click();
    void Button2Click();

    QFrame* Panel1 = nullptr;
    QComboBox* DriveComboBox1 = nullptr;       // the drives
    QComboBox* FilterComboBox1 = nullptr;      // the file filters
    QListWidget* DirectoryListBox1 = nullptr;  // the folder tree
    QListWidget* FileListBox1 = nullptr;       // the files of the folder shown
    QLabel* Label1 = nullptr;                  // the folder shown
    QLabel* Label2 = nullptr;
    QLabel* Label3 = nullptr;
    QPushButton* Button1 = nullptr;  // "O K"
    QPushButton* Button2 = nullptr;  // "Cancel"

    std::string shownFolder_;
    std::string mask_;
};

// The latest folder selection dialog (owned by the main window).
extern TSelectDirForm* SelectDirForm;

}  // namespace pictaria
