#include "literaltemplates.h"

#include "characters.h"
#include "instantiate.h"

#include <QRegularExpression>

namespace {

QByteArrayList tokensOf(const QByteArray& line) {
    QByteArrayList tokens = QByteArray(line).replace('\t', ' ').split(' ');
    tokens.removeAll(QByteArray());
    return tokens;
}

// The pieces of text between the commas that stand outside brackets.
QByteArrayList splitOutsideBrackets(const QByteArray& text) {
    QByteArrayList pieces{QByteArray()};
    int depth = 0;
    for (const char c : text) {
        if (c == ',' && depth == 0) {
            pieces.append(QByteArray());
            continue;
        }
        if (c == '(')
            ++depth;
        else if (c == ')' && depth > 0)
            --depth;
        pieces.last() += c;
    }
    return pieces;
}

bool same(const QByteArray& token, const char* keyword) {
    return equalsIgnoringCase(token, keyword);
}

bool begins(const QByteArray& token, const QByteArray& prefix) {
    return startsWithIgnoringCase(token, prefix);
}

bool startsMember(const char* kind, QByteArrayList tokens, const QByteArray& name) {
    if (same(tokens[0], "private") || same(tokens[0], "public"))
        tokens.removeFirst();
    if (tokens.size() < 2 || !same(tokens[0], kind))
        return false;
    const QByteArray& qualifier = tokens[1];
    const QByteArray keyword = kind;
    if (keyword == "constructor" || keyword == "destructor")
        return equalsIgnoringCase(qualifier, name) || begins(qualifier, name + '(');
    if (keyword == "operator")
        return equalsIgnoringCase(qualifier, name) || begins(qualifier, name + '.');
    return begins(qualifier, name + '.');
}

// A member's first line says "private" unless it says private or public.
QByteArray privateMember(const QByteArray& line) {
    qsizetype indent = 0;
    while (indent < line.size() && (line[indent] == ' ' || line[indent] == '\t'))
        ++indent;
    const QByteArray first = line.mid(indent).split(' ').first();
    if (same(first, "private") || same(first, "public"))
        return line;
    return line.left(indent) + "private " + line.mid(indent);
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
        captured.name = name;
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
            QByteArray& endLine = captured.lines.last();
            const qsizetype word = caseFolded(endLine).indexOf("template");
            endLine.replace(word, 8, "type ");
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
                bool starting = false;
                if (tokens.size() >= 2) {
                    if (startsMember(kind, tokens, name)) {
                        starting = !inside;
                        inside = true;
                    }
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
                    if (starting)
                        captured.lines.last() = privateMember(captured.lines.last());
                    continue;
                }
                ++j;
            }
        }
        templates.templateTable.insert(caseFolded(name), captured);
    }
}

namespace {

// Where the code of a line ends and whether position at is in a string: a
// quote opens and closes a string, and outside one an apostrophe comments out
// the rest of the line, as a "_" between two bytes that are no name
// characters does (it continues the line).
qsizetype literalCodeEnd(const QByteArray& line) {
    bool inString = false;
    for (qsizetype i = 0; i < line.size(); ++i) {
        const bool alone = line[i] == '_' && (i == 0 || !isNameChar(line[i - 1])) &&
                           (i + 1 == line.size() || !isNameChar(line[i + 1]));
        if (line[i] == '"')
            inString = !inString;
        else if ((line[i] == '\'' || alone) && !inString)
            return i;
    }
    return line.size();
}

bool literalInString(const QByteArray& line, qsizetype at) {
    return line.left(at).count('"') % 2 == 1;
}

// The uses of the code of a line: read from the start, each "<<<" and ">>>"
// a token (outside strings), each ">>>" closing the last "<<<" still open.
// The pairs of positions, in the order of their ">>>"; outermost says of
// each whether no other "<<<" was open around it.
QList<QPair<qsizetype, qsizetype>> literalUses(const QByteArray& code, QList<bool>& outermost) {
    QList<QPair<qsizetype, qsizetype>> uses;
    QList<qsizetype> opens;
    for (qsizetype i = 0; i + 3 <= code.size();) {
        if (literalInString(code, i)) {
            ++i;
        } else if (code.mid(i, 3) == "<<<") {
            opens.append(i);
            i += 3;
        } else if (code.mid(i, 3) == ">>>" && !opens.isEmpty()) {
            uses.append({opens.takeLast(), i});
            outermost.append(opens.isEmpty());
            i += 3;
        } else {
            ++i;
        }
    }
    return uses;
}

} // namespace

