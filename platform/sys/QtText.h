#pragma once
// Texts cross between the system's UTF-8 std::strings and Qt's QStrings here.

#include <QString>

#include <string>
#include <string_view>

namespace tessaly {

inline QString toQString(std::string_view text)
{
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

inline std::string toUtf8(const QString& text)
{
    return text.toUtf8().toStdString();
}

} // namespace tessaly
