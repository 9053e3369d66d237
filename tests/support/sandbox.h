#pragma once

#include <QByteArray>
#include <QList>
#include <QMap>
#include <QProcess>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

#include <memory>

// One recorded call of the stand-in compiler.
struct CompilerCall {
    QStringList arguments;
    QList<QByteArray> rawArguments; // exactly the bytes the compiler was given
    QString workingDirectory;
    QMap<int, QByteArray> files;        // argument index -> bytes of the file it named
    qint64 startedMs = -1;              // when it started and ended its work (since the epoch)
    qint64 endedMs = -1;                // -1: it never got that far
    QStringList environment;            // NAME=value entries
    QStringList parentStartEnvironment; // fbc's environment when it started (Linux)
    QStringList journals;               // fbext's journals in progress during the compile
    bool hasFile(int index) const { return files.contains(index); }
};

struct RunResult {
    int exitCode = -1;
    QByteArray standardOutput;
    QByteArray standardError;
};

// How a run is started, beyond its arguments (Unix).
struct Launch {
    // As root, run as the unprivileged user nobody, who is given the whole
    // sandbox (ownSandbox) or only its folder and the journal's home;
    // otherwise run as the current user.
    bool unprivileged = false;
    bool ownSandbox = true;
    bool giveAway = true;     // false: the test gave the sandbox away itself (giveAway())
    qint64 fileSizeLimit = 0; // the run's limit on file sizes (as on a full disk); 0: none
    qint64 openFileLimit = 0; // the run's limit on open files, which it cannot raise; 0: none
    int outputTo = -1; // a descriptor the run's standard output and error go to; -1: the test's
};

// The user an unprivileged run runs as when the tests run as root.
constexpr uint unprivilegedUser = 65534;

// A temporary installation: the built program as fbc beside the stand-in
// compiler as fbc2, plus whatever source files a test writes into it.
class Sandbox {
public:
    Sandbox();

    QString dir() const { return temporary.path(); }

    // Puts the build of the program with the write hook (faultinjection.cpp)
    // beside fbc as fbc-faults, which later runs start instead of fbc while
    // faultInjecting is true. The variables it reads are set with
    // setEnvironment().
    void useFaultInjectingProgram(bool faultInjecting);

    // Sets a variable in the environment of every later run.
    void setEnvironment(const QString& name, const QString& value);
    QString path(const QString& relative) const;

    void writeFile(const QString& relative, const QByteArray& bytes) const;
    QByteArray readFile(const QString& relative) const;

    // What the stand-in compiler prints and how it exits.
    void scriptCompiler(const QByteArray& standardOutput, const QByteArray& standardError = {},
                        int exitCode = 0, int signal = 0) const;

    // Makes the stand-in report an error, numbered as the real compiler numbers
    // lines, at every source line that contains marker.
    void scriptErrorsAt(const QByteArray& marker) const;

    // Runs fbc with the arguments, in the sandbox or in a folder below it.
    RunResult run(const QStringList& arguments, const QString& workingDirectory = {}) const;

    // Runs fbc in the sandbox with arguments of any bytes, as a shell passes
    // them (text arguments can only hold names that are valid UTF-8).
    RunResult runWithArgumentBytes(const QList<QByteArray>& arguments) const;

    QList<CompilerCall> calls() const;

    // Makes the stand-in compiler take its time (sleepMs) and ignore the given
    // signals, on top of what scriptCompiler() set.
    void scriptCompilerDelay(int sleepMs, const QList<int>& ignoredSignals = {}) const;

    // Makes the stand-in compiler lower the file size limit of the fbc that
    // runs it to bytes, so that fbc's writes after the compile fail as on a
    // full disk.
    void scriptCompilerParentFileSizeLimit(int bytes) const;

    // Starts fbc in the background, as run() would.
    std::unique_ptr<QProcess> start(const QStringList& arguments,
                                    const QString& workingDirectory = {}) const;
    std::unique_ptr<QProcess> start(const QStringList& arguments, const Launch& launch) const;

    // Starts the build with the write hook (useFaultInjectingProgram) paused
    // before its write-th write into a user's file, and waits until it has
    // paused: pauseFile() then exists, and the run goes on once it is removed.
    std::unique_ptr<QProcess> startPausedBeforeWrite(int write, const QStringList& arguments);
    QString pauseFile() const { return path(QStringLiteral("paused")); }

    // As root: gives the sandbox (ownSandbox) or its folder and the journal's
    // home to the user unprivileged runs run as. Does nothing for other users.
    void giveAway(bool ownSandbox) const;

    // Waits until the stand-in compiler has started (the sources then hold their
    // rewritten text); returns its process id, or 0 after timeoutMs.
    qint64 waitForCompilerStart(int timeoutMs = 20000) const;

    // Each sandbox is its own user: HOME and the XDG and temp locations point
    // into it, so the program's per-user directory (lock, journals) is here.
    QProcessEnvironment environment() const;
    QString userDataDir() const; // where the program keeps its per-user files

    // The file the compiler was handed for the argument at index, in the last call.
    QByteArray compiledText(int argumentIndex) const;

private:
    QTemporaryDir temporary;
    QProcessEnvironment additions;
    QString program = QStringLiteral("fbc");
};
