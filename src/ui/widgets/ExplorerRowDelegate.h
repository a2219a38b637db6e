#pragma once

#include <QStyledItemDelegate>

namespace kyvane {

// Draws a file explorer row, 52 high: the 48 by 48 image, the name line with
// the detail line beneath, and for file rows a check box at the right. A
// tap on the check box toggles it and is no row click; a tap elsewhere
// leaves it alone.
class ExplorerRowDelegate final : public QStyledItemDelegate
{
    Q_OBJECT

public:
    static constexpr int kRowHeight = 52;

    using QStyledItemDelegate::QStyledItemDelegate;

    // Where the check box of a row lies, from the row's rectangle.
    static QRect checkBoxRect(const QRect& rowRect);

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override;
    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override;
};

} // namespace kyvane
