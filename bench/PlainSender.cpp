#include "PlainSender.h"

#include "transfer/Digest.h"
#include "transfer/WireFormat.h"

#include <QByteArray>
#include <QFile>
#include <QFileInfo>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <sys/socket.h>
#include <unistd.h>

#include <vector>

namespace {

struct Socket
{
    int fd = -1;
    QByteArray pending;
    ~Socket()
    {
        if (fd >= 0)
            ::close(fd);
    }

    bool sendAll(const char* data, size_t size)
    {
        while (size > 0) {
            const ssize_t sent = ::send(fd, data, size, MSG_NOSIGNAL);
            if (sent <= 0)
                return false;
            data += sent;
            size -= static_cast<size_t>(sent);
        }
        return true;
    }

    bool sendLine(const QString& text)
    {
        const QByteArray line = kyvane::wire::encodeLine(text);
        return sendAll(line.constData(), static_cast<size_t>(line.size()));
    }

    QString readLine()
    {
        for (;;) {
            const qsizetype lf = pending.indexOf('\n');
            if (lf >= 0) {
                QByteArray line = pending.left(lf);
                pending.remove(0, lf + 1);
                if (line.endsWith('\r'))
                    line.chop(1);
                return QString::fromLatin1(line);
            }
            char buffer[4096];
            const ssize_t got = ::recv(fd, buffer, sizeof buffer, 0);
            if (got <= 0)
                return QStringLiteral("<closed>");
            pending.append(buffer, got);
        }
    }
};

// Offers one file and sends what the receiver asks for.
QString sendFile(Socket& socket, const QString& path, std::vector<char>& buffer)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return file.errorString();
    const QFileInfo info(path);
    if (!socket.sendLine(kyvane::wire::putLine(file.size(), info.fileName(), info.birthTime(),
                                               info.lastModified(), QStringLiteral("none"))))
        return QStringLiteral("send failed");
    const QString reply = socket.readLine();
    if (reply.startsWith(QLatin1String("201")))
        return QString();
    file.seek(kyvane::wire::resumeOffset(reply));
    if (!socket.sendLine(QStringLiteral("START")))
        return QStringLiteral("send failed");
    for (;;) {
        const qint64 got = file.read(buffer.data(), static_cast<qint64>(buffer.size()));
        if (got < 0)
            return file.errorString();
        if (got == 0)
            break;
        if (!socket.sendAll(buffer.data(), static_cast<size_t>(got)))
            return QStringLiteral("send failed");
    }
    const QString ack = socket.readLine();
    return ack == QLatin1String("<closed>") ? QStringLiteral("no acknowledgement") : QString();
}

} // namespace

QString plainSend(const QString& address, quint16 port, const QString& account,
                  const QString& password, const QStringList& paths, bool noDelay)
{
    Socket socket;
    socket.fd = ::socket(AF_INET, SOCK_STREAM, 0);
    if (noDelay) {
        const int on = 1;
        ::setsockopt(socket.fd, IPPROTO_TCP, TCP_NODELAY, &on, sizeof on);
    }
    sockaddr_in peer{};
    peer.sin_family = AF_INET;
    peer.sin_port = htons(port);
    ::inet_pton(AF_INET, address.toLatin1().constData(), &peer.sin_addr);
    if (::connect(socket.fd, reinterpret_cast<sockaddr*>(&peer), sizeof peer) != 0)
        return QStringLiteral("connect failed");

    const QString nonce = kyvane::wire::nonceFromGreeting(socket.readLine());
    socket.sendLine("helo " + kyvane::wire::trimControls(kyvane::FloatEnc(nonce)));
    socket.readLine();
    socket.sendLine("auth " + account + " " +
                    kyvane::LockboxMD5(kyvane::passwordDigest(password) + "=" + nonce));
    if (!socket.readLine().startsWith(QLatin1String("100")))
        return QStringLiteral("login refused");

    std::vector<char> buffer(819200);
    for (const QString& path : paths) {
        const QString error = sendFile(socket, path, buffer);
        if (!error.isEmpty())
            return error;
    }
    return QString();
}
