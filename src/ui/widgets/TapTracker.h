#pragma once

#include <QKeyEvent>
#include <QMouseEvent>
#include <QRect>

namespace kyvane {

// Tells a tap from other mouse use: a left press followed by a left release
// inside the widget. Shared by the widgets that act on a tap.
class TapTracker
{
public:
    void press(QMouseEvent* event)
    {
        m_pressed = event->button() == Qt::LeftButton;
        event->accept();
    }

    // Whether a key press on a focused widget is its tap: Enter or Space,
    // as on a button, and not a held key's repeat. false leaves the key to
    // the widget's usual handling.
    static bool keyTaps(QKeyEvent* event, bool& taken)
    {
        taken = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter ||
                event->key() == Qt::Key_Space;
        if (taken)
            event->accept();
        return taken && !event->isAutoRepeat();
    }

    // True when this release completes a tap inside area.
    bool release(QMouseEvent* event, const QRect& area)
    {
        const bool tap = m_pressed && event->button() == Qt::LeftButton &&
                         area.contains(event->position().toPoint());
        m_pressed = false;
        event->accept();
        return tap;
    }

private:
    bool m_pressed = false;
};

} // namespace kyvane
