#include "twins.h"

#include "forwarding.h"
#include "lines.h"
#include "typescan.h"

#include <QSet>

namespace {

const QLatin1StringView twinSuffix("_generic_public_member");

// "private:" however it is spaced or written, and nothing else on the line.
bool isPrivateLine(QStringView line) {
    QString compact = line.toString();
    compact.remove(u' ');
    return isKeyword(compact, QLatin1StringView("private:"));
}

// The twin's type line: the tokens joined with single spaces, the second one
// with the twin suffix.
QString twinTypeLine(QStringView typeLine) {
    const Tokens tokens = lineTokens(typeLine);
    QString line;
    for (qsizetype i = 0; i < tokens.size(); ++i) {
        if (i > 0)
            line += u' ';
        line += tokens[i];
        if (i == 1)
            line += twinSuffix;
    }
    return line;
}

// Inserts more directly before the first line feed of text; a text of one
// line receives nothing.
void insertAfterFirstLine(MappedText& text, const MappedText& more) {
    const qsizetype lineFeed = text.text.indexOf(u'\n');
    if (lineFeed >= 0)
        text.insert(lineFeed, more);
}

MappedText joined(const MappedText& head, const MappedText& tail) {
    return MappedText::joinLines({head, tail});
}

// "\npublic:\n  parent as P_generic_public_member\n", its own lines standing
// for the extends line.
MappedText parentMember(const TypeRecord& record) {
    if (record.parentName.isEmpty())
        return MappedText();
    MappedText member;
    member.text =
        QLatin1StringView("\npublic:\n  parent as ") + record.parentName + twinSuffix + u'\n';
    member.origins = {LineOrigin(), record.extendsOrigin, record.extendsOrigin, LineOrigin()};
    return member;
}

} // namespace

void renameConstructors(QString& text, const QString& typeName) {
    const QString twinName = twinNameOf(typeName);
    QString result;
    qsizetype copied = 0;
    for (qsizetype start = 0; start <= text.size();) {
        qsizetype end = text.indexOf(u'\n', start);
        if (end < 0)
            end = text.size();
        const QStringView line = QStringView(text).mid(start, end - start);
        const Tokens tokens = lineTokens(line);
        if (tokens.size() >= 2 &&
            (isKeyword(tokens[0], QLatin1StringView("constructor")) ||
             isKeyword(tokens[0], QLatin1StringView("destructor"))) &&
            namesType(tokens[1], typeName)) {
            const qsizetype nameAt = start + (tokens[1].data() - line.data());
            result += QStringView(text).mid(copied, nameAt - copied);
            result += twinName;
            copied = nameAt + typeName.size();
        }
        start = end + 1;
    }
    if (copied == 0)
        return;
    result += QStringView(text).mid(copied);
    text = result;
}

void replaceQualifier(QString& text, QStringView qualifier, QStringView replacement,
                      Qt::CaseSensitivity sensitivity) {
    if (qualifier.isEmpty())
        return;
    qsizetype found = text.indexOf(qualifier, 0, sensitivity);
    if (found < 0)
        return;
    QString result;
    result.reserve(text.size() + text.size() / 8);
    qsizetype copied = 0;
    for (; found >= 0; found = text.indexOf(qualifier, found, sensitivity)) {
        if (found > 0 && isNameChar(text[found - 1])) {
            ++found;
            continue;
        }
        result += QStringView(text).mid(copied, found - copied);
        result += replacement;
        found += qualifier.size();
        copied = found;
    }
    result += QStringView(text).mid(copied);
    text = result;
}

void buildTwins(QList<TypeRecord>& records, const Inheritance& inheritance) {
    QSet<QString> seenTypeNames;
    for (TypeRecord& record : records) {
        const QString key = record.typeName.toCaseFolded();
        if (!inheritance.needsTwin(key) || seenTypeNames.contains(key))
            continue;
        seenTypeNames.insert(key);
        record.hasTwin = true;

        QStringList blockLines = record.blockText.text.split(u'\n');
        blockLines.first() = twinTypeLine(blockLines.first());
        for (QString& line : blockLines) {
            if (isPrivateLine(line))
                line = QStringLiteral("public:");
        }
        record.twinBlockText = MappedText::fromLines(blockLines, record.blockText.origins);

        record.twinMethodText = record.methodText;
        replaceQualifier(record.twinMethodText.text, QString(record.typeName + u'.'),
                         QString(twinNameOf(record.typeName) + u'.'), Qt::CaseInsensitive);
        renameConstructors(record.twinMethodText.text, record.typeName);
    }
}

void resolveExtends(QList<TypeRecord>& records, const QStringList& lines,
                    const QList<LineOrigin>& origins, const Inheritance& inheritance) {
    const RecordIndex index(records);
    const QString placeholder = u' ' + forwardPlaceholder();
    for (qsizetype i = 0; i < lines.size(); ++i) {
        const Tokens tokens = lineTokens(lines[i]);
        if (!isExtendsLine(tokens) || inheritance.isNative(tokens[1]))
            continue;
        const qsizetype derivedAt = index.find(tokens[1]);
        const qsizetype parentAt = index.find(tokens[3]);
        if (derivedAt < 0 || parentAt < 0)
            continue;
        // Copies: a type may name itself as its parent.
        const TypeRecord parent = records[parentAt];
        TypeRecord& derived = records[derivedAt];
        const QString d = derived.typeName;
        const QString p = parent.typeName;
        const QString ownQualifier = u' ' + d + u'.';

        MappedText inheritedForwarders = parent.inheritedForwarderText;
        inheritedForwarders.text.replace(u' ' + p + u'.', ownQualifier);
        derived.inheritedForwarderText =
            joined(derived.inheritedForwarderText, inheritedForwarders);
        derived.inheritedDeclareText =
            joined(derived.inheritedDeclareText, parent.inheritedDeclareText);
        derived.inheritedForwarderText =
            joined(derived.inheritedForwarderText, parent.forwarderText);
        derived.inheritedForwarderText.text.replace(placeholder, ownQualifier);
        derived.inheritedDeclareText = joined(derived.inheritedDeclareText, parent.declareText);
        derived.inheritedDeclareText.text.replace(placeholder, ownQualifier);
        derived.parentName = tokens[3].toString();
        derived.extendsOrigin = origins.value(i);
        if (!derived.hasTwin)
            continue;

        const QString qualifier = d + u'.';
        const QString twinQualifier = twinNameOf(d) + u'.';
        derived.twinMethodText = joined(derived.inheritedForwarderText, derived.twinMethodText);
        replaceQualifier(derived.twinMethodText.text, qualifier, twinQualifier, Qt::CaseSensitive);
        insertAfterFirstLine(derived.twinBlockText,
                             joined(derived.inheritedDeclareText, MappedText()));
        replaceQualifier(derived.twinBlockText.text, qualifier, twinQualifier, Qt::CaseSensitive);
    }
}

void embedParents(QList<TypeRecord>& records) {
    for (TypeRecord& record : records) {
        const MappedText member = parentMember(record);
        MappedText block = record.blockText;
        MappedText inserted = record.inheritedDeclareText;
        inserted.append(member);
        insertAfterFirstLine(block, inserted);
        insertAfterFirstLine(record.twinBlockText, member);
        record.inheritedDeclareText = block;
    }
}
