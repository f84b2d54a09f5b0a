#include "app/singleinstance.h"

#include "platform/paths.h"

#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QLocalServer>
#include <QLocalSocket>

#include <sys/stat.h>
#include <unistd.h>

#include <memory>

namespace pikotel {

namespace {

const QByteArray kActivate = QByteArrayLiteral("activate ");
const QByteArray kRaised = QByteArrayLiteral("raised\n");
const QByteArray kElsewhere = QByteArrayLiteral("elsewhere ");
constexpr int kTimeoutMs = 1000;
const QString kSocketName = QStringLiteral("pikotel-18");

// A folder only this user can enter: owned by us, no access for group or others.
bool isPrivateFolder(const QString& path) {
    struct stat info {};
    return !path.isEmpty() && ::stat(QFile::encodeName(path).constData(), &info) == 0 &&
           S_ISDIR(info.st_mode) && info.st_uid == ::getuid() && (info.st_mode & 077) == 0;
}

} // namespace

SingleInstance::SingleInstance(QString socketPath, QString place, QObject* parent)
    : QObject(parent), socketPath_(std::move(socketPath)), place_(std::move(place)) {}

SingleInstance::~SingleInstance() = default;

QString SingleInstance::defaultSocketPath() {
    const QString runtime = qEnvironmentVariable("XDG_RUNTIME_DIR");
    if (QDir::isAbsolutePath(runtime) && isPrivateFolder(runtime))
        return joinPath(runtime, kSocketName);
    // The settings folder is the user's own, made private where it is made.
    const QString folder = userConfigFolder();
    QString why;
    if (folder.isEmpty() || !makePrivateFolders(folder, why) || !isPrivateFolder(folder))
        return QString();
    return joinPath(folder, kSocketName);
}

QString SingleInstance::currentPlace() {
    const QString display = QGuiApplication::platformName() == QLatin1String("wayland")
                                ? qEnvironmentVariable("WAYLAND_DISPLAY")
                                : qEnvironmentVariable("DISPLAY");
    return QGuiApplication::platformName() + u':' + display;
}

SingleInstance::Answer SingleInstance::activateRunningInstance() {
    if (socketPath_.isEmpty())
        return Answer::NoneRunning;
    QLocalSocket socket;
    socket.connectToServer(socketPath_);
    if (!socket.waitForConnected(kTimeoutMs))
        return Answer::NoneRunning;
    socket.write(kActivate + place_.toUtf8() + '\n');
    socket.waitForBytesWritten(kTimeoutMs);
    QByteArray reply;
    while (!reply.endsWith('\n') && socket.waitForReadyRead(kTimeoutMs))
        reply += socket.readAll();
    socket.disconnectFromServer();
    if (reply.startsWith(kElsewhere)) {
        runningPlace_ = QString::fromUtf8(reply.mid(kElsewhere.size()).trimmed());
        return Answer::Elsewhere;
    }
    // One too busy to answer in time still has the request and raises its window when it
    // gets to it; a second program must not start beside it either way.
    return Answer::Raised;
}

bool SingleInstance::listen() {
    if (socketPath_.isEmpty())
        return false;
    server_ = new QLocalServer(this);
    server_->setSocketOptions(QLocalServer::UserAccessOption);
    if (!server_->listen(socketPath_)) {
        // A socket left behind by a program that crashed: nobody answered on it above.
        QLocalServer::removeServer(socketPath_);
        if (!server_->listen(socketPath_))
            return false;
    }
    connect(server_, &QLocalServer::newConnection, this, &SingleInstance::acceptConnections);
    return true;
}

void SingleInstance::acceptConnections() {
    while (QLocalSocket* socket = server_->nextPendingConnection()) {
        auto request = std::make_shared<QByteArray>();
        connect(socket, &QLocalSocket::readyRead, this, [this, socket, request] {
            *request += socket->readAll();
            if (!request->startsWith(kActivate) || !request->endsWith('\n'))
                return;
            const QString place = QString::fromUtf8(request->mid(kActivate.size()).trimmed());
            if (place == place_) {
                socket->write(kRaised);
                emit activationRequested();
            } else {
                socket->write(kElsewhere + place_.toUtf8() + '\n');
            }
            socket->flush();
        });
        connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
    }
}

} // namespace pikotel
