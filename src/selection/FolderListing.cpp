#include "selection/FolderListing.h"

#include "core/StorableName.h"
#include "selection/FolderReader.h"

#include <QDir>
#include <QFile>

#include <algorithm>

namespace kyvane {

namespace {

// How many entries are read between two looks at the stop flag.
constexpr int kStopCheckInterval = 1024;

qint64 modifiedMs(const struct stat& info)
{
    return qint64(info.st_mtim.tv_sec) * 1000 + info.st_mtim.tv_nsec / 1000000;
}

void sortFolders(QStringList& folders)
{
    // Lower-cased once each, not in every comparison.
    std::vector<std::pair<QString, QString>> keyed;
    keyed.reserve(folders.size());
    for (QString& path : folders)
        keyed.emplace_back(path.toLower(), std::move(path));
    std::stable_sort(keyed.begin(), keyed.end(),
                     [](const auto& a, const auto& b) { return a.first < b.first; });
    folders.clear();
    for (auto& [key, path] : keyed)
        folders.append(std::move(path));
}

} // namespace

int CompareFolderPaths(const QString& a, const QString& b)
{
    return a.toLower().compare(b.toLower(), Qt::CaseSensitive);
}

int CompareFileTimes(const ListedFile& a, const ListedFile& b)
{
    if (a.modified == b.modified)
        return 0;
    return a.modified > b.modified ? -1 : 1;
}

QString folderWithSeparator(const QString& path)
{
    if (path.isEmpty() || path.endsWith(QLatin1Char('/')))
        return path;
    return path + QLatin1Char('/');
}

QString parentFolder(const QString& path)
{
    QString trimmed = path;
    if (trimmed.size() > 1 && trimmed.endsWith(QLatin1Char('/')))
        trimmed.chop(1);
    const qsizetype lastSeparator = trimmed.lastIndexOf(QLatin1Char('/'));
    if (lastSeparator < 0)
        return trimmed;
    if (lastSeparator == 0)
        return QStringLiteral("/");
    return trimmed.left(lastSeparator);
}

FolderContents readFolder(const QString& folder, const std::atomic<bool>* stop)
{
    FolderContents contents;
    // A relative path would be read from whatever the working folder is.
    if (!QDir::isAbsolutePath(folder))
        return contents;
    FolderReader reader(QFile::encodeName(folder));
    if (!reader.isOpen())
        return contents;
    contents.readable = true;

    int sinceStopCheck = 0;
    while (const dirent* entry = reader.next()) {
        if (stop && ++sinceStopCheck == kStopCheckInterval) {
            sinceStopCheck = 0;
            if (stop->load())
                return contents;
        }
        const QString name = QFile::decodeName(entry->d_name);
        if (!StorableName::isStorable(QByteArrayView(entry->d_name))) {
            contents.passedOver.append(StorableName::printable(name));
            continue;
        }
        if (entry->d_type == DT_DIR) {
            contents.folders.append(folder + name);
            continue;
        }
        // One status read per entry, following links, so a link to a folder
        // is listed as a folder.
        struct stat info;
        if (!reader.status(entry->d_name, info)) {
            contents.files.push_back({name, kUnknownTime, false});
            continue;
        }
        if (S_ISDIR(info.st_mode))
            contents.folders.append(folder + name);
        else
            contents.files.push_back({name, modifiedMs(info), S_ISREG(info.st_mode)});
    }

    sortFolders(contents.folders);
    std::stable_sort(
        contents.files.begin(), contents.files.end(),
        [](const ListedFile& a, const ListedFile& b) { return CompareFileTimes(a, b) < 0; });
    return contents;
}

QStringList readSubFolders(const QString& folder)
{
    QStringList folders;
    if (!QDir::isAbsolutePath(folder))
        return folders;
    FolderReader reader(QFile::encodeName(folder));
    if (!reader.isOpen())
        return folders;
    while (const dirent* entry = reader.next()) {
        // Only a link, or an entry whose kind the file system does not
        // tell, needs a status read to know whether it is a folder.
        bool isFolder = entry->d_type == DT_DIR;
        if (entry->d_type == DT_LNK || entry->d_type == DT_UNKNOWN) {
            struct stat info;
            isFolder = reader.status(entry->d_name, info) && S_ISDIR(info.st_mode);
        }
        // A folder whose name cannot be stored could not be a backup folder.
        if (isFolder && StorableName::isStorable(QByteArrayView(entry->d_name)))
            folders.append(folder + QFile::decodeName(entry->d_name));
    }
    sortFolders(folders);
    return folders;
}

} // namespace kyvane
