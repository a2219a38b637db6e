#include "ui/Icons.h"

#include <QPainter>
#include <QSvgRenderer>

namespace kyvane {

QString Icons::path(const QString& name)
{
    return QStringLiteral(":/icons/") + name + QStringLiteral(".svg");
}

QIcon Icons::icon(const QString& name)
{
    QIcon icon;
    for (const int side : {24, 48})
        icon.addPixmap(pixmap(name, QSize(side, side)));
    return icon;
}

QPixmap Icons::pixmap(const QString& name, const QSize& size, qreal devicePixelRatio)
{
    QPixmap picture(size * devicePixelRatio);
    picture.fill(Qt::transparent);
    QSvgRenderer renderer(path(name));
    if (renderer.isValid()) {
        QPainter painter(&picture);
        renderer.render(&painter);
    }
    picture.setDevicePixelRatio(devicePixelRatio);
    return picture;
}

} // namespace kyvane
