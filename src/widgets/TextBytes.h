// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Names travel as bytes; controls show them with the bytes that are not UTF-8 and the control
// characters escaped, so that no two names look alike, and keep the bytes in item data.

#include <QByteArray>
#include <QString>
#include <QVariant>

#include <string>
#include <string_view>

#include "platform/PrintableName.h"

namespace pictaria {

inline QString displayText(std::string_view bytes, LineBreaks lineBreaks = LineBreaks::Escape) {
    const std::string printable = printableName(bytes, lineBreaks);
    return QString::fromUtf8(printable.data(), static_cast<qsizetype>(printable.size()));
}

inline QByteArray bytesOf(const std::string& text) {
    return QByteArray(text.data(), static_cast<qsizetype>(text.size()));
}

inline std::string textOf(const QVariant& data) {
    const QByteArray bytes = data.toByteArray();
    return std::string(bytes.constData(), static_cast<std::size_t>(bytes.size()));
}

}  // namespace pictaria
