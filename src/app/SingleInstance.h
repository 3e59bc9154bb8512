#pragma once

#include <QLockFile>
#include <QObject>
#include <QString>

class QLocalServer;
class QWidget;

namespace stolvar {

// One running program per program folder. The first start holds a lock file in the
// folder (a lock left by a killed process is taken over) and listens on a local socket
// named after the folder; a later start on the same folder finds the lock, asks the
// running program to show its window and ends without touching anything else. In a
// folder that takes no lock file the socket alone tells whether a program runs there.
class SingleInstance : public QObject
{
    Q_OBJECT
public:
    // `Later`: only the lock is taken, before the application object exists (the socket
    // needs its event loop); startListening() then finishes the start.
    enum class Listening { Now, Later };
    explicit SingleInstance(const QString& programFolder, Listening listening = Listening::Now,
                            QObject* parent = nullptr);
    ~SingleInstance() override;

    // Once the application object exists: decides what the lock could not decide and,
    // for the first start, listens for later starts.
    void startListening();
    // True when this start holds the folder's lock file: no other program runs there.
    bool holdsLock() const { return m_lock.isLocked(); }
    // True for the first start on the folder: it runs; false: another program runs there.
    bool isPrimary() const { return m_primary; }
    // A later start: asks the running program to show its window. False when it could
    // not be reached within `timeoutMs` (it may be starting or ending).
    bool askRunningToShow(int timeoutMs = 3000) const;
    // The first start: every request of a later start shows and raises `window`.
    void raiseOnRequest(QWidget* window);
    // Lets go of the lock and the socket now (before a quick exit).
    void release();

    // The local socket name for a folder (the same folder always gives the same name).
    static QString ServerName(const QString& programFolder);
    static QString LockFileName() { return QStringLiteral("stolvar.lock"); }

signals:
    void showRequested();

private:
    void listen();
    void onConnection();

    QString m_serverName;
    QLockFile m_lock;
    QLocalServer* m_server = nullptr;
    bool m_primary = false;
    bool m_started = false;
};

} // namespace stolvar
