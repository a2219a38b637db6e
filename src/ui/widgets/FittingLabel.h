#pragma once

#include <QLabel>

namespace kyvane {

// A one-line label whose text shrinks (down to a floor) when it would not
// fit its width at the font the style sheet gives it; the header titles of
// some screens are long in English.
class FittingLabel final : public QLabel
{
    Q_OBJECT

public:
    static constexpr int kSmallestPixelSize = 12;

    explicit FittingLabel(QWidget* parent = nullptr);

    // The font the text is drawn in at the current width.
    QFont fittedFont() const;

    QSize minimumSizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;
};

} // namespace kyvane
