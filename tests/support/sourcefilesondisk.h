#pragma once

// The template pass's files read straight from disk, with nothing registered
// or written: for tests that look at what the pass alone makes of a file.

#include "sourcefile.h"
#include "sourcepass.h"
#include "text.h"

#include <QFileInfo>

inline SourceFiles sourceFilesOnDisk() {
    SourceFiles files;
    files.readText = [](const QString& path) -> std::optional<QByteArray> {
        if (!QFileInfo(path).isFile())
            return std::nullopt;
        std::optional<SourceText> source =
            sourceTextFromBytes(readFileBytes(path).value_or(QByteArray()));
        if (!source)
            return std::nullopt;
        return std::move(source->text);
    };
    files.fileKey = [](const QString& path) { return QFileInfo(path).absoluteFilePath(); };
    files.finishIncluded = [](const QString&, const QString&,
                              MappedText) -> std::optional<QByteArray> { return std::nullopt; };
    files.takeIncluded = [](const QString&, std::optional<QByteArray>) {};
    return files;
}
