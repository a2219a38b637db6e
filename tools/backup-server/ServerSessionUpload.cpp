// The receiving and storing of one file: put, START, the bytes, the store.
#include "ServerSession.h"

#include "BackupStorage.h"
#include "DiskJobs.h"
#include "PartialUpload.h"
#include "PutRequest.h"
#include "ServerLogging.h"
#include "ServerProtocol.h"
#include "Transcript.h"
#include "transfer/WireFormat.h"

#include <QDir>
#include <QTcpSocket>
#include <QThread>

#include <algorithm>
#include <utility>

namespace kyvane::server {

using namespace protocol;

namespace {

QString timeOrNone(const QDateTime& moment)
{
    return moment.isValid() ? wire::timeField(moment) : QStringLiteral("none");
}

} // namespace

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
    m_remaining = put->size - m_written;
    send(QStringLiteral("200 %1").arg(m_written));
    enterState(State::AwaitStart);
}

void ServerSession::refusePut(const QString& reply)
{
    // The client sends nothing for a refused file and goes on with its next
    // one on this connection.
    send(reply);
    m_putRefused = true;
}

bool ServerSession::openUpload(const PutRequest& put, QString* problem)
{
    m_upload = m_storage.openPartial(m_account, put, problem);
    if (!m_upload)
        return false;
    m_written = std::max<qint64>(0, m_upload->heldBytes());
    m_dropData = false;
    m_writeError.reset();
    m_pending.clear();
    m_takeoverTimer.start(m_options.takeoverAfterMs);
    return true;
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
    m_dropData = offset > m_written;
    if (!m_dropData) {
        if (!m_upload->truncateTo(offset, &problem)) {
            closeWithReply(QStringLiteral("451 ") + problem);
            return;
        }
        m_written = offset;
    }
    m_remaining = put.size - offset;
    enterState(State::AwaitStart);
}

