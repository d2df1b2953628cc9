#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPushButton>
#include <QTest>

#include <unistd.h>

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "app/MainFormUnit1.h"
#include "dialogs/Dialog_Unit2.h"
#include "fileops/BatchCommands.h"
#include "support/ModalAnswers.h"
#include "support/TempDir.h"
#include "support/TestDrives.h"
#include "widgets/CheckListBox.h"

namespace pictaria {
namespace {

using Names = std::vector<std::string>;
using test::ModalAnswers;
using test::TempDir;

// A main window whose source list shows C:\Pics (a, b, c, d) with the given ticks; D:\Sorted
// is the destination.
class FileCommandsTest : public ::testing::Test {
  protected:
    FileCommandsTest() {
        drives.map('C', c.path()).map('D', d.path());
        d.makeFolder("Sorted");
        window = std::make_unique<TForm1>();
        window->SourceFolder = "C:\\Pics";
        window->TargetFolder = "D:\\Sorted";
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

    Names listed() const {
        Names names;
        for (int i = 0; i < window->CListBox1->count(); ++i) {
            names.push_back(window->CListBox1->name(i));
        }
        return names;
    }

    std::vector<bool> ticks() const {
        std::vector<bool> result;
        for (int i = 0; i < window->CListBox1->count(); ++i) {
            result.push_back(window->CListBox1->checked(i));
        }
        return result;
    }

    TempDir c;
    TempDir d{"/dev/shm"};
    test::TestDrives drives;
    test::RecordingMessages messages;
    std::unique_ptr<TForm1> window;
};

TEST_F(FileCommandsTest, CopyAndMoveButtonsTransferTheTickedFilesOfTheList) {
    tick({0, 2});
    window->BitBtn2->click();
    EXPECT_EQ(d.readFile("Sorted/a.jpg"), "a.jpg");
    EXPECT_EQ(d.readFile("Sorted/c.jpg"), "c.jpg");
    EXPECT_EQ(listed(), (Names{"a.jpg", "b.jpg", "c.jpg", "d.jpg"}));

    ::unlink(c.host("Pics/c.jpg").c_str());  // c fails to move: its file is gone
    window->CListBox1->setChecked(1, true);
    window->BitBtn3->click();
    EXPECT_EQ(listed(), (Names{"c.jpg", "d.jpg"}));
    EXPECT_EQ(ticks(), (std::vector<bool>{true, false}));
    EXPECT_EQ(d.readFile("Sorted/a2.jpg"), "a.jpg");
    EXPECT_EQ(d.readFile("Sorted/b.jpg"), "b.jpg");
    EXPECT_FALSE(c.exists("Pics/a.jpg") || c.exists("Pics/b.jpg"));
    EXPECT_EQ(window->UniqueNameCounter, 2);
}

TEST_F(FileCommandsTest, CopyIntoTheSourceFolderItselfIsRefused) {
    tick({0});
    window->TargetFolder = window->SourceFolder;
    window->BitBtn2->click();
    window->BitBtn3->click();
    EXPECT_EQ(messages.shown, (Names{kChooseCopyFolderMessage, kChooseMoveFolderMessage}));
    EXPECT_EQ(listed().size(), 4u);
}

TEST_F(FileCommandsTest, DeleteOutAndClearActOnTheTickedEntries) {
    tick({0, 1, 3});
    window->BitBtn6->click();  // Clear
    EXPECT_EQ(ticks(), (std::vector<bool>{false, false, false, false}));

    tick({1});
    window->BitBtn4->click();  // Delete
    EXPECT_EQ(listed(), (Names{"a.jpg", "c.jpg", "d.jpg"}));
    EXPECT_FALSE(c.exists("Pics/b.jpg"));

    tick({0, 2});
    window->BitBtn7->click();  // Out
    EXPECT_EQ(listed(), Names{"c.jpg"});
    EXPECT_TRUE(c.exists("Pics/a.jpg") && c.exists("Pics/d.jpg"));
}

TEST_F(FileCommandsTest, PopupDeleteRemovesEveryListedFileTickedOrNot) {
    window->Delete1->trigger();
    EXPECT_EQ(window->CListBox1->count(), 0);
    for (const char* name : {"Pics/a.jpg", "Pics/b.jpg", "Pics/c.jpg", "Pics/d.jpg"}) {
        EXPECT_FALSE(c.exists(name)) << name;
    }
}

TEST_F(FileCommandsTest, PointerOverCopyAndMoveNamesTheCurrentDestination) {
    window->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
    window->TargetFolder = "D:\\表ソ";
    for (QPushButton* button : {window->BitBtn2, window->BitBtn3}) {
        QMouseEvent move(QEvent::MouseMove, QPointF(5, 5), button->mapToGlobal(QPointF(5, 5)),
                         Qt::NoButton, Qt::NoButton, Qt::NoModifier);
        QApplication::sendEvent(button, &move);
    }
    EXPECT_EQ(window->BitBtn2->toolTip(), QStringLiteral("D:\\表ソにコピーします"));
    EXPECT_EQ(window->BitBtn3->toolTip(), QStringLiteral("D:\\表ソに移動します"));
}

class AttachTextCommandTest : public FileCommandsTest {
  protected:
    // Runs the command, answering its dialog with `typed` and OK (or Cancel without a text).
    void attach(std::optional<std::string> typed) {
        ModalAnswers answers([&](QDialog& dialog) {
            auto& nameDialog = dynamic_cast<TOKBDlg&>(dialog);
            EXPECT_EQ(OKBDlg, &nameDialog);
            prompt = nameDialog.Label1->text().toStdString();
            offered = nameDialog.text();
            caption = nameDialog.windowTitle().toStdString();
            if (!typed) {
                return kModalCancel;
            }
            nameDialog.setText(*typed);
            return kModalOk;
        });
        window->BitBtn11->click();
        EXPECT_EQ(answers.shown, 1);
        EXPECT_EQ(OKBDlg, nullptr);
    }

