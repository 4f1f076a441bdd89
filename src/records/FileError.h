#pragma once

#include <QString>

#include <stdexcept>

// A record or report file that could not be opened, read, written, deleted or
// renamed. Handlers catch it and show message(); no file is left half-written.
class FileError : public std::runtime_error {
public:
    FileError(QString path, QString action, QString reason);

    // Marks a failure after which the file may hold part of what was being
    // written: the message then says so, whatever outcome is asked for.
    FileError& mayHaveChanged()
    {
        m_mayHaveChanged = true;
        return *this;
    }

    // Names the file, what failed and the system's reason, and ends with what
    // became of the user's files.
    QString message(const QString& outcome = QStringLiteral("Nothing was changed in your files.")) const;

private:
    QString m_path;
    QString m_action;
    QString m_reason;
    bool m_mayHaveChanged = false;
};
