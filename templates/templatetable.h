#pragma once

#include "lines.h"
#include "mappedtext.h"
#include "namereplace.h"

#include <QByteArray>
#include <QByteArrayList>
#include <QList>
#include <QMap>

#include <limits>

// What capture keeps of one template: its lines in the order instances copy
// them (body with the rewritten end line, a "\n" element, then the member
// procedures, each followed by a "\n" element), where each of them came from,
// and where its header stood (the origin of every instance's "type" line).
struct CapturedTemplate {
    QByteArray name; // as written in its header
    QByteArrayList lines;
    QList<LineOrigin> origins; // one per element of lines; a "\n" element has none
    LineOrigin headerOrigin;
    QByteArray parent;  // the header's "extends Name" parent, or empty
    QByteArray packing; // the header's "field = N" after the name, or empty
    // The namespace the header stood in ("Coll", "Geo.Shapes", "A.B" for a
    // block in a block), or empty: its instances read that namespace's names.
    QByteArray space;
    // Where the same file declared a template of this name before under other
    // #if branches (no file: nowhere). Which of the two the compiler keeps
    // cannot be told here, so an instance of it is refused rather than made
    // from the later one. A name declared again under the same branches is
    // simply the later declaration.
    LineOrigin earlierHeader;
    // The namespace of that earlier declaration. A template of the same name
    // in another namespace (or outside any) shares its instance names with
    // this one, "Box_integer" for both "Coll.Box<<<integer>>>" and
    // "Box<<<integer>>>", and their members one table entry: its instances
    // are refused as well, the message naming both declarations.
    QByteArray earlierSpace;
    // Where in its lines, joined as instances copy them, names are replaced:
    // found once the template is captured whole (planned).
    NamePlaces bodyPlaces;
    bool planned = false;

    // Finds bodyPlaces in the lines as they stand. A text too long for the
    // places' offsets is read at each instance.
    void plan() {
        const QByteArray body = joinedLines(lines);
        planned = body.size() < std::numeric_limits<qint32>::max();
        if (planned)
            bodyPlaces = namePlacesOf(body, name);
    }

    bool operator==(const CapturedTemplate& other) const {
        return name == other.name && lines == other.lines && origins == other.origins &&
               headerOrigin == other.headerOrigin && parent == other.parent &&
               packing == other.packing && space == other.space &&
               earlierHeader == other.earlierHeader && earlierSpace == other.earlierSpace;
    }
};

// Template name, letter case folded (FreeBASIC names ignore case) -> what was
// captured for it.
using TemplateTable = QMap<QByteArray, CapturedTemplate>;

// The key of a template name in a TemplateTable.
QByteArray templateKey(QByteArrayView name);

// A fault in a file's templates or their uses that keeps the file from being
// expanded, reported in the compiler's own form, "file(line) error N: text".
// The numbers are fbext's own, above those the compiler uses.
struct TemplateError {
    enum Number {
        UnendedBlock = 900,        // a template or member whose end line is not found
        RunawayTemplate = 901,     // templates using templates deeper than the limit
        MissingArguments = 902,    // fewer type arguments than the template uses
        RepeatedDeclaration = 903, // a use of a template that its file declares twice
        RedefinedArgument = 904,   // an instance used again after its argument's #undef
    };
    LineOrigin origin; // the line it is about
    int number = 0;
    QByteArray text;
    qsizetype line = -1; // or its index among the file's lines, until origin is known

    QString message() const; // file(line) error N: text
};

// The templates one pass knows: its own and those handed back by the files it includes.
struct TemplateSet {
    qsizetype templateCount = 0; // captured declarations, repeated names counted each time
    TemplateTable templateTable;
};
