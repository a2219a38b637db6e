#include "media/VideoCreationTime.h"

#include "media/CreationTimeText.h"
#include "media/MovieCreationTime.h"
#include "media/OpenMediaFile.h"
#include "media/QIODeviceByteSource.h"

#include <QFile>
#include <QRegularExpression>

namespace kyvane {

namespace {
const QString kNone = QStringLiteral("none");
}

QString captureTimeFromCreationTime(const QString& creationTime)
{
    QString text = creationTime.left(creationTime.indexOf(QLatin1Char('.')));
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

QString videoCaptureTime(const QString& fullPath)
{
    QFile file(fullPath);
    if (!openMediaFile(file))
        return kNone;
    QIODeviceByteSource source(file);
    const auto stored = readMovieCreationTime(source);
    if (!stored)
        return kNone;
    const auto text = creationTimeText(*stored);
    return text ? captureTimeFromCreationTime(QString::fromLatin1(*text)) : kNone;
}

} // namespace kyvane
