// SPDX-License-Identifier: GPL-3.0-or-later
#include "e2e/ScreenSampler.h"

#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <memory>
#include <stdexcept>

namespace pictaria::e2e {

namespace {

// The position of the lowest bit of a colour mask and the mask's largest value there.
int shiftOf(unsigned long mask) {
    int shift = 0;
    while (mask != 0 && (mask & 1) == 0) {
        mask >>= 1;
        ++shift;
    }
    return shift;
}

int channel(unsigned long pixel, unsigned long mask) {
    const unsigned long value = (pixel & mask) >> shiftOf(mask);
    const unsigned long maximum = mask >> shiftOf(mask);
    return maximum == 0 ? 0 : static_cast<int>(value * 255 / maximum);
}

}  // namespace

ScreenSampler::ScreenSampler(const std::string& display) : display_(XOpenDisplay(display.c_str())) {
    if (!display_) {
        throw std::runtime_error("cannot open the display " + display);
    }
}

ScreenSampler::~ScreenSampler() {
    XCloseDisplay(display_);
}

QColor ScreenSampler::meanColour(const QRect& area) const {
    // XDestroyImage is a macro, so the image is let go through a function of our own.
    const auto destroy = [](XImage* image) { XDestroyImage(image); };
    const std::unique_ptr<XImage, decltype(destroy)> image(
        XGetImage(display_, DefaultRootWindow(display_), area.x(), area.y(),
                  static_cast<unsigned>(area.width()), static_cast<unsigned>(area.height()),
                  AllPlanes, ZPixmap),
        destroy);
    if (!image) {
        throw std::runtime_error("the screen cannot be read there");
    }
    long long red = 0;
    long long green = 0;
    long long blue = 0;
    for (int y = 0; y < area.height(); ++y) {
        for (int x = 0; x < area.width(); ++x) {
            const unsigned long pixel = XGetPixel(image.get(), x, y);
            red += channel(pixel, image->red_mask);
            green += channel(pixel, image->green_mask);
            blue += channel(pixel, image->blue_mask);
        }
    }
    const long long count = static_cast<long long>(area.width()) * area.height();
    return QColor(static_cast<int>(red / count), static_cast<int>(green / count),
                  static_cast<int>(blue / count));
}

}  // namespace pictaria::e2e
