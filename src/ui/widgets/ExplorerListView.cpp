#include "ui/widgets/ExplorerListView.h"

#include "ui/widgets/ExplorerListModel.h"
#include "ui/widgets/ExplorerRowDelegate.h"

#include <QMouseEvent>

namespace kyvane {

ExplorerListView::ExplorerListView(QWidget* parent) : QListView(parent) {}

QModelIndex ExplorerListView::checkBoxAt(const QPoint& pos) const
{
    const QModelIndex index = indexAt(pos);
    if (!index.isValid() || !index.data(ExplorerListModel::CheckBoxShownRole).toBool() ||
        !ExplorerRowDelegate::checkBoxRect(visualRect(index)).contains(pos))
        return {};
    return index;
}

void ExplorerListView::mouseReleaseEvent(QMouseEvent* event)
{
    const QModelIndex index =
        event->button() == Qt::LeftButton ? checkBoxAt(event->position().toPoint()) : QModelIndex();
    if (!index.isValid()) {
        QListView::mouseReleaseEvent(event);
        return;
    }
    const bool checked = index.data(Qt::CheckStateRole).value<Qt::CheckState>() == Qt::Checked;
    model()->setData(index, checked ? Qt::Unchecked : Qt::Checked, Qt::CheckStateRole);
    event->accept();
}

void ExplorerListView::mouseDoubleClickEvent(QMouseEvent* event)
{
    if (checkBoxAt(event->position().toPoint()).isValid()) {
        event->accept();
        return;
    }
    QListView::mouseDoubleClickEvent(event);
}

} // namespace kyvane
