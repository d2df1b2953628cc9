// SPDX-License-Identifier: GPL-3.0-or-later
#include <QAction>
#include <QApplication>
#include <QMouseEvent>
#include <QPushButton>
#include <QTimer>

#include <sys/mount.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <filesystem>
#include <optional>
#include <thread>

#include "MainWindowFixture.h"
#include "MainWindowProbe.h"
#include "NameDialogAnswer.h"
#include "fileops/BatchCommands.h"
#include "fileops/FileJob.h"
#include "fileops/UndoBatch.h"
#include "platform/MountIdentity.h"
#include "platform/MountWatcher.h"
#include "support/FileIoScope.h"
#include "support/Trash.h"
#include "widgets/ElidedLabel.h"
#include "widgets/StatusBar.h"

namespace pictaria {
namespace {

using test::stateOf;

using Names = std::vector<std::string>;
using Ticks = std::vector<bool>;

// The source list shows C:\Pics (a, b, c, d); D:\Sorted is the destination.
class FileCommandsTest : public test::MainWindowFixture {
  protected:
    FileCommandsTest() {
        d.makeFolder("Sorted");
        stateOf(*window).SourceFolder = "C:\\Pics";
        stateOf(*window).TargetFolder = "D:\\Sorted";
        for (const char* name : {"a.jpg", "b.jpg", "c.jpg", "d.jpg"}) {
            c.writeFile(std::string("Pics/") + name, name);
            window->CListBox1->addName(name);
        }
    }

    void tick(std::initializer_list<int> indexes) {
        for (int index : indexes) {
            window->CListBox1->setChecked(index, true);
        }
    }

    Ticks ticks() const {
        Ticks result;
        for (int i = 0; i < window->CListBox1->count(); ++i) {
            result.push_back(window->CListBox1->checked(i));
        }
        return result;
    }

    static std::vector<bool> ticksOf(const CheckListBox* list) {
        std::vector<bool> result;
        for (int i = 0; i < list->count(); ++i) {
            result.push_back(list->checked(i));
        }
        return result;
    }

    // Waits for the file command that runs on its worker thread, and for the listing of the
    // destination that follows it.
    bool jobEnds() {
        return QTest::qWaitFor([this] { return !window->jobRunning(); }) &&
               test::waitForListings(*window);
    }

    void attach(const std::optional<std::string>& typed) {
        dialog.run([this] { window->BitBtn11->click(); }, typed);
    }

    // Every file and folder under both drives, with the bytes of each file.
    std::map<std::string, std::string> tree() const {
        std::map<std::string, std::string> both = c.tree();
        both.merge(d.tree());
        return both;
    }

    void undo(Qt::KeyboardModifiers keys = Qt::ControlModifier) {
        QTest::keyClick(window.get(), Qt::Key_Z, keys);
        ASSERT_TRUE(jobEnds());
    }
    void redo() { undo(Qt::ControlModifier | Qt::ShiftModifier); }

    test::RecordingMessages messages;
    test::NameDialogAnswer dialog;
};

TEST_F(FileCommandsTest, CopyAndMoveTransferTheTickedFiles) {
    tick({0, 2});
    window->BitBtn2->click();
    ASSERT_TRUE(jobEnds());
    EXPECT_EQ(d.readFile("Sorted/c.jpg"), "c.jpg");
    EXPECT_EQ(names(window->CListBox1).size(), 4u);
    // The destination shown follows what the command put there.
    EXPECT_EQ(names(window->CListBox2), (Names{"a.jpg", "c.jpg"}));
    EXPECT_EQ(window->StatusBar1->simpleText(), "D:\\Sorted 2個");

    ::unlink(c.host("Pics/c.jpg").c_str());  // c cannot move: its file is gone
    tick({1});
    window->BitBtn3->click();
    QTest::keyClick(window.get(), Qt::Key_Z, Qt::ControlModifier);  // told to wait for the Move
    EXPECT_EQ(window->StatusBar1->simpleText(),
              "ほかの操作が終わってから、もう一度お試しください。");
    ASSERT_TRUE(jobEnds());
    EXPECT_EQ(names(window->CListBox1), (Names{"c.jpg", "d.jpg"}));
    EXPECT_EQ(ticks(), (Ticks{true, false}));
    EXPECT_EQ(d.readFile("Sorted/a2.jpg"), "a.jpg");
    EXPECT_FALSE(c.exists("Pics/a.jpg") || c.exists("Pics/b.jpg"));
    EXPECT_EQ(names(window->CListBox2), (Names{"a.jpg", "a2.jpg", "b.jpg", "c.jpg"}));
}

// Holds every copy before its first bytes until opened.
class CopyGate : public FileIo {
  public:
    ssize_t copyChunk(int in, int out, std::size_t length) override {
        reached = true;
        while (!open.load()) {
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        }
        return FileIo::copyChunk(in, out, length);
    }
    std::atomic<bool> open{false};
    std::atomic<bool> reached{false};  // a copy waits at the gate

