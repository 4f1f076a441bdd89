#pragma once

#include <QLockFile>
#include <QObject>
#include <QString>

#include <memory>

class QLocalServer;

// One Pawfolio per records folder. The first start takes a lock on the
// folder and listens for later starts; a later start on the same folder asks
// the first to come to the front and ends, so that two processes never write
// the same record files. Whoever answers there holds the folder: a lock that
// nobody answers for (left by a process that died, emptied by a power cut,
// written on another computer) is taken over, and where no lock can be had
// at all (a full disk) the listening itself keeps a second Pawfolio away.
class SingleInstance : public QObject {
    Q_OBJECT
public:
    explicit SingleInstance(const QString& recordsFolder, QObject* parent = nullptr);
    ~SingleInstance() override;

    // True when this process is now the Pawfolio of the folder. False when
    // another one runs: it has been asked to come to the front.
    bool start();
    // When start() ran without its lock or without listening: why, in words
    // for the person; empty otherwise.
    const QString& problem() const { return m_problem; }

    // Where both starts meet: one per folder, in the person's runtime folder,
    // which no other user can write.
    static QString serverName(const QString& recordsFolder);

signals:
    // Another start on this folder asked this one to come to the front.
    void raiseRequested();

private:
    bool listen(bool replaceLeftOver);
    // Whether a Pawfolio answered and was asked to come to the front.
    static bool askFirstToRaise(const QString& name);

    QString m_name;
    // The lock file: in the records folder, or in the person's runtime folder
    // when the records folder cannot be written.
    QString m_lockPath;
    QString m_problem;
    std::unique_ptr<QLockFile> m_lock;
    QLocalServer* m_server = nullptr;
};
