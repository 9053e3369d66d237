#pragma once

#include <QString>

// Puts back the files of earlier runs that ended before their restore (killed,
// crashed, machine switched off), from the journals they left below
// journalsDirectory. A journal still locked by a live run is left alone. Each
// file is restored only while it holds exactly a text that the dead run wrote
// into it; a file changed since then is left alone and named in one line on
// standard error, and its original stays kept below keptDirectory. A file that
// cannot be written back is named too, and its journal stays for the next run.
// Returns false when some file could not be put back.
bool recoverInterruptedRuns(const QString& journalsDirectory, const QString& keptDirectory);
