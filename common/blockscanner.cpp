#include "blockscanner.h"

#include "characters.h"

#include <cstring>

namespace {

qsizetype skipBlanks(QByteArrayView code, qsizetype at) {
    while (at < code.size() && isBlank(code[at]))
        ++at;
    return at;
}

// The name that starts at position at, or nothing.
QByteArrayView wordAt(QByteArrayView code, qsizetype at) {
    qsizetype end = at;
    while (end < code.size() && isNameChar(code[end]))
        ++end;
    return code.sliced(at, end - at);
}

bool is(QByteArrayView word, QByteArrayView keyword) {
    return equalsIgnoringCase(word, keyword);
}

// What a statement's first word does to the block structure.
enum class Role : quint8 {
    None,
    Opens,   // a block of the spelling's kind (in most of its forms)
    If,      // an if block, when nothing follows its "then"
    End,     // "end" and a word that names the block it closes
    Closes,  // the innermost block of the spelling's kind (endif, next, loop, wend)
    Linkage, // "private", "public", "static" or "const" in front of a procedure
};

struct Keyword {
    Role role = Role::None;
    BlockScanner::Kind kind = BlockScanner::KindCount;
};

struct KeywordSpelling {
    const char* text; // in lower case
    Keyword keyword;
};

using S = BlockScanner;
constexpr Keyword opens(S::Kind kind) {
    return {Role::Opens, kind};
}

// The spellings by length (2 to 11 letters).
const QList<KeywordSpelling> keywordsOfLength[12] = {
    {},
    {},
    {{"if", {Role::If, S::If}}, {"do", opens(S::Do)}},
    {{"sub", opens(S::Sub)},
     {"for", opens(S::For)},
     {"asm", opens(S::Asm)},
     {"end", {Role::End, S::KindCount}}},
    {{"type", opens(S::Type)},
     {"enum", opens(S::Enum)},
     {"with", opens(S::With)},
     {"next", {Role::Closes, S::For}},
     {"loop", {Role::Closes, S::Do}},
     {"wend", {Role::Closes, S::While}}},
    {{"union", opens(S::Union)},
     {"scope", opens(S::Scope)},
     {"const", {Role::Linkage, S::KindCount}},
     {"while", opens(S::While)},
     {"endif", {Role::Closes, S::If}}},
    {{"select", opens(S::Select)},
     {"extern", opens(S::Extern)},
     {"public", {Role::Linkage, S::KindCount}},
     {"static", {Role::Linkage, S::KindCount}}},
    {{"private", {Role::Linkage, S::KindCount}}},
    {{"function", opens(S::Function)},
     {"property", opens(S::Property)},
     {"operator", opens(S::Operator)}},
    {{"namespace", opens(S::Namespace)}},
    {{"destructor", opens(S::Destructor)}},
    {{"constructor", opens(S::Constructor)}},
};

// For each length, the first letters (bit 0 for 'a') a keyword of that
// length may start with.
struct FirstLetters {
    quint32 ofLength[12] = {};
};

FirstLetters firstLettersOfKeywords() {
    FirstLetters letters;
    for (qsizetype length = 0; length < 12; ++length) {
        for (const KeywordSpelling& spelling : keywordsOfLength[length])
            letters.ofLength[length] |= 1u << (spelling.text[0] - 'a');
    }
    return letters;
}

// What a word is, in any letter case. Most words are no keyword and are told
// so by their length and first letter.
Keyword keywordOf(QByteArrayView word) {
    static const FirstLetters first = firstLettersOfKeywords();
    if (word.size() < 2 || word.size() > 11)
        return {};
    const char letter = foldCase(word[0]);
    if (letter < 'a' || letter > 'z' || (first.ofLength[word.size()] & (1u << (letter - 'a'))) == 0)
        return {};
    char folded[12];
    for (qsizetype i = 0; i < word.size(); ++i)
        folded[i] = foldCase(word[i]);
    for (const KeywordSpelling& spelling : keywordsOfLength[word.size()]) {
        if (spelling.text[0] == folded[0] &&
            std::memcmp(spelling.text, folded, size_t(word.size())) == 0)
            return spelling.keyword;
    }
    return {};
}

// The block "end" and word close: a block that opens by the word, or an if
// block; loops are closed by next, loop and wend instead.
bool endCloses(const Keyword& word) {
    return (word.role == Role::Opens && word.kind != S::For && word.kind != S::Do &&
            word.kind != S::While) ||
           word.role == Role::If;
}

} // namespace

