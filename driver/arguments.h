#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QList>
#include <QString>
#include <QStringList>

// What the compiler's command line says about the files the passes expand.
struct SourceArguments {
    // Every file the compiler reads as a source, in the order named: an
    // argument whose name ends in ".bas" or ".bi" in any letter case, the file
    // after -b or -include, and those named inside an @FILE response file.
    QStringList sourceFiles;
    // The folders named after -i, in order, where the compiler looks for
    // include names it does not find beside the including file.
    QStringList includeDirectories;
    // The names after -include, in order: the compiler includes each at the
    // top of every source file, looking for it as for an #include name.
    QStringList preIncludes;
    // The dialect named by the last -forcelang, or else by the last -lang, as
    // given; empty when none is. A forced one holds for every file, whatever
    // its own "#lang" says.
    QByteArray dialect;
    bool dialectForced = false;
};

// Reads the compiler's arguments. A response file is read (not changed:
// the compiler reads it itself) and its arguments, separated by blanks and
// line ends, "quoted" where they hold blanks, are read as if given in its
// place; one that cannot be read is left to the compiler to report. A source
// argument whose name cannot be opened under any text this program holds is
// passed on unexpanded, and a line says so.
SourceArguments scanArguments(const QList<QByteArray>& arguments);

// Whether an argument names a source file: it ends in .bas or .bi, in any
// letter case.
bool isSourceFileArgument(QByteArrayView argument);

// The arguments a response file's text holds.
QList<QByteArray> responseFileArguments(const QByteArray& text);
