// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The main window: the source list with its large view above, the folder pages with the
// destination preview below, and the state every command shares.
//
// The controls keep their numbered names (as object names, too); handlers are named after the
// control and the event. The handler definitions are grouped by subsystem:
//   MainFormUnit1.cpp           construction, life cycle, the about message
//   MainFormLayout.cpp          the control tree and the popup menus
//   MainFormViewing.cpp         the source list, the large view and the destination preview
//   MainFormFolderPages.cpp     the folder pages and their grids
//   MainFormFolderCommands.cpp  new, delete, rename and move of folders
//   MainFormFileCommands.cpp    copy, move, delete and renaming of ticked files
//   MainFormAids.cpp            auto scroll, slide show, duplicate search

#include <QMainWindow>
#include <QPointer>

#include <deque>
#include <functional>
#include <initializer_list>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "app/CommandAtWork.h"
#include "app/SourcePick.h"
#include "fileops/FileBatch.h"
#include "fileops/FileOutcome.h"
#include "fileops/UndoHistory.h"
#include "fileops/UndoStep.h"
#include "navigator/SendKeys.h"
#include "platform/StringList.h"
#include "viewer/PictureDisplay.h"

class QAction;
class QListWidgetItem;
class QCheckBox;
class QLabel;
class QMenu;
class QPushButton;
class QSpinBox;

namespace pictaria {

namespace test {
class MainWindowProbe;
}

class CheckListBox;
struct DriveState;
class ElidedLabel;
class FolderPage;
class ImageControl;
class PageControl;
class Panel;
class ScrollBox;
class SplitterBar;
class StatusBar;
class StringGrid;
class TSelectDirForm;
class FileJob;
class FileWatch;
class WorkQueues;
class PaneReads;
class PictureReadAhead;
class ProgressWindow;
struct FolderOutcome;
enum class TransferMode;
class Timer;

class TForm1 : public QMainWindow {
    Q_OBJECT

  public:
    explicit TForm1(QWidget* parent = nullptr);
    ~TForm1() override;

    // Controls, in the order of the control tree.
    StatusBar* StatusBar1 = nullptr;
    Panel* Panel3 = nullptr;
    Panel* Panel1 = nullptr;
    CheckListBox* CListBox1 = nullptr;  // the source list (upper left)
    CheckListBox* CListBox2 = nullptr;  // the destination list (beside the buttons)
    QPushButton* BitBtn1 = nullptr;     // "Select Folder" (hidden)
    QPushButton* BitBtn2 = nullptr;     // "Copy"
    QPushButton* BitBtn3 = nullptr;     // "Move"
    QPushButton* BitBtn4 = nullptr;     // "Delet"
    QPushButton* BitBtn5 = nullptr;     // "Open"
    QPushButton* BitBtn6 = nullptr;     // "Clear"
    QPushButton* BitBtn7 = nullptr;     // "Out"
    QPushButton* BitBtn9 = nullptr;     // "ページを閉じる"
    QPushButton* BitBtn10 = nullptr;    // "Change"
    QPushButton* BitBtn11 = nullptr;    // "文字を添付"
    QPushButton* BitBtn12 = nullptr;    // "Slide"
    QPushButton* BitBtn13 = nullptr;    // "Auto Scroll"
    QPushButton* BitBtn14 = nullptr;    // "Serach Same Picture" (hidden)
    QPushButton* BitBtn15 = nullptr;    // "Same Picture" (hidden)
    QCheckBox* CheckBox1 = nullptr;     // "Auto Check"
    QSpinBox* CSpinEdit1 = nullptr;     // the auto scroll's seconds
    Panel* Panel4 = nullptr;
    ElidedLabel* Label1 = nullptr;  // the picked source name
    ScrollBox* ScrollBox1 = nullptr;
    ImageControl* Image2 = nullptr;  // the large picture
    SplitterBar* Splitter1 = nullptr;
    Panel* Panel5 = nullptr;
    PageControl* PageControl1 = nullptr;  // the folder pages
    QWidget* TabSheet1 = nullptr;         // the drive page
    StringGrid* StringGrid1 = nullptr;    // the drive grid ("マイコンピュータ")
    Panel* Panel2 = nullptr;
    ImageControl* Image1 = nullptr;  // the destination preview
    ElidedLabel* Label2 = nullptr;   // the picked destination name
    QPushButton* BitBtn8 = nullptr;  // "Next"
    Timer* Timer1 = nullptr;         // auto scroll

