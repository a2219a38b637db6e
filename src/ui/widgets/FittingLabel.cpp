#include "ui/widgets/FittingLabel.h"

#include <QFontMetrics>
#include <QPainter>
#include <QStyle>

namespace kyvane {

FittingLabel::FittingLabel(QWidget* parent) : QLabel(parent)
{
    setAlignment(Qt::AlignCenter);
}

QFont FittingLabel::fittedFont() const
{
    QFont fitted = font();
    const int available = contentsRect().width();
    int pixels = fitted.pixelSize() > 0 ? fitted.pixelSize() : QFontInfo(fitted).pixelSize();
    while (pixels > kSmallestPixelSize &&
           QFontMetrics(fitted).horizontalAdvance(text()) > available) {
        --pixels;
        fitted.setPixelSize(pixels);
    }
    return fitted;
}

QSize FittingLabel::minimumSizeHint() const
{
    // Never ask the header for more room: the text shrinks instead.
    return QSize(0, QLabel::minimumSizeHint().height());
}

void FittingLabel::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.setFont(fittedFont());
    painter.setPen(palette().color(foregroundRole()));
    const QString shown =
        painter.fontMetrics().elidedText(text(), Qt::ElideRight, contentsRect().width());
    painter.drawText(contentsRect(), static_cast<int>(alignment()), shown);
}

} // namespace kyvane
