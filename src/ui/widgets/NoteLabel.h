#pragma once

#include <QLabel>

namespace kyvane {

// A note of a few lines that keeps its height: its text is wrapped at words
// and, when it would need more lines than fit, its last line ends in "…".
// text() keeps the whole note, and so does the tool tip.
class NoteLabel final : public QLabel
{
    Q_OBJECT

public:
    explicit NoteLabel(QWidget* parent = nullptr);

    void setNote(const QString& note);

protected:
    void paintEvent(QPaintEvent* event) override;
};

} // namespace kyvane
