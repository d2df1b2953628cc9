// SPDX-License-Identifier: GPL-3.0-or-later
#include "viewer/ColourTransform.h"

#include <lcms2.h>
#include <lcms2_plugin.h>

#include <algorithm>
#include <atomic>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <list>
#include <mutex>
#include <string>
#include <vector>

namespace pictaria {

namespace {

// 32-bit colour as QImage keeps it: 0xffRRGGBB in the machine's byte order.
#if Q_BYTE_ORDER == Q_LITTLE_ENDIAN
constexpr cmsUInt32Number kScreenPixels = TYPE_BGRA_8;
#else
constexpr cmsUInt32Number kScreenPixels = TYPE_ARGB_8;
#endif

// Kept transforms; pictures of a few profiles alternate, so a few suffice.
constexpr std::size_t kKeptTransforms = 16;

// The profile header's fixed size: anything shorter is not a profile.
constexpr std::size_t kProfileHeaderBytes = 128;

void ignoreMessage(cmsContext, cmsUInt32Number, const char*) {}

// LittleCMS's own context, so that its complaints about broken profiles are not printed and
// nothing else in the process shares its settings. Made once, kept for the process.
cmsContext lcmsContext() {
    static const cmsContext context = [] {
        cmsContext made = cmsCreateContext(nullptr, nullptr);
        cmsSetLogErrorHandlerTHR(made, ignoreMessage);
        return made;
    }();
    return context;
}

cmsColorSpaceSignature spaceFor(PictureColours colours) {
    switch (colours) {
        case PictureColours::Gray:
            return cmsSigGrayData;
        case PictureColours::Inks:
        case PictureColours::InvertedInks:
            return cmsSigCmykData;
        default:
            return cmsSigRgbData;
    }
}

cmsUInt32Number inputPixelsFor(PictureColours colours) {
    switch (colours) {
        case PictureColours::Gray:
            return TYPE_GRAY_8;
        case PictureColours::Inks:
            return TYPE_CMYK_8;
        case PictureColours::InvertedInks:
            return TYPE_CMYK_8_REV;
        default:
            return kScreenPixels;
    }
}

struct ProfileCloser {
    void operator()(void* profile) const { cmsCloseProfile(profile); }
};
using ProfileHandle = std::unique_ptr<void, ProfileCloser>;

// A field of the profile header, big-endian; signatures are compared as numbers, since a file
// may hold any value where the library's types list a few.
std::uint32_t headerField(std::string_view bytes, std::size_t at) {
    const auto* field = reinterpret_cast<const unsigned char*>(bytes.data()) + at;
    return std::uint32_t{field[0]} << 24 | std::uint32_t{field[1]} << 16 |
           std::uint32_t{field[2]} << 8 | std::uint32_t{field[3]};
}

// A profile that describes colours of `space` and can convert them (not a device link, an
// abstract or a named-colour profile, and connecting through XYZ or Lab); null otherwise.
ProfileHandle usableProfile(std::string_view bytes, cmsColorSpaceSignature space) {
    if (bytes.size() < kProfileHeaderBytes || bytes.size() > kMaxEmbeddedProfileBytes) {
        return nullptr;
    }
    const std::uint32_t kind = headerField(bytes, 12);
    const std::uint32_t connection = headerField(bytes, 20);
    if (headerField(bytes, 16) != space || kind == cmsSigLinkClass || kind == cmsSigAbstractClass ||
        kind == cmsSigNamedColorClass ||
        (connection != cmsSigXYZData && connection != cmsSigLabData)) {
        return nullptr;
    }
    return ProfileHandle(cmsOpenProfileFromMemTHR(lcmsContext(), bytes.data(),
                                                  static_cast<cmsUInt32Number>(bytes.size())));
}

constexpr int kLinearSteps = 65536;

// The curve of a channel as a table of linear light over its 256 stored values.
bool tabulateCurve(const cmsToneCurve* curve, float* table) {
    for (int value = 0; value < 256; ++value) {
        table[value] = cmsEvalToneCurveFloat(curve, static_cast<cmsFloat32Number>(value / 255.0));
        if (!std::isfinite(table[value])) {
            return false;
        }
    }
    return true;
}

// The inverse of an increasing output curve: for each 16-bit linear value, the stored value
// whose light is nearest in stored steps (the midpoints between stored values are the limits).
std::vector<unsigned char> inverseTable(const cmsToneCurve* curve) {
    std::vector<unsigned char> table(kLinearSteps);
    int value = 0;
    for (int step = 0; step < kLinearSteps; ++step) {
        while (value < 255 &&
               cmsEvalToneCurveFloat(curve, static_cast<cmsFloat32Number>((value + 0.5) / 255.0)) *
                       (kLinearSteps - 1) <=
                   step) {
            ++value;
        }
        table[step] = static_cast<unsigned char>(value);
    }
    return table;
}

bool readColorants(void* profile, cmsMAT3& colorants) {
    const cmsTagSignature tags[3] = {cmsSigRedColorantTag, cmsSigGreenColorantTag,
                                     cmsSigBlueColorantTag};
    for (int column = 0; column < 3; ++column) {
        const auto* xyz = static_cast<const cmsCIEXYZ*>(cmsReadTag(profile, tags[column]));
        if (!xyz) {
            return false;
        }
        colorants.v[0].n[column] = xyz->X;
        colorants.v[1].n[column] = xyz->Y;
        colorants.v[2].n[column] = xyz->Z;
    }
    return true;
}

const cmsToneCurve* curveOf(void* profile, int channel) {
    const cmsTagSignature tags[3] = {cmsSigRedTRCTag, cmsSigGreenTRCTag, cmsSigBlueTRCTag};
    return static_cast<const cmsToneCurve*>(cmsReadTag(profile, tags[channel]));
}

// The matrix path between two matrix-and-curves profiles; null when either is another kind, or
// its matrix cannot be inverted or its curves do not rise.
std::unique_ptr<const ColourTransform::MatrixPath> matrixPathFor(void* input, void* output) {
    if (!cmsIsMatrixShaper(input) || !cmsIsMatrixShaper(output) ||
        cmsGetColorSpace(input) != cmsSigRgbData || cmsGetColorSpace(output) != cmsSigRgbData) {
        return nullptr;
    }
    cmsMAT3 fromInput;
    cmsMAT3 fromOutput;
    cmsMAT3 toOutput;
    if (!readColorants(input, fromInput) || !readColorants(output, fromOutput) ||
        !_cmsMAT3inverse(&fromOutput, &toOutput)) {
        return nullptr;
    }
    auto path = std::make_unique<ColourTransform::MatrixPath>();
    cmsMAT3 joined;
    _cmsMAT3per(&joined, &toOutput, &fromInput);
    for (int channel = 0; channel < 3; ++channel) {
        const cmsToneCurve* in = curveOf(input, channel);
        const cmsToneCurve* out = curveOf(output, channel);
        if (!in || !out || !cmsIsToneCurveMonotonic(out) || cmsIsToneCurveDescending(out)) {
            return nullptr;
        }
        if (!tabulateCurve(in, path->toLinear[channel])) {
            return nullptr;
        }
        path->fromLinear[channel] = inverseTable(out);
        for (int column = 0; column < 3; ++column) {
            path->matrix[channel][column] = static_cast<float>(joined.v[channel].n[column]);
            if (!std::isfinite(path->matrix[channel][column])) {
                return nullptr;
            }
        }
    }
    return path;
}

ProfileHandle outputProfileFor(const ColourProfile& output) {
    if (!output.isSrgb()) {
        if (ProfileHandle screen = usableProfile(output.bytes(), cmsSigRgbData)) {
            return screen;
        }
    }
    return ProfileHandle(cmsCreate_sRGBProfileTHR(lcmsContext()));
}

// Null when LittleCMS cannot join the two profiles.
std::shared_ptr<const ColourTransform> makeTransform(std::string_view embedded,
                                                     PictureColours colours,
                                                     const ColourProfile& output) {
    const ProfileHandle input = usableProfile(embedded, spaceFor(colours));
    const ProfileHandle screen = outputProfileFor(output);
    if (!input || !screen) {
        return nullptr;
    }
    // No one-pixel cache: it is the only state a transform changes while it converts, and
    // without it one transform converts on several threads at once.
    cmsUInt32Number flags = cmsFLAGS_NOCACHE;
    if (colours == PictureColours::Rgb) {
        flags |= cmsFLAGS_COPY_ALPHA;  // keeps the padding byte of 32-bit pixels
    }
    cmsHTRANSFORM handle =
        cmsCreateTransformTHR(lcmsContext(), input.get(), inputPixelsFor(colours), screen.get(),
                              kScreenPixels, INTENT_PERCEPTUAL, flags);
    if (!handle) {
        return nullptr;
    }
    return std::make_shared<const ColourTransform>(
        handle, colours,
        colours == PictureColours::Rgb ? matrixPathFor(input.get(), screen.get()) : nullptr);
}

struct KeptTransform {
    std::string embedded;
    PictureColours colours;
    ColourProfile output;
    std::size_t embeddedHash;
    std::shared_ptr<const ColourTransform> transform;  // null: the profile is of no use
};

std::mutex gKeptMutex;
std::list<KeptTransform> gKept;  // most recently used first
std::atomic<int> gMade{0};

}  // namespace

ColourTransform::ColourTransform(void* handle, PictureColours colours,
                                 std::unique_ptr<const MatrixPath> matrixPath)
    : handle_(handle), colours_(colours), matrixPath_(std::move(matrixPath)) {
    if (colours_ != PictureColours::Gray) {
        return;
    }
    // Eight-bit gray has 256 values: converted once, looked up for every pixel.
    unsigned char grays[256];
    for (int value = 0; value < 256; ++value) {
        grays[value] = static_cast<unsigned char>(value);
        grayTable_[value] = 0xFFFFFFFFu;
    }
    cmsDoTransform(handle_, grays, grayTable_, 256);
    for (QRgb& colour : grayTable_) {
        colour |= 0xFF000000u;
        grayStaysGray_ = grayStaysGray_ && std::abs(qRed(colour) - qGreen(colour)) <= 1 &&
                         std::abs(qBlue(colour) - qGreen(colour)) <= 1;
    }
    cmsDeleteTransform(handle_);
    handle_ = nullptr;
}

ColourTransform::~ColourTransform() {
    if (handle_) {
        cmsDeleteTransform(handle_);
    }
}

void ColourTransform::applyThroughMatrix(QRgb* pixels, int count) const {
    const MatrixPath& path = *matrixPath_;
    const unsigned char* toRed = path.fromLinear[0].data();
    const unsigned char* toGreen = path.fromLinear[1].data();
    const unsigned char* toBlue = path.fromLinear[2].data();
    // Light out of range (colours the output cannot show) is clipped.
    auto step = [](float light) {
        const float scaled = light * (kLinearSteps - 1) + 0.5f;
        if (!(scaled > 0)) {
            return 0;
        }
        return scaled >= kLinearSteps - 1 ? kLinearSteps - 1 : static_cast<int>(scaled);
    };
    const auto& m = path.matrix;
    for (int i = 0; i < count; ++i) {
        const QRgb pixel = pixels[i];
        const float r = path.toLinear[0][qRed(pixel)];
        const float g = path.toLinear[1][qGreen(pixel)];
        const float b = path.toLinear[2][qBlue(pixel)];
        pixels[i] = (pixel & 0xFF000000u) |
                    QRgb{toRed[step(m[0][0] * r + m[0][1] * g + m[0][2] * b)]} << 16 |
                    QRgb{toGreen[step(m[1][0] * r + m[1][1] * g + m[1][2] * b)]} << 8 |
                    QRgb{toBlue[step(m[2][0] * r + m[2][1] * g + m[2][2] * b)]};
    }
}

void ColourTransform::applyToColours(unsigned char* pixels, int width, int height,
                                     std::ptrdiff_t bytesPerLine) const {
    if (matrixPath_) {
        for (int y = 0; y < height; ++y) {
            applyThroughMatrix(reinterpret_cast<QRgb*>(pixels + y * bytesPerLine), width);
        }
        return;
    }
    const auto stride = static_cast<cmsUInt32Number>(bytesPerLine);
    cmsDoTransformLineStride(handle_, pixels, pixels, static_cast<cmsUInt32Number>(width),
                             static_cast<cmsUInt32Number>(height), stride, stride, 0, 0);
}

void ColourTransform::applyToGray(QImage& picture) const {
    const int width = picture.width();
    if (grayStaysGray_) {
        unsigned char table[256];
        for (int value = 0; value < 256; ++value) {
            table[value] = static_cast<unsigned char>(qGreen(grayTable_[value]));
        }
        for (int y = 0; y < picture.height(); ++y) {
            uchar* row = picture.scanLine(y);
            for (int x = 0; x < width; ++x) {
                row[x] = table[row[x]];
            }
        }
        return;
    }
    QImage colour(picture.size(), QImage::Format_RGB32);
    if (colour.isNull()) {
        return;  // memory is short: the gray stays as it is
    }
    for (int y = 0; y < picture.height(); ++y) {
        const uchar* grays = picture.constScanLine(y);
        auto* pixels = reinterpret_cast<QRgb*>(colour.scanLine(y));
        for (int x = 0; x < width; ++x) {
            pixels[x] = grayTable_[grays[x]];
        }
    }
    picture = std::move(colour);
}

void ColourTransform::applyToInks(QImage& picture) const {
    const int width = picture.width();
    std::vector<QRgb> row(static_cast<std::size_t>(width));
    for (int y = 0; y < picture.height(); ++y) {
        uchar* inks = picture.scanLine(y);
        cmsDoTransform(handle_, inks, row.data(), static_cast<cmsUInt32Number>(width));
        for (QRgb& pixel : row) {
            pixel |= 0xFF000000u;  // LittleCMS leaves the padding byte as it finds it
        }
        std::memcpy(inks, row.data(), row.size() * sizeof(QRgb));
    }
}

void ColourTransform::apply(QImage& picture) const {
    if (picture.isNull()) {
        return;
    }
    switch (colours_) {
        case PictureColours::Gray:
            if (picture.format() == QImage::Format_Grayscale8) {
                applyToGray(picture);
            }
            return;
        case PictureColours::Inks:
        case PictureColours::InvertedInks:
            if (picture.format() == QImage::Format_RGB32) {
                applyToInks(picture);
            }
            return;
        case PictureColours::Rgb:
            break;
    }
    if (picture.colorCount() > 0) {
        QList<QRgb> table = picture.colorTable();
        applyToColours(reinterpret_cast<unsigned char*>(table.data()),
                       static_cast<int>(table.size()), 1,
                       static_cast<std::ptrdiff_t>(table.size() * sizeof(QRgb)));
        picture.setColorTable(table);
        return;
    }
    if (picture.format() != QImage::Format_RGB32 && picture.format() != QImage::Format_ARGB32) {
        picture = picture.convertToFormat(QImage::Format_RGB32);
        if (picture.isNull()) {
            return;
        }
    }
    applyToColours(picture.bits(), picture.width(), picture.height(), picture.bytesPerLine());
}

std::shared_ptr<const ColourTransform> colourTransformFor(std::string_view embedded,
                                                          PictureColours colours,
                                                          const ColourProfile& output) {
    if (embedded.empty() || embedded.size() > kMaxEmbeddedProfileBytes ||
        embedded == output.bytes()) {
        return nullptr;
    }
    const std::size_t embeddedHash = std::hash<std::string_view>{}(embedded);
    {
        const std::lock_guard lock(gKeptMutex);
        for (auto kept = gKept.begin(); kept != gKept.end(); ++kept) {
            if (kept->embeddedHash == embeddedHash && kept->colours == colours &&
                kept->output == output && kept->embedded == embedded) {
                gKept.splice(gKept.begin(), gKept, kept);
                return kept->transform;
            }
        }
    }
    // Made outside the lock: a large printer profile takes a while, and other pictures need
    // not wait for it. Two threads may make the same transform; both are correct.
    std::shared_ptr<const ColourTransform> transform = makeTransform(embedded, colours, output);
    ++gMade;
    const std::lock_guard lock(gKeptMutex);
    gKept.push_front({std::string(embedded), colours, output, embeddedHash, transform});
    if (gKept.size() > kKeptTransforms) {
        gKept.pop_back();
    }
    return transform;
}

int colourTransformsMade() {
    return gMade.load();
}

}  // namespace pictaria
