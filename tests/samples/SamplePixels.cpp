// SPDX-License-Identifier: GPL-3.0-or-later
#include "samples/SamplePixels.h"

#include <algorithm>
#include <cmath>

namespace pictaria::samples {

namespace {

// xorshift32: fast, deterministic grain.
class Grain {
  public:
    explicit Grain(std::uint32_t seed) : state_(seed ? seed : 0x9e3779b9u) {}
    int next(int amplitude) {
        state_ ^= state_ << 13;
        state_ ^= state_ >> 17;
        state_ ^= state_ << 5;
        return static_cast<int>(state_ % (2u * amplitude + 1u)) - amplitude;
    }

  private:
    std::uint32_t state_;
};

uchar clampToByte(int value) {
    return static_cast<uchar>(std::clamp(value, 0, 255));
}

template <typename PixelOf>
QImage drawPicture(int width, int height, PixelOf pixelOf) {
    QImage picture(width, height, QImage::Format_RGB888);
    for (int y = 0; y < height; ++y) {
        uchar* row = picture.scanLine(y);
        for (int x = 0; x < width; ++x) {
            const auto [r, g, b] = pixelOf(x, y);
            row[3 * x] = clampToByte(r);
            row[3 * x + 1] = clampToByte(g);
            row[3 * x + 2] = clampToByte(b);
        }
    }
    return picture;
}

struct Rgb {
    int r, g, b;
};

}  // namespace

QImage solidPicture(int width, int height, QColor colour) {
    return drawPicture(width, height, [&](int, int) {
        return Rgb{colour.red(), colour.green(), colour.blue()};
    });
}

QImage gradientPicture(int width, int height) {
    const int w = std::max(1, width - 1);
    const int h = std::max(1, height - 1);
    return drawPicture(width, height, [&](int x, int y) {
        return Rgb{255 * x / w, 255 * y / h, 255 * (x + y) / (w + h)};
    });
}

QImage grainyPicture(int width, int height, std::uint32_t seed) {
    Grain grain(seed);
    const double fx = 6.2831853 / std::max(1, width);
    const double fy = 6.2831853 / std::max(1, height);
    return drawPicture(width, height, [&](int x, int y) {
        const double field = std::sin(3 * fx * x) * std::cos(2 * fy * y);
        const int base = static_cast<int>(128 + 90 * field);
        return Rgb{base + grain.next(40), 255 - base + grain.next(40),
                   static_cast<int>(128 + 100 * std::sin(fx * (x + y))) + grain.next(40)};
    });
}

}  // namespace pictaria::samples
