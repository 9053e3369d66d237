#pragma once

#include "lines.h"
#include "mappedtext.h"
#include "templatetable.h"

#include <QByteArrayList>
#include <QHash>
#include <QList>
#include <QSet>

// One concrete type made from a template for a file: its text, and the line
// of the file before which it goes (the module-level statement that holds its
// first use, see blockscanner.h).
//
// Templates whose instances point at each other (a list whose nodes point
// back at it) make instances that use one another before either is declared.
// Such an instance names the other through a forward declaration, an instance
// of its own, "type List_integer__fbext_forward as List_integer", and comes in
// two parts: its type block first, its member procedures once the other's
// type is declared too.
struct Instance {
    enum class Part : quint8 { Whole, Type, Members };
    QByteArray name; // Stack_double
    MappedText text; // the "type" block and the member procedures
    qsizetype anchor = 0;
    Part part = Part::Whole;
};

// What is added to an instance's name to name its forward declaration.
inline constexpr char forwardSuffix[] = "__fbext_forward";

// The name an "#undef NAME" line of code undefines, or nothing for another
// line; next is the line after it, where a continued "#undef _" names it.
QByteArrayView undefinedNameOf(QByteArrayView code, QByteArrayView next = {});

// Rewrites every use of a template in the code of lines, Name<<<type>>>, into
// its instance name (Name_type) and, the first time an instance name occurs,
// appends the instance to instances: the template's captured lines under a
// "type" line, with t1 ... t9 replaced by the type arguments and the
// template's name by the instance name (namereplace.h). A use inside a string
// literal or a comment is left as written; uses nested in the type of another
// are rewritten inside out, and the uses in an instance's own text (templates
// using templates) generate the instances they name before it. A use whose
// name is no known template is rewritten all the same but gives no instance.
// Nothing is rewritten when no template is known. A rewritten line is kept
// in rewrittenLines, and its entry in lines refers to it. Instances come out
// in the order of their first use.
//
// A use with fewer type arguments than its template uses, and templates that
// use templates deeper than 32 instances, are faults: the first is appended
// to errors (with its line) and nothing more is generated.
//
// undefinedAt: for the lines that include a file, the names (case-folded)
// that file and those it includes "#undef", as the file's own "#undef" lines
// are read: a use after such a line whose type argument names one of them
// is refused when its instance was first used above it.
void instantiateTemplates(Lines& lines, QByteArrayList& rewrittenLines,
                          const TemplateSet& templates, QList<Instance>& instances,
                          QList<TemplateError>* errors = nullptr,
                          const QHash<qsizetype, QSet<QByteArray>>* undefinedAt = nullptr);

// For a use's text from "<<<" through ">>>": the suffix its instance name gets
// ("<<<String, Integer>>>" gives "_string__integer"), and its type arguments,
// separated by the commas outside brackets, spaces normalised ("String",
// "Integer").
QByteArray useSuffix(QByteArrayView use);
QByteArrayList typeArguments(QByteArrayView use);

// The text of one instance, with the origin of each of its lines;
// highestParameter receives the highest tN the template uses.
MappedText instanceText(const CapturedTemplate& captured, const QByteArray& instanceName,
                        const QByteArrayList& arguments, int* highestParameter = nullptr);
