// Each reply of a server has one deadline, the read time-out, however the
// server spreads its bytes: a server that trickles a byte or a blank line
// now and then cannot hold a worker longer than that.
#include "FakeServer.h"
#include "RecordingObserver.h"
#include "TempProgramFolder.h"
#include "UploadFixtures.h"
#include "core/StopToken.h"
#include "i18n/LanguageRes.h"
#include "transfer/ObserverChannel.h"
#include "transfer/TFileGenius.h"

#include <QElapsedTimer>
#include <QPointer>
#include <QScopeGuard>
#include <QtTest>

#include <atomic>

using namespace kyvane;

namespace {

constexpr int kLongWaitMs = 60000;
constexpr int kReadTimeoutMs = 1000;
// Well below the read time-out, so that every single wait sees a byte.
constexpr int kTrickleEveryMs = 200;
// How long the peer keeps trickling at most; far beyond the deadline.
constexpr int kTrickleForMs = 20000;

enum class Reply { Greeting, Helo, Auth, Put, Acknowledgement };

// Sends bytes one at a time, over and over, until done or the time is up.
void trickle(QTcpSocket& socket, const QByteArray& bytes, const std::atomic<bool>& done)
{
    QElapsedTimer sending;
    sending.start();
    for (qsizetype i = 0; !done && sending.elapsed() < kTrickleForMs; ++i) {
        FakeServer::send(socket, bytes.mid(i % bytes.size(), 1));
        if (socket.state() != QAbstractSocket::ConnectedState)
            return;
        QThread::msleep(kTrickleEveryMs);
    }
}

} // namespace

Q_DECLARE_METATYPE(Reply)

class TestReplyDeadline : public QObject
{
    Q_OBJECT

    std::unique_ptr<TempProgramFolder> m_folder;

private slots:
    void initTestCase() { InitLanguageTable(); }
    void init() { m_folder = std::make_unique<TempProgramFolder>(); }

    void tricklingServerFailsTheReplyInTime_data()
    {
        QTest::addColumn<Reply>("reply");
        QTest::addColumn<QByteArray>("trickled");
        QTest::addColumn<QString>("line");
        QTest::newRow("greeting, a byte at a time")
            << Reply::Greeting << QByteArray("220 fake,77")
            << "[127.0.0.1][FAIL] Unable to connect to server";
        QTest::newRow("helo reply, a byte at a time")
            << Reply::Helo << QByteArray("001 ok") << "[127.0.0.1][FAIL] Helo Failed";
        QTest::newRow("auth reply, a byte at a time")
            << Reply::Auth << QByteArray("100 ok")
            << "[127.0.0.1][FAIL] Login Failed (this server is no longer in Settings)";
        QTest::newRow("put reply, a byte at a time")
            << Reply::Put << QByteArray("200 0")
            << "[127.0.0.1][FAIL] a.jpg Backup Failed (Read timed out.)";
        QTest::newRow("acknowledgement, blank lines")
            << Reply::Acknowledgement << QByteArray("\r\n")
            << "[127.0.0.1][FAIL] a.jpg Backup Failed (Read timed out.)";
    }

    void tricklingServerFailsTheReplyInTime()
    {
        QFETCH(Reply, reply);
        QFETCH(QByteArray, trickled);
        QFETCH(QString, line);
        const QString a = mediaFile(*m_folder, "a.jpg", 1000);
        std::atomic<bool> done = false;
        QElapsedTimer clock;
        clock.start();
        std::atomic<qint64> trickleStartedAt = -1;
        FakeServer peer([&](QTcpSocket& socket) {
            if (reply != Reply::Greeting)
                FakeServer::send(socket, "220 fake,77\r\n");
            if (reply >= Reply::Auth) {
                FakeServer::readLine(socket);
                FakeServer::send(socket, "001 ok\r\n");
            }
            if (reply >= Reply::Put) {
                FakeServer::readLine(socket);
                FakeServer::send(socket, "100 ok\r\n");
            }
            if (reply == Reply::Acknowledgement) {
                FakeServer::readLine(socket); // put
                FakeServer::send(socket, "200 0\r\n");
                FakeServer::readLine(socket); // START
                FakeServer::readBytes(socket, 1000);
            }
            if (reply == Reply::Helo || reply == Reply::Auth || reply == Reply::Put)
                FakeServer::readLine(socket); // what the reply answers
            trickleStartedAt = clock.elapsed();
            trickle(socket, trickled, done);
        });

        RecordingObserver observer;
        const auto channel = std::make_shared<ObserverChannel>(&observer);
        const auto cleanUp = qScopeGuard([&] {
            channel->close();
            StopTokens::stopAll();
            done = true;
        });
        EngineSettings settings;
        settings.readTimeoutMs = kReadTimeoutMs;
        QPointer<TFileGenius> worker = TFileGenius::Create(
            {jobEntryFor("127.0.0.1", peer.port(), a)}, "120000", channel, settings);
        QVERIFY(worker);
        QTRY_VERIFY_WITH_TIMEOUT(worker.isNull(), kLongWaitMs);
        const qint64 tookMs = clock.elapsed() - trickleStartedAt;
        QVERIFY(trickleStartedAt >= 0);
        QCOMPARE(observer.logLines(), QStringList{line});
        // The deadline and a little: not one wait per byte.
        QVERIFY2(tookMs < 3 * kReadTimeoutMs, qPrintable(QString::number(tookMs)));
        QVERIFY(!observer.finished());
    }
};

QTEST_GUILESS_MAIN(TestReplyDeadline)
#include "tst_replydeadline.moc"
