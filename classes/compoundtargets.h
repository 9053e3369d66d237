#pragma once

#include "characters.h"
#include "lines.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QHash>

// The targets of compound assignments that the class pass writes out, which
// name their target twice ("c.hits += 1" as "c.hits = c.hits + (1)"): only
// those that read the same when evaluated twice.

// The keywords that open a procedure.
inline constexpr QByteArrayView procedureKinds[] = {"sub",      "function",    "property",
                                                    "operator", "constructor", "destructor"};

inline bool isProcedureKind(QByteArrayView word) {
    for (const QByteArrayView kind : procedureKinds) {
        if (isKeyword(word, kind))
            return true;
    }
    return false;
}

inline bool isNameStart(char c) {
    return isNameChar(c) && !(c >= '0' && c <= '9');
}

// What the file tells about the names an element's index may hold: which
// are arrays ("dim enemies(1 to 5) as Enemy", "items(9) as Item" in a type,
// "a() as integer" among parameters), and which call a procedure when read
// (procedures and macros of the file, and the compiler's own functions that
// take no arguments, such as rnd). Each name is looked up in the text when
// first asked about; most files never ask.
class FileNames {
public:
    explicit FileNames(QByteArrayView text) : text(text) {}

    bool isCall(QByteArrayView name) { return (kindOf(name) & call) != 0; }
    bool isArray(QByteArrayView name) { return kindOf(name) == array; }

private:
    enum : unsigned char { none = 0, array = 1, call = 2 };

    QByteArrayView text;
    QByteArray folded; // the text, case-folded, once a name is asked about
    QHash<QByteArray, unsigned char> kinds;

    unsigned char kindOf(QByteArrayView name);
    static unsigned char kindAt(QByteArrayView line, qsizetype at, qsizetype size,
                                QByteArrayView next);
};

// Whether an index in brackets reads the same when it is evaluated twice:
// numbers, names that call nothing, operators, and elements of arrays of the
// file ("enemies(order(i) + 1)"); no string, call or macro.
bool isRepeatableIndex(QByteArrayView index, FileNames& names);

// Where the target of a compound assignment that ends at end starts, or -1:
// names joined by "." or "->", each of them but the last one perhaps an
// element of an array ("enemies(i).hp", "a(i)->hp") or of a pointer
// ("p[i].hp") whose index reads the same twice; a with block's "." may stand
// first. names is asked only about
// the names of elements and pointers.
qsizetype targetStart(QByteArrayView code, qsizetype end, FileNames& names);
