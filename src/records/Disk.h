#pragma once

#include <QFile>
#include <QString>

// The calls that put records on the disk, in one place: every open, write,
// sync and rename of a record file, temp.dat, report.txt and the lock goes
// through these. Each returns empty when done or else why not, in words that
// name the cause: "Unknown error" is never one of them.
namespace disk {

// Opens the file at its name, without waiting on whatever is there: only a
// regular file (or a link to one) is opened; a pipe, a device or a folder
// gets the reason that says it is no file Pawfolio can use.
QString open(QFile& file, QIODevice::OpenMode mode);
// Whether what stands at `path` is a regular file (or a link to one) whose
// size is at most `maxBytes`; empty when it is, or when nothing or a folder
// is there, else why not. Looked at without opening anything.
QString usable(const QString& path, qint64 maxBytes);

// Writes all of the bytes at the file's position.
QString write(QFile& file, const char* data, qint64 size);
// Puts what was written on the disk (the operating system's buffers too).
QString sync(QFile& file);
// Puts the file `from` in place of `to` in one rename: a link at `to` is
// replaced itself.
QString rename(const QString& from, const QString& to);
// Puts the renames in the file's folder on the disk: only then does a
// replaced file stay replaced after a power cut.
QString syncFolder(const QString& filePath);

// Gives the file the mode of the file at `like` and, where the process may
// set them, its owner and group: a rewritten copy stays as private, and
// whose, as the file it replaces.
QString takeModeOf(QFile& file, const QString& like);
// How many names (hard links) the file at `path` has; 1 where none can be told.
int linkCount(const QString& path);

// What a file last said went wrong, in words; `otherwise` when it names no
// cause (a write the file system cut short says nothing).
QString reasonOf(const QFileDevice& file, const QString& otherwise = QStringLiteral("The file system gave no reason."));
// The words of a system error number (errno).
QString reasonOf(int error);
// Why a write took only part of what it was given.
QString partWritten(const QFileDevice& file);

// A failing disk, as a test puts it in the way: asked before each write, sync,
// rename and folder sync with the file's name and, for a write, the size the
// file would reach by it. An error number fails the call with it; KeepHalf
// (writes only) keeps half of the bytes and says it took them all, as a full
// network share may do.
enum class Call { Write, Sync, Rename, SyncFolder };
constexpr int KeepHalf = -1;
using Faults = int (*)(Call call, const QString& path, qint64 sizeAfter);
void setFaults(Faults faults);

} // namespace disk