void literalInstantiateTemplates(QByteArrayList& lines, const TemplateSet& templates,
                                 QList<MappedText>& instanceLines) {
    const TemplateTable& templateTable = templates.templateTable;
    if (templateTable.isEmpty())
        return;
    QByteArrayList instanceNames;
    bool failed = false;
    for (QByteArray& wholeLine : lines) {
        // Comments are found in the line as written; uses only in its code.
        const qsizetype codeEnd = literalCodeEnd(wholeLine);
        const QByteArray code = wholeLine.left(codeEnd);
        QByteArray line = code;
        // Each use is rewritten in the line as the uses before it (those
        // inside it and those to its left) left it: a position of the code
        // moved by the rewrites that ended before it.
        QList<QPair<qsizetype, qsizetype>> rewrites; // end in the code, change in length
        const auto moved = [&rewrites](qsizetype position) {
            qsizetype result = position;
            for (const auto& rewrite : std::as_const(rewrites))
                result += rewrite.first <= position ? rewrite.second : 0;
            return result;
        };
        QList<bool> outermost;
        const QList<QPair<qsizetype, qsizetype>> uses = literalUses(code, outermost);
        for (qsizetype u = 0; u < uses.size(); ++u) {
            const auto& use = uses[u];
            const qsizetype p = moved(use.first);
            const qsizetype length = moved(use.second) + 3 - p;
            const QByteArray segment = line.mid(p, length);
            const QByteArrayList typeArguments =
                splitOutsideBrackets(tokensOf(segment.mid(3, length - 6)).join(' '));
            // One spelling for every spacing of the arguments: words one
            // blank apart, ", " after an argument, " * " but after a
            // bracket, any other mark alone; then every mark and blank "_".
            const QString mark = QStringLiteral(
                "[\\x00-\\x08\\x0a-\\x1f\\x21-\\x2f\\x3a-\\x40\\x5b-\\x5e\\x60\\x7b-\\x7f]");
            const QString otherMark = QStringLiteral(
                "[\\x00-\\x08\\x0a-\\x1f\\x21-\\x29\\x2b\\x2d-\\x2f\\x3a-\\x40\\x5b-\\x5e"
                "\\x60\\x7b-\\x7f]");
            QString spelt =
                QString::fromLatin1(tokensOf(segment.mid(3, segment.size() - 6)).join(' '));
            spelt.replace(QRegularExpression(QStringLiteral(" ?(") + mark + QStringLiteral(") ?")),
                          QStringLiteral("\\1"));
            spelt.replace(QLatin1Char(','), QStringLiteral(", "))
                .replace(QLatin1Char('*'), QStringLiteral(" * "));
            spelt = QString::fromLatin1(tokensOf(spelt.toLatin1()).join(' '));
            spelt.replace(
                QRegularExpression(QStringLiteral(" ([,]|") + otherMark + QStringLiteral(")")),
                QStringLiteral("\\1"));
            spelt.replace(
                QRegularExpression(QStringLiteral("(") + otherMark + QStringLiteral(") ")),
                QStringLiteral("\\1"));
            spelt.replace(QRegularExpression(mark), QStringLiteral("_"));
            QByteArray suffix = spelt.toLatin1();
            suffix = caseFolded(suffix);
            suffix.replace(' ', '_');
            suffix.prepend('_');
            line.replace(p, length, suffix);
            // A name character right after a use that no other "<<<" holds
            // would join the instance name: a blank keeps them apart.
            const bool apart = outermost[u] && use.second + 3 < wholeLine.size() &&
                               isNameChar(wholeLine[use.second + 3]);
            if (apart)
                line.insert(p + suffix.size(), ' ');
            rewrites.append({use.second + 3, suffix.size() - length + (apart ? 1 : 0)});

            qsizetype k = p - 1;
            while (k >= 0 && isNameChar(line[k]))
                --k;
            const QByteArray name = line.mid(k + 1, p - k - 1);
            if (name.isEmpty() || !templateTable.contains(caseFolded(name)))
                continue;
            const CapturedTemplate captured = templateTable.value(caseFolded(name));
            const QByteArray instanceName = captured.name + suffix;
            if (failed || instanceNames.contains(caseFolded(instanceName)))
                continue;
            instanceNames.append(caseFolded(instanceName));
            QByteArrayList arguments;
            for (const QByteArray& argument : typeArguments)
                arguments.append(argument.trimmed());
            int highest = 0;
            MappedText text = instanceText(captured, instanceName, arguments, &highest);
            // A use that leaves a parameter it needs without an argument stops
            // the file's instances; its lines are still rewritten.
            for (qsizetype i = 0; i < highest && i < arguments.size(); ++i)
                failed = failed || arguments[i].isEmpty();
            if (failed)
                continue;
            // With a namespace in front of the name (ns.Stack, A.B.Stack), the
            // instance goes inside that namespace.
            qsizetype s = k;
            while (s > 0 && (isNameChar(line[s - 1]) || line[s - 1] == '.'))
                --s;
            const QByteArray space = k > 0 && line[k] == '.' ? line.mid(s, k - s) : QByteArray();
            if (!space.isEmpty() && isNameChar(space.front()) && isNameChar(space.back()) &&
                !space.contains("..")) {
                MappedText wrapped("namespace " + space + "\n", LineOrigin());
                wrapped.append(text);
                wrapped.append(MappedText("\nend namespace", LineOrigin()));
                text = wrapped;
            }
            instanceLines.append(text);
        }
        wholeLine = line + wholeLine.mid(codeEnd);
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
