#pragma once

#include "filelock.h"
#include "filetime.h"

#include <QByteArray>
#include <QList>
#include <QString>

#include <vector>

struct RunJournal;

// Where a write into a user's file is announced, so that recovery can tell a
// write that never finished (a kill, a crash, a power cut in the middle) from
// a file someone changed later: the journal, the file's number in it, and
// whether the write is a rewrite or the original going back.
struct WriteLog {
    RunJournal* journal = nullptr;
    int index = -1;
    bool restoring = false;
    // The caller has checked the precondition (prepareWrite) and announced
    // the write, together with others, so that one flush of the journal
    // covers them all; the precondition is checked once more, and the write
    // goes ahead unless the file changed since.
    bool announced = false;
};

// What the file must still hold for a write to go ahead: what this run last
// read or wrote there. Whatever else it holds, someone else wrote it.
struct Precondition {
    bool any = false;          // no condition
    FileStamp stamp;           // the file when this run last read or wrote it
    QByteArray bytes;          // what it held then, or
    QList<QByteArray> digests; // the digests of what it may hold
};

enum class WriteStatus {
    Written,
    Changed,       // the file no longer holds what the precondition says: untouched
    Failed,        // the write could not be made; the file may be cut short
    JournalFailed, // its announcement could not be put into the journal: untouched
};

struct WriteResult {
    WriteStatus status = WriteStatus::Failed;
    QString reason;  // in words: for Changed "was deleted", "was replaced by another
                     // file" or "was changed"; for Failed the system's error
    FileStamp after; // the file right after the write
};

// Writes bytes over a user's file in place, through its own opening, so that
// the file keeps what makes it the user's (inode, owner, permissions, ACLs,
// hard links): after checking the precondition, the write is announced in the
// journal (on disk before the first byte), the bytes are written and the file
// cut to their length, the modification time set when valid, everything
// flushed to disk, and then the write recorded as done.
WriteResult writeInPlace(LockedFile& file, const QByteArray& bytes, const QByteArray& digest,
                         const FileTime& modified, const Precondition& precondition,
                         const WriteLog& log);

// writeInPlace in two parts, so that several files' bytes go to the disk
// together: the start does all but the flush (Written when the bytes are in
// the file, on their way to the disk), the finish waits for them to be on
// disk and records the write as done. A write started Written must be
// finished, before anything else is written into the journal about it.
WriteResult startWriteInPlace(LockedFile& file, const QByteArray& bytes, const QByteArray& digest,
                              const FileTime& modified, const Precondition& precondition,
                              const WriteLog& log);
WriteResult finishWriteInPlace(LockedFile& file, const WriteLog& log);
// finishWriteInPlace for several started writes (logs[i] for files[i]): the
// disk takes their flushes together, then each is recorded as done, in order.
std::vector<WriteResult> finishWritesInPlace(const std::vector<LockedFile*>& files,
                                             const std::vector<WriteLog>& logs);

// What writeInPlace does before its announcement: checks the precondition and
// opens the file for writing. Written when the write may go ahead; otherwise
// the file is untouched.
WriteResult prepareWrite(LockedFile& file, const Precondition& precondition);

// A rewrite of a registered file: writeInPlace, and when the write failed
// part-way (disk full), the original written back at once, so the compiler is
// never handed a cut file (undoFailedRewrite, for a rewrite made in two parts).
void undoFailedRewrite(LockedFile& file, const WriteResult& result, const QByteArray& original,
                       const FileTime& modified, const WriteLog& log);
WriteResult rewriteFile(LockedFile& file, const QByteArray& bytes, const QByteArray& digest,
                        const Precondition& precondition, const QByteArray& original,
                        const FileTime& modified, const WriteLog& log);

// Test builds set this to stop or kill the program at one step of a write into
// a user's file; the installed program never does. The steps: before the
// file is checked (for a write announced with others, checked already, just
// before its bytes), halfway through its bytes, after all of them (the file cut
// to their length, its time not yet set), and once everything is on disk.
// Announced comes between the first two for a write announced on its own,
// once the announcement is on disk and before the file is checked again.
enum class WriteStep { Starting, Halfway, BytesWritten, Flushed, Announced };
using WriteHook = void (*)(WriteStep step);
extern WriteHook userFileWriteHook;
