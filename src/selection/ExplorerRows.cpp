#include "selection/ExplorerRows.h"

#include "core/StorableName.h"
#include "selection/FileSizeText.h"
#include "selection/JobBuilder.h"

#include <QDateTime>

namespace kyvane {

QString formatRowTime(qint64 msSinceEpoch)
{
    return QDateTime::fromMSecsSinceEpoch(msSinceEpoch)
        .toLocalTime()
        .toString(QStringLiteral("yyyy-MM-dd hh:mm:ss"));
}

void ExplorerRows::clear(const QString& folder)
{
    m_folder = folder;
    // Gives the memory of a big listing back.
    std::vector<ExplorerRow>().swap(m_rows);
}

void ExplorerRows::appendFolder(const QString& fullPath)
{
    ExplorerRow row;
    row.text = fullPath;
    row.kind = ExplorerRow::Kind::Folder;
    m_rows.push_back(std::move(row));
}

void ExplorerRows::appendFile(ListedFile&& file)
{
    ExplorerRow row;
    row.text = std::move(file.name);
    row.modified = file.modified;
    row.special = file.modified != kUnknownTime && !file.regular;
    row.tag = file.modified != kUnknownTime && file.regular ? 1 : 0;
    m_rows.push_back(std::move(row));
}

QString ExplorerRows::nameLine(int row) const
{
    const ExplorerRow& r = at(row);
    if (r.kind == ExplorerRow::Kind::File)
        return r.text;
    return r.text.mid(r.text.lastIndexOf(QLatin1Char('/')) + 1);
}

QString ExplorerRows::detailLine(int row) const
{
    const ExplorerRow& r = at(row);
    if (r.kind == ExplorerRow::Kind::Folder)
        return r.text;
    if (r.modified == kUnknownTime)
        return {};
    const QString time = formatRowTime(r.modified);
    if (r.size < 0)
        return time;
    return time + QStringLiteral("        ") + FormatSizeText(r.size);
}

QString ExplorerRows::tagString(int row) const
{
    const ExplorerRow& r = at(row);
    if (r.kind == ExplorerRow::Kind::Folder)
        return r.text;
    return r.tag == 1 ? m_folder + r.text : QString();
}

void ExplorerRows::setAllChecked(bool checked)
{
    for (ExplorerRow& row : m_rows)
        row.checked = checked;
}

void ExplorerRows::checkMedia(const QString& targetExt)
{
    for (ExplorerRow& row : m_rows) {
        if (row.kind == ExplorerRow::Kind::Folder ||
            (row.tag == 1 && JobBuilder::passesNameTests(m_folder + row.text, targetExt)))
            row.checked = true;
    }
}

QStringList ExplorerRows::checkedFileEntries(const QStringList& servers,
                                             QStringList* passedOver) const
{
    QStringList paths;
    for (int i = 0; i < count(); ++i) {
        const ExplorerRow& row = at(i);
        if (!row.checked || row.kind != ExplorerRow::Kind::File || row.tag != 1)
            continue;
        const QString path = tagString(i);
        if (StorableName::isStorable(path))
            paths.append(path);
        else if (passedOver)
            passedOver->append(StorableName::printable(path));
    }
    QStringList entries;
    entries.reserve(servers.size() * paths.size());
    for (const QString& server : servers) {
        for (const QString& path : std::as_const(paths))
            entries.append(server + QLatin1Char('|') + path);
    }
    return entries;
}

void ExplorerRows::uncheckFiles()
{
    for (ExplorerRow& row : m_rows) {
        if (row.kind == ExplorerRow::Kind::File)
            row.checked = false;
    }
}

} // namespace kyvane
