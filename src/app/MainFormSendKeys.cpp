// SPDX-License-Identifier: GPL-3.0-or-later
// Send keys: Alt+1 … Alt+9 move the photograph shown in the large view, ticked or not, to one of
// the destinations chosen lately, as a Move of that one entry would, and show the next entry at
// once; Shift+Alt with the number copies it. The keys and their folders are listed in the source
// list's menu under "送る". Photographs sent while a command still runs wait for it in turn.

#include <QAction>
#include <QApplication>
#include <QMenu>

#include <algorithm>

#include "app/MainFormUnit1.h"
#include "fileops/BatchCommands.h"
#include "platform/FileServices.h"
#include "platform/MessageSink.h"
#include "platform/PathText.h"
#include "widgets/CheckListBox.h"
#include "widgets/PageControl.h"
#include "widgets/StatusBar.h"
#include "widgets/TextBytes.h"

namespace pictaria {

namespace {

constexpr char kSendMenuCaption[] = "送る";
constexpr char kNoSendKeysHint[] = "行き先を選ぶと、Alt+数字で写真を送れます";
constexpr char kFolderGoneMessage[] = " はありません。";
constexpr char kSendWaitsText[] = "この写真は、今の操作が終わってから送れます。";
constexpr char kMovedText[] = " に移動しました";
constexpr char kCopiedText[] = " にコピーしました";

QString sendCaption(int key, const std::string& folder) {
    return QStringLiteral("Alt+%1  ").arg(key) + displayText(folder);
}

}  // namespace

void TForm1::buildSendKeys() {
    sendMenu_ = PopupMenu2->addMenu(QString::fromUtf8(kSendMenuCaption));
    sendMenu_->setObjectName("SendMenu");
    for (int key = 1; key <= SendKeys::kKeys; ++key) {
        const auto digit = static_cast<Qt::Key>(Qt::Key_0 + key);
        auto* move = new QAction(this);
        move->setShortcut(QKeySequence(Qt::ALT | digit));
        auto* copy = new QAction(this);
        copy->setShortcut(QKeySequence(Qt::ALT | Qt::SHIFT | digit));
        for (QAction* action : {move, copy}) {
            action->setShortcutContext(Qt::WindowShortcut);
            action->setAutoRepeat(false);  // a key held down sends once, not once per repeat
            addAction(action);             // the keys work without the menu open
        }
        connect(move, &QAction::triggered, this,
                [this, key] { sendShown(key, TransferMode::Move); });
        connect(copy, &QAction::triggered, this,
                [this, key] { sendShown(key, TransferMode::Copy); });
    }
    // The keyboard's pick rests when the focus leaves the folder pages; the focus leaving a
    // grid that was hidden (its page went to the back, or closed) is not the user's doing.
    connect(qApp, &QApplication::focusChanged, this, [this](QWidget* before, QWidget* now) {
        if (before && before->isVisible() && PageControl1->isAncestorOf(before) &&
            !(now && PageControl1->isAncestorOf(now))) {
            restSendKey();
        }
    });
    updateSendMenu();
}

// The menu lists the keys that have a folder, in key order; each entry sends as its key does.
void TForm1::updateSendMenu() {
    sendMenu_->clear();
    for (int key = 1; key <= SendKeys::kKeys; ++key) {
        const std::string folder = sendKeys_.folderOfKey(key);
        if (!folder.empty()) {
            QAction* entry = sendMenu_->addAction(sendCaption(key, folder));
            connect(entry, &QAction::triggered, this,
                    [this, key] { sendShown(key, TransferMode::Move); });
        }
    }
    if (sendMenu_->isEmpty()) {
        sendMenu_->addAction(QString::fromUtf8(kNoSendKeysHint))->setEnabled(false);
    }
}

void TForm1::giveSendKey(const std::string& folder) {
    sendKeys_.use(folder);
    updateSendMenu();
}

// A destination chosen with the pointer takes its key at once. One the keyboard's pick reaches
// in a grid may be a stop on the way (the arrows pass the folders between, Enter opens one): it
// takes its key only once the pick rests there, when the focus leaves the folder pages or a
// photograph is sent, so that a walk through the pages leaves the keys to the folders chosen.
void TForm1::offerSendKey(const std::string& folder) {
    if (QGuiApplication::mouseButtons() != Qt::NoButton) {
        giveSendKey(folder);
    } else {
        sendKeys_.pass(folder);
    }
}

void TForm1::restSendKey() {
    sendKeys_.rest(TargetFolder);
    updateSendMenu();
}

void TForm1::sendShown(int key, TransferMode mode) {
    restSendKey();
    auto* entry = const_cast<QListWidgetItem*>(sourcePick_.entry());
    const std::string folder = sendKeys_.folderOfKey(key);
    if (!entry || folder.empty()) {
        return;
    }
    if (CListBox1->tickLocked(CListBox1->row(entry))) {
        StatusBar1->setSimpleText(kSendWaitsText);  // the running command holds it
        return;
    }
    if (const char* refusal = sameFolderRefusal(mode, SourceFolder, folder)) {
        showMessage(refusal);
        return;
    }
    // The entry is held from the key on, and its send waits in line while its drives are
    // asked: a second key cannot send it twice, and sends go in the order of their keys.
    CListBox1->setTickLocked(entry, true);
    const unsigned ticket = ++sendTickets_;
    pendingSends_.push_back({entry, folder, mode, ticket});
    whenDrivesReady(
        {SourceFolder, folder},
        [this, ticket](const std::vector<bool>& folders) {
            PendingSend* send = pendingSend(ticket);
            if (!send) {
                return;  // its entry left the list meanwhile
            }
            if (!folders[1]) {
                const std::string folder = send->folder;
                dropPendingSend(ticket);
                sendKeys_.forget(folder);
                updateSendMenu();
                showMessage(folder + kFolderGoneMessage);
                return;
            }
            send->ready = true;
            pickNextAfter(send->entry);  // a copy goes on to the next photograph as a move does
            startNextSend();
        },
        [this, ticket] { dropPendingSend(ticket); });
}

TForm1::PendingSend* TForm1::pendingSend(unsigned ticket) {
    const auto found =
        std::find_if(pendingSends_.begin(), pendingSends_.end(),
                     [ticket](const PendingSend& send) { return send.ticket == ticket; });
    return found == pendingSends_.end() ? nullptr : &*found;
}

// The send goes nowhere; its entry's tick is free again.
void TForm1::dropPendingSend(unsigned ticket) {
    if (const PendingSend* send = pendingSend(ticket)) {
        CListBox1->setTickLocked(send->entry, false);
        std::erase_if(pendingSends_,
                      [ticket](const PendingSend& waiting) { return waiting.ticket == ticket; });
    }
}

// The entry after the one sent away, or before it at the end of the list, skipping those
// waiting to be sent, is picked and shown at once.
void TForm1::pickNextAfter(const QListWidgetItem* sent) {
    const int row = CListBox1->row(sent);
    for (const int step : {1, -1}) {
        for (int next = row + step; next >= 0 && next < CListBox1->count(); next += step) {
            if (!CListBox1->tickLocked(next)) {
                CListBox1->setItemIndex(next);
                showSourcePick(PickedBy::Key);
                return;
            }
        }
    }
}

void TForm1::startNextSend() {
    while (!jobAtWork() && !pendingSends_.empty() && pendingSends_.front().ready) {
        const PendingSend send = pendingSends_.front();
        pendingSends_.pop_front();
        const int row = CListBox1->row(send.entry);
        if (row < 0) {
            continue;
        }
        const std::string name = CListBox1->name(row);
        beginOn({{row, send.entry}});
        giveSendKey(send.folder);
        const char* done = send.mode == TransferMode::Move ? kMovedText : kCopiedText;
        runTransfer(
            send.mode, {BatchItem{row, name}}, send.folder,
            [this, name, folder = send.folder, done] {
                if (!command_.outcomes().empty() && command_.outcomes().begin()->second.done()) {
                    StatusBar1->setSimpleText(name + " → " + folder + done);
                }
            });
    }
}

void TForm1::dropPendingSends() {
    for (const PendingSend& send : pendingSends_) {
        if (CListBox1->row(send.entry) >= 0) {
            CListBox1->setTickLocked(send.entry, false);
        }
    }
    pendingSends_.clear();
}

// An entry that leaves the list is sent nowhere.
void TForm1::forgetPendingSend(const QListWidgetItem* entry) {
    std::erase_if(pendingSends_, [entry](const PendingSend& send) { return send.entry == entry; });
}

}  // namespace pictaria
