#include "records/FileError.h"

#include <QDir>

FileError::FileError(QString path, QString action, QString reason)
    : std::runtime_error((path + QLatin1String(": ") + action + QLatin1String(": ") + reason).toStdString()),
      m_path(std::move(path)), m_action(std::move(action)), m_reason(std::move(reason))
{
}

QString FileError::message(const QString& outcome) const
{
    return QStringLiteral("The file \"%1\" could not be %2.\n\nReason: %3\n\n%4")
        .arg(QDir::toNativeSeparators(m_path), m_action, m_reason,
             m_mayHaveChanged ? QStringLiteral("The record may have been changed: look at it before you go on.")
                              : outcome);
}
