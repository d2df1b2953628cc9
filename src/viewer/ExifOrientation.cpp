// SPDX-License-Identifier: GPL-3.0-or-later
#include "viewer/ExifOrientation.h"

#include <cstdint>

namespace pictaria {

namespace {

constexpr std::uint16_t kOrientationTag = 0x0112;
constexpr std::uint16_t kShortType = 3;
constexpr std::size_t kEntryBytes = 12;

// Reads numbers in the byte order the TIFF header names, never past the block's end.
class TiffReader {
  public:
    TiffReader(const unsigned char* data, std::size_t size, bool bigEndian)
        : data_(data), size_(size), bigEndian_(bigEndian) {}

    bool has(std::size_t offset, std::size_t bytes) const {
        return offset <= size_ && bytes <= size_ - offset;
    }
    std::uint32_t read(std::size_t offset, std::size_t bytes) const {
        std::uint32_t value = 0;
        for (std::size_t i = 0; i < bytes; ++i) {
            const std::size_t at = bigEndian_ ? offset + i : offset + bytes - 1 - i;
            value = (value << 8) | data_[at];
        }
        return value;
    }

  private:
    const unsigned char* data_;
    std::size_t size_;
    bool bigEndian_;
};

}  // namespace

int exifOrientation(const unsigned char* tiff, std::size_t size) {
    if (!tiff || size < 8) {
        return kStoredUpright;
    }
    const bool little = tiff[0] == 'I' && tiff[1] == 'I';
    const bool big = tiff[0] == 'M' && tiff[1] == 'M';
    const TiffReader reader(tiff, size, big);
    if ((!little && !big) || reader.read(2, 2) != 42) {
        return kStoredUpright;
    }
    const std::size_t directory = reader.read(4, 4);
    if (!reader.has(directory, 2)) {
        return kStoredUpright;
    }
    const std::size_t entries = reader.read(directory, 2);
    for (std::size_t i = 0; i < entries; ++i) {
        const std::size_t entry = directory + 2 + i * kEntryBytes;
        if (!reader.has(entry, kEntryBytes)) {
            break;
        }
        if (reader.read(entry, 2) != kOrientationTag) {
            continue;
        }
        const bool oneShort =
            reader.read(entry + 2, 2) == kShortType && reader.read(entry + 4, 4) == 1;
        const int value = static_cast<int>(reader.read(entry + 8, 2));
        return oneShort && value >= 1 && value <= 8 ? value : kStoredUpright;
    }
    return kStoredUpright;
}

QSize uprightSize(QSize stored, int orientation) {
    const bool swapsSides = orientation >= 5 && orientation <= 8;
    return swapsSides ? stored.transposed() : stored;
}

}  // namespace pictaria
