#include "inheritance.h"

#include "beside.h"
#include "blockscanner.h"
#include "characters.h"
#include "codelexer.h"
#include "lines.h"
#include "membersyntax.h"

#include <QHash>

#include <initializer_list>
#include <vector>

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

namespace {

// Families of types as sets that are joined: each name leads to its family's
// representative.
struct Families {
    QHash<QByteArray, QByteArray> up;

    QByteArray find(const QByteArray& name) {
        QByteArray at = name;
        while (true) {
            const auto next = up.constFind(at);
            if (next == up.cend() || *next == at)
                break;
            at = *next;
        }
        // Every name on the way now leads straight to the representative.
        for (QByteArray step = name; step != at;) {
            QByteArray next = up.value(step);
            up.insert(step, at);
            step = next;
        }
        return at;
    }
    // Every name now leads straight to its family's representative: up is
    // read without find from here on.
    void settle() {
        const QList<QByteArray> names = up.keys();
        for (const QByteArray& name : names)
            find(name);
    }
    void join(const QByteArray& a, const QByteArray& b) {
        up.insert(a, up.value(a, a));
        up.insert(b, up.value(b, b));
        const QByteArray rootA = find(a), rootB = find(b);
        if (rootA != rootB)
            up.insert(rootA, rootB);
    }
};

// Whether a whole word of the line, in code, a string or a comment alike, is
// one of words (ignoring case). Most lines hold none of the few words that tell
// native inheritance, and need no closer look.
bool mentionsAny(QByteArrayView line, std::initializer_list<QByteArrayView> words) {
    const char* data = line.data();
    for (qsizetype i = 0; i < line.size(); ++i) {
        if (!isNameChar(data[i]))
            continue;
        const qsizetype start = i;
        while (i + 1 < line.size() && isNameChar(data[i + 1]))
            ++i;
        const QByteArrayView run(data + start, i + 1 - start);
        for (const QByteArrayView word : words) {
            if (run.size() == word.size() && isKeyword(run, word))
                return true;
        }
    }
    return false;
}

bool isProtectedLine(QByteArrayView code) {
    const qsizetype colon = code.indexOf(':');
    return colon >= 0 && isKeyword(codeOf(code.first(colon)), "protected");
}

// "base" followed by "." or "(", however spaced.
bool namesBase(QByteArrayView code) {
    for (qsizetype at = indexOfWord(code, "base"); at >= 0;
         at = indexOfWord(code, "base", at + 4)) {
        qsizetype next = at + 4;
        while (next < code.size() && (code[next] == ' ' || code[next] == '\t'))
            ++next;
        if (next < code.size() && (code[next] == '.' || code[next] == '('))
            return true;
    }
    return false;
}

// Whether code converts this to a type for which isFamilyType holds:
// "cast(P, this)" or "cptr(P ptr, @this)", however spaced. Only FreeBASIC's own
// inheritance makes a type's this a P.
template <typename IsFamilyType>
bool castsThisTo(QByteArrayView code, const IsFamilyType& isFamilyType) {
    for (const QByteArrayView word : {QByteArrayView("cast"), QByteArrayView("cptr")}) {
        for (qsizetype at = indexOfWord(code, word); at >= 0;
             at = indexOfWord(code, word, at + word.size())) {
            qsizetype next = at + word.size();
            while (next < code.size() && (code[next] == ' ' || code[next] == '\t'))
                ++next;
            if (next == code.size() || code[next] != '(')
                continue;
            const qsizetype open = next;
            int depth = 0;
            qsizetype close = open;
            for (; close < code.size(); ++close) {
                if (code[close] == '(')
                    ++depth;
                else if (code[close] == ')' && --depth == 0)
                    break;
            }
            const QByteArrayView arguments = code.sliced(open + 1, close - open - 1);
            const qsizetype comma = topLevelIndexOf(arguments, ',');
            if (comma < 0 || indexOfWord(arguments, "this", comma) < 0)
                continue;
            const Tokens typeWords = lineTokens(arguments.first(comma));
            if (!typeWords.isEmpty() && isFamilyType(typeWords.first()))
                return true;
        }
    }
    return false;
}

// Whether the line starts a procedure whose name puts a namespace before a
// type for which isFamilyType holds ("sub Geo.Shape.move(...)",
// "constructor Geo.Shape(...)"): a member that the scan, reading members by
// the type's own name, does not see.
template <typename IsFamilyType>
bool implementsThroughNamespace(QByteArrayView line, const IsFamilyType& isFamilyType) {
    const QByteArrayView header = withoutProcedurePrefix(line);
    const QByteArrayView kind = firstToken(header);
    bool namesType = false;
    bool isProcedure = false;
    for (const char* keyword : {"constructor", "destructor"})
        namesType = namesType || isKeyword(kind, keyword);
    for (const char* keyword : {"sub", "function", "property", "operator"})
        isProcedure = isProcedure || isKeyword(kind, keyword);
    if (!namesType && !isProcedure)
        return false;
    const QByteArrayView name =
        firstToken(header.sliced(kind.data() - header.data() + kind.size()));
    qsizetype start = name.indexOf('.');
    while (start >= 0) {
        qsizetype end = start + 1;
        while (end < name.size() && isNameChar(name[end]))
            ++end;
        const bool last = end == name.size() || name[end] != '.';
        if ((namesType ? last : !last) && isFamilyType(name.sliced(start + 1, end - start - 1)))
            return true;
        start = last ? -1 : end;
    }
    return false;
}

// An alias line ("type Handle as Shape") is a block of its own line: this
// program has no fields or members of it to forward, nor a twin to embed, so
// a type that extends it is left to the compiler, which sees through it.
bool isAlias(const TypeRecord& record) {
    return record.blockEnd == record.typeLine;
}

// One type of each cycle of extends lines ("type A extends B", "type B
// extends A", or "type A extends A"). No parent of such a type can be
// embedded before it; the compiler, given the lines as written, says what is
// wrong with them. Each type is walked up from once.
template <typename Link> QList<QByteArray> typesInCycles(const QList<Link>& links) {
    QHash<QByteArray, QByteArray> parentOf;
    for (const Link& link : links)
        parentOf.insert(link.derived, link.parent); // a type declared twice: its last parent
    enum : char { walking = 1, walked = 2 };
    QHash<QByteArray, char> state;
    QList<QByteArray> found;
    for (auto start = parentOf.cbegin(); start != parentOf.cend(); ++start) {
        if (state.contains(start.key()))
            continue;
        QByteArray at = start.key();
        QList<QByteArray> path;
        while (!state.contains(at)) {
            state.insert(at, walking);
            path.append(at);
            const auto up = parentOf.constFind(at);
            if (up == parentOf.cend())
                break;
            at = *up;
        }
        if (state.value(at) == walking && parentOf.contains(at))
            found.append(at);
        for (const QByteArray& name : std::as_const(path))
            state.insert(name, walked);
    }
    return found;
}

// Whether a type's block or implementations show it is written for
// FreeBASIC's own inheritance.
bool showsNativeInheritance(const TypeRecord& record, const LineIndex& lines) {
    for (const qint32 line : record.found.block) {
        if (!mentionsAny(lines[line], {"protected", "virtual", "abstract", "override"}))
            continue;
        const QByteArrayView code = codeOf(lines[line]);
        if (isProtectedLine(code) || indexOfWord(code, "virtual") >= 0 ||
            indexOfWord(code, "abstract") >= 0 || indexOfWord(code, "override") >= 0)
            return true;
    }
    for (const qint32 line : record.found.methods) {
        if (line != ScannedLines::memberEnd && mentionsAny(lines[line], {"base"}) &&
            namesBase(codeOf(lines[line])))
            return true;
    }
    return false;
}

} // namespace

