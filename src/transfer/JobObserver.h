#pragma once

#include "core/OutcomeRecords.h"

#include <QString>
#include <QStringList>

class QObject;

namespace kyvane {

// What a backup worker tells the screen. The window implements it; tests
// implement it to record the calls. A worker never calls these methods
// directly from its own thread: it goes through handOver(), which runs the
// call on the thread of context() and waits for it.
class JobObserver
{
public:
    virtual ~JobObserver() = default;

    // An object living on the thread where the calls must run.
    virtual QObject* context() = 0;

    // Creates the queue row of job tname: files are the job's entries, the
    // first of which names the server shown; currentfile is still empty.
    virtual void AddToDoList(const QString& tname, const QStringList& files,
                             const QString& currentfile) = 0;

    // Applies one progress report to the row of target.
    virtual void SetToDoListProgressbar(const QString& target, int value, int value2, int value3,
                                        const QString& currentfile, const QString& server) = 0;

    // Shows a log line on the status line (an empty line clears it).
    virtual void ShowStatusLine(const QString& line) = 0;

    // The worker of job tname has ended: its job log is written and the job
    // may be started again. run: how the entries of this run ended, as the
    // worker saw them; the outcome store may have missed some (a full disk).
    virtual void JobEnded(const QString& tname, const OutcomeCounts& run) = 0;
};

} // namespace kyvane
