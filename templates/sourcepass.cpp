#include "sourcepass.h"

#include "capture.h"
#include "instantiate.h"
#include "lines.h"

#include <QDir>

namespace {

bool isSeparator(QChar c) {
    return c == u'/' || c == u'\\';
}

struct PassResult {
    TemplateSet templates; // the file's own and those of the files it includes
    ExpandedFile file;
};

QString includedFileName(const QString& path);

// Runs the pass over one file. Every line carries its origin, the name the
// compiler knows the file by and its line number there, through capture into
// the instances, so the written text can be mapped back to the user's lines.
std::optional<PassResult> runPass(const QString& sourcePath, const QString& compilerName,
                                  const SourceFiles& files) {
    std::optional<QString> text = files.readText(sourcePath);
    if (!text)
        return std::nullopt;
    PassResult result;
    result.file.sourceText = std::move(*text); // holds the lines
    QStringList lines = splitLinesOver(result.file.sourceText);
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
    for (const QString& line : std::as_const(lines)) {
        const QString included = includedPath(line, directory);
        if (included.isEmpty() || files.isExpanded(included))
            continue;
        const QString name = includedFileName(included);
        std::optional<PassResult> handedBack = runPass(included, name, files);
        if (!handedBack)
            continue;
        files.takeIncluded(included, name, std::move(handedBack->file.text));
        templates.templateNames += handedBack->templates.templateNames;
        const TemplateTable& table = handedBack->templates.templateTable;
        for (auto it = table.cbegin(); it != table.cend(); ++it)
            templates.templateTable.insert(it.key(), it.value());
    }

    captureTemplates(lines, origins, templates.templateNames, templates.templateTable);
    instantiateTemplates(lines, templates.templateNames, templates.templateTable, instanceLines);

    // The instances, one line feed, then the remaining lines: the first line is
    // empty when no instance was generated.
    MappedText& written = result.file.text;
    qsizetype characters = instanceLines.size() + lines.size();
    for (const MappedText& instance : std::as_const(instanceLines))
        characters += instance.text.size();
    for (const QString& line : std::as_const(lines))
        characters += line.size();
    written.text.reserve(characters); // grown once, not by every instance
    for (qsizetype i = 0; i < instanceLines.size(); ++i) {
        if (i > 0)
            written.append(QStringLiteral("\n"));
        written.append(instanceLines[i]);
    }
    written.append(QStringLiteral("\n"));
    written.appendLines(lines, origins);
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

std::optional<ExpandedFile> expandTemplates(const QString& sourcePath, const SourceFiles& files) {
    std::optional<PassResult> result = runPass(sourcePath, sourcePath, files);
    if (!result)
        return std::nullopt;
    return std::move(result->file);
}
