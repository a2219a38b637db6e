#include "ui/widgets/ExplorerRowDelegate.h"

#include "ui/widgets/ExplorerListModel.h"

#include <QApplication>
#include <QPainter>

namespace kyvane {

namespace {
constexpr int kImageSide = 48;
constexpr int kMargin = 2;
constexpr int kCheckSide = 22;
constexpr int kCheckMargin = 10;
constexpr int kTextGap = 8;
} // namespace

QRect ExplorerRowDelegate::checkBoxRect(const QRect& rowRect)
{
    return QRect(rowRect.right() - kCheckMargin - kCheckSide + 1,
                 rowRect.top() + (rowRect.height() - kCheckSide) / 2, kCheckSide, kCheckSide);
}

void ExplorerRowDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option,
                                const QModelIndex& index) const
{
    QStyleOptionViewItem background = option;
    initStyleOption(&background, index);
    background.text.clear();
    background.icon = QIcon();
    background.features &= ~QStyleOptionViewItem::HasCheckIndicator;
    const QWidget* widget = option.widget;
    QStyle* style = widget ? widget->style() : QApplication::style();
    style->drawControl(QStyle::CE_ItemViewItem, &background, painter, widget);

    const QRect row = option.rect;
    const QRect image(row.left() + kMargin, row.top() + (row.height() - kImageSide) / 2, kImageSide,
                      kImageSide);
    const QPixmap picture = index.data(Qt::DecorationRole).value<QPixmap>();
    if (!picture.isNull()) {
        // A thumbnail keeps its shape, centred in the image square.
        const QSize fitted = picture.size().scaled(image.size(), Qt::KeepAspectRatio);
        QRect target(QPoint(), fitted);
        target.moveCenter(image.center());
        painter->drawPixmap(target, picture);
    }

    const bool checkShown = index.data(ExplorerListModel::CheckBoxShownRole).toBool();
    const int textLeft = image.right() + kTextGap;
    const int textRight = checkShown ? checkBoxRect(row).left() - kTextGap : row.right() - kMargin;
    const QRect textArea(textLeft, row.top() + 4, textRight - textLeft, row.height() - 8);

    painter->save();
    painter->setPen(option.palette.color(option.state & QStyle::State_Enabled ? QPalette::Active
                                                                              : QPalette::Disabled,
                                         QPalette::Text));
    QFont nameFont = option.font;
    painter->setFont(nameFont);
    const QFontMetrics nameMetrics(nameFont);
    const QRect nameRect(textArea.left(), textArea.top(), textArea.width(), textArea.height() / 2);
    painter->drawText(nameRect, Qt::AlignLeft | Qt::AlignVCenter,
                      nameMetrics.elidedText(index.data(Qt::DisplayRole).toString(),
                                             Qt::ElideMiddle, nameRect.width()));
    QFont detailFont = option.font;
    detailFont.setPixelSize(std::max(9, QFontInfo(option.font).pixelSize() - 3));
    painter->setFont(detailFont);
    painter->setPen(option.palette.color(QPalette::Disabled, QPalette::Text));
    const QRect detailRect(textArea.left(), nameRect.bottom() + 1, textArea.width(),
                           textArea.bottom() - nameRect.bottom());
    painter->drawText(detailRect, Qt::AlignLeft | Qt::AlignVCenter,
                      QFontMetrics(detailFont)
                          .elidedText(index.data(ExplorerListModel::DetailRole).toString(),
                                      Qt::ElideMiddle, detailRect.width()));
    painter->restore();

    if (checkShown) {
        QStyleOptionButton check;
        check.rect = checkBoxRect(row);
        check.state = option.state & QStyle::State_Enabled;
        check.state |= index.data(Qt::CheckStateRole).value<Qt::CheckState>() == Qt::Checked
                           ? QStyle::State_On
                           : QStyle::State_Off;
        style->drawPrimitive(QStyle::PE_IndicatorCheckBox, &check, painter, widget);
    }
}

QSize ExplorerRowDelegate::sizeHint(const QStyleOptionViewItem& option, const QModelIndex&) const
{
    return QSize(option.rect.width() > 0 ? option.rect.width() : 200, kRowHeight);
}

} // namespace kyvane
