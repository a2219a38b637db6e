// The upload of a job: the walk over its entries and the dialogue with each
// entry's server.
#include "transfer/TFileGenius.h"

#include "core/StopToken.h"
#include "core/StorableName.h"
#include "i18n/ExtraTexts.h"
#include "i18n/LanguageRes.h"
#include "media/CaptureTime.h"
#include "media/OpenMediaFile.h"
#include "transfer/Digest.h"
#include "transfer/JobEntry.h"
#include "transfer/LineConnection.h"
#include "transfer/LoginDigest.h"
#include "transfer/TransferError.h"
#include "transfer/WireFormat.h"

#include <QFile>
#include <QFileInfo>

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace kyvane {

namespace {

// Log texts of the language table.
constexpr int kKeyHeloFailed = 35;
constexpr int kKeyLoginFailed = 36;
constexpr int kKeyCannotConnect = 37;
constexpr int kKeyBackupOk = 38;
constexpr int kKeyBackupFailed = 39;
constexpr int kKeyExisted = 40;

QString failLine(const QString& server, const QString& text)
{
    return QLatin1Char('[') + server + QStringLiteral("][FAIL] ") + text;
}

// A file the user stopped: not failed, it is sent at the next start.
QString stopLine(const QString& server, const QString& file)
{
    return QLatin1Char('[') + server + QStringLiteral("][STOP] ") + file + QLatin1Char(' ') +
           extraText(ExtraText::FileStopped);
}

QString doneLine(const QString& server, const QString& text)
{
    return QLatin1Char('[') + server + QStringLiteral("][DONE] ") + text;
}

// " (message)" with every CR LF of the message turned into one blank.
QString withMessage(const QString& text, QString message)
{
    message.replace(QStringLiteral("\r\n"), QStringLiteral(" "));
    return text + QStringLiteral(" (") + message + QLatin1Char(')');
}

QString messageOf(const std::exception& error)
{
    if (const auto* transferError = dynamic_cast<const TransferError*>(&error))
        return transferError->message();
    return QString::fromLocal8Bit(error.what());
}

// Why a file's backup failed, as its log line and its record say it.
QString backupFailedReason(const QString& message)
{
    return withMessage(langText(kKeyBackupFailed), message);
}

// The log line of a file whose backup failed with message.
QString backupFailedLine(const QString& server, const QString& file, const QString& message)
{
    return failLine(server, file + QLatin1Char(' ') + backupFailedReason(message));
}

// A file deleted before its turn: its folder is there and holds no such name,
// or the name is no regular file. A file behind a folder that is missing (a
// card or disk not mounted) or cannot be searched may come back, so it is
// not gone.
bool isGone(const QString& path)
{
    struct stat status
    {
    };
    if (::stat(QFile::encodeName(path).constData(), &status) == 0)
        return !S_ISREG(status.st_mode);
    return errno == ENOENT && QFileInfo(QFileInfo(path).absolutePath()).isDir();
}

[[noreturn]] void fileBecameShorter()
{
    throw TransferError(QStringLiteral("The file became shorter while it was sent."));
}

// Reads exactly size bytes of the open file fd from position into buffer.
void readChunk(int fd, char* buffer, qint64 position, qint64 size)
{
    qint64 done = 0;
    while (done < size) {
        const ssize_t got = ::pread(fd, buffer + done, static_cast<size_t>(size - done),
                                    static_cast<off_t>(position + done));
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0)
            throw TransferError(QString::fromLocal8Bit(std::strerror(errno)));
        if (got == 0)
            fileBecameShorter();
        done += got;
    }
}

} // namespace

void TFileGenius::sendChunk(QFile& file, qint64 position, qint64 size)
{
    // Read into this process and sent from there. sendfile() would spare
    // that copy, but it hands the socket pages of the page cache, and a
    // receiver on this machine then copies from those pages at more than
    // twice the cost of a copy from the socket's own: over loopback that
    // made the whole upload slower. The next transport reads here too.
    if (m_chunk.size() < size)
        m_chunk.resize(size);
    readChunk(file.handle(), m_chunk.data(), position, size);
    IdTCPClient1->sendBytes(m_chunk.constData(), size);
}

bool TFileGenius::refuseWithoutFullPath(const JobEntry& entry)
{
    // A relative path would name a file of whatever the working folder is.
    if (entry.hasFullPath())
        return false;
    log = backupFailedLine(entry.server, StorableName::printable(entry.path),
                           extraText(ExtraText::PathNotAbsolute));
    SetLog();
    return true;
}

bool TFileGenius::refuseEntryWithoutFullPath(const JobEntry& entry)
{
    if (!refuseWithoutFullPath(entry))
        return false;
    // Failed, not waiting: the job did not stop, and nothing else will
    // ever back this entry up.
    recordOutcome(entry, Outcome::Failed,
                  backupFailedReason(extraText(ExtraText::PathNotAbsolute)));
    return true;
}

