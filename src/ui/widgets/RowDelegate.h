#pragma once

#include <QStyledItemDelegate>

namespace kyvane {

// Draws a list row as the item views draw it, plus what the row carries in
// the roles of SettingsParts.h: its detail text, beside the text at the
// right or under it in smaller type, and a chevron when it opens more.
class RowDelegate final : public QStyledItemDelegate
{
    Q_OBJECT

public:
    enum Placement { DetailBeside, DetailBelow };

    explicit RowDelegate(Placement placement, QObject* parent = nullptr);

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override;

private:
    Placement m_placement;
};

} // namespace kyvane
