#pragma once

#include "DiskError.h"
#include "ServerOptions.h"

#include <QByteArray>
#include <QObject>
#include <QString>
#include <QTimer>

#include <memory>
#include <optional>

class QTcpSocket;

namespace kyvane::server {

class BackupStorage;
class DiskJobs;
class PartialUpload;
struct PutRequest;
class Transcript;

// The server's side of one client connection: greeting, helo, auth, then any
// number of put exchanges. Event-driven: it reacts to readyRead and never
// blocks, so one thread serves many connections; the file bytes are written,
// and finished files stored, by DiskJobs. Emits finished() once the
// connection is closed and no disk job of it is under way; the owner then
// deletes it.
//
// The login and commands are in ServerSession.cpp, the receiving and storing
// of a file in ServerSessionUpload.cpp.
class ServerSession final : public QObject
{
    Q_OBJECT

public:
    // Bytes taken from the socket in one read while receiving file data, and
    // the most that wait for the disk beside the write under way.
    static constexpr qint64 kReceiveBufferBytes = 1 << 20;
    // How much the socket may hold unread while file bytes come; bounds
    // memory per connection.
    static constexpr qint64 kSocketBufferBytes = 4 << 20;
    // The same while protocol lines come: a few of the longest lines.
    static constexpr qint64 kLineBufferBytes = 64 << 10;
    // Replies the client has not read yet, above which no more lines are
    // read from it: a client that never reads cannot grow our memory.
    static constexpr qint64 kMaxUnsentBytes = 64 << 10;
    // Unknown commands in a row after which the connection is closed.
    static constexpr int kMaxUnknownCommands = 3;
    // How long a refused client has to take the last reply before the
    // connection is cut.
    static constexpr int kClosingGraceMs = 5000;
    // How often a connection that let go of its idle partial file looks
    // whether another upload took it over.
    static constexpr int kTakeoverWatchMs = 250;

    ServerSession(QTcpSocket* socket, quint64 number, const ServerOptions& options,
                  BackupStorage& storage, Transcript& transcript, DiskJobs& disk,
                  QObject* parent = nullptr);
    ~ServerSession() override;

    // Sends the greeting.
    void start();
    quint64 number() const { return m_number; }

signals:
    void fileStored(const QString& account, const QString& path);
    void finished();

private:
    // Storing: every byte of a file is in; it is written out and stored,
    // and nothing is read meanwhile.
    enum class State { Helo, Auth, Commands, AwaitStart, Data, Storing, Closed };

    struct StoreResult
    {
        std::optional<QString> path;
        DiskError error;
    };

    void onReadyRead();
    void onBytesWritten();
    void onDisconnected();
    void onDeadline();
    void resumeAfterPause();
    // Takes lines and file bytes for as long as the state allows.
    void takeInput();
    // Restarts the idle time-out once logged in; the login time-out runs on.
    void noteActivity();
    void enterState(State state);

    // Each returns false when it cannot go on until more data arrives.
    bool takeLine();
    bool takeData(bool ignorePause);

    void handleLine(const QString& line);
    void handleHelo(const QString& line);
    void handleAuth(const QString& line);
    void handleCommand(const QString& line);
    void handlePut(const QString& arguments);
    // Refuses one file; the session goes on with the next command.
    void refusePut(const QString& reply);
    // Opens the partial file of put into m_upload; false with the reason.
    bool openUpload(const PutRequest& put, QString* problem);
    void handleForcedPutReply(const PutRequest& put);
    void handleStart(const QString& line);

    // Hands the bytes read so far to the disk; false when the partial file
    // went to another upload meanwhile (the connection is then closed).
    bool writePending();
    void onWritten(qint64 size, int failure);
    bool keepsData() const { return !m_dropData && !m_writeError; }
    // Every byte of the file is in: once written, the file is stored, or
    // refused with the reason the disk gave.
    void finishFile();
    void storeOnceWritten();
    void storeFile(const StoreResult& result);
    // Answers that the file could not be stored, in place of the acknowledgement.
    void refuseFile(const DiskError& error);
    // Lets the partial file go: kept when shared, removed when private.
    void dropUpload();
    // Another upload took the partial file over: the connection is closed.
    void loseUpload();
    void onTakeoverTime();
    void onTakeoverWatch();

    // Ends the session once what arrived is on the disk.
    void finishAfterDisk();
    void finish();

    void send(const QString& line);
    void closeWithReply(const QString& line);
    void abortConnection(const QString& reason);

    QTcpSocket* m_socket;
    const quint64 m_number;
    const ServerOptions& m_options;
    BackupStorage& m_storage;
    Transcript& m_transcript;
    DiskJobs& m_disk;

    State m_state = State::Helo;
    QString m_nonce;
    QString m_account;

    std::unique_ptr<PartialUpload> m_upload;
    bool m_dropData = false;               // receive the bytes but keep none of them
    std::optional<DiskError> m_writeError; // the first write of this file that failed
    bool m_writing = false;                // a disk job has the upload
    bool m_fileComplete = false;           // every byte of the file was read
    QByteArray m_pending;                  // read, waiting for the write under way
    qint64 m_written = 0;                  // bytes the partial file holds
    qint64 m_remaining = 0;                // file bytes still expected
    qint64 m_bytesReceived = 0;            // file bytes on this connection
    qint64 m_bytesSincePause = 0;
    bool m_paused = false;
    bool m_finishing = false;
    bool m_finished = false;
    bool m_disconnected = false;
    int m_unknownCommands = 0; // in a row
    // The last put was refused: the client sends no bytes for it. One that
    // sends "START" anyway is about to send raw bytes, so it is closed.
    bool m_putRefused = false;
    QTimer m_pauseTimer;
    QTimer m_deadline;      // login, idle or closing time-out, by state
    QTimer m_takeoverTimer; // the partial file has been idle this long
    QTimer m_takeoverWatch; // while let go: has another upload taken it?
    QByteArray m_discard;   // where dropped bytes are read to
};

} // namespace kyvane::server
