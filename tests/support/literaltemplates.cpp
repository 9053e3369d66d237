#include "literaltemplates.h"

#include "instantiate.h"
#include "lines.h"

namespace {

QStringList tokensOf(const QString& line) {
    return line.split(u' ', Qt::SkipEmptyParts);
}

bool same(const QString& token, const char* keyword) {
    return token.compare(QLatin1StringView(keyword), Qt::CaseInsensitive) == 0;
}

bool begins(const QString& token, const QString& prefix) {
    return token.startsWith(prefix, Qt::CaseInsensitive);
}

bool startsMember(const char* kind, const QStringList& tokens, const QString& name) {
    if (!same(tokens[0], kind))
        return false;
    const QString& qualifier = tokens[1];
    const QString keyword = QLatin1StringView(kind);
    if (keyword == u"constructor" || keyword == u"destructor")
        return qualifier.compare(name, Qt::CaseInsensitive) == 0 || begins(qualifier, name + u'(');
    if (keyword == u"operator")
        return qualifier.compare(name, Qt::CaseInsensitive) == 0 || begins(qualifier, name + u'.');
    return begins(qualifier, name + u'.');
}

void take(QStringList& lines, QList<LineOrigin>& origins, qsizetype i, CapturedTemplate& into) {
    into.lines.append(lines[i]);
    into.origins.append(origins[i]);
    lines.removeAt(i);
    origins.removeAt(i);
}

} // namespace

void literalCaptureTemplates(QStringList& lines, QList<LineOrigin>& origins,
                             QStringList& templateNames, TemplateTable& templateTable) {
    static const char* const kinds[] = {"sub",        "function", "constructor",
                                        "destructor", "operator", "property"};
    qsizetype i = 0;
    while (i < lines.size()) {
        const QStringList header = tokensOf(lines[i]);
        if (header.size() < 2 || !same(header[0], "template")) {
            ++i;
            continue;
        }
        const QString name = header[1];
        templateNames.append(name.toLower());
        CapturedTemplate captured;
        captured.headerOrigin = origins[i];
        bool ended = false;
        while (i < lines.size()) {
            captured.lines.append(lines[i]);
            captured.origins.append(origins[i]);
            const QStringList tokens = tokensOf(lines[i]);
            if (tokens.size() >= 2 && same(tokens[1], "template") && same(tokens[0], "end")) {
                ended = true;
                break;
            }
            lines.removeAt(i);
            origins.removeAt(i);
        }
        if (ended) {
            captured.lines.removeFirst();
            captured.origins.removeFirst();
            captured.lines.last().replace(QStringLiteral("template"), QStringLiteral("type "));
            captured.lines.first().replace(QStringLiteral("template "), QStringLiteral("type "));
            captured.lines.append(QStringLiteral("\n"));
            captured.origins.append(LineOrigin());
            lines.removeAt(i);
            origins.removeAt(i);
        }
        for (const char* kind : kinds) {
            bool inside = false;
            qsizetype j = i;
            while (j < lines.size()) {
                const QStringList tokens = tokensOf(lines[j]);
                if (tokens.size() >= 2) {
                    if (startsMember(kind, tokens, name))
                        inside = true;
                    if (same(tokens[1], kind) && same(tokens[0], "end") && inside) {
                        take(lines, origins, j, captured);
                        captured.lines.append(QStringLiteral("\n"));
                        captured.origins.append(LineOrigin());
                        inside = false;
                        continue;
                    }
                }
                if (inside) {
                    take(lines, origins, j, captured);
                    continue;
                }
                ++j;
            }
        }
        templateTable.insert(name, captured);
    }
}

void literalInstantiateTemplates(QStringList& lines, const QStringList& templateNames,
                                 const TemplateTable& templateTable,
                                 QList<MappedText>& instanceLines) {
    QStringList instanceNames;
    for (QString& line : lines) {
        for (qsizetype run = 0; run < templateNames.size(); ++run) {
            qsizetype from = 0;
            for (;;) {
                const qsizetype p = line.indexOf(QStringLiteral("<<<"), from);
                if (p < 0)
                    break;
                const qsizetype q = line.indexOf(QStringLiteral(">>>"), p);
                if (q < 0)
                    break;
                if (line.left(p).count(u'"') % 2 == 1) {
                    from = p + 1;
                    continue;
                }
                const qsizetype length = q - p + 3;
                const QString segment = line.mid(p, length);
                const QStringList typeArguments =
                    tokensOf(segment.mid(3, length - 6)).join(u' ').split(u',');
                QString suffix = segment;
                suffix.replace(u',', u'_');
                suffix = suffix.mid(3, suffix.size() - 6).toLower();
                suffix = tokensOf(suffix).join(u' ');
                suffix.replace(u' ', u'_');
                suffix.prepend(u'_');
                line.replace(p, length, suffix);

                qsizetype k = p - 1;
                while (k >= 0 && isNameChar(line[k]))
                    --k;
                const QString name = line.mid(k + 1, p - k - 1);
                const QString instanceName = name + suffix;
                if (name.isEmpty() || !templateTable.contains(name) ||
                    instanceNames.contains(instanceName))
                    continue;
                instanceNames.append(instanceName);
                instanceLines.append(instanceText(templateTable.value(name), name, instanceName,
                                                  typeArguments.first()));
            }
        }
    }
}

QList<LineOrigin> numberedOrigins(const QString& file, qsizetype count) {
    QList<LineOrigin> origins;
    for (qsizetype i = 0; i < count; ++i)
        origins.append(LineOrigin{file, int(i + 1)});
    return origins;
}

QStringList randomLines(QRandomGenerator& random, const QStringList& pieces, int maxLines,
                        int maxPieces) {
    QStringList lines;
    const int count = random.bounded(maxLines) + 1;
    for (int i = 0; i < count; ++i) {
        QString line;
        const int parts = random.bounded(maxPieces + 1);
        for (int k = 0; k < parts; ++k)
            line += pieces[random.bounded(int(pieces.size()))];
        lines.append(line);
    }
    return lines;
}
