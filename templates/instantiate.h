#pragma once

#include "lines.h"
#include "mappedtext.h"
#include "templatetable.h"

#include <QByteArrayList>
#include <QList>

// Rewrites every use of a template in lines, Name<<<type>>>, into its instance
// name (Name_type) and, the first time an instance name occurs, appends the
// instance's text to instanceLines: the template's captured lines with "t1"
// replaced by the type and the template's name by the instance name, under a
// "type" line. A use outside a string literal is rewritten even when its name
// is no known template, but only a known template gives an instance text.
// Nothing is rewritten when no template is known. A rewritten line is kept
// in rewrittenLines, and its entry in lines refers to it.
void instantiateTemplates(Lines& lines, QByteArrayList& rewrittenLines,
                          const TemplateSet& templates, QList<MappedText>& instanceLines);

// For a use's text from "<<<" through ">>>": the suffix its instance name gets
// ("<<<String, Integer>>>" gives "_string__integer"), and the type put in place
// of "t1" (the first of its comma-separated arguments, spaces normalised).
QByteArray useSuffix(QByteArrayView use);
QByteArray firstTypeArgument(QByteArrayView use);

// The text of one instance, with the origin of each of its lines.
MappedText instanceText(const CapturedTemplate& captured, const QByteArray& templateName,
                        const QByteArray& instanceName, const QByteArray& typeArgument);
