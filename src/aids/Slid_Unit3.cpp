#include "aids/Slid_Unit3.h"

namespace pictaria {

TSlidShowForm* SlidShowForm = nullptr;

TSlidShowForm::TSlidShowForm(QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::FramelessWindowHint) {
    setObjectName(QStringLiteral("SlidShowForm"));
    setAttribute(Qt::WA_QuitOnClose, false);
}

}  // namespace pictaria
