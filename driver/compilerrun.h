#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

// Exit status used when the real compiler is missing or cannot be started.
constexpr int compilerNotStartedStatus = 127;

// The program's arguments after its own name, exactly as it was given them:
// the bytes of argv on POSIX, whatever they are (a file name in another
// encoding stays that file's name); the command line's text as UTF-8 on Windows.
QList<QByteArray> commandLineArguments(int argc, char* argv[]);

// Runs the real compiler once with the arguments exactly as given, with
// environmentAdditions ("NAME=value") added to this program's environment. Its
// standard input, output and error are the program's own, so everything it
// prints arrives byte for byte as it is produced. Returns the compiler's exit
// status, 128 + the signal number when a signal ended it, or
// compilerNotStartedStatus (after one line on standard error) when it could not
// be started. When an interrupt comes while it runs, the compiler gets a second
// to end on its own (it usually received the signal too), then the same
// signal, and is finally killed.
int runCompiler(const QString& program, const QList<QByteArray>& arguments,
                const QList<QByteArray>& environmentAdditions = {});
