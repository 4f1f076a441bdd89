#pragma once

#include "records/Records.h"

#include <QString>

// The report the preview is to show: the register's it was asked from.
enum class ReportType { None, Doggies, Health, Journal };

// What outlives a window: the current dog, the date selected, the report
// asked for and the two folders. main() makes one and hands it to every
// window by reference.
struct SharedState {
    // Records kept beside the program.
    explicit SharedState(const QString& folder);
    SharedState(QString programFolder, QString recordsFolder);

    // The folder of the executable, and the one where the windows' pictures
    // lie: the same folder unless the program was installed on Linux.
    QString programFolder;
    QString picturesFolder;
    // Where the record files, temp.dat and report.txt live: the program
    // folder, or the person's own data folder when that one is not theirs.
    QString recordsFolder;
    // A record or scratch file, in the records folder.
    QString path(const QString& fileName) const;
    // A picture of the windows, in the pictures folder.
    QString picture(const QString& fileName) const;

    // The current dog: its number (0 for none) and its record as last picked
    // or saved.
    qint32 DoggieRecNo = 0;
    DoggieRecord workingDoggie;
    QString SelectedDate;
    ::ReportType ReportType = ::ReportType::None;
};

namespace files {
inline const QString Doggies = QStringLiteral("doggies.dat");
inline const QString Health = QStringLiteral("health.dat");
inline const QString Journal = QStringLiteral("journal.dat");
inline const QString Temp = QStringLiteral("temp.dat");
inline const QString Report = QStringLiteral("report.txt");
} // namespace files
