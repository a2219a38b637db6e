#include "ui/widgets/ClickableLabel.h"

#include <QMouseEvent>

namespace kyvane {

ClickableLabel::ClickableLabel(QWidget* parent) : QLabel(parent)
{
    setCursor(Qt::PointingHandCursor);
    // Reached with Tab like a button.
    setFocusPolicy(Qt::StrongFocus);
}

void ClickableLabel::keyPressEvent(QKeyEvent* event)
{
    bool taken = false;
    if (TapTracker::keyTaps(event, taken))
        press();
    if (taken)
        return;
    QLabel::keyPressEvent(event);
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
