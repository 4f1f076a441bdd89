#include "records/SharedState.h"

#include <QDir>

SharedState::SharedState(QString folder) : programFolder(std::move(folder)) {}

QString SharedState::path(const QString& fileName) const
{
    return QDir(programFolder).filePath(fileName);
}
