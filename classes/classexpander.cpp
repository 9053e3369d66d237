#include "classexpander.h"

#include "beside.h"
#include "characters.h"
#include "codelexer.h"
#include "compoundassignments.h"
#include "extends.h"
#include "inheritance.h"
#include "lines.h"
#include "offsets.h"
#include "twins.h"
#include "typeblocks.h"
#include "typescan.h"

#include <algorithm>
#include <cstring>

namespace {

// Makes the scanned texts the pass emits: a type that is extended needs its
// block, implementations, forwarders and declarations (for its twin and the
// types that extend it); a type that only extends another needs its block;
// the blocks of all other types stay as written, so theirs are not made.
// Each record's texts are its own: in a large file the two threads share the
// records.
void fillUsedTexts(QList<TypeRecord>& records, const LineIndex& lines,
                   const QList<LineOrigin>& origins, const Inheritance& inheritance, bool beside,
                   const QSet<QByteArray>& headerEnums) {
    QList<qsizetype> used;
    for (qsizetype i = 0; i < records.size(); ++i) {
        TypeRecord& record = records[i];
        const bool derived = inheritance.isDerived(record.typeName);
        if (derived)
            record.ownMethodLines = record.found.methods;
        if (inheritance.needsTwin(record.typeName) || derived)
            used.append(i);
        else
            record.found = ScannedLines();
    }
    QSet<QByteArray> enums;
    if (!used.isEmpty())
        enums = enumNamesOf(lines) + headerEnums;
    const auto fill = [&](qsizetype u) {
        TypeRecord& record = records[used[u]];
        fillScannedTexts(record, lines, origins, inheritance.needsTwin(record.typeName), enums);
    };
    if (beside) {
        runBesideSharing([] {}, [] {}, used.size(), fill);
    } else {
        for (qsizetype u = 0; u < used.size(); ++u)
            fill(u);
    }
}

// Once the extending types have their forwarders, a record's implementations
// and members as the scan found them are copied into its twin and into the
// types that extend it, and are not needed again: they go as its parent is
// embedded, the step that needs the most memory.
void dropScanTexts(TypeRecord& record) {
    record.methodText = MappedText();
    record.laterMethods = QList<PlacedText>();
    record.staticCandidates = QList<StaticCandidate>();
    record.members = QList<MemberEntry>();
    record.inherited = QList<InheritedMember>();
    record.ownMethodLines = QList<qint32>();
}

// Blanks every /' ... '/ comment that opens and closes on one line of code
// ("x as integer /' the x '/", "declare sub f(byval n as integer /' n '/)"),
// byte for byte, so that every rule of the pass reads such a line as its
// code alone. Strings and the rest of a line after "'" are left as they are;
// a comment that goes on to later lines is left to the rules that know lines
// starting inside a comment. Returns the comments blanked, by position, so
// that a text with nothing to rewrite can have them back without a copy of
// the whole text kept aside.
struct BlankedComment {
    qsizetype at;
    QByteArray bytes;
};

QList<BlankedComment> blankInlineBlockComments(QByteArray& text) {
    QList<BlankedComment> blanked;
    if (!containsCommentOpening(text))
        return blanked;
    CommentTracker comments;
    // Read through the shared bytes: a text that shares them with the file's
    // original is copied only when a comment is blanked in it.
    const char* data = text.constData();
    const qsizetype size = text.size();
    for (qsizetype start = 0; start <= size;) {
        qsizetype end = start;
        while (end < size && data[end] != '\n')
            ++end;
        const QByteArrayView line(data + start, end - start);
        if (!comments.startsInComment(line) && containsCommentOpening(line)) {
            bool inString = false;
            bool escapes = false; // a !"..." string, in which "\" escapes a byte
            for (qsizetype i = start; i < end; ++i) {
                const char c = data[i];
                if (inString) {
                    if (escapes && c == '\\')
                        ++i;
                    else if (c == '"')
                        inString = false;
                    continue;
                }
                if (c == '"') {
                    inString = true;
                    escapes = i > start && data[i - 1] == '!';
                    continue;
                }
                if (c == '\'')
                    break;
                if (c != '/' || i + 1 >= end || data[i + 1] != '\'')
                    continue;
                // The comment's end on this line, nested comments counted.
                int depth = 0;
                qsizetype close = -1;
                for (qsizetype k = i; k + 1 < end; ++k) {
                    if (data[k] == '/' && data[k + 1] == '\'') {
                        ++depth;
                        ++k;
                    } else if (data[k] == '\'' && data[k + 1] == '/') {
                        ++k;
                        if (--depth == 0) {
                            close = k;
                            break;
                        }
                    }
                }
                if (close < 0)
                    break;
                blanked.append(BlankedComment{i, QByteArray(data + i, close + 1 - i)});
                char* own = text.data();
                std::fill(own + i, own + close + 1, ' ');
                data = own;
                i = close;
            }
        }
        start = end + 1;
    }
    return blanked;
}

} // namespace

