#include "blockscanner.h"

#include "characters.h"

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

struct Word {
    const char* text;
    int kind;
};

// The statements that open a block by their first word, and the blocks an
// "end" names (a few statements open one only in some of their forms, which
// scanStatement tells apart).
constexpr int none = -1;
int blockNamed(QByteArrayView word, const QList<Word>& table) {
    if (word.size() < 2 || word.size() > 11)
        return none;
    for (const Word& entry : table) {
        if (is(word, entry.text))
            return entry.kind;
    }
    return none;
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
    if (is(word, "private") || is(word, "public")) {
        at = skipBlanks(code, at + word.size());
        word = wordAt(code, at);
    }
    const qsizetype rest = skipBlanks(code, at + word.size());
    const bool restIsEmpty = rest >= end;

    static const QList<Word> openers = {
        {"sub", Sub},
        {"function", Function},
        {"property", Property},
        {"constructor", Constructor},
        {"destructor", Destructor},
        {"operator", Operator},
        {"type", Type},
        {"union", Union},
        {"enum", Enum},
        {"namespace", Namespace},
        {"scope", Scope},
        {"for", For},
        {"do", Do},
        {"while", While},
        {"select", Select},
        {"with", With},
        {"asm", Asm},
        {"extern", Extern},
    };
    static const QList<Word> enders = {
        {"sub", Sub},
        {"function", Function},
        {"property", Property},
        {"constructor", Constructor},
        {"destructor", Destructor},
        {"operator", Operator},
        {"type", Type},
        {"union", Union},
        {"enum", Enum},
        {"namespace", Namespace},
        {"scope", Scope},
        {"if", If},
        {"select", Select},
        {"with", With},
        {"asm", Asm},
        {"extern", Extern},
    };

    if (is(word, "if"))
        return scanIf(code, rest, continued);
    if (is(word, "end")) {
        const int kind = blockNamed(wordAt(code, rest), enders);
        if (kind != none)
            close(Kind(kind));
    } else if (is(word, "endif")) {
        close(If);
    } else if (is(word, "next")) {
        // "next j, i" closes two loops.
        close(For, 1 + int(code.sliced(rest, qMax<qsizetype>(end - rest, 0)).count(',')));
    } else if (is(word, "loop")) {
        close(Do);
    } else if (is(word, "wend")) {
        close(While);
    } else if (const int kind = blockNamed(word, openers); kind != none) {
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
