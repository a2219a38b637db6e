#include "core/AppLists.h"

#include "core/ListFile.h"
#include "core/Logging.h"
#include "core/ProgramFolder.h"

#include <QFileInfo>

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

} // namespace

QStringList AppLists::defaultExtensions()
{
    return {".jpg", ".jpeg", ".gif", ".bmp",   ".png",  ".tif", ".tiff", ".raw", ".webp", ".mp4",
            ".mp3", ".mov",  ".mmv", ".avi",  ".avchd", ".webm", ".mkv", ".flv", ".f4v"};
}

void AppLists::load()
{
    servers = loadList(QStringLiteral("server.cfg"), {});
    folders = loadList(QStringLiteral("folder.cfg"), {});
    extensions = loadList(QStringLiteral("FileExt.cfg"), defaultExtensions());
}

} // namespace kyvane
