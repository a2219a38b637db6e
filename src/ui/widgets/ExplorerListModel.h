#pragma once

#include "selection/ExplorerRows.h"

#include <QAbstractListModel>
#include <QCache>
#include <QPixmap>

#include <atomic>
#include <vector>

namespace kyvane {

// The file explorer's rows as a list model: one compact row per folder or
// file instead of one widget item, so that a folder of a hundred thousand
// files stays cheap. Texts are formed when a row is shown.
class ExplorerListModel final : public QAbstractListModel
{
    Q_OBJECT

public:
    enum Role {
        DetailRole = Qt::UserRole + 1, // the detail line under the name
        TagStringRole,                 // the full path; empty if not completed
        TagRole,                       // 1 for a completed file row, else 0
        CheckBoxShownRole,             // true for file rows
    };

    explicit ExplorerListModel(QObject* parent = nullptr);

    int rowCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role) override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

    const ExplorerRows& rows() const { return m_rows; }

    // Removes every row; the rows that follow belong to folder.
    void clearRows(const QString& folder);
    void appendFolders(const QStringList& fullPaths, qsizetype filesToCome);
    // Appends the files in order unless cancel is set; false when cancel
    // stopped it.
    bool appendFiles(std::vector<ListedFile>& files, const std::atomic<bool>& cancel);

    // After a click: the time and size read anew, the thumbnail or none.
    void setFileDetails(int row, qint64 modified, qint64 size);
    void setThumbnail(int row, const QPixmap& thumbnail);
    void removeThumbnail(int row);
    bool hasThumbnail(int row) const;

    // Thumbnails kept at most: those of the rows in view and around them, so
    // that scrolling through a huge folder does not keep them all.
    static constexpr int kThumbnailsKept = 1000;

    void setAllChecked(bool checked);
    void checkMedia(const QString& targetExt);
    void uncheckFiles();

private:
    void rowsChanged(int first, int last);

    ExplorerRows m_rows;
    // The rows in view and those clicked have one, the least recently shown
    // going first.
    QCache<int, QPixmap> m_thumbnails;
    QPixmap m_folderIcon;
    QPixmap m_fileIcon;
};

} // namespace kyvane
