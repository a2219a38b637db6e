#include "ServerProtocol.h"

#include "transfer/Digest.h"
#include "transfer/WireFormat.h"

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

QString expectedHelo(const QString& nonce)
{
    return wire::trimControls(FloatEnc(nonce));
}

QString expectedProof(const QString& password, const QString& nonce)
{
    return LockboxMD5(passwordDigest(password) + QLatin1Char('=') + nonce);
}

} // namespace kyvane::server::protocol
