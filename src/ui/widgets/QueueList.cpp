#include "ui/widgets/QueueList.h"

#include "ui/widgets/QueueRow.h"

#include <QCoreApplication>
#include <QPointer>
#include <QTimer>
#include <QVBoxLayout>

namespace kyvane {

QueueList::QueueList(QWidget* parent)
    : QScrollArea(parent), m_rowsHolder(new QWidget), m_rowsLayout(new QVBoxLayout(m_rowsHolder))
{
    m_rowsHolder->setObjectName(QStringLiteral("queueRows"));
    m_rowsLayout->setContentsMargins(0, 0, 0, 0);
    m_rowsLayout->setSpacing(0);
    m_rowsLayout->addStretch(1);
    setWidget(m_rowsHolder);
    setWidgetResizable(true);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setFrameShape(QFrame::NoFrame);
    viewport()->setAutoFillBackground(false);
}

int QueueList::count() const
{
    return m_rowsLayout->count() - 1; // the last item is the stretch
}

QueueRow* QueueList::row(int index) const
{
    if (index < 0 || index >= count())
        return nullptr;
    return static_cast<QueueRow*>(m_rowsLayout->itemAt(index)->widget());
}

QList<QueueRow*> QueueList::rows() const
{
    QList<QueueRow*> all;
    for (int i = 0; i < count(); ++i)
        all.append(row(i));
    return all;
}

void QueueList::appendRow(QueueRow* row)
{
    m_rowsLayout->insertWidget(count(), row);
    connect(row, &QueueRow::clicked, this, [this, row] { emit rowClicked(row); });
    emit countChanged();
    // A new job's row is scrolled into view once the list has laid it out.
    QTimer::singleShot(0, this, [this, added = QPointer<QueueRow>(row)] {
        if (!added || m_rowsLayout->indexOf(added) < 0)
            return;
        // The rows' holder grows only once its layout request reaches the
        // scroll area; until then there is nowhere to scroll to.
        m_rowsLayout->activate();
        QCoreApplication::sendPostedEvents(viewport(), QEvent::LayoutRequest);
        QCoreApplication::sendPostedEvents(this, QEvent::LayoutRequest);
        ensureWidgetVisible(added, 0, 0);
    });
}

void QueueList::removeRow(QueueRow* row)
{
    if (m_rowsLayout->indexOf(row) < 0)
        return;
    m_rowsLayout->removeWidget(row);
    delete row;
    emit countChanged();
}

void QueueList::clearRows()
{
    while (count() > 0)
        removeRow(row(count() - 1));
}

QueueRow* QueueList::findRow(const QString& rowName) const
{
    for (int i = 0; i < count(); ++i) {
        QueueRow* candidate = row(i);
        if (candidate->objectName() == rowName)
            return candidate;
    }
    return nullptr;
}

} // namespace kyvane
