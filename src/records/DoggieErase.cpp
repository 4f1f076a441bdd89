#include "records/DoggieErase.h"

#include "records/Disk.h"
#include "records/EraseRewrite.h"
#include "records/FileError.h"
#include "records/RecordFile.h"
#include "records/SharedState.h"

#include <QFileInfo>

namespace {

// The note, line by line: this first line, "doggie <number>", "name <name>",
// then "done <file>" as each of the two record files is done with.
constexpr char kNoteHeader[] = "Pawfolio is erasing a doggie";
constexpr qint64 kNoteMost = 4096;

struct Step {
    const QString& file;
    int length;
    const char* records;
};
const Step kRecordsOfDoggie[] = {{files::Health, HealthRecord::Length, "vaccinations"},
                                 {files::Journal, JournalRecord::Length, "journal entries"}};

// Each line is on the disk before the erase goes on; the first makes the
// note afresh, and the note itself is on the disk before any rewrite.
void note(const SharedState& state, const QByteArray& line, bool first = false)
{
    QFile file(state.path(files::EraseNote));
    QString why = disk::open(file, first ? QIODevice::WriteOnly : QIODevice::ReadWrite); // the first empties it
    if (why.isEmpty() && !file.seek(file.size()))
        why = disk::partWritten(file);
    if (why.isEmpty())
        why = disk::write(file, line.constData(), line.size());
    if (why.isEmpty())
        why = disk::sync(file);
    if (why.isEmpty() && first)
        why = disk::syncFolder(file.fileName());
    if (!why.isEmpty())
        throw FileError(file.fileName(), QStringLiteral("written"), why);
}

// The rewrites not yet done, in their order, each marked done in the note.
void eraseFrom(SharedState& state, qint32 k, const QStringList& done, DoggieRecord& working, DoggieErase& progress)
{
    const QString temp = state.path(files::Temp);
    for (const Step& step : kRecordsOfDoggie) {
        if (!done.contains(step.file)) {
            bool erased = false;
            eraseMatching(state.path(step.file), temp, step.length, ofDoggie(k), &erased);
            if (erased)
                progress.gone << QLatin1String(step.records);
            note(state, "done " + step.file.toUtf8() + '\n');
        }
        ++progress.filesDone;
    }
    eraseInto(working, state.path(files::Doggies), temp, k);
    ++progress.filesDone;
}

struct Note {
    qint32 doggie = 0;
    QString name;
    QStringList done;
};

// The note as its lines say, or nothing when it is not one this program wrote.
std::optional<Note> readNote(const QString& path)
{
    QFile file(path);
    if (!disk::open(file, QIODevice::ReadOnly).isEmpty())
        return std::nullopt;
    const QList<QByteArray> lines = file.read(kNoteMost + 1).split('\n');
    if (file.size() > kNoteMost || lines.size() < 4 || lines[0] != kNoteHeader || !lines.last().isEmpty() ||
        !lines[1].startsWith("doggie ") || !lines[2].startsWith("name "))
        return std::nullopt;
    Note note;
    bool number = false;
    note.doggie = lines[1].mid(7).toInt(&number);
    note.name = QString::fromUtf8(lines[2].mid(5));
    for (const QByteArray& line : lines.mid(3, lines.size() - 4)) {
        const QString file = QString::fromUtf8(line.mid(5));
        if (!line.startsWith("done ") || (file != files::Health && file != files::Journal))
            return std::nullopt;
        note.done << file;
    }
    if (!number || note.doggie < 1 || note.doggie > RecordFile::MaxRecords)
        return std::nullopt;
    return note;
}

} // namespace

void eraseDoggie(SharedState& state, qint32 k, const QString& name, DoggieErase& progress)
{
    const QString notePath = state.path(files::EraseNote);
    QByteArray oneLine = name.toUtf8();
    oneLine.replace('\n', ' ').replace('\r', ' ');
    try {
        note(state, QByteArray(kNoteHeader) + "\ndoggie " + QByteArray::number(k) + "\nname " + oneLine + '\n', true);
        eraseFrom(state, k, {}, state.workingDoggie, progress);
    } catch (const FileError&) {
        QFile::remove(notePath); // the person is told how far it came, and decides
        throw;
    }
    QFile::remove(notePath);
}

QString finishInterruptedErase(SharedState& state)
{
    const QString path = state.path(files::EraseNote);
    const QFileInfo there(path);
    if (!there.exists() && !there.isSymLink())
        return {};
    const std::optional<Note> found = readNote(path);
    if (!found) {
        QFile::remove(path);
        return QStringLiteral("A note of a doggie erase that was stopped midway (%1) could not be read, and was "
                              "removed. A doggie may have lost only some of its vaccinations and journal entries: "
                              "look at your doggies' records.")
            .arg(files::EraseNote);
    }
    DoggieRecord working; // the windows' working records are left as they are
    DoggieErase progress;
    eraseFrom(state, found->doggie, found->done, working, progress);
    QFile::remove(path);
    const QString name = found->name.trimmed();
    return QStringLiteral("Pawfolio was stopped while it erased %1. The erase has now been finished: the doggie, its "
                          "vaccinations and its journal entries are gone.")
        .arg(name.isEmpty() ? QStringLiteral("a doggie without a name") : u'"' + name + u'"');
}
