#include "ui/widgets/RowDelegate.h"

#include "ui/widgets/SettingsParts.h"

#include <QApplication>
#include <QPainter>
#include <QPainterPath>

namespace kyvane {

namespace {

constexpr int kChevronWidth = 28;
constexpr int kPadding = 8;
const QColor kDetailColour(0x6d, 0x66, 0x56);
const QColor kLineColour(0xe0, 0xd8, 0xbd);

void drawChevron(QPainter* painter, const QRect& area)
{
    const QPointF centre = QRectF(area).center();
    QPainterPath chevron;
    chevron.moveTo(centre + QPointF(-3, -7));
    chevron.lineTo(centre + QPointF(4, 0));
    chevron.lineTo(centre + QPointF(-3, 7));
    painter->setPen(QPen(kDetailColour, 2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    painter->setBrush(Qt::NoBrush);
    painter->drawPath(chevron);
}

} // namespace

RowDelegate::RowDelegate(Placement placement, QObject* parent)
    : QStyledItemDelegate(parent), m_placement(placement)
{
}

void RowDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option,
                        const QModelIndex& index) const
{
    const QString detail = index.data(row::Detail).toString();
    const bool more = index.data(row::More).toBool();

    QStyleOptionViewItem opt(option);
    initStyleOption(&opt, index);
    const QWidget* widget = opt.widget;
    QStyle* style = widget ? widget->style() : QApplication::style();
    painter->save();
    // The row's background across its whole width and a line under it; then
    // its parts, each drawn in its own place and in the row's own colour. A
    // phone's list shows no focus frame and no hover.
    if (opt.state & QStyle::State_Selected)
        painter->fillRect(opt.rect, opt.palette.brush(QPalette::Highlight));
    opt.state &= ~(QStyle::State_HasFocus | QStyle::State_MouseOver | QStyle::State_Selected);
    style->drawPrimitive(QStyle::PE_PanelItemViewItem, &opt, painter, widget);
    painter->setPen(kLineColour);
    painter->drawLine(opt.rect.bottomLeft(), opt.rect.bottomRight());

    QRect rest = opt.rect.adjusted(kPadding, 0, -kPadding, 0);
    if (more) {
        drawChevron(painter,
                    QRect(rest.right() - kChevronWidth, rest.top(), kChevronWidth, rest.height()));
        rest.setRight(rest.right() - kChevronWidth);
    }

    QFont detailFont = opt.font;
    detailFont.setPixelSize(qMax(9, opt.font.pixelSize() * 3 / 4));
    QStyleOptionViewItem text(opt);
    if (m_placement == DetailBelow && !detail.isEmpty()) {
        // Text in the upper half, the detail in the lower.
        text.rect = QRect(rest.left(), rest.top(), rest.width(), rest.height() / 2 + 4);
        text.displayAlignment = Qt::AlignLeading | Qt::AlignBottom;
        style->drawControl(QStyle::CE_ItemViewItem, &text, painter, widget);
        const int textLeft =
            style->subElementRect(QStyle::SE_ItemViewItemText, &text, widget).left();
        painter->setFont(detailFont);
        painter->setPen(kDetailColour);
        const QRect below(textLeft, rest.top() + rest.height() / 2 + 4, rest.right() - textLeft,
                          rest.height() / 2 - 4);
        painter->drawText(
            below, Qt::AlignLeading | Qt::AlignTop,
            painter->fontMetrics().elidedText(detail, Qt::ElideMiddle, below.width()));
    } else {
        int detailWidth = 0;
        if (!detail.isEmpty()) {
            detailWidth = QFontMetrics(detailFont).horizontalAdvance(detail) + kPadding;
            painter->setFont(detailFont);
            painter->setPen(kDetailColour);
            painter->drawText(
                QRect(rest.right() - detailWidth, rest.top(), detailWidth, rest.height()),
                Qt::AlignRight | Qt::AlignVCenter, detail);
        }
        text.rect = rest.adjusted(0, 0, -detailWidth, 0);
        style->drawControl(QStyle::CE_ItemViewItem, &text, painter, widget);
    }
    painter->restore();
}

} // namespace kyvane
