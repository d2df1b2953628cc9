// The source list and the large view.

#include <QLabel>

#include <algorithm>
#include <array>
#include <string_view>

#include "app/MainFormUnit1.h"
#include "platform/PathText.h"
#include "widgets/CheckListBox.h"
#include "widgets/ImageControl.h"
#include "widgets/Panel.h"

namespace pictaria {

namespace {

// The extensions a picked list item is displayed for.
constexpr std::array<std::string_view, 6> kViewKinds{".jpg", ".JPG",  ".bmp",
                                                     ".BMP", ".BIMP", ".JPEG"};

bool isViewKind(std::string_view extension) {
    return std::find(kViewKinds.begin(), kViewKinds.end(), extension) != kViewKinds.end();
}

QString displayText(const std::string& bytes) {
    return QString::fromUtf8(bytes.data(), static_cast<qsizetype>(bytes.size()));
}

}  // namespace

void TForm1::connectViewingEvents() {
    connect(CListBox1, &CheckListBox::clicked, this, &TForm1::CListBox1Click);
}

// Shows the picked source item: its name under the view, its picture fitted to the view and
// the picture's size as the view's hint.
void TForm1::CListBox1Click() {
    const int picked = CListBox1->selectedIndex();
    if (picked < 0) {
        return;
    }
    const std::string name = CListBox1->name(picked);
    Label1->setText(displayText(name));
    CurrentPicturePath = joinPath(SourceFolder, name);
    if (!isViewKind(extractFileExt(CurrentPicturePath))) {
        return;
    }
    const std::string size =
        ShowPicture(Panel4->width(), Panel4->height(), Image2, CurrentPicturePath);
    Image2->setToolTip(displayText(size));
}

}  // namespace pictaria