void TFileGenius::sendfile2()
{
    m_finished = 0;
    m_lastAttempt.reset();
    QString server; // of the entry being handled, for the last-resort log line
    m_passOverReason = langText(kKeyCannotConnect);
    JobEntry entry;
    try {
        for (const QString& line : std::as_const(m_refused))
            refuseWithoutFullPath(JobEntry::split(line));
        for (m_entryIndex = 0; m_entryIndex < files.size(); ++m_entryIndex) {
            currentindex = m_finished;
            entry = JobEntry::split(files.at(m_entryIndex));
            server = entry.server;

            if (m_stop->isStopped())
                continue;
            if (refuseEntryWithoutFullPath(entry))
                continue; // not counted: the job stays
            const QFileInfo info(entry.path);
            if (!info.isFile()) {
                settleMissingFile(entry);
                continue;
            }

            const QDateTime created = info.birthTime();
            const QDateTime modified = info.lastModified();
            const QString captured = GetCaptureTime(entry.path);
            serveronlog = m_labels.label(entry);
            currentindex = m_finished;
            progressbarvalue = 0;
            currentfile = info.fileName();
            SetfailProgressbar();

            if (needsNewConnection(entry))
                connectAndLogIn(entry);

            if (!IdTCPClient1->isOpen()) {
                recordOutcome(entry, Outcome::Failed, m_passOverReason);
                continue;
            }
            transferFile(entry, created, modified, captured);
        }
    } catch (const std::exception& error) {
        log = backupFailedLine(server, currentfile, messageOf(error));
        recordOutcome(entry, Outcome::Failed, backupFailedReason(messageOf(error)));
        SetLog();
    } catch (...) {
        const QString message = QStringLiteral("unexpected error");
        log = backupFailedLine(server, currentfile, message);
        recordOutcome(entry, Outcome::Failed, backupFailedReason(message));
        SetLog();
    }
    IdTCPClient1->close();
}

bool TFileGenius::needsNewConnection(const JobEntry& entry) const
{
    // Before the first attempt only an entry with an address connects.
    if (!m_lastAttempt)
        return !entry.server.isEmpty();
    // After a failed attempt the entries of that same login are passed over
    // until another one comes up.
    return !m_lastAttempt->sameLogin(entry);
}

void TFileGenius::settleMissingFile(const JobEntry& entry)
{
    const QFileInfo info(entry.path);
    const bool gone = isGone(entry.path);
    // A file that is gone has nothing left to back up: it counts as settled,
    // so the job can finish.
    const QString reason =
        extraText(gone ? ExtraText::FileNotFound : ExtraText::FileCannotBeReached);
    log = failLine(entry.server, info.fileName() + QLatin1Char(' ') + reason);
    recordOutcome(entry, gone ? Outcome::NotFound : Outcome::Failed, reason);
    if (gone)
        ++m_finished;
    serveronlog = m_labels.label(entry);
    currentfile = info.fileName();
    progressbarvalue = gone ? 100 : 0;
    currentindex = m_finished;
    SetProgressbar();
    SetLog();
}

void TFileGenius::recordOutcome(const JobEntry& entry, Outcome outcome, const QString& reason,
                                qint64 size, qint64 modifiedMs)
{
    m_recorder.record(m_entryIndex, entry, outcome, reason, size, modifiedMs);
}

void TFileGenius::reportLoginFailure(const QString& reason)
{
    m_passOverReason = reason;
    progressbarvalue = 0;
    currentindex = m_finished;
    SetfailProgressbar();
    SetLog();
}

void TFileGenius::connectAndLogIn(const JobEntry& entry)
{
    LineConnection& connection = *IdTCPClient1;
    connection.close();
    log.clear();
    m_lastAttempt = entry;
    try {
        connection.open(entry.server, entry.portNumber());

        const QString greeting = connection.readLine();
        if (wire::replyCode(greeting) != QLatin1String("220")) {
            connection.close();
            log = failLine(entry.server, langText(kKeyCannotConnect));
            reportLoginFailure(langText(kKeyCannotConnect));
            return;
        }
        const QString nonce = wire::nonceFromGreeting(greeting);

        connection.sendLine(QStringLiteral("helo ") + wire::trimControls(FloatEnc(nonce)));
        if (wire::replyCode(connection.readLine()) != QLatin1String("001")) {
            connection.close();
            log = failLine(entry.server, langText(kKeyHeloFailed));
            reportLoginFailure(langText(kKeyHeloFailed));
            return;
        }

        const LoginDigest login = loginDigestFor(entry);
        connection.sendLine(QStringLiteral("auth ") + entry.account + QLatin1Char(' ') +
                            LockboxMD5(login.digest + QLatin1Char('=') + nonce));
        if (wire::replyCode(connection.readLine()) != QLatin1String("100")) {
            connection.close();
            // Only a server no longer in Settings logs in with the digest
            // its job was written with; say so, as Settings cannot mend it.
            const QString reason =
                login.configured ? langText(kKeyLoginFailed)
                                 : withMessage(langText(kKeyLoginFailed),
                                               extraText(ExtraText::ServerNoLongerConfigured));
            log = failLine(entry.server, reason);
            reportLoginFailure(reason);
            return;
        }
    } catch (const TransferStopped&) {
        connection.close();
        log = stopLine(entry.server, currentfile);
        SetLog();
    } catch (const TransferError& error) {
        connection.close();
        const QString reason = withMessage(langText(kKeyCannotConnect), error.message());
        log = failLine(entry.server, reason);
        reportLoginFailure(reason);
    }
}

