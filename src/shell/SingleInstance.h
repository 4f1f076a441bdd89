#pragma once

#include <QLockFile>
#include <QObject>
#include <QString>
#include <QStringList>

#include <memory>

class QLocalServer;

// One Pawfolio per records folder, whoever and wherever starts it. The first
// start takes a lock on the folder and listens for later starts; a later
// start on the same folder asks the first to come to the front and ends, so
// that two processes never write the same record files.
// - A lock whose Pawfolio is alive on this computer is never taken over: when
//   it does not answer (another person's, one started from another session,
//   one stopped), the later start says so and ends.
// - A lock whose process is gone from this computer is taken over.
// - A lock of another computer (a folder shared over the network or synced),
//   or one that cannot be read, is taken over only when the person says so.
// - Where no lock can be had at all (a full disk), the listening itself keeps
//   a second Pawfolio away.
class SingleInstance : public QObject {
    Q_OBJECT
public:
    explicit SingleInstance(const QString& recordsFolder, QObject* parent = nullptr);
    ~SingleInstance() override;

    // True when this process is now the Pawfolio of the folder. False when
    // it is not to run: another one was asked to come to the front, or was
    // found open and said so, or the person chose not to open it here.
    bool start();
    // When start() ran without its lock or without listening: why, in words
    // for the person; empty otherwise.
    const QString& problem() const { return m_problem; }

    // Where both starts meet: one name per folder, in a folder of the
    // person's own that no other user can make names in.
    static QString serverName(const QString& recordsFolder);
    // The folders a socket may be in, the one listened in first: the
    // session's runtime folder when it is the person's alone, and one made
    // for it in their cache folder. Another session of the same person may
    // listen in either.
    static QStringList socketFolders();

signals:
    // Another start on this folder asked this one to come to the front.
    void raiseRequested();

private:
    bool listen(bool replaceLeftOver);
    // A server that answers later starts on `name`, listening if it could.
    QLocalServer* serve(const QString& name, bool replaceLeftOver);
    // Whether a Pawfolio of this person answered on any of the folder's
    // sockets and was asked to come to the front.
    // `patienceMs` gives one that is starting a moment to listen.
    bool askFirstToRaise(int patienceMs) const;
    // Takes over the lock as it was seen, unless another start has changed
    // it meanwhile.
    bool takeOver(const QByteArray& seen);

    QString m_key;
    QString m_name;
    // The lock file: in the records folder, or in the person's own socket
    // folder when the records folder cannot be written.
    QString m_lockPath;
    QString m_problem;
    std::unique_ptr<QLockFile> m_lock;
    QLocalServer* m_server = nullptr;
};
