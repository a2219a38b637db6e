#include "PutRequest.h"

#include "SafeName.h"

#include <QRegularExpression>

namespace kyvane::server {

namespace {

// "none", "YYYY/MM/DD" (an exact midnight) or "YYYY/MM/DD;hh:mm:ss", in UTC.
// Returns false when the text is none of these or not a real moment.
bool parseTimeField(const QString& text, QDateTime& moment)
{
    moment = {};
    if (text == QLatin1String("none"))
        return true;
    static const QRegularExpression form(
        QStringLiteral("^(\\d{4})/(\\d{2})/(\\d{2})(?:;(\\d{2}):(\\d{2}):(\\d{2}))?$"));
    const QRegularExpressionMatch m = form.match(text);
    if (!m.hasMatch())
        return false;
    const QDate date(m.captured(1).toInt(), m.captured(2).toInt(), m.captured(3).toInt());
    const QTime time = m.hasCaptured(4) ? QTime(m.captured(4).toInt(), m.captured(5).toInt(),
                                                m.captured(6).toInt())
                                        : QTime(0, 0);
    if (!date.isValid() || !time.isValid())
        return false;
    moment = QDateTime(date, time, Qt::UTC);
    return true;
}

// The capture time is passed on from photo and video metadata, so only its
// shape is checked, not whether it names a real day.
bool isCaptureField(const QString& text)
{
    static const QRegularExpression form(
        QStringLiteral("^\\d{4}/\\d{2}/\\d{2};\\d{2}:\\d{2}:\\d{2}$"));
    return text == QLatin1String("none") || form.match(text).hasMatch();
}

std::optional<PutRequest> refuse(QString* why, const QString& reason)
{
    if (why)
        *why = reason;
    return std::nullopt;
}

} // namespace

std::optional<PutRequest> PutRequest::parse(const QString& arguments, QString* why)
{
    const QStringList fields = arguments.split(QLatin1Char(' '));
    if (fields.size() != 5)
        return refuse(why, QStringLiteral("put needs five fields"));

    PutRequest put;
    static const QRegularExpression sizeForm(QStringLiteral("^(0|[1-9]\\d{0,18})$"));
    bool sizeOk = sizeForm.match(fields[0]).hasMatch();
    if (sizeOk)
        put.size = fields[0].toLongLong(&sizeOk);
    if (!sizeOk)
        return refuse(why, QStringLiteral("bad size"));

    QString nameProblem;
    const auto name = safename::decodeFileName(fields[1].toLatin1(), &nameProblem);
    if (!name)
        return refuse(why, nameProblem);
    put.name = *name;

    if (!parseTimeField(fields[2], put.created))
        return refuse(why, QStringLiteral("bad created time"));
    if (!parseTimeField(fields[3], put.modified))
        return refuse(why, QStringLiteral("bad modified time"));
    if (!isCaptureField(fields[4]))
        return refuse(why, QStringLiteral("bad capture time"));
    put.captured = fields[4];
    return put;
}

} // namespace kyvane::server
