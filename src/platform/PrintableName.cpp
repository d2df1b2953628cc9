// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/PrintableName.h"

#include <cstdint>

namespace pictaria {

namespace {

// Length of the valid UTF-8 character starting at `at`, 0 when the bytes there are not one
// (a stray continuation byte, a cut sequence, an overlong form, a surrogate, beyond U+10FFFF).
std::size_t validCharacterLength(std::string_view bytes, std::size_t at) {
    const auto byte = [&](std::size_t i) { return static_cast<std::uint8_t>(bytes[i]); };
    const std::uint8_t lead = byte(at);
    std::size_t length = 0;
    std::uint8_t low = 0x80;  // the range the second byte must lie in
    std::uint8_t high = 0xBF;
    if (lead < 0x80) {
        return 1;
    } else if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        low = lead == 0xE0 ? 0xA0 : 0x80;
        high = lead == 0xED ? 0x9F : 0xBF;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        low = lead == 0xF0 ? 0x90 : 0x80;
        high = lead == 0xF4 ? 0x8F : 0xBF;
    } else {
        return 0;
    }
    if (at + length > bytes.size() || byte(at + 1) < low || byte(at + 1) > high) {
        return 0;
    }
    for (std::size_t i = at + 2; i < at + length; ++i) {
        if (byte(i) < 0x80 || byte(i) > 0xBF) {
            return 0;
        }
    }
    return length;
}

void appendHexEscape(std::string& out, std::uint8_t value) {
    static constexpr char kDigits[] = "0123456789ABCDEF";
    out += "\\x";
    out += kDigits[value >> 4];
    out += kDigits[value & 0xF];
}

void appendControl(std::string& out, char control, LineBreaks lineBreaks) {
    switch (control) {
        case '\n':
            out += lineBreaks == LineBreaks::Keep ? "\n" : "\\n";
            return;
        case '\r':
            out += "\\r";
            return;
        case '\t':
            out += "\\t";
            return;
        default:
            appendHexEscape(out, static_cast<std::uint8_t>(control));
    }
}

bool isControl(std::string_view bytes, std::size_t at, std::size_t length) {
    const auto lead = static_cast<std::uint8_t>(bytes[at]);
    if (length == 1) {
        return lead < 0x20 || lead == 0x7F;
    }
    // U+0080 to U+009F, the second set of control characters.
    return length == 2 && lead == 0xC2 && static_cast<std::uint8_t>(bytes[at + 1]) <= 0x9F;
}

}  // namespace

std::string printableName(std::string_view bytes, LineBreaks lineBreaks) {
    std::string out;
    out.reserve(bytes.size());
    for (std::size_t at = 0; at < bytes.size();) {
        const std::size_t length = validCharacterLength(bytes, at);
        if (length == 0) {
            appendHexEscape(out, static_cast<std::uint8_t>(bytes[at]));
            ++at;
        } else if (length == 1 && isControl(bytes, at, 1)) {
            appendControl(out, bytes[at], lineBreaks);
            ++at;
        } else if (isControl(bytes, at, length)) {
            appendHexEscape(out, static_cast<std::uint8_t>(bytes[at]));
            appendHexEscape(out, static_cast<std::uint8_t>(bytes[at + 1]));
            at += length;
        } else {
            out.append(bytes.substr(at, length));
            at += length;
        }
    }
    return out;
}

}  // namespace pictaria
