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
constexpr int kTextRight = 6;
constexpr int kPadding = 3;
// A reason longer than this many lines is cut; the log has it whole.
constexpr int kMostDetailLines = 4;

QFont detailFont(const QFont& font)
{
    QFont small = font;
    small.setPixelSize(std::max(9, QFontInfo(font).pixelSize() - 2));
    return small;
}

// Draws a row: the tone's mark at the left, the text, and under it the
// detail in smaller type and the tone's colour, wrapped over as many lines
// as it needs (a server's reason can be long), up to a few.
class OutcomeRowDelegate final : public QStyledItemDelegate
{
public:
    explicit OutcomeRowDelegate(OutcomeListView* view) : QStyledItemDelegate(view), m_view(view) {}

    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override
    {
        const int height = 2 * kPadding + option.fontMetrics.height() + 2 +
                           detailHeight(option, index.data(OutcomeListView::DetailRole).toString(),
                                        m_view->viewport()->width() - kTextLeft - kTextRight);
        return {QStyledItemDelegate::sizeHint(option, index).width(),
                std::max(kRowHeight, height + 4)};
    }

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override
    {
        QStyleOptionViewItem background = option;
        initStyleOption(&background, index);
        background.text.clear();
        // Nothing is selected here: the current row would look chosen.
        background.state &= ~QStyle::State_HasFocus;
        const QWidget* widget = option.widget;
        QStyle* style = widget ? widget->style() : QApplication::style();
        style->drawControl(QStyle::CE_ItemViewItem, &background, painter, widget);

        const auto tone = OutcomeListView::Tone(index.data(OutcomeListView::ToneRole).toInt());
        const QColor toneColor = m_view->toneColor(tone);
        const QRect row = option.rect;
        painter->save();
        painter->fillRect(QRect(row.left(), row.top() + 4, kMarkWidth, row.height() - 8),
                          toneColor);
        const QString detail = index.data(OutcomeListView::DetailRole).toString();
        const int width = row.width() - kTextLeft - kTextRight;
        const int lowerHeight = detailHeight(option, detail, width);
        const int textHeight = option.fontMetrics.height() + 2 + lowerHeight;
        // The two parts together, centred in the row.
        const int top = row.top() + std::max(kPadding, (row.height() - textHeight) / 2);
        const QRect upper(row.left() + kTextLeft, top, width, option.fontMetrics.height() + 2);
        const QRect lower(upper.left(), upper.bottom() + 1, width, lowerHeight);
        painter->setFont(option.font);
        painter->setPen(option.palette.color(QPalette::Text));
        painter->drawText(upper, Qt::AlignLeft | Qt::AlignVCenter,
                          option.fontMetrics.elidedText(index.data(Qt::DisplayRole).toString(),
                                                        Qt::ElideMiddle, upper.width()));
        painter->setFont(detailFont(option.font));
        painter->setPen(tone == OutcomeListView::Tone::Done
                            ? option.palette.color(QPalette::Disabled, QPalette::Text)
                            : toneColor);
        painter->setClipRect(lower);
        painter->drawText(lower, Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap, detail);
        painter->restore();
    }

private:
    // The height the detail takes wrapped to width, at most a few lines.
    static int detailHeight(const QStyleOptionViewItem& option, const QString& detail, int width)
    {
        const QFontMetrics metrics(detailFont(option.font));
        const int wrapped =
            metrics.boundingRect(QRect(0, 0, std::max(1, width), 1 << 20), Qt::TextWordWrap, detail)
                .height();
        return std::min(std::max(wrapped, metrics.height()),
                        kMostDetailLines * metrics.lineSpacing());
    }

    OutcomeListView* m_view;
};

} // namespace

OutcomeListView::OutcomeListView(QWidget* parent)
    : QListView(parent), m_model(new QStandardItemModel(this))
{
    setModel(m_model);
    setItemDelegate(new OutcomeRowDelegate(this));
    // Rows are as high as their wrapped detail, laid out anew with the width.
    setResizeMode(QListView::Adjust);
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
