// A stand-in for the real FreeBASIC compiler, used by the end-to-end tests.
//
// It reads its script from fbc2-script.json beside itself (all keys optional):
//   "stdout", "stderr": text to print (Latin-1, printed as given)
//   "exitCode": status to exit with
//   "sleepMs": how long to wait before printing
//   "signal": a signal to raise on itself at the end (Unix)
//   "ignoreSignals": signals to ignore while it runs (Unix), as a compiler
//       that will not stop when asked
//   "parentFileSizeLimit": lower the file size limit of the process that
//       started it (fbc) to this many bytes, so that its later writes fail
//       as on a full disk (Unix)
//   "nested": arguments to run fbc (beside it) with from inside the compile,
//       as a build step would; its exit status and standard error are
//       written to fbc2-nested.json (a compile it starts does not nest again)
//   "errorMarker": report an error, numbered the way the real compiler numbers
//       lines ("#line" directives included), at every line of the source files
//       it is given (and the files they include) that contains this text
// and records each call as fbc2-calls/<n>.json beside itself: the arguments
// (as text and as their exact bytes), the working directory, a copy of every
// argument that names a regular file, and when it started (milliseconds since
// the epoch), its environment and (Linux) the one fbc was started with, and the journals of fbext's
// runs in progress (the folders in <data>/fbext/journals); when it has done its work
// (slept) it leaves that time in fbc2-calls/<n>.ended. Once the record is written it leaves its
// process id in fbc2-started, so a test knows that the compiler is running (and the sources hold
// rewritten text).

#include "linenumbering.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QStandardPaths>
#include <QThread>

#include <csignal>
#include <cstdio>

#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// The bytes of the regular file named by the argument's own bytes, or nothing.
QJsonValue fileContent(const char* name) {
    struct stat info;
    if (::stat(name, &info) != 0 || !S_ISREG(info.st_mode))
        return QJsonValue();
    std::FILE* file = std::fopen(name, "rb");
    if (!file)
        return QJsonValue();
    QByteArray bytes;
    char buffer[65536];
    for (size_t got; (got = std::fread(buffer, 1, sizeof buffer, file)) > 0;)
        bytes.append(buffer, qsizetype(got));
    std::fclose(file);
    return QString::fromLatin1(bytes.toBase64());
}

// Records the call; returns the file its end is to be noted in.
QString record(const QDir& home, int argc, char* argv[]) {
    QJsonArray files;
    QJsonArray rawArguments;
    for (int i = 1; i < argc; ++i) {
        files.append(fileContent(argv[i]));
        rawArguments.append(QString::fromLatin1(QByteArray(argv[i]).toBase64()));
    }
    QJsonObject call;
    call.insert(QStringLiteral("args"),
                QJsonArray::fromStringList(QCoreApplication::arguments().mid(1)));
    call.insert(QStringLiteral("rawArgs"), rawArguments);
    call.insert(QStringLiteral("cwd"), QDir::currentPath());
    call.insert(QStringLiteral("files"), files);
    call.insert(QStringLiteral("startedMs"), QDateTime::currentMSecsSinceEpoch());
    call.insert(QStringLiteral("environment"),
                QJsonArray::fromStringList(QProcess::systemEnvironment()));
    const QDir journals(QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) +
                        QStringLiteral("/fbext/journals"));
    call.insert(QStringLiteral("journals"),
                QJsonArray::fromStringList(journals.entryList(QDir::Dirs | QDir::NoDotAndDotDot)));
#ifdef Q_OS_LINUX
    // The environment fbc was started with (what it may have removed since
    // is still there), which shows whether it started itself again.
    QFile parentStart(QStringLiteral("/proc/%1/environ").arg(::getppid()));
    if (parentStart.open(QIODevice::ReadOnly)) {
        QStringList entries;
        for (const QByteArray& entry : parentStart.readAll().split('\0'))
            entries.append(QString::fromLocal8Bit(entry));
        call.insert(QStringLiteral("parentStartEnvironment"), QJsonArray::fromStringList(entries));
    }
#endif

    // Compilers that run at once each take the next free number.
    home.mkpath(QStringLiteral("fbc2-calls"));
    QDir calls(home.filePath(QStringLiteral("fbc2-calls")));
    for (int n = 0;; ++n) {
        QFile out(calls.filePath(QStringLiteral("%1.json").arg(n)));
        if (out.open(QIODevice::NewOnly)) {
            out.write(QJsonDocument(call).toJson());
            return calls.filePath(QStringLiteral("%1.ended").arg(n));
        }
        if (!out.exists())
            return QString();
    }
}

