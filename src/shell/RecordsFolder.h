#pragma once

#include <QString>

// Whether `programFolder` is where the system keeps installed programs (/usr
// on Linux, Program Files on Windows): there records never belong, even for
// the administrator, who may write it.
bool isSystemProgramFolder(const QString& programFolder);

// The folder the records live in: beside the program when the person may
// write its folder (built or installed by them, or carried from another
// computer with its record files); otherwise, as for a system-wide install,
// their own data folder, made here. `problem` says why when that folder
// cannot be made.
QString recordsFolderFor(const QString& programFolder, QString& problem);

// The folder of the windows' pictures: the program's own when they lie
// beside it (a build, a carried folder, Windows); installed on Linux, the
// shared data folder share/pawfolio beside lib/pawfolio, where the same
// pictures serve every kind of machine.
QString picturesFolderFor(const QString& programFolder);
