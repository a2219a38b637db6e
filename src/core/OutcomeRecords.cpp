#include "core/OutcomeRecords.h"

#include <array>
#include <utility>

namespace kyvane {

namespace {

constexpr std::array<std::pair<Outcome, const char*>, 6> kOutcomeNames{{
    {Outcome::Waiting, "waiting"},
    {Outcome::Sent, "sent"},
    {Outcome::Held, "held"},
    {Outcome::Failed, "failed"},
    {Outcome::NotFound, "not-found"},
    {Outcome::Refused, "refused"},
}};

constexpr std::array<std::pair<JobKind::Type, const char*>, 5> kKindNames{{
    {JobKind::Type::Unknown, "unknown"},
    {JobKind::Type::Today, "today"},
    {JobKind::Type::FiveDays, "five-days"},
    {JobKind::Type::DateRange, "date-range"},
    {JobKind::Type::Manual, "manual"},
}};

} // namespace

QString outcomeName(Outcome outcome)
{
    for (const auto& [value, name] : kOutcomeNames)
        if (value == outcome)
            return QString::fromLatin1(name);
    return QStringLiteral("failed");
}

Outcome outcomeFromName(const QString& name)
{
    for (const auto& [value, text] : kOutcomeNames)
        if (name == QLatin1String(text))
            return value;
    return Outcome::Failed;
}

QString jobKindName(JobKind::Type type)
{
    for (const auto& [value, name] : kKindNames)
        if (value == type)
            return QString::fromLatin1(name);
    return QStringLiteral("unknown");
}

JobKind::Type jobKindFromName(const QString& name)
{
    for (const auto& [value, text] : kKindNames)
        if (name == QLatin1String(text))
            return value;
    return JobKind::Type::Unknown;
}

void OutcomeCounts::add(Outcome outcome, int count)
{
    switch (outcome) {
    case Outcome::Waiting:
        waiting += count;
        break;
    case Outcome::Sent:
        sent += count;
        break;
    case Outcome::Held:
        held += count;
        break;
    case Outcome::Failed:
        failed += count;
        break;
    case Outcome::NotFound:
        notFound += count;
        break;
    case Outcome::Refused:
        refused += count;
        break;
    }
}

} // namespace kyvane
