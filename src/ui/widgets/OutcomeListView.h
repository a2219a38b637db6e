#pragma once

#include <QColor>
#include <QListView>

class QStandardItemModel;

namespace kyvane {

// A list of two-line rows, each marked by a tone: the files of a job with
// their outcomes, or the finished jobs of the history. Failures stand out;
// the colours come from the style sheet (qproperty-problemColor, ...).
class OutcomeListView final : public QListView
{
    Q_OBJECT
    Q_PROPERTY(QColor problemColor MEMBER m_problemColor)
    Q_PROPERTY(QColor waitingColor MEMBER m_waitingColor)
    Q_PROPERTY(QColor doneColor MEMBER m_doneColor)

public:
    enum class Tone { Done, Waiting, Problem };
    enum Role { DetailRole = Qt::UserRole + 1, ToneRole, KeyRole };

    explicit OutcomeListView(QWidget* parent = nullptr);

    void clearRows();
    // A row: its first line, its second line, its tone and a key the screen
    // finds it by (a job id, an entry number).
    void addRow(const QString& text, const QString& detail, Tone tone, qint64 key = 0);
    int rowCount() const;
    QString rowText(int row) const;
    QString rowDetail(int row) const;
    Tone rowTone(int row) const;
    qint64 rowKey(int row) const;

    QColor toneColor(Tone tone) const;

signals:
    void rowClicked(int row);

private:
    QStandardItemModel* m_model;
    QColor m_problemColor{0xc6, 0x28, 0x28};
    QColor m_waitingColor{0x8a, 0x81, 0x70};
    QColor m_doneColor{0x3a, 0x7d, 0x36};
};

} // namespace kyvane
