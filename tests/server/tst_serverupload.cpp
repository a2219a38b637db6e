#include "ScriptedClient.h"
#include "ServerFixture.h"

#include <QDateTime>
#include <QtTest>

// put, START and the file bytes: what ends up in the root folder.
class TestServerUpload : public QObject
{
    Q_OBJECT

private:
    static QStringList partialsOf(const ServerFixture& server)
    {
        return server.allFiles().filter(QRegularExpression(QStringLiteral("/\\.[^/]*\\.partial$")));
    }

private slots:
    void storesAByteIdenticalFile_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<qint64>("size");
        QTest::newRow("empty file") << "empty.jpg" << qint64(0);
        QTest::newRow("one byte") << "one.jpg" << qint64(1);
        QTest::newRow("small") << "IMG_0001.JPG" << qint64(1000);
        QTest::newRow("more than two chunks") << "clip.mp4" << qint64(2 * 819200 + 7);
        QTest::newRow("Chinese name with blank") << QString::fromUtf8("照片 一.jpg") << qint64(99);
        QTest::newRow("leading dot") << ".hidden.jpg" << qint64(5);
        QTest::newRow("two dots inside") << "a..b.jpg" << qint64(5);
    }

    void storesAByteIdenticalFile()
    {
        QFETCH(QString, name);
        QFETCH(qint64, size);
        ServerFixture server;
        QVERIFY(server.start());
        ScriptedClient client;
        QVERIFY(client.connectAndLogIn(server.port()));

        const QByteArray content = patternBytes(size);
        QString ack;
        // upload() sends START and the bytes in one write, so they may arrive together.
        QCOMPARE(client.upload(name, content, &ack, "2023/12/31;23:59:58"),
                 QStringLiteral("200 0"));
        QCOMPARE(ack, QStringLiteral("250 stored"));
        QCOMPARE(server.allFiles(), QStringList{"bob/" + name});
        QCOMPARE(server.read("bob/" + name), content);
        QCOMPARE(QFileInfo(server.file("bob/" + name)).lastModified().toUTC(),
                 QDateTime(QDate(2023, 12, 31), QTime(23, 59, 58), Qt::UTC));
    }

    void severalFilesOnOneConnection()
    {
        ServerFixture server;
        QVERIFY(server.start());
        ScriptedClient client;
        QVERIFY(client.connectAndLogIn(server.port()));
        for (int i = 0; i < 3; ++i) {
            QString ack;
            QCOMPARE(client.upload(QStringLiteral("f%1.jpg").arg(i),
                                   patternBytes(3000 + i, char(i)), &ack),
                     QStringLiteral("200 0"));
            QCOMPARE(ack, QStringLiteral("250 stored"));
        }
        for (int i = 0; i < 3; ++i)
            QCOMPARE(server.read(QStringLiteral("bob/f%1.jpg").arg(i)),
                     patternBytes(3000 + i, char(i)));
    }

    void fileHeldWholeIsNotSentAgain()
    {
        ServerFixture server;
        QVERIFY(server.start());
        const QByteArray content = patternBytes(5000);
        for (const QString& expected : {QStringLiteral("200 0"), QStringLiteral("201 exists")}) {
            ScriptedClient client;
            QVERIFY(client.connectAndLogIn(server.port()));
            QCOMPARE(client.upload("a.jpg", content), expected);
        }
        QCOMPARE(server.allFiles(), QStringList{"bob/a.jpg"});
        QCOMPARE(server.read("bob/a.jpg"), content);
    }

    // A file of the same name but another size or time is another file: it
    // gets the next free version of the name and never replaces the stored one.
    void sameNameKeepsEveryVersion()
    {
        ServerFixture server;
        QVERIFY(server.start());
        ScriptedClient client;
        QVERIFY(client.connectAndLogIn(server.port()));

        const QByteArray first = patternBytes(10, 1);
        const QByteArray longer = patternBytes(20, 2);
        const QByteArray sameSizeLater = patternBytes(10, 3);
        QCOMPARE(client.upload("IMG.jpg", first), QStringLiteral("200 0"));
        QCOMPARE(client.upload("IMG.jpg", longer), QStringLiteral("200 0"));
        QCOMPARE(client.upload("IMG.jpg", sameSizeLater, nullptr, "2024/06/01"),
                 QStringLiteral("200 0"));
        QCOMPARE(client.upload("README", first), QStringLiteral("200 0"));
        QCOMPARE(client.upload("README", longer), QStringLiteral("200 0"));

        QCOMPARE(server.allFiles(), (QStringList{"bob/IMG (2).jpg", "bob/IMG (3).jpg",
                                                 "bob/IMG.jpg", "bob/README", "bob/README (2)"}));
        QCOMPARE(server.read("bob/IMG.jpg"), first);
        QCOMPARE(server.read("bob/IMG (2).jpg"), longer);
        QCOMPARE(server.read("bob/IMG (3).jpg"), sameSizeLater);
        QCOMPARE(server.read("bob/README (2)"), longer);

        // Each version is found again when it is offered once more.
        QCOMPARE(client.upload("IMG.jpg", longer), QStringLiteral("201 exists"));
        QCOMPARE(client.upload("IMG.jpg", first), QStringLiteral("201 exists"));
        QCOMPARE(client.upload("IMG.jpg", sameSizeLater, nullptr, "2024/06/01"),
                 QStringLiteral("201 exists"));
        QCOMPARE(server.allFiles().size(), 5);
    }

    void resumeAfterDisconnect_data()
    {
        QTest::addColumn<qint64>("sentBeforeCut");
        QTest::newRow("nothing after START") << qint64(0);
        QTest::newRow("one byte") << qint64(1);
        QTest::newRow("one chunk") << qint64(819200);
        QTest::newRow("all but one byte") << qint64(2000000 - 1);
        QTest::newRow("every byte, no acknowledgement read") << qint64(2000000);
    }

    void resumeAfterDisconnect()
    {
        QFETCH(qint64, sentBeforeCut);
        ServerFixture server;
        QVERIFY(server.start());
        const QByteArray content = patternBytes(2000000);
        {
            ScriptedClient client;
            QVERIFY(client.connectAndLogIn(server.port()));
            client.sendLine(ScriptedClient::putLine(content.size(), "big.mov"));
            QCOMPARE(client.readLine(), QStringLiteral("200 0"));
            client.sendRaw("START\r\n" + content.left(sentBeforeCut));
            client.close();
        }
        QTRY_VERIFY_WITH_TIMEOUT(server.transcript().contains(QStringLiteral("1 [closed]")), 10000);
        if (sentBeforeCut < content.size()) {
            const QStringList partials = partialsOf(server);
            QCOMPARE(partials.size(), 1);
            QCOMPARE(server.size(partials.first()), sentBeforeCut);
        }

        ScriptedClient again;
        QVERIFY(again.connectAndLogIn(server.port()));
        QString ack;
        const QString reply = again.upload("big.mov", content, &ack);
        if (sentBeforeCut < content.size()) {
            QCOMPARE(reply, QStringLiteral("200 %1").arg(sentBeforeCut));
            QCOMPARE(ack, QStringLiteral("250 stored"));
        } else {
            QCOMPARE(reply, QStringLiteral("201 exists"));
        }
        QCOMPARE(server.allFiles(), QStringList{"bob/big.mov"});
        QCOMPARE(server.read("bob/big.mov"), content);
    }

    // Whatever arrived before a hard reset is kept, and the resume offset says
    // exactly how much that was.
    void resumeAfterAbort()
    {
        ServerFixture server;
        QVERIFY(server.start());
        const QByteArray content = patternBytes(3000000);
        {
            ScriptedClient client;
            QVERIFY(client.connectAndLogIn(server.port()));
            client.sendLine(ScriptedClient::putLine(content.size(), "v.mp4"));
            QCOMPARE(client.readLine(), QStringLiteral("200 0"));
            client.sendRaw("START\r\n" + content.left(1500000));
            client.abort();
        }
        QTRY_VERIFY_WITH_TIMEOUT(server.transcript().contains(QStringLiteral("1 [closed]")), 10000);
        ScriptedClient again;
        QVERIFY(again.connectAndLogIn(server.port()));
        QString ack;
        const QString reply = again.upload("v.mp4", content, &ack);
        QVERIFY2(reply.startsWith(QLatin1String("200 ")), qPrintable(reply));
        QVERIFY(reply.mid(4).toLongLong() <= 1500000);
        QCOMPARE(ack, QStringLiteral("250 stored"));
        QCOMPARE(server.read("bob/v.mp4"), content);
        QCOMPARE(partialsOf(server), QStringList());
    }

    void disconnectAtAnyStep_data()
    {
        QTest::addColumn<int>("steps"); // lines sent before the cut
        QTest::newRow("after greeting") << 0;
        QTest::newRow("after helo") << 1;
        QTest::newRow("after auth") << 2;
        QTest::newRow("after put") << 3;
        QTest::newRow("after START") << 4;
    }

    void disconnectAtAnyStep()
    {
        QFETCH(int, steps);
        ServerFixture server;
        QVERIFY(server.start());
        {
            ScriptedClient client;
            QVERIFY(client.connectTo(server.port()));
            client.readGreeting();
            const QStringList lines{client.heloLine(), client.authLine("bob", "secret"),
                                    ScriptedClient::putLine(4, "x.jpg"), "START"};
            for (int i = 0; i < steps; ++i) {
                client.sendLine(lines[i]);
                if (i < 3)
                    QVERIFY(!client.readLine().isNull());
            }
            client.close();
        }
        QTRY_VERIFY_WITH_TIMEOUT(server.transcript().contains(QStringLiteral("1 [closed]")), 10000);
        ScriptedClient again;
        QVERIFY(again.connectAndLogIn(server.port()));
        QString ack;
        QCOMPARE(again.upload("x.jpg", "abcd", &ack), QStringLiteral("200 0"));
        QCOMPARE(ack, QStringLiteral("250 stored"));
        QCOMPARE(server.allFiles(), QStringList{"bob/x.jpg"});
    }

    // A refused put writes nothing anywhere, and the session goes on: the
    // client's next file is stored.
    void refusedPut_data()
    {
        QTest::addColumn<QString>("line");
        const auto named = [](const QByteArray& nameBytes) {
            return QStringLiteral("put 4 %1 none 2024/05/17;08:03:09 none")
                .arg(QString::fromLatin1(nameBytes.toBase64()));
        };
        QTest::newRow("parent folder") << named("../x");
        QTest::newRow("absolute path") << named("/etc/x");
        QTest::newRow("sub-folder") << named("a/b");
        QTest::newRow("dot dot") << named("..");
        QTest::newRow("dot") << named(".");
        QTest::newRow("empty name") << named("");
        QTest::newRow("backslash") << named("a\\b");
        QTest::newRow("line break") << named("x\ny.jpg");
        QTest::newRow("NUL") << named(QByteArray("a\0b.jpg", 7));
        QTest::newRow("DEL") << named("a\x7f.jpg");
        QTest::newRow("partial file name") << named(".IMG.jpg.4-1.partial");
        QTest::newRow("name record") << named(".IMG.jpg.kyvane-name");
        QTest::newRow("name over 255 bytes") << named(QByteArray(256, 'n'));
        QTest::newRow("not UTF-8") << named("\xff\xfe.jpg");
        QTest::newRow("not Base64") << "put 4 !!!! none none none";
        QTest::newRow("Base64 cut short") << "put 4 YWJ none none none";
        QTest::newRow("negative size") << "put -5 YS5qcGc= none none none";
        QTest::newRow("size with plus") << "put +5 YS5qcGc= none none none";
        QTest::newRow("leading zero") << "put 05 YS5qcGc= none none none";
        QTest::newRow("size beyond 64 bits") << "put 9223372036854775808 YS5qcGc= none none none";
        QTest::newRow("twenty digits") << "put 99999999999999999999 YS5qcGc= none none none";
        QTest::newRow("size not a number") << "put five YS5qcGc= none none none";
        QTest::newRow("missing field") << "put 5 YS5qcGc= none none";
        QTest::newRow("extra field") << "put 5 YS5qcGc= none none none x";
        QTest::newRow("two blanks") << "put 5  YS5qcGc= none none none";
        QTest::newRow("month 13") << "put 5 YS5qcGc= 2024/13/01 none none";
        QTest::newRow("30 February") << "put 5 YS5qcGc= none 2024/02/30 none";
        QTest::newRow("hour 24") << "put 5 YS5qcGc= none 2024/05/17;24:00:00 none";
        QTest::newRow("dashes") << "put 5 YS5qcGc= none 2024-05-17 none";
        QTest::newRow("capture without time") << "put 5 YS5qcGc= none none 2024/05/17";
        QTest::newRow("capture as word") << "put 5 YS5qcGc= none none yesterday";
        QTest::newRow("bare put") << "put ";
    }

    void refusedPut()
    {
        QFETCH(QString, line);
        ServerFixture server;
        QVERIFY(server.start());
        ScriptedClient client;
        QVERIFY(client.connectAndLogIn(server.port()));
        client.sendLine(line);
        const QString reply = client.readLine();
        QVERIFY2(reply.startsWith(QLatin1String("501 ")), qPrintable(reply));
        QCOMPARE(server.allFiles(), QStringList());
        QCOMPARE(server.allFilesOfFixture(), QStringList{"transcript.txt"});
        QString ack;
        QCOMPARE(client.upload("next.jpg", "abc", &ack), QStringLiteral("200 0"));
        QCOMPARE(ack, QStringLiteral("250 stored"));
        QCOMPARE(server.allFiles(), QStringList{"bob/next.jpg"});
    }

    // A client that sends "START" after a refusal is about to send raw bytes
    // the server would read as commands: it is closed.
    void startAfterARefusalCloses()
    {
        ServerFixture server;
        QVERIFY(server.start());
        ScriptedClient client;
        QVERIFY(client.connectAndLogIn(server.port()));
        client.sendLine(QStringLiteral("put 4 YVxi none none none")); // a name with a backslash
        QVERIFY(client.readLine().startsWith(QLatin1String("501 ")));
        client.sendLine(QStringLiteral("START"));
        QCOMPARE(client.readLine(), QStringLiteral("500 no upload after a refused put"));
        QVERIFY(client.waitForClosed());
        QCOMPARE(server.allFiles(), QStringList());
    }

    void sizeBeyondFreeSpaceIsRefused()
    {
        ServerFixture server;
        QVERIFY(server.start());
        ScriptedClient client;
        QVERIFY(client.connectAndLogIn(server.port()));
        client.sendLine(ScriptedClient::putLine(Q_INT64_C(9223372036854775807), "huge.mov"));
        QCOMPARE(client.readLine(), QStringLiteral("451 not enough free space"));
        client.sendLine(QStringLiteral("START"));
        QCOMPARE(client.readLine(), QStringLiteral("500 no upload after a refused put"));
        QVERIFY(client.waitForClosed());
    }

    void timesInEveryForm_data()
    {
        QTest::addColumn<QString>("line");
        QTest::addColumn<QDateTime>("modified"); // invalid: not set
        QTest::newRow("all with time")
            << "put 3 YS5qcGc= 2024/05/17;08:03:09 2024/05/18;09:04:10 2024/05/19;10:05:11"
            << QDateTime(QDate(2024, 5, 18), QTime(9, 4, 10), Qt::UTC);
        QTest::newRow("midnight as day alone")
            << "put 3 YS5qcGc= 2024/05/17 2024/05/18 none"
            << QDateTime(QDate(2024, 5, 18), QTime(0, 0), Qt::UTC);
        QTest::newRow("modified none") << "put 3 YS5qcGc= none none none" << QDateTime();
    }

    void timesInEveryForm()
    {
        QFETCH(QString, line);
        QFETCH(QDateTime, modified);
        ServerFixture server;
        QVERIFY(server.start());
        ScriptedClient client;
        QVERIFY(client.connectAndLogIn(server.port()));
        client.sendLine(line);
        QCOMPARE(client.readLine(), QStringLiteral("200 0"));
        client.sendRaw("START\r\nabc");
        QCOMPARE(client.readLine(), QStringLiteral("250 stored"));
        QCOMPARE(server.read("bob/a.jpg"), QByteArray("abc"));
        if (modified.isValid())
            QCOMPARE(QFileInfo(server.file("bob/a.jpg")).lastModified().toUTC(), modified);
        client.sendLine(line);
        QCOMPARE(client.readLine(), QStringLiteral("201 exists"));
    }

    // A connection that has gone quiet half-way through a file loses its
    // partial file to a new upload of that file, which goes on from the
    // bytes already stored; the quiet connection is closed.
    void quietHolderIsTakenOver()
    {
        ServerFixture server;
        server.options.takeoverAfterMs = 300;
        QVERIFY(server.start());
        const QByteArray content = patternBytes(1500000, 3);

        ScriptedClient stalled;
        QVERIFY(stalled.connectAndLogIn(server.port()));
        QCOMPARE(stalled.startUpload(content.size(), "big.mov", content.left(700000)),
                 QStringLiteral("200 0"));
        QTRY_VERIFY_WITH_TIMEOUT(server.holdsOnePartialOf(700000), 10000);
        QTest::qWait(500);

        ScriptedClient fresh;
        QVERIFY(fresh.connectAndLogIn(server.port()));
        QString ack;
        QCOMPARE(fresh.upload("big.mov", content, &ack), QStringLiteral("200 700000"));
        QCOMPARE(ack, QStringLiteral("250 stored"));
        QVERIFY(stalled.waitForClosed());
        QCOMPARE(server.allFiles(), QStringList{"bob/big.mov"});
        QCOMPARE(server.read("bob/big.mov"), content);
    }

    // A name of 250 UTF-8 bytes is stored, resumed through a partial file
    // whose name fits the file system, and versioned within the limit; one
    // of 256 bytes is refused with the reason.
    void longNames()
    {
        const QString name = QString(82, QChar(0x7167)) + QStringLiteral(".jpg"); // 250 bytes
        QCOMPARE(name.toUtf8().size(), 250);
        const QByteArray content = patternBytes(5000, 4);
        ServerFixture server;
        QVERIFY(server.start());
        {
            ScriptedClient client;
            QVERIFY(client.connectAndLogIn(server.port()));
            QCOMPARE(client.startUpload(content.size(), name, content.left(2000)),
                     QStringLiteral("200 0"));
            client.close();
        }
        QTRY_VERIFY_WITH_TIMEOUT(server.transcript().contains(QStringLiteral("1 [closed]")), 10000);
        const QStringList partials = partialsOf(server);
        QCOMPARE(partials.size(), 1);
        QVERIFY(QFileInfo(partials.first()).fileName().toUtf8().size() <= 255);

        ScriptedClient client;
        QVERIFY(client.connectAndLogIn(server.port()));
        QString ack;
        QCOMPARE(client.upload(name, content, &ack), QStringLiteral("200 2000"));
        QCOMPARE(ack, QStringLiteral("250 stored"));
        QCOMPARE(server.read("bob/" + name), content);

        QCOMPARE(client.upload(name, "other", &ack, "2020/01/01;00:00:01"),
                 QStringLiteral("200 0"));
        QCOMPARE(ack, QStringLiteral("250 stored"));
        const QString second = QString(82, QChar(0x7167)) + QStringLiteral(" (2).jpg");
        QCOMPARE(server.allFiles(), (QStringList{"bob/" + second, "bob/" + name})); // sorted
        QCOMPARE(server.read("bob/" + second), QByteArray("other"));

        client.sendLine(ScriptedClient::putLine(3, QString(252, QLatin1Char('n')) + ".jpg"));
        QCOMPARE(client.readLine(), QStringLiteral("501 name is longer than 255 bytes"));
    }

    // Two connections at once: one waits half-way through a file while the
    // other stores two files, one of them the very file the first is sending.
    void concurrentUploads()
    {
        ServerFixture server;
        QVERIFY(server.start());
        const QByteArray shared = patternBytes(1500000, 7);
        const QByteArray other = patternBytes(4000, 8);

        ScriptedClient slow;
        QVERIFY(slow.connectAndLogIn(server.port()));
        slow.sendLine(ScriptedClient::putLine(shared.size(), "same.jpg"));
        QCOMPARE(slow.readLine(), QStringLiteral("200 0"));
        slow.sendRaw("START\r\n" + shared.left(700000));
        QTRY_VERIFY_WITH_TIMEOUT(partialsOf(server).size() == 1 &&
                                     server.size(partialsOf(server).first()) == 700000,
                                 10000);

        ScriptedClient fast;
        QVERIFY(fast.connectAndLogIn(server.port()));
        QString ack;
        QCOMPARE(fast.upload("other.jpg", other, &ack), QStringLiteral("200 0"));
        QCOMPARE(ack, QStringLiteral("250 stored"));
        QCOMPARE(fast.upload("same.jpg", shared, &ack), QStringLiteral("200 0"));
        QCOMPARE(ack, QStringLiteral("250 stored"));

        slow.sendRaw(shared.mid(700000));
        QCOMPARE(slow.readLine(), QStringLiteral("250 stored"));

        QCOMPARE(server.allFiles(), (QStringList{"bob/other.jpg", "bob/same.jpg"}));
        QCOMPARE(server.read("bob/same.jpg"), shared);
        QCOMPARE(server.read("bob/other.jpg"), other);
    }
};

QTEST_GUILESS_MAIN(TestServerUpload)
#include "tst_serverupload.moc"
