#include "selection/FileSizeText.h"

#include "media/OpenMediaFile.h"

#include <QFile>

namespace kyvane {

namespace {
constexpr qint64 kKilo = 1024;
constexpr qint64 kMega = 1024 * 1024;
} // namespace

QString FormatSizeText(qint64 bytes)
{
    if (bytes <= kMega)
        return QString::number(bytes / kKilo + 1) + QStringLiteral(" KB");
    return QString::number(bytes / kMega + 1) + QStringLiteral(" MB");
}

qint64 FileSizeOf(const QString& path)
{
    // Opened like the readers open a file: a regular file only, so that a
    // FIFO never blocks the window.
    QFile file(path);
    return openMediaFile(file) ? file.size() : -1;
}

} // namespace kyvane
