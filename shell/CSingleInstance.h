#pragma once

// One running copy per device. The first copy holds a lock file and listens
// on a local socket, both in the user's runtime folder and named after the
// device; a later copy for the same device finds the lock held, asks the
// first one over the socket to bring its window forward, and ends.

#include <QObject>
#include <QString>

#include <memory>

class QLocalServer;
class QLockFile;

class CSingleInstance : public QObject
{
    Q_OBJECT
public:
    // `name` is the device's single-instance name ("Module:" + User.ini
    // name + address + port); `folder` defaults to the runtime folder.
    explicit CSingleInstance(const QString& name, const QString& folder = QString(), QObject* parent = nullptr);
    ~CSingleInstance() override;

    // True when this process is now the one copy for the device. False when
    // another live copy holds it: that copy has then been asked to come
    // forward.
    bool Acquire();

    // File-name-safe form of a single-instance name (also fits the length
    // limit of a local socket path).
    static QString SafeName(const QString& name);

    QString LockFilePath() const;
    QString ServerPath() const;

signals:
    // Another start for the same device asked this copy to come forward.
    void activateRequested();

private:
    void NotifyRunningCopy();

    QString m_strName;
    QString m_strFolder;
    std::unique_ptr<QLockFile> m_pLock;
    QLocalServer* m_pServer = nullptr;
};
