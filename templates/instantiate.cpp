#include "instantiate.h"

#include "lines.h"
#include "namereplace.h"

#include <QSet>

#include <algorithm>

namespace {

// The pieces of text between spaces, empty pieces dropped, joined with separator.
QString joinedWords(QStringView text, QChar separator) {
    const Tokens words = lineTokens(text);
    QString joined;
    joined.reserve(text.size());
    for (qsizetype i = 0; i < words.size(); ++i) {
        if (i > 0)
            joined.append(separator);
        joined.append(words[i]);
    }
    return joined;
}

QStringView argumentText(QStringView use) {
    return use.mid(3, use.size() - 6);
}

struct Instantiation {
    const TemplateTable& templateTable;
    QList<MappedText>& instanceLines;
    qsizetype longestName = 0;
    QSet<QString> instanceNames;

    void useTemplate(const QString& templateName, const QString& suffix, const QString& argument);
    bool scanUses(QString& line);
};

// The template name written directly in front of the end of text: the run of
// name characters there. Only a known template's name counts, so a run longer
// than every known name is not read to its start.
QString nameBefore(const QString& text, qsizetype longestName) {
    const qsizetype limit = std::max<qsizetype>(0, text.size() - longestName - 1);
    qsizetype start = text.size();
    while (start > limit && isNameChar(text[start - 1]))
        --start;
    return text.mid(start);
}

void Instantiation::useTemplate(const QString& templateName, const QString& suffix,
                                const QString& argument) {
    // A use with no name in front of it, or a name no template was declared
    // under, only has its text rewritten: it gets no instance (a "type" line with
    // no body and no end line would only break the compile), and it does not
    // claim an instance name a known template may need later.
    const auto found = templateTable.constFind(templateName);
    if (templateName.isEmpty() || templateName.size() > longestName ||
        found == templateTable.constEnd())
        return;
    const QString instanceName = templateName + suffix;
    if (instanceNames.contains(instanceName))
        return;
    instanceNames.insert(instanceName);
    instanceLines.append(instanceText(found.value(), templateName, instanceName, argument));
}

// One run of the use scan over a line, left to right; returns whether it
// changed the line. Every use outside a string literal is replaced by its
// suffix, so that together with the name in front of it the line reads as the
// instance name. The replaced text can itself hold "<<<", so scanning goes on
// from the start of the suffix; a rewrite never makes a "<<<" that begins
// earlier. The text before the scan position is final: it is kept in done,
// with a running count of its double quotes, so each use costs time in
// proportion to its own length only.
bool Instantiation::scanUses(QString& line) {
    if (!line.contains(u"<<<"))
        return false;
    QString done;
    done.reserve(line.size());
    qsizetype quotes = 0;
    QString rest = line; // scanned from position at on
    qsizetype at = 0;
    qsizetype knownClose = -1; // the first ">>>" at or after the last "<<<" seen
    bool changed = false;

    const auto moveToDone = [&](qsizetype upTo) {
        const QStringView moved = QStringView(rest).mid(at, upTo - at);
        quotes += moved.count(u'"');
        done.append(moved);
        at = upTo;
    };

    for (;;) {
        const qsizetype open = rest.indexOf(u"<<<", at);
        if (open < 0)
            break;
        const qsizetype close = knownClose >= open ? knownClose : rest.indexOf(u">>>", open);
        if (close < 0)
            break;
        knownClose = close;
        moveToDone(open);
        if (quotes % 2 == 1) { // inside a string literal
            moveToDone(open + 1);
            continue;
        }

        const QStringView use = QStringView(rest).mid(open, close + 3 - open);
        const QString suffix = useSuffix(use);
        const QString argument = firstTypeArgument(use);
        const QString templateName = nameBefore(done, longestName);

        if (suffix.size() <= use.size()) {
            at = close + 3 - suffix.size();
            std::copy(suffix.cbegin(), suffix.cend(), rest.begin() + at);
        } else {
            rest = suffix + rest.mid(close + 3);
            at = 0;
        }
        knownClose = -1;
        changed = true;
        useTemplate(templateName, suffix, argument);
    }
    if (changed) {
        done.append(QStringView(rest).mid(at));
        line = done;
    }
    return changed;
}

} // namespace

QString useSuffix(QStringView use) {
    QString argument = argumentText(use).toString();
    argument.replace(u',', u'_');
    return QLatin1Char('_') + joinedWords(argument.toLower(), u'_');
}

QString firstTypeArgument(QStringView use) {
    const QString arguments = joinedWords(argumentText(use), u' ');
    const qsizetype comma = arguments.indexOf(u',');
    return comma < 0 ? arguments : arguments.left(comma);
}

MappedText instanceText(const CapturedTemplate& captured, const QString& templateName,
                        const QString& instanceName, const QString& typeArgument) {
    const QString body = substituteTypeParameter(captured.lines.join(u'\n'), typeArgument);
    MappedText instance;
    instance.text =
        renameTemplate(QStringLiteral("type ") + instanceName + QStringLiteral("\n\n") + body,
                       templateName, instanceName);

    // Neither substitution nor renaming adds or removes a line feed, so each
    // captured element still stands for its own lines: the first keeps its
    // origin, the empty lines a "\n" element makes have none.
    instance.origins = {captured.headerOrigin, LineOrigin()};
    for (qsizetype i = 0; i < captured.lines.size(); ++i) {
        instance.origins.append(captured.origins.value(i));
        for (qsizetype feeds = captured.lines[i].count(u'\n'); feeds > 0; --feeds)
            instance.origins.append(LineOrigin());
    }
    if (captured.lines.isEmpty())
        instance.origins.append(LineOrigin());
    return instance;
}

void instantiateTemplates(QStringList& lines, const QStringList& templateNames,
                          const TemplateTable& templateTable, QList<MappedText>& instanceLines) {
    const qsizetype runs = templateNames.size();
    if (runs == 0)
        return;
    Instantiation instantiation{templateTable, instanceLines, 0, {}};
    for (auto it = templateTable.cbegin(); it != templateTable.cend(); ++it)
        instantiation.longestName = std::max(instantiation.longestName, it.key().size());

    // The use scan runs over each line once per template name the pass knows;
    // a run that changes nothing would change nothing the next time either.
    for (QString& line : lines) {
        for (qsizetype run = 0; run < runs; ++run) {
            if (!instantiation.scanUses(line))
                break;
        }
    }
}
