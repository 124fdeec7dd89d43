#pragma once

#include <QByteArray>
#include <QList>
#include <QObject>
#include <QString>
#include <QStringList>

class QLocalServer;
class QLocalSocket;

// The channel between a second start and the running instance. The running instance
// listens on a local socket named from its storage folder and its handle (the process
// id it writes into the instance record); a second start connects, sends each of its
// arguments in order and then the come-to-front message.
namespace InstanceChannel {

// A frame on the wire: one type byte, a 32-bit little-endian length, that many bytes.
enum MessageType : quint8 { Argument = 1, ComeToFront = 2 };

// Longest argument carried (UTF-8 bytes); longer ones are not sent, since a cut path
// would name another file.
inline constexpr int MaxArgumentBytes = 32 * 1024;

QString name(const QString &storageFolder, qint32 handle);

QByteArray frame(MessageType type, const QByteArray &payload = {});

// Connects to the instance and hands over the arguments and the come-to-front
// message. False when nothing answers on the channel.
bool handOver(const QString &storageFolder, qint32 handle, const QStringList &arguments, int timeoutMs);

} // namespace InstanceChannel

// The receiving side, owned by the main window: one signal per message, in the order
// each second start sent them.
class InstanceServer : public QObject
{
    Q_OBJECT

public:
    explicit InstanceServer(QObject *parent = nullptr);
    ~InstanceServer() override;

    // Listens on the channel of this storage folder and handle (the handle written into
    // the instance record; listen before writing it, so a second start that reads the
    // record finds the channel). Listening again under the same name does nothing.
    bool listen(const QString &storageFolder, qint32 handle);
    void close();
    bool isListening() const;
    QString channelName() const;

signals:
    void argumentReceived(const QString &argument);
    void bringToFrontRequested();

private:
    void accept();
    void readFrom(QLocalSocket *socket, QByteArray &pending);
    void deliver();

    struct Message
    {
        quint8 type;
        QString argument;
    };

    QLocalServer *m_server;
    QList<Message> m_queue;
};
