// A stand-in for the real FreeBASIC compiler, used by the end-to-end tests.
//
// It reads its script from fbc2-script.json beside itself (all keys optional):
//   "stdout", "stderr": text to print (Latin-1, printed as given)
//   "exitCode": status to exit with
//   "sleepMs": how long to wait before printing
//   "signal": a signal to raise on itself at the end (Unix)
//   "ignoreSignals": signals to ignore while it runs (Unix), as a compiler
//       that will not stop when asked
//   "errorMarker": report an error, numbered the way the real compiler numbers
//       lines ("#line" directives included), at every line of the source files
//       it is given (and the files they include) that contains this text
// and records each call as fbc2-calls/<n>.json beside itself: the arguments,
// the working directory, and a copy of every argument that names a file. Once
// that record is written it leaves its process id in fbc2-started, so a test
// knows that the compiler is running (and the sources hold rewritten text).

#include "linenumbering.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QThread>

#include <csignal>
#include <cstdio>

namespace {

void record(const QDir& home, const QStringList& arguments) {
    QJsonArray files;
    for (const QString& argument : arguments) {
        QFile file(argument);
        if (QFileInfo(argument).isFile() && file.open(QIODevice::ReadOnly))
            files.append(QString::fromLatin1(file.readAll().toBase64()));
        else
            files.append(QJsonValue());
    }
    QJsonObject call;
    call.insert(QStringLiteral("args"), QJsonArray::fromStringList(arguments));
    call.insert(QStringLiteral("cwd"), QDir::currentPath());
    call.insert(QStringLiteral("files"), files);

    home.mkpath(QStringLiteral("fbc2-calls"));
    QDir calls(home.filePath(QStringLiteral("fbc2-calls")));
    const QString name = QStringLiteral("%1.json").arg(calls.entryList(QDir::Files).size());
    QFile out(calls.filePath(name));
    if (out.open(QIODevice::WriteOnly))
        out.write(QJsonDocument(call).toJson());
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

void print(FILE* stream, const QString& text) {
    const QByteArray bytes = text.toLatin1();
    std::fwrite(bytes.constData(), 1, size_t(bytes.size()), stream);
    std::fflush(stream);
}

} // namespace

int main(int argc, char* argv[]) {
    QCoreApplication application(argc, argv);
    const QDir home(QCoreApplication::applicationDirPath());
    record(home, QCoreApplication::arguments().mid(1));

    QJsonObject script;
    QFile scriptFile(home.filePath(QStringLiteral("fbc2-script.json")));
    if (scriptFile.open(QIODevice::ReadOnly))
        script = QJsonDocument::fromJson(scriptFile.readAll()).object();

#ifdef Q_OS_UNIX
    for (const QJsonValue& signal : script.value(QStringLiteral("ignoreSignals")).toArray())
        std::signal(signal.toInt(), SIG_IGN);
#endif
    markStarted(home);

    if (const int sleepMs = script.value(QStringLiteral("sleepMs")).toInt(); sleepMs > 0)
        QThread::msleep(sleepMs);
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
