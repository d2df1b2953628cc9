// SPDX-License-Identifier: GPL-3.0-or-later
#include "viewer/ScreenDepth.h"

#include <QGuiApplication>
#include <QScreen>

namespace pictaria {

namespace {

constexpr int kDepthWithoutScreen = 24;

int measuredDepth() {
    const QScreen* screen = qobject_cast<QGuiApplication*>(QCoreApplication::instance())
                                ? QGuiApplication::primaryScreen()
                                : nullptr;
    return screen ? screen->depth() : kDepthWithoutScreen;
}

int& keptDepth() {
    static int depth = measuredDepth();
    return depth;
}

}  // namespace

int screenDepth() {
    return keptDepth();
}

void setScreenDepth(int bitsPerPixel) {
    keptDepth() = bitsPerPixel;
}

}  // namespace pictaria
