#pragma once

#include "ui/widgets/TapTracker.h"

#include <QLabel>

namespace kyvane {

// A label that reports a tap, for texts that act like links.
class ClickableLabel final : public QLabel
{
    Q_OBJECT

public:
    explicit ClickableLabel(QWidget* parent = nullptr);

    // Acts as a tap does: a key, a screen reader's press.
    void press() { emit clicked(); }

signals:
    void clicked();

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    TapTracker m_tap;
};

} // namespace kyvane
