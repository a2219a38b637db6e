#include "ui/ExplorerThumbnails.h"

#include "ui/Thumbnail.h"
#include "ui/ThumbnailWorker.h"
#include "ui/widgets/ExplorerListModel.h"

#include <QFileInfo>
#include <QListView>
#include <QPixmap>
#include <QScrollBar>
#include <QTimer>

namespace kyvane {

namespace {

constexpr QSize kThumbnailBox(48, 48);
constexpr int kInViewPauseMs = 60;

} // namespace

ExplorerThumbnails::ExplorerThumbnails(QListView& view, ExplorerListModel& model,
                                       const PictureBudget& budget, QObject* parent)
    : QObject(parent), m_view(view), m_model(model)
{
    m_worker = new ThumbnailWorker(
        budget,
        [this](quint64 ticket, const QString& path, const QImage& image) {
            ready(ticket, path, image);
        },
        this);
    m_inViewPause = new QTimer(this);
    m_inViewPause->setSingleShot(true);
    m_inViewPause->setInterval(kInViewPauseMs);
    connect(m_inViewPause, &QTimer::timeout, this, &ExplorerThumbnails::requestRowsInView);
    connect(m_view.verticalScrollBar(), &QScrollBar::valueChanged, this,
            &ExplorerThumbnails::viewChanged);
    connect(&m_model, &QAbstractItemModel::rowsInserted, this, &ExplorerThumbnails::viewChanged);
}

quint64 ExplorerThumbnails::ticketFor(int row)
{
    const quint64 ticket = ++m_lastTicket;
    if (const auto older = m_latestTicketOfRow.constFind(row);
        older != m_latestTicketOfRow.constEnd())
        m_rowOfTicket.remove(*older);
    m_rowOfTicket.insert(ticket, row);
    m_latestTicketOfRow.insert(row, ticket);
    return ticket;
}

void ExplorerThumbnails::clicked(int row, const QString& path)
{
    m_noThumbnail.remove(row);
    m_worker->request(ticketFor(row), path, kThumbnailBox);
}

void ExplorerThumbnails::fileGone(int row)
{
    // A ticket with no request: whatever comes for the row before is old,
    // and the row keeps the file icon until it is clicked again.
    ticketFor(row);
    m_noThumbnail.insert(row);
    m_model.removeThumbnail(row);
}

void ExplorerThumbnails::rowsCleared()
{
    m_rowOfTicket.clear();
    m_latestTicketOfRow.clear();
    m_noThumbnail.clear();
    m_worker->requestInView({});
}

void ExplorerThumbnails::viewChanged()
{
    m_inViewPause->start();
}

void ExplorerThumbnails::requestRowsInView()
{
    const int rows = m_model.rowCount();
    if (rows == 0)
        return;
    const QRect area = m_view.viewport()->rect();
    const QModelIndex top = m_view.indexAt(area.topLeft() + QPoint(1, 1));
    const QModelIndex bottom = m_view.indexAt(QPoint(1, area.bottom() - 1));
    const int first = top.isValid() ? top.row() : 0;
    const int last = bottom.isValid() ? bottom.row() : rows - 1;
    const ExplorerRows& listed = m_model.rows();
    QList<ThumbnailWorker::Request> requests;
    for (int row = first; row <= last && row < rows; ++row) {
        const ExplorerRow& r = listed.at(row);
        if (r.kind != ExplorerRow::Kind::File || r.tag != 1 || m_model.hasThumbnail(row) ||
            m_noThumbnail.contains(row) || !isPictureFile(r.text))
            continue;
        requests.append({ticketFor(row), listed.tagString(row), kThumbnailBox});
    }
    m_worker->requestInView(requests);
}

void ExplorerThumbnails::ready(quint64 ticket, const QString& path, const QImage& image)
{
    const auto found = m_rowOfTicket.constFind(ticket);
    if (found == m_rowOfTicket.constEnd())
        return; // its rows are gone, or the row was asked for again since
    const int row = *found;
    m_rowOfTicket.erase(found);
    if (m_latestTicketOfRow.value(row) != ticket || row >= m_model.rowCount() ||
        m_model.rows().nameLine(row) != QFileInfo(path).fileName())
        return;
    if (image.isNull()) {
        m_noThumbnail.insert(row);
        m_model.removeThumbnail(row);
    } else {
        m_model.setThumbnail(row, QPixmap::fromImage(image));
    }
}

bool ExplorerThumbnails::isBusy() const
{
    return m_worker->isBusy() || m_inViewPause->isActive();
}

} // namespace kyvane
