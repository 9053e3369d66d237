#pragma once

#include <QMap>
#include <QString>
#include <QStringList>

// One example of FreeBASIC's manual compiled with -c by the real compiler
// alone and through fbext, each in a fresh copy of the example's folder.
struct ExampleComparison {
    QString file;       // path below the manual's examples folder
    bool same = true;   // same exit status and messages (folder paths taken out)
    QString difference; // both outcomes, when they differ
    QStringList damage; // sources not left as they were, journals left behind
};

// The examples to compare: every .bas file below manualDir, or with
// sampleStep > 1 every sampleStep-th of them in name order plus each of
// alwaysIncluded, so a sample is the same on every run.
QStringList manualExamples(const QString& manualDir, int sampleStep,
                           const QStringList& alwaysIncluded);

// Compares the files on the given number of parallel jobs.
QList<ExampleComparison> compareManualExamples(const QString& manualDir, const QStringList& files,
                                               const QString& fbextProgram,
                                               const QString& realCompiler, int jobs);

// The committed list of examples known to differ: "path: issue N" per line,
// "#" starts a comment.
QMap<QString, QString> readKnownDifferences(const QString& listFile, QString* problem);
