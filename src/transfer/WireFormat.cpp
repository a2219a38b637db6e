#include "transfer/WireFormat.h"

#include "transfer/Digest.h"

#include <QRegularExpression>

namespace kyvane::wire {

QByteArray encodeLine(const QString& text) { return toSevenBitAscii(text) + "\r\n"; }

QString decodeLine(const QByteArray& bytes)
{
    QString text(bytes.size(), Qt::Uninitialized);
    for (qsizetype i = 0; i < bytes.size(); ++i) {
        const auto byte = static_cast<unsigned char>(bytes.at(i));
        text[i] = byte < 0x80 ? QChar(byte) : QChar(QChar::ReplacementCharacter);
    }
    return text;
}

QString replyCode(const QString& line) { return line.size() < 3 ? QString() : line.left(3); }

bool isRefusal(const QString& reply)
{
    const QString code = replyCode(reply);
    return code.startsWith(QLatin1Char('4')) || code.startsWith(QLatin1Char('5'));
}

QString replyText(const QString& reply)
{
    const QString text = trimControls(reply.mid(3));
    return text.isEmpty() ? trimControls(reply) : text;
}

QString nonceFromGreeting(const QString& greeting)
{
    const qsizetype first = greeting.indexOf(QLatin1Char(','));
    if (first < 0)
        return QString();
    const qsizetype second = greeting.indexOf(QLatin1Char(','), first + 1);
    const qsizetype end = second < 0 ? greeting.size() : second;
    return trimControls(greeting.mid(first + 1, end - first - 1));
}

qint64 resumeOffset(const QString& reply)
{
    const qsizetype blank = reply.indexOf(QLatin1Char(' '));
    if (blank < 0)
        return 0;
    QStringView number = QStringView(reply).mid(blank + 1);
    while (number.startsWith(QLatin1Char(' ')))
        number = number.mid(1);
    // A whole number and nothing else: an optional sign, then digits only.
    static const QRegularExpression wholeNumber(QStringLiteral("^[+-]?[0-9]+$"));
    if (!wholeNumber.match(number).hasMatch())
        return 0;
    bool ok = false;
    const qint64 offset = number.toLongLong(&ok, 10);
    return ok && offset > 0 ? offset : 0;
}

QString timeField(const QDateTime& utc)
{
    const QDateTime moment = utc.toUTC();
    QString field = moment.toString(QStringLiteral("yyyy/MM/dd"));
    if (moment.time() != QTime(0, 0))
        field += moment.toString(QStringLiteral(";HH:mm:ss"));
    return field;
}

QString createdField(const QDateTime& utc)
{
    if (!utc.isValid())
        return QStringLiteral("none");
    const QString field = timeField(utc);
    return field.startsWith(QLatin1String("197")) ? QStringLiteral("none") : field;
}

QString putLine(qint64 size, const QString& fileName, const QDateTime& createdUtc,
                const QDateTime& modifiedUtc, const QString& captured)
{
    return QStringLiteral("put %1 %2 %3 %4 %5")
        .arg(QString::number(size), QString::fromLatin1(fileName.toUtf8().toBase64()),
             createdField(createdUtc), timeField(modifiedUtc), captured);
}

int percentSent(qint64 total, qint64 remaining)
{
    if (total <= 0)
        return 100;
    const qint64 sent = total - remaining;
    // sent * 100 stays far inside 64 bits for any real file.
    const qint64 scaled = sent * 100;
    qint64 quotient = scaled / total;
    const qint64 twiceRest = (scaled % total) * 2;
    if (twiceRest > total || (twiceRest == total && quotient % 2 != 0))
        ++quotient;
    return static_cast<int>(quotient);
}

QString trimControls(const QString& text)
{
    qsizetype begin = 0;
    qsizetype end = text.size();
    while (begin < end && text.at(begin).unicode() <= 0x20)
        ++begin;
    while (end > begin && text.at(end - 1).unicode() <= 0x20)
        --end;
    return text.mid(begin, end - begin);
}

} // namespace kyvane::wire
