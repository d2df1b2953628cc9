// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Converts decoded pixels from the ICC profile a picture carries to the profile they are drawn
// in (see ColourProfile.h), with LittleCMS at perceptual intent, so that a photograph saved in a
// wide colour space shows its true colours. Pictures without a profile are never converted.
//
// Transforms are made once per (embedded profile, output profile, kind of picture) and kept for
// later pictures; one transform may convert on several threads at once.

#include <QImage>
#include <memory>
#include <string_view>
#include <vector>

#include "viewer/ColourProfile.h"

namespace pictaria {

// What the decoded pixels hold, which decides the colour space the embedded profile must have.
enum class PictureColours {
    Rgb,          // 32-bit colour or a palette of colours; an RGB profile
    Gray,         // 8-bit gray; a gray profile
    Inks,         // 32-bit pixels holding C, M, Y, K bytes in that order; a CMYK profile
    InvertedInks  // the same with each ink stored inverted (as Adobe tools write them)
};

// Profiles larger than this are ignored: the largest that a JPEG can hold (255 APP2 segments)
// is about 16 MB, and real printer profiles stay under a few MB.
inline constexpr std::size_t kMaxEmbeddedProfileBytes = 8u << 20;

class ColourTransform {
  public:
    // Between two matrix-and-curves RGB profiles (most photographic and screen profiles): each
    // channel's curve as a table, one 3 x 3 matrix in linear light, and the output curve's
    // inverse as a table over 16-bit linear values. LittleCMS computes the same conversion, at
    // several times the cost per pixel.
    struct MatrixPath {
        float toLinear[3][256];
        float matrix[3][3];
        std::vector<unsigned char> fromLinear[3];  // 65536 entries each
    };

    // Takes over a LittleCMS transform handle from pictures of `colours` to 32-bit colour;
    // `matrixPath`, where given, converts RGB pixels instead of the handle.
    ColourTransform(void* handle, PictureColours colours,
                    std::unique_ptr<const MatrixPath> matrixPath = nullptr);
    ~ColourTransform();
    ColourTransform(const ColourTransform&) = delete;
    ColourTransform& operator=(const ColourTransform&) = delete;

    // Converts the picture in place:
    // - Rgb: 32-bit colour (other colour formats become 32-bit first) or a palette's colours;
    // - Gray: 8-bit gray, which stays gray when the output makes grays neutral (within one
    //   step) and otherwise becomes 32-bit colour;
    // - Inks, InvertedInks: 32-bit pixels holding inks become 32-bit colour.
    void apply(QImage& picture) const;

  private:
    void applyToColours(unsigned char* pixels, int width, int height,
                        std::ptrdiff_t bytesPerLine) const;
    void applyThroughMatrix(QRgb* pixels, int count) const;
    void applyToGray(QImage& picture) const;
    void applyToInks(QImage& picture) const;

    void* handle_;  // cmsHTRANSFORM; null for gray, which converts through the table
    PictureColours colours_;
    std::unique_ptr<const MatrixPath> matrixPath_;
    QRgb grayTable_[256] = {};
    bool grayStaysGray_ = true;
};

// The transform from `embedded` (an ICC profile read from a picture of kind `colours`) to
// `output`; null when there is nothing to do or nothing safe to do: the embedded profile is
// empty, cut, malformed, too large, of another colour space than the picture, or the same as the
// output profile. An output profile that cannot be used counts as sRGB. Safe to call from
// several threads at once.
std::shared_ptr<const ColourTransform> colourTransformFor(std::string_view embedded,
                                                          PictureColours colours,
                                                          const ColourProfile& output);

// How many transforms were made so far (not found kept), for tests of the cache.
int colourTransformsMade();

}  // namespace pictaria
