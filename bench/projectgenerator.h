#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

// A generated FreeBASIC project that exercises both extensions the way a real
// one does: a main file and a dozen included headers; templates with member
// procedures of every kind and many uses; types with fields and member
// implementations, a third of them extending another (chains included); and
// ordinary code in between.
struct GeneratedFile {
    QString name; // relative to the project folder
    QByteArray bytes;
};

struct GeneratedProject {
    QList<GeneratedFile> files; // the first one is the main file
    qint64 lineCount = 0;
    qint64 byteCount = 0;
};

// About totalLines lines in all; the same size always gives the same bytes.
GeneratedProject generateProject(qint64 totalLines);

// Writes the project into folder; returns false when a file cannot be written.
bool writeProject(const GeneratedProject& project, const QString& folder);
