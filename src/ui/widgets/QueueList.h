#pragma once

#include <QList>
#include <QScrollArea>

class QVBoxLayout;

namespace kyvane {

class QueueRow;

// The queue list: the progress rows of the jobs, in the order in which they
// were appended, each with its own check box.
class QueueList final : public QScrollArea
{
    Q_OBJECT

public:
    explicit QueueList(QWidget* parent = nullptr);

    int count() const;
    QueueRow* row(int index) const;
    QList<QueueRow*> rows() const;

    // Appends the row at the end, takes ownership and scrolls it into view.
    void appendRow(QueueRow* row);

    // Takes the row out and deletes it at once, so that look-ups by name no
    // longer find it. Rows are taken out only through here or clearRows().
    void removeRow(QueueRow* row);
    void clearRows();

    // The first row named rowName ("LI_" + job name), or null.
    QueueRow* findRow(const QString& rowName) const;

signals:
    // A tap on a row outside its check box.
    void rowClicked(QueueRow* row);
    // A row came or went.
    void countChanged();

private:
    QWidget* m_rowsHolder;
    QVBoxLayout* m_rowsLayout;
};

} // namespace kyvane
