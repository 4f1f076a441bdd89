#pragma once

#include "records/Records.h"

#include <QString>

#include <optional>

// The program's main-level windows. A new register is one more of these, its
// window's factory (registerScreens), its report (the preview's kReports)
// and its window's description.
enum class Screen { Main, Doggies, Health, Journal, ReportViewer };

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
    // The register whose report the preview is to show, and which its Close
    // returns to; none while no report is asked for.
    std::optional<Screen> ReportType;
};

namespace files {
inline const QString Doggies = QStringLiteral("doggies.dat");
inline const QString Health = QStringLiteral("health.dat");
inline const QString Journal = QStringLiteral("journal.dat");
inline const QString Temp = QStringLiteral("temp.dat");
inline const QString Report = QStringLiteral("report.txt");
} // namespace files
