#include "ServerSession.h"

#include "BackupStorage.h"
#include "FileFlusher.h"
#include "PartialUpload.h"
#include "PutRequest.h"
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
                             BackupStorage& storage, Transcript& transcript, FileFlusher& flusher,
                             QObject* parent)
    : QObject(parent), m_socket(socket), m_number(number), m_options(options), m_storage(storage),
      m_transcript(transcript), m_flusher(flusher)
{
    m_socket->setParent(this);
    m_socket->setReadBufferSize(kLineBufferBytes);
    enableKeepAlive(*m_socket);
    m_pauseTimer.setSingleShot(true);
    connect(&m_pauseTimer, &QTimer::timeout, this, &ServerSession::resumeAfterPause);
    m_deadline.setSingleShot(true);
    connect(&m_deadline, &QTimer::timeout, this, &ServerSession::onDeadline);
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
    // Whatever the client sent before it went is kept for a resume.
    while (m_state == State::Data && takeData(true)) {
    }
    m_pauseTimer.stop();
    // A file being flushed is still stored; the session ends after that.
    if (m_state != State::Storing)
        finish();
}

void ServerSession::finish()
{
    if (m_finished)
        return;
    m_finished = true;
    m_state = State::Closed;
    m_deadline.stop();
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

bool ServerSession::takeData(bool ignorePause)
{
    if (m_paused && !ignorePause)
        return false;
    if (m_socket->bytesAvailable() <= 0)
        return false;
    if (m_buffer.isEmpty())
        m_buffer.resize(kReceiveBufferBytes);

    qint64 wanted = std::min({m_socket->bytesAvailable(), m_remaining, qint64(m_buffer.size())});
    if (m_options.closeAfterBytes >= 0)
        wanted = std::min(wanted, m_options.closeAfterBytes - m_bytesReceived);
    if (m_options.chunkDelayMs > 0 && !ignorePause)
        wanted = std::min(wanted, kChunkBytes - m_bytesSincePause);
    const qint64 got = m_socket->read(m_buffer.data(), wanted);
    if (got <= 0)
        return false;

    QString error;
    if (!m_dropData && !m_upload->write(m_buffer.constData(), got, &error)) {
        qCWarning(lcServer).noquote() << "connection" << m_number << "cannot write:" << error;
        abortConnection(QStringLiteral("write failed: ") + error);
        return false;
    }
    m_remaining -= got;
    m_bytesReceived += got;
    m_bytesSincePause += got;

    if (m_options.closeAfterBytes >= 0 && m_bytesReceived >= m_options.closeAfterBytes) {
        abortConnection(QStringLiteral("closing after %1 bytes").arg(m_bytesReceived));
        return false;
    }
    if (m_remaining == 0)
        finishFile();
    if (m_options.chunkDelayMs > 0 && m_bytesSincePause >= kChunkBytes && !ignorePause) {
        m_bytesSincePause = 0;
        m_paused = true;
        m_pauseTimer.start(m_options.chunkDelayMs);
        return false;
    }
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

bool ServerSession::openUpload(const PutRequest& put, QString* problem)
{
    m_upload = m_storage.openPartial(m_account, put, problem);
    if (!m_upload)
        return false;
    // Another upload of the file took it over while this one was idle.
    m_upload->setRevokedHandler([this] {
        QMetaObject::invokeMethod(
            this,
            [this] { abortConnection(QStringLiteral("the partial file went to a newer upload")); },
            Qt::QueuedConnection);
    });
    return true;
}

void ServerSession::handlePut(const QString& arguments)
{
    QString problem;
    const auto put = PutRequest::parse(arguments, &problem);
    if (!put) {
        refusePut(QStringLiteral("501 ") + problem);
        return;
    }
    if (m_options.putReply) {
        handleForcedPutReply(*put);
        return;
    }
    if (m_storage.findWhole(m_account, *put)) {
        send(QStringLiteral("201 exists"));
        return;
    }
    if (!openUpload(*put, &problem)) {
        qCWarning(lcServer).noquote()
            << "connection" << m_number << "cannot receive" << put->name << ":" << problem;
        refusePut(QStringLiteral("451 ") + problem);
        return;
    }
    const qint64 held = m_upload->heldBytes();
    m_remaining = put->size - held;
    m_dropData = false;
    send(QStringLiteral("200 %1").arg(held));
    enterState(State::AwaitStart);
}

void ServerSession::refusePut(const QString& reply)
{
    // The client sends nothing for a refused file and goes on with its next
    // one on this connection.
    send(reply);
    m_putRefused = true;
}

// The fixed reply replaces the server's own decision. The bytes that follow
// are stored only when they fit what the partial file holds; a client that
// sent from an offset the server never had gets its bytes read and dropped.
void ServerSession::handleForcedPutReply(const PutRequest& put)
{
    const QString reply = *m_options.putReply;
    send(reply);
    if (reply.startsWith(QLatin1String("201")))
        return;

    QString problem;
    if (!openUpload(put, &problem)) {
        closeWithReply(QStringLiteral("451 ") + problem);
        return;
    }
    const qint64 offset = std::clamp<qint64>(wire::resumeOffset(reply), 0, put.size);
    m_dropData = offset > m_upload->heldBytes();
    if (!m_dropData && !m_upload->truncateTo(offset, &problem)) {
        closeWithReply(QStringLiteral("451 ") + problem);
        return;
    }
    m_remaining = put.size - offset;
    enterState(State::AwaitStart);
}

void ServerSession::handleStart(const QString& line)
{
    if (trimControls(line) != QLatin1String("START")) {
        closeWithReply(QStringLiteral("500 expected START"));
        return;
    }
    if (m_remaining == 0) {
        finishFile();
        return;
    }
    enterState(State::Data);
    if (m_options.closeAfterBytes >= 0 && m_bytesReceived >= m_options.closeAfterBytes)
        abortConnection(QStringLiteral("closing after %1 bytes").arg(m_bytesReceived));
}

void ServerSession::finishFile()
{
    if (m_dropData) {
        m_upload.reset();
        enterState(State::Commands);
        send(QStringLiteral("250 dropped"));
        return;
    }
    if (m_options.closeInsteadOfAck) {
        m_upload->suspend();
        m_upload.reset();
        abortConnection(QStringLiteral("closing instead of the acknowledgement"));
        return;
    }
    // The flush runs on another thread; other connections go on meanwhile.
    enterState(State::Storing);
    m_flusher.flush(*m_upload, m_options.syncFiles, m_options.flushDelayMs, this,
                    [this](bool flushed, const QString& error) { storeFile(flushed, error); });
}

void ServerSession::storeFile(bool flushed, const QString& flushError)
{
    QString error = flushError;
    QString stored;
    if (flushed)
        stored = m_upload->complete(&error);
    else
        m_upload->suspend();
    m_upload.reset();
    if (stored.isEmpty()) {
        // No acknowledgement, so the client does not take the file as stored.
        qCWarning(lcServer).noquote() << "connection" << m_number << "cannot store:" << error;
        if (m_disconnected)
            finish();
        else
            abortConnection(QStringLiteral("store failed: ") + error);
        return;
    }
    const QString relative = QDir(m_storage.root()).relativeFilePath(stored);
    m_transcript.event(m_number, QStringLiteral("stored ") + relative);
    qCInfo(lcServer).noquote() << "connection" << m_number << "stored" << relative;
    emit fileStored(m_account, stored);
    if (m_disconnected) {
        finish();
        return;
    }
    enterState(State::Commands);
    if (!m_options.noAck)
        send(QStringLiteral("250 stored"));
    takeInput(); // lines that came while the file was flushed
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
    m_upload.reset();
    m_socket->disconnectFromHost(); // after the reply has gone out
}

void ServerSession::abortConnection(const QString& reason)
{
    if (m_finished)
        return;
    qCInfo(lcServer).noquote() << "connection" << m_number << reason;
    m_transcript.event(m_number, reason);
    enterState(State::Closed);
    m_upload.reset();
    m_socket->abort();
}

} // namespace kyvane::server
