#pragma once

#include "mappedtext.h"

#include <QByteArray>
#include <QByteArrayList>
#include <QList>
#include <QMap>

// What capture keeps of one template: its lines in the order instances copy
// them (body with the rewritten end line, a "\n" element, then the member
// procedures, each followed by a "\n" element), where each of them came from,
// and where its header stood (the origin of every instance's "type" line).
struct CapturedTemplate {
    QByteArrayList lines;
    QList<LineOrigin> origins; // one per element of lines; a "\n" element has none
    LineOrigin headerOrigin;

    bool operator==(const CapturedTemplate& other) const {
        return lines == other.lines && origins == other.origins &&
               headerOrigin == other.headerOrigin;
    }
};

// Template name as written in its header -> what was captured for it.
using TemplateTable = QMap<QByteArray, CapturedTemplate>;

// The templates one pass knows: its own and those handed back by the files it includes.
struct TemplateSet {
    qsizetype templateCount = 0; // captured declarations, repeated names counted each time
    TemplateTable templateTable;
};
