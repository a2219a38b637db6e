// Stop and the workers: each worker has a stop of its own that Stop reaches
// wherever the worker waits for its server, within a second; a job started
// after a Stop runs, and does not undo the Stop for the others.
#include "FakeServer.h"
#include "RecordingObserver.h"
#include "TempProgramFolder.h"
#include "UploadFixtures.h"
#include "core/StopToken.h"
#include "i18n/LanguageRes.h"
#include "transfer/ObserverChannel.h"
#include "transfer/RunningJobs.h"
#include "transfer/TFileGenius.h"

#include <QElapsedTimer>
#include <QPointer>
#include <QScopeGuard>
#include <QtTest>

#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <atomic>
#include <vector>

using namespace kyvane;

namespace {

constexpr int kLongWaitMs = 60000;
// Far longer than a second, so a worker that ends in time was stopped and
// did not merely give up.
constexpr int kServerTimeoutMs = 20000;
const QString kJob = QStringLiteral("120000");
const QString kCancelled = QStringLiteral("[127.0.0.1][STOP] a.jpg stopped");

enum class Stall { Connect, Greeting, PutReply, Sending, Acknowledgement };

// A loopback port whose queue of connections not yet accepted is full: the
// kernel drops a further connection's first packet, so connecting hangs.
class FullBacklog
{
public:
    FullBacklog()
    {
        m_listener = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        socklen_t length = sizeof address;
        if (::bind(m_listener, reinterpret_cast<sockaddr*>(&address), length) != 0 ||
            ::listen(m_listener, 0) != 0 ||
            ::getsockname(m_listener, reinterpret_cast<sockaddr*>(&address), &length) != 0)
            return;
        m_port = ntohs(address.sin_port);
        for (int attempt = 0; attempt < 16 && !m_full; ++attempt) {
            const int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
            m_fillers.push_back(fd);
            if (::connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0)
                continue;
            pollfd entry{fd, POLLOUT, 0};
            m_full = errno == EINPROGRESS && ::poll(&entry, 1, 500) == 0;
        }
    }

    ~FullBacklog()
    {
        for (const int fd : m_fillers)
            ::close(fd);
        ::close(m_listener);
    }

    // Whether a connection to port now hangs.
    bool isFull() const { return m_full; }
    quint16 port() const { return m_port; }

private:
    int m_listener = -1;
    std::vector<int> m_fillers;
    quint16 m_port = 0;
    bool m_full = false;
};

} // namespace

Q_DECLARE_METATYPE(Stall)

class TestWorkerStop : public QObject
{
    Q_OBJECT

    std::unique_ptr<TempProgramFolder> m_folder;
    EngineSettings m_settings;

    QString mediaFile(const QString& name, qint64 size) const
    {
        return ::mediaFile(*m_folder, name, size);
    }

    // The peer for a stall: it goes as far as the stall, sets reached and
    // then neither reads nor writes until released.
    static FakeServer::Script stallingAt(Stall stall, qint64 size, std::atomic<bool>& reached,
                                         std::atomic<bool>& released)
    {
        return [stall, size, &reached, &released](QTcpSocket& socket) {
            if (stall != Stall::Greeting) {
                acceptLogIn(socket);
                FakeServer::readLine(socket); // put
            }
            if (stall == Stall::Sending || stall == Stall::Acknowledgement) {
                FakeServer::send(socket, "200 0\r\n");
                FakeServer::readLine(socket); // START
            }
            if (stall == Stall::Acknowledgement)
                FakeServer::readBytes(socket, size);
            reached = true;
            QElapsedTimer waited;
            waited.start();
            while (!released && waited.elapsed() < kLongWaitMs)
                QThread::msleep(20);
        };
    }

private slots:
    void initTestCase()
    {
        InitLanguageTable();
        m_settings.connectTimeoutMs = kServerTimeoutMs;
        m_settings.readTimeoutMs = kServerTimeoutMs;
    }

    void init() { m_folder = std::make_unique<TempProgramFolder>(); }

    void stopReachesAWaitingWorkerWithinASecond_data()
    {
        QTest::addColumn<Stall>("stall");
        QTest::newRow("connecting") << Stall::Connect;
        QTest::newRow("waiting for the greeting") << Stall::Greeting;
        QTest::newRow("waiting for the put reply") << Stall::PutReply;
        // More than the socket buffers of both ends take.
        QTest::newRow("sending to a peer that reads nothing") << Stall::Sending;
        QTest::newRow("waiting for the acknowledgement") << Stall::Acknowledgement;
    }

