#include "ui/QueueRowRules.h"

#include "core/ProgramFolder.h"

#include <QFile>

namespace kyvane {

QString QueueRowRules::rowName(const QString& jobName)
{
    return QStringLiteral("LI_") + jobName;
}

QString QueueRowRules::fileCountBarName(const QString& jobName)
{
    return QStringLiteral("PG2_") + jobName;
}

QString QueueRowRules::countLabelName(const QString& jobName)
{
    return QStringLiteral("LB_") + jobName;
}

QString QueueRowRules::entryBarName(const QString& jobName)
{
    return QStringLiteral("PG_") + jobName;
}

QString QueueRowRules::jobNameFromRowName(const QString& rowName)
{
    return rowName.mid(3);
}

QString QueueRowRules::serverOfEntry(const QString& entry)
{
    return entry.section(QLatin1Char('|'), 0, 0);
}

QString QueueRowRules::rowText(const QString& server, const QString& currentFile)
{
    return QStringLiteral("[ ") + server + QStringLiteral(" ]\r\n\r\n") + currentFile;
}

QString QueueRowRules::countText(int finished, int entries)
{
    return QString::number(finished) + QStringLiteral(" / ") + QString::number(entries);
}

bool QueueRowRules::finishesJob(int value, int value2, int value3)
{
    return value == 100 && value2 == value3;
}

QString QueueRowRules::jobFilePath(const QString& jobName)
{
    return ProgramFolder::file(jobName + QStringLiteral(".kyv"));
}

bool QueueRowRules::removeJobFile(const QString& jobName)
{
    const QString path = jobFilePath(jobName);
    if (!QFile::exists(path))
        return true;
    return QFile::remove(path);
}

} // namespace kyvane
