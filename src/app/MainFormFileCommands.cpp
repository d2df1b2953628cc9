// Copy, move, delete and renaming of the ticked files of the source list.

#include <QAction>
#include <QApplication>
#include <QPushButton>

#include "app/CheckListTickList.h"
#include "app/MainFormUnit1.h"
#include "app/NameQuestion.h"
#include "fileops/AttachText.h"
#include "fileops/BatchCommands.h"
#include "fileops/TransferJob.h"
#include "platform/FileServices.h"
#include "platform/MessageSink.h"
#include "platform/PathText.h"
#include "widgets/CheckListBox.h"
#include "widgets/PointerMoves.h"
#include "widgets/ProgressWindow.h"
#include "widgets/TextBytes.h"

namespace pictaria {

namespace {

constexpr char kAttachTextPrompt[] = "追加する文字を、入力してください。";
constexpr char kCopyingLabel[] = "写真をコピーしています…";
constexpr char kMovingLabel[] = "写真を移動しています…";
constexpr char kStopCaption[] = "停止";
constexpr int kShowProgressAfterMs = 500;

// The file commands tell nothing themselves: what failed is told here, once per command.
void tellFailures(const std::vector<FileOutcome>& outcomes) {
    if (const auto report = failureReport(outcomes)) {
        showMessage(*report);
    }
}

bool refused(TransferMode mode, const std::string& sourceFolder, const std::string& targetFolder) {
    if (const char* refusal = sameFolderRefusal(mode, sourceFolder, targetFolder)) {
        showMessage(refusal);
        return true;
    }
    return false;
}

bool askDeleteForGood(std::size_t files) {
    return messageSink().confirm(std::to_string(files) + kDeleteForGoodFilesQuestion);
}

}  // namespace

void TForm1::connectFileCommandEvents() {
    connect(BitBtn2, &QPushButton::clicked, this, &TForm1::BitBtn2Click);
    connect(BitBtn3, &QPushButton::clicked, this, &TForm1::BitBtn3Click);
    connect(BitBtn4, &QPushButton::clicked, this, &TForm1::BitBtn4Click);
    connect(BitBtn6, &QPushButton::clicked, this, &TForm1::BitBtn6Click);
    connect(BitBtn7, &QPushButton::clicked, this, &TForm1::BitBtn7Click);
    connect(BitBtn11, &QPushButton::clicked, this, &TForm1::BitBtn11Click);
    connect(Delete1, &QAction::triggered, this, &TForm1::Delete1Click);
    onPointerMove(*BitBtn2, [this] { BitBtn2MouseMove(); });
    onPointerMove(*BitBtn3, [this] { BitBtn3MouseMove(); });
}

void TForm1::BitBtn2Click() {
    startTransfer(TransferMode::Copy);
}

void TForm1::BitBtn3Click() {
    startTransfer(TransferMode::Move);
}

bool TForm1::jobRunning() const {
    return job_ && job_->running();
}

// Copy and Move run on a worker thread. The list is changed here, on the window's thread, as
// each file's outcome arrives, so that it always shows what is on the disk.
void TForm1::startTransfer(TransferMode mode) {
    if (jobRunning() || refused(mode, SourceFolder, TargetFolder)) {
        return;
    }
    CheckListTickList list(*CListBox1);
    std::vector<TransferItem> items = tickedItems(list);
    if (items.empty()) {
        return;
    }
    jobEntries_.clear();
    jobOutcomes_.clear();
    for (const TransferItem& item : items) {
        jobEntries_[item.entry] = CListBox1->item(item.entry);
    }
    job_ = new TransferJob(
        TransferBatch(mode, SourceFolder, TargetFolder, std::move(items), UniqueNameCounter), this);
    connect(job_, &TransferJob::fileHandled, this,
            [this, mode](int entry, const FileOutcome& outcome) {
                applyOutcome(mode, entry, outcome);
            });
    connect(job_, &TransferJob::progressed, this,
            [this, mode](const TransferProgress& progress) { showJobProgress(mode, progress); });
    connect(job_, &TransferJob::finished, this, &TForm1::endTransfer);
    setJobCommandsEnabled(false);
    QApplication::setOverrideCursor(Qt::BusyCursor);
    QPointer<TransferJob> job = job_;
    jobProgress_ = std::make_unique<ProgressWindow>(this, QString(), kShowProgressAfterMs,
                                                    QString::fromUtf8(kStopCaption), [job] {
                                                        if (job) {
                                                            job->stop();
                                                        }
                                                    });
    jobClock_.start();
    job_->start();
}

void TForm1::applyOutcome(TransferMode mode, int entry, const FileOutcome& outcome) {
    jobOutcomes_.push_back(outcome);
    QListWidgetItem* item = jobEntries_[entry];
    const int row = item ? CListBox1->row(item) : -1;
    if (mode == TransferMode::Move && outcome.done() && row >= 0) {
        CListBox1->removeAt(row);
    }
}

void TForm1::showJobProgress(TransferMode mode, const TransferProgress& progress) {
    const double seconds = std::max(0.001, jobClock_.elapsed() / 1000.0);
    const double megabytes = 1e-6;
    const QString label =
        QString::fromUtf8(mode == TransferMode::Copy ? kCopyingLabel : kMovingLabel) +
        QStringLiteral("\n%1 / %2 枚    %3 / %4 MB    %5 MB/s\n")
            .arg(progress.filesDone)
            .arg(progress.filesTotal)
            .arg(progress.bytesDone * megabytes, 0, 'f', 1)
            .arg(progress.bytesTotal * megabytes, 0, 'f', 1)
            .arg(progress.bytesDone * megabytes / seconds, 0, 'f', 1) +
        displayText(progress.current);
    jobProgress_->setLabel(label);
    jobProgress_->report(progress.bytesDone, progress.bytesTotal);
}

void TForm1::endTransfer(int uniqueNameCounter) {
    UniqueNameCounter = uniqueNameCounter;
    if (job_) {
        job_->deleteLater();  // not running any more: commands are enabled at once from here on
    }
    jobProgress_.reset();
    QApplication::restoreOverrideCursor();
    setJobCommandsEnabled(true);
    tellFailures(jobOutcomes_);
}

// The commands that change the files of the job or the list it works on wait for its end; the
// pictures can still be looked at meanwhile.
void TForm1::setJobCommandsEnabled(bool enabled) {
    if (!enabled) {
        disabledForJob_.clear();
        for (QWidget* button : std::initializer_list<QWidget*>{
                 BitBtn2, BitBtn3, BitBtn4, BitBtn5, BitBtn7, BitBtn10, BitBtn11, BitBtn12}) {
            if (button->isEnabled()) {
                button->setEnabled(false);
                disabledForJob_.push_back(button);
            }
        }
        for (QAction* action : {Delete1, N2, N3, N4, N5}) {
            if (action->isEnabled()) {
                action->setEnabled(false);
                disabledForJob_.push_back(action);
            }
        }
        return;
    }
    for (QObject* control : std::exchange(disabledForJob_, {})) {
        enableCommand(control);
    }
}

// While a job runs, a command that a click would enable (Change and the folder commands, after
// a destination is picked) waits for the job's end: it could clear the list the job reports to,
// or change the folders it works in.
void TForm1::enableCommand(QObject* command) {
    if (jobRunning()) {
        if (std::find(disabledForJob_.begin(), disabledForJob_.end(), command) ==
            disabledForJob_.end()) {
            disabledForJob_.push_back(command);
        }
        return;
    }
    if (auto* widget = qobject_cast<QWidget*>(command)) {
        widget->setEnabled(true);
    } else if (auto* action = qobject_cast<QAction*>(command)) {
        action->setEnabled(true);
    }
}

void TForm1::BitBtn4Click() {
    CheckListTickList list(*CListBox1);
    tellFailures(deleteTicked(list, SourceFolder, askDeleteForGood));
}

void TForm1::BitBtn6Click() {
    CheckListTickList list(*CListBox1);
    clearTicks(list);
}

void TForm1::BitBtn7Click() {
    CheckListTickList list(*CListBox1);
    removeTickedEntries(list);
}

void TForm1::Delete1Click() {
    CheckListTickList list(*CListBox1);
    tellFailures(deleteAllListed(list, SourceFolder, askDeleteForGood));
}

void TForm1::BitBtn2MouseMove() {
    BitBtn2->setToolTip(withShortcut(BitBtn2, displayText(copyHint(TargetFolder))));
}

void TForm1::BitBtn3MouseMove() {
    BitBtn3->setToolTip(withShortcut(BitBtn3, displayText(moveHint(TargetFolder))));
}

// Puts a text in front of the names of the ticked files; the destination's name is offered.
void TForm1::BitBtn11Click() {
    const auto text = askName(this, kAttachTextPrompt, extractFileName(TargetFolder));
    if (!text || !directoryExists(TargetFolder) || text->empty()) {
        return;
    }
    CheckListTickList list(*CListBox1);
    attachTextToTicked(list, SourceFolder, *text);
}

}  // namespace pictaria
