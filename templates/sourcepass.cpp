#include "sourcepass.h"

#include "capture.h"
#include "instantiate.h"
#include "linedirectives.h"
#include "lines.h"
#include "snapshotregistry.h"
#include "sourcefile.h"

#include <QDir>
#include <QFileInfo>

namespace {

bool isSeparator(QChar c) {
    return c == u'/' || c == u'\\';
}

struct PassResult {
    TemplateSet templates; // the file's own and those of the files it includes
    MappedText written;    // what the file was rewritten to
};

// Runs the pass over one file without writing it. Every line carries its
// origin, the name the compiler knows the file by and its line number there,
// through capture into the instances, so the written text can be mapped back
// to the user's lines.
PassResult runPass(const QString& sourcePath, const QString& compilerName,
                   SnapshotRegistry& registry) {
    // A file that cannot be read is expanded as empty text but not registered,
    // so it is never written: the restore must not empty a file it never read.
    const std::optional<QByteArray> bytes = registry.readSource(sourcePath);
    const QString text = sourceTextFromBytes(bytes.value_or(QByteArray())); // holds the lines
    QStringList lines = splitLinesOver(text);
    QList<LineOrigin> origins;
    origins.reserve(lines.size());
    const LineOrigin firstLine(compilerName, 1);
    for (qsizetype i = 0; i < lines.size(); ++i)
        origins.append(firstLine.atLine(int(i + 1)));

    TemplateSet templates;
    QList<MappedText> instanceLines;

    // Included files are expanded first, so their templates are known before
    // this file's own are captured. Include lines stay in the text.
    const QString directory = includeDirectory(sourcePath);
    for (const QString& line : std::as_const(lines)) {
        const QString included = includedPath(line, directory);
        if (included.isEmpty() || registry.isTouched(included))
            continue;
        const QFileInfo info(included);
        if (!info.isFile() || !info.isReadable())
            continue;
        const TemplateSet handedBack = expandIncludedTemplates(included, included, registry);
        templates.templateNames += handedBack.templateNames;
        for (auto it = handedBack.templateTable.cbegin(); it != handedBack.templateTable.cend();
             ++it)
            templates.templateTable.insert(it.key(), it.value());
    }

    captureTemplates(lines, origins, templates.templateNames, templates.templateTable);
    instantiateTemplates(lines, templates.templateNames, templates.templateTable, instanceLines);

    // The instances, one line feed, then the remaining lines: the first line is
    // empty when no instance was generated.
    PassResult result{templates, MappedText()};
    qsizetype characters = instanceLines.size() + lines.size();
    for (const MappedText& instance : std::as_const(instanceLines))
        characters += instance.text.size();
    for (const QString& line : std::as_const(lines))
        characters += line.size();
    result.written.text.reserve(characters); // grown once, not by every instance
    for (qsizetype i = 0; i < instanceLines.size(); ++i) {
        if (i > 0)
            result.written.append(QStringLiteral("\n"));
        result.written.append(instanceLines[i]);
    }
    result.written.append(QStringLiteral("\n"));
    result.written.appendLines(lines, origins);
    return result;
}

// The compiler names an included file by its absolute path.
QString includedFileName(const QString& path) {
    return QDir::toNativeSeparators(QDir::cleanPath(path));
}

} // namespace

QString includeDirectory(const QString& sourcePath) {
    for (qsizetype i = sourcePath.size() - 1; i >= 0; --i) {
        if (isSeparator(sourcePath[i]))
            return sourcePath.left(i + 1);
    }
    return QDir::currentPath();
}

QString includedPath(QStringView line, const QString& directory) {
    if (!firstTokenMayBe(line, QLatin1StringView("#include")))
        return {};
    const Tokens tokens = lineTokens(line);
    if (tokens.size() < 3 || !isKeyword(tokens[0], QLatin1StringView("#include")) ||
        !isKeyword(tokens[1], QLatin1StringView("once")))
        return {};
    // The name is the second non-empty piece between double quotes.
    const QList<QStringView> pieces = line.split(u'"', Qt::SkipEmptyParts);
    if (pieces.size() < 2)
        return {};
    QString name = pieces[1].toString();
    if (QDir::separator() == u'/')
        name.replace(u'\\', u'/'); // the compiler reads "lib\list.bi" as lib/list.bi here
    return QDir(directory).absoluteFilePath(name);
}

MappedText templatePassText(const QString& sourcePath, SnapshotRegistry& registry) {
    return runPass(sourcePath, sourcePath, registry).written;
}

MappedText expandTemplates(const QString& sourcePath, const QString& targetPath,
                           SnapshotRegistry& registry) {
    MappedText written = templatePassText(sourcePath, registry);
    registry.writeRewrittenBytes(targetPath, sourceBytesWithLineDirectives(written, sourcePath));
    return written;
}

TemplateSet expandIncludedTemplates(const QString& sourcePath, const QString& targetPath,
                                    SnapshotRegistry& registry) {
    const QString name = includedFileName(sourcePath);
    PassResult result = runPass(sourcePath, name, registry);
    // Nothing reads an included file again in this run, so its write may go on
    // beside the rest of the pass.
    registry.queueRewrittenBytes(targetPath,
                                 sourceBytesWithLineDirectives(std::move(result.written), name));
    return result.templates;
}
