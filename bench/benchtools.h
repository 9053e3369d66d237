#pragma once

// Small helpers the benchmark runners share.

#include <QFile>
#include <QList>
#include <QString>

#include <algorithm>

inline double median(QList<double> values) {
    std::sort(values.begin(), values.end());
    const qsizetype n = values.size();
    return n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

// Copies a program into place (fbc, fbc2 of a temporary installation).
inline void install(const QString& from, const QString& to) {
    QFile::remove(to);
    if (!QFile::copy(from, to))
        qFatal("cannot copy %s to %s", qPrintable(from), qPrintable(to));
}
