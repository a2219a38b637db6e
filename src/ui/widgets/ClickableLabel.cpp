#include "ui/widgets/ClickableLabel.h"

#include <QMouseEvent>

namespace kyvane {

ClickableLabel::ClickableLabel(QWidget* parent) : QLabel(parent)
{
    setCursor(Qt::PointingHandCursor);
}

void ClickableLabel::mousePressEvent(QMouseEvent* event)
{
    m_tap.press(event);
}

void ClickableLabel::mouseReleaseEvent(QMouseEvent* event)
{
    if (m_tap.release(event, rect()))
        emit clicked();
}

} // namespace kyvane
