#pragma once

#include "lines.h"
#include "mappedtext.h"
#include "templatetable.h"

#include <QByteArrayList>
#include <QList>

// One concrete type made from a template for a file: its text, and the line
// of the file before which it goes (the module-level statement that holds its
// first use, see blockscanner.h).
struct Instance {
    QByteArray name; // Stack_double
    MappedText text; // the "type" block and the member procedures
    qsizetype anchor = 0;
};

// Rewrites every use of a template in the code of lines, Name<<<type>>>, into
// its instance name (Name_type) and, the first time an instance name occurs,
// appends the instance to instances: the template's captured lines with "t1"
// replaced by the type and the template's name by the instance name, under a
// "type" line. A use inside a string literal or a comment is left as written;
// uses nested in the type of another are rewritten inside out. A use whose
// name is no known template is rewritten all the same but gives no instance.
// Nothing is rewritten when no template is known. A rewritten line is kept
// in rewrittenLines, and its entry in lines refers to it. Instances come out
// in the order of their first use.
void instantiateTemplates(Lines& lines, QByteArrayList& rewrittenLines,
                          const TemplateSet& templates, QList<Instance>& instances);

// For a use's text from "<<<" through ">>>": the suffix its instance name gets
// ("<<<String, Integer>>>" gives "_string__integer"), and the type put in place
// of "t1" (the first of its comma-separated arguments, spaces normalised).
QByteArray useSuffix(QByteArrayView use);
QByteArray firstTypeArgument(QByteArrayView use);

// The text of one instance, with the origin of each of its lines.
MappedText instanceText(const CapturedTemplate& captured, const QByteArray& templateName,
                        const QByteArray& instanceName, const QByteArray& typeArgument);
