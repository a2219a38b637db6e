#pragma once

#include <QWidget>

class QLabel;

namespace kyvane {

class OutcomeListView;
class ScreenHost;

// The history: the finished jobs, newest first, each with its kind and time,
// when it finished and its counts. A tap opens the job's details.
class HistoryScreen final : public QWidget
{
    Q_OBJECT

public:
    explicit HistoryScreen(ScreenHost& host, QWidget* parent = nullptr);

    // Reads the history anew from the outcome store.
    void refresh();

private:
    ScreenHost& m_host;
    OutcomeListView* lvHistory = nullptr;
    QLabel* lblHistoryEmpty = nullptr;
};

} // namespace kyvane
