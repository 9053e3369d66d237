#include "sandbox.h"

#include "userenvironment.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QThread>

#ifdef Q_OS_UNIX
#include <sys/resource.h>
#include <unistd.h>
#endif

namespace {

void copyExecutable(const QString& from, const QString& to) {
    QFile::remove(to);
    if (!QFile::copy(from, to))
        qFatal("cannot copy %s to %s", qPrintable(from), qPrintable(to));
    QFile::setPermissions(to, QFile::permissions(to) | QFileDevice::ExeOwner);
}

QString executableName(const QString& base) {
#ifdef Q_OS_WIN
    return base + QStringLiteral(".exe");
#else
    return base;
#endif
}

} // namespace

Sandbox::Sandbox() {
    copyExecutable(QStringLiteral(FBEXT_PROGRAM), path(executableName(QStringLiteral("fbc"))));
    copyExecutable(QStringLiteral(FBEXT_STANDIN), path(executableName(QStringLiteral("fbc2"))));
}

void Sandbox::useFaultInjectingProgram(bool faultInjecting) {
#ifdef FBEXT_FAULTS_PROGRAM
    const QString faults = QStringLiteral("fbc-faults");
    if (!QFile::exists(path(faults)))
        copyExecutable(QStringLiteral(FBEXT_FAULTS_PROGRAM), path(faults));
    program = faultInjecting ? faults : executableName(QStringLiteral("fbc"));
#else
    Q_UNUSED(faultInjecting);
    qFatal("no fault-injecting build of the program here");
#endif
}

void Sandbox::setEnvironment(const QString& name, const QString& value) {
    additions.insert(name, value);
}

QString Sandbox::path(const QString& relative) const {
    return QDir(dir()).filePath(relative);
}

void Sandbox::writeFile(const QString& relative, const QByteArray& bytes) const {
    const QString target = path(relative);
    QDir().mkpath(QFileInfo(target).absolutePath());
    QFile file(target);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
        qFatal("cannot write %s", qPrintable(target));
}

