#pragma once

#include <QLockFile>
#include <QObject>
#include <QString>

#include <memory>

class QLocalServer;

// One Pawfolio per program folder. The first start takes a lock on the
// folder and listens for later starts; a later start on the same folder asks
// the first to come to the front and ends, so that two processes never write
// the same record files. A lock left by a process that died is taken over.
class SingleInstance : public QObject {
    Q_OBJECT
public:
    explicit SingleInstance(const QString& programFolder, QObject* parent = nullptr);
    ~SingleInstance() override;

    // True when this process is now the Pawfolio of the folder. False when
    // another one runs: it has been asked to come to the front.
    bool start();

    // The lock file: in the program folder, or beside the other temporary
    // files when the program folder cannot be written.
    QString lockPath() const { return m_lockPath; }
    // The name both starts meet under; one per program folder.
    static QString serverName(const QString& programFolder);

signals:
    // Another start on this folder asked this one to come to the front.
    void raiseRequested();

private:
    void listen();
    static void askFirstToRaise(const QString& name);

    QString m_name;
    QString m_lockPath;
    std::unique_ptr<QLockFile> m_lock;
    QLocalServer* m_server = nullptr;
};
