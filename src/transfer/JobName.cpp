#include "transfer/JobName.h"

#include "transfer/JobFiles.h"
#include "transfer/RunningJobs.h"

#include <QFile>

#include <algorithm>
#include <ctime>

namespace kyvane {

namespace {

constexpr int kSecondsPerDay = 24 * 60 * 60;

int localSecondOfDay(std::chrono::system_clock::time_point now)
{
    const std::time_t seconds = std::chrono::system_clock::to_time_t(now);
    std::tm local{};
    localtime_r(&seconds, &local);
    // A leap second (tm_sec 60) counts as the second before it.
    return local.tm_hour * 3600 + local.tm_min * 60 + std::min(local.tm_sec, 59);
}

QString nameOfSecond(int secondOfDay)
{
    return QStringLiteral("%1%2%3")
        .arg(secondOfDay / 3600, 2, 10, QLatin1Char('0'))
        .arg(secondOfDay / 60 % 60, 2, 10, QLatin1Char('0'))
        .arg(secondOfDay % 60, 2, 10, QLatin1Char('0'));
}

bool isTaken(const QString& name)
{
    return QFile::exists(JobFiles::jobFilePath(name)) || RunningJobs::isRunning(name);
}

} // namespace

QString MakeJobName(std::chrono::system_clock::time_point now)
{
    return nameOfSecond(localSecondOfDay(now));
}

QString freeJobName(std::chrono::system_clock::time_point now)
{
    const int first = localSecondOfDay(now);
    for (int step = 0; step < kSecondsPerDay; ++step) {
        const QString name = nameOfSecond((first + step) % kSecondsPerDay);
        if (!isTaken(name))
            return name;
    }
    return QString();
}

} // namespace kyvane
