#include "transfer/Digest.h"

#include <QByteArray>
#include <QCryptographicHash>

namespace kyvane {

QByteArray toSevenBitAscii(const QString& text)
{
    QByteArray bytes(text.size(), Qt::Uninitialized);
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char16_t unit = text.at(i).unicode();
        bytes[i] = unit <= 0x7F ? static_cast<char>(unit) : '?';
    }
    return bytes;
}

QString LockboxMD5(const QString& instr)
{
    const QByteArray digest =
        QCryptographicHash::hash(toSevenBitAscii(instr), QCryptographicHash::Md5);
    return QString::fromLatin1(digest.toHex()); // toHex writes a-f in lower case
}

QString FloatEnc(const QString& instr)
{
    // Digit d is written as kExchanged[d].
    static constexpr char kExchanged[] = "ecaf45d87b";
    QString result;
    result.reserve(instr.size() * 11);
    for (const QChar c : instr) {
        const quint64 square = quint64(c.unicode()) * c.unicode();
        for (const char digit : QByteArray::number(square))
            result.append(QLatin1Char(kExchanged[digit - '0']));
        result.append(QLatin1Char(' '));
    }
    return result;
}

QString passwordDigest(const QString& password) { return LockboxMD5(kPasswordSalt + password); }

} // namespace kyvane
