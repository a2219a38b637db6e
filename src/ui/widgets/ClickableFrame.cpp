#include "ui/widgets/ClickableFrame.h"

#include <QMouseEvent>

namespace kyvane {

ClickableFrame::ClickableFrame(QWidget* parent) : QFrame(parent)
{
    setCursor(Qt::PointingHandCursor);
    // Reached with Tab like a button.
    setFocusPolicy(Qt::StrongFocus);
}

void ClickableFrame::keyPressEvent(QKeyEvent* event)
{
    bool taken = false;
    if (TapTracker::keyTaps(event, taken))
        press();
    if (taken)
        return;
    QFrame::keyPressEvent(event);
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
