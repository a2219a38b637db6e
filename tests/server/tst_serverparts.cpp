#include "BackupServerThread.h"
#include "BackupStorage.h"
#include "DiskCalls.h"
#include "PutRequest.h"
#include "SafeName.h"
#include "ServerProtocol.h"
#include "transfer/WireFormat.h"

#include <QCryptographicHash>
#include <QTemporaryDir>
#include <QtTest>

#include <cerrno>

using namespace kyvane::server;

// The pieces of the server that need no connection.
class TestServerParts : public QObject
{
    Q_OBJECT

private slots:
    void ownGreetingCarriesItsNonce()
    {
        const QString nonce = protocol::makeNonce();
        QCOMPARE(kyvane::wire::nonceFromGreeting(protocol::greetingFor(nonce)), nonce);
        QVERIFY(protocol::greetingFor(nonce).startsWith(QLatin1String("220")));
    }

    void versionName_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<int>("version");
        QTest::addColumn<QString>("expected");
        QTest::newRow("first keeps the name") << "IMG.jpg" << 1 << "IMG.jpg";
        QTest::newRow("second") << "IMG.jpg" << 2 << "IMG (2).jpg";
        QTest::newRow("last dot") << "a.tar.gz" << 3 << "a.tar (3).gz";
        QTest::newRow("no extension") << "README" << 2 << "README (2)";
        QTest::newRow("leading dot is no extension") << ".profile" << 2 << ".profile (2)";
        // A stem that must give way is cut and followed by "~" and 16 hex
        // digits of the SHA-256 of the whole name.
        const auto digest = [](const QString& name) {
            return "~" + QCryptographicHash::hash(name.toUtf8(), QCryptographicHash::Sha256)
                             .toHex()
                             .left(16);
        };
        const QString longStem = QString(85, QChar(0x7167)); // 255 bytes
        QTest::newRow("long name gives way before the number")
            << longStem << 2 << QString(78, QChar(0x7167)) + digest(longStem) + " (2)";
        const QString longWithExtension = QString(83, QChar(0x7167)) + ".jpg";
        QTest::newRow("long name keeps its extension")
            << longWithExtension << 1000
            << QString(75, QChar(0x7167)) + digest(longWithExtension) + " (1000).jpg";
        const QString longExtension = "a." + QString(253, 'x');
        QTest::newRow("extension too long to keep")
            << longExtension << 2 << "a." + QString(232, 'x') + digest(longExtension) + " (2)";
    }

    void versionName()
    {
        QFETCH(QString, name);
        QFETCH(int, version);
        QFETCH(QString, expected);
        QCOMPARE(BackupStorage::versionName(name, version), expected);
    }

    // Two long names that differ only where their stems are cut never share
    // a version name, and every version fits the file-name limit.
    void longVersionNamesStayApart_data()
    {
        QTest::addColumn<QString>("first");
        QTest::addColumn<QString>("second");
        const QString stem = QString(250, 'n');
        QTest::newRow("last letter of the stem") << stem + "a.jpg" << stem + "b.jpg";
        QTest::newRow("Chinese, one character apart")
            << QString(82, QChar(0x7167)) + ".mov" << QString(81, QChar(0x7167)) + "x.mov";
        QTest::newRow("no extension") << QString(254, 'n') + "a" << QString(254, 'n') + "b";
    }

    void longVersionNamesStayApart()
    {
        QFETCH(QString, first);
        QFETCH(QString, second);
        for (const int version : {2, 9, 1000}) {
            const QString a = BackupStorage::versionName(first, version);
            const QString b = BackupStorage::versionName(second, version);
            QVERIFY2(a != b, qPrintable(a));
            QVERIFY(a.toUtf8().size() <= 255 && b.toUtf8().size() <= 255);
            QVERIFY(a.contains(QStringLiteral(" (%1)").arg(version)));
        }
    }

    // Partial-file names fit the file-name limit whatever the name; long
    // names that begin alike still get names of their own.
    void partialNamesFit()
    {
        PutRequest put;
        put.size = Q_INT64_C(9223372036854775807);
        put.modified = QDateTime(QDate(2024, 5, 17), QTime(8, 3, 9), Qt::UTC);
        put.name = "IMG.jpg";
        QCOMPARE(BackupStorage::partialFileName(put),
                 ".IMG.jpg.9223372036854775807-1715932989.partial");
        put.name = QString(85, QChar(0x7167));
        const QString first = BackupStorage::partialFileName(put);
        put.name = QString(84, QChar(0x7167)) + "x";
        const QString second = BackupStorage::partialFileName(put);
        QVERIFY(first.toUtf8().size() <= 255);
        QVERIFY(second.toUtf8().size() <= 255);
        QVERIFY(first != second);
        QVERIFY(first.endsWith(".9223372036854775807-1715932989.partial"));
    }

    // Where renameat2() cannot refuse to replace, the file is moved by a
    // hard link, which never replaces a file either.
    void moveByLinkNeverReplaces_data()
    {
        QTest::addColumn<bool>("targetExists");
        QTest::newRow("free name") << false;
        QTest::newRow("name taken") << true;
    }

    void moveByLinkNeverReplaces()
    {
        QFETCH(bool, targetExists);
        QTemporaryDir dir;
        const QString from = dir.filePath(".a.jpg.4-1.partial");
        const QString to = dir.filePath("a.jpg");
        const auto write = [](const QString& path, const QByteArray& bytes) {
            QFile file(path);
            return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
        };
        const auto read = [](const QString& path) {
            QFile file(path);
            return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
        };
        QVERIFY(write(from, "mine"));
        if (targetExists)
            QVERIFY(write(to, "another version"));
        QCOMPARE(DiskCalls::linkThenUnlink(from, to), targetExists ? EEXIST : 0);
        QCOMPARE(read(to), QByteArray(targetExists ? "another version" : "mine"));
        QCOMPARE(QFileInfo::exists(from), targetExists);
    }

    void putRequestFields()
    {
        QString why;
        const auto put = PutRequest::parse(
            QStringLiteral("1234 %1 2024/05/17 2024/05/18;09:04:10 2024/05/19;10:05:11")
                .arg(QString::fromLatin1(QString::fromUtf8("照片.jpg").toUtf8().toBase64())),
            &why);
        QVERIFY2(put, qPrintable(why));
        QCOMPARE(put->size, 1234);
        QCOMPARE(put->name, QString::fromUtf8("照片.jpg"));
        QCOMPARE(put->created, QDateTime(QDate(2024, 5, 17), QTime(0, 0), Qt::UTC));
        QCOMPARE(put->modified, QDateTime(QDate(2024, 5, 18), QTime(9, 4, 10), Qt::UTC));
        QCOMPARE(put->captured, QStringLiteral("2024/05/19;10:05:11"));
    }

    void accountNames_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<bool>("safe");
        QTest::newRow("plain") << "bob" << true;
        QTest::newRow("inner blank") << "my photos" << true;
        QTest::newRow("Chinese: sent as ??") << QString::fromUtf8("小明") << false;
        QTest::newRow("accented") << QString::fromUtf8("josé") << false;
        QTest::newRow("parent") << ".." << false;
        QTest::newRow("dot") << "." << false;
        QTest::newRow("path") << "a/b" << false;
        QTest::newRow("escape") << "../x" << false;
        QTest::newRow("backslash") << "a\\b" << false;
        QTest::newRow("empty") << "" << false;
        QTest::newRow("blank at end") << "bob " << false;
        QTest::newRow("tab") << "b\tob" << false;
    }

    void accountNames()
    {
        QFETCH(QString, name);
        QFETCH(bool, safe);
        QCOMPARE(safename::isSafeAccountName(name), safe);
    }

    void serverRefusesAnUnsafeAccount()
    {
        QTemporaryDir dir;
        ServerOptions options;
        options.port = 0;
        options.root = dir.filePath("root");
        options.accounts.insert(QStringLiteral("../escape"), QStringLiteral("pw"));
        BackupServerThread server(options);
        QString error;
        QVERIFY(!server.start(&error));
        QVERIFY2(error.contains(QLatin1String("../escape")), qPrintable(error));
    }

    void serverReportsAPortInUse()
    {
        QTemporaryDir dir;
        ServerOptions options;
        options.port = 0;
        options.root = dir.filePath("root");
        BackupServerThread first(options);
        QVERIFY(first.start());
        options.port = first.serverPort();
        BackupServerThread second(options);
        QString error;
        QVERIFY(!second.start(&error));
        QVERIFY2(error.contains(QString::number(options.port)), qPrintable(error));
    }
};

QTEST_GUILESS_MAIN(TestServerParts)
#include "tst_serverparts.moc"
