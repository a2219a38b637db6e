// A file name that carries a job entry of an attacker's choosing, from the
// scan through the job file and a restart, with the user's server and the
// attacker's: the attacker's server never sees a connection, and the files
// with names that cannot be stored are passed over and named.
#include "ServerProcess.h"
#include "TempProgramFolder.h"
#include "UiTestHelpers.h"
#include "UploadFixtures.h"
#include "core/ListFile.h"
#include "core/StopToken.h"
#include "i18n/LanguageRes.h"
#include "transfer/JobFiles.h"
#include "transfer/RunningJobs.h"

#include <QLabel>
#include <QtTest>

#include <fcntl.h>
#include <unistd.h>

using namespace kyvane;

namespace {

constexpr int kLongWaitMs = 60000;

bool noWorkerRunning()
{
    return RunningJobs::names().isEmpty();
}

void writeRaw(const QByteArray& path)
{
    const int fd = ::open(path.constData(), O_CREAT | O_WRONLY | O_TRUNC | O_CLOEXEC, 0644);
    QVERIFY(fd >= 0);
    QCOMPARE(::write(fd, "secret photo", 12), ssize_t(12));
    ::close(fd);
}

} // namespace

class TestHostileNames : public QObject
{
    Q_OBJECT

    QTemporaryDir m_work; // the working folder: what a relative path names
    QString m_startFolder;

private slots:
    void initTestCase()
    {
        InitLanguageTable();
        setCurrentLanguage(kLanguageEnglish);
        m_startFolder = QDir::currentPath();
        QVERIFY(QDir::setCurrent(m_work.path()));
        QFile secret(".git-credentials");
        QVERIFY(secret.open(QIODevice::WriteOnly) && secret.write("https://anna:pw@host\n") > 0);
    }

    void cleanupTestCase() { QDir::setCurrent(m_startFolder); }

    void cleanup()
    {
        StopTokens::stopAll();
        QTRY_VERIFY_WITH_TIMEOUT(noWorkerRunning(), kLongWaitMs);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }

    void injectedEntryReachesNoServer()
    {
        TempProgramFolder folder;
        // The user's server is down for the first run, so the job is still
        // pending at the restart, when its file is read back.
        std::optional<ServerProcess> own(std::in_place, KYVANE_SERVER);
        QVERIFY(own->isListening());
        const quint16 ownPort = own->port();
        const QString ownRoot = own->root();
        own->stop();
        ServerProcess attacker(KYVANE_SERVER, {}, QStringLiteral("127.0.0.2"));
        QVERIFY(attacker.isListening());

        const QString media = folder.file("media");
        folder.makeFolder("media");
        const QByteArray mediaBytes = QFile::encodeName(media) + '/';
        writeRaw(mediaBytes + "a.jpg");
        const QByteArray injected =
            jobEntryFor(attacker.address(), attacker.port(), ".git-credentials").toUtf8();
        writeRaw(mediaBytes + "x\n" + injected + "\n.jpg");
        writeRaw(mediaBytes + "bad\xff.jpg");
        const QString server =
            QStringLiteral("127.0.0.1|%1|anna|%2")
                .arg(QString::number(ownPort), passwordDigest(QStringLiteral("secret")));
        QCOMPARE(ListFile::write(folder.file("server.cfg"), {server}), QString());
        QCOMPARE(ListFile::write(folder.file("folder.cfg"), {media}), QString());

        {
            TForm1 form;
            form.show();
            QTest::mouseClick(control(form, "rectBackupToday"), Qt::LeftButton);
            QTRY_COMPARE_WITH_TIMEOUT(JobFiles::pendingJobNames().size(), 1, kLongWaitMs);
            const QString job = JobFiles::pendingJobNames().first();
            // One line, the one file whose name can be stored.
            QCOMPARE(folder.read(job + ".kyv"),
                     ListFile::serialize({server + "|" + media + "/a.jpg"}));
            // The note names the files passed over.
            const auto* note = control<QLabel>(form, "lblPassedOver");
            QTRY_VERIFY_WITH_TIMEOUT(note->text().contains(QString::fromUtf8("bad\uFFFD.jpg")),
                                     kLongWaitMs);
            QVERIFY(note->text().contains(QString::fromUtf8("x\uFFFD127.0.0.2|")));
            QTRY_VERIFY_WITH_TIMEOUT(noWorkerRunning(), kLongWaitMs);
            QVERIFY(folder.exists(job + ".kyv"));
        }

        // The restart, with the user's server up again.
        own.emplace(KYVANE_SERVER,
                    QStringList{"--port", QString::number(ownPort), "--root", ownRoot});
        QVERIFY(own->isListening());
        {
            TForm1 form;
            form.show();
            QTRY_VERIFY_WITH_TIMEOUT(JobFiles::pendingJobNames().isEmpty(), kLongWaitMs);
            QTRY_VERIFY_WITH_TIMEOUT(noWorkerRunning(), kLongWaitMs);
        }
        QCOMPARE(readWholeFile(ownRoot + "/anna/a.jpg"), QByteArray("secret photo"));
        QCOMPARE(own->countLines("put"), 1);
        QCOMPARE(attacker.countLines("[open"), 0);
        QVERIFY(!QFile::exists(attacker.root() + "/anna/.git-credentials"));
    }
};

QTEST_MAIN(TestHostileNames)
#include "tst_hostilenames.moc"
