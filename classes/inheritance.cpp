#include "inheritance.h"

#include "lines.h"

#include <QHash>

namespace {

QByteArray keyOf(QByteArrayView name) {
    return caseFolded(name);
}

} // namespace

bool isExtendsLine(const Tokens& tokens) {
    return tokens.size() >= 4 && isKeyword(tokens[0], "type") && isKeyword(tokens[2], "extends");
}

bool Inheritance::isNative(QByteArrayView name) const {
    return nativeTypes.contains(keyOf(name));
}

bool Inheritance::needsTwin(QByteArrayView name) const {
    return twinTypes.contains(keyOf(name));
}

bool Inheritance::isDerived(QByteArrayView name) const {
    return derivedTypes.contains(keyOf(name));
}

Inheritance analyseInheritance(const Lines& lines, const QList<TypeRecord>& records) {
    const RecordIndex index(records);
    struct Link {
        QByteArray derived, parent;
    };
    QList<Link> links;
    for (const QByteArrayView line : lines) {
        if (!firstTokenMayBe(line, "type"))
            continue;
        const Tokens tokens = lineTokens(line);
        if (isExtendsLine(tokens))
            links.append(Link{keyOf(tokens[1]), keyOf(tokens[3])});
    }

    // Native roots name a parent without a record; their derived types follow
    // whatever the order of the lines.
    Inheritance inheritance;
    QHash<QByteArray, QByteArrayList> derivedOf;
    QByteArrayList pending;
    for (const Link& link : std::as_const(links)) {
        derivedOf[link.parent].append(link.derived);
        if (index.find(link.parent) < 0)
            pending.append(link.derived);
    }
    while (!pending.isEmpty()) {
        const QByteArray name = pending.takeLast();
        if (inheritance.nativeTypes.contains(name))
            continue;
        inheritance.nativeTypes.insert(name);
        pending += derivedOf.value(name);
    }

    for (const Link& link : std::as_const(links)) {
        if (inheritance.nativeTypes.contains(link.derived))
            continue;
        inheritance.twinTypes.insert(link.parent);
        inheritance.derivedTypes.insert(link.derived);
    }
    return inheritance;
}
