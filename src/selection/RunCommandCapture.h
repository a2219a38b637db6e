#pragma once

#include <QString>
#include <QStringList>

#include <optional>

namespace kyvane {

// Starts program directly (no shell, so the arguments reach it exactly as
// given) in workingFolder, with standard output and standard error merged
// and standard input empty, and returns everything it wrote, as 8-bit text.
// Waits at most timeoutMs for it to end; a program still running then is
// killed. Returns nothing when the program could not be started or had to
// be killed. Only the first maxOutputBytes of the output are kept; the rest
// is read and dropped so the program never blocks on a full pipe.
std::optional<QString> RunCommandCapture(const QString& program, const QStringList& arguments,
                                         const QString& workingFolder, int timeoutMs,
                                         qsizetype maxOutputBytes = 64 * 1024);

} // namespace kyvane
