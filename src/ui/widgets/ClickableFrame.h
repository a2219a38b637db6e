#pragma once

#include "ui/widgets/TapTracker.h"

#include <QFrame>

namespace kyvane {

// A frame that reports a tap: a press and a release inside it.
class ClickableFrame : public QFrame
{
    Q_OBJECT

public:
    explicit ClickableFrame(QWidget* parent = nullptr);

    // Acts as a tap does: a key, a screen reader's press.
    void press() { emit clicked(); }

signals:
    void clicked();

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    // Enter and Space press a focused frame, as they press a button.
    void keyPressEvent(QKeyEvent* event) override;

private:
    TapTracker m_tap;
};

} // namespace kyvane
