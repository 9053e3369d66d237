#pragma once

#include "characters.h"
#include "lines.h"

#include <QByteArrayView>
#include <QList>

// The #if blocks of a file (#if, #ifdef or #ifndef, their #elseif and #else
// branches, #endif), so that a line copied elsewhere, such as a parent's
// member implementation copied onto its twin, can be put under the same
// conditions as where it was written.
struct ConditionalBlocks {
    // The directives that put a copied line under its conditions, outermost
    // first: each block's opening line, then its branch lines up to the one the
    // line stands in. `levels` blocks are closed with "#endif" after the copy.
    struct Opening {
        QList<qint32> lines;
        int levels = 0;
    };

    // Takes note of line when it is one of the directives; lines come in file
    // order. Whether it was one.
    bool note(qint32 line, QByteArrayView text);
    bool isEmpty() const { return directives.isEmpty(); }

    // What puts a copy of line under the branches it stands in, leaving out
    // those that also hold the line `shared` (the copy is written among
    // text under those already).
    Opening openingFor(qint32 line, qint32 shared) const;

private:
    struct Branch {
        qint32 line;
        qint32 previous;  // the branch before it in its block, or -1 for the opening one
        qint32 enclosing; // the branch its block stands in, or -1
    };
    QList<Branch> branches;
    QList<qint32> directives; // the directive lines, in file order
    QList<qint32> openAfter;  // for each directive, the innermost branch open after it, or -1
    qint32 open = -1;

    qint32 branchAt(qint32 line) const;
};

// The "#endif" lines that close an opening, each followed by "\n".
QByteArray closingOf(const ConditionalBlocks::Opening& opening);

// Follows, line by line, the branch the compiler never takes: the lines
// between "#if 0" and its "#else", "#elseif" or "#endif", which it skips
// unread, as it skips a comment, so that text switched off there (a template
// or a type written half-way) is neither expanded nor reported. The "#if 0"
// and the directive that ends its branch are not skipped: they are the
// block's own lines. Give it every line that does not start inside a
// /' ... '/ comment, in order.
class SkippedBranches {
public:
    // Whether line is one the compiler skips. Inline: it sees every line of
    // every pass, and few lines are directives.
    bool skips(QByteArrayView line) {
        for (const char c : line) {
            if (c == '#')
                return skipsAfterDirective(line);
            if (!isSpaceChar(c))
                break;
        }
        return depth > 0;
    }

private:
    int depth = 0; // #if blocks open in the skipped branch, counting its own; 0 outside one

    bool skipsAfterDirective(QByteArrayView line);
};
