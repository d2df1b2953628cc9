// SPDX-License-Identifier: GPL-3.0-or-later
// The main window's control tree: sizes and positions in pixels, relative to the parent.
// The upper half keeps its height and the left column its width when the window is resized;
// the picture panes on the right take the rest.

#include <QBoxLayout>
#include <QCheckBox>
#include <QKeySequence>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QSpinBox>

#include "app/ApplicationIcon.h"
#include "app/ButtonGlyphs.h"
#include "app/MainFormUnit1.h"
#include "widgets/CheckListBox.h"
#include "widgets/ElidedLabel.h"
#include "widgets/ImageControl.h"
#include "widgets/PageControl.h"
#include "widgets/Panel.h"
#include "widgets/PopupMenu.h"
#include "widgets/ScrollBox.h"
#include "widgets/SplitterBar.h"
#include "widgets/StatusBar.h"
#include "widgets/StringGrid.h"
#include "widgets/Timer.h"
#include "widgets/WindowFont.h"

namespace pictaria {

namespace {

// The client area an 855 by 694 window keeps inside a 4-pixel frame and a 26-pixel caption.
constexpr QPoint kWindowPosition(77, 33);
constexpr QSize kClientSize(847, 660);

constexpr int kStatusBarHeight = 19;
constexpr int kUpperHalfHeight = 345;
constexpr int kSplitterHeight = 4;
constexpr int kCommandColumnWidth = 347;
constexpr int kSourceListWidth = 136;
constexpr int kListItemHeight = 12;
constexpr int kFolderPagesWidth = 464;
constexpr int kDriveGridColWidth = 86;
constexpr int kGridRowHeight = 18;

const QColor kNavy(0, 0, 128);
const QColor kRed(255, 0, 0);
// The caption colour of an active window on the desktop this program was first made for.
const QColor kActiveCaption(153, 180, 209);

// The labels are about as high as the font's line; aligned to the bottom, descenders stay
// visible and only the empty space above capitals is cut.
constexpr Qt::Alignment kLabelAlignment = Qt::AlignLeft | Qt::AlignBottom;

struct ButtonPlace {
    QPushButton* TForm1::*member;
    const char* name;
    const char* caption;
    QRect bounds;
    Glyph glyph;
};

const ButtonPlace kCommandButtons[] = {
    {&TForm1::BitBtn5, "BitBtn5", "Open", {141, 5, 58, 25}, Glyph::Open},
    {&TForm1::BitBtn2, "BitBtn2", "Copy", {141, 32, 58, 25}, Glyph::Copy},
    {&TForm1::BitBtn3, "BitBtn3", "Move", {141, 59, 58, 25}, Glyph::Move},
    {&TForm1::BitBtn7, "BitBtn7", "Out", {141, 88, 57, 25}, Glyph::Out},
    {&TForm1::BitBtn6, "BitBtn6", "Clear", {141, 115, 57, 25}, Glyph::Clear},
    {&TForm1::BitBtn4, "BitBtn4", "Delet", {142, 142, 56, 25}, Glyph::Delete},
    {&TForm1::BitBtn12, "BitBtn12", "Slide", {235, 254, 57, 25}, Glyph::Slide},
    {&TForm1::BitBtn10, "BitBtn10", "Change", {141, 260, 64, 25}, Glyph::Change},
    {&TForm1::BitBtn9, "BitBtn9", "ページを閉じる", {232, 285, 109, 25}, Glyph::ClosePage},
    {&TForm1::BitBtn11, "BitBtn11", "文字を添付", {138, 286, 87, 25}, Glyph::AttachText},
    {&TForm1::BitBtn13, "BitBtn13", "Auto Scroll", {140, 314, 84, 25}, Glyph::None},
    {&TForm1::BitBtn14, "BitBtn14", "Serach Same Picture", {376, 312, 17, 25}, Glyph::Search},
    {&TForm1::BitBtn15, "BitBtn15", "Same Picture", {392, 312, 17, 25}, Glyph::None},
    {&TForm1::BitBtn1, "BitBtn1", "Select Folder", {412, 312, 17, 25}, Glyph::SelectFolder},
};

template <typename Control>
Control* named(Control* control, const char* name) {
    control->setObjectName(QString::fromLatin1(name));
    return control;
}

QBoxLayout* flushLayout(QBoxLayout* layout) {
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    return layout;
}

QPushButton* makeGlyphButton(QWidget* parent, const ButtonPlace& place) {
    auto* button = named(new QPushButton(QString::fromUtf8(place.caption), parent), place.name);
    button->setGeometry(place.bounds);
    button->setIcon(glyphIcon(place.glyph));
    button->setIconSize(QSize(16, 16));
    return button;
}

void setTextColour(QWidget* control, const QColor& colour) {
    QPalette colours = control->palette();
    colours.setColor(QPalette::WindowText, colour);
    colours.setColor(QPalette::ButtonText, colour);
    colours.setColor(QPalette::Text, colour);
    control->setPalette(colours);
}

void setBackground(QWidget* control, const QColor& colour) {
    QPalette colours = control->palette();
    colours.setColor(QPalette::Window, colour);
    control->setPalette(colours);
    control->setAutoFillBackground(true);
}

// Keys for the window's commands, chosen not to clash with the lists' own keys (arrows, Space,
// Home/End, Page Up/Down). The hidden buttons get none.
struct CommandKey {
    QPushButton* TForm1::*button;
    QKeySequence key;
};

CheckListBox* makeCheckList(QWidget* parent, const char* name) {
    auto* list = named(new CheckListBox(parent), name);
    list->setItemHeight(kListItemHeight);
    return list;
}

QAction* addItem(QMenu* menu, const char* name, const char* caption) {
    return named(menu->addAction(QString::fromUtf8(caption)), name);
}

}  // namespace

void TForm1::buildControls() {
    setObjectName(QStringLiteral("Form1"));
    setWindowTitle(QStringLiteral("ピクタリア"));
    setWindowIcon(applicationIcon());
    setFont(windowFont());
    move(kWindowPosition);
    resize(kClientSize);

    auto* client = new QWidget(this);
    setCentralWidget(client);
    Panel3 = named(new Panel(client), "Panel3");
    Panel3->setFixedHeight(kUpperHalfHeight);
    Splitter1 = named(new SplitterBar(client), "Splitter1");
    Splitter1->setFixedHeight(kSplitterHeight);
    Splitter1->setColor(Qt::blue);
    Panel5 = named(new Panel(client), "Panel5");
    Splitter1->setControls(Panel3, Panel5);

    QBoxLayout* halves = flushLayout(new QVBoxLayout(client));
    halves->addWidget(Panel3);
    halves->addWidget(Splitter1);
    halves->addWidget(Panel5, 1);

    buildUpperHalf();
    buildLowerHalf();
    buildMenus();
    assignShortcuts();
    Timer1 = named(new Timer(this), "Timer1");
    // Last: the status bar measures its text at once, and the fonts may still be loading.
    StatusBar1 = named(new StatusBar(this), "StatusBar1");
    StatusBar1->setFixedHeight(kStatusBarHeight);
    setStatusBar(StatusBar1);
}

void TForm1::buildUpperHalf() {
    Panel1 = named(new Panel(Panel3), "Panel1");
    Panel1->setFixedWidth(kCommandColumnWidth);
    Panel4 = named(new Panel(Panel3), "Panel4");
    Panel4->setColor(palette().color(QPalette::Highlight));
    QBoxLayout* row = flushLayout(new QHBoxLayout(Panel3));
    row->addWidget(Panel1);
    row->addWidget(Panel4, 1);

    CListBox1 = makeCheckList(Panel1, "CListBox1");
    CListBox1->setFixedWidth(kSourceListWidth);
    QBoxLayout* listColumn = flushLayout(new QHBoxLayout(Panel1));
    listColumn->addWidget(CListBox1);
    listColumn->addStretch(1);
    CListBox2 = makeCheckList(Panel1, "CListBox2");
    CListBox2->setGeometry(200, 0, 137, 253);
    buildCommandButtons();

    ScrollBox1 = named(new ScrollBox(Panel4), "ScrollBox1");
    Image2 = named(new ImageControl(ScrollBox1->surface()), "Image2");
    Image2->setGeometry(0, 0, 105, 105);
    Label1 = named(new ElidedLabel(Panel4), "Label1");
    Label1->setFixedHeight(13);
    Label1->setAlignment(kLabelAlignment);
    QFont labelFont = font();
    labelFont.setPixelSize(13);
    Label1->setFont(labelFont);
    setTextColour(Label1, kRed);
    setBackground(Label1, kActiveCaption);
    QBoxLayout* viewColumn = flushLayout(new QVBoxLayout(Panel4));
    viewColumn->addWidget(ScrollBox1, 1);
    viewColumn->addWidget(Label1);
}

void TForm1::buildCommandButtons() {
    for (const ButtonPlace& place : kCommandButtons) {
        this->*place.member = makeGlyphButton(Panel1, place);
    }
    BitBtn3->setToolTip(QStringLiteral("A"));
    BitBtn14->setToolTip(QStringLiteral("Serach SamePicture"));
    BitBtn10->setEnabled(false);
    for (QPushButton* hidden : {BitBtn1, BitBtn14, BitBtn15}) {
        hidden->hide();
    }
    QFont bold = font();
    bold.setBold(true);
    BitBtn13->setFont(bold);
    setTextColour(BitBtn13, kRed);

    CheckBox1 = named(new QCheckBox(QStringLiteral("Auto Check"), Panel1), "CheckBox1");
    CheckBox1->setGeometry(230, 318, 78, 17);
    CheckBox1->setStyleSheet(QStringLiteral(
        "QCheckBox { spacing: 2px; } QCheckBox::indicator { width: 12px; height: 12px; }"));
    CSpinEdit1 = named(new QSpinBox(Panel1), "CSpinEdit1");
    CSpinEdit1->setGeometry(310, 314, 35, 21);
    CSpinEdit1->setRange(1, 20);
    CSpinEdit1->setValue(1);
}

void TForm1::buildLowerHalf() {
    PageControl1 = named(new PageControl(Panel5), "PageControl1");
    PageControl1->setFixedWidth(kFolderPagesWidth);
    Panel2 = named(new Panel(Panel5), "Panel2");
    Panel2->setColor(Qt::white);
    QBoxLayout* row = flushLayout(new QHBoxLayout(Panel5));
    row->addWidget(PageControl1);
    row->addWidget(Panel2, 1);

    TabSheet1 = named(new QWidget, "TabSheet1");
    StringGrid1 = named(new StringGrid(TabSheet1), "StringGrid1");
    StringGrid1->setDefaultColWidth(kDriveGridColWidth);
    StringGrid1->setDefaultRowHeight(kGridRowHeight);
    setTextColour(StringGrid1, kNavy);
    flushLayout(new QVBoxLayout(TabSheet1))->addWidget(StringGrid1);
    PageControl1->addPage(TabSheet1, QStringLiteral("マイコンピュータ"));

    Image1 = named(new ImageControl(Panel2), "Image1");
    Image1->setGeometry(119, 56, 89, 81);
    Label2 = named(new ElidedLabel(Panel2), "Label2");
    Label2->setFixedHeight(12);
    Label2->setAlignment(kLabelAlignment);
    setBackground(Label2, Qt::white);  // opaque, so the name never stands over the picture
    QBoxLayout* previewColumn = flushLayout(new QVBoxLayout(Panel2));
    previewColumn->addStretch(1);
    previewColumn->addWidget(Label2);
    BitBtn8 = named(new QPushButton(QStringLiteral("Next"), Panel2), "BitBtn8");
    BitBtn8->setGeometry(5, 2, 57, 25);
    BitBtn8->setIcon(glyphIcon(Glyph::Next));
    BitBtn8->raise();
}

void TForm1::buildMenus() {
    PopupMenu1 = named(new QMenu(this), "PopupMenu1");
    N1 = addItem(PopupMenu1, "N1", "メニュー");
    N2 = addItem(PopupMenu1, "N2", "新規フォルダ作成");
    N3 = addItem(PopupMenu1, "N3", "フォルダ削除");
    N4 = addItem(PopupMenu1, "N4", "フォルダ名前変更");
    N5 = addItem(PopupMenu1, "N5", "フォルダ移動");

    PopupMenu2 = named(new QMenu(this), "PopupMenu2");
    Delete1 = addItem(PopupMenu2, "Delete1", "Delete");
    CopyRight1 = addItem(PopupMenu2, "CopyRight1", "Copy Right");
    Undo1 = addItem(PopupMenu2, "Undo1", "元に戻す");
    Redo1 = named(new QAction(this), "Redo1");
    attachPopupMenu(*CListBox1, *PopupMenu2);

    PopupMenu3 = named(new QMenu(this), "PopupMenu3");
    N6 = addItem(PopupMenu3, "N6", "メニュー");
    N7 = addItem(PopupMenu3, "N7", "縮小して表示");
    N8 = addItem(PopupMenu3, "N8", "等倍で表示");
    attachPopupMenu(*Panel4, *PopupMenu3);
    attachPopupMenu(*Image2, *PopupMenu3);
}

// Each key is shown in its button's tooltip, after the hint the button already has.
void TForm1::assignShortcuts() {
    const CommandKey keys[] = {
        {&TForm1::BitBtn5, QKeySequence(Qt::CTRL | Qt::Key_O)},              // Open
        {&TForm1::BitBtn2, QKeySequence(Qt::Key_F5)},                        // Copy
        {&TForm1::BitBtn3, QKeySequence(Qt::Key_F6)},                        // Move
        {&TForm1::BitBtn7, QKeySequence(Qt::CTRL | Qt::Key_X)},              // Out of the list
        {&TForm1::BitBtn6, QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_A)},  // Clear the ticks
        {&TForm1::BitBtn4, QKeySequence(Qt::Key_Delete)},                    // Delet (to the trash)
        {&TForm1::BitBtn12, QKeySequence(Qt::Key_F11)},                      // Slide
        {&TForm1::BitBtn10, QKeySequence(Qt::ALT | Qt::Key_Up)},             // Change
        {&TForm1::BitBtn9, QKeySequence(Qt::CTRL | Qt::Key_W)},              // close the page
        {&TForm1::BitBtn11, QKeySequence(Qt::Key_F2)},                       // attach text
        {&TForm1::BitBtn13, QKeySequence(Qt::CTRL | Qt::Key_P)},             // Auto Scroll
        {&TForm1::BitBtn8, QKeySequence(Qt::CTRL | Qt::Key_PageDown)},       // Next
    };
    for (const CommandKey& command : keys) {
        QPushButton* button = this->*command.button;
        button->setShortcut(command.key);
        shortcutHints_[button] = command.key.toString(QKeySequence::NativeText);
        button->setToolTip(withShortcut(button, button->toolTip()));
    }
}

QString TForm1::withShortcut(QPushButton* button, const QString& hint) const {
    const auto key = shortcutHints_.find(button);
    if (key == shortcutHints_.end()) {
        return hint;
    }
    return hint.isEmpty() ? key->second : hint + QStringLiteral("  (") + key->second + u')';
}

}  // namespace pictaria