    QMenu* PopupMenu1 = nullptr;    // the folder pages' menu
    QAction* N1 = nullptr;          // "メニュー"
    QAction* N2 = nullptr;          // "新規フォルダ作成"
    QAction* N3 = nullptr;          // "フォルダ削除"
    QAction* N4 = nullptr;          // "フォルダ名前変更"
    QAction* N5 = nullptr;          // "フォルダ移動"
    QMenu* PopupMenu2 = nullptr;    // the source list's menu
    QAction* Delete1 = nullptr;     // "Delete"
    QAction* CopyRight1 = nullptr;  // "Copy Right"
    QAction* Undo1 = nullptr;       // "元に戻す" (Ctrl+Z)
    QAction* Redo1 = nullptr;       // no menu entry: Ctrl+Shift+Z does the last undone again
    QMenu* PopupMenu3 = nullptr;    // the large picture's menu
    QAction* N6 = nullptr;          // "メニュー"
    QAction* N7 = nullptr;          // "縮小して表示"
    QAction* N8 = nullptr;          // "等倍で表示"

    // Life cycle.
    void FormCreate();
    void FormDestroy();
    void FormResize();
    void FormActivate();

    // Command handlers: the about message and the hidden folder button.
    void CopyRight1Click();
    void BitBtn1Click();

    // Viewing: the source list, the large view and the destination preview.
    void BitBtn5Click();
    void CListBox1Click();
    void Image2Click();
    void N7Click();
    void N8Click();
    void ScanTargetFolder();
    void BlankPreviewImage();
    void BitBtn8Click();
    void CListBox2Click();

    // Folder pages.
    void OpenFolderPage(const std::string& path);
    void StringGrid1SelectCell(int col, int row);
    void PageGridSelectCell(int col, int row);
    void StringGrid1Click();
    void PageGridClick(StringGrid* grid);
    void StringGrid1DblClick();
    void BitBtn9Click();
    void BitBtn10Click();
    // The folder pages in tab order (the drive page is not one), and the one in front if any.
    std::vector<FolderPage*> folderPages() const;
    // Closes the pages of a folder and of everything below it.
    void closePagesInside(const std::string& folder);
    FolderPage* frontFolderPage() const;
    // Lists the folder of every open page afresh, after folders changed under it.
    void refreshFolderPages();

    // Folder commands of the page grids' menu.
    void N2Click();
    void N3Click();
    void N4Click();
    void N5Click();

    // Commands on the ticked files.
    void BitBtn2Click();
    void BitBtn3Click();
    void BitBtn4Click();
    void BitBtn6Click();
    void BitBtn7Click();
    void Delete1Click();
    void BitBtn2MouseMove();
    void BitBtn3MouseMove();
    void BitBtn11Click();
    // Takes the last file or folder command back ("元に戻す", Ctrl+Z), or does the last one
    // taken back again (Ctrl+Shift+Z).
    void Undo1Click();
    void Redo1Click();

    // Viewing aids.
    void BitBtn12Click();
    void BitBtn13Click();
    void Timer1Timer();
    void CListBox1MouseMove(Qt::MouseButtons buttons, const QPoint& point);
    void BitBtn14Click();
    void BitBtn15Click();
    // The slide show's next picture, read ahead for its pane.
    void readAheadForSlideShow(int paneWidth, int paneHeight, ImageControl* image,
                               const std::string& path);
    // Pictures beyond the one picked are read ahead unless this is switched off (as a benchmark
    // does, to compare).
    void setReadingAhead(bool on) { readingAhead_ = on; }

    // Shows a picture file fitted into a pane of the given size (or at actual size, after
    // ShrinkToFit) once it is read on its volume's queue, unless the same image was asked for
    // another picture meanwhile; then tells `shown` (also when the volume does not answer).
    // What went wrong loading it is told before `shown`.
    void ShowPicture(int paneWidth, int paneHeight, ImageControl* image, const std::string& path,
                     std::function<void()> shown = {});

    // True while a file or folder command runs on a worker, or its drives are being asked; the
    // commands that would change the same files or the list are disabled meanwhile.
    bool jobRunning() const;

    // Lists the drives of the active drive table in the drive grid again: a card inserted
    // while the program runs takes the next row.
    void showNewDrives();

    // What "Open" does once a folder is chosen: the folder becomes the source and its files
    // fill the source list, unticked. The large view keeps its picture.
    void openSourceFolder(const std::string& folder, const std::vector<std::string>& names);
    // Makes the folder the destination, as a click on its cell in a folder grid does once its
    // drive answered. It is listed off the window's thread: the list, the preview and the count
    // follow when the listing arrives.
    void showDestination(const std::string& folder);
    // The destination's pictures, as the slide show plays them.
    std::vector<std::string> previewPathTexts() const;

  protected:
    void resizeEvent(QResizeEvent* event) override;
    void changeEvent(QEvent* event) override;

  private:
    // Tests set the window up and read its state through this.
    friend class test::MainWindowProbe;