void TFileGenius::transferFile(const JobEntry& entry, const QDateTime& created,
                               const QDateTime& modified, const QString& captured)
{
    LineConnection& connection = *IdTCPClient1;
    const QString& server = entry.server;
    QFile file(entry.path);
    try {
        // Never waits on a FIFO put in the file's place since its look.
        if (!openMediaFile(file))
            throw TransferError(QStringLiteral("cannot be opened as a regular file"));
        const qint64 total = file.size();
        qint64 remaining = total;

        connection.sendLine(wire::putLine(total, currentfile, created, modified, captured));
        // A reply that comes after the time-out would otherwise be read as
        // the acknowledgement of the data sent in the meantime.
        const QString reply = connection.readLineInTime();

        progressbarvalue = 0;
        currentindex = m_finished;
        serveronlog = m_labels.label(entry);
        log.clear();
        SetProgressbar();
        SetLog(); // clears the status line for the transfer

        if (wire::replyCode(reply) == QLatin1String("201")) {
            file.close();
            log = doneLine(server, currentfile + QLatin1Char(' ') + langText(kKeyExisted));
            recordOutcome(entry, Outcome::Held, QString(), total, modified.toMSecsSinceEpoch());
            ++m_finished;
            progressbarvalue = 100;
            currentindex = m_finished;
            SetProgressbar();
            SetLog();
            return;
        }

        if (wire::isRefusal(reply)) {
            // The server declines this file, not the session: the
            // connection goes on with the next entry.
            file.close();
            log = backupFailedLine(server, currentfile, wire::replyText(reply));
            recordOutcome(entry, Outcome::Refused, wire::replyText(reply), total,
                          modified.toMSecsSinceEpoch());
            SetLog();
            return;
        }

        const qint64 offset = wire::resumeOffset(reply);
        if (!file.seek(offset))
            throw TransferError(file.errorString());
        remaining -= offset;
        // "START" and the data leave as one message: the first bytes of the
        // file fill the segment "START" begins.
        connection.sendLine(QStringLiteral("START"));

        bool stopped = false;
        do {
            if (m_stop->isStopped()) {
                stopped = true;
                break;
            }
            const qint64 chunk = std::min(remaining, m_settings.chunkSize);
            const qint64 position = total - remaining;
            remaining -= chunk;
            if (chunk > 0)
                sendChunk(file, position, chunk);
            // The file's last bytes leave before their report, so the
            // server stores and acknowledges the file while the window
            // takes the report.
            if (remaining == 0)
                connection.push();
            // The last chunk is reported at 100 but counted only when the
            // server has confirmed the file, below. Within the file the count
            // stays as it is, so a chunk that leaves the rounded percentage
            // unchanged has nothing new to show: its hand-over, which waits
            // for the window, is left out.
            const int percent = remaining > 0 ? wire::percentSent(total, remaining) : 100;
            if (percent != progressbarvalue || remaining == 0) {
                progressbarvalue = percent;
                currentindex = m_finished;
                SetProgressbar();
            }
        } while (remaining > 0);
        file.close();
        // What a stopped file sent leaves too.
        connection.push();

        if (stopped) {
            // The connection stays open, though the server still waits for
            // the rest of this file: it must never carry anything more, which
            // the stop ensures by passing over every entry left.
            log = stopLine(server, currentfile);
            recordOutcome(entry, Outcome::Waiting, extraText(ExtraText::FileStopped));
            SetLog();
            return;
        }

        const QString acknowledgement = connection.readNonBlankLine();
        if (wire::isRefusal(acknowledgement)) {
            // All the data was read, so the dialogue is still in step.
            log = backupFailedLine(server, currentfile, wire::replyText(acknowledgement));
            recordOutcome(entry, Outcome::Refused, wire::replyText(acknowledgement), total,
                          modified.toMSecsSinceEpoch());
            SetLog();
            return;
        }
        log = doneLine(server, currentfile + QLatin1Char(' ') + langText(kKeyBackupOk));
        recordOutcome(entry, Outcome::Sent, QString(), total, modified.toMSecsSinceEpoch());
        ++m_finished;
        progressbarvalue = 100;
        currentindex = m_finished;
        SetProgressbar();
        SetLog();
    } catch (const TransferStopped&) {
        // Stopped while waiting for the server: the dialogue is out of step,
        // so the connection goes.
        file.close();
        connection.close();
        log = stopLine(server, currentfile);
        SetLog();
    } catch (const TransferError& error) {
        file.close();
        log = backupFailedLine(server, currentfile, error.message());
        // The entries of this login left are passed over for the same reason.
        m_passOverReason = backupFailedReason(error.message());
        recordOutcome(entry, Outcome::Failed, m_passOverReason);
        SetLog();
        connection.close();
    }
}

} // namespace kyvane
