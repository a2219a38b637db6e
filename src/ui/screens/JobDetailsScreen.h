#pragma once

#include <QString>
#include <QWidget>

class QLabel;
class QPlainTextEdit;
class QPushButton;
class QStackedWidget;

namespace kyvane {

class OutcomeListView;

// A job's details: its title and counts per outcome at the top; below, one
// row per file and server with its outcome and reason, failures first, or,
// one tap away, the full log of its latest run opened at the first failure;
// and Retry, which starts a pending job again.
class JobDetailsScreen final : public QWidget
{
    Q_OBJECT

public:
    explicit JobDetailsScreen(QWidget* parent = nullptr);

    // Shows the job recorded as jobId, or, when jobId is 0, the pending job
    // named jobName. Without a record the log alone is shown. False, with
    // the reason in error, when the log exists but cannot be read.
    bool showJob(QString jobName, qint64 jobId, QString* error);

    // Reads the shown job anew (its worker ended).
    void refresh();

    void clear();
    void applyLanguage();

    QString jobName() const { return m_jobName; }
    qint64 jobId() const { return m_jobId; }

signals:
    // Retry: start the job named jobName again.
    void retryRequested(const QString& jobName);

private:
    void showFiles();
    void showLogView();
    // Scrolls the log so that its first failure is the top line.
    void scrollToFirstFailure();
    bool loadLog(const QString& path, QString* error);

    QString m_jobName;
    qint64 m_jobId = 0;
    bool m_finished = false;

    QLabel* lblJobTitle = nullptr;
    QLabel* lblJobCounts = nullptr;
    QPushButton* btnShowFiles = nullptr;
    QPushButton* btnShowLog = nullptr;
    QStackedWidget* m_pages = nullptr;
    OutcomeListView* lvJobFiles = nullptr;
    QPlainTextEdit* Memo1 = nullptr;
    QPushButton* btnRetry = nullptr;
};

} // namespace kyvane