qsizetype BlockScanner::next(qsizetype index, QByteArrayView code, const CodeLexer& lexer) {
    // A statement that starts where a /' comment closes starts, as far as
    // what goes before it is concerned, where that comment opened.
    const qsizetype lineStart = lexer.startedInComment() ? commentStart : index;
    if (!continuing)
        statement = lineStart;
    const qsizetype result = anchor();
    const bool continued = lexer.isContinued();

    qsizetype from = 0;
    if (continuing) {
        // The line goes on with the statement of the line before it.
        if (pendingIf == PendingIf::BeforeThen) {
            from = scanIf(code, 0, continued);
        } else if (pendingIf == PendingIf::AfterThen) {
            from = afterThen(code, 0, continued);
        } else {
            const qsizetype colon = code.indexOf(':');
            from = colon < 0 ? -1 : colon + 1;
        }
    }
    while (from >= 0 && from < code.size())
        from = scanStatement(code, from, continued);

    continuing = continued;
    if (lexer.endsInComment())
        commentStart = anchor();
    return result;
}

bool BlockScanner::insideCode() const {
    for (const Kind kind : {Sub, Function, Property, Constructor, Destructor, Operator, Scope, If,
                            For, Do, While, Select, With}) {
        if (openCount[kind] > 0)
            return true;
    }
    return false;
}

bool BlockScanner::insideCompound() const {
    for (const Kind kind : {Scope, If, For, Do, While, Select, With}) {
        if (openCount[kind] > 0)
            return true;
    }
    return false;
}

int BlockScanner::compoundDepth() const {
    int depth = 0;
    for (const Kind kind : {Scope, If, For, Do, While, Select, With})
        depth += openCount[kind];
    return depth;
}

void BlockScanner::push(Kind kind) {
    if (liveCount == 0) {
        open.clear();
        outermost = statement;
    }
    if (kind == PreprocessorIf)
        preprocessorIfs.append(open.size());
    open.append(kind);
    ++openCount[kind];
    ++liveCount;
}

void BlockScanner::pop() {
    const Kind kind = open.takeLast();
    if (kind == Closed)
        return;
    if (kind == PreprocessorIf)
        preprocessorIfs.removeLast();
    --openCount[kind];
    --liveCount;
}

// Closes the innermost open block of the kind, and with it every block opened
// inside it and left open; an end that matches no open block is passed over.
void BlockScanner::close(Kind kind, int times) {
    for (; times > 0 && openCount[kind] > 0; --times) {
        while (open.last() != kind)
            pop();
        pop();
    }
    if (liveCount == 0)
        open.clear();
}

// At #endif, the blocks that the last branch opened stay open: the branches
// are alternatives of one text, such as two headers of one procedure.
void BlockScanner::closePreprocessorIf() {
    if (preprocessorIfs.isEmpty())
        return;
    open[preprocessorIfs.takeLast()] = Closed;
    --openCount[PreprocessorIf];
    if (--liveCount == 0)
        open.clear();
}

// At #else or #elseif, the blocks the branch before opened are forgotten.
void BlockScanner::alternativeBranch() {
    if (preprocessorIfs.isEmpty())
        return;
    while (open.size() > preprocessorIfs.last() + 1)
        pop();
}

void BlockScanner::scanDirective(QByteArrayView word) {
    if (is(word, "endmacro")) {
        close(Macro);
    } else if (openCount[Macro] > 0) {
        return; // a macro's body is its own text
    } else if (is(word, "if") || is(word, "ifdef") || is(word, "ifndef")) {
        push(PreprocessorIf);
    } else if (is(word, "else") || is(word, "elseif")) {
        alternativeBranch();
    } else if (is(word, "endif")) {
        closePreprocessorIf();
    } else if (is(word, "macro")) {
        push(Macro);
    }
}

