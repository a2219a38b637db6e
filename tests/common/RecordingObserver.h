#pragma once

#include "transfer/JobObserver.h"

#include <QObject>
#include <QStringList>

#include <functional>

// Records every call a worker makes, on the thread the recorder lives on.
class RecordingObserver : public QObject, public kyvane::JobObserver
{
public:
    struct Report
    {
        QString target;
        int value;
        int value2;
        int value3;
        QString currentfile;
        QString server;
    };

    QObject* context() override { return this; }

    void AddToDoList(const QString& tname, const QStringList& files,
                     const QString& currentfile) override
    {
        rows.append(tname);
        rowFiles = files;
        rowCurrentFile = currentfile;
    }

    void SetToDoListProgressbar(const QString& target, int value, int value2, int value3,
                                const QString& currentfile, const QString& server) override
    {
        reports.append({target, value, value2, value3, currentfile, server});
        if (onReport)
            onReport(reports.last());
    }

    void ShowStatusLine(const QString& line) override
    {
        statusLines.append(line);
        if (onStatus)
            onStatus(line);
    }

    void JobEnded(const QString& tname, const kyvane::OutcomeCounts& run) override
    {
        endedJobs.append(tname);
        runCounts.append(run);
    }

    // The percentages reported, in order.
    QList<int> values() const
    {
        QList<int> list;
        for (const Report& report : reports)
            list.append(report.value);
        return list;
    }

    // Status lines that were not the clearing empty ones.
    QStringList logLines() const
    {
        QStringList lines;
        for (const QString& line : statusLines)
            if (!line.isEmpty())
                lines.append(line);
        return lines;
    }

    // A job is finished when a report says 100 with every entry counted.
    bool finished() const
    {
        for (const Report& report : reports)
            if (report.value == 100 && report.value2 == report.value3)
                return true;
        return false;
    }

    // Run on the recorder's thread, inside the worker's hand-over.
    std::function<void(const Report&)> onReport;
    std::function<void(const QString&)> onStatus;

    QStringList rows;
    QStringList rowFiles;
    QString rowCurrentFile;
    QList<Report> reports;
    QStringList statusLines;
    QStringList endedJobs;
    QList<kyvane::OutcomeCounts> runCounts; // one per ended job
};
