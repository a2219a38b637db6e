#pragma once

#include <QLabel>

#include <functional>

class QAbstractScrollArea;

namespace kyvane {

// A hint of what to do, over a list while it has no rows: an empty list
// says nothing of how to fill it.
class EmptyListHint final : public QLabel
{
    Q_OBJECT

public:
    // Over the list's viewport; isEmpty tells whether the list is empty.
    EmptyListHint(QAbstractScrollArea* list, std::function<bool()> isEmpty);

    // The hint in the current language.
    void setHint(const QString& text);
    // Shows or hides the hint as the list is now.
    void refresh();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QWidget* m_viewport;
    std::function<bool()> m_isEmpty;
};

} // namespace kyvane
