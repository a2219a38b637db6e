#pragma once

#include <QSet>
#include <QString>
#include <QStringList>
#include <QWidget>

namespace kyvane {

class QueueList;
class QueueRow;
class ScreenHost;

// The Queue screen: one progress row per backup job, created and updated by
// the jobs' workers through hand-overs onto this thread, and the commands of
// its side menu.
class QueueScreen final : public QWidget
{
    Q_OBJECT

public:
    explicit QueueScreen(ScreenHost& host, QWidget* parent = nullptr);

    // What a backup worker reports.
    void AddToDoList(const QString& tname, const QStringList& files, const QString& currentfile);
    void SetToDoListProgressbar(const QString& target, int value, int value2, int value3,
                                const QString& currentfile, const QString& server);
    void JobEnded(const QString& tname);

    // Starts a worker for every job file left in the program folder.
    void startJobFiles(bool reportUnreadable);

    // The side menu's commands.
    void btnStartClick();
    void btnStopClick();
    void btnDeleteClick();
    void btnSelectAllClick();
    void btnSelectNoneClick();

private:
    void ListBox2ItemClick(QueueRow* row);

    ScreenHost& m_host;
    // Jobs that Start found still running (often still stopping): each
    // starts again from its file as soon as its worker has ended.
    QSet<QString> m_restartWhenEnded;

    QueueList* ListBox2 = nullptr;
};

} // namespace kyvane
