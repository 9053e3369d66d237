#include "literaltemplates.h"

#include "characters.h"
#include "instantiate.h"

namespace {

QByteArrayList tokensOf(const QByteArray& line) {
    QByteArrayList tokens = line.split(' ');
    tokens.removeAll(QByteArray());
    return tokens;
}

bool same(const QByteArray& token, const char* keyword) {
    return equalsIgnoringCase(token, keyword);
}

bool begins(const QByteArray& token, const QByteArray& prefix) {
    return startsWithIgnoringCase(token, prefix);
}

bool startsMember(const char* kind, const QByteArrayList& tokens, const QByteArray& name) {
    if (!same(tokens[0], kind))
        return false;
    const QByteArray& qualifier = tokens[1];
    const QByteArray keyword = kind;
    if (keyword == "constructor" || keyword == "destructor")
        return equalsIgnoringCase(qualifier, name) || begins(qualifier, name + '(');
    if (keyword == "operator")
        return equalsIgnoringCase(qualifier, name) || begins(qualifier, name + '.');
    return begins(qualifier, name + '.');
}

void take(QByteArrayList& lines, QList<LineOrigin>& origins, qsizetype i, CapturedTemplate& into) {
    into.lines.append(lines[i]);
    into.origins.append(origins[i]);
    lines.removeAt(i);
    origins.removeAt(i);
}

} // namespace

void literalCaptureTemplates(QByteArrayList& lines, QList<LineOrigin>& origins,
                             TemplateSet& templates) {
    static const char* const kinds[] = {"sub",        "function", "constructor",
                                        "destructor", "operator", "property"};
    qsizetype i = 0;
    while (i < lines.size()) {
        const QByteArrayList header = tokensOf(lines[i]);
        if (header.size() < 2 || !same(header[0], "template")) {
            ++i;
            continue;
        }
        const QByteArray name = header[1];
        ++templates.templateCount;
        CapturedTemplate captured;
        captured.headerOrigin = origins[i];
        bool ended = false;
        while (i < lines.size()) {
            captured.lines.append(lines[i]);
            captured.origins.append(origins[i]);
            const QByteArrayList tokens = tokensOf(lines[i]);
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
            captured.lines.last().replace("template", "type ");
            captured.lines.first().replace("template ", "type ");
            captured.lines.append("\n");
            captured.origins.append(LineOrigin());
            lines.removeAt(i);
            origins.removeAt(i);
        }
        for (const char* kind : kinds) {
            bool inside = false;
            qsizetype j = i;
            while (j < lines.size()) {
                const QByteArrayList tokens = tokensOf(lines[j]);
                if (tokens.size() >= 2) {
                    if (startsMember(kind, tokens, name))
                        inside = true;
                    if (same(tokens[1], kind) && same(tokens[0], "end") && inside) {
                        take(lines, origins, j, captured);
                        captured.lines.append("\n");
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
        templates.templateTable.insert(name, captured);
    }
}

void literalInstantiateTemplates(QByteArrayList& lines, const TemplateSet& templates,
                                 QList<MappedText>& instanceLines) {
    const TemplateTable& templateTable = templates.templateTable;
    QByteArrayList instanceNames;
    for (QByteArray& line : lines) {
        for (qsizetype run = 0; run < templates.templateCount; ++run) {
            qsizetype from = 0;
            for (;;) {
                const qsizetype p = line.indexOf("<<<", from);
                if (p < 0)
                    break;
                const qsizetype q = line.indexOf(">>>", p);
                if (q < 0)
                    break;
                if (line.left(p).count('"') % 2 == 1) {
                    from = p + 1;
                    continue;
                }
                const qsizetype length = q - p + 3;
                const QByteArray segment = line.mid(p, length);
                const QByteArrayList typeArguments =
                    tokensOf(segment.mid(3, length - 6)).join(' ').split(',');
                QByteArray suffix = segment;
                suffix.replace(',', '_');
                suffix = caseFolded(suffix.mid(3, suffix.size() - 6));
                suffix = tokensOf(suffix).join(' ');
                suffix.replace(' ', '_');
                suffix.prepend('_');
                line.replace(p, length, suffix);

                qsizetype k = p - 1;
                while (k >= 0 && isNameChar(line[k]))
                    --k;
                const QByteArray name = line.mid(k + 1, p - k - 1);
                const QByteArray instanceName = name + suffix;
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

QByteArrayList randomLines(QRandomGenerator& random, const QByteArrayList& pieces, int maxLines,
                           int maxPieces) {
    QByteArrayList lines;
    const int count = random.bounded(maxLines) + 1;
    for (int i = 0; i < count; ++i) {
        QByteArray line;
        const int parts = random.bounded(maxPieces + 1);
        for (int k = 0; k < parts; ++k)
            line += pieces[random.bounded(int(pieces.size()))];
        lines.append(line);
    }
    return lines;
}
