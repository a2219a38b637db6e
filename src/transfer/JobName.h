#pragma once

#include <chrono>

#include <QString>

namespace kyvane {

// The job name for a moment: its local time of day, hhmmss.
QString MakeJobName(std::chrono::system_clock::time_point now);

// The job name for a moment that no pending job file and no running job
// has: from MakeJobName on, one second later at a time (23:59:59 wraps to
// 00:00:00) until the name is free. Empty only when all 86,400 are taken.
QString freeJobName(std::chrono::system_clock::time_point now);

} // namespace kyvane
