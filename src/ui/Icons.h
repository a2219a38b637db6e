#pragma once

#include <QIcon>
#include <QPixmap>
#include <QSize>
#include <QString>

namespace kyvane {

// The window's own SVG icons, by file name without ".svg" ("back", "menu",
// "upload", ...).
class Icons
{
public:
    static QString path(const QString& name);
    static QIcon icon(const QString& name);

    // The icon drawn at size logical pixels for a screen of the given ratio.
    static QPixmap pixmap(const QString& name, const QSize& size, qreal devicePixelRatio = 1.0);
};

} // namespace kyvane
