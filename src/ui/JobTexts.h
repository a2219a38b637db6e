#pragma once

#include "core/OutcomeRecords.h"

#include <QDateTime>
#include <QString>

namespace kyvane {

// The texts that name a job and say how it went, in the current language.
// Plain functions of the records; no widget.
namespace JobTexts {

// A moment as the rows show it: "13:02" when it is on the day of now, else
// "3 Nov 13:02" ("11月3日 13:02" in Chinese).
QString momentText(const QDateTime& moment, const QDateTime& now);

// A job's kind and the time it was made: "Today 13:02", "5 days 13:04",
// "1 Nov – 15 Nov 13:06", "Manual 13:05"; "Job 13:02" for a job made before
// its kind was kept.
QString jobTitle(const JobRecord& job, const QDateTime& now);

// The title of a job the outcome store does not know: "Job 09:15", the
// time of day its name gives.
QString untrackedJobTitle(const QString& jobName);

// Every count that matters: "19 sent · 2 failed · 0 waiting". Sent, failed
// and waiting always; already held, refused and not found when there are.
QString countsText(const OutcomeCounts& counts);

// What a finished job holds: "19 sent · 2 already there · 1 not found";
// sent always, the others when there are.
QString settledText(const OutcomeCounts& counts);

// What went wrong, for the row of a job: "2 failed · 1 not found"; empty
// when nothing did.
QString problemsText(const OutcomeCounts& counts);


// One outcome in words: "sent", "failed", ...
QString outcomeText(Outcome outcome);

} // namespace JobTexts

} // namespace kyvane
