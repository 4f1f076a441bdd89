#pragma once

#include "records/Records.h"

#include <QString>

// What outlives a window: the working records, the selection globals and the
// program folder. main() makes one and hands it to every window by reference.
struct SharedState {
    explicit SharedState(QString programFolder);

    // The program folder: the folder of the executable, where every data and
    // picture file of the program lives.
    QString programFolder;
    QString path(const QString& fileName) const;

    ::DoggieRecord DoggieRecord;
    ::HealthRecord HealthRecord;
    ::JournalRecord JournalRecord;

    qint32 DoggieRecNo = 0;
    qint32 HealthRecNo = 0;
    qint32 JournalRecNo = 0;
    QString SelectedDate;
    QString ReportType;
    bool ReportFound = false;
};

namespace files {
inline const QString Doggies = QStringLiteral("doggies.dat");
inline const QString Health = QStringLiteral("health.dat");
inline const QString Journal = QStringLiteral("journal.dat");
inline const QString Temp = QStringLiteral("temp.dat");
inline const QString Report = QStringLiteral("report.txt");
} // namespace files
