#include "core/ProgramFolder.h"

#include "core/Logging.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

#ifndef KYVANE_PER_USER_FOLDER
#define KYVANE_PER_USER_FOLDER 0
#endif

namespace kyvane {

namespace {
QString g_folder;
QString g_testOverride;

// The folder holds the password digests of server.cfg: only its owner reads it.
void createPrivateFolder(const QString& folder)
{
    if (QFileInfo(folder).isDir())
        return;
    if (!QDir().mkpath(folder)) {
        qCWarning(lcCore) << "cannot create the program folder" << folder;
        return;
    }
    QFile::setPermissions(folder, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner |
                                      QFile::ReadUser | QFile::WriteUser | QFile::ExeUser);
}
// The user's data folder. A relative XDG_DATA_HOME is invalid by the XDG rules
// and would tie the folder to the working folder: the default stands then.
QString userDataFolder()
{
    const QString location = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
    if (QDir::isAbsolutePath(location))
        return location;
    return QDir::homePath() + QStringLiteral("/.local/share");
}
} // namespace

ProgramFolder::Kind ProgramFolder::builtKind()
{
    return KYVANE_PER_USER_FOLDER ? Kind::PerUser : Kind::ExecutableFolder;
}

QString ProgramFolder::perUserFolderName()
{
    return QStringLiteral("kyvane");
}

QString ProgramFolder::withOneTrailingSeparator(const QString& folder)
{
    QString result = QDir::fromNativeSeparators(folder);
    while (result.endsWith(QLatin1Char('/')))
        result.chop(1);
    return result + QLatin1Char('/');
}

QString ProgramFolder::folderFor(Kind kind, const QString& executableFolder,
                                 const QString& userDataFolder)
{
    if (kind == Kind::PerUser)
        return withOneTrailingSeparator(withOneTrailingSeparator(userDataFolder) +
                                        perUserFolderName());
    return withOneTrailingSeparator(executableFolder);
}

void ProgramFolder::fix()
{
    if (!g_testOverride.isEmpty()) {
        g_folder = g_testOverride;
        return;
    }
    // applicationDirPath() and the data location are absolute and do not
    // depend on the working folder.
    g_folder = folderFor(builtKind(), QCoreApplication::applicationDirPath(), userDataFolder());
    if (builtKind() == Kind::PerUser)
        createPrivateFolder(g_folder);
}

QString ProgramFolder::path()
{
    return g_folder;
}

QString ProgramFolder::file(const QString& name)
{
    return g_folder + name;
}

void ProgramFolder::setForTesting(const QString& folder)
{
    g_testOverride = withOneTrailingSeparator(QFileInfo(folder).absoluteFilePath());
    g_folder = g_testOverride;
}

} // namespace kyvane
