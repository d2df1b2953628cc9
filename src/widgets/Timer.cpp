// SPDX-License-Identifier: GPL-3.0-or-later
#include "widgets/Timer.h"

#include <algorithm>

namespace pictaria {

namespace {

constexpr int kInitialInterval = 1000;

}  // namespace

Timer::Timer(QObject* parent) : QObject(parent) {
    connect(&timer_, &QTimer::timeout, this, &Timer::timeout);
    setInterval(kInitialInterval);
}

void Timer::setInterval(int milliseconds) {
    milliseconds = std::max(0, milliseconds);
    if (milliseconds == interval_ && isRunning() == (interval_ > 0)) {
        return;  // an unchanged interval does not restart the period
    }
    interval_ = milliseconds;
    if (interval_ == 0) {
        timer_.stop();
        return;
    }
    timer_.start(interval_);
}

}  // namespace pictaria