bool readInFbDialect(QByteArrayView text, QByteArrayView commandLineDialect, bool forced,
                     QByteArrayView headerDialect) {
    QByteArray dialect = commandLineDialect.toByteArray().toLower();
    // A header's "#lang" switches the file that includes it: the compiler
    // reads them as one text.
    if (!forced && !headerDialect.isEmpty())
        dialect = headerDialect.toByteArray().toLower();
    if (!forced && mayNameDialect(text)) {
        const LineIndex lines(text);
        const QList<bool> commented = linesStartingInComment(lines);
        for (qsizetype i = 0; i < lines.size(); ++i) {
            if (!commented.isEmpty() && commented[i])
                continue;
            QByteArray named =
                dialectNamedOn(lines[i], i + 1 < lines.size() ? lines[i + 1] : QByteArrayView());
            if (!named.isEmpty())
                dialect = std::move(named);
        }
    }
    return dialect.isEmpty() || dialect == "fb";
}

MappedText expandClassText(MappedText source, bool generatedPrivate, qsizetype besideFromBytes,
                           const QSet<QByteArray>& headerEnums) {
    const QList<BlankedComment> blanked = blankInlineBlockComments(source.text);
    LineIndex lines(source.text); // source.text holds their bytes
    QList<LineOrigin>& origins = source.origins;
    Q_ASSERT(origins.size() == lines.size()); // one origin per line, as MappedText keeps

    // The extends lines, and the lines that may assign compoundly, are found
    // beside the types in a large file; below besideFromBytes a thread would
    // cost more than it saves.
    const bool beside = source.text.size() >= besideFromBytes;
    QList<TypeRecord> records;
    ExtendsLines extendsLines;
    QList<qsizetype> compoundLines;
    bool namesOffsets = false;
    const auto findLinks = [&] {
        extendsLines = findExtendsLines(lines);
        if (!extendsLines.links.isEmpty()) {
            compoundLines = compoundAssignmentLines(lines);
            namesOffsets = mentionsOffsetof(source.text);
        }
    };
    const auto scanTypes = [&] { records = findTypes(lines); };
    if (beside) {
        runBeside(findLinks, scanTypes);
    } else {
        findLinks();
        scanTypes();
    }
    Inheritance inheritance = analyseInheritance(lines, records, std::move(extendsLines), beside);
    inheritance.generatedPrivate = generatedPrivate;
    if (!blanked.isEmpty() && inheritance.twinTypes.isEmpty() &&
        inheritance.derivedTypes.isEmpty()) {
        // Nothing to rewrite: the comments stay.
        for (const BlankedComment& comment : blanked)
            std::memcpy(source.text.data() + comment.at, comment.bytes.constData(),
                        size_t(comment.bytes.size()));
        return source;
    }
    fillUsedTexts(records, lines, origins, inheritance, beside, headerEnums);
    // A twin is made from its own record's texts, and what each type
    // inherits is read from the members alone, so the two go on at once.
    const QList<qsizetype> twinned = recordsToTwin(records, inheritance);
    const auto twin = [&](qsizetype t) { buildTwin(records[twinned[t]], inheritance); };
    const auto inherit = [&] { inheritParents(records, origins, inheritance); };
    // Which inherited fields compound assignments must spell out is read
    // from the members each type inherits, which writing the extending
    // types leaves as they are.
    PropertyFields propertyFields;
    const auto findPropertyFields = [&] {
        propertyFields = propertyFieldsOf(records, lines, origins, compoundLines, headerEnums);
    };
    QList<bool> keepsPrivate;
    const auto writeType = [&](qsizetype r) {
        writeExtendingType(records, r, keepsPrivate[r], lines, origins);
    };
    if (beside) {
        // Which forwarders stay private is read from the parents inherit
        // gives, and from implementations a twin only copies.
        runBesideSharing([] {},
                         [&] {
                             inherit();
                             keepsPrivate = forwardersKeptPrivate(records, inheritance);
                         },
                         twinned.size(), twin);
        runBesideSharing(
            findPropertyFields, [] {}, records.size(), writeType);
    } else {
        for (qsizetype t = 0; t < twinned.size(); ++t)
            twin(t);
        inherit();
        keepsPrivate = forwardersKeptPrivate(records, inheritance);
        for (qsizetype r = 0; r < records.size(); ++r)
            writeType(r);
        findPropertyFields();
    }
    // The offsets of inherited fields are read from the inherited members too.
    InheritedFieldDepths offsetFields;
    if (namesOffsets)
        offsetFields = inheritedFieldDepths(records);
    const auto embed = [&](qsizetype r) {
        dropScanTexts(records[r]);
        embedParent(records[r]);
    };
    if (beside) {
        runBesideSharing([] {}, [] {}, records.size(), embed);
    } else {
        for (qsizetype r = 0; r < records.size(); ++r)
            embed(r);
    }
    MappedText result =
        replaceTypeBlocks(std::move(source), std::move(lines), records, inheritance, beside);
    // The records are let go of beside the last two rewrites, which read
    // only the text.
    const auto finish = [&] {
        stripExtendsClauses(result, inheritance);
        spellOutCompoundAssignments(result, propertyFields);
        reachInheritedOffsets(result.text, offsetFields);
    };
    if (beside)
        runBeside([&records] { records = QList<TypeRecord>(); }, finish);
    else
        finish();
    return result;
}