ExtendsLines findExtendsLines(const LineIndex& lines) {
    ExtendsLines found;
    found.commentedLines = linesStartingInComment(lines);
    const auto startsInComment = [&found](qsizetype line) {
        return !found.commentedLines.isEmpty() && found.commentedLines[line];
    };
    for (qsizetype i = 0; i < lines.size(); ++i) {
        const QByteArrayView line = lines[i];
        if (!firstTokenMayBe(line, "type") || startsInComment(i))
            continue;
        const Tokens tokens = lineTokens(line);
        if (isExtendsLine(tokens))
            found.links.append(ExtendsLines::Link{keyOf(tokens[1]), keyOf(tokens[3]),
                                                  tokens[3].toByteArray(), i, false});
    }
    // A type declared in a procedure or a compound statement ("scope"): the
    // blocks open at each extends line tell.
    if (!found.links.isEmpty()) {
        CodeLexer lexer;
        BlockScanner blocks;
        qsizetype line = 0;
        for (ExtendsLines::Link& link : found.links) {
            for (; line < link.line; ++line)
                blocks.next(line, lexer.next(lines[line]), lexer);
            link.insideCode = blocks.insideCode();
            link.insideMacro = blocks.insideMacro();
        }
        // The lines that implement a member through a qualified name, which
        // may name a family's type with its namespace.
        const auto anyName = [](QByteArrayView) { return true; };
        for (qsizetype i = 0; i < lines.size(); ++i) {
            if (lines[i].contains('.') && !startsInComment(i) &&
                implementsThroughNamespace(lines[i], anyName))
                found.qualifiedImplementations.append(i);
        }
        Families families;
        for (const ExtendsLines::Link& link : found.links)
            families.join(link.derived, link.parent);
        found.familyLinks = std::move(families.up);
        found.inCycles = typesInCycles(found.links);
    }
    return found;
}

