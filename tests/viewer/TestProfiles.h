// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// ICC profiles made by program with LittleCMS, and JPEG and bitmap files carrying them, for the
// colour management tests and the accuracy check.

#include <lcms2.h>

#include <QtEndian>
#include <cstdint>
#include <string>

namespace pictaria::test {

// Chromaticities of the red, green and blue primaries, white D65.
struct Primaries {
    double rx, ry, gx, gy, bx, by;
};
inline constexpr Primaries kAdobeRgbLike{0.64, 0.33, 0.21, 0.71, 0.15, 0.06};
inline constexpr Primaries kDisplayP3Like{0.68, 0.32, 0.265, 0.69, 0.15, 0.06};
inline constexpr Primaries kProPhotoLike{0.7347, 0.2653, 0.1596, 0.8404, 0.0366, 0.0001};

inline std::string savedProfile(cmsHPROFILE profile) {
    cmsUInt32Number size = 0;
    cmsSaveProfileToMem(profile, nullptr, &size);
    std::string bytes(size, '\0');
    cmsSaveProfileToMem(profile, bytes.data(), &size);
    cmsCloseProfile(profile);
    return bytes;
}

// A matrix-and-curves RGB profile with a pure gamma.
inline std::string rgbProfile(const Primaries& p, double gamma) {
    cmsCIExyY white;
    cmsWhitePointFromTemp(&white, 6504);
    const cmsCIExyYTRIPLE primaries{{p.rx, p.ry, 1}, {p.gx, p.gy, 1}, {p.bx, p.by, 1}};
    cmsToneCurve* curve = cmsBuildGamma(nullptr, gamma);
    cmsToneCurve* curves[3] = {curve, curve, curve};
    cmsHPROFILE profile = cmsCreateRGBProfile(&white, &primaries, curves);
    cmsFreeToneCurve(curve);
    return savedProfile(profile);
}

inline std::string grayProfile(double gamma) {
    cmsToneCurve* curve = cmsBuildGamma(nullptr, gamma);
    cmsHPROFILE profile = cmsCreateGrayProfile(cmsD50_xyY(), curve);
    cmsFreeToneCurve(curve);
    return savedProfile(profile);
}

// A CMYK printer profile (inks to Lab through a table) whose cyan and yellow inks print as each
// other would in the plain ink formula: a picture converted through it has red and blue swapped
// against one shown with the formula, which tells a conversion from none at a glance.
inline std::string swappedInksProfile() {
    cmsHPROFILE srgb = cmsCreate_sRGBProfile();
    cmsHPROFILE lab = cmsCreateLab4Profile(nullptr);
    cmsHTRANSFORM toLab =
        cmsCreateTransform(srgb, TYPE_RGB_DBL, lab, TYPE_Lab_DBL, INTENT_RELATIVE_COLORIMETRIC, 0);
    cmsCloseProfile(srgb);
    cmsCloseProfile(lab);
    cmsStage* table = cmsStageAllocCLut16bit(nullptr, 9, 4, 3, nullptr);
    cmsStageSampleCLut16bit(
        table,
        [](const cmsUInt16Number in[], cmsUInt16Number out[], void* cargo) -> cmsInt32Number {
            const double black = 1 - in[3] / 65535.0;
            const double rgb[3] = {(1 - in[2] / 65535.0) * black, (1 - in[1] / 65535.0) * black,
                                   (1 - in[0] / 65535.0) * black};
            cmsCIELab colour;
            cmsDoTransform(cargo, rgb, &colour, 1);
            cmsFloat2LabEncoded(out, &colour);
            return 1;
        },
        toLab, 0);
    cmsDeleteTransform(toLab);
    cmsPipeline* pipeline = cmsPipelineAlloc(nullptr, 4, 3);
    // Identity curves around the table: a lutAtoBType holds curves, table, curves.
    cmsPipelineInsertStage(pipeline, cmsAT_END, cmsStageAllocToneCurves(nullptr, 4, nullptr));
    cmsPipelineInsertStage(pipeline, cmsAT_END, table);
    cmsPipelineInsertStage(pipeline, cmsAT_END, cmsStageAllocToneCurves(nullptr, 3, nullptr));
    cmsHPROFILE profile = cmsCreateProfilePlaceholder(nullptr);
    cmsSetProfileVersion(profile, 4.3);
    cmsSetDeviceClass(profile, cmsSigOutputClass);
    cmsSetColorSpace(profile, cmsSigCmykData);
    cmsSetPCS(profile, cmsSigLabData);
    cmsWriteTag(profile, cmsSigMediaWhitePointTag, cmsD50_XYZ());
    cmsWriteTag(profile, cmsSigAToB0Tag, pipeline);
    cmsPipelineFree(pipeline);
    return savedProfile(profile);
}

// JPEG bytes with `profile` in ICC_PROFILE APP2 segments of at most `chunk` bytes right after
// the start marker; `keep` picks which segments are written (all by default), to make broken
// sets.
template <typename Keep = bool (*)(int)>
std::string withIccProfile(
    const std::string& jpeg, const std::string& profile, std::size_t chunk = 65519,
    Keep keep = [](int) { return true; }) {
    const int count = static_cast<int>((profile.size() + chunk - 1) / chunk);
    std::string segments;
    for (int i = 0; i < count; ++i) {
        const std::string part = profile.substr(i * chunk, chunk);
        if (!keep(i)) {
            continue;
        }
        const std::size_t length = 2 + 14 + part.size();
        segments += "\xFF\xE2";
        segments += static_cast<char>(length >> 8);
        segments += static_cast<char>(length & 0xFF);
        segments += std::string("ICC_PROFILE\0", 12);
        segments += static_cast<char>(i + 1);
        segments += static_cast<char>(count);
        segments += part;
    }
    return jpeg.substr(0, 2) + segments + jpeg.substr(2);
}

inline void putLittle32(std::string& bytes, std::size_t at, std::uint32_t value) {
    qToLittleEndian(value, bytes.data() + at);
}

inline constexpr std::uint32_t kProfileEmbedded = 0x4D424544;  // 'MBED'
inline constexpr std::uint32_t kProfileLinked = 0x4C494E4B;    // 'LINK'

// A 24-bit bitmap of one colour with a V5 header whose colour space type is `type` and whose
// profile field points at `profile`, stored behind the pixels.
inline std::string v5Bitmap(int width, int height, std::uint32_t rgb, std::uint32_t type,
                            const std::string& profile) {
    const std::size_t rowBytes = (static_cast<std::size_t>(width) * 3 + 3) / 4 * 4;
    const std::size_t pixelsAt = 14 + 124;
    const std::size_t profileAt = pixelsAt + rowBytes * height;
    std::string bytes(profileAt, '\0');
    bytes[0] = 'B';
    bytes[1] = 'M';
    putLittle32(bytes, 2, static_cast<std::uint32_t>(profileAt + profile.size()));
    putLittle32(bytes, 10, pixelsAt);
    putLittle32(bytes, 14, 124);
    putLittle32(bytes, 18, width);
    putLittle32(bytes, 22, height);
    qToLittleEndian(std::uint16_t{1}, bytes.data() + 26);
    qToLittleEndian(std::uint16_t{24}, bytes.data() + 28);
    putLittle32(bytes, 34, static_cast<std::uint32_t>(rowBytes * height));
    putLittle32(bytes, 14 + 56, type);
    putLittle32(bytes, 14 + 108, 4);  // LCS_GM_IMAGES
    putLittle32(bytes, 14 + 112, static_cast<std::uint32_t>(profileAt - 14));
    putLittle32(bytes, 14 + 116, static_cast<std::uint32_t>(profile.size()));
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const std::size_t at = pixelsAt + y * rowBytes + x * 3;
            bytes[at] = static_cast<char>(rgb & 0xFF);
            bytes[at + 1] = static_cast<char>(rgb >> 8 & 0xFF);
            bytes[at + 2] = static_cast<char>(rgb >> 16 & 0xFF);
        }
    }
    return bytes + profile;
}

}  // namespace pictaria::test
