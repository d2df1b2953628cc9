// Copy, move, delete and renaming of the ticked files of the source list.

#include <QAction>
#include <QPushButton>

#include "app/CheckListTickList.h"
#include "app/MainFormUnit1.h"
#include "app/NameQuestion.h"
#include "fileops/AttachText.h"
#include "fileops/BatchCommands.h"
#include "platform/FileServices.h"
#include "platform/MessageSink.h"
#include "platform/PathText.h"
#include "widgets/CheckListBox.h"
#include "widgets/PointerMoves.h"
#include "widgets/TextBytes.h"

namespace pictaria {

namespace {

constexpr char kAttachTextPrompt[] = "追加する文字を、入力してください。";

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
    if (refused(TransferMode::Copy, SourceFolder, TargetFolder)) {
        return;
    }
    CheckListTickList list(*CListBox1);
    tellFailures(copyTicked(list, SourceFolder, TargetFolder, UniqueNameCounter));
}

void TForm1::BitBtn3Click() {
    if (refused(TransferMode::Move, SourceFolder, TargetFolder)) {
        return;
    }
    CheckListTickList list(*CListBox1);
    tellFailures(moveTicked(list, SourceFolder, TargetFolder, UniqueNameCounter));
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
    BitBtn2->setToolTip(displayText(copyHint(TargetFolder)));
}

void TForm1::BitBtn3MouseMove() {
    BitBtn3->setToolTip(displayText(moveHint(TargetFolder)));
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
