#pragma once

#include "core/EngineSettings.h"

#include <QHash>
#include <QObject>
#include <QSet>

class QImage;
class QListView;
class QTimer;

namespace kyvane {

class ExplorerListModel;
class ThumbnailWorker;

// The file explorer's thumbnails: those of the picture rows in view, asked
// for as the list fills and scrolls, and the one of a clicked row, which
// comes first. They are made on a worker through the shared thumbnail cache,
// and a result whose row is gone (another folder was listed) or has been
// asked for again since is dropped.
class ExplorerThumbnails final : public QObject
{
    Q_OBJECT

public:
    ExplorerThumbnails(QListView& view, ExplorerListModel& model, const PictureBudget& budget,
                       QObject* parent = nullptr);

    // A click on the file row at row, the file at path.
    void clicked(int row, const QString& path);
    // The clicked file is gone: its row shows the file icon, and nothing
    // asked for it before is shown.
    void fileGone(int row);
    // The rows are about to be removed for another folder.
    void rowsCleared();
    // The rows in view may have changed; asked for after a short pause, so a
    // fling through a folder asks only for where it stops.
    void viewChanged();

    bool isBusy() const;

private:
    void requestRowsInView();
    quint64 ticketFor(int row);
    void ready(quint64 ticket, const QString& path, const QImage& image);

    QListView& m_view;
    ExplorerListModel& m_model;
    ThumbnailWorker* m_worker = nullptr;
    QTimer* m_inViewPause = nullptr;
    quint64 m_lastTicket = 0;
    QHash<quint64, int> m_rowOfTicket;
    QHash<int, quint64> m_latestTicketOfRow;
    // Rows whose picture was refused or cannot be read: not asked for again
    // until clicked.
    QSet<int> m_noThumbnail;
};

} // namespace kyvane
