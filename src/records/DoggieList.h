#pragma once

#include "records/Records.h"

#include <QStringList>

#include <limits>

struct SharedState;

// The dog list every register window shows, and the lookup that turns a
// clicked entry back into a dog. Both throw FileError.
namespace doggielist {

// One entry per record of doggies.dat in record order, from record `first`
// to `last` or the end of the file: the Name up to its first NUL, trimmed of
// spaces (an erased slot gives an empty entry).
QStringList load(const SharedState& state, qint32 first = 1, qint32 last = std::numeric_limits<qint32>::max());
// The records of doggies.dat, erased slots too: the rows of the list.
qint32 count(const SharedState& state);

// Dog `number` of doggies.dat when it is a live dog; a blank record (ID 0)
// for an erased slot, a number past the end or none.
DoggieRecord dog(const SharedState& state, qint32 number);

// An entry stands for the record it was listed from, `number`. When that
// record's trimmed Name still equals the entry's trimmed text it is taken;
// otherwise the file is scanned for the first dog of that name. An empty entry
// takes its own record when that is a live dog (ID not 0) without a name; for
// an erased slot it changes nothing and returns false. Otherwise DoggieRecNo
// becomes the dog's number (0 when none matches) and the workingDoggie holds
// the dog found. Returns whether a dog was found.
bool lookup(SharedState& state, qint32 number, const QString& entryText);

} // namespace doggielist
