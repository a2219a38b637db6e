#include "ServerSession.h"

#include "PartialUpload.h"
#include "SafeName.h"
#include "ServerLogging.h"
#include "ServerProtocol.h"
#include "Transcript.h"
#include "transfer/WireFormat.h"

#include <QDir>
#include <QTcpSocket>

#include <algorithm>

#ifdef Q_OS_LINUX
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <sys/socket.h>
#endif

namespace kyvane::server {

using namespace protocol;
using wire::decodeLine;
using wire::encodeLine;
using wire::kMaxLineBytes;
using wire::trimControls;

namespace {

// The system probes a connection that has been silent for a minute, so a
// peer that vanished without closing is dropped within about a minute and a
// half, even while the connection waits on the disk.
void enableKeepAlive(QTcpSocket& socket)
{
    socket.setSocketOption(QAbstractSocket::KeepAliveOption, 1);
#ifdef Q_OS_LINUX
    const int descriptor = int(socket.socketDescriptor());
    const int idleSeconds = 60;
    const int intervalSeconds = 10;
    const int probes = 3;
    ::setsockopt(descriptor, IPPROTO_TCP, TCP_KEEPIDLE, &idleSeconds, sizeof idleSeconds);
    ::setsockopt(descriptor, IPPROTO_TCP, TCP_KEEPINTVL, &intervalSeconds, sizeof intervalSeconds);
    ::setsockopt(descriptor, IPPROTO_TCP, TCP_KEEPCNT, &probes, sizeof probes);
#endif
}

} // namespace

ServerSession::ServerSession(QTcpSocket* socket, quint64 number, const ServerOptions& options,
                             BackupStorage& storage, Transcript& transcript, DiskJobs& disk,
                             QObject* parent)
    : QObject(parent), m_socket(socket), m_number(number), m_options(options), m_storage(storage),
      m_transcript(transcript), m_disk(disk)
{
    m_socket->setParent(this);
    m_socket->setReadBufferSize(kLineBufferBytes);
    enableKeepAlive(*m_socket);
    m_pauseTimer.setSingleShot(true);
    connect(&m_pauseTimer, &QTimer::timeout, this, &ServerSession::resumeAfterPause);
    m_deadline.setSingleShot(true);
    connect(&m_deadline, &QTimer::timeout, this, &ServerSession::onDeadline);
    m_takeoverTimer.setSingleShot(true);
    connect(&m_takeoverTimer, &QTimer::timeout, this, &ServerSession::onTakeoverTime);
    connect(&m_takeoverWatch, &QTimer::timeout, this, &ServerSession::onTakeoverWatch);
    connect(m_socket, &QTcpSocket::readyRead, this, &ServerSession::onReadyRead);
    connect(m_socket, &QTcpSocket::bytesWritten, this, &ServerSession::onBytesWritten);
    connect(m_socket, &QTcpSocket::disconnected, this, &ServerSession::onDisconnected);
}

ServerSession::~ServerSession() = default;

void ServerSession::start()
{
    const QString peer =
        QStringLiteral("%1:%2").arg(m_socket->peerAddress().toString()).arg(m_socket->peerPort());
    m_transcript.event(m_number, QStringLiteral("open ") + peer);
    qCInfo(lcServer).noquote() << "connection" << m_number << "from" << peer;

    // The nonce is what the client reads: the greeting as it goes on the wire.
    const QString greeting =
        decodeLine(encodeLine(m_options.greeting.value_or(greetingFor(makeNonce()))).chopped(2));
    m_nonce = wire::nonceFromGreeting(greeting);
    m_deadline.start(m_options.loginTimeoutMs);
    send(greeting);
}

void ServerSession::onReadyRead()
{
    noteActivity();
    takeInput();
}

void ServerSession::onBytesWritten()
{
    noteActivity();
    if (m_socket->bytesToWrite() <= kMaxUnsentBytes)
        takeInput();
}

void ServerSession::takeInput()
{
    while (!m_paused) {
        if (m_state == State::Data) {
            if (!takeData(false))
                break;
            continue;
        }
        if (m_state == State::Closed || m_state == State::Storing)
            break;
        // Every line may bring a reply: read on once the client has read.
        if (m_socket->bytesToWrite() > kMaxUnsentBytes)
            break;
        if (!takeLine())
            break;
    }
}

void ServerSession::noteActivity()
{
    if (m_state == State::Commands || m_state == State::AwaitStart || m_state == State::Data)
        m_deadline.start(m_options.idleTimeoutMs);
}

void ServerSession::enterState(State state)
{
    m_state = state;
    // File bytes come in large pieces, lines in small ones. With a slow-down
    // the socket holds no more than one chunk, so the client's sending really
    // waits for us instead of filling our memory.
    if (state != State::Data)
        m_socket->setReadBufferSize(kLineBufferBytes);
    else
        m_socket->setReadBufferSize(m_options.chunkDelayMs > 0 ? kChunkBytes : kSocketBufferBytes);

    switch (state) {
    case State::Helo:
    case State::Auth:
        break; // the login time-out runs from the start
    case State::Commands:
    case State::AwaitStart:
    case State::Data:
        m_deadline.start(m_options.idleTimeoutMs);
        break;
    case State::Storing:
        m_deadline.stop(); // our own disk is slow, not the client
        break;
    case State::Closed:
        m_deadline.start(kClosingGraceMs);
        break;
    }
}

void ServerSession::onDeadline()
{
    switch (m_state) {
    case State::Helo:
    case State::Auth:
        abortConnection(QStringLiteral("login time-out"));
        break;
    case State::Closed:
        abortConnection(QStringLiteral("the last reply was not taken in time"));
        break;
    default:
        abortConnection(QStringLiteral("idle time-out"));
        break;
    }
}

void ServerSession::onDisconnected()
{
    if (m_disconnected)
        return;
    m_disconnected = true;
    m_pauseTimer.stop();
    m_paused = false;
    // A file being stored is still stored; the session ends after that.
    if (m_state != State::Storing)
        finishAfterDisk();
}

void ServerSession::finishAfterDisk()
{
    m_finishing = true;
    // Whatever the client sent before it went is kept for a resume.
    while (m_state == State::Data && takeData(true)) {
    }
    if (m_state == State::Storing)
        return; // storeFile() ends the session
    if (!m_writing && !m_pending.isEmpty() && keepsData())
        writePending();
    if (m_writing)
        return; // onWritten() comes back here
    finish();
}

void ServerSession::finish()
{
    if (m_finished)
        return;
    m_finished = true;
    m_state = State::Closed;
    m_deadline.stop();
    m_takeoverTimer.stop();
    m_takeoverWatch.stop();
    m_upload.reset();
    m_transcript.event(m_number, QStringLiteral("closed"));
    qCInfo(lcServer).noquote() << "connection" << m_number << "closed";
    disconnect(m_socket, nullptr, this, nullptr);
    emit finished();
}

void ServerSession::resumeAfterPause()
{
    m_paused = false;
    takeInput();
}

bool ServerSession::takeLine()
{
    if (!m_socket->canReadLine()) {
        // No line end yet: more than a longest line plus CR cannot become valid.
        if (m_socket->bytesAvailable() > kMaxLineBytes + 1)
            abortConnection(QStringLiteral("line too long"));
        return false;
    }
    QByteArray raw = m_socket->readLine(kMaxLineBytes + 3);
    if (!raw.endsWith('\n')) {
        abortConnection(QStringLiteral("line too long"));
        return false;
    }
    raw.chop(1);
    if (raw.endsWith('\r'))
        raw.chop(1);
    if (raw.size() > kMaxLineBytes) {
        abortConnection(QStringLiteral("line too long"));
        return false;
    }
    const QString line = decodeLine(raw);
    m_transcript.line(m_number, line);
    handleLine(line);
    return true;
}

void ServerSession::handleLine(const QString& line)
{
    switch (m_state) {
    case State::Helo:
        handleHelo(line);
        break;
    case State::Auth:
        handleAuth(line);
        break;
    case State::Commands:
        handleCommand(line);
        break;
    case State::AwaitStart:
        handleStart(line);
        break;
    case State::Data:
    case State::Storing:
    case State::Closed:
        break;
    }
}

void ServerSession::handleHelo(const QString& line)
{
    const QString text = trimControls(line);
    const bool isHelo = text == QLatin1String("helo") || text.startsWith(QLatin1String("helo "));
    if (m_options.refuseHelo || !isHelo || trimControls(text.mid(5)) != expectedHelo(m_nonce)) {
        closeWithReply(QStringLiteral("500 helo refused"));
        return;
    }
    send(QStringLiteral("001 hello"));
    enterState(State::Auth);
}

void ServerSession::handleAuth(const QString& line)
{
    const QString text = trimControls(line);
    QString account;
    QString proof;
    const qsizetype lastBlank = text.lastIndexOf(QLatin1Char(' '));
    if (text.startsWith(QLatin1String("auth ")) && lastBlank > 4) {
        account = text.mid(5, lastBlank - 5);
        proof = text.mid(lastBlank + 1);
    }
    const auto password = m_options.accounts.constFind(account);
    const bool valid = !m_options.refuseAuth && password != m_options.accounts.cend() &&
                       safename::isSafeAccountName(account) &&
                       proof == expectedProof(*password, m_nonce);
    if (!valid) {
        qCInfo(lcServer).noquote() << "connection" << m_number << "login refused for" << account;
        closeWithReply(QStringLiteral("401 login refused"));
        return;
    }
    m_account = account;
    qCInfo(lcServer).noquote() << "connection" << m_number << "logged in as" << account;
    send(QStringLiteral("100 welcome"));
    enterState(State::Commands);
}

void ServerSession::handleCommand(const QString& line)
{
    const QString text = trimControls(line);
    if (text.isEmpty())
        return;
    if (text == QLatin1String("put") || text.startsWith(QLatin1String("put "))) {
        m_unknownCommands = 0;
        m_putRefused = false;
        handlePut(text.mid(4));
    } else if (m_putRefused && text == QLatin1String("START")) {
        closeWithReply(QStringLiteral("500 no upload after a refused put"));
    } else if (++m_unknownCommands >= kMaxUnknownCommands) {
        closeWithReply(QStringLiteral("500 too many unknown commands"));
    } else {
        send(QStringLiteral("500 unknown command"));
    }
}

void ServerSession::send(const QString& line)
{
    if (m_socket->state() == QAbstractSocket::ConnectedState)
        m_socket->write(encodeLine(line));
}

void ServerSession::closeWithReply(const QString& line)
{
    send(line);
    enterState(State::Closed);
    dropUpload();
    m_socket->disconnectFromHost(); // after the reply has gone out
}

void ServerSession::abortConnection(const QString& reason)
{
    if (m_finished)
        return;
    qCInfo(lcServer).noquote() << "connection" << m_number << reason;
    m_transcript.event(m_number, reason);
    enterState(State::Closed);
    // Bytes read before the end still go to the partial file, then the
    // session lets it go (finishAfterDisk).
    m_socket->abort();
}

} // namespace kyvane::server
