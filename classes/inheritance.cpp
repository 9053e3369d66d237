#include "inheritance.h"

#include "lines.h"

#include <QHash>

namespace {

QString keyOf(QStringView name) {
    return name.toString().toCaseFolded();
}

} // namespace

bool isExtendsLine(const Tokens& tokens) {
    return tokens.size() >= 4 && isKeyword(tokens[0], QLatin1StringView("type")) &&
           isKeyword(tokens[2], QLatin1StringView("extends"));
}

bool Inheritance::isNative(QStringView name) const {
    return nativeTypes.contains(keyOf(name));
}

bool Inheritance::needsTwin(QStringView name) const {
    return twinTypes.contains(keyOf(name));
}

Inheritance analyseInheritance(const QStringList& lines, const QList<TypeRecord>& records) {
    const RecordIndex index(records);
    struct Link {
        QString derived, parent;
    };
    QList<Link> links;
    for (const QString& line : lines) {
        const Tokens tokens = lineTokens(line);
        if (isExtendsLine(tokens))
            links.append(Link{keyOf(tokens[1]), keyOf(tokens[3])});
    }

    // Native roots name a parent without a record; their derived types follow
    // whatever the order of the lines.
    Inheritance inheritance;
    QHash<QString, QStringList> derivedOf;
    QStringList pending;
    for (const Link& link : std::as_const(links)) {
        derivedOf[link.parent].append(link.derived);
        if (index.find(link.parent) < 0)
            pending.append(link.derived);
    }
    while (!pending.isEmpty()) {
        const QString name = pending.takeLast();
        if (inheritance.nativeTypes.contains(name))
            continue;
        inheritance.nativeTypes.insert(name);
        pending += derivedOf.value(name);
    }

    for (const Link& link : std::as_const(links)) {
        if (!inheritance.nativeTypes.contains(link.derived))
            inheritance.twinTypes.insert(link.parent);
    }
    return inheritance;
}
