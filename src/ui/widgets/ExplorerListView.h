#pragma once

#include <QListView>

namespace kyvane {

// The file explorer's list. A tap on a file row's check box toggles it and
// is no row click (no clicked(), no double click); a tap elsewhere leaves the
// check box alone.
class ExplorerListView final : public QListView
{
    Q_OBJECT

public:
    explicit ExplorerListView(QWidget* parent = nullptr);

protected:
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;

private:
    // The row whose check box lies under pos, or an invalid index.
    QModelIndex checkBoxAt(const QPoint& pos) const;
};

} // namespace kyvane
