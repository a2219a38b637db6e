#include "ui/widgets/OutcomeListView.h"

#include <QApplication>
#include <QPainter>
#include <QStandardItemModel>
#include <QStyledItemDelegate>

namespace kyvane {

namespace {

constexpr int kRowHeight = 46;
constexpr int kMarkWidth = 4;
constexpr int kTextLeft = 12;

// Draws a row: the tone's mark at the left, the text, and under it the
// detail in smaller type and the tone's colour.
class OutcomeRowDelegate final : public QStyledItemDelegate
{
public:
    explicit OutcomeRowDelegate(OutcomeListView* view) : QStyledItemDelegate(view), m_view(view) {}

    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override
    {
        return {QStyledItemDelegate::sizeHint(option, index).width(), kRowHeight};
    }

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override
    {
        QStyleOptionViewItem background = option;
        initStyleOption(&background, index);
        background.text.clear();
        const QWidget* widget = option.widget;
        QStyle* style = widget ? widget->style() : QApplication::style();
        style->drawControl(QStyle::CE_ItemViewItem, &background, painter, widget);

        const auto tone = OutcomeListView::Tone(index.data(OutcomeListView::ToneRole).toInt());
        const QColor toneColor = m_view->toneColor(tone);
        const QRect row = option.rect;
        painter->save();
        painter->fillRect(QRect(row.left(), row.top() + 4, kMarkWidth, row.height() - 8),
                          toneColor);
        const QRect text(row.left() + kTextLeft, row.top() + 3, row.width() - kTextLeft - 6,
                         row.height() - 6);
        const QRect upper(text.left(), text.top(), text.width(), text.height() / 2);
        const QRect lower(text.left(), upper.bottom() + 1, text.width(),
                          text.bottom() - upper.bottom());
        painter->setFont(option.font);
        painter->setPen(option.palette.color(QPalette::Text));
        painter->drawText(upper, Qt::AlignLeft | Qt::AlignVCenter,
                          option.fontMetrics.elidedText(index.data(Qt::DisplayRole).toString(),
                                                        Qt::ElideMiddle, upper.width()));
        QFont small = option.font;
        small.setPixelSize(std::max(9, QFontInfo(option.font).pixelSize() - 2));
        painter->setFont(small);
        painter->setPen(tone == OutcomeListView::Tone::Done
                            ? option.palette.color(QPalette::Disabled, QPalette::Text)
                            : toneColor);
        painter->drawText(lower, Qt::AlignLeft | Qt::AlignVCenter,
                          QFontMetrics(small).elidedText(
                              index.data(OutcomeListView::DetailRole).toString(), Qt::ElideRight,
                              lower.width()));
        painter->restore();
    }

private:
    OutcomeListView* m_view;
};

} // namespace

OutcomeListView::OutcomeListView(QWidget* parent)
    : QListView(parent), m_model(new QStandardItemModel(this))
{
    setModel(m_model);
    setItemDelegate(new OutcomeRowDelegate(this));
    setUniformItemSizes(true);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setSelectionMode(QAbstractItemView::NoSelection);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setVerticalScrollMode(QAbstractItemView::ScrollPerPixel);
    connect(this, &QListView::clicked, this,
            [this](const QModelIndex& index) { emit rowClicked(index.row()); });
}

void OutcomeListView::clearRows()
{
    m_model->clear();
}

void OutcomeListView::addRow(const QString& text, const QString& detail, Tone tone, qint64 key)
{
    auto* item = new QStandardItem(text);
    item->setData(detail, DetailRole);
    item->setData(int(tone), ToneRole);
    item->setData(key, KeyRole);
    // A screen reader says both lines.
    item->setData(text + QStringLiteral(", ") + detail, Qt::AccessibleTextRole);
    m_model->appendRow(item);
}

int OutcomeListView::rowCount() const
{
    return m_model->rowCount();
}

QString OutcomeListView::rowText(int row) const
{
    return m_model->index(row, 0).data(Qt::DisplayRole).toString();
}

QString OutcomeListView::rowDetail(int row) const
{
    return m_model->index(row, 0).data(DetailRole).toString();
}

OutcomeListView::Tone OutcomeListView::rowTone(int row) const
{
    return Tone(m_model->index(row, 0).data(ToneRole).toInt());
}

qint64 OutcomeListView::rowKey(int row) const
{
    return m_model->index(row, 0).data(KeyRole).toLongLong();
}

QColor OutcomeListView::toneColor(Tone tone) const
{
    switch (tone) {
    case Tone::Problem:
        return m_problemColor;
    case Tone::Waiting:
        return m_waitingColor;
    case Tone::Done:
        break;
    }
    return m_doneColor;
}

} // namespace kyvane
