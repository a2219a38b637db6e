#include "ui/ClickableFrame.h"

#include <QMouseEvent>

namespace kyvane {

ClickableFrame::ClickableFrame(QWidget* parent) : QFrame(parent)
{
    setCursor(Qt::PointingHandCursor);
}

void ClickableFrame::mousePressEvent(QMouseEvent* event)
{
    m_pressed = event->button() == Qt::LeftButton;
    event->accept();
}

void ClickableFrame::mouseReleaseEvent(QMouseEvent* event)
{
    const bool tap = m_pressed && event->button() == Qt::LeftButton &&
                     rect().contains(event->position().toPoint());
    m_pressed = false;
    event->accept();
    if (tap)
        emit clicked();
}

} // namespace kyvane
