#include "ui/widgets/ClickableFrame.h"

#include <QMouseEvent>

namespace kyvane {

ClickableFrame::ClickableFrame(QWidget* parent) : QFrame(parent)
{
    setCursor(Qt::PointingHandCursor);
}

void ClickableFrame::mousePressEvent(QMouseEvent* event)
{
    m_tap.press(event);
}

void ClickableFrame::mouseReleaseEvent(QMouseEvent* event)
{
    if (m_tap.release(event, rect()))
        emit clicked();
}

} // namespace kyvane
