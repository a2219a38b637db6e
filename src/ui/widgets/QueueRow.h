#pragma once

#include "ui/widgets/TapTracker.h"

#include <QFrame>

class QCheckBox;
class QLabel;

namespace kyvane {

// The progress row of one job on the Queue screen, named "LI_" + job name.
// From top to bottom: its check box beside the job's title (kind and time)
// with its state, and the row text (server and file); the file-count bar
// "PG2_" with the count label "LB_" over it, and the entry bar "PG_" at the
// very bottom. The parts are found again by their names.
class QueueRow final : public QFrame
{
    Q_OBJECT

public:
    static constexpr int kHeight = 100;
    static constexpr int kFileCountBarHeight = 20;
    static constexpr int kEntryBarHeight = 5;

    // How the job's latest run stands; a failed, stopped or finished row
    // looks so (the style sheet picks its colours by kyvaneState).
    enum class RunState { Running, Finished, Failed, Stopped };

    // A running row of a job with entryCount entries: unchecked, empty text,
    // file-count bar 0 to entryCount at 1, empty count label, entry bar 0
    // to 100 at 0.
    QueueRow(const QString& jobName, int entryCount, QWidget* parent = nullptr);

    // "LI_" + job name; the job name is this without its first three
    // characters.
    QString tagString() const { return m_tagString; }

    // 0 while the job runs, 100 once every entry is done.
    int finishedMark() const { return m_finishedMark; }
    void setFinishedMark(int mark);

    // The row text, line breaks as given.
    QString text() const { return m_rowText; }
    void setText(const QString& text);

    // The job's kind and time, at the head of the row.
    QString title() const;
    void setTitle(const QString& title);

    RunState runState() const { return m_runState; }
    // The state and the short text beside the title that says it ("2
    // failed", "Finished 13:10").
    void setRunState(RunState state, const QString& text);
    QString stateText() const;

    bool isChecked() const;
    void setChecked(bool checked);
    QCheckBox* checkBox() const { return m_check; }

signals:
    // A tap on the row outside its check box.
    void clicked();

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    QString m_tagString;
    QString m_rowText;
    int m_finishedMark = 0;
    RunState m_runState = RunState::Running;
    QCheckBox* m_check;
    QLabel* m_title;
    QLabel* m_state;
    QLabel* m_text;
    QLabel* m_doneMark;
    TapTracker m_tap;
};

} // namespace kyvane
