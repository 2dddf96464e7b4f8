#pragma once

#include <QString>

#include <string>
#include <string_view>

// QtTest prints QStrings on a mismatch, so the tests compare the core's UTF-8 texts as QStrings.
inline QString qs(std::string_view text)
{
    return QString::fromUtf8(text.data(), qsizetype(text.size()));
}

inline std::string utf8(const QString& text)
{
    return text.toStdString();
}
