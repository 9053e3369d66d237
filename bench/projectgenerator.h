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

// How the lines are spread over the files.
enum class ProjectShape {
    // Templates and most of their uses in the headers, the types and ordinary
    // code in the main file, which holds about half of the lines.
    Spread,
    // Nearly everything in one large main file: per 1,000 lines about 15
    // types (a third extending another) and 200 template uses; the dozen
    // headers only declare the templates.
    OneLargeFile,
};

// About totalLines lines in all; the same size and shape always give the same bytes.
GeneratedProject generateProject(qint64 totalLines, ProjectShape shape = ProjectShape::Spread);

// A header that declares the templates named, as the dozen headers declare
// theirs: what a small program that uses them includes.
QByteArray templateHeader(const QList<QByteArray>& names);

// Writes the project into folder; returns false when a file cannot be written.
bool writeProject(const GeneratedProject& project, const QString& folder);