    void stopReachesAWaitingWorkerWithinASecond()
    {
        QFETCH(Stall, stall);
        const qint64 size = stall == Stall::Sending ? 64 * 1024 * 1024 : 1000;
        const QString a = mediaFile("a.jpg", size);
        std::atomic<bool> reached = false;
        std::atomic<bool> released = false;
        std::unique_ptr<FullBacklog> backlog;
        std::unique_ptr<FakeServer> peer;
        quint16 port = 0;
        if (stall == Stall::Connect) {
            backlog = std::make_unique<FullBacklog>();
            if (!backlog->isFull())
                QSKIP("this system accepts every loopback connection at once");
            port = backlog->port();
        } else {
            peer = std::make_unique<FakeServer>(stallingAt(stall, size, reached, released));
            port = peer->port();
        }

        RecordingObserver observer;
        const auto channel = std::make_shared<ObserverChannel>(&observer);
        // Whatever a failed check leaves running never reaches what is gone.
        const auto cleanUp = qScopeGuard([&] {
            channel->close();
            StopTokens::stopAll();
            released = true;
        });
        // The worker has taken up the file and is about to connect.
        observer.onReport = [&](const RecordingObserver::Report&) {
            if (stall == Stall::Connect)
                reached = true;
        };
        QElapsedTimer sinceStop;
        qint64 cancelledAfterMs = -1;
        observer.onStatus = [&](const QString& line) {
            if (line == kCancelled && sinceStop.isValid())
                cancelledAfterMs = sinceStop.elapsed();
        };
        QPointer<TFileGenius> worker =
            TFileGenius::Create({jobEntryFor("127.0.0.1", port, a)}, kJob, channel, m_settings);
        QVERIFY(worker);
        QTRY_VERIFY_WITH_TIMEOUT(reached, kLongWaitMs);
        QTest::qWait(500); // well into the wait

        sinceStop.start();
        StopTokens::stopAll();
        QTRY_VERIFY_WITH_TIMEOUT(cancelledAfterMs >= 0 || worker.isNull(), 5000);
        released = true;
        QTRY_VERIFY_WITH_TIMEOUT(worker.isNull(), kLongWaitMs);
        QCOMPARE(observer.logLines(), QStringList{kCancelled});
        QVERIFY2(cancelledAfterMs >= 0 && cancelledAfterMs < 1000,
                 qPrintable(QString::number(cancelledAfterMs)));
        QVERIFY(!observer.finished());
    }

    // Stop, then at once a new job: the new job runs to its end, and the
    // job that was waiting for its server stays stopped and sends nothing.
    void newJobDoesNotUndoTheStop()
    {
        const QString a = mediaFile("a.jpg", 1000);
        std::atomic<bool> reached = false;
        std::atomic<bool> released = false;
        QByteArray afterRelease;
        FakeServer peer([&](QTcpSocket& socket) {
            reached = true;
            QElapsedTimer waited;
            waited.start();
            while (!released && waited.elapsed() < kLongWaitMs)
                QThread::msleep(20);
            // The login the waiting worker would go on with, had it missed
            // the stop.
            FakeServer::send(socket, "220 fake,77\r\n");
            afterRelease = FakeServer::readLine(socket, 2000);
        });
        RecordingObserver stopped;
        RecordingObserver newJob;
        const auto stoppedChannel = std::make_shared<ObserverChannel>(&stopped);
        const auto newJobChannel = std::make_shared<ObserverChannel>(&newJob);
        const auto cleanUp = qScopeGuard([&] {
            stoppedChannel->close();
            newJobChannel->close();
            StopTokens::stopAll();
            released = true;
        });
        QPointer<TFileGenius> waiting = TFileGenius::Create(
            {jobEntryFor("127.0.0.1", peer.port(), a)}, kJob, stoppedChannel, m_settings);
        QTRY_VERIFY_WITH_TIMEOUT(reached, kLongWaitMs);
        QTest::qWait(300);

        StopTokens::stopAll();
        QPointer<TFileGenius> started = TFileGenius::Create(
            {jobEntryFor("127.0.0.1", peer.port(), m_folder->file("media/gone.jpg"))}, "130000",
            newJobChannel, m_settings);
        QVERIFY(started);
        QTRY_VERIFY_WITH_TIMEOUT(started.isNull(), kLongWaitMs);
        // Only a worker that is not stopped gets as far as this line.
        QCOMPARE(newJob.logLines(), QStringList{"[127.0.0.1][FAIL] gone.jpg file not found"});

        QTRY_COMPARE_WITH_TIMEOUT(stopped.logLines(), QStringList{kCancelled}, 1000);
        released = true;
        QTRY_VERIFY_WITH_TIMEOUT(waiting.isNull(), kLongWaitMs);
        peer.join(); // its last read may outlast the worker
        QCOMPARE(afterRelease, QByteArray());
        QVERIFY(!RunningJobs::isRunning(kJob));
    }
};

QTEST_GUILESS_MAIN(TestWorkerStop)
#include "tst_workerstop.moc"
