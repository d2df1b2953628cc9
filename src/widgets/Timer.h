// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A repeating timer whose interval doubles as its run state: 0 means stopped, any other value is
// the period in milliseconds. Like a freshly placed timer, it starts at 1000 ms and running.

#include <QObject>
#include <QTimer>

namespace pictaria {

class Timer : public QObject {
    Q_OBJECT

  public:
    explicit Timer(QObject* parent = nullptr);

    int interval() const { return interval_; }
    // 0 stops the timer; a new positive interval (re)starts it with that period. Setting the
    // interval it already runs with changes nothing.
    void setInterval(int milliseconds);
    bool isRunning() const { return timer_.isActive(); }

  signals:
    void timeout();

  private:
    QTimer timer_;
    int interval_ = 0;
};

}  // namespace pictaria
