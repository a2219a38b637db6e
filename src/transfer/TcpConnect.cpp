#include "transfer/TcpConnect.h"

#include "transfer/StopWait.h"
#include "transfer/TransferError.h"

#include <QDeadlineTimer>
#include <QUrl>

#include <arpa/inet.h>
#include <fcntl.h>
#include <netdb.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <condition_variable>
#include <cstring>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace kyvane {

namespace {

[[noreturn]] void failWith(int error)
{
    throw TransferError(QString::fromLocal8Bit(std::strerror(error)));
}

[[noreturn]] void timedOut()
{
    throw TransferError(QStringLiteral("Connect timed out."));
}

// The system's resolver cannot be interrupted, so a name is looked up on a
// thread of its own that the worker waits for in short steps. A worker that
// stops or times out leaves that thread behind; it ends by itself when the
// resolver returns, holding only its own share of the result.
struct Lookup
{
    std::mutex mutex;
    std::condition_variable done;
    bool finished = false;
    int status = 0;
    std::vector<sockaddr_in> addresses;
};

std::vector<sockaddr_in> lookUp(const std::string& name, const QDeadlineTimer& deadline,
                                const StopToken* stop)
{
    auto lookup = std::make_shared<Lookup>();
    std::thread([lookup, name] {
        addrinfo hints{};
        hints.ai_family = AF_INET;
        hints.ai_socktype = SOCK_STREAM;
        addrinfo* found = nullptr;
        const int status = getaddrinfo(name.c_str(), nullptr, &hints, &found);
        std::vector<sockaddr_in> addresses;
        for (const addrinfo* a = found; status == 0 && a; a = a->ai_next) {
            if (a->ai_family == AF_INET && a->ai_addrlen >= sizeof(sockaddr_in))
                addresses.push_back(*reinterpret_cast<const sockaddr_in*>(a->ai_addr));
        }
        if (found)
            freeaddrinfo(found);
        const std::lock_guard locker(lookup->mutex);
        lookup->status = status;
        lookup->addresses = std::move(addresses);
        lookup->finished = true;
        lookup->done.notify_all();
    }).detach();

    std::unique_lock locker(lookup->mutex);
    while (!lookup->finished) {
        throwIfStopped(stop);
        if (deadline.hasExpired())
            timedOut();
        lookup->done.wait_for(locker, std::chrono::milliseconds(nextWaitMs(deadline, stop)));
    }
    if (lookup->status != 0 || lookup->addresses.empty())
        throw TransferError(QStringLiteral("Host not found."));
    return lookup->addresses;
}

std::vector<sockaddr_in> addressesOf(const QString& host, quint16 port,
                                     const QDeadlineTimer& deadline, const StopToken* stop)
{
    // A name as the resolver wants it (international names in their ASCII
    // form); an empty result means the name cannot be one.
    const QByteArray ascii = QUrl::toAce(host);
    if (ascii.isEmpty())
        throw TransferError(QStringLiteral("Host not found."));
    std::vector<sockaddr_in> addresses;
    sockaddr_in literal{};
    if (inet_pton(AF_INET, ascii.constData(), &literal.sin_addr) == 1) {
        literal.sin_family = AF_INET;
        addresses.push_back(literal);
    } else {
        addresses = lookUp(ascii.toStdString(), deadline, stop);
    }
    for (sockaddr_in& address : addresses)
        address.sin_port = htons(port);
    return addresses;
}

// Connects fd to address; 0 on success, else the error.
int connectOne(int fd, const sockaddr_in& address, const QDeadlineTimer& deadline,
               const StopToken* stop)
{
    if (::connect(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) == 0)
        return 0;
    if (errno != EINPROGRESS)
        return errno;
    const int waited = waitForSocket(fd, POLLOUT, deadline, stop);
    if (waited == ETIMEDOUT)
        timedOut();
    if (waited != 0)
        return waited;
    int error = 0;
    socklen_t length = sizeof error;
    if (getsockopt(fd, SOL_SOCKET, SO_ERROR, &error, &length) != 0)
        return errno;
    return error;
}

} // namespace

int connectTcp(const QString& host, quint16 port, int timeoutMs, const StopToken* stop)
{
    const QDeadlineTimer deadline(timeoutMs);
    throwIfStopped(stop);
    int lastError = EHOSTUNREACH;
    for (const sockaddr_in& address : addressesOf(host, port, deadline, stop)) {
        const int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
        if (fd < 0)
            failWith(errno);
        try {
            lastError = connectOne(fd, address, deadline, stop);
        } catch (...) {
            ::close(fd);
            throw;
        }
        if (lastError == 0)
            return fd;
        ::close(fd);
    }
    failWith(lastError);
}

} // namespace kyvane
