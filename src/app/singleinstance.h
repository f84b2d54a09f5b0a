#pragma once

// One running program per user. The first instance listens on a local socket in the user's
// runtime folder ($XDG_RUNTIME_DIR, which only the user can enter; without it a private
// folder of the user's), never at a name in a shared folder that another user could take
// first. A later launch on the same display asks it to bring its window to the front and
// ends without reading or writing anything; a launch on another display (a second login
// of the same user) is told where the program runs instead of raising a window nobody at
// that display can see.

#include <QObject>
#include <QString>

class QLocalServer;

namespace pikotel {

class SingleInstance : public QObject {
    Q_OBJECT
public:
    // socketPath: the socket's file; place: the display this launch shows its windows on.
    SingleInstance(QString socketPath, QString place, QObject* parent = nullptr);
    ~SingleInstance() override;

    enum class Answer {
        NoneRunning,
        Raised,   // the running instance, on this display, brings its window to the front
        Elsewhere // it runs on another display, named by runningPlace()
    };
    Answer activateRunningInstance();
    QString runningPlace() const { return runningPlace_; }
    // Starts listening; false when the socket cannot be made.
    bool listen();

    // The socket in the user's runtime folder; empty when there is no private folder for it.
    static QString defaultSocketPath();
    // The display of this process's windows, as a launch compares it with another's.
    static QString currentPlace();

signals:
    void activationRequested();

private:
    void acceptConnections();

    QString socketPath_;
    QString place_;
    QString runningPlace_;
    QLocalServer* server_ = nullptr;
};

} // namespace pikotel
