#pragma once

#include "filetime.h"

#include <QByteArray>
#include <QMap>
#include <QString>
#include <QStringList>

// What a source file held before this run touched it.
struct FileSnapshot {
    QByteArray bytes; // exactly as on disk, line ends and NUL bytes included
    FileTime modified;
};

// Every file a pass reads is registered here before it is rewritten; after the
// compiler has finished, restoreSources() puts every registered file back as it
// was. Files are keyed by their canonical absolute path, so one file reached
// under two spellings (relative and absolute, through "..", through a link) is
// recorded once, with the bytes it held before the run.
struct SnapshotRegistry {
    QMap<QString, FileSnapshot> originalTexts; // canonical path -> first snapshot
    QStringList touchedFiles;                  // canonical paths, in registration order

    // Records path as touched. The first registration of a file keeps its bytes
    // (as read by the caller, before any rewrite) and its modification time.
    void registerSource(const QString& path, const QByteArray& bytes);

    // Writes the rewritten text of a registered file (text mode, see
    // writeSourceText). Every pass writes through here, so the registry knows
    // what each file holds during the compile. Refuses files never registered.
    bool writeRewrittenSource(const QString& path, const QString& text);

    // Whether the file at path has been registered, under any spelling.
    bool isTouched(const QString& path) const;

    // Writes every touched file back with its recorded bytes and modification
    // time, in registration order. Returns the paths that could not be restored.
    QStringList restoreSources() const;
};

// The key a file is registered under: its absolute path, cleaned, with links
// resolved where the file exists.
QString canonicalSourcePath(const QString& path);
