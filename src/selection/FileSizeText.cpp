#include "selection/FileSizeText.h"

#include <QFile>
#include <QFileInfo>

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
    if (!QFileInfo(path).isFile())
        return -1;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return -1;
    return file.size();
}

} // namespace kyvane
