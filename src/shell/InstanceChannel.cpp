#include "InstanceChannel.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFileInfo>
#include <QLocalServer>
#include <QLocalSocket>
#include <QtEndian>

#include <memory>

#include <unistd.h>

namespace {

constexpr int kHeaderSize = 5;
// Bytes kept unread per connection; a sender beyond this is not a second start.
constexpr qsizetype kMaxPending = 4 * 1024 * 1024;

} // namespace

namespace InstanceChannel {

QString name(const QString &storageFolder, qint32 handle)
{
    // The same folder reached by another spelling (a link, "..") names the same channel.
    const QFileInfo info(storageFolder);
    const QString folder = info.exists() ? info.canonicalFilePath() : QDir::cleanPath(info.absoluteFilePath());
    const QByteArray hash = QCryptographicHash::hash(folder.toUtf8(), QCryptographicHash::Sha256).toHex().left(16);
    // The user id keeps users apart: the socket lives in the shared temporary folder.
    return QStringLiteral("vaultbase-%1-%2-%3").arg(uint(::getuid())).arg(QLatin1String(hash)).arg(handle);
}

QByteArray frame(MessageType type, const QByteArray &payload)
{
    QByteArray bytes(kHeaderSize, Qt::Uninitialized);
    bytes[0] = char(type);
    qToLittleEndian<quint32>(quint32(payload.size()), bytes.data() + 1);
    return bytes + payload;
}

bool handOver(const QString &storageFolder, qint32 handle, const QStringList &arguments, int timeoutMs)
{
    QLocalSocket socket;
    socket.connectToServer(name(storageFolder, handle));
    if (!socket.waitForConnected(timeoutMs)) {
        return false;
    }
    QByteArray message;
    for (const QString &argument : arguments) {
        const QByteArray bytes = argument.toUtf8();
        if (bytes.size() <= MaxArgumentBytes) {
            message += frame(Argument, bytes);
        }
    }
    message += frame(ComeToFront);
    socket.write(message);
    while (socket.bytesToWrite() > 0) {
        if (!socket.waitForBytesWritten(timeoutMs)) {
            return false;
        }
    }
    socket.disconnectFromServer();
    if (socket.state() != QLocalSocket::UnconnectedState) {
        socket.waitForDisconnected(timeoutMs);
    }
    return true;
}

} // namespace InstanceChannel

InstanceServer::InstanceServer(QObject *parent) : QObject(parent), m_server(new QLocalServer(this))
{
    // Only the same user may hand files over.
    m_server->setSocketOptions(QLocalServer::UserAccessOption);
    connect(m_server, &QLocalServer::newConnection, this, &InstanceServer::accept);
}

InstanceServer::~InstanceServer() = default;

bool InstanceServer::listen(const QString &storageFolder, qint32 handle)
{
    const QString wanted = InstanceChannel::name(storageFolder, handle);
    if (m_server->isListening()) {
        if (m_server->serverName() == wanted) {
            return true;
        }
        m_server->close();
    }
    if (m_server->listen(wanted)) {
        return true;
    }
    // The name carries our own process id, so a socket left under it belongs to a
    // crashed process that had the same id: nobody answers there any more.
    if (m_server->serverError() == QAbstractSocket::AddressInUseError) {
        QLocalServer::removeServer(wanted);
        return m_server->listen(wanted);
    }
    return false;
}

void InstanceServer::close()
{
    m_server->close();
}

bool InstanceServer::isListening() const
{
    return m_server->isListening();
}

QString InstanceServer::channelName() const
{
    return m_server->serverName();
}

void InstanceServer::accept()
{
    while (QLocalSocket *socket = m_server->nextPendingConnection()) {
        auto pending = std::make_shared<QByteArray>();
        connect(socket, &QLocalSocket::readyRead, this, [this, socket, pending] { readFrom(socket, *pending); });
        connect(socket, &QLocalSocket::disconnected, this, [this, socket, pending] {
            readFrom(socket, *pending);
            socket->deleteLater();
        });
        readFrom(socket, *pending);
    }
}

void InstanceServer::readFrom(QLocalSocket *socket, QByteArray &pending)
{
    pending += socket->readAll();
    qsizetype at = 0;
    bool garbage = false;
    while (pending.size() - at >= kHeaderSize) {
        const auto type = quint8(pending.at(at));
        const quint32 length = qFromLittleEndian<quint32>(pending.constData() + at + 1);
        const bool known = type == InstanceChannel::Argument || type == InstanceChannel::ComeToFront;
        if (!known || length > quint32(InstanceChannel::MaxArgumentBytes)) {
            garbage = true; // not a second start of this program
            break;
        }
        if (pending.size() - at - kHeaderSize < qsizetype(length)) {
            break;
        }
        Message message{type, QString::fromUtf8(pending.mid(at + kHeaderSize, length))};
        m_queue.append(std::move(message));
        at += kHeaderSize + length;
    }
    pending.remove(0, at);
    if (garbage || pending.size() > kMaxPending) {
        pending.clear();
        socket->disconnect(this);
        socket->abort();
        socket->deleteLater();
    }
    deliver();
}

void InstanceServer::deliver()
{
    // A receiver may run a nested event loop (a password dialog); messages arriving
    // meanwhile are delivered from there, still in order, as each is taken off the
    // queue before it is announced.
    while (!m_queue.isEmpty()) {
        const Message message = m_queue.takeFirst();
        if (message.type == InstanceChannel::Argument) {
            emit argumentReceived(message.argument);
        } else {
            emit bringToFrontRequested();
        }
    }
}
