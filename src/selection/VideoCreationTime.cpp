#include "selection/VideoCreationTime.h"

#include "core/ProgramFolder.h"
#include "selection/RunCommandCapture.h"

#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>
#include <QStandardPaths>

namespace kyvane {

namespace {
const QString kNone = QStringLiteral("none");
}

QString ffprobeProgram()
{
    const QString name = QStringLiteral("ffprobe");
    if (!ProgramFolder::path().isEmpty()) {
        const QFileInfo besideProgram(ProgramFolder::file(name));
        if (besideProgram.isFile() && besideProgram.isExecutable())
            return besideProgram.absoluteFilePath();
    }
    return QStandardPaths::findExecutable(name);
}

QStringList ffprobeArguments(const QString& fullPath)
{
    // ffprobe runs in the program folder, so a relative path would name
    // another file there; the path is always one argument, never split or
    // read by a shell.
    const QString path =
        QDir::isRelativePath(fullPath) ? QFileInfo(fullPath).absoluteFilePath() : fullPath;
    return {QStringLiteral("-v"),
            QStringLiteral("quiet"),
            path,
            QStringLiteral("-of"),
            QStringLiteral("default=noprint_wrappers=1:nokey=1"),
            QStringLiteral("-show_entries"),
            QStringLiteral("format_tags=creation_time")};
}

QString captureTimeFromCreationTime(const QString& toolOutput)
{
    QString text = toolOutput.left(toolOutput.indexOf(QLatin1Char('.')));
    text.replace(QLatin1Char('-'), QLatin1Char('/'));
    const qsizetype t = text.indexOf(QLatin1Char('T'));
    if (t >= 0)
        text[t] = QLatin1Char(';');
    // The result travels as one field of a blank-separated line: anything but
    // "YYYY/MM/DD;hh:mm:ss" (a blank instead of the "T", stray text) is none.
    static const QRegularExpression form(
        QStringLiteral("^[0-9]{4}/[0-9]{2}/[0-9]{2};[0-9]{2}:[0-9]{2}:[0-9]{2}$"));
    return form.match(text).hasMatch() ? text : kNone;
}

QString videoCaptureTime(const QString& fullPath, const EngineSettings& settings)
{
    const QString program = ffprobeProgram();
    if (program.isEmpty())
        return kNone;
    const auto output = RunCommandCapture(program, ffprobeArguments(fullPath),
                                          ProgramFolder::path(), settings.ffprobeTimeoutMs);
    return output ? captureTimeFromCreationTime(*output) : kNone;
}

} // namespace kyvane
