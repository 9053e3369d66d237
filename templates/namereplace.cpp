#include "namereplace.h"

#include "characters.h"
#include "codelexer.h"
#include "lines.h"

namespace {

// The N of a type parameter tN, or 0.
int parameterNumber(QByteArrayView name) {
    if (name.size() != 2 || foldCase(name[0]) != 't' || name[1] < '1' || name[1] > '9')
        return 0;
    return name[1] - '0';
}

bool startsUse(QByteArrayView code, qsizetype at) {
    while (at < code.size() && isBlank(code[at]))
        ++at;
    return code.sliced(at).startsWith("<<<");
}

// The word at at of code after any blanks, and where it ends.
QByteArrayView wordAt(QByteArrayView code, qsizetype& at) {
    while (at < code.size() && isBlank(code[at]))
        ++at;
    const qsizetype start = at;
    while (at < code.size() && isNameChar(code[at]))
        ++at;
    return code.sliced(start, at - start);
}

// Whether the word at at of code, after any blanks, is "ptr" or "pointer",
// or "const" followed by one of them ("t1 const ptr").
bool startsPointerWord(QByteArrayView code, qsizetype at) {
    QByteArrayView word = wordAt(code, at);
    if (equalsIgnoringCase(word, "const"))
        word = wordAt(code, at);
    return equalsIgnoringCase(word, "ptr") || equalsIgnoringCase(word, "pointer");
}

// Steps over the byte at at of code, which cannot stand in a name, or over
// the "<<<" or ">>>" that starts there, counting the uses open at at in uses.
qsizetype stepOver(QByteArrayView code, qsizetype at, int& uses) {
    const auto triple = [&code, at](char c) {
        return at + 2 < code.size() && code[at] == c && code[at + 1] == c && code[at + 2] == c;
    };
    if (triple('<')) {
        ++uses;
        return at + 3;
    }
    if (uses > 0 && triple('>')) {
        --uses;
        return at + 3;
    }
    return at + 1;
}

} // namespace

NamePlaces namePlacesOf(const QByteArray& text, QByteArrayView templateName) {
    NamePlaces found;
    CodeLexer lexer;
    qsizetype lineStart = 0;
    for (const QByteArrayView line : splitLines(text)) {
        const QByteArrayView code = lexer.next(line);
        int uses = 0;
        for (qsizetype at = 0; at < code.size();) {
            if (!isNameChar(code[at])) {
                at = stepOver(code, at, uses);
                continue;
            }
            qsizetype end = at;
            while (end < code.size() && isNameChar(code[end]))
                ++end;
            const QByteArrayView name = code.sliced(at, end - at);
            const bool member = at > 0 && code[at - 1] == '.';
            if (const int number = parameterNumber(name); number > 0 && !member) {
                found.highestParameter = qMax(found.highestParameter, number);
                found.places.append(NamePlace{qint32(lineStart + at), qint32(lineStart + end),
                                              qint8(number), startsPointerWord(code, end),
                                              uses > 0});
            } else if (!member && equalsIgnoringCase(name, templateName) && !startsUse(code, end)) {
                found.places.append(
                    NamePlace{qint32(lineStart + at), qint32(lineStart + end), 0, false, false});
            }
            at = end;
        }
        lineStart += line.size() + 1;
    }
    return found;
}

QByteArray substituteNamesAt(const QByteArray& text, const NamePlaces& places,
                             const QByteArray& instanceName, const QByteArrayList& arguments,
                             int* highestParameter, const QByteArrayList* pointerArguments,
                             const QByteArrayList* pointerArgumentsInUses) {
    QByteArray result;
    result.reserve(text.size() + text.size() / 4);
    qsizetype copied = 0;
    for (const NamePlace& place : places.places) {
        const QByteArray* replacement = &instanceName;
        if (const int number = place.parameter; number > 0) {
            const QByteArrayList* pointers =
                place.inUse ? pointerArgumentsInUses : pointerArguments;
            if (pointers && number <= pointers->size() && !(*pointers)[number - 1].isEmpty() &&
                place.beforePointer)
                replacement = &(*pointers)[number - 1];
            else if (number <= arguments.size())
                replacement = &arguments[number - 1];
            else
                continue;
        }
        result.append(QByteArrayView(text).sliced(copied, place.at - copied));
        result.append(*replacement);
        copied = place.end;
    }
    result.append(QByteArrayView(text).sliced(copied));
    if (highestParameter)
        *highestParameter = places.highestParameter;
    return result;
}

QByteArray substituteNames(const QByteArray& text, QByteArrayView templateName,
                           const QByteArray& instanceName, const QByteArrayList& arguments,
                           int* highestParameter, const QByteArrayList* pointerArguments,
                           const QByteArrayList* pointerArgumentsInUses) {
    return substituteNamesAt(text, namePlacesOf(text, templateName), instanceName, arguments,
                             highestParameter, pointerArguments, pointerArgumentsInUses);
}

unsigned parametersBeforePointers(const QByteArray& text) {
    unsigned found = 0;
    CodeLexer lexer;
    for (const QByteArrayView line : splitLines(text)) {
        const QByteArrayView code = lexer.next(line);
        int uses = 0;
        for (qsizetype at = 0; at < code.size();) {
            if (!isNameChar(code[at])) {
                at = stepOver(code, at, uses);
                continue;
            }
            qsizetype end = at;
            while (end < code.size() && isNameChar(code[end]))
                ++end;
            const int number = parameterNumber(code.sliced(at, end - at));
            if (number > 0 && uses == 0 && !(at > 0 && code[at - 1] == '.') &&
                startsPointerWord(code, end))
                found |= 1u << number;
            at = end;
        }
    }
    return found;
}
