#pragma once

#include <QByteArray>
#include <QByteArrayList>
#include <QByteArrayView>
#include <QList>

// The text of an instance made from a template's text: in its code (never in
// a string literal or a comment), every whole name (not part of a longer name,
// not a member after ".") that is
//  - the template's name, in any letter case, becomes the instance name,
//    unless a use of the template ("<<<") follows it, which is rewritten as a
//    use;
//  - t1 ... t9, in any letter case, becomes the first ... ninth of arguments.
// A tN beyond the arguments is left as it is; highestParameter receives the
// highest N the text holds (0 when none). Where pointerArguments gives tN a
// name of its own (not empty), a tN that stands before "ptr" outside any use
// of a template becomes that name instead (parametersBeforePointers); where
// pointerArgumentsInUses gives it a spelling of its own, a tN before "ptr" in
// the type arguments of a use becomes that.
QByteArray substituteNames(const QByteArray& text, QByteArrayView templateName,
                           const QByteArray& instanceName, const QByteArrayList& arguments,
                           int* highestParameter, const QByteArrayList* pointerArguments = nullptr,
                           const QByteArrayList* pointerArgumentsInUses = nullptr);

// Where substituteNames replaces names in a template's text, which depends on
// the text and the template's name alone: a template's text is read once and
// each instance made from it by copying.
struct NamePlace {
    qint32 at = 0; // the name's bytes in the text
    qint32 end = 0;
    qint8 parameter = 0;        // N for tN; 0 for the template's own name
    bool beforePointer = false; // tN followed by "ptr", "pointer" or "const ptr"
    bool inUse = false;         // in the type arguments of a use ("<<<")
};

struct NamePlaces {
    QList<NamePlace> places;
    int highestParameter = 0;
};

NamePlaces namePlacesOf(const QByteArray& text, QByteArrayView templateName);

// substituteNames for text with its places found already.
QByteArray substituteNamesAt(const QByteArray& text, const NamePlaces& places,
                             const QByteArray& instanceName, const QByteArrayList& arguments,
                             int* highestParameter,
                             const QByteArrayList* pointerArguments = nullptr,
                             const QByteArrayList* pointerArgumentsInUses = nullptr);

// The type parameters that stand right before the word "ptr" or "pointer" in
// the code of text ("as t1 ptr", "t2 const pointer"), outside the type
// arguments of a use ("List<<<t1 ptr>>>"): bit N is set for tN.
unsigned parametersBeforePointers(const QByteArray& text);
