#pragma once

#include "mappedtext.h"
#include "templatetable.h"

#include <QList>
#include <QRandomGenerator>
#include <QStringList>

// Straightforward transcriptions of the template rules, step by step, erasing
// lines from the list and rescanning as the rules read. They are slow on large
// inputs and serve only as references that the fast passes are compared with.
void literalCaptureTemplates(QStringList& lines, QList<LineOrigin>& origins,
                             QStringList& templateNames, TemplateTable& templateTable);
void literalInstantiateTemplates(QStringList& lines, const QStringList& templateNames,
                                 const TemplateTable& templateTable,
                                 QList<MappedText>& instanceLines);

// Origins for lines 1..count of file.
QList<LineOrigin> numberedOrigins(const QString& file, qsizetype count);

// Random lines drawn from pieces, each line made of up to maxPieces of them.
QStringList randomLines(QRandomGenerator& random, const QStringList& pieces, int maxLines,
                        int maxPieces);
