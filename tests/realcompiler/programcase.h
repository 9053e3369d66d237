#pragma once

#include <QByteArray>
#include <QList>
#include <QMap>
#include <QString>
#include <QStringList>

// One program to build through fbext with the real compiler and run: its
// sources as a user has them, how it is built, and what it must do.
struct ProgramCase {
    QMap<QString, QByteArray> files; // relative path -> bytes
    QList<QStringList> commands;     // fbc's arguments, one compile each, in order
    QList<bool> withNext;            // per command: it runs at the same time as the next one
    QString program = QStringLiteral("main"); // run after the build, in the folder
    QByteArray expectedOutput;                // the program's exact standard output
    QByteArray expectedError;                 // when set, the build fails with this message first
    bool compareWithPlain = false;            // also built by the real compiler directly ...
    QMap<QString, QByteArray> plainFiles;     // ... from these sources (the same when empty)
    QString knownFailure;                     // "issue N: subject" of the issue that makes it pass
    QString knownFailureMarker;               // the file that says so, named in messages
};

// A program folder of the corpus: the sources, plus
//   command           fbc's arguments, one compile per line (default: main.bas);
//                     a line ending in " &" runs at the same time as the next
//                     line, as make -j runs them, and their compilers must run
//                     at one moment
//   expected-output   what ./main prints
//   expected-error    instead of expected-output: the build fails, and its
//                     first "file(line) error N" message begins with this line
//   compare-with-plain  the real compiler alone must build a program that
//                     prints the same
//   known-failure     "issue N: subject": it fails until that issue is done
// Returns false with a reason when the folder is not in that form.
bool loadProgramFolder(const QString& dir, ProgramCase* program, QString* problem);

// One program of examples/NAME/: `fbc FILE.bas`, then ./FILE, whose output is
// expected/FILE.bas.out; expected/FILE.bas.known-failure marks it as failing.
bool loadExample(const QString& exampleDir, const QString& sourceFile, ProgramCase* program,
                 QString* problem);

// The user guide's example NAME: the block marked "<!-- example NAME: source -->"
// as main.bas, built through fbext; the block marked "compiler input" built by
// the real compiler directly; both print the block marked "output".
bool loadGuideExample(const QString& guidePath, const QString& name, ProgramCase* program,
                      QString* problem);

// fbc's arguments on one line of a command file: separated by spaces, a
// double-quoted argument may hold spaces.
QStringList splitCommandLine(const QString& line);
