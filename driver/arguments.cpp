#include "arguments.h"

#include "characters.h"
#include "messages.h"
#include "sourcefile.h"

#include <QFile>

#include <optional>

namespace {

// Response files may name response files; a chain longer than this is
// taken for one that names itself.
constexpr int deepestResponseFile = 16;

bool endsWithIgnoringCase(QByteArrayView text, QByteArrayView suffix) {
    return text.size() >= suffix.size() && equalsIgnoringCase(text.last(suffix.size()), suffix);
}

} // namespace

bool isSourceFileArgument(QByteArrayView argument) {
    return endsWithIgnoringCase(argument, ".bas") || endsWithIgnoringCase(argument, ".bi");
}

namespace {

// The name of the file an argument names, as the file functions take it;
// nothing when the argument's bytes are no name in the file system's encoding
// (a Latin-1 name on a UTF-8 system), which could not be opened under any
// text this program can hold.
std::optional<QString> fileName(const QByteArray& argument) {
#ifdef Q_OS_WIN
    return QString::fromUtf8(argument);
#else
    QString name = QFile::decodeName(argument);
    if (QFile::encodeName(name) != argument)
        return std::nullopt;
    // The compiler reads "src\main.bas", "-i inc\common" and "@build\app.rsp"
    // with a "/" for each "\" here, as it reads the names of includes.
    name.replace(u'\\', u'/');
    return name;
#endif
}

void addSourceFile(SourceArguments& scanned, const QByteArray& argument) {
    if (const std::optional<QString> name = fileName(argument)) {
        scanned.sourceFiles.append(*name);
        return;
    }
    reportError(QStringLiteral("%1 is passed to the compiler unexpanded: its name is not valid in "
                               "the file system's encoding, so it cannot be opened under it")
                    .arg(QFile::decodeName(argument)));
}

void scan(SourceArguments& scanned, const QList<QByteArray>& arguments, int depth) {
    for (qsizetype i = 0; i < arguments.size(); ++i) {
        const QByteArray& argument = arguments[i];
        const bool hasValue = i + 1 < arguments.size();
        if ((argument == "-b" || argument == "-include") && hasValue) {
            if (argument == "-include") {
                if (const std::optional<QString> name = fileName(arguments[i + 1]))
                    scanned.preIncludes.append(*name);
            }
            addSourceFile(scanned, arguments[++i]);
        } else if ((argument == "-lang" || argument == "-forcelang") && hasValue) {
            // -forcelang holds against every -lang, before or after it.
            const bool forcing = argument == "-forcelang";
            if (forcing || !scanned.dialectForced)
                scanned.dialect = arguments[i + 1];
            scanned.dialectForced = scanned.dialectForced || forcing;
            ++i;
        } else if (argument == "-i" && hasValue) {
            if (const std::optional<QString> name = fileName(arguments[++i]))
                scanned.includeDirectories.append(*name);
        } else if (argument.startsWith('@') && argument.size() > 1) {
            const std::optional<QString> name = fileName(argument.mid(1));
            std::optional<QByteArray> text;
            if (name && depth < deepestResponseFile)
                text = readFileBytes(*name);
            if (text)
                scan(scanned, responseFileArguments(*text), depth + 1);
        } else if (isSourceFileArgument(argument)) {
            addSourceFile(scanned, argument);
        }
    }
}

} // namespace

QList<QByteArray> responseFileArguments(const QByteArray& text) {
    QList<QByteArray> arguments;
    QByteArray current;
    bool inArgument = false;
    bool quoted = false;
    for (const char c : text) {
        if (c == '"') {
            quoted = !quoted;
            inArgument = true;
        } else if (!quoted && isSpaceChar(c)) {
            if (inArgument)
                arguments.append(current);
            current.clear();
            inArgument = false;
        } else {
            current += c;
            inArgument = true;
        }
    }
    if (inArgument)
        arguments.append(current);
    return arguments;
}

SourceArguments scanArguments(const QList<QByteArray>& arguments) {
    SourceArguments scanned;
    scan(scanned, arguments, 0);
    return scanned;
}
