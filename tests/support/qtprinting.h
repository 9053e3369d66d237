#pragma once

#include "mappedtext.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

#include <ostream>

// Readable GoogleTest messages for Qt strings, bytes and line origins.
inline void PrintTo(const QString& text, std::ostream* out) {
    *out << '"' << text.toStdString() << '"';
}

inline void PrintTo(const QByteArray& bytes, std::ostream* out) {
    *out << '"' << bytes.toStdString() << '"';
}

inline void PrintTo(QByteArrayView bytes, std::ostream* out) {
    *out << '"' << std::string(bytes.data(), size_t(bytes.size())) << '"';
}

inline void PrintTo(const LineOrigin& origin, std::ostream* out) {
    *out << origin.file().toStdString() << ':' << origin.line;
}
