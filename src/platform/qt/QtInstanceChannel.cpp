#include "platform/qt/QtInstanceChannel.h"

#include <QCryptographicHash>
#include <QDeadlineTimer>
#include <QLocalSocket>
#include <QThread>

#include <unistd.h>

namespace surftally {

namespace {

QString channelName(const std::filesystem::path& folder) {
    std::error_code ec;
    std::filesystem::path canonical = std::filesystem::weakly_canonical(folder, ec);
    if (ec) {
        canonical = folder;
    }
    const QByteArray hash = QCryptographicHash::hash(QByteArray::fromStdString(canonical.string()),
                                                     QCryptographicHash::Sha1);
    return QStringLiteral("surftally-%1-%2")
        .arg(static_cast<qulonglong>(::getuid()))
        .arg(QString::fromLatin1(hash.toHex().left(16)));
}

constexpr char kRequest[] = "show\n";

}  // namespace

QtInstanceChannel::QtInstanceChannel(const std::filesystem::path& folder)
    : name_(channelName(folder)) {}

bool QtInstanceChannel::listen(std::function<void()> onRequest, std::function<void()>) {
    onRequest_ = std::move(onRequest);
    server_.setSocketOptions(QLocalServer::UserAccessOption);
    // The folder's lock is ours, so a socket of that name is a killed program's leftover.
    QLocalServer::removeServer(name_);
    if (!server_.listen(name_)) {
        return false;
    }
    QObject::connect(&server_, &QLocalServer::newConnection, &server_, [this] {
        while (QLocalSocket* socket = server_.nextPendingConnection()) {
            QObject::connect(socket, &QLocalSocket::readyRead, socket, [this, socket] {
                if (socket->readAll().contains('\n') && onRequest_) {
                    onRequest_();
                }
                socket->disconnectFromServer();
            });
            QObject::connect(socket, &QLocalSocket::disconnected, socket,
                             &QLocalSocket::deleteLater);
        }
    });
    return true;
}

bool QtInstanceChannel::ask(int timeoutMs) const {
    // The running program may still be starting up: try again until the deadline.
    QDeadlineTimer deadline(timeoutMs);
    while (true) {
        QLocalSocket socket;
        socket.connectToServer(name_);
        if (socket.waitForConnected(static_cast<int>(deadline.remainingTime()))) {
            socket.write(kRequest);
            return socket.waitForBytesWritten(1000);
        }
        if (deadline.hasExpired()) {
            return false;
        }
        QThread::msleep(100);
    }
}

}  // namespace surftally
