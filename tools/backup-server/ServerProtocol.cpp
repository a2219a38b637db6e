#include "ServerProtocol.h"

#include "transfer/Digest.h"

#include <QRandomGenerator>

namespace kyvane::server::protocol {

QString makeNonce()
{
    static constexpr char kAlphabet[] =
        "0123456789abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ";
    constexpr int kLength = 16;
    QString nonce;
    nonce.reserve(kLength);
    for (int i = 0; i < kLength; ++i)
        nonce.append(QLatin1Char(
            kAlphabet[QRandomGenerator::system()->bounded(int(sizeof(kAlphabet) - 1))]));
    return nonce;
}

QString greetingFor(const QString& nonce)
{
    return QStringLiteral("220 kyvane-server ready,") + nonce;
}

QString nonceOfGreeting(const QString& greeting)
{
    const qsizetype first = greeting.indexOf(QLatin1Char(','));
    if (first < 0)
        return {};
    const qsizetype second = greeting.indexOf(QLatin1Char(','), first + 1);
    return trimmed(greeting.mid(first + 1, second < 0 ? -1 : second - first - 1));
}

QString trimmed(const QString& text)
{
    qsizetype begin = 0;
    qsizetype end = text.size();
    while (begin < end && text.at(begin).unicode() <= 0x20)
        ++begin;
    while (end > begin && text.at(end - 1).unicode() <= 0x20)
        --end;
    return text.mid(begin, end - begin);
}

QString decodeLine(const QByteArray& bytes)
{
    QString text(bytes.size(), Qt::Uninitialized);
    for (qsizetype i = 0; i < bytes.size(); ++i) {
        const auto byte = static_cast<unsigned char>(bytes.at(i));
        text[i] = byte <= 0x7F ? QChar(byte) : QChar(QChar::ReplacementCharacter);
    }
    return text;
}

QByteArray encodeLine(const QString& text)
{
    return toSevenBitAscii(text) + "\r\n";
}

QString expectedHelo(const QString& nonce)
{
    return trimmed(FloatEnc(nonce));
}

QString expectedProof(const QString& password, const QString& nonce)
{
    return LockboxMD5(passwordDigest(password) + QLatin1Char('=') + nonce);
}

qint64 offsetOfReply(const QString& reply)
{
    const qsizetype blank = reply.indexOf(QLatin1Char(' '));
    if (blank < 0)
        return 0;
    bool ok = false;
    const qint64 offset = trimmed(reply.mid(blank + 1)).toLongLong(&ok);
    return ok ? offset : 0;
}

} // namespace kyvane::server::protocol