// Reads the statement that starts at from; returns where the next one on the
// line starts, or -1 when the rest of the line belongs to this one.
qsizetype BlockScanner::scanStatement(QByteArrayView code, qsizetype from, bool continued) {
    const void* colon = from < code.size()
                            ? std::memchr(code.data() + from, ':', size_t(code.size() - from))
                            : nullptr;
    const qsizetype end = colon ? static_cast<const char*>(colon) - code.data() : code.size();
    qsizetype at = skipBlanks(code, from);
    if (at >= end)
        return end + 1;
    if (code[at] == '#') {
        scanDirective(wordAt(code, skipBlanks(code, at + 1))); // "#if", "# if"
        return -1;
    }
    if (openCount[Macro] > 0)
        return -1;

    QByteArrayView word = wordAt(code, at);
    Keyword keyword = keywordOf(word);
    // "private static function Stack.capacity": the words in front of the
    // procedure's keyword.
    for (int words = 0; keyword.role == Role::Linkage && words < 2; ++words) {
        at = skipBlanks(code, at + word.size());
        word = wordAt(code, at);
        keyword = keywordOf(word);
    }
    // Most statements start with no keyword and open or close nothing.
    if (keyword.role == Role::None || keyword.role == Role::Linkage)
        return end + 1;
    const qsizetype rest = skipBlanks(code, at + word.size());
    const bool restIsEmpty = rest >= end;

    switch (keyword.role) {
    case Role::None:
    case Role::Linkage:
        break;
    case Role::If:
        return scanIf(code, rest, continued);
    case Role::End:
        if (const Keyword closed = keywordOf(wordAt(code, rest)); endCloses(closed))
            close(closed.kind);
        break;
    case Role::Closes: {
        // "next j, i" closes two loops.
        const QByteArrayView names = code.sliced(rest, qMax<qsizetype>(end - rest, 0));
        close(keyword.kind, keyword.kind == For ? 1 + int(names.count(',')) : 1);
        break;
    }
    case Role::Opens: {
        bool opens = true;
        if (keyword.kind == Function) {
            opens = restIsEmpty || code[rest] != '='; // "function = value" sets the result
        } else if (keyword.kind == Type) {
            // "type Name as Other" is an alias.
            const QByteArrayView name = wordAt(code, rest);
            const qsizetype after = skipBlanks(code, rest + name.size());
            opens = name.isEmpty() || !is(wordAt(code, after), "as");
        } else if (keyword.kind == Asm) {
            opens = restIsEmpty; // "asm" with its instruction on the line is one statement
        } else if (keyword.kind == Extern) {
            opens = !restIsEmpty && code[rest] == '"'; // extern "C" ... end extern
        }
        if (opens)
            push(keyword.kind);
        break;
    }
    }
    return end + 1;
}

// An if statement is a block when nothing, or a ":", follows its "then".
qsizetype BlockScanner::scanIf(QByteArrayView code, qsizetype from, bool continued) {
    for (qsizetype at = from; at < code.size();) {
        if (!isNameChar(code[at])) {
            ++at;
            continue;
        }
        const QByteArrayView word = wordAt(code, at);
        if (is(word, "then"))
            return afterThen(code, at + word.size(), continued);
        at += word.size();
    }
    // "if x goto label" is one statement; a "then" may still come on the next line.
    pendingIf = continued ? PendingIf::BeforeThen : PendingIf::None;
    return -1;
}

qsizetype BlockScanner::afterThen(QByteArrayView code, qsizetype from, bool continued) {
    const qsizetype at = skipBlanks(code, from);
    if (at >= code.size() && continued) {
        pendingIf = PendingIf::AfterThen;
        return -1;
    }
    pendingIf = PendingIf::None;
    if (at >= code.size()) {
        push(If);
        return -1;
    }
    if (code[at] == ':') {
        push(If);
        return at + 1;
    }
    return -1; // a single-line if: the rest of the line is its own
}
