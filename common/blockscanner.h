#pragma once

#include "codelexer.h"

#include <QByteArrayView>
#include <QList>

// Follows the block structure of a file a line at a time, to tell for every
// line the module-level statement that holds it: the line it starts on,
// outside any procedure, type, namespace, compound statement, #if ... #endif
// or #macro block that encloses it, and the first line of a statement
// continued over several lines. Anything a line needs declared before it at
// module level goes before that line.
//
// The blocks it knows: procedure bodies (sub, function, property,
// constructor, destructor, operator), type, union, enum, namespace, scope,
// a multi-line if, for, do, while, select, with, asm and extern blocks, and
// #if/#ifdef/#ifndef and #macro. It reads only code (strings and comments are
// the lexer's to hide) and takes statements apart at ":". An end that closes
// no open block is passed over, and one that closes an outer block closes the
// blocks left open inside it, so a block whose end is missing cannot make the
// rest of the file look enclosed.
class BlockScanner {
public:
    // The blocks it tells apart.
    enum Kind : quint8 {
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
        PreprocessorIf,
        Macro,
        KindCount,
        Closed, // an #if block that ended while blocks opened in it stay open
    };

    // The next line of the file: its index, and its code as lexer.next() gave
    // it, with lexer still telling about it. Returns the index of the line
    // that starts the module-level statement holding this line.
    qsizetype next(qsizetype index, QByteArrayView code, const CodeLexer& lexer);

    // Whether the blocks open before the next line hold a procedure body or a
    // compound statement (scope, if, for, do, while, select, with): a line
    // there stands neither at module level nor directly in a namespace.
    bool insideCode() const;

    // Whether the blocks open before the next line hold a compound statement
    // (scope, if, for, do, while, select, with): a variable declared on that
    // line lives in that block alone.
    bool insideCompound() const;

    // How many compound statements (scope, if, for, do, while, select, with)
    // are open before the next line: a variable declared in one lives until
    // the count drops below what it was where the variable was declared.
    int compoundDepth() const;
    // Whether the next line stands in the body of a "#macro".
    bool insideMacro() const { return openCount[Macro] > 0; }

private:
    // An if statement whose "then", or what follows it, is on a line still to come.
    enum class PendingIf : quint8 { None, BeforeThen, AfterThen };

    QList<Kind> open;                 // innermost last
    QList<qsizetype> preprocessorIfs; // where the open #if blocks stand in open
    int openCount[KindCount] = {};
    qsizetype liveCount = 0;    // entries of open that are not Closed
    qsizetype outermost = 0;    // where the outermost open block's statement starts
    qsizetype statement = 0;    // where the current statement starts
    qsizetype commentStart = 0; // where the statement before an open /' comment starts
    bool continuing = false;    // the last line was continued
    PendingIf pendingIf = PendingIf::None;

    qsizetype anchor() const { return liveCount > 0 ? outermost : statement; }
    void push(Kind kind);
    void pop();
    void close(Kind kind, int times = 1);
    void closePreprocessorIf();
    void alternativeBranch();
    void scanDirective(QByteArrayView word);
    qsizetype scanStatement(QByteArrayView code, qsizetype from, bool continued);
    qsizetype scanIf(QByteArrayView code, qsizetype from, bool continued);
    qsizetype afterThen(QByteArrayView code, qsizetype from, bool continued);
};
