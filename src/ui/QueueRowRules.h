#pragma once

#include <QString>

namespace kyvane {

// The rules of a queue row that need no widget: the names of the row and its
// parts, the row text, and when a progress report finishes the job.
class QueueRowRules
{
public:
    // The finished mark of a row whose every entry is done.
    static constexpr int kFinished = 100;
    static constexpr int kRunning = 0;

    // "LI_" + job name: the row item's name and its tag string.
    static QString rowName(const QString& jobName);
    // "PG2_" + job name: the file-count bar.
    static QString fileCountBarName(const QString& jobName);
    // "LB_" + job name: the count label over the file-count bar.
    static QString countLabelName(const QString& jobName);
    // "PG_" + job name: the entry bar.
    static QString entryBarName(const QString& jobName);

    // The row name (or tag string) without its first three characters.
    static QString jobNameFromRowName(const QString& rowName);

    // The server shown for a job: the first "|"-separated field of its
    // first entry (server|port|account|digest|path).
    static QString serverOfEntry(const QString& entry);

    // "[ " + server + " ]", two CR LF line breaks, then the file name.
    static QString rowText(const QString& server, const QString& currentFile);

    // "<finished> / <entries>".
    static QString countText(int finished, int entries);

    // A report finishes the job when every entry is counted as done and the
    // entry in progress is wholly sent.
    static bool finishesJob(int value, int value2, int value3);

    // The job file: program folder + job name + ".kyv".
    static QString jobFilePath(const QString& jobName);

    // Deletes the job file of a finished job if it is there. False when it is
    // there and could not be deleted.
    static bool removeJobFile(const QString& jobName);
};

} // namespace kyvane
