#pragma once
// Names travel as bytes; controls show them as (possibly lossy) UTF-8 text and keep the bytes
// in item data.

#include <QByteArray>
#include <QString>
#include <QVariant>

#include <string>
#include <string_view>

namespace pictaria {

inline QString displayText(std::string_view bytes) {
    return QString::fromUtf8(bytes.data(), static_cast<qsizetype>(bytes.size()));
}

inline QByteArray bytesOf(const std::string& text) {
    return QByteArray(text.data(), static_cast<qsizetype>(text.size()));
}

inline std::string textOf(const QVariant& data) {
    const QByteArray bytes = data.toByteArray();
    return std::string(bytes.constData(), static_cast<std::size_t>(bytes.size()));
}

}  // namespace pictaria
