#include "ui/JobTexts.h"

#include "i18n/ExtraTexts.h"
#include "i18n/LanguageRes.h"

#include <QLocale>
#include <QStringList>

namespace kyvane::JobTexts {

namespace {

const QString kSeparator = QStringLiteral(" · ");

bool chinese()
{
    return currentLanguage() != kLanguageEnglish;
}

QString dayText(const QDate& day)
{
    if (chinese())
        return QStringLiteral("%1月%2日").arg(day.month()).arg(day.day());
    return QLocale(QLocale::English).toString(day, QStringLiteral("d MMM"));
}

QString count(ExtraText text, int value)
{
    return extraText(text).arg(value);
}

} // namespace

QString momentText(const QDateTime& moment, const QDateTime& now)
{
    const QString time = moment.toString(QStringLiteral("HH:mm"));
    if (moment.date() == now.date())
        return time;
    return dayText(moment.date()) + QLatin1Char(' ') + time;
}

QString jobTitle(const JobRecord& job, const QDateTime& now)
{
    QString kind;
    switch (job.kind.type) {
    case JobKind::Type::Today:
        kind = extraText(ExtraText::KindToday);
        break;
    case JobKind::Type::FiveDays:
        kind = extraText(ExtraText::KindFiveDays);
        break;
    case JobKind::Type::Manual:
        kind = extraText(ExtraText::KindManual);
        break;
    case JobKind::Type::DateRange: {
        const QDate first = QDate::fromString(job.kind.firstDay, QStringLiteral("yyyy/MM/dd"));
        const QDate last = QDate::fromString(job.kind.lastDay, QStringLiteral("yyyy/MM/dd"));
        kind = first.isValid() && last.isValid()
                   ? dayText(first) + QStringLiteral(" – ") + dayText(last)
                   : job.kind.firstDay + QStringLiteral(" – ") + job.kind.lastDay;
        break;
    }
    case JobKind::Type::Unknown:
        kind = extraText(ExtraText::KindUnknown);
        break;
    }
    return kind + QLatin1Char(' ') +
           momentText(QDateTime::fromMSecsSinceEpoch(job.madeMs), now);
}

QString untrackedJobTitle(const QString& jobName)
{
    const QTime time = QTime::fromString(jobName, QStringLiteral("HHmmss"));
    return extraText(ExtraText::KindUnknown) + QLatin1Char(' ') +
           (time.isValid() ? time.toString(QStringLiteral("HH:mm")) : jobName);
}

QString countsText(const OutcomeCounts& counts)
{
    QStringList parts{count(ExtraText::CountSent, counts.sent)};
    if (counts.held > 0)
        parts << count(ExtraText::CountHeld, counts.held);
    parts << count(ExtraText::CountFailed, counts.failed);
    if (counts.refused > 0)
        parts << count(ExtraText::CountRefused, counts.refused);
    if (counts.notFound > 0)
        parts << count(ExtraText::CountNotFound, counts.notFound);
    parts << count(ExtraText::CountWaiting, counts.waiting);
    return parts.join(kSeparator);
}

QString settledText(const OutcomeCounts& counts)
{
    QStringList parts{count(ExtraText::CountSent, counts.sent)};
    if (counts.held > 0)
        parts << count(ExtraText::CountHeld, counts.held);
    if (counts.notFound > 0)
        parts << count(ExtraText::CountNotFound, counts.notFound);
    return parts.join(kSeparator);
}

QString problemsText(const OutcomeCounts& counts)
{
    QStringList parts;
    if (counts.failed > 0)
        parts << count(ExtraText::CountFailed, counts.failed);
    if (counts.refused > 0)
        parts << count(ExtraText::CountRefused, counts.refused);
    if (counts.notFound > 0)
        parts << count(ExtraText::CountNotFound, counts.notFound);
    return parts.join(kSeparator);
}

QString outcomeText(Outcome outcome)
{
    switch (outcome) {
    case Outcome::Sent:
        return extraText(ExtraText::OutcomeSent);
    case Outcome::Held:
        return extraText(ExtraText::OutcomeHeld);
    case Outcome::Failed:
        return extraText(ExtraText::OutcomeFailed);
    case Outcome::Refused:
        return extraText(ExtraText::OutcomeRefused);
    case Outcome::NotFound:
        return extraText(ExtraText::OutcomeNotFound);
    case Outcome::Waiting:
        break;
    }
    return extraText(ExtraText::OutcomeWaiting);
}

} // namespace kyvane::JobTexts
