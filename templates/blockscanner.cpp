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

// The words a statement's block structure depends on.
enum class Keyword : quint8 {
    None,
    Sub,
    Function,
    Property,
    Constructor,
    Destructor,
    Operator,
    Type,
    Union,
    Enum,
    Namespace,
    Scope,
    If,
    For,
    Do,
    While,
    Select,
    With,
    Asm,
    Extern,
    End,
    Endif,
    Next,
    Loop,
    Wend,
    Private,
    Public,
};

struct KeywordSpelling {
    const char* text; // in lower case
    Keyword keyword;
};

// The spellings by length (2 to 11 letters).
const QList<KeywordSpelling> keywordsOfLength[12] = {
    {},
    {},
    {{"if", Keyword::If}, {"do", Keyword::Do}},
    {{"sub", Keyword::Sub}, {"for", Keyword::For}, {"asm", Keyword::Asm}, {"end", Keyword::End}},
    {{"type", Keyword::Type},
     {"enum", Keyword::Enum},
     {"with", Keyword::With},
     {"next", Keyword::Next},
     {"loop", Keyword::Loop},
     {"wend", Keyword::Wend}},
    {{"union", Keyword::Union},
     {"scope", Keyword::Scope},
     {"while", Keyword::While},
     {"endif", Keyword::Endif}},
    {{"select", Keyword::Select}, {"extern", Keyword::Extern}, {"public", Keyword::Public}},
    {{"private", Keyword::Private}},
    {{"function", Keyword::Function},
     {"property", Keyword::Property},
     {"operator", Keyword::Operator}},
    {{"namespace", Keyword::Namespace}},
    {{"destructor", Keyword::Destructor}},
    {{"constructor", Keyword::Constructor}},
};

// Which keyword a word is, in any letter case. Most words are no keyword and
// are told so by their length or by one comparison of their first letter.
Keyword keywordOf(QByteArrayView word) {
    if (word.size() < 2 || word.size() > 11)
        return Keyword::None;
    char folded[12];
    for (qsizetype i = 0; i < word.size(); ++i)
        folded[i] = foldCase(word[i]);
    for (const KeywordSpelling& spelling : keywordsOfLength[word.size()]) {
        if (spelling.text[0] == folded[0] &&
            std::memcmp(spelling.text, folded, size_t(word.size())) == 0)
            return spelling.keyword;
    }
    return Keyword::None;
}

// The block a keyword opens as a statement's first word, or the block an
// "end" followed by it closes; a few statements open one only in some of
// their forms, which scanStatement tells apart.
constexpr int none = -1;
int blockOpenedBy(Keyword keyword) {
    switch (keyword) {
    case Keyword::Sub:
        return BlockScanner::Sub;
    case Keyword::Function:
        return BlockScanner::Function;
    case Keyword::Property:
        return BlockScanner::Property;
    case Keyword::Constructor:
        return BlockScanner::Constructor;
    case Keyword::Destructor:
        return BlockScanner::Destructor;
    case Keyword::Operator:
        return BlockScanner::Operator;
    case Keyword::Type:
        return BlockScanner::Type;
    case Keyword::Union:
        return BlockScanner::Union;
    case Keyword::Enum:
        return BlockScanner::Enum;
    case Keyword::Namespace:
        return BlockScanner::Namespace;
    case Keyword::Scope:
        return BlockScanner::Scope;
    case Keyword::For:
        return BlockScanner::For;
    case Keyword::Do:
        return BlockScanner::Do;
    case Keyword::While:
        return BlockScanner::While;
    case Keyword::Select:
        return BlockScanner::Select;
    case Keyword::With:
        return BlockScanner::With;
    case Keyword::Asm:
        return BlockScanner::Asm;
    case Keyword::Extern:
        return BlockScanner::Extern;
    default:
        return none;
    }
}

int blockClosedBy(Keyword keyword) {
    switch (keyword) {
    case Keyword::If:
        return BlockScanner::If;
    case Keyword::For:
    case Keyword::Do:
    case Keyword::While:
        return none; // closed by next, loop and wend
    default:
        return blockOpenedBy(keyword);
    }
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
    if (is(word, "#endmacro")) {
        close(Macro);
    } else if (openCount[Macro] > 0) {
        return; // a macro's body is its own text
    } else if (is(word, "#if") || is(word, "#ifdef") || is(word, "#ifndef")) {
        push(PreprocessorIf);
    } else if (is(word, "#else") || is(word, "#elseif")) {
        alternativeBranch();
    } else if (is(word, "#endif")) {
        closePreprocessorIf();
    } else if (is(word, "#macro")) {
        push(Macro);
    }
}

// Reads the statement that starts at from; returns where the next one on the
// line starts, or -1 when the rest of the line belongs to this one.
qsizetype BlockScanner::scanStatement(QByteArrayView code, qsizetype from, bool continued) {
    qsizetype end = code.indexOf(':', from);
    if (end < 0)
        end = code.size();
    qsizetype at = skipBlanks(code, from);
    if (at >= end)
        return end + 1;
    if (code[at] == '#') {
        scanDirective(code.sliced(at, 1 + wordAt(code, at + 1).size()));
        return -1;
    }
    if (openCount[Macro] > 0)
        return -1;

    QByteArrayView word = wordAt(code, at);
    Keyword keyword = keywordOf(word);
    if (keyword == Keyword::Private || keyword == Keyword::Public) {
        at = skipBlanks(code, at + word.size());
        word = wordAt(code, at);
        keyword = keywordOf(word);
    }
    const qsizetype rest = skipBlanks(code, at + word.size());
    const bool restIsEmpty = rest >= end;

    switch (keyword) {
    case Keyword::None:
        break;
    case Keyword::If:
        return scanIf(code, rest, continued);
    case Keyword::End:
        if (const int kind = blockClosedBy(keywordOf(wordAt(code, rest))); kind != none)
            close(Kind(kind));
        break;
    case Keyword::Endif:
        close(If);
        break;
    case Keyword::Next:
        // "next j, i" closes two loops.
        close(For, 1 + int(code.sliced(rest, qMax<qsizetype>(end - rest, 0)).count(',')));
        break;
    case Keyword::Loop:
        close(Do);
        break;
    case Keyword::Wend:
        close(While);
        break;
    default:
        if (const int kind = blockOpenedBy(keyword); kind != none) {
            bool opens = true;
            if (kind == Function) {
                opens = restIsEmpty || code[rest] != '='; // "function = value" sets the result
            } else if (kind == Type) {
                // "type Name as Other" is an alias.
                const QByteArrayView name = wordAt(code, rest);
                const qsizetype after = skipBlanks(code, rest + name.size());
                opens = name.isEmpty() || !is(wordAt(code, after), "as");
            } else if (kind == Asm) {
                opens = restIsEmpty; // "asm" with its instruction on the line is one statement
            } else if (kind == Extern) {
                opens = !restIsEmpty && code[rest] == '"'; // extern "C" ... end extern
            }
            if (opens)
                push(Kind(kind));
        }
        break;
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
