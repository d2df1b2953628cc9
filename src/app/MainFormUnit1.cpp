#include "app/MainFormUnit1.h"

#include <QAction>
#include <QEvent>
#include <QPushButton>

#include "platform/DriveTable.h"
#include "platform/MessageSink.h"
#include "viewer/PictureDisplay.h"
#include "widgets/CheckListBox.h"
#include "widgets/ErrorReportingApplication.h"
#include "widgets/ImageControl.h"
#include "widgets/Panel.h"
#include "widgets/StringGrid.h"
#include "widgets/Timer.h"

namespace pictaria {

TForm1* Form1 = nullptr;

namespace {

constexpr char kAboutText[] = "ピクタリア  写真を仕分ける道具  Copyright (C) ピクタリアの作者";

bool isListedDriveType(DriveType type) {
    return type == DriveType::Removable || type == DriveType::Fixed;
}

}  // namespace

TForm1::TForm1(QWidget* parent) : QMainWindow(parent) {
    buildControls();
    connectEvents();
    FormCreate();
}

TForm1::~TForm1() {
    FormDestroy();
}

void TForm1::connectEvents() {
    connect(CopyRight1, &QAction::triggered, this, &TForm1::CopyRight1Click);
    connect(BitBtn1, &QPushButton::clicked, this, &TForm1::BitBtn1Click);
    connectViewingEvents();
    connectFolderPageEvents();
    connectFolderCommandEvents();
    connectFileCommandEvents();
    connectAidEvents();
}

void TForm1::FormCreate() {
    FolderEntries.clear();
    PageGrids.clear();
    PreviewPaths.clear();
    scanDrives();
    Timer1->setInterval(0);
    TargetFolder = "c:\\";
}

// Every removable and fixed drive from A: to Z:, one root per row of the drive grid.
void TForm1::scanDrives() {
    for (char letter = 'A'; letter <= 'Z'; ++letter) {
        const std::string root{letter, ':', '\\'};
        if (isListedDriveType(activeDriveTable().typeOf(root))) {
            FolderEntries.add(root);
        }
    }
    StringGrid1->setRowCount(FolderEntries.count());
    for (int row = 0; row < FolderEntries.count(); ++row) {
        StringGrid1->setCells(0, row, FolderEntries[row]);
    }
}

void TForm1::FormDestroy() {
    PreviewPaths.clear();
    FolderEntries.clear();
    PageGrids.clear();
}

void TForm1::FormResize() {
    CListBox1Click();
    if (PreviewIndex >= 0 && PreviewIndex < PreviewPaths.count()) {
        ShowPicture(Panel2->width(), Panel2->height(), Image1, PreviewPaths[PreviewIndex]);
    }
}

void TForm1::FormActivate() {}

void TForm1::CopyRight1Click() {
    showMessage(kAboutText);
}

void TForm1::BitBtn1Click() {}

std::string TForm1::ShowPicture(int paneWidth, int paneHeight, ImageControl* image,
                                const std::string& path) {
    return showPicture(paneWidth, paneHeight, *image, path, ShrinkToFit);
}

void TForm1::resizeEvent(QResizeEvent* event) {
    QMainWindow::resizeEvent(event);
    reportingErrors([this] { FormResize(); })();
}

void TForm1::changeEvent(QEvent* event) {
    QMainWindow::changeEvent(event);
    if (event->type() == QEvent::ActivationChange && isActiveWindow()) {
        FormActivate();
    }
}

}  // namespace pictaria