    // The window's state, shared by the handlers.
    int PreviewIndex = 0;
    int PreviewCount = 0;
    StringList FolderEntries;
    StringList PageGrids;  // folder page path paired with its grid (not owned)
    QWidget* NewestSheet = nullptr;
    StringGrid* NewestGrid = nullptr;
    std::string SourceFolder;
    std::string TargetFolder;
    StringList PreviewPaths;

    // Values shared by the whole process; the process has exactly one main window.
    bool ShrinkToFit = true;
    int PageCounter = 1;
    int SelectedCol = 0;
    int SelectedRow = 0;
    int UniqueNameCounter = 2;
    std::string CurrentPicturePath;

    void buildControls();
    void buildUpperHalf();
    void buildCommandButtons();
    void buildLowerHalf();
    void buildMenus();
    void connectEvents();
    void connectViewingEvents();
    void connectFolderPageEvents();
    void connectFolderCommandEvents();
    void connectFileCommandEvents();
    void connectAidEvents();
    void connectUndoEvents();
    void scanDrives();
    // False, after telling the user why, when the drive of one of the paths is not the volume
    // its letter was given to or does not answer.
    bool drivesReady(std::initializer_list<std::string_view> paths);
    // The same asked off the window's thread: `then` runs once every drive is ready, with
    // whether each path is a folder now; `otherwise` once the user was told why one is not.
    void whenDrivesReady(std::vector<std::string> paths,
                         std::function<void(const std::vector<bool>& folders)> then,
                         std::function<void()> otherwise = {});
    int drivesBeingChecked_ = 0;
    unsigned driveChecks_ = 0;
    // A command's job is running (jobRunning also counts a command whose drives are asked).
    bool jobAtWork() const;
    // True when the last show of `path` in `image` failed with a load error: showing it again
    // for a resize would only repeat the error message.
    bool failedToLoad(const ImageControl* image, const std::string& path) const;
    // Replaces the folder selection dialog with a new one; the previous one is freed.
    TSelectDirForm* newFolderDialog();

    void assignShortcuts();
    // A button's hint followed by its key, as its tooltip shows it.
    QString withShortcut(QPushButton* button, const QString& hint) const;
    std::map<const QPushButton*, QString> shortcutHints_;

    using ListChange = CommandAtWork::ListChange;
    ListChange listChangeOf(const UndoStep& step);
    void startTransfer(TransferMode mode);
    void startDelete(bool wholeList);
    void deleteItems(std::vector<BatchItem> items, bool emptyListAfter);
    bool beginCommand(const std::vector<BatchItem>& items);
    void beginOn(std::map<int, CommandAtWork::Entry> entries);
    // `folders`: those whose files the job changes; the destination is listed afresh after a
    // job that changed it.
    void runJob(std::unique_ptr<FileBatch> batch, const char* label, ListChange change,
                std::vector<std::string> folders, CommandAtWork::AfterJob afterJob);
    std::unique_ptr<ProgressWindow> stoppableProgressWindow(const QString& label,
                                                            std::function<void()> onStop);
    void listDestinationAfresh();
    // Lists the destination on a thread of its own; the list, preview cycle and count follow
    // when its answer arrives, if the destination is still the one listed. `previewed`: the
    // picture to stay on if it is still there; without one, the listing is of a destination
    // newly chosen, whose Change waits for it.
    void listTargetFolder(const std::optional<std::string>& previewed);
    // Lists a folder page's subfolders on a thread of their own; the page shows them when they
    // arrive, if it is still open on the same folder. `opening`: the page was just opened;
    // `tellSilent`: a drive that does not answer is told.
    void listFolderPage(FolderPage* page, bool opening, bool tellSilent);
    // Tells the user that the drive of `folder` does not answer.
    void tellDriveSilent(const std::string& folder);
    // Tells why a drive cannot be used; true, telling nothing, when it is ready.
    bool tellUnlessReady(const DriveState& state);
    // Shows the picture at `path` in the destination preview once it is read off the window's
    // thread, unless another was asked for meanwhile; one read ahead is shown at once. A picture
    // that cannot be shown is told only when `tellFailure` (a pick; a listing tells nothing).
    void showPreviewLater(const std::string& path, bool tellFailure);
    void showInPane(int paneWidth, int paneHeight, ImageControl* image, const std::string& path,
                    bool tellFailure, std::function<void()> shown);
    // Work that can wait on a volume runs here, never on the window's thread.
    WorkQueues* work_ = nullptr;
    // The destination listing on its way is of a destination newly chosen.
    bool destinationChosen_ = false;
    void applyOutcome(int entry, const FileOutcome& outcome);
    void showJobProgress(const BatchProgress& progress);
    void endJob();
    void tellJobFailures();
    static void tellLeftoversKept(int kept, const std::string& folder);
    void setJobCommandsEnabled(bool enabled);
    void enableCommand(QObject* command);

