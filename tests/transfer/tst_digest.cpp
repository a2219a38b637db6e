#include "transfer/Digest.h"

#include <QtTest>

using namespace kyvane;

class TestDigest : public QObject
{
    Q_OBJECT

private slots:
    void floatEnc_data()
    {
        QTest::addColumn<QString>("input");
        QTest::addColumn<QString>("expected");
        QTest::newRow("abc") << "abc" << "b4eb bde4 b7ec ";
        QTest::newRow("A") << "A" << "4aa5 ";
        QTest::newRow("empty") << "" << "";
        QTest::newRow("digits of nonce") << "4711" << "a8e4 fea5 a4ec a4ec ";
        // "4" is 52, 52 * 52 = 2704; 65535 * 65535 = 4294836225 needs ten digits
        QTest::newRow("largest unit") << QString(QChar(0xFFFF)) << "4ab47fdaa5 ";
        QTest::newRow("NUL") << QString(QChar(0)) << "e ";
    }

    void floatEnc()
    {
        QFETCH(QString, input);
        QFETCH(QString, expected);
        QCOMPARE(FloatEnc(input), expected);
    }

    void lockboxMD5_data()
    {
        QTest::addColumn<QString>("input");
        QTest::addColumn<QString>("expected");
        QTest::newRow("empty") << "" << "d41d8cd98f00b204e9800998ecf8427e";
        QTest::newRow("abc") << "abc" << "900150983cd24fb0d6963f7d28e17f72";
        QTest::newRow("non-ASCII is ?") << QString::fromUtf8("é") << "d1457b72c3fb323a2671125aef3eab5d";
        QTest::newRow("salted password") << "Tulip#Kx=secret"
                                         << QString::fromLatin1(QCryptographicHash::hash(
                                                "Tulip#Kx=secret", QCryptographicHash::Md5).toHex());
    }

    void lockboxMD5()
    {
        QFETCH(QString, input);
        QFETCH(QString, expected);
        const QString digest = LockboxMD5(input);
        QCOMPARE(digest, expected);
        QCOMPARE(digest, digest.toLower());
        QCOMPARE(digest.size(), 32);
    }

    void chinesePasswordsOfOneLengthShareADigest()
    {
        const QString a = QString::fromUtf8("密碼");
        const QString b = QString::fromUtf8("你好");
        QCOMPARE(passwordDigest(a), passwordDigest(b));
        QCOMPARE(passwordDigest(a), LockboxMD5("Tulip#Kx=??"));
        QVERIFY(passwordDigest(a) != passwordDigest(QString::fromUtf8("密碼碼")));
    }

    void surrogatePairCountsTwice()
    {
        // One emoji is two UTF-16 code units, so two "?".
        QCOMPARE(toSevenBitAscii(QString::fromUtf8("a\xF0\x9F\x98\x80")), QByteArray("a??"));
    }
};

QTEST_GUILESS_MAIN(TestDigest)
#include "tst_digest.moc"
