#include "shell/RecordsFolder.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

bool isSystemProgramFolder(const QString& programFolder)
{
    const QString canonical = QFileInfo(programFolder).canonicalFilePath();
    const QString folder = QDir::cleanPath(canonical.isEmpty() ? programFolder : canonical) + u'/';
#ifdef Q_OS_WIN
    for (const char* variable : {"ProgramFiles", "ProgramFiles(x86)", "ProgramW6432"}) {
        const QString system = qEnvironmentVariable(variable);
        if (!system.isEmpty() &&
            folder.startsWith(QDir::cleanPath(QDir::fromNativeSeparators(system)) + u'/', Qt::CaseInsensitive))
            return true;
    }
    return false;
#else
    return folder.startsWith(QLatin1String("/usr/"));
#endif
}

QString picturesFolderFor(const QString& programFolder)
{
    const QString shared = QDir::cleanPath(programFolder + QStringLiteral("/../../share/pawfolio"));
    const auto hasPictures = [](const QString& folder) {
        return QFileInfo::exists(folder + QStringLiteral("/doggie.gif"));
    };
    return hasPictures(programFolder) || !hasPictures(shared) ? programFolder : shared;
}

QString recordsFolderFor(const QString& programFolder, QString& problem)
{
    if (QFileInfo(programFolder).isWritable() && !isSystemProgramFolder(programFolder))
        return programFolder;
    const QString own = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
    if (!QDir().mkpath(own))
        problem = QStringLiteral("Pawfolio cannot make the folder for your records, %1, so nothing can be saved.")
                      .arg(QDir::toNativeSeparators(own));
    return own;
}