    // Opens the gate when it goes out of scope, also when a test ends early.
    struct Opener {
        CopyGate& gate;
        ~Opener() { gate.open = true; }
    };
};

// A Move runs on a worker thread: the window keeps handling its events, the list follows the
// disk at every file, and Stop leaves the rest in the source, ticked.
TEST_F(FileCommandsTest, MoveAsAJobKeepsTheWindowAndTheListTrueAndStops) {
    test::TempDir card;  // on the disk: the move to D: (in /dev/shm) copies
    drives.map('E', card.path(), DriveType::Removable);
    stateOf(*window).SourceFolder = "E:\\";
    window->CListBox1->clear();
    for (int i = 0; i < 200; ++i) {
        const std::string name = "IMG_" + std::to_string(1000 + i) + ".JPG";
        card.writeFile(name, std::string(200000, static_cast<char>('a' + i % 26)));
        window->CListBox1->addName(name);
        window->CListBox1->setChecked(i, true);
    }
    int ticks = 0;
    QTimer clock;
    QObject::connect(&clock, &QTimer::timeout, [&] { ++ticks; });
    clock.start(1);
    // The job holds its first photograph until the checks made while it runs are done, however
    // quickly it would end once stopped.
    static CopyGate gate;
    gate.open = false;
    gate.reached = false;
    test::FileIoScope gated(gate);
    const CopyGate::Opener opensAtLast{gate};
    window->BitBtn3->click();
    ASSERT_TRUE(window->jobRunning());
    // The job starts once the drives answered, off the window's thread.
    FileJob* job = nullptr;
    ASSERT_TRUE(QTest::qWaitFor([&] { return (job = window->findChild<FileJob*>()) != nullptr; }));
    QObject::connect(job, &FileJob::progressed, [job] { job->stop(); });
    EXPECT_FALSE(window->BitBtn2->isEnabled());
    EXPECT_FALSE(window->BitBtn5->isEnabled());
    // Picking a destination meanwhile enables Change only once the job has ended: it would
    // empty the list the job reports to.
    QTest::mouseClick(window->StringGrid1->viewport(), Qt::LeftButton, {},
                      cellCentre(window->StringGrid1, 0, 0));  // its listing arrives meanwhile
    EXPECT_FALSE(window->BitBtn10->isEnabled());
    QObject::connect(job, &FileJob::fileHandled, [&](int, const FileOutcome& outcome) {
        // The entry of a moved file has left the list; the file is there.
        if (outcome.done()) {
            EXPECT_TRUE(d.exists("Sorted/" + outcome.name));
            EXPECT_FALSE(card.exists(outcome.name));
            const Names left = names(window->CListBox1);
            EXPECT_EQ(std::count(left.begin(), left.end(), outcome.name), 0);
        }
    });
    for (int waited = 0; !gate.reached && waited < 60000; ++waited) {
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    job->stop();  // after the photograph in hand
    gate.open = true;
    ASSERT_TRUE(QTest::qWaitFor([this] { return !window->jobRunning(); }, 60000));
    ASSERT_TRUE(test::waitForListings(*window));
    EXPECT_GT(ticks, 0);  // the window's thread answered while the job ran
    EXPECT_TRUE(window->BitBtn2->isEnabled() && window->BitBtn5->isEnabled());
    EXPECT_TRUE(window->BitBtn10->isEnabled());

    const Names left = names(window->CListBox1);
    ASSERT_LT(left.size(), 200u);
    ASSERT_GT(left.size(), 0u);
    for (const std::string& name : left) {
        EXPECT_TRUE(card.exists(name)) << name;
        EXPECT_FALSE(d.exists("Sorted/" + name)) << name;
    }
    EXPECT_EQ(ticksOf(window->CListBox1), std::vector<bool>(left.size(), true));
    std::size_t arrived = 0;
    for (const auto& entry : std::filesystem::directory_iterator(d.host("Sorted"))) {
        EXPECT_FALSE(entry.path().filename().string().ends_with(".part"));
        ++arrived;
    }
    EXPECT_EQ(arrived + left.size(), 200u);
    EXPECT_TRUE(messages.shown.empty());
}

TEST_F(FileCommandsTest, ClearOutAndBothDeletesActOnTheList) {
    tick({0, 1, 3});
    window->BitBtn6->click();  // Clear
    EXPECT_EQ(ticks(), (Ticks{false, false, false, false}));
    tick({1});
    window->BitBtn4->click();  // Delete
    ASSERT_TRUE(jobEnds());
    EXPECT_FALSE(c.exists("Pics/b.jpg"));
    tick({0});
    window->BitBtn7->click();  // Out
    EXPECT_EQ(names(window->CListBox1), (Names{"c.jpg", "d.jpg"}));
    EXPECT_TRUE(c.exists("Pics/a.jpg"));

    window->Delete1->trigger();  // every listed file, ticked or not
    ASSERT_TRUE(jobEnds());
    EXPECT_EQ(window->CListBox1->count(), 0);
    EXPECT_FALSE(c.exists("Pics/c.jpg") || c.exists("Pics/d.jpg"));
}

// Without a trash, the delete job asks once after the trash has taken what it could, and a
// second job deletes for good; the entries follow the files.
TEST_F(FileCommandsTest, DeleteWithoutATrashAsksOnceAndThenDeletesForGood) {
    test::NoTrash noTrash;
    tick({0, 2});
    messages.answers = {false, true};
    window->BitBtn4->click();
    ASSERT_TRUE(jobEnds());
    EXPECT_EQ(messages.asked.size(), 1u);
    EXPECT_EQ(names(window->CListBox1), (Names{"a.jpg", "b.jpg", "c.jpg", "d.jpg"}));
    EXPECT_EQ(ticks(), (Ticks{true, false, true, false}));

    window->BitBtn4->click();
    ASSERT_TRUE(jobEnds());
    EXPECT_EQ(messages.asked, (Names(2, "2" + std::string(kDeleteForGoodFilesQuestion))));
    EXPECT_EQ(names(window->CListBox1), (Names{"b.jpg", "d.jpg"}));
    EXPECT_FALSE(c.exists("Pics/a.jpg") || c.exists("Pics/c.jpg"));
    EXPECT_TRUE(c.exists("Pics/b.jpg") && c.exists("Pics/d.jpg"));
    EXPECT_TRUE(messages.shown.empty());
}

// A card mounted while the window runs joins the drive grid with the next letter. Taken out,
// it keeps its cell, and nothing is written into the folder it leaves behind on the disk.
TEST_F(FileCommandsTest, ACardInsertedWhileRunningJoinsTheGridAndIsRefusedOnceTakenOut) {
    test::TempDir media;
    media.makeFolder("CARD");
    const std::string card = media.host("CARD");
    MountWatcher watcher(
        DriveLettering(*activeDriveTable(), readMountedVolumes(), {{media.path()}}));
    QObject::connect(&watcher, &MountWatcher::drivesChanged, window.get(), &TForm1::showNewDrives);
    if (::mount("tmpfs", card.c_str(), "tmpfs", 0, "size=1m") != 0) {
        GTEST_SKIP() << "no permission to mount a file system here";
    }
    ASSERT_TRUE(QTest::qWaitFor([this] { return window->StringGrid1->rowCount() == 3; }));
    EXPECT_EQ(window->StringGrid1->cells(0, 2), "E:\\");
    clickCell(window->StringGrid1, 0, 2);
    EXPECT_EQ(stateOf(*window).TargetFolder, "E:\\");

    ASSERT_EQ(::umount2(card.c_str(), MNT_DETACH), 0);  // the window has made it current
    tick({0});
    window->BitBtn2->click();
    ASSERT_TRUE(jobEnds());
    EXPECT_EQ(messages.shown, (Names{"ドライブ E: は取り外されています。"}));
    EXPECT_FALSE(media.exists("CARD/a.jpg"));
    EXPECT_EQ(window->StringGrid1->cells(0, 2), "E:\\");

    ::rmdir(card.c_str());  // as the desktop does once it has unmounted a card
    clickCell(window->StringGrid1, 0, 2);
    EXPECT_EQ(messages.shown.back(), "ドライブ E: を読めません。\nNo such file or directory");
}

// Each command is taken back by Ctrl+Z, the last first: the disk is as it was, and the list
// has its entries back at their places with their ticks. Ctrl+Shift+Z then does them again.
TEST_F(FileCommandsTest, FileCommandsUndoneInReverseOrderAndRedoneLeaveTheTreesAsTheyWere) {
    const auto before = tree();
    EXPECT_FALSE(window->Undo1->isEnabled());
    tick({0});
    window->BitBtn2->click();  // Copy a
    ASSERT_TRUE(jobEnds());
    window->BitBtn6->click();
    tick({1, 3});
    window->BitBtn3->click();  // Move b and d
    ASSERT_TRUE(jobEnds());
    tick({0});
    attach("x_");  // a becomes x_a
    ASSERT_TRUE(jobEnds());
    window->BitBtn6->click();
    tick({1});
    window->BitBtn4->click();  // Delet c
    ASSERT_TRUE(jobEnds());
    EXPECT_EQ(names(window->CListBox1), (Names{"x_a.jpg"}));
    EXPECT_EQ(window->Undo1->toolTip().toStdString(), "削除 1 枚を元に戻す");
    const auto afterCommands = tree();

    undo();
    EXPECT_EQ(names(window->CListBox1), (Names{"x_a.jpg", "c.jpg"}));
    EXPECT_EQ(ticks(), (Ticks{false, true}));
    undo();
    undo();
    EXPECT_EQ(names(window->CListBox1), (Names{"a.jpg", "b.jpg", "c.jpg", "d.jpg"}));
    EXPECT_EQ(ticks(), (Ticks{false, true, true, true}));
    EXPECT_EQ(window->Undo1->toolTip().toStdString(), "コピー 1 枚を元に戻す");
    undo();
    EXPECT_EQ(tree(), before);
    EXPECT_FALSE(window->Undo1->isEnabled());
    EXPECT_EQ(window->Redo1->toolTip().toStdString(), "コピー 1 枚をやり直す");

    for (int step = 0; step < 4; ++step) {
        redo();
    }
    EXPECT_EQ(tree(), afterCommands);
    EXPECT_EQ(names(window->CListBox1), (Names{"x_a.jpg"}));
    EXPECT_FALSE(window->Redo1->isEnabled());
    undo();
    EXPECT_EQ(names(window->CListBox1), (Names{"x_a.jpg", "c.jpg"}));
    EXPECT_TRUE(messages.shown.empty()) << messages.shown.front();
}

// Nothing changed since a command is ever overwritten or removed by its undo.
TEST_F(FileCommandsTest, UndoLeavesChangedFilesAloneAndMovesBackUnderAFreeName) {
    tick({0, 1});
    window->BitBtn2->click();  // Copy a and b
    ASSERT_TRUE(jobEnds());
    window->BitBtn6->click();
    tick({2});
    window->BitBtn3->click();  // Move c
    ASSERT_TRUE(jobEnds());
    c.writeFile("Pics/c.jpg", "a new c");
    d.writeFile("Sorted/a.jpg", "the copy, edited");

    undo();
    EXPECT_EQ(c.readFile("Pics/c.jpg"), "a new c");
    EXPECT_EQ(c.readFile("Pics/c2.jpg"), "c.jpg");
    EXPECT_EQ(names(window->CListBox1), (Names{"a.jpg", "b.jpg", "c2.jpg", "d.jpg"}));
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_NE(messages.shown[0].find("c.jpg → c2.jpg"), std::string::npos) << messages.shown[0];

    undo();
    EXPECT_EQ(d.readFile("Sorted/a.jpg"), "the copy, edited");
    EXPECT_FALSE(d.exists("Sorted/b.jpg"));
    ASSERT_EQ(messages.shown.size(), 2u);
    EXPECT_EQ(messages.shown[1], "a.jpg: " + std::string(kChangedSinceMessage));
}

// Another card in the reader after a Move (cameras give their cards one name) is not where the
// photographs came from: the undo is refused for good and they stay where they are.
TEST_F(FileCommandsTest, UndoIsRefusedOnceTheCardItWouldPutBackOnWasTakenOut) {
    test::TempDir reader;
    const std::string card = reader.path();
    if (::mount("tmpfs", card.c_str(), "tmpfs", 0, "size=1m") != 0) {
        GTEST_SKIP() << "no permission to mount a file system here";
    }
    drives.map('E', card, DriveType::Removable);
    reader.writeFile("IMG_0001.JPG", "photograph");
    stateOf(*window).SourceFolder = "E:\\";
    window->CListBox1->clear();
    window->CListBox1->addName("IMG_0001.JPG");
    tick({0});
    window->BitBtn3->click();
    ASSERT_TRUE(jobEnds());
    const std::uint64_t firstMount = mountIdentityOf("E:\\");
    ::umount2(card.c_str(), MNT_DETACH);
    ASSERT_EQ(::mount("tmpfs", card.c_str(), "tmpfs", 0, "size=1m"), 0);
    if (mountIdentityOf("E:\\") == firstMount) {
        ::umount2(card.c_str(), MNT_DETACH);
        GTEST_SKIP() << "this kernel gives the new mount the number of the old one";
    }

    undo();
    EXPECT_EQ(d.readFile("Sorted/IMG_0001.JPG"), "photograph");
    EXPECT_FALSE(reader.exists("IMG_0001.JPG"));
    EXPECT_EQ(messages.shown,
              (Names{"ドライブ E: は、この操作の後に取り外されたので、元に戻せません。"}));
    EXPECT_FALSE(window->Undo1->isEnabled());  // dropped: it could never run, older steps can
    ::umount2(card.c_str(), MNT_DETACH);
}

// Alt with a number sends the photograph shown, ticked or not, to the destination of that key
// and shows the next one at once, once however long the key is held; Ctrl+Z brings it back to
// its place. Shift+Alt copies and shows the next one too. A destination gone since is said so,
// and nothing moves.
TEST_F(FileCommandsTest, ASendKeyMovesTheShownPhotographAndShowsTheNext) {
    window->showDestination("D:\\Sorted");  // a destination chosen gets Alt+1
    clickItem(window->CListBox1, 1);
    // The repeats of a key held down send nothing.
    qt_sendShortcutOverrideEvent(window->CListBox1, 0, Qt::Key_1, Qt::AltModifier, QString(), true);
    ASSERT_TRUE(jobEnds());
    EXPECT_EQ(names(window->CListBox1).size(), 4u);
    QTest::keyClick(window.get(), Qt::Key_1, Qt::AltModifier);
    // Ctrl+Z while the send goes, with no older step to take back, tells to wait.
    QTest::keyClick(window.get(), Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(window->StatusBar1->simpleText(),
              "ほかの操作が終わってから、もう一度お試しください。");
    ASSERT_TRUE(jobEnds());
    EXPECT_EQ(window->Label1->text(), QStringLiteral("c.jpg"));
    EXPECT_EQ(d.readFile("Sorted/b.jpg"), "b.jpg");
    EXPECT_EQ(names(window->CListBox1), (Names{"a.jpg", "c.jpg", "d.jpg"}));
    EXPECT_EQ(window->CListBox1->selectedIndex(), 1);
    EXPECT_EQ(window->StatusBar1->simpleText(), "b.jpg → D:\\Sorted に移動しました");

    undo();
    EXPECT_EQ(names(window->CListBox1), (Names{"a.jpg", "b.jpg", "c.jpg", "d.jpg"}));
    EXPECT_TRUE(c.exists("Pics/b.jpg"));

    // Shift makes it a copy, which shows the next photograph all the same.
    clickItem(window->CListBox1, 0);
    QTest::keyClick(window.get(), Qt::Key_1, Qt::AltModifier | Qt::ShiftModifier);
    ASSERT_TRUE(jobEnds());
    EXPECT_EQ(window->Label1->text(), QStringLiteral("b.jpg"));
    EXPECT_EQ(d.readFile("Sorted/a.jpg"), "a.jpg");
    EXPECT_TRUE(c.exists("Pics/a.jpg"));
    EXPECT_EQ(window->StatusBar1->simpleText(), "a.jpg → D:\\Sorted にコピーしました");

    std::filesystem::remove_all(d.host("Sorted"));
    QTest::keyClick(window.get(), Qt::Key_1, Qt::AltModifier);
    ASSERT_TRUE(jobEnds());
    EXPECT_EQ(messages.shown.back(), "D:\\Sorted はありません。");
    EXPECT_EQ(names(window->CListBox1).size(), 4u);
}

TEST_F(FileCommandsTest, PointerOverCopyAndMoveNamesTheCurrentDestination) {
    stateOf(*window).TargetFolder = "D:\\表ソ";
    for (QPushButton* button : {window->BitBtn2, window->BitBtn3}) {
        QMouseEvent move(QEvent::MouseMove, QPointF(5, 5), button->mapToGlobal(QPointF(5, 5)),
                         Qt::NoButton, Qt::NoButton, Qt::NoModifier);
        QApplication::sendEvent(button, &move);
    }
    EXPECT_EQ(window->BitBtn2->toolTip(), QStringLiteral("D:\\表ソにコピーします  (F5)"));
    EXPECT_EQ(window->BitBtn3->toolTip(), QStringLiteral("D:\\表ソに移動します  (F6)"));
}

TEST_F(FileCommandsTest, AttachTextRenamesTickedEntriesInPlace) {
    tick({0, 2});
    window->CListBox1->setItemIndex(2);
    attach("Sorted_");
    ASSERT_TRUE(jobEnds());
    EXPECT_EQ(dialog.prompt, "追加する文字を、入力してください。");
    EXPECT_EQ(dialog.offered, "Sorted");
    EXPECT_EQ(names(window->CListBox1), (Names{"Sorted_a.jpg", "b.jpg", "Sorted_c.jpg", "d.jpg"}));
    EXPECT_EQ(ticks(), (Ticks{true, false, true, false}));
    EXPECT_EQ(window->CListBox1->selectedIndex(), 2);
    EXPECT_EQ(c.readFile("Pics/Sorted_a.jpg"), "a.jpg");
}

TEST_F(FileCommandsTest, AttachTextCancelledEmptyOrWithoutDestinationRenamesNothing) {
    tick({0});
    attach(std::nullopt);
    attach("");
    stateOf(*window).TargetFolder = "D:\\Gone";
    attach("Gone");
    stateOf(*window).TargetFolder = "D:\\";
    attach(std::nullopt);
    EXPECT_EQ(dialog.offered, "");  // a drive root has no name to offer
    EXPECT_EQ(names(window->CListBox1).front(), "a.jpg");
    EXPECT_TRUE(c.exists("Pics/a.jpg"));
    EXPECT_TRUE(messages.shown.empty());
}

}  // namespace
}  // namespace pictaria
