#pragma once

#include <QString>
#include <QStringList>

struct SharedState;

namespace files {
// The note of a dog erase under way, in the records folder while it lasts.
inline const QString EraseNote = QStringLiteral("erasing.txt");
} // namespace files

// What a dog erase has done so far, for the message of one that failed.
struct DoggieErase {
    QStringList gone;  // "vaccinations", "journal entries": erased so far
    int filesDone = 0; // of the three, in their order
};

// Erases dog `k` with its vaccinations and journal entries: those go first and
// the dog last, so that a step that fails stops the rest and leaves the dog
// there to erase again. Its records go with it so that a dog added later under
// the same number starts with none. A note in the records folder says, until
// the erase is over, which dog is being erased and which files are done: a
// program stopped midway finishes the erase at its next start. Throws
// FileError, with `progress` telling how far it came.
void eraseDoggie(SharedState& state, qint32 k, const QString& name, DoggieErase& progress);

// Finishes an erase that a note says was stopped midway, at a start before
// anything else reads the records. Returns what to tell the person once, or
// nothing when there was no note; a note that cannot be read is removed, with
// a warning. Throws FileError when the erase cannot be finished now: the note
// then stays for the next start.
QString finishInterruptedErase(SharedState& state);
