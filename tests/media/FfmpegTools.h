#pragma once

#include "media/VideoCreationTime.h"

#include <QFile>
#include <QProcess>
#include <QStringList>

// FFmpeg as the tests and the benchmark use it: to make videos, and as the
// reference that Kyvane's own reading of the creation time is held against.
namespace ffmpegtools {

// Makes a short black clip at path with ffmpeg (the container follows the
// name) and returns its bytes; options go before the output name, such as
// {"-metadata", "creation_time=..."}. Ends the process when ffmpeg fails.
inline QByteArray makeClip(const QString& path, const QStringList& options,
                           const QString& size = QStringLiteral("16x16"))
{
    QProcess ffmpeg;
    ffmpeg.setProcessChannelMode(QProcess::MergedChannels);
    ffmpeg.start(QStringLiteral("ffmpeg"),
                 QStringList{"-nostdin", "-loglevel", "error", "-y", "-f", "lavfi", "-i",
                             "color=c=black:s=" + size + ":d=0.1"} +
                     options + QStringList{path});
    if (!ffmpeg.waitForFinished(120000) || ffmpeg.exitCode() != 0)
        qFatal("ffmpeg failed: %s", ffmpeg.readAll().constData());
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        qFatal("cannot read %s", qPrintable(path));
    return file.readAll();
}

// The capture time the way Kyvane used to get it: ffprobe's creation time
// tag, shaped by captureTimeFromCreationTime.
inline QString ffprobeCaptureTime(const QString& path)
{
    QProcess probe;
    probe.setProcessChannelMode(QProcess::MergedChannels);
    probe.start(QStringLiteral("ffprobe"),
                {"-v", "quiet", path, "-of", "default=noprint_wrappers=1:nokey=1", "-show_entries",
                 "format_tags=creation_time"});
    if (!probe.waitForFinished(60000))
        qFatal("ffprobe did not end");
    return kyvane::captureTimeFromCreationTime(QString::fromLatin1(probe.readAll()));
}

} // namespace ffmpegtools
