#pragma once

#include <QByteArray>
#include <QString>

#include <functional>
#include <optional>

// Erases record k of a record file by rewriting the whole file through
// tempPath. Every other record keeps its number: record k becomes an erased
// slot of zero bytes, or the file gets one record shorter when k was the last.
// A k that names no record (0, or beyond the end) erases nothing and leaves
// the file untouched.
//
// temp.dat starts empty, is written whole and put on the disk, and then
// replaces the data file in one atomic rename, so the data file is never
// missing or half-written. Throws FileError, leaving the data file untouched.
//
// Returns the last record copied (the working record afterwards), if any.
std::optional<QByteArray> eraseRecord(const QString& dataPath, const QString& tempPath, int recordLength, qint32 k);

// The erase rewrite of record k, after which the working record of the type
// holds the last record kept.
template <typename R>
void eraseInto(R& working, const QString& dataPath, const QString& tempPath, qint32 k)
{
    if (const auto last = eraseRecord(dataPath, tempPath, R::Length, k))
        working = R::fromBytes(*last);
}

// Erases, in one rewrite, every record for which `erase(number, bytes)` holds:
// each becomes an erased slot, and those at the end of the file are cut off,
// as erasing them one by one from the last would do. When no record matches
// the data file is left untouched. Returns the last record kept, if any;
// `erased`, when given, tells whether any record was erased.
std::optional<QByteArray> eraseMatching(const QString& dataPath, const QString& tempPath, int recordLength,
                                        const std::function<bool(qint32, const char*)>& erase, bool* erased = nullptr);

// The records of a health or journal file that belong to dog `doggieId`.
std::function<bool(qint32, const char*)> ofDoggie(qint32 doggieId);
