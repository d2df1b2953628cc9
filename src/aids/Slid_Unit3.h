#pragma once
// The slide show window: borderless, created hidden at start-up and kept for the whole run.
// Closing it only hides it and never ends the program.

#include <QWidget>

namespace pictaria {

class TSlidShowForm : public QWidget {
    Q_OBJECT

  public:
    explicit TSlidShowForm(QWidget* parent = nullptr);
};

// The slide show window of the process.
extern TSlidShowForm* SlidShowForm;

}  // namespace pictaria
