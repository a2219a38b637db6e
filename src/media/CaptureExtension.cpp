#include "media/CaptureExtension.h"

namespace kyvane {

QString captureExtension(const QString& fullPath)
{
    const QString name = fullPath.mid(fullPath.lastIndexOf(QLatin1Char('/')) + 1);
    const qsizetype dot = name.lastIndexOf(QLatin1Char('.'));
    if (dot < 0)
        return {};
    QString extension = name.mid(dot);
    for (QChar& c : extension) {
        if (c >= QLatin1Char('A') && c <= QLatin1Char('Z'))
            c = QChar(c.unicode() + ('a' - 'A'));
    }
    return extension;
}

} // namespace kyvane
