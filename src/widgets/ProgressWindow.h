#pragma once
// The progress of long file work: a window modal to its owner that appears only once the work
// has taken about a second, with a Cancel button that asks the work to stop.

#include <QString>

#include <cstdint>
#include <memory>

class QProgressDialog;
class QWidget;

namespace pictaria {

class ProgressWindow {
  public:
    ProgressWindow(QWidget* owner, const QString& label);
    ProgressWindow(const ProgressWindow&) = delete;
    ProgressWindow& operator=(const ProgressWindow&) = delete;
    ~ProgressWindow();

    // Shows how far the work has come; false once the user asked it to stop.
    bool report(std::int64_t done, std::int64_t total);

  private:
    std::unique_ptr<QProgressDialog> dialog_;
};

}  // namespace pictaria