void ServerSession::handleStart(const QString& line)
{
    if (wire::trimControls(line) != QLatin1String("START")) {
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

bool ServerSession::takeData(bool ignorePause)
{
    if (m_paused && !ignorePause)
        return false;
    if (m_socket->bytesAvailable() <= 0)
        return false;

    // Kept bytes gather while the disk writes the ones before them, up to a
    // bound: beyond it the socket, and then the client, waits for the disk.
    const bool keeping = keepsData();
    const qint64 room = keeping ? kReceiveBufferBytes - m_pending.size() : kReceiveBufferBytes;
    if (room <= 0)
        return false; // onWritten() reads on
    qint64 wanted = std::min({m_socket->bytesAvailable(), m_remaining, room});
    if (m_options.closeAfterBytes >= 0)
        wanted = std::min(wanted, m_options.closeAfterBytes - m_bytesReceived);
    if (m_options.chunkDelayMs > 0 && !ignorePause)
        wanted = std::min(wanted, kChunkBytes - m_bytesSincePause);

    qint64 got = 0;
    if (keeping) {
        const qsizetype before = m_pending.size();
        m_pending.resize(before + wanted);
        got = m_socket->read(m_pending.data() + before, wanted);
        m_pending.resize(before + std::max<qint64>(0, got));
    } else {
        if (m_discard.isEmpty())
            m_discard.resize(kReceiveBufferBytes);
        got = m_socket->read(m_discard.data(), wanted);
    }
    if (got <= 0)
        return false;
    m_remaining -= got;
    m_bytesReceived += got;
    m_bytesSincePause += got;
    if (keeping && !m_writing && !writePending())
        return false;

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

bool ServerSession::writePending()
{
    if (m_pending.isEmpty())
        return true;
    // After an idle spell the file must still be this upload's, as it left it.
    if (!m_upload->isHeld() && !m_upload->takeBack(m_written)) {
        loseUpload();
        return false;
    }
    m_takeoverWatch.stop();
    m_takeoverTimer.stop();
    m_writing = true;
    PartialUpload* upload = m_upload.get();
    const QByteArray bytes = std::exchange(m_pending, QByteArray());
    const qint64 size = bytes.size();
    m_disk.run<int>(
        this, [upload, bytes] { return upload->write(bytes.constData(), bytes.size()); },
        [this, size](int failure) { onWritten(size, failure); });
    return true;
}

void ServerSession::onWritten(qint64 size, int failure)
{
    m_writing = false;
    // While the disk is behind, the client cannot send: it is not idle.
    noteActivity();
    if (failure == 0) {
        m_written += size;
    } else if (!m_writeError) {
        // The rest of the file is read and dropped, then the client hears why.
        m_writeError = DiskError{QStringLiteral("write the file"), failure};
        m_pending.clear();
        qCWarning(lcServer).noquote() << "connection" << m_number << "cannot store"
                                      << m_upload->request().name << ":" << m_writeError->text();
    }
    if (m_state == State::Storing) {
        storeOnceWritten();
        return;
    }
    if (m_finishing) {
        finishAfterDisk();
        return;
    }
    if (keepsData() && !writePending())
        return;
    if (!m_writing)
        m_takeoverTimer.start(m_options.takeoverAfterMs);
    takeInput();
}

void ServerSession::finishFile()
{
    if (m_dropData) {
        dropUpload();
        enterState(State::Commands);
        send(QStringLiteral("250 dropped"));
        return;
    }
    // Nothing more is read from the client until the file is stored.
    enterState(State::Storing);
    storeOnceWritten();
}

void ServerSession::storeOnceWritten()
{
    if (!m_writing && keepsData() && !writePending())
        return;
    if (m_writing)
        return; // onWritten() comes back here
    m_takeoverTimer.stop();
    m_takeoverWatch.stop();
    if (m_writeError) {
        refuseFile(*std::exchange(m_writeError, std::nullopt)); // logged when it came
        return;
    }
    if (m_options.closeInsteadOfAck) {
        dropUpload();
        if (m_disconnected)
            finish();
        else
            abortConnection(QStringLiteral("closing instead of the acknowledgement"));
        return;
    }
    if (!m_upload->isHeld() && !m_upload->takeBack(m_written)) {
        loseUpload();
        return;
    }
    // The store runs on a disk thread; other connections go on meanwhile.
    m_writing = true;
    BackupStorage* storage = &m_storage;
    PartialUpload* upload = m_upload.get();
    const int delayMs = m_options.flushDelayMs;
    m_disk.run<StoreResult>(
        this,
        [storage, upload, delayMs] {
            if (delayMs > 0)
                QThread::msleep(ulong(delayMs));
            StoreResult result;
            result.path = storage->store(*upload, &result.error);
            return result;
        },
        [this](const StoreResult& result) {
            m_writing = false;
            storeFile(result);
        });
}

void ServerSession::storeFile(const StoreResult& result)
{
    const PutRequest put = m_upload->request();
    if (!result.path) {
        qCWarning(lcServer).noquote()
            << "connection" << m_number << "cannot store" << put.name << ":" << result.error.text();
        refuseFile(result.error);
        return;
    }
    m_upload.reset();
    const QString stored = QStringLiteral("%1 (%2 bytes, modified %3, captured %4)")
                               .arg(QDir(m_storage.root()).relativeFilePath(*result.path))
                               .arg(put.size)
                               .arg(timeOrNone(put.modified), put.captured);
    m_transcript.event(m_number, QStringLiteral("stored ") + stored);
    qCInfo(lcServer).noquote() << "connection" << m_number << "stored" << stored;
    emit fileStored(m_account, *result.path);
    if (m_disconnected) {
        finish();
        return;
    }
    enterState(State::Commands);
    if (!m_options.noAck)
        send(QStringLiteral("250 stored"));
    takeInput(); // lines that came while the file was stored
}

void ServerSession::refuseFile(const DiskError& error)
{
    // The client is told why; a shared partial file stays for a resume.
    m_transcript.event(
        m_number,
        QStringLiteral("cannot store %1: %2").arg(m_upload->request().name, error.text()));
    dropUpload();
    if (m_disconnected) {
        finish();
        return;
    }
    enterState(State::Commands);
    send(error.reply());
    takeInput();
}

void ServerSession::dropUpload()
{
    m_takeoverTimer.stop();
    m_takeoverWatch.stop();
    m_pending.clear();
    // A disk job that has the upload still needs it; finish() lets it go.
    if (!m_writing)
        m_upload.reset();
}

void ServerSession::loseUpload()
{
    m_pending.clear();
    m_dropData = true; // nothing more goes to the file
    abortConnection(QStringLiteral("the partial file went to a newer upload"));
}

// The partial file has been idle for the take-over time: a new upload of
// the same file may take it over from now on. Whether one did is watched.
void ServerSession::onTakeoverTime()
{
    if (!m_upload || m_writing || !m_pending.isEmpty() ||
        (m_state != State::AwaitStart && m_state != State::Data))
        return;
    m_upload->letGo();
    if (!m_upload->isHeld())
        m_takeoverWatch.start(kTakeoverWatchMs);
}

void ServerSession::onTakeoverWatch()
{
    if (!m_upload || m_upload->isHeld()) {
        m_takeoverWatch.stop();
        return;
    }
    if (!m_writing && m_upload->isLost()) {
        m_takeoverWatch.stop();
        loseUpload();
    }
}

} // namespace kyvane::server