QByteArray Sandbox::readFile(const QString& relative) const {
    QFile file(path(relative));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void Sandbox::scriptCompiler(const QByteArray& standardOutput, const QByteArray& standardError,
                             int exitCode, int signal) const {
    QJsonObject script;
    script.insert(QStringLiteral("stdout"), QString::fromLatin1(standardOutput));
    script.insert(QStringLiteral("stderr"), QString::fromLatin1(standardError));
    script.insert(QStringLiteral("exitCode"), exitCode);
    script.insert(QStringLiteral("signal"), signal);
    writeFile(QStringLiteral("fbc2-script.json"), QJsonDocument(script).toJson());
}

void Sandbox::scriptErrorsAt(const QByteArray& marker) const {
    QJsonObject script;
    script.insert(QStringLiteral("errorMarker"), QString::fromLatin1(marker));
    writeFile(QStringLiteral("fbc2-script.json"), QJsonDocument(script).toJson());
}

RunResult Sandbox::run(const QStringList& arguments, const QString& workingDirectory) const {
    const std::unique_ptr<QProcess> process = start(arguments, workingDirectory);
    RunResult result;
    if (!process->waitForFinished(60000))
        return result;
    result.exitCode = process->exitStatus() == QProcess::NormalExit ? process->exitCode() : -1;
    result.standardOutput = process->readAllStandardOutput();
    result.standardError = process->readAllStandardError();
    return result;
}

RunResult Sandbox::runWithArgumentBytes(const QList<QByteArray>& arguments) const {
    // Each argument is made by printf from octal escapes, so no byte of it
    // passes through text.
    QByteArray script = "exec ./fbc";
    for (const QByteArray& argument : arguments) {
        script += " \"$(printf '";
        for (const char byte : argument)
            script += '\\' + QByteArray::number(uchar(byte), 8).rightJustified(3, '0');
        script += "')\"";
    }
    QProcess shell;
    shell.setProcessEnvironment(environment());
    shell.setWorkingDirectory(dir());
    shell.start(QStringLiteral("/bin/sh"), {QStringLiteral("-c"), QString::fromLatin1(script)});
    shell.closeWriteChannel();
    RunResult result;
    if (!shell.waitForFinished(60000))
        return result;
    result.exitCode = shell.exitStatus() == QProcess::NormalExit ? shell.exitCode() : -1;
    result.standardOutput = shell.readAllStandardOutput();
    result.standardError = shell.readAllStandardError();
    return result;
}

std::unique_ptr<QProcess> Sandbox::startPausedBeforeWrite(int write, const QStringList& arguments) {
    useFaultInjectingProgram(true);
    setEnvironment(QStringLiteral("FBEXT_PAUSE_BEFORE_WRITE"), QString::number(write));
    setEnvironment(QStringLiteral("FBEXT_PAUSE_FILE"), pauseFile());
    std::unique_ptr<QProcess> process = start(arguments);
    for (int waited = 0; !QFile::exists(pauseFile()) && waited < 20000; waited += 5)
        QThread::msleep(5);
    return process;
}

std::unique_ptr<QProcess> Sandbox::start(const QStringList& arguments,
                                         const QString& workingDirectory) const {
    auto process = std::make_unique<QProcess>();
    process->setProcessEnvironment(environment());
    process->setWorkingDirectory(workingDirectory.isEmpty() ? dir() : path(workingDirectory));
    process->start(path(program), arguments);
    process->closeWriteChannel();
    return process;
}

std::unique_ptr<QProcess> Sandbox::start(const QStringList& arguments, const Launch& launch) const {
    auto process = std::make_unique<QProcess>();
    process->setProcessEnvironment(environment());
    process->setWorkingDirectory(dir());
#ifdef Q_OS_UNIX
    const bool asNobody = launch.unprivileged && ::geteuid() == 0;
    if (asNobody && launch.giveAway)
        giveAway(launch.ownSandbox);
    const rlim_t fileSizeLimit = rlim_t(launch.fileSizeLimit);
    const rlim_t openFileLimit = rlim_t(launch.openFileLimit);
    const int outputTo = launch.outputTo;
    process->setChildProcessModifier([asNobody, fileSizeLimit, openFileLimit, outputTo] {
        const struct rlimit limit = {fileSizeLimit, fileSizeLimit};
        const struct rlimit files = {openFileLimit, openFileLimit};
        if ((fileSizeLimit > 0 && ::setrlimit(RLIMIT_FSIZE, &limit) != 0) ||
            (openFileLimit > 0 && ::setrlimit(RLIMIT_NOFILE, &files) != 0) ||
            (outputTo >= 0 && (::dup2(outputTo, 1) < 0 || ::dup2(outputTo, 2) < 0)) ||
            (asNobody && (::setgid(unprivilegedUser) != 0 || ::setuid(unprivilegedUser) != 0)))
            ::_exit(99);
    });
#else
    Q_UNUSED(launch);
#endif
    process->start(path(program), arguments);
    process->closeWriteChannel();
    return process;
}

void Sandbox::giveAway(bool ownSandbox) const {
#ifdef Q_OS_UNIX
    if (::geteuid() != 0)
        return;
    const auto give = [](const QString& path) {
        if (::lchown(QFile::encodeName(path).constData(), unprivilegedUser, unprivilegedUser) != 0)
            qFatal("cannot give %s away", qPrintable(path));
    };
    give(dir());
    QDirIterator entries(dir(), QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden,
                         QDirIterator::Subdirectories);
    while (entries.hasNext()) {
        const QString entry = entries.next();
        if (ownSandbox || entry.startsWith(path(QStringLiteral("home"))))
            give(entry);
    }
#else
    Q_UNUSED(ownSandbox);
#endif
}

QProcessEnvironment Sandbox::environment() const {
    QProcessEnvironment environment = userEnvironment(path(QStringLiteral("home")));
    environment.insert(additions);
    return environment;
}

QString Sandbox::userDataDir() const {
    return ::userDataDir(path(QStringLiteral("home")));
}

void Sandbox::scriptCompilerDelay(int sleepMs, const QList<int>& ignoredSignals) const {
    QJsonObject script =
        QJsonDocument::fromJson(readFile(QStringLiteral("fbc2-script.json"))).object();
    script.insert(QStringLiteral("sleepMs"), sleepMs);
    QJsonArray ignored;
    for (const int signal : ignoredSignals)
        ignored.append(signal);
    script.insert(QStringLiteral("ignoreSignals"), ignored);
    writeFile(QStringLiteral("fbc2-script.json"), QJsonDocument(script).toJson());
}

void Sandbox::scriptCompilerParentFileSizeLimit(int bytes) const {
    QJsonObject script =
        QJsonDocument::fromJson(readFile(QStringLiteral("fbc2-script.json"))).object();
    script.insert(QStringLiteral("parentFileSizeLimit"), bytes);
    writeFile(QStringLiteral("fbc2-script.json"), QJsonDocument(script).toJson());
}

qint64 Sandbox::waitForCompilerStart(int timeoutMs) const {
    for (int waited = 0; waited < timeoutMs; waited += 10) {
        const QByteArray pid = readFile(QStringLiteral("fbc2-started"));
        if (!pid.isEmpty())
            return pid.toLongLong();
        QThread::msleep(10);
    }
    return 0;
}

QList<CompilerCall> Sandbox::calls() const {
    QList<CompilerCall> calls;
    const QDir directory(path(QStringLiteral("fbc2-calls")));
    for (int n = 0;; ++n) {
        QFile file(directory.filePath(QStringLiteral("%1.json").arg(n)));
        if (!file.open(QIODevice::ReadOnly))
            break;
        const QJsonObject object = QJsonDocument::fromJson(file.readAll()).object();
        CompilerCall call;
        for (const QJsonValue& argument : object.value(QStringLiteral("args")).toArray())
            call.arguments.append(argument.toString());
        for (const QJsonValue& argument : object.value(QStringLiteral("rawArgs")).toArray())
            call.rawArguments.append(QByteArray::fromBase64(argument.toString().toLatin1()));
        call.workingDirectory = object.value(QStringLiteral("cwd")).toString();
        call.startedMs = qint64(object.value(QStringLiteral("startedMs")).toDouble(-1));
        for (const QJsonValue& entry : object.value(QStringLiteral("environment")).toArray())
            call.environment.append(entry.toString());
        for (const QJsonValue& entry :
             object.value(QStringLiteral("parentStartEnvironment")).toArray())
            call.parentStartEnvironment.append(entry.toString());
        for (const QJsonValue& entry : object.value(QStringLiteral("journals")).toArray())
            call.journals.append(entry.toString());
        QFile ended(directory.filePath(QStringLiteral("%1.ended").arg(n)));
        if (ended.open(QIODevice::ReadOnly))
            call.endedMs = ended.readAll().toLongLong();
        const QJsonArray files = object.value(QStringLiteral("files")).toArray();
        for (int i = 0; i < files.size(); ++i) {
            if (files[i].isString())
                call.files.insert(i, QByteArray::fromBase64(files[i].toString().toLatin1()));
        }
        calls.append(call);
    }
    return calls;
}

QByteArray Sandbox::compiledText(int argumentIndex) const {
    const QList<CompilerCall> all = calls();
    return all.isEmpty() ? QByteArray() : all.last().files.value(argumentIndex);
}
