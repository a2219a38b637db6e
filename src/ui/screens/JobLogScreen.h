#pragma once

#include <QWidget>

class QPlainTextEdit;

namespace kyvane {

// The job log screen: the read-only text of one job's log.
class JobLogScreen final : public QWidget
{
    Q_OBJECT

public:
    explicit JobLogScreen(QWidget* parent = nullptr);

    // Shows the log of jobName, or nothing when the job has none. False,
    // with the reason in error, when the log exists but cannot be read.
    bool showLog(const QString& jobName, QString* error);

    void clear();

private:
    QPlainTextEdit* Memo1 = nullptr;
};

} // namespace kyvane