Inheritance analyseInheritance(const LineIndex& lines, const QList<TypeRecord>& records,
                               ExtendsLines extendsLines, bool beside) {
    const RecordIndex index(records);
    Families families{std::move(extendsLines.familyLinks)};
    Inheritance inheritance;
    inheritance.commentedLines = std::move(extendsLines.commentedLines);
    inheritance.links = std::move(extendsLines.links);
    const QList<ExtendsLines::Link>& links = inheritance.links;

    QSet<QByteArray> nativeFamilies;
    for (const ExtendsLines::Link& link : links) {
        const qsizetype parentAt = index.find(link.parent);
        if (parentAt < 0 || isAlias(records[parentAt]))
            nativeFamilies.insert(families.find(link.parent));
    }
    for (const QByteArray& name : std::as_const(extendsLines.inCycles))
        nativeFamilies.insert(families.find(name));
    // A type declared in a procedure or a compound statement ("scope") can
    // have no member procedures of its own, so it can get no forwarders:
    // its family is left to the compiler, which may accept it as written.
    for (const ExtendsLines::Link& link : links) {
        if (link.insideCode)
            nativeFamilies.insert(families.find(link.derived));
    }
    // So is a type that a macro's body opens and leaves open for the code
    // after each use to close: it has no record, no block to rewrite.
    QSet<qsizetype> typeLines;
    for (const ExtendsLines::Link& link : links) {
        if (!link.insideMacro)
            continue;
        if (typeLines.isEmpty()) {
            for (const TypeRecord& record : records)
                typeLines.insert(record.typeLine);
        }
        if (!typeLines.contains(link.line))
            nativeFamilies.insert(families.find(link.derived));
    }
    // Each family type's block and implementations are read for what shows
    // FreeBASIC's own inheritance, on two threads in a large file: the
    // families are settled first, so that reading them changes nothing.
    families.settle();
    const auto familyOf = [&families](QByteArrayView name) -> const QByteArray* {
        const auto at = families.up.constFind(keyOf(name));
        return at == families.up.cend() ? nullptr : &*at;
    };
    // A byte for each record, not a bit: the two threads write records of their own.
    std::vector<char> showsNative(size_t(records.size()), 0);
    const auto readRecord = [&](qsizetype r) {
        const TypeRecord& record = records[r];
        const QByteArray* family = familyOf(record.typeName);
        if (!family || nativeFamilies.contains(*family))
            return;
        const auto isFamilyType = [&](QByteArrayView name) {
            const QByteArray* other = familyOf(name);
            return other && *other == *family;
        };
        bool native = showsNativeInheritance(record, lines);
        for (qsizetype i = 0; !native && i < record.found.methods.size(); ++i) {
            const qint32 line = record.found.methods[i];
            native = line != ScannedLines::memberEnd &&
                     mentionsAny(lines[line], {"cast", "cptr"}) &&
                     castsThisTo(codeOf(lines[line]), isFamilyType);
        }
        showsNative[size_t(r)] = native ? 1 : 0;
    };
    if (beside) {
        runBesideSharing([] {}, [] {}, records.size(), readRecord);
    } else {
        for (qsizetype r = 0; r < records.size(); ++r)
            readRecord(r);
    }
    for (qsizetype r = 0; r < records.size(); ++r) {
        if (showsNative[size_t(r)])
            nativeFamilies.insert(*familyOf(records[r].typeName));
    }

    // A member written with its type's namespace in front ("sub
    // Geo.Shape.move") is one the scan does not see, so it could be neither
    // forwarded nor copied to the twin: the family is the compiler's.
    if (!links.isEmpty()) {
        QByteArray found; // the family type the last line named
        const auto isOpenFamilyType = [&](QByteArrayView name) {
            found = keyOf(name);
            return families.up.contains(found) && !nativeFamilies.contains(families.find(found));
        };
        for (const qsizetype i : extendsLines.qualifiedImplementations) {
            if (implementsThroughNamespace(lines[i], isOpenFamilyType))
                nativeFamilies.insert(families.find(found));
        }
    }

    if (!nativeFamilies.isEmpty()) {
        const QList<QByteArray> names = families.up.keys();
        for (const QByteArray& name : names) {
            if (nativeFamilies.contains(families.find(name)))
                inheritance.nativeTypes.insert(name);
        }
    }
    for (const ExtendsLines::Link& link : links) {
        if (inheritance.nativeTypes.contains(link.derived))
            continue;
        inheritance.twinTypes.insert(link.parent);
        inheritance.derivedTypes.insert(link.derived);
    }
    return inheritance;
}
