#include "records/SharedState.h"

#include <QDir>

SharedState::SharedState(const QString& folder) : SharedState(folder, folder) {}

SharedState::SharedState(QString programFolder, QString recordsFolder)
    : programFolder(std::move(programFolder)), picturesFolder(this->programFolder),
      recordsFolder(std::move(recordsFolder))
{
}

QString SharedState::path(const QString& fileName) const
{
    return QDir(recordsFolder).filePath(fileName);
}

QString SharedState::picture(const QString& fileName) const
{
    return QDir(picturesFolder).filePath(fileName);
}
