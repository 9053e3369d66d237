#pragma once

#include "mappedtext.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QHash>
#include <QList>

// Where the scan found a type's block, implementations and forwarded
// entries: positions among the file's lines, in the order their texts
// take them.
struct ScannedLines {
    static constexpr qint32 memberEnd = -1; // in methods: the end of an implementation
    static constexpr qint8 field = -1;      // an entry's kind: a field, not a member

    struct Entry {
        qint32 line;
        qint8 kind; // a member kind of the scan, or field
    };

    QList<qint32> block;
    QList<qint32> methods;
    QList<Entry> entries;
};

// Everything the class-extension pass knows about one type declaration. The
// scan fills the first five texts; the twin and parent steps fill the rest.
// Every text carries the origin of each of its lines.
struct TypeRecord {
    MappedText blockText;     // the type line through its end line, as written
    MappedText methodText;    // the type's member implementations, each followed by "\n"
    MappedText forwarderText; // members that pass every access on to "parent."
    MappedText declareText;   // declarations of those members for an extending type
    QByteArray typeName;      // the type line's second token, as written

    MappedText inheritedDeclareText;   // inherited declarations; at the end, the finished block
    MappedText inheritedForwarderText; // inherited forwarders, on this type's own name
    QByteArray parentName;             // the parent as the extends line writes it
    MappedText twinBlockText;          // the public twin's block
    MappedText twinMethodText;         // the public twin's member implementations

    // Bookkeeping of the pass, not emitted as such.
    ScannedLines found;       // where the first four texts come from, until they are made
    int typeLine = -1;        // position of the type line among the file's lines
    LineOrigin extendsOrigin; // the extends line that gave the type its parent
    bool hasTwin = false;
};

// What a type's name becomes on its public twin.
inline constexpr QByteArrayView twinSuffix = "_generic_public_member";

inline QByteArray twinNameOf(QByteArrayView typeName) {
    QByteArray name = typeName.toByteArray();
    name += twinSuffix;
    return name;
}

// Records looked up by name ignoring letter case; a name declared twice finds
// its last record.
struct RecordIndex {
    QHash<QByteArray, qsizetype> lastByName; // case-folded name -> record position

    explicit RecordIndex(const QList<TypeRecord>& records);
    // The position of the record, or -1 when the file declares no such type.
    qsizetype find(QByteArrayView name) const;
};
