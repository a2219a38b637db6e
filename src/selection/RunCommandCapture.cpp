#include "selection/RunCommandCapture.h"

#include "core/Logging.h"

#include <QDeadlineTimer>
#include <QProcess>

namespace kyvane {

namespace {

void keepUpTo(QByteArray& output, const QByteArray& more, qsizetype maxOutputBytes)
{
    const qsizetype room = maxOutputBytes - output.size();
    if (room > 0)
        output.append(more.left(room));
}

} // namespace

std::optional<QString> RunCommandCapture(const QString& program, const QStringList& arguments,
                                         const QString& workingFolder, int timeoutMs,
                                         qsizetype maxOutputBytes)
{
    QProcess process;
    process.setProcessChannelMode(QProcess::MergedChannels);
    process.setStandardInputFile(QProcess::nullDevice());
    process.setWorkingDirectory(workingFolder);
    process.start(program, arguments, QIODevice::ReadOnly);

    const QDeadlineTimer deadline(timeoutMs);
    if (!process.waitForStarted(int(deadline.remainingTime()))) {
        qCDebug(lcSelection) << "could not start" << program << process.errorString();
        return std::nullopt;
    }

    QByteArray output;
    // waitForReadyRead returns false once the program has ended, on an
    // error, or at the deadline.
    while (process.waitForReadyRead(int(deadline.remainingTime())))
        keepUpTo(output, process.readAll(), maxOutputBytes);

    if (process.state() != QProcess::NotRunning &&
        !process.waitForFinished(int(deadline.remainingTime()))) {
        qCDebug(lcSelection) << program << "did not end in" << timeoutMs << "ms; killed";
        process.kill();
        process.waitForFinished(-1);
        return std::nullopt;
    }
    keepUpTo(output, process.readAll(), maxOutputBytes);
    return QString::fromLatin1(output);
}

} // namespace kyvane
