#include "forwarding.h"

namespace {

// The piece of text starting at start, length bytes long; a negative
// length reaches the end, and a start at or past the end gives nothing.
QByteArrayView pieceOf(QByteArrayView text, qsizetype start, qsizetype length) {
    if (start < 0 || start >= text.size())
        return {};
    if (length < 0 || start + length > text.size())
        return text.sliced(start);
    return text.sliced(start, length);
}

// The text between the first "(" and the ")" that closes it, or the rest of
// the line when none does.
QByteArrayView parameterTextOf(QByteArrayView header) {
    const qsizetype open = header.indexOf('(');
    if (open < 0)
        return {};
    int depth = 0;
    for (qsizetype i = open + 1; i < header.size(); ++i) {
        if (header[i] == '(') {
            ++depth;
        } else if (header[i] == ')') {
            if (depth == 0)
                return header.sliced(open + 1, i - open - 1);
            --depth;
        }
    }
    return header.sliced(open + 1);
}

// The parameters: the pieces between the commas that stand outside brackets,
// so a default value such as "cast(T ptr, 0)" stays in one piece.
QList<QByteArrayView> parametersOf(QByteArrayView text) {
    QList<QByteArrayView> pieces;
    int depth = 0;
    qsizetype start = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i] == '(') {
            ++depth;
        } else if (text[i] == ')') {
            depth = qMax(0, depth - 1);
        } else if (text[i] == ',' && depth == 0) {
            pieces.append(text.sliced(start, i - start));
            start = i + 1;
        }
    }
    pieces.append(text.sliced(start));
    return pieces;
}

} // namespace

ForwardEntry forwardField(QByteArrayView name, QByteArrayView type) {
    const QByteArrayView placeholder = forwardPlaceholder();
    ForwardEntry entry;
    QByteArray& declaration = entry.declaration;
    declaration.reserve(2 * (name.size() + type.size()) + 64);
    declaration += "  declare property ";
    declaration += name;
    declaration += "() as ";
    declaration += type;
    declaration += "\n  declare property ";
    declaration += name;
    declaration += "(byval new_value as ";
    declaration += type;
    declaration += ')';

    QByteArray& forwarder = entry.forwarder;
    forwarder.reserve(4 * name.size() + 2 * type.size() + 2 * placeholder.size() + 128);
    forwarder += "property ";
    forwarder += placeholder;
    forwarder += name;
    forwarder += "() as ";
    forwarder += type;
    forwarder += "\n  return parent.";
    forwarder += name;
    forwarder += "\nend property\nproperty ";
    forwarder += placeholder;
    forwarder += name;
    forwarder += "(byval new_value as ";
    forwarder += type;
    forwarder += ")\n  parent.";
    forwarder += name;
    forwarder += " = new_value\nend property\n";
    return entry;
}

ForwardEntry forwardMember(QByteArrayView kind, const Tokens& headerTokens,
                           const QByteArray& memberName, const QByteArray& argumentList,
                           const QByteArray& memberPrefix) {
    const QByteArrayView opening =
        isKeyword(kind, "sub") ? QByteArrayView("\n  ") : QByteArrayView("\n  return ");

    // The header is copied token by token, so indentation goes and every run
    // of spaces becomes one. Only the qualifier the header test matched leaves
    // the second token, whatever its letter case.
    const qsizetype prefixLength = memberPrefix.size();
    qsizetype headerSize = forwardPlaceholder().size();
    for (const QByteArrayView token : headerTokens)
        headerSize += token.size() + 1;
    QByteArray header;
    QByteArray declared;
    header.reserve(headerSize);
    declared.reserve(headerSize + 10);
    declared += "  declare ";
    for (qsizetype i = 0; i < headerTokens.size(); ++i) {
        if (i > 0) {
            header += ' ';
            declared += ' ';
        }
        if (i == 1) {
            const QByteArrayView rest =
                headerTokens[1].sliced(qMin(prefixLength, headerTokens[1].size()));
            header += forwardPlaceholder();
            header += rest;
            declared += rest;
        } else {
            header += headerTokens[i];
            declared += headerTokens[i];
        }
    }

    ForwardEntry entry;
    QByteArray& forwarder = entry.forwarder;
    forwarder.reserve(header.size() + memberName.size() + argumentList.size() + kind.size() + 32);
    forwarder += header;
    forwarder += ' ';
    forwarder += opening;
    forwarder += "parent.";
    forwarder += memberName;
    forwarder += '(';
    forwarder += argumentList;
    forwarder += ")\nend ";
    for (const char c : kind)
        forwarder += foldCase(c);
    forwarder += '\n';
    entry.declaration = std::move(declared);
    return entry;
}

QByteArray memberNameOf(QByteArrayView header) {
    const qsizetype dot = header.indexOf('.');
    const qsizetype open = header.indexOf('(');
    QByteArray name = pieceOf(header, dot + 1, open - dot - 1).toByteArray();
    name.removeIf([](char c) { return c == ' '; });
    return name;
}

QByteArray argumentListOf(QByteArrayView header) {
    QByteArray list;
    const QByteArrayView parameters = parameterTextOf(header);
    if (parameters.isEmpty())
        return list;
    for (QByteArrayView piece : parametersOf(parameters)) {
        const Tokens tokens = lineTokens(piece);
        qsizetype at = 0;
        if (!tokens.isEmpty() && (isKeyword(tokens[0], "byval") || isKeyword(tokens[0], "byref")))
            at = 1;
        if (at >= tokens.size() || tokens[at] == "...")
            continue;
        if (!list.isEmpty())
            list += ',';
        list += tokens[at];
    }
    return list;
}
