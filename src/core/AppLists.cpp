#include "core/AppLists.h"

#include "core/ListFile.h"
#include "core/Logging.h"
#include "core/ProgramFolder.h"

#include <QDir>
#include <QFileInfo>

#include <algorithm>

namespace kyvane {

namespace {

// The lines of a list file of the program folder, or fallback when the file
// does not exist or cannot be read.
QStringList loadList(const QString& name, const QStringList& fallback)
{
    const QString path = ProgramFolder::file(name);
    if (!QFileInfo::exists(path))
        return fallback;
    QString error;
    if (auto items = ListFile::read(path, &error))
        return *items;
    qCWarning(lcCore) << name << "cannot be read, using the defaults:" << error;
    return fallback;
}

// Writes list over the list file name and takes it into held once stored.
QString store(const QString& name, const QStringList& list, QStringList& held,
              std::optional<QFileDevice::Permissions> permissions = std::nullopt)
{
    const QString error = ListFile::write(ProgramFolder::file(name), list, permissions);
    if (error.isEmpty())
        held = list;
    else
        qCWarning(lcCore) << name << "cannot be written, kept as it was:" << error;
    return error;
}

} // namespace

const QString AppLists::kServerFile = QStringLiteral("server.cfg");
const QString AppLists::kFolderFile = QStringLiteral("folder.cfg");
const QString AppLists::kExtensionFile = QStringLiteral("FileExt.cfg");

bool AppLists::holdsFolder(const QString& folder) const
{
    const QString cleaned = QDir::cleanPath(folder);
    return std::any_of(folders.cbegin(), folders.cend(), [&cleaned](const QString& listed) {
        return QDir::cleanPath(listed) == cleaned;
    });
}

bool AppLists::holdsExtension(const QString& ext) const
{
    // The extension test lower-cases ASCII letters only.
    const auto lowered = [](QString text) {
        for (QChar& c : text) {
            if (c >= QLatin1Char('A') && c <= QLatin1Char('Z'))
                c = QChar(c.unicode() + ('a' - 'A'));
        }
        return text;
    };
    const QString wanted = lowered(ext);
    return std::any_of(extensions.cbegin(), extensions.cend(),
                       [&](const QString& listed) { return lowered(listed) == wanted; });
}

QStringList AppLists::defaultExtensions()
{
    return {".jpg", ".jpeg", ".gif", ".bmp", ".png",   ".tif",  ".tiff", ".raw", ".webp", ".mp4",
            ".mp3", ".mov",  ".mmv", ".avi", ".avchd", ".webm", ".mkv",  ".flv", ".f4v"};
}

void AppLists::load()
{
    servers = loadList(kServerFile, {});
    folders = loadList(kFolderFile, {});
    extensions = loadList(kExtensionFile, defaultExtensions());
}

QString AppLists::storeServers(const QStringList& list)
{
    return store(kServerFile, list, servers, ListFile::kOwnerOnly);
}

QString AppLists::storeFolders(const QStringList& list)
{
    return store(kFolderFile, list, folders);
}

QString AppLists::storeExtensions(const QStringList& list)
{
    return store(kExtensionFile, list, extensions);
}

} // namespace kyvane
