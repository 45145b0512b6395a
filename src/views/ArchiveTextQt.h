#pragma once

#include <QString>
#include <string>

#include "TextEncoding.h"

// An archive's names and texts are Windows-1252 bytes; this is how they are shown.
inline QString FromArchiveText(const std::string& text)
{
    return QString::fromStdString(Cp1252ToUtf8(text));
}