    std::string prompt;
    std::string offered;
    std::string caption;
};

TEST_F(AttachTextCommandTest, PrefixesTickedNamesInPlaceKeepingTicksAndSelection) {
    c.writeFile("Pics/Sortedc.jpg", "taken");
    tick({0, 2});
    window->CListBox1->setItemIndex(2);

    attach("Sorted");  // the destination's name, as offered

    EXPECT_EQ(prompt, "追加する文字を、入力してください。");
    EXPECT_EQ(offered, "Sorted");
    EXPECT_EQ(caption, "フォルダ作成ダイアログ");
    EXPECT_EQ(listed(), (Names{"Sorteda.jpg", "b.jpg", "c.jpg", "d.jpg"}));
    EXPECT_EQ(ticks(), (std::vector<bool>{true, false, true, false}));
    EXPECT_EQ(window->CListBox1->selectedIndex(), 2);
    EXPECT_EQ(c.readFile("Pics/Sorteda.jpg"), "a.jpg");
    EXPECT_EQ(c.readFile("Pics/Sortedc.jpg"), "taken");
    EXPECT_TRUE(messages.shown.empty());

    attach(" x ");  // used exactly as typed, twice over on the same entry
    EXPECT_EQ(listed().front(), " x Sorteda.jpg");
    EXPECT_TRUE(c.exists("Pics/ x Sorteda.jpg"));
}

TEST_F(AttachTextCommandTest, CancelEmptyTextOrAMissingDestinationRenameNothing) {
    tick({0});
    attach(std::nullopt);
    attach("");
    window->TargetFolder = "D:\\Gone";
    attach("Gone");
    EXPECT_EQ(offered, "Gone");
    EXPECT_EQ(listed().front(), "a.jpg");
    EXPECT_TRUE(c.exists("Pics/a.jpg"));
}

TEST_F(AttachTextCommandTest, DriveRootsOfferNothingAndJoinWithOneBackslash) {
    c.writeFile("root.jpg", "at the root");
    window->CListBox1->clear();
    window->CListBox1->addName("root.jpg");
    tick({0});
    window->SourceFolder = "C:\\";
    window->TargetFolder = "D:\\";

    attach("X");

    EXPECT_EQ(offered, "");
    EXPECT_EQ(listed(), Names{"Xroot.jpg"});
    EXPECT_EQ(c.readFile("Xroot.jpg"), "at the root");
}

}  // namespace
}  // namespace pictaria
