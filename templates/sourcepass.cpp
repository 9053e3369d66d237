#include "sourcepass.h"

#include "capture.h"
#include "instantiate.h"
#include "lines.h"
#include "text.h"

#include <QDir>

namespace {

bool isSeparator(QChar c) {
    return c == u'/' || c == u'\\';
}

struct PassResult {
    TemplateSet templates; // the file's own and those of the files it includes
    MappedText text;
};

QString includedFileName(const QString& path);

// Runs the pass over one file. Every line carries its origin, the name the
// compiler knows the file by and its line number there, through capture into
// the instances, so the written text can be mapped back to the user's lines.
std::optional<PassResult> runPass(const QString& sourcePath, const QString& compilerName,
                                  const SourceFiles& files) {
    const std::optional<QByteArray> sourceText = files.readText(sourcePath);
    if (!sourceText)
        return std::nullopt;
    PassResult result;
    Lines lines = splitLines(*sourceText); // views over the text, which outlives them
    QList<LineOrigin> origins;
    origins.reserve(lines.size());
    const LineOrigin firstLine(compilerName, 1);
    for (qsizetype i = 0; i < lines.size(); ++i)
        origins.append(firstLine.atLine(int(i + 1)));

    TemplateSet& templates = result.templates;
    QList<MappedText> instanceLines;

    // Included files are expanded first, so their templates are known before
    // this file's own are captured. Include lines stay in the text.
    const QString directory = includeDirectory(sourcePath);
    for (const QByteArrayView line : std::as_const(lines)) {
        const QString included = includedPath(line, directory);
        if (included.isEmpty() || files.isExpanded(included))
            continue;
        const QString name = includedFileName(included);
        std::optional<PassResult> handedBack = runPass(included, name, files);
        if (!handedBack)
            continue;
        files.takeIncluded(included, name, std::move(handedBack->text));
        templates.templateCount += handedBack->templates.templateCount;
        const TemplateTable& table = handedBack->templates.templateTable;
        for (auto it = table.cbegin(); it != table.cend(); ++it)
            templates.templateTable.insert(it.key(), it.value());
    }

    captureTemplates(lines, origins, templates);
    QByteArrayList rewrittenLines;
    instantiateTemplates(lines, rewrittenLines, templates, instanceLines);

    // The instances, then the remaining lines: the first line is empty when
    // no instance was generated.
    MappedTextBuilder written;
    qsizetype bytes = instanceLines.size() + lines.size();
    qsizetype lineCount = lines.size() + 1;
    for (const MappedText& instance : std::as_const(instanceLines)) {
        bytes += instance.text.size();
        lineCount += instance.lineCount();
    }
    for (const QByteArrayView line : std::as_const(lines))
        bytes += line.size();
    written.reserve(bytes, lineCount);
    for (const MappedText& instance : std::as_const(instanceLines))
        written.add(instance);
    if (instanceLines.isEmpty())
        written.add(QByteArrayView());
    for (qsizetype i = 0; i < lines.size(); ++i)
        written.add(lines[i], origins[i]);
    result.text = written.take();
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

QString includedPath(QByteArrayView line, const QString& directory) {
    if (!firstTokenMayBe(line, "#include"))
        return {};
    const Tokens tokens = lineTokens(line);
    if (tokens.size() < 3 || !isKeyword(tokens[0], "#include") || !isKeyword(tokens[1], "once"))
        return {};
    // The name is the second non-empty piece between double quotes.
    QByteArrayView name;
    int pieces = 0;
    for (qsizetype start = 0; start <= line.size() && pieces < 2;) {
        qsizetype end = line.indexOf('"', start);
        if (end < 0)
            end = line.size();
        if (end > start && ++pieces == 2)
            name = line.sliced(start, end - start);
        start = end + 1;
    }
    if (pieces < 2)
        return {};
    QString path = fileNameFromBytes(name);
    if (QDir::separator() == u'/')
        path.replace(u'\\', u'/'); // the compiler reads "lib\list.bi" as lib/list.bi here
    return QDir(directory).absoluteFilePath(path);
}

std::optional<MappedText> expandTemplates(const QString& sourcePath, const SourceFiles& files) {
    std::optional<PassResult> result = runPass(sourcePath, sourcePath, files);
    if (!result)
        return std::nullopt;
    return std::move(result->text);
}
