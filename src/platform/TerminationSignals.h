// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Turns SIGTERM, SIGINT and SIGHUP (a logout, a shutdown, kill, Ctrl+C in a terminal) into a
// call on the thread that made this object, so that the program can end as when its window is
// closed: a command at work stops after the file in hand and finishes what it copied, instead of
// being cut off mid-file. One object at a time; the signals take their former handling back when
// it goes.

#include <QObject>

#include <csignal>

class QSocketNotifier;

namespace pictaria {

class TerminationSignals : public QObject {
    Q_OBJECT

  public:
    explicit TerminationSignals(QObject* parent = nullptr);
    ~TerminationSignals() override;

  signals:
    void received(int signalNumber);

  private:
    void readSignal();

    int pipe_[2] = {-1, -1};
    QSocketNotifier* notifier_ = nullptr;
    struct sigaction former_[3] = {};
};

}  // namespace pictaria
