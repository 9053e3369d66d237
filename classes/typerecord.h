#pragma once

#include "conditionals.h"
#include "mappedtext.h"
#include "membersyntax.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QHash>
#include <QList>
#include <QSet>

#include <functional>
#include <utility>

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
    // An entry or implementation written under #if branches that the type
    // line is not under: its copies go under the same branches.
    struct Conditioned {
        qint32 line; // the field line or the implementation's header
        ConditionalBlocks::Opening opening;
    };

    QList<qint32> block;
    QList<qint32> methods;
    QList<Entry> entries;
    QList<qint32> declarations; // "declare" lines of the block
    QList<Conditioned> conditioned;
    bool unended = false; // an implementation runs to the end of the file
};

// A field or member of a type as an extending type inherits it: a forwarder
// that implements it by passing it on to "parent." and its declaration for
// the extending type's block. The extending type is named by the placeholder
// "class_for_interface##." (always right after a space) until it is known.
struct MemberEntry {
    MemberKey key;
    QByteArray forwarder;   // one or more lines, ending in "\n"
    QByteArray declaration; // one or two lines, no final "\n"
    LineOrigin origin;      // the field or implementation line it stands for
};

// Where an extending type's inherited members come from, in the order they
// are emitted: a member of a record, or an empty line between groups.
struct InheritedMember {
    static constexpr qint32 gap = -1;
    qint32 record = gap;
    qint32 member = 0;
};

// An implementation that does not follow the type's block directly, and the
// line after which its copy on the twin stands: the last line of the
// original, so that the copy sees every procedure, variable, namespace and
// #if branch the original sees.
struct PlacedText {
    qint32 afterLine = 0;
    MappedText text;
};

// A line of the type's implementations that names "static", or follows one
// in the same implementation: where it stands
// among the file's lines and in the scanned texts (text -1: methodText, else
// that entry of laterMethods), and the same for the header of the
// implementation it belongs to.
struct StaticCandidate {
    qint32 line = 0;
    qint32 index = 0;
    qint32 headerLine = 0;
    qint32 headerIndex = 0;
    qint32 text = -1;
    bool conditioned = false; // the implementation stands under #if branches of its own
    qint32 openingLines = 0;  // the lines before the header that put its copy under them
    qint32 openingLevels = 0; // and the "#endif" lines that close them
};

// A kept line of the file emitted otherwise: with lines before it (none
// when their text is empty), each with its own origin, and, when
// replacement is not null, with that text in its place. The line keeps its
// origin.
struct LineEdit {
    qint32 line = 0;
    MappedText before;
    QByteArray replacement;
};

// Everything the class-extension pass knows about one type declaration. The
// scan fills the block, the implementations and the members; the twin and
// parent steps fill the rest. Every text carries the origin of each of its
// lines.
struct TypeRecord {
    MappedText blockText;           // the type line through its end line, as written
    MappedText methodText;          // the type's member implementations, each followed by "\n"
    QList<PlacedText> laterMethods; // implementations after other code, not in methodText
    QList<MemberEntry> members;     // what an extending type inherits, in scan order
    QList<MemberKey> ownKeys;       // the fields and members the block declares itself
    QByteArray typeName;            // the type line's second token, as written
    // The names its block declares for its own use (constants, enums and
    // their values, nested types), case-folded, each with whether it stands
    // in a private section: its extending types' members name them too.
    QHash<QByteArray, bool> insideNames;
    QSet<QByteArray> staticNames; // those of insideNames that are its static member variables

    QList<InheritedMember> inherited; // the members it inherits through "extends"
    // The names its ancestors' blocks declare for their own use (as
    // insideNames) that it declares neither inside nor as a field or member,
    // case-folded, each with the nearest ancestor that declares it and
    // whether that one's is private.
    QHash<QByteArray, std::pair<QByteArray, bool>> inheritedInsideNames;
    MappedText inheritedDeclareText;    // at the end, the finished block
    MappedText inheritedForwarderText;  // inherited forwarders, on this type's own name
    QByteArray parentName;              // the parent as the extends line writes it
    MappedText twinBlockText;           // the public twin's block
    MappedText twinMethodText;          // the public twin's member implementations
    QList<PlacedText> twinLaterMethods; // the twin's copies of laterMethods

    QList<LineEdit> ownLineEdits; // lines of its own implementations emitted otherwise
    // For an extending type: the lines of its own implementations, as
    // ScannedLines::methods lists them, until their parameters are looked at.
    QList<qint32> ownMethodLines;

    // Bookkeeping of the pass, not emitted as such.
    ScannedLines found;       // where the first four texts come from, until they are made
    int typeLine = -1;        // position of the type line among the file's lines
    int blockEnd = -1;        // position of its end line, -1 when it has none
    LineOrigin extendsOrigin; // the extends line that gave the type its parent
    qint32 parentRecord = -1; // the parent's record, when the type extends one
    QList<StaticCandidate> staticCandidates; // implementation lines that name "static"
    bool hasTwin = false;
    // The first lines of twinMethodText that declare the static variables its
    // copies share with the type's own implementations (which they precede).
    qint32 twinStaticLines = 0;
};

// A record's own members as one text of forwarders, and as one text of
// declarations, each entry standing for its line, entries joined with "\n".
MappedText forwarderTextOf(const QList<MemberEntry>& members);
MappedText declareTextOf(const QList<MemberEntry>& members);

// What a type's name becomes on its public twin.
inline constexpr QByteArrayView twinSuffix = "_generic_public_member";

inline QByteArray twinNameOf(QByteArrayView typeName) {
    QByteArray name = typeName.toByteArray();
    name += twinSuffix;
    return name;
}

// Whether a line of the record's member implementations (its methodText and
// laterMethods) is one that test takes.
bool anyImplementationLine(const TypeRecord& record,
                           const std::function<bool(QByteArrayView line)>& test);

// Whether a member implementation of the record says "private": a module
// that keeps a type's procedures to itself (so that other modules may have
// types of the same names) wants what is generated for it kept there too.
bool implementsPrivately(const TypeRecord& record);

// Calls each(record, declaring, entry) for every field each record inherits:
// the record that declares it and its member entry there, in the order of the
// records and of what each inherits.
template <typename Each>
void forEachInheritedField(const QList<TypeRecord>& records, const Each& each) {
    for (const TypeRecord& record : records) {
        for (const InheritedMember& member : record.inherited) {
            if (member.record == InheritedMember::gap)
                continue;
            const MemberEntry& entry = records[member.record].members[member.member];
            if (entry.key.memberClass == MemberClass::field)
                each(record, records[member.record], entry);
        }
    }
}

// Records looked up by name ignoring letter case; a name declared twice finds
// its last record.
struct RecordIndex {
    QHash<QByteArray, qsizetype> lastByName; // case-folded name -> record position

    explicit RecordIndex(const QList<TypeRecord>& records);
    // The position of the record, or -1 when the file declares no such type.
    qsizetype find(QByteArrayView name) const;
};
