#pragma once

#include "lines.h"
#include "membersyntax.h"

#include <QByteArray>
#include <QHash>
#include <QList>
#include <QSet>

#include <functional>

// The two texts generated for each field or member of a type: the forwarder,
// which implements the member on an extending type by passing it on to
// "parent.", and the declaration that goes into the extending type's block.
// The extending type is not known yet, so forwarders name it through the
// placeholder "class_for_interface##.", always right after a space.
struct ForwardEntry {
    QByteArray forwarder;   // one or more lines, ending in "\n"
    QByteArray declaration; // one or two lines, no final "\n"
};

inline QByteArrayView forwardPlaceholder() {
    return "class_for_interface##.";
}

// Whether a field's type is one value of the language's own (a number, a
// string, a pointer), or else a type of the program's.
bool isBuiltinValue(QByteArrayView type);

// A field "name as Type": a property to get and set it. A field of a type of
// the program's is got by reference, unless number says the type is a number
// (an enum). written, when not empty, is how the property spells the type
// (see fieldTypeAsWritten); type still decides how it is got.
ForwardEntry forwardField(QByteArrayView name, QByteArrayView type, bool number = false,
                          QByteArrayView written = {});

// A one-dimensional array field "name(...) as Type": a property to get and
// set one element by its index.
ForwardEntry forwardIndexedField(QByteArrayView name, QByteArrayView type, bool number = false,
                                 QByteArrayView written = {});

// How an extending type's property spells the type of the field name of
// typeName. Inside the extending type a member hides a type of the same name:
// with "probe as Probe" in the parent, or "pos as Point" beside a function
// "point()", "Probe" and "Point" there mean the property "probe" and the
// function "point", and the compiler refuses the properties that name them.
// When the type's first name is one of memberNames (the names of the
// parent's fields and members, case-folded), the type is written as that of
// the twin's field, "typeof(Shape_generic_public_member.probe)", which names
// no member; otherwise it is written as it stands (the empty result).
QByteArray fieldTypeAsWritten(QByteArrayView typeName, QByteArrayView name, QByteArrayView type,
                              const QSet<QByteArray>& memberNames);

// The names a type's block declares for the type's own use (enum types and
// their values, constants), case-folded, each with whether it stands in a
// private section. blockLines are the block's lines, from its type line to
// its end line.
using InsideNames = QHash<QByteArray, bool>;
// staticNames, when given, receives the names of its static member
// variables ("static count as integer") the same way.
InsideNames namesDeclaredInside(const QList<QByteArrayView>& blockLines,
                                InsideNames* staticNames = nullptr);

// An extending type does not see the names declared inside its parent's
// block, so its copies of the parent's declarations name them through the
// parent: each whole word of text that is one of names becomes
// "typeName.word" (a private one, which only the twin shows, and a result got
// by reference, "byref as word", the twin's own:
// "typeName_generic_public_member.word"), except a member reached
// through "." or "->", a name
// followed by "as" (a parameter's own), one of the names in except (the
// member's parameters), "parent", and words in strings, comments and
// directives.
// The parameters of a field's property, case-folded.
const QSet<QByteArray>& fieldPropertyParameters();

// exceptOnLine, when given, holds for the lines of text (by index) more
// names to leave there: the variables a member declares, from where they are
// declared to the end of the block holding them.
void qualifyNamesInside(QByteArray& text, const InsideNames& names, QByteArrayView typeName,
                        const QSet<QByteArray>& except = {},
                        const QList<QSet<QByteArray>>* exceptOnLine = nullptr);

// A variable a statement of a member's body declares: "dim hp as integer",
// "dim as integer hp, mp", "var hp = 5", or the counter of "for hp as integer
// = ...", which lives inside the loop alone.
struct DeclaredLocal {
    QByteArrayView name;
    bool loopCounter = false;
    bool redim = false; // "redim hp(3) as integer": a new one, or an array resized
    int opened = 0;     // the loops and blocks opened before it on its line, still open there
};

// The variables the statements of a line of code declare (strings and
// comments already hidden). A "redim" and a "static" are read only when
// withRedimAndStatic says so: a "redim" may size an array the type inherits
// (the caller tells by the name), and a "static" one may be shared with the
// type's other values.
QList<DeclaredLocal> localsDeclaredIn(QByteArrayView code, bool withRedimAndStatic = false);

// What the forwarder of a member implementation is made from: its header line.
struct MemberHeader {
    QByteArrayView kind; // "sub", "function" or "property"
    Tokens tokens;       // the header's tokens
    QByteArray memberName;
    QByteArray argumentList;
    MemberClass memberClass = MemberClass::procedure; // a property's getter or setter
};
MemberHeader memberHeaderOf(QByteArrayView kind, QByteArrayView header);

// A member implementation whose header's second token starts with
// memberPrefix (ignoring case). The extending type declares it as declared
// says, defaults included, when the type block has its declaration; else as
// the header does. A property is forwarded with property syntax
// ("return parent.name", "parent.name(i) = value"); a static member calls the
// parent's twin by its type name.
ForwardEntry forwardMember(const MemberHeader& header, const QByteArray& memberPrefix,
                           const MemberDeclaration* declared = nullptr);

// The compiler refuses a member implementation whose parameter has the name
// of a property or member of its type, and an extending type has a property
// for each field it inherits: with "sub Point.set(byval x as integer)" beside
// the field x, the forwarder "sub Dot.set(byval x as integer)" would not
// compile. So each parameter of the forwarder whose name is one of
// memberNames (the extending type's, case-folded) is renamed, in the header
// line that starts at headerAt and in the call on the line after it.
void renameParametersNamedLikeMembers(QByteArray& forwarder, qsizetype headerAt,
                                      const QSet<QByteArray>& memberNames);

// What a renamed parameter's name gets after it ("x" becomes "x__fbext"), in
// forwarders and in the members the user writes alike.
inline constexpr QByteArrayView renamedParameterSuffix = "__fbext";

// The same for a member implementation the user wrote for an extending type
// ("constructor Circle(byval x as integer)" with x inherited from Shape, which
// FreeBASIC's own inheritance accepts): lineAt(i) gives the implementation's
// lines, the header first, up to count of them. Each parameter whose name is
// one of names (case-folded) is renamed in the header and wherever the body,
// up to its end line, uses it as a bare name: not after "." or "->" (the
// property, "this.x", ".x" in a with block), not in strings or comments. The
// body is read only when the header has such a parameter. The new name is no
// name isTaken says a member of the type has (asked case-folded) and no name
// the implementation uses. Returns the lines that change; each keeps its
// place.
struct RenamedLine {
    qsizetype index;
    QByteArray text;
};
QList<RenamedLine> renameParametersNamedLike(const std::function<QByteArrayView(qsizetype)>& lineAt,
                                             qsizetype count, const QSet<QByteArray>& names,
                                             const std::function<bool(const QByteArray&)>& isTaken);

// The member's name: the word after the header's first ".", which ends at a
// "(" or a blank ("function Shape.area as integer").
QByteArray memberNameOf(QByteArrayView header);

// The names to pass on in a forwarded call, joined with ",": for each
// parameter, the token after an optional "byval" or "byref".
QByteArray argumentListOf(QByteArrayView header);

// Whether the header's last parameter is "...": the variable arguments, which
// no forwarder can pass on (FreeBASIC calls a procedure with the arguments
// written at the call, never with a list it was handed).
bool takesVariableArguments(QByteArrayView header);
