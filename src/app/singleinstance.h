#pragma once

// One running program per user. The first instance listens on a local socket named for the
// user; a later launch finds it, asks it to bring its window to the front restored, and
// ends without reading or writing anything.

#include <QObject>
#include <QString>

class QLocalServer;

namespace pikotel {

class SingleInstance : public QObject {
    Q_OBJECT
public:
    explicit SingleInstance(QString name = defaultName(), QObject* parent = nullptr);
    ~SingleInstance() override;

    // True when another instance answered; it has been asked to come to the front.
    bool activateRunningInstance();
    // Starts listening; false when the name cannot be taken.
    bool listen();

    static QString defaultName();

signals:
    void activationRequested();

private:
    void acceptConnections();

    QString name_;
    QLocalServer* server_ = nullptr;
};

} // namespace pikotel
