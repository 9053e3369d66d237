#pragma once

#include "mappedtext.h"

#include <QString>
#include <QStringList>

#include <ostream>

// Readable GoogleTest messages for Qt strings and line origins.
inline void PrintTo(const QString& text, std::ostream* out) {
    *out << '"' << text.toStdString() << '"';
}

inline void PrintTo(const LineOrigin& origin, std::ostream* out) {
    *out << origin.file.toStdString() << ':' << origin.line;
}