// Prints "file(line) error 42: ..." for each line containing marker, following
// "#include once" lines into the files they name, as the compiler reads them.
void reportMarkedLines(const QString& path, const QString& name, const QString& marker,
                       QStringList& seen, QByteArray& messages) {
    const QString canonical = QFileInfo(path).canonicalFilePath();
    if (canonical.isEmpty() || seen.contains(canonical))
        return;
    seen.append(canonical);
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return;
    for (const NumberedLine& line : numberLines(file.readAll(), name)) {
        const QString trimmed = line.text.trimmed();
        if (trimmed.startsWith(QLatin1StringView("#include once \""), Qt::CaseInsensitive)) {
            const QString included = trimmed.section(u'"', 1, 1);
            const QString includedPath = QFileInfo(path).dir().absoluteFilePath(included);
            reportMarkedLines(includedPath, includedPath, marker, seen, messages);
        } else if (line.text.contains(marker)) {
            // The file's name as the file system's bytes, as the compiler prints it.
            messages += QFile::encodeName(line.file) + '(' + QByteArray::number(line.line) +
                        ") error 42: " + marker.toLatin1() + " in '" + trimmed.toLatin1() + "'\n";
        }
    }
}

void markStarted(const QDir& home) {
    const QString marker = home.filePath(QStringLiteral("fbc2-started"));
    QFile file(marker + QStringLiteral(".new"));
    if (file.open(QIODevice::WriteOnly)) {
        file.write(QByteArray::number(QCoreApplication::applicationPid()));
        file.close();
        QFile::remove(marker);
        file.rename(marker);
    }
}

void runNested(const QDir& home, const QJsonArray& arguments) {
    QStringList list;
    for (const QJsonValue& argument : arguments)
        list.append(argument.toString());
    QProcess fbc;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("FBC2_NESTED"), QStringLiteral("1"));
    fbc.setProcessEnvironment(environment);
    fbc.start(home.filePath(QStringLiteral("fbc")), list);
    fbc.closeWriteChannel();
    QJsonObject result;
    if (fbc.waitForFinished(60000)) {
        result.insert(QStringLiteral("exitCode"), fbc.exitCode());
        result.insert(QStringLiteral("stderr"), QString::fromLocal8Bit(fbc.readAllStandardError()));
    } else {
        fbc.kill();
        fbc.waitForFinished();
        result.insert(QStringLiteral("exitCode"), QStringLiteral("hung"));
    }
    QFile out(home.filePath(QStringLiteral("fbc2-nested.json")));
    if (out.open(QIODevice::WriteOnly))
        out.write(QJsonDocument(result).toJson());
}

void print(FILE* stream, const QString& text) {
    const QByteArray bytes = text.toLatin1();
    std::fwrite(bytes.constData(), 1, size_t(bytes.size()), stream);
    std::fflush(stream);
}

} // namespace

int main(int argc, char* argv[]) {
    QCoreApplication application(argc, argv);
    const QDir home(QCoreApplication::applicationDirPath());
    const QString endNote = record(home, argc, argv);

    QJsonObject script;
    QFile scriptFile(home.filePath(QStringLiteral("fbc2-script.json")));
    if (scriptFile.open(QIODevice::ReadOnly))
        script = QJsonDocument::fromJson(scriptFile.readAll()).object();

#ifdef Q_OS_UNIX
    for (const QJsonValue& signal : script.value(QStringLiteral("ignoreSignals")).toArray())
        std::signal(signal.toInt(), SIG_IGN);
#endif
#ifdef Q_OS_UNIX
    if (const QJsonValue limit = script.value(QStringLiteral("parentFileSizeLimit"));
        limit.isDouble()) {
        const struct rlimit bytes = {rlim_t(limit.toInt()), rlim_t(limit.toInt())};
        if (::prlimit(::getppid(), RLIMIT_FSIZE, &bytes, nullptr) != 0)
            std::perror("fbc2: prlimit");
    }
#endif
    markStarted(home);

    if (const QJsonArray nested = script.value(QStringLiteral("nested")).toArray();
        !nested.isEmpty() && qEnvironmentVariableIsEmpty("FBC2_NESTED"))
        runNested(home, nested);
    if (const int sleepMs = script.value(QStringLiteral("sleepMs")).toInt(); sleepMs > 0)
        QThread::msleep(sleepMs);
    QFile ended(endNote);
    if (!endNote.isEmpty() && ended.open(QIODevice::WriteOnly))
        ended.write(QByteArray::number(QDateTime::currentMSecsSinceEpoch()));
    print(stdout, script.value(QStringLiteral("stdout")).toString());
    if (const QString marker = script.value(QStringLiteral("errorMarker")).toString();
        !marker.isEmpty()) {
        QStringList seen;
        QByteArray messages;
        for (const QString& argument : QCoreApplication::arguments().mid(1)) {
            if (argument.endsWith(QLatin1StringView(".bas")) ||
                argument.endsWith(QLatin1StringView(".bi")))
                reportMarkedLines(argument, argument, marker, seen, messages);
        }
        std::fwrite(messages.constData(), 1, size_t(messages.size()), stdout);
    }
    print(stderr, script.value(QStringLiteral("stderr")).toString());
#ifdef Q_OS_UNIX
    if (const int signal = script.value(QStringLiteral("signal")).toInt(); signal > 0) {
        std::signal(signal, SIG_DFL);
        std::raise(signal);
    }
#endif
    return script.value(QStringLiteral("exitCode")).toInt();
}
