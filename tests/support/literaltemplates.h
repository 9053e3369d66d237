#pragma once

#include "lines.h"
#include "lineviews.h"
#include "mappedtext.h"
#include "templatetable.h"

#include <QByteArrayList>
#include <QList>
#include <QRandomGenerator>

// Straightforward transcriptions of the template rules, step by step, erasing
// lines from the list and rescanning as the rules read. They are slow on large
// inputs and serve only as references that the fast passes are compared with.
void literalCaptureTemplates(QByteArrayList& lines, QList<LineOrigin>& origins,
                             TemplateSet& templates);
void literalInstantiateTemplates(QByteArrayList& lines, const TemplateSet& templates,
                                 QList<MappedText>& instanceLines);

// Origins for lines 1..count of file.
QList<LineOrigin> numberedOrigins(const QString& file, qsizetype count);

// Random lines drawn from pieces, each line made of up to maxPieces of them.
QByteArrayList randomLines(QRandomGenerator& random, const QByteArrayList& pieces, int maxLines,
                           int maxPieces);