    std::map<const ImageControl*, std::string> unloadable_;

    UndoHistory history_;
    // Records a step; the mounts of its folders are asked unless the command noted them.
    void remember(UndoStep step, const FolderMounts& known = {});
    FolderMounts jobMounts_;  // noted by the file command that ended last
    void runHistoryStep(UndoHistory::Way way);
    static std::vector<std::string> drivesOf(const UndoStep& step);
    void runTakenStep(UndoHistory::Way way);
    bool droppedForAnotherVolume(UndoHistory::Way way);
    void newFolderIn(FolderPage& page, const std::string& name);
    void whenFolderReady(const std::string& folder, FolderPage* page,
                         std::function<void(FolderPage&)> then);
    void deleteTargetFolder(FolderPage& page);
    void renameTargetFolder(FolderPage& page, const std::string& name);
    void moveFolderInto(const std::string& moving, const std::string& destination);
    // The folder move at work (the progress window is there while it runs).
    void beginFolderMove();
    void endFolderMove();
    void folderMoved(const std::string& moving, const std::string& destination,
                     const FolderOutcome& outcome, const std::string& movedTo);
    std::unique_ptr<ProgressWindow> folderMoveProgress_;
    void updateUndoEntry();
    UndoStep stepOfJob(UndoKind kind, const std::string& source, const std::string& target) const;
    void putEntriesBack(const UndoStep& step, const std::map<int, FileOutcome>& outcomes);
    void followFoldersBack(const UndoStep& step, const std::map<int, FileOutcome>& outcomes);
    void tellUndoOutcome(const UndoStep& step, const std::map<int, FileOutcome>& outcomes);

    void showLatestPick(bool& pending, std::function<void()> show);
    // A click shows the pick before it returns; a key leaves a picture not read ahead to the
    // read-ahead. The auto scroll and a resize show it as a click does, but are no pick of the
    // user's: the duplicate search's reference stays.
    enum class PickedBy { Click, Key, Program };
    void showSourcePick(PickedBy by);
    PictureRequest sourceRequest(const std::string& path) const;
    void presentSourcePicture(const PictureRequest& request, const PreparedPicture& prepared);
    void emptyLargeView();
    void pictureReadAhead(const PictureRequest& request);
    void followSourceListChanges();
    int pickedRow() const;
    void followPickRenamed(const QListWidgetItem* entry, const std::string& name);
    void scrollTo(int index);
    // Send keys: the photograph shown goes to a destination chosen lately, by one key.
    // A send waits in line from its key on; it goes once its drives answered (`ready`).
    struct PendingSend {
        QListWidgetItem* entry;
        std::string folder;
        TransferMode mode;
        unsigned ticket = 0;
        bool ready = false;
    };
    PendingSend* pendingSend(unsigned ticket);
    void dropPendingSend(unsigned ticket);
    unsigned sendTickets_ = 0;
    void buildSendKeys();
    void updateSendMenu();
    void giveSendKey(const std::string& folder);
    void offerSendKey(const std::string& folder);
    void restSendKey();
    void sendShown(int key, TransferMode mode);
    void pickNextAfter(const QListWidgetItem* sent);
    void startNextSend();
    void dropPendingSends();
    void forgetPendingSend(const QListWidgetItem* entry);
    void runTransfer(TransferMode mode, std::vector<BatchItem> items, const std::string& target,
                     std::function<void()> afterJob);
    SendKeys sendKeys_;
    QMenu* sendMenu_ = nullptr;
    std::deque<PendingSend> pendingSends_;

    // The entry shown in the large view and the picture awaited for it; its file is watched.
    SourcePick sourcePick_;
    FileWatch* shownFile_ = nullptr;
    void readAheadAround(int picked);
    int nextPreviewIndex(int index) const;
    void updateReadAhead();
    void readPreviewAhead();
    // Pictures read ahead for the large view and for the preview's "Next".
    std::unique_ptr<PictureReadAhead> readAhead_;
    std::vector<PictureRequest> sourceReadAhead_;
    // The pictures of the other panes (the preview, the slide show), by image.
    PaneReads& readsFor(ImageControl* image);
    std::map<const ImageControl*, std::unique_ptr<PaneReads>> paneReads_;
    int lastSourcePick_ = -1;
    int sourceDirection_ = 1;  // the way the user travels the list: +1 down, -1 up
    int pickReadAgain_ = 0;    // times the pick's picture was read again, changed when taken
    bool readingAhead_ = true;
    bool previewPickPending_ = false;
    CommandAtWork command_;
    // The commands the running job disabled, enabled again at its end.
    std::vector<QObject*> disabledForJob_;
    QPointer<TSelectDirForm> folderDialog_;
};

// The main window of the process.
extern TForm1* Form1;

}  // namespace pictaria
