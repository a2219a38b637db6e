#include "ui/widgets/ExplorerListModel.h"

#include "core/StorableName.h"
#include "ui/Icons.h"

namespace kyvane {

namespace {
constexpr QSize kIconSize(48, 48);
} // namespace

ExplorerListModel::ExplorerListModel(QObject* parent)
    : QAbstractListModel(parent), m_thumbnails(kThumbnailsKept),
      m_folderIcon(Icons::pixmap(QStringLiteral("folder"), kIconSize)),
      m_fileIcon(Icons::pixmap(QStringLiteral("file"), kIconSize))
{
}

bool ExplorerListModel::hasThumbnail(int row) const
{
    return m_thumbnails.contains(row);
}

int ExplorerListModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : m_rows.count();
}

QVariant ExplorerListModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || index.row() >= m_rows.count())
        return {};
    const int row = index.row();
    const ExplorerRow& r = m_rows.at(row);
    const bool isFile = r.kind == ExplorerRow::Kind::File;
    switch (role) {
    case Qt::DisplayRole:
        // One line whatever the name holds; the name itself stays as it
        // is for the file's path.
        return StorableName::printable(m_rows.nameLine(row));
    case DetailRole:
        return m_rows.detailLine(row);
    case Qt::DecorationRole:
        if (const QPixmap* thumbnail = m_thumbnails.object(row))
            return *thumbnail;
        return isFile ? m_fileIcon : m_folderIcon;
    case Qt::CheckStateRole:
        return r.checked ? Qt::Checked : Qt::Unchecked;
    case TagStringRole:
        return m_rows.tagString(row);
    case TagRole:
        return int(r.tag);
    case CheckBoxShownRole:
        return isFile && !r.special;
    default:
        return {};
    }
}

bool ExplorerListModel::setData(const QModelIndex& index, const QVariant& value, int role)
{
    if (role != Qt::CheckStateRole || !index.isValid() || index.row() >= m_rows.count())
        return false;
    m_rows.at(index.row()).checked = value.value<Qt::CheckState>() == Qt::Checked;
    emit dataChanged(index, index, {Qt::CheckStateRole});
    return true;
}

Qt::ItemFlags ExplorerListModel::flags(const QModelIndex& index) const
{
    if (!index.isValid())
        return Qt::NoItemFlags;
    Qt::ItemFlags flags = Qt::ItemIsEnabled | Qt::ItemIsSelectable;
    if (index.data(CheckBoxShownRole).toBool())
        flags |= Qt::ItemIsUserCheckable;
    return flags;
}

void ExplorerListModel::clearRows(const QString& folder)
{
    beginResetModel();
    m_rows.clear(folder);
    m_thumbnails.clear();
    endResetModel();
}

void ExplorerListModel::appendFolders(const QStringList& fullPaths, qsizetype filesToCome)
{
    m_rows.reserve(m_rows.count() + fullPaths.size() + filesToCome);
    if (fullPaths.isEmpty())
        return;
    const int first = m_rows.count();
    beginInsertRows({}, first, first + int(fullPaths.size()) - 1);
    for (const QString& path : fullPaths)
        m_rows.appendFolder(path);
    endInsertRows();
}

bool ExplorerListModel::appendFiles(std::vector<ListedFile>& files, const std::atomic<bool>& cancel)
{
    // cancel is written on this thread only, so it cannot change while a
    // batch goes in: one look decides for the whole batch.
    if (cancel.load())
        return files.empty();
    if (!files.empty()) {
        const int first = m_rows.count();
        beginInsertRows({}, first, first + int(files.size()) - 1);
        for (ListedFile& file : files)
            m_rows.appendFile(std::move(file));
        endInsertRows();
    }
    return true;
}

void ExplorerListModel::setFileDetails(int row, qint64 modified, qint64 size)
{
    ExplorerRow& r = m_rows.at(row);
    r.modified = modified;
    r.size = size;
    rowsChanged(row, row);
}

void ExplorerListModel::setThumbnail(int row, const QPixmap& thumbnail)
{
    m_thumbnails.insert(row, new QPixmap(thumbnail));
    rowsChanged(row, row);
}

void ExplorerListModel::removeThumbnail(int row)
{
    if (m_thumbnails.remove(row))
        rowsChanged(row, row);
}

void ExplorerListModel::setAllChecked(bool checked)
{
    m_rows.setAllChecked(checked);
    rowsChanged(0, m_rows.count() - 1);
}

void ExplorerListModel::checkMedia(const QString& targetExt)
{
    m_rows.checkMedia(targetExt);
    rowsChanged(0, m_rows.count() - 1);
}

void ExplorerListModel::uncheckFiles()
{
    m_rows.uncheckFiles();
    rowsChanged(0, m_rows.count() - 1);
}

void ExplorerListModel::rowsChanged(int first, int last)
{
    if (first <= last)
        emit dataChanged(index(first), index(last));
}

} // namespace kyvane
