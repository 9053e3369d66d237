#include "forwarding.h"

namespace {

// The piece of text starting at start, length characters long; a negative
// length reaches the end, and a start at or past the end gives nothing.
QStringView pieceOf(QStringView text, qsizetype start, qsizetype length) {
    if (start < 0 || start >= text.size())
        return {};
    if (length < 0 || start + length > text.size())
        return text.mid(start);
    return text.mid(start, length);
}

// The text between the first "(" and the ")" that closes it, or the rest of
// the line when none does.
QStringView parameterTextOf(QStringView header) {
    const qsizetype open = header.indexOf(u'(');
    if (open < 0)
        return {};
    int depth = 0;
    for (qsizetype i = open + 1; i < header.size(); ++i) {
        if (header[i] == u'(') {
            ++depth;
        } else if (header[i] == u')') {
            if (depth == 0)
                return header.mid(open + 1, i - open - 1);
            --depth;
        }
    }
    return header.mid(open + 1);
}

// The parameters: the pieces between the commas that stand outside brackets,
// so a default value such as "cast(T ptr, 0)" stays in one piece.
QList<QStringView> parametersOf(QStringView text) {
    QList<QStringView> pieces;
    int depth = 0;
    qsizetype start = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i] == u'(') {
            ++depth;
        } else if (text[i] == u')') {
            depth = qMax(0, depth - 1);
        } else if (text[i] == u',' && depth == 0) {
            pieces.append(text.mid(start, i - start));
            start = i + 1;
        }
    }
    pieces.append(text.mid(start));
    return pieces;
}

} // namespace

ForwardEntry forwardField(QStringView name, QStringView type) {
    const QLatin1StringView placeholder = forwardPlaceholder();
    ForwardEntry entry;
    QString& declaration = entry.declaration;
    declaration += QLatin1StringView("  declare property ");
    declaration += name;
    declaration += QLatin1StringView("() as ");
    declaration += type;
    declaration += QLatin1StringView("\n  declare property ");
    declaration += name;
    declaration += QLatin1StringView("(byval new_value as ");
    declaration += type;
    declaration += u')';

    QString& forwarder = entry.forwarder;
    forwarder += QLatin1StringView("property ");
    forwarder += placeholder;
    forwarder += name;
    forwarder += QLatin1StringView("() as ");
    forwarder += type;
    forwarder += QLatin1StringView("\n  return parent.");
    forwarder += name;
    forwarder += QLatin1StringView("\nend property\nproperty ");
    forwarder += placeholder;
    forwarder += name;
    forwarder += QLatin1StringView("(byval new_value as ");
    forwarder += type;
    forwarder += QLatin1StringView(")\n  parent.");
    forwarder += name;
    forwarder += QLatin1StringView(" = new_value\nend property\n");
    return entry;
}

ForwardEntry forwardMember(QStringView kind, const Tokens& headerTokens, const QString& memberName,
                           const QString& argumentList, const QString& memberPrefix) {
    const QLatin1StringView opening = isKeyword(kind, QLatin1StringView("sub"))
                                          ? QLatin1StringView("\n  ")
                                          : QLatin1StringView("\n  return ");
    const QString closing = QLatin1StringView(")\nend ") + kind.toString().toLower() + u'\n';

    // The header is copied token by token, so indentation goes and every run
    // of spaces becomes one. Only the qualifier the header test matched leaves
    // the second token, whatever its letter case.
    const qsizetype prefixLength = memberPrefix.size();
    QString header;
    QString declared;
    for (qsizetype i = 0; i < headerTokens.size(); ++i) {
        if (i > 0) {
            header += u' ';
            declared += u' ';
        }
        if (i == 1) {
            const QStringView rest =
                headerTokens[1].mid(qMin(prefixLength, headerTokens[1].size()));
            header += forwardPlaceholder();
            header += rest;
            declared += rest;
        } else {
            header += headerTokens[i];
            declared += headerTokens[i];
        }
    }

    ForwardEntry entry;
    entry.forwarder = header + u' ' + opening + QLatin1StringView("parent.") + memberName + u'(' +
                      argumentList + closing;
    entry.declaration = QLatin1StringView("  declare ") + declared;
    return entry;
}

QString memberNameOf(QStringView header) {
    const qsizetype dot = header.indexOf(u'.');
    const qsizetype open = header.indexOf(u'(');
    QString name = pieceOf(header, dot + 1, open - dot - 1).toString();
    name.remove(u' ');
    return name;
}

QString argumentListOf(QStringView header) {
    QString list;
    const QStringView parameters = parameterTextOf(header);
    if (parameters.isEmpty())
        return list;
    for (QStringView piece : parametersOf(parameters)) {
        const Tokens tokens = lineTokens(piece);
        qsizetype at = 0;
        if (!tokens.isEmpty() && (isKeyword(tokens[0], QLatin1StringView("byval")) ||
                                  isKeyword(tokens[0], QLatin1StringView("byref"))))
            at = 1;
        if (at >= tokens.size() || tokens[at] == QLatin1StringView("..."))
            continue;
        if (!list.isEmpty())
            list += u',';
        list += tokens[at];
    }
    return list;
}
