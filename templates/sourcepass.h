#pragma once

#include "mappedtext.h"
#include "templatetable.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QHash>
#include <QSet>
#include <QString>
#include <QStringList>

#include <functional>
#include <optional>

// The files the template pass reads, and where the included files it rewrites
// go. The pass touches no file itself: the program reads each file through
// its snapshot registry and writes what it is handed (driver/pipeline.h).
struct SourceFiles {
    // The text of the file at path, or nothing when it cannot be read: a
    // command-line file is then left alone, an include line not followed.
    std::function<std::optional<QByteArray>(const QString& path)> readText;
    // What the file at path is known by under every name it has (a hard link,
    // a link and its target, another spelling of its path).
    std::function<QString(const QString& path)> fileKey;
    // Makes the bytes an included file is to hold from its rewritten text, or
    // nothing when it stays as it is; compilerName is the name the compiler
    // knows the file by, which its lines' origins carry. Called on any
    // thread, for several files at once.
    std::function<std::optional<QByteArray>(const QString& path, const QString& compilerName,
                                            MappedText text)>
        finishIncluded;
    // Takes what finishIncluded made of an included file, on the caller's
    // thread, in the order the files finished.
    std::function<void(const QString& path, std::optional<QByteArray> bytes)> takeIncluded;
};

// What the class pass, which reads a file's own text alone, needs to know of
// the files it includes: the enums they declare (enumNamesOf), and the last
// dialect one of them names with "#lang" (lower case, or empty).
// And, for the template pass of the including file, the names they
// "#undef" (case-folded).
struct HeaderFacts {
    QSet<QByteArray> enums;
    QByteArray dialect;
    QSet<QByteArray> undefined;

    // Those of a file included after the ones known.
    void add(const HeaderFacts& included) {
        enums += included.enums;
        if (!included.dialect.isEmpty())
            dialect = included.dialect;
        undefined += included.undefined;
    }
};

// What the template pass has learnt in one run, for the files it meets later
// in the run: every file it has expanded, by its key, with the templates it
// declares together with those of the files it includes. A file is expanded
// once per run; a file that includes it later gets its templates from here.
struct TemplateRun {
    QHash<QString, TemplateSet> expanded;
    // And by the same keys, the facts of each included file, its own with
    // those of the files it includes.
    QHash<QString, HeaderFacts> headerFacts;
    // The folders named with -i, in order: include names not found beside
    // the including file or in the current folder are looked for there.
    QStringList includeDirectories;
    // The names given with -include: each source file includes them before
    // its first line, found as its include names are, so their templates are
    // its own to use. A file that is one of them includes none.
    QStringList preIncludes;
    // The compiler's own include folders, each by its canonical path: the
    // headers there are the compiler's, which use neither extension, so an
    // include name found in one (through an -i naming it, or an absolute
    // name) is not followed. They are neither read nor locked, however large.
    QStringList compilerIncludeFolders;
    // The dialect the command line names (-lang, or -forcelang when forced),
    // which decides with a file's own "#lang" whether its extending types are
    // fbext's to expand.
    QByteArray dialect;
    bool dialectForced = false;
    // Of the last file expanded: the enums its included files declare and
    // the dialect they name (HeaderFacts).
    QSet<QByteArray> headerEnums;
    QByteArray headerDialect;
    // The first fault met in a file's templates or their uses: the run stops
    // before its compile.
    std::optional<TemplateError> error;
    // Included files of this many bytes and more are instantiated on a
    // thread of the pass's own, beside the rest of the pass.
    qsizetype besideFromBytes = qsizetype(64) * 1024;
    // Texts of this many bytes and more have the class pass's scans and the
    // line directives split over two threads (below it a thread costs about
    // what it saves, and its memory shows in a run of a small file).
    qsizetype splitFromBytes = qsizetype(1) << 20;
};

// The template pass over a source file named on the command line: reads it,
// expands the files it includes through "#include" lines first (a file met
// again taking its templates from run), captures and instantiates templates,
// and returns the rewritten text, each line with its origin. Nothing when the
// file cannot be read or was expanded before in the run. Each included file
// is finished (files.finishIncluded) and handed to files.takeIncluded, in the
// order the files finished, before this returns; a large one is instantiated
// and finished on a thread of the pass's own meanwhile (run.besideFromBytes),
// and every other function of files is called on the caller's thread.
std::optional<MappedText> expandTemplates(const QString& sourcePath, const SourceFiles& files,
                                          TemplateRun& run);

// The directory that relative include names in sourcePath are resolved against.
QString includeDirectory(const QString& sourcePath);

// The name an include line names ("#include" or "#include once", then a
// quoted name, or the metacommand "'$include: 'name'"), or an empty string
// when the line is none. A directive continued with " _" goes on in next,
// the line after it ("#include once _" and then ""list.bi"").
QString includedName(QByteArrayView line, QByteArrayView next = {});

// The file an include name stands for, found where the compiler looks for it
// (an absolute name as it is; else the including file's folder, the current
// folder, each of includeDirectories in order), or an empty string when it is
// in none of them (the compiler's own include folder is never rewritten).
QString resolveInclude(const QString& name, const QString& directory,
                       const QStringList& includeDirectories);

// Whether the file at path lies in one of folders (canonical paths), by its
// own canonical path, so links to it and other spellings count too.
bool liesInFolders(const QString& path, const QStringList& folders);
